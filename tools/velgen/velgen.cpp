// velgen: makes the demo world's generated art and sound from a manifest.
//
// Each manifest line describes one file, relative to the output folder:
//   picture PATH WIDTH HEIGHT STYLE SEED   24-bit bottom-up .bmp; STYLE is
//                                          gradient, checker or stripes
//   wave PATH SECONDS HERTZ                16-bit mono .wav loop
//   cursor PATH GRID                       32 x 32 monochrome .cur from a text grid
//   icon PATH GRID                         32 x 32 32-bit .ico from a text grid
// A GRID file (relative to the manifest) has "hotspot X Y" (cursors) or
// "colour C RRGGBB" lines (icons), then 32 rows of 32 characters: '.' is
// transparent; in cursors '#' is black and 'o' white; in icons each character
// names a colour.
// Blank lines and lines starting with # are skipped. The same manifest always
// gives the same bytes.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class ByteWriter {
  public:
    void U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) {
        U8(v);
        U8(v >> 8);
    }
    void U32(uint32_t v) {
        U16(v);
        U16(v >> 16);
    }
    void Text(const char* s) {
        while (*s) {
            U8(static_cast<uint8_t>(*s++));
        }
    }
    std::vector<uint8_t> bytes;
};

// A small deterministic generator, so that output never depends on the library.
uint32_t Mix(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

struct Rgb {
    uint8_t r, g, b;
};

Rgb Colour(uint32_t seed, uint32_t which) {
    const uint32_t v = Mix(seed * 31 + which);
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16)};
}

uint8_t Lerp(uint8_t a, uint8_t b, uint32_t t, uint32_t span) {
    return static_cast<uint8_t>((a * (span - t) + b * t) / (span ? span : 1));
}

Rgb Pixel(const std::string& style, uint32_t seed, uint32_t x, uint32_t y, uint32_t w, uint32_t h) {
    const Rgb a = Colour(seed, 1);
    const Rgb b = Colour(seed, 2);
    if (style == "checker") {
        return ((x / 16 + y / 16) % 2) ? a : b;
    }
    if (style == "stripes") {
        return ((x + y) / 8 % 2) ? a : b;
    }
    const uint32_t t = x + y;
    const uint32_t span = w + h;
    return {Lerp(a.r, b.r, t, span), Lerp(a.g, b.g, t, span), Lerp(a.b, b.b, t, span)};
}

std::vector<uint8_t> Picture(uint32_t w, uint32_t h, const std::string& style, uint32_t seed) {
    const uint32_t stride = (w * 3 + 3) & ~3u;
    ByteWriter out;
    out.Text("BM");
    out.U32(54 + stride * h);
    out.U32(0);
    out.U32(54);
    out.U32(40);
    out.U32(w);
    out.U32(h);  // positive: bottom-up rows
    out.U16(1);
    out.U16(24);
    out.U32(0);
    out.U32(stride * h);
    out.U32(2835);
    out.U32(2835);
    out.U32(0);
    out.U32(0);
    for (uint32_t row = 0; row < h; ++row) {
        const uint32_t y = h - 1 - row;
        for (uint32_t x = 0; x < w; ++x) {
            const Rgb c = Pixel(style, seed, x, y, w, h);
            out.U8(c.b);
            out.U8(c.g);
            out.U8(c.r);
        }
        for (uint32_t pad = w * 3; pad < stride; ++pad) {
            out.U8(0);
        }
    }
    return out.bytes;
}

std::vector<uint8_t> Wave(double seconds, double hertz) {
    constexpr uint32_t kRate = 22050;
    const auto samples = static_cast<uint32_t>(seconds * kRate);
    ByteWriter out;
    out.Text("RIFF");
    out.U32(36 + samples * 2);
    out.Text("WAVEfmt ");
    out.U32(16);
    out.U16(1);
    out.U16(1);
    out.U32(kRate);
    out.U32(kRate * 2);
    out.U16(2);
    out.U16(16);
    out.Text("data");
    out.U32(samples * 2);
    // A soft tone that fades in and out so that the loop joins without a click.
    for (uint32_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double envelope = std::sin(3.14159265358979 * i / samples);
        const double v = envelope * 0.3 * std::sin(2 * 3.14159265358979 * hertz * t);
        out.U16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767))));
    }
    return out.bytes;
}

struct Grid {
    std::vector<std::string> rows;
    int hotX = 0, hotY = 0;
    std::vector<std::pair<char, Rgb>> colours;
    std::string error;
};

Grid ReadGrid(const std::filesystem::path& path) {
    Grid grid;
    std::ifstream in(path);
    if (!in) {
        grid.error = "cannot read " + path.string();
        return grid;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "hotspot") {
            words >> grid.hotX >> grid.hotY;
        } else if (first == "colour") {
            std::string name, hex;
            words >> name >> hex;
            const auto v = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
            grid.colours.push_back({name[0],
                                    {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                                     static_cast<uint8_t>(v)}});
        } else if (line.size() >= 32 && line.rfind("# ", 0) != 0) {
            grid.rows.push_back(line.substr(0, 32));
        }
    }
    if (grid.rows.size() != 32) {
        grid.error = path.string() + ": needs 32 rows of 32 characters";
    }
    return grid;
}

// Rows of a 32-pixel-wide 1-bit mask, bottom-up, 4 bytes a row.
std::vector<uint8_t> MaskRows(const Grid& grid, bool (*set)(char)) {
    std::vector<uint8_t> out(32 * 4, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (set(grid.rows[static_cast<size_t>(31 - y)][static_cast<size_t>(x)])) {
                out[static_cast<size_t>(y * 4 + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return out;
}

void BitmapHeader(ByteWriter& out, uint32_t bits, uint32_t imageBytes) {
    out.U32(40);
    out.U32(32);
    out.U32(64);  // colour image and mask, one above the other
    out.U16(1);
    out.U16(bits);
    out.U32(0);
    out.U32(imageBytes);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(0);
}

std::vector<uint8_t> Cursor(const Grid& grid) {
    const std::vector<uint8_t> xorMask = MaskRows(grid, [](char c) { return c == 'o'; });
    const std::vector<uint8_t> andMask = MaskRows(grid, [](char c) { return c == '.'; });
    ByteWriter image;
    BitmapHeader(image, 1, 256);
    image.U32(0x000000);  // palette: black, white
    image.U32(0xFFFFFF);
    image.bytes.insert(image.bytes.end(), xorMask.begin(), xorMask.end());
    image.bytes.insert(image.bytes.end(), andMask.begin(), andMask.end());
    ByteWriter out;
    out.U16(0);
    out.U16(2);  // a cursor
    out.U16(1);
    out.U8(32);
    out.U8(32);
    out.U8(0);
    out.U8(0);
    out.U16(static_cast<uint32_t>(grid.hotX));
    out.U16(static_cast<uint32_t>(grid.hotY));
    out.U32(static_cast<uint32_t>(image.bytes.size()));
    out.U32(22);
    out.bytes.insert(out.bytes.end(), image.bytes.begin(), image.bytes.end());
    return out.bytes;
}

std::vector<uint8_t> Icon(const Grid& grid) {
    ByteWriter image;
    BitmapHeader(image, 32, 32 * 32 * 4 + 128);
    for (int y = 31; y >= 0; --y) {
        for (int x = 0; x < 32; ++x) {
            const char c = grid.rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            Rgb rgb{0, 0, 0};
            for (const auto& [name, colour] : grid.colours) {
                if (name == c) {
                    rgb = colour;
                }
            }
            image.U8(rgb.b);
            image.U8(rgb.g);
            image.U8(rgb.r);
            image.U8(c == '.' ? 0 : 255);
        }
    }
    const std::vector<uint8_t> andMask = MaskRows(grid, [](char c) { return c == '.'; });
    image.bytes.insert(image.bytes.end(), andMask.begin(), andMask.end());
    ByteWriter out;
    out.U16(0);
    out.U16(1);  // an icon
    out.U16(1);
    out.U8(32);
    out.U8(32);
    out.U8(0);
    out.U8(0);
    out.U16(1);
    out.U16(32);
    out.U32(static_cast<uint32_t>(image.bytes.size()));
    out.U32(22);
    out.bytes.insert(out.bytes.end(), image.bytes.begin(), image.bytes.end());
    return out.bytes;
}

bool Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: velgen MANIFEST OUTDIR\n", stderr);
        return 2;
    }
    std::ifstream manifest(argv[1]);
    if (!manifest) {
        std::fprintf(stderr, "velgen: cannot read %s\n", argv[1]);
        return 2;
    }
    const std::filesystem::path outDir = argv[2];
    std::string line;
    int lineNumber = 0;
    while (std::getline(manifest, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string kind, path;
        if (!(words >> kind) || kind[0] == '#') {
            continue;
        }
        std::vector<uint8_t> bytes;
        uint32_t w = 0, h = 0, seed = 0;
        std::string style;
        double seconds = 0, hertz = 0;
        if (kind == "picture" && words >> path >> w >> h >> style >> seed && w > 0 && h > 0 &&
            w <= 4096 && h <= 4096) {
            bytes = Picture(w, h, style, seed);
        } else if (kind == "wave" && words >> path >> seconds >> hertz && seconds > 0 &&
                   seconds <= 60) {
            bytes = Wave(seconds, hertz);
        } else if ((kind == "cursor" || kind == "icon") && words >> path >> style) {
            const Grid grid = ReadGrid(std::filesystem::path(argv[1]).parent_path() / style);
            if (!grid.error.empty()) {
                std::fprintf(stderr, "velgen: %s\n", grid.error.c_str());
                return 1;
            }
            bytes = kind == "cursor" ? Cursor(grid) : Icon(grid);
        } else {
            std::fprintf(stderr, "velgen: %s:%d: cannot understand \"%s\"\n", argv[1], lineNumber,
                         line.c_str());
            return 1;
        }
        if (!Write(outDir / path, bytes)) {
            std::fprintf(stderr, "velgen: cannot write %s\n", (outDir / path).string().c_str());
            return 1;
        }
    }
    return 0;
}
