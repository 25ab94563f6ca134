// velgen: makes the demo world's generated art and sound from a manifest.
//
// Each manifest line describes one file, relative to the output folder:
//   scene PATH WIDTH HEIGHT SCENE [VARIANT...] [strip=ROWS]
//                                          24-bit bottom-up .bmp drawn from a
//                                          scene file (see Scene.h); the
//                                          variants switch its tagged lines on;
//                                          with strip=ROWS only the bottom ROWS
//                                          come from the variant, the rest from
//                                          the plain scene
//   music PATH SCORE                       16-bit mono .wav loop from a score
//                                          file (see Music.h)
//   button PATH GRID STATE                 34 x 34 8-bit tool-button bitmap;
//                                          STATE is normal, pressed or disabled
//   sprite PATH GRID                       24-bit .bmp of any size from a grid
//   logo PATH                              the 2304 x 20 animated logo strip
//   picture PATH WIDTH HEIGHT STYLE SEED   24-bit bottom-up .bmp; STYLE is
//                                          gradient, checker or stripes
//   wave PATH SECONDS HERTZ                16-bit mono .wav loop of one tone
//   cursor PATH GRID                       32 x 32 monochrome .cur from a text grid
//   icon PATH GRID                         32 x 32 32-bit .ico from a text grid
// Scene, score and grid files are named relative to the manifest. A GRID file
// has "hotspot X Y" (cursors) or "colour C RRGGBB" lines (icons, buttons),
// then rows of characters: '.' is transparent (the button's face); in cursors
// '#' is black and 'o' white; in icons and buttons each character names a
// colour. Icons and cursors are 32 x 32, button glyphs 24 x 24; a sprite is
// as large as its rows.
// Blank lines and lines starting with # are skipped. The same manifest always
// gives the same bytes.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Music.h"
#include "Raster.h"
#include "Scene.h"

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

struct Rgb {
    uint8_t r, g, b;
};

Rgb Colour(uint32_t seed, uint32_t which) {
    const uint32_t v = velgen::Hash(seed * 31 + which);
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

Grid ReadGrid(const std::filesystem::path& path, size_t size = 32) {
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
        } else if (size == 0 && !line.empty() && line[0] != '#') {
            grid.rows.push_back(line);
        } else if (size > 0 && line.size() >= size && line.rfind("# ", 0) != 0) {
            grid.rows.push_back(line.substr(0, size));
        }
    }
    if (size == 0) {
        for (const std::string& row : grid.rows) {
            if (row.size() != grid.rows[0].size()) {
                grid.error = path.string() + ": every row must be as long as the first";
            }
        }
        if (grid.rows.empty()) {
            grid.error = path.string() + ": has no rows";
        }
    } else if (grid.rows.size() != size) {
        grid.error = path.string() + ": needs " + std::to_string(size) + " rows of " +
                     std::to_string(size) + " characters";
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

// ---- pictures drawn from scenes ----

void BitmapFileHeader(ByteWriter& out, uint32_t w, uint32_t h, uint32_t bits,
                      uint32_t paletteSize) {
    const uint32_t stride = (w * bits / 8 + 3) & ~3u;
    const uint32_t offset = 54 + paletteSize * 4;
    out.Text("BM");
    out.U32(offset + stride * h);
    out.U32(0);
    out.U32(offset);
    out.U32(40);
    out.U32(w);
    out.U32(h);  // positive: bottom-up rows
    out.U16(1);
    out.U16(bits);
    out.U32(0);
    out.U32(stride * h);
    out.U32(2835);
    out.U32(2835);
    out.U32(paletteSize);
    out.U32(0);
}

uint8_t Channel(float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

std::vector<uint8_t> Bitmap24(const velgen::Raster& raster) {
    const auto w = static_cast<uint32_t>(raster.width()),
               h = static_cast<uint32_t>(raster.height());
    const uint32_t stride = (w * 3 + 3) & ~3u;
    ByteWriter out;
    BitmapFileHeader(out, w, h, 24, 0);
    for (uint32_t row = 0; row < h; ++row) {
        const int y = static_cast<int>(h - 1 - row);
        for (uint32_t x = 0; x < w; ++x) {
            const velgen::Rgb& c = raster.At(static_cast<int>(x), y);
            out.U8(Channel(c.b));
            out.U8(Channel(c.g));
            out.U8(Channel(c.r));
        }
        for (uint32_t pad = w * 3; pad < stride; ++pad) {
            out.U8(0);
        }
    }
    return out.bytes;
}

// A scene drawn with `variants`; with `strip` rows, only the bottom ones come
// from the variants and the rest from the plain scene.
std::vector<uint8_t> ScenePicture(int w, int h, const std::filesystem::path& scene,
                                  const std::set<std::string>& variants, int strip) {
    velgen::Raster raster(w, h);
    velgen::Scene(raster, variants).DrawFile(scene);
    if (strip > 0) {
        velgen::Raster plain(w, h);
        velgen::Scene(plain, {}).DrawFile(scene);
        for (int y = 0; y < h - strip; ++y) {
            for (int x = 0; x < w; ++x) {
                raster.At(x, y) = plain.At(x, y);
            }
        }
    }
    return Bitmap24(raster);
}

// A picture of any size from a grid; '.' is the key colour that transparent
// pictures (names ending in "s.bmp") leave out, magenta unless the grid names
// another with "colour . RRGGBB".
std::vector<uint8_t> SpritePicture(const Grid& grid, std::string& error) {
    const int h = static_cast<int>(grid.rows.size());
    const int w = static_cast<int>(grid.rows[0].size());
    velgen::Raster raster(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const char c = grid.rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            Rgb rgb{255, 0, 255};
            bool known = c == '.';
            for (const auto& [name, colour] : grid.colours) {
                if (name == c) {
                    rgb = colour;
                    known = true;
                }
            }
            if (!known) {
                error = std::string("the grid uses '") + c + "', which names no colour";
                return {};
            }
            raster.At(x, y) = {static_cast<float>(rgb.r), static_cast<float>(rgb.g),
                               static_cast<float>(rgb.b)};
        }
    }
    return Bitmap24(raster);
}

// ---- tool buttons ----

// The three colours the program swaps for the system's: the button frame's
// light edge at (0, 0), its face at (1, 1) and its dark edge at the bottom right.
constexpr Rgb kHighlightKey{255, 255, 255};
constexpr Rgb kFaceKey{192, 192, 192};
constexpr Rgb kShadowKey{128, 128, 128};

bool SameColour(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::vector<uint8_t> Bitmap8(uint32_t w, uint32_t h, const std::vector<Rgb>& pixels) {
    std::vector<Rgb> palette;
    std::vector<uint8_t> index(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        size_t k = 0;
        while (k < palette.size() && !SameColour(palette[k], pixels[i])) {
            ++k;
        }
        if (k == palette.size()) {
            palette.push_back(pixels[i]);
        }
        index[i] = static_cast<uint8_t>(k);
    }
    const uint32_t stride = (w + 3) & ~3u;
    ByteWriter out;
    BitmapFileHeader(out, w, h, 8, static_cast<uint32_t>(palette.size()));
    for (const Rgb& c : palette) {
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
    for (uint32_t row = 0; row < h; ++row) {
        const uint32_t y = h - 1 - row;
        for (uint32_t x = 0; x < w; ++x) {
            out.U8(index[y * w + x]);
        }
        for (uint32_t pad = w; pad < stride; ++pad) {
            out.U8(0);
        }
    }
    return out.bytes;
}

// A 34 x 34 button: a one-pixel bevel in the key colours around a 24 x 24
// glyph. Pressed buttons turn the bevel round and move the glyph by a pixel;
// disabled ones show the glyph embossed in the frame's own two greys.
std::vector<uint8_t> ButtonBitmap(const Grid& glyph, const std::string& state, std::string& error) {
    constexpr uint32_t kSize = 34;
    constexpr int kGlyph = 24;
    std::vector<Rgb> px(kSize * kSize, kFaceKey);
    auto set = [&](int x, int y, const Rgb& c) {
        px[static_cast<size_t>(y) * kSize + static_cast<size_t>(x)] = c;
    };
    const bool pressed = state == "pressed";
    if (!pressed && state != "normal" && state != "disabled") {
        error = "a button's state is normal, pressed or disabled";
        return {};
    }
    const Rgb light = pressed ? kShadowKey : kHighlightKey;
    const Rgb dark = pressed ? kHighlightKey : kShadowKey;
    for (int i = 0; i < static_cast<int>(kSize); ++i) {
        set(i, 0, light);
        set(0, i, light);
        set(i, kSize - 1, dark);
        set(kSize - 1, i, dark);
    }
    set(kSize - 1, 0, kFaceKey);
    set(0, kSize - 1, kFaceKey);
    const int offset = pressed ? 6 : 5;
    for (int y = 0; y < kGlyph; ++y) {
        for (int x = 0; x < kGlyph; ++x) {
            const char c = glyph.rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            if (c == '.') {
                continue;
            }
            if (state == "disabled") {
                set(offset + x + 1, offset + y + 1, kHighlightKey);
                continue;
            }
            bool known = false;
            for (const auto& [name, colour] : glyph.colours) {
                if (name == c) {
                    if (SameColour(colour, kHighlightKey) || SameColour(colour, kFaceKey) ||
                        SameColour(colour, kShadowKey)) {
                        error = "a glyph colour may not be one of the three key colours";
                        return {};
                    }
                    set(offset + x, offset + y, colour);
                    known = true;
                }
            }
            if (!known) {
                error = std::string("the glyph uses '") + c + "', which names no colour";
                return {};
            }
        }
    }
    if (state == "disabled") {
        for (int y = 0; y < kGlyph; ++y) {
            for (int x = 0; x < kGlyph; ++x) {
                if (glyph.rows[static_cast<size_t>(y)][static_cast<size_t>(x)] != '.') {
                    set(offset + x, offset + y, kShadowKey);
                }
            }
        }
    }
    return Bitmap8(kSize, kSize, px);
}

// ---- the logo strip ----

// 48 frames of 48 x 20: a lighthouse on its rock above a night sea, its beam
// going round once in 47 frames while the fog drifts by a pixel a frame. The
// frame bar shows frames 0 to 46, so frame 47 repeats frame 0.
std::vector<uint8_t> LogoStrip() {
    constexpr int kFrames = 48, kShown = 47, kW = 48, kH = 20;
    velgen::Raster strip(kW * kFrames, kH);
    const velgen::Rgb skyTop{20, 30, 56}, skyLow{58, 74, 107}, sea{22, 36, 62};
    const velgen::Rgb rock{12, 18, 32}, tower{226, 220, 204}, lamp{255, 214, 120},
        fog{200, 208, 220};
    for (int f = 0; f < kFrames; ++f) {
        const int t = f % kShown;
        velgen::Raster frame(kW, kH);
        frame.VerticalGradient(0, 0, kW, 14, {skyTop, skyLow});
        frame.VerticalGradient(0, 14, kW, 6, {sea, velgen::Rgb{14, 22, 40}});
        for (int i = 0; i < 5; ++i) {
            const float x = velgen::Random01(9, i, 1) * kW, y = velgen::Random01(9, i, 2) * 8;
            const float twinkle = 0.5f + 0.5f * std::sin(6.2831853f * (t / 47.0f + i * 0.21f));
            frame.Disc(x, y, 0.45f, velgen::Rgb{240, 236, 220}, 0.3f + 0.5f * twinkle);
        }
        // The beam swings round: long when it points across, short when it points at us.
        const float angle = 6.2831853f * t / kShown;
        const float lx = 37.5f, ly = 5.5f;
        const float reach = 34 * std::cos(angle);
        const float brightness = 0.55f + 0.45f * std::fabs(std::cos(angle));
        for (int y = 0; y < 14; ++y) {
            for (int x = 0; x < kW; ++x) {
                const float dx = x + 0.5f - lx;
                if (reach == 0 || dx / reach <= 0 || dx / reach > 1) {
                    continue;
                }
                const float along = dx / reach;
                const float spread = 0.8f + 2.6f * along;
                const float off = std::fabs(y + 0.5f - ly) / spread;
                if (off < 1) {
                    frame.Add(x, y, lamp, 0.55f * brightness * (1 - off) * (1 - along));
                }
            }
        }
        frame.Polygon({{30, 20}, {31, 15}, {34, 13.5f}, {41, 13}, {45, 15.5f}, {47, 20}}, rock);
        frame.Polygon({{36, 13.5f}, {39, 13.5f}, {38.4f, 6.5f}, {36.6f, 6.5f}}, tower);
        frame.Rect(36.4f, 8.8f, 2.2f, 1.1f, velgen::Rgb{164, 68, 52});
        frame.Rect(36.2f, 6, 2.6f, 0.8f, rock);
        frame.Disc(37.5f, 5.2f, 1.3f, lamp);
        frame.Glow(37.5f, 5.2f, 6, lamp, 40 + 50 * brightness);
        frame.Polygon({{36.2f, 4.3f}, {37.5f, 2.8f}, {38.8f, 4.3f}}, rock);
        for (int i = 0; i < 3; ++i) {
            const float y = 15.5f + i * 1.6f;
            for (int x = 0; x < kW; ++x) {
                const float n = velgen::ValueNoise(40 + static_cast<uint32_t>(i),
                                                   (x + t * (i + 1)) / 4.0f, 0.5f, 0);
                if (n > 0.6f) {
                    frame.Blend(x, static_cast<int>(y), velgen::Rgb{120, 140, 170},
                                (n - 0.6f) * 1.5f);
                }
            }
        }
        // Fog that moves a pixel a frame and repeats every 47 pixels.
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const float n = velgen::ValueNoise(
                    77, static_cast<float>((x + t) % kShown) / 47.0f * 6, y / 7.0f, 6);
                frame.Blend(x, y, fog,
                            0.28f * velgen::Smooth((n - 0.35f) * 2) * (0.4f + y / 40.0f));
            }
        }
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                strip.At(f * kW + x, y) = frame.At(x, y);
            }
        }
    }
    return Bitmap24(strip);
}

std::vector<uint8_t> WaveFile(const std::vector<int16_t>& samples) {
    ByteWriter out;
    const auto count = static_cast<uint32_t>(samples.size());
    out.Text("RIFF");
    out.U32(36 + count * 2);
    out.Text("WAVEfmt ");
    out.U32(16);
    out.U16(1);
    out.U16(1);
    out.U32(velgen::Synth::kRate);
    out.U32(velgen::Synth::kRate * 2);
    out.U16(2);
    out.U16(16);
    out.Text("data");
    out.U32(count * 2);
    for (int16_t v : samples) {
        out.U16(static_cast<uint16_t>(v));
    }
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
        std::string style, seedWord;
        double seconds = 0, hertz = 0;
        const std::filesystem::path here = std::filesystem::path(argv[1]).parent_path();
        std::string error;
        if (kind == "scene" && words >> path >> w >> h >> style && w > 0 && h > 0 && w <= 4096 &&
            h <= 4096) {
            std::set<std::string> variants;
            int strip = 0;
            for (std::string word; words >> word;) {
                if (word.rfind("strip=", 0) == 0) {
                    strip = std::stoi(word.substr(6));
                } else {
                    variants.insert(word);
                }
            }
            try {
                bytes = ScenePicture(static_cast<int>(w), static_cast<int>(h), here / style,
                                     variants, strip);
            } catch (const velgen::SceneError& e) {
                error = e.text();
            }
        } else if (kind == "music" && words >> path >> style) {
            try {
                const velgen::Score score = velgen::ReadScore((here / style).string());
                bytes = WaveFile(velgen::Synth(score).Render());
            } catch (const velgen::SceneError& e) {
                error = e.text();
            }
        } else if (kind == "button" && words >> path >> style >> seedWord) {
            const Grid grid = ReadGrid(here / style, 24);
            error = grid.error;
            if (error.empty()) {
                bytes = ButtonBitmap(grid, seedWord, error);
            }
        } else if (kind == "sprite" && words >> path >> style) {
            const Grid grid = ReadGrid(here / style, 0);
            error = grid.error;
            if (error.empty()) {
                bytes = SpritePicture(grid, error);
            }
        } else if (kind == "logo" && words >> path) {
            bytes = LogoStrip();
        } else if (kind == "picture" && words >> path >> w >> h >> style >> seed && w > 0 &&
                   h > 0 && w <= 4096 && h <= 4096) {
            bytes = Picture(w, h, style, seed);
        } else if (kind == "wave" && words >> path >> seconds >> hertz && seconds > 0 &&
                   seconds <= 60) {
            bytes = Wave(seconds, hertz);
        } else if ((kind == "cursor" || kind == "icon") && words >> path >> style) {
            const Grid grid = ReadGrid(here / style);
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
        if (!error.empty()) {
            std::fprintf(stderr, "velgen: %s\n", error.c_str());
            return 1;
        }
        if (!Write(outDir / path, bytes)) {
            std::fprintf(stderr, "velgen: cannot write %s\n", (outDir / path).string().c_str());
            return 1;
        }
    }
    return 0;
}
