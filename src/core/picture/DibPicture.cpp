#include "picture/DibPicture.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <new>
#include <utility>

#include "LittleEndian.h"
#include "Message.h"
#include "archive/Archive.h"
#include "text/ShiftJis.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kMasksSize = 12;
constexpr size_t kMaxNameBytes = 255;

// Nothing the game shows comes near these; they keep a damaged header from
// asking for gigabytes. The largest picture a page can show whole, 1400 x
// 2600 at 32 bits, fits in 16 MiB, so a page's 64 picture slots stay within
// a gigabyte however damaged its pictures.
constexpr int64_t kMaxSide = 16384;
constexpr uint64_t kMaxPixelMemory = uint64_t{16} << 20;

void Put16(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

BitmapInfoHeader ParseHeader(const uint8_t* p) {
    BitmapInfoHeader h;
    h.size = ReadLe32(p);
    h.width = static_cast<int32_t>(ReadLe32(p + 4));
    h.height = static_cast<int32_t>(ReadLe32(p + 8));
    h.planes = ReadLe16(p + 12);
    h.bitCount = ReadLe16(p + 14);
    h.compression = ReadLe32(p + 16);
    h.imageSize = ReadLe32(p + 20);
    h.xPelsPerMeter = static_cast<int32_t>(ReadLe32(p + 24));
    h.yPelsPerMeter = static_cast<int32_t>(ReadLe32(p + 28));
    h.clrUsed = ReadLe32(p + 32);
    h.clrImportant = ReadLe32(p + 36);
    return h;
}

void WriteHeader(const BitmapInfoHeader& h, uint8_t* p) {
    WriteLe32(p, h.size);
    WriteLe32(p + 4, static_cast<uint32_t>(h.width));
    WriteLe32(p + 8, static_cast<uint32_t>(h.height));
    Put16(p + 12, h.planes);
    Put16(p + 14, h.bitCount);
    WriteLe32(p + 16, h.compression);
    WriteLe32(p + 20, h.imageSize);
    WriteLe32(p + 24, static_cast<uint32_t>(h.xPelsPerMeter));
    WriteLe32(p + 28, static_cast<uint32_t>(h.yPelsPerMeter));
    WriteLe32(p + 32, h.clrUsed);
    WriteLe32(p + 36, h.clrImportant);
}

uint64_t Stride(const BitmapInfoHeader& h) {
    return (static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32 * 4;
}

// The pixel memory a DIB section of this header takes, or 0 when the
// platform could not make one of it (or we refuse to).
uint64_t PixelMemoryFor(const BitmapInfoHeader& h, bool allowBitFields) {
    const uint16_t bits = h.bitCount;
    if (h.planes != 1 || h.size < kInfoHeaderSize) {
        return 0;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return 0;
    }
    const bool bitFields = allowBitFields && h.compression == 3 && (bits == 16 || bits == 32);
    if (h.compression != 0 && !bitFields) {
        return 0;
    }
    const int64_t rows = std::abs(static_cast<int64_t>(h.height));
    if (h.width <= 0 || h.width > kMaxSide || rows == 0 || rows > kMaxSide) {
        return 0;
    }
    const uint64_t memory = Stride(h) * static_cast<uint64_t>(rows);
    return memory <= kMaxPixelMemory ? memory : 0;
}

// Colour table entries a picture of this header carries.
size_t PaletteEntries(const BitmapInfoHeader& h) {
    if (h.bitCount > 8) {
        return 0;
    }
    const size_t full = size_t{1} << h.bitCount;
    return h.clrUsed == 0 || h.clrUsed > full ? full : h.clrUsed;
}

// Copies `count` bytes from `at` in the file; what the file does not hold
// stays zero.
void CopyAvailable(const uint8_t* bytes, size_t size, uint64_t at, uint8_t* out, size_t count) {
    if (at >= size || count == 0) {
        return;
    }
    const size_t available = static_cast<size_t>(std::min<uint64_t>(size - at, count));
    std::memcpy(out, bytes + at, available);
}

// One colour component selected by a bit-field mask, scaled to 0..255.
uint32_t MaskedComponent(uint32_t value, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const uint64_t top = mask >> shift;
    return static_cast<uint32_t>(((value & mask) >> shift) * 255 / top);
}

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

void BlendBytes(uint8_t* out, const uint8_t* from, const uint8_t* to, size_t count, int step) {
    step = std::clamp(step, 0, 8);
    for (size_t i = 0; i < count; ++i) {
        const int d = to[i] - from[i];
        out[i] = static_cast<uint8_t>(from[i] + ((d * step) >> 3));
    }
}

}  // namespace

DibPicture::DibPicture(DibPicture&& other) noexcept {
    *this = std::move(other);
}

DibPicture& DibPicture::operator=(DibPicture&& other) noexcept {
    if (this != &other) {
        name_ = std::move(other.name_);
        pixelBytes_ = other.pixelBytes_;
        attached_ = other.attached_;
        header_ = other.header_;
        info_ = std::move(other.info_);
        pixels_ = std::move(other.pixels_);
        other.Unload();
    }
    return *this;
}

bool DibPicture::NormalizeName(std::string& name) {
    if (name.size() >= 3 && name.compare(name.size() - 3, 3, "bmp") == 0) {
        return true;
    }
    // The name goes through a 256-byte buffer: it ends at a zero byte and is
    // cut to 255 bytes.
    std::string_view held(name);
    held = held.substr(0, held.find('\0'));
    std::string buffer(CutAtCharacter(held, kMaxNameBytes));
    size_t at = buffer.find("jpg");
    if (at == std::string::npos) {
        at = buffer.find("gif");
    }
    if (at == std::string::npos) {
        return false;
    }
    buffer.replace(at, 3, "bmp");
    name = std::move(buffer);
    return true;
}

bool DibPicture::Load(std::string_view requested, const PictureSources& sources) {
    Unload();
    std::string name(requested);
    if (!NormalizeName(name)) {
        ShowMessage(FitMessage("正体不明なファイル名です。" + name));
        return false;
    }
    name_ = name;
    // An entry that cannot be read (its data lies outside its archive) counts
    // as missing, as it does for every reader: the next place is tried.
    for (const Archive* archive : {sources.cg, sources.ex, sources.parts}) {
        if (archive == nullptr) {
            continue;
        }
        if (std::optional<EntryData> entry = archive->ReadEntry(name, kPlainReaderBuffers)) {
            LoadFromBytes(entry->bytes.data(), entry->size);
            return true;
        }
    }
    std::ifstream file(name, std::ios::binary);
    if (!file) {
        return false;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    LoadFromBytes(bytes.data(), bytes.size());
    return true;
}

bool DibPicture::LoadFromBytes(const uint8_t* bytes, size_t size) {
    ClearPixels();
    if (bytes == nullptr || size < kFileHeaderSize + kInfoHeaderSize) {
        return false;
    }
    const uint32_t fileSize = ReadLe32(bytes + 2);
    const uint32_t offset = ReadLe32(bytes + 10);
    BitmapInfoHeader h = ParseHeader(bytes + kFileHeaderSize);
    const uint64_t memory = PixelMemoryFor(h, true);
    if (memory == 0) {
        return false;
    }

    // The colour table follows the whole header, whatever its size; bit-field
    // masks follow the first 40 bytes (in a larger header they are its next
    // fields).
    std::vector<uint8_t> table;
    uint64_t tableAt = kFileHeaderSize + uint64_t{h.size};
    if (h.compression == 3) {
        table.assign(kMasksSize, 0);
        tableAt = kFileHeaderSize + kInfoHeaderSize;
        h.clrUsed = 0;  // the platform would look for colours after the masks
    } else {
        const size_t entries = PaletteEntries(h);
        table.assign(entries * 4, 0);
        h.clrUsed = static_cast<uint32_t>(entries);
    }
    CopyAvailable(bytes, size, tableAt, table.data(), table.size());

    if (!Allocate(memory)) {
        return false;
    }
    // The file header announces two bytes more pixel data than the program
    // takes. A damaged file must not make it copy past either buffer.
    const int64_t announced = int64_t{fileSize} - int64_t{offset} - 2;
    pixelBytes_ = static_cast<uint32_t>(std::clamp<int64_t>(announced, 0, int64_t(memory)));
    CopyAvailable(bytes, size, offset, pixels_.data(), pixelBytes_);

    h.size = kInfoHeaderSize;
    h.imageSize = pixelBytes_;
    Attach(h, table);
    return true;
}

void DibPicture::Unload() {
    name_.clear();
    ClearPixels();
}

bool DibPicture::GetHeader(BitmapInfoHeader& header) const {
    if (!attached_) {
        return false;
    }
    header = BitmapInfoHeader{};
    header.width = width();
    header.height = height();
    header.planes = 1;
    header.bitCount = header_.bitCount;
    header.compression = 0;
    // Whole bytes per pixel, no row padding (tenths keep 1 and 4 bits apart).
    const int64_t tenths = (int64_t{header_.bitCount} * 10) / 8;
    header.imageSize = static_cast<uint32_t>(tenths * header.height * header.width / 10);
    return true;
}

bool DibPicture::CreateBlank(const BitmapInfoHeader& header) {
    ClearPixels();
    BitmapInfoHeader h = header;
    h.size = kInfoHeaderSize;
    const uint64_t memory = PixelMemoryFor(h, false);
    if (memory == 0 || !Allocate(memory)) {
        return false;
    }
    // Nothing says what a blank palette picture should show: a grey ramp
    // from black to white.
    std::vector<uint8_t> table;
    if (h.bitCount <= 8) {
        const size_t entries = size_t{1} << h.bitCount;
        table.assign(entries * 4, 0);
        for (size_t i = 0; i < entries; ++i) {
            const auto grey = static_cast<uint8_t>(i * 255 / (entries - 1));
            std::memset(&table[i * 4], grey, 3);
        }
        h.clrUsed = static_cast<uint32_t>(entries);
    } else {
        h.clrUsed = 0;
    }
    pixelBytes_ = static_cast<uint32_t>(std::min<uint64_t>(header.imageSize, memory));
    h.imageSize = pixelBytes_;
    Attach(h, table);
    return true;
}

void DibPicture::CopyPixels(const uint8_t* source, size_t size) {
    const size_t count = std::min({size_t{pixelBytes_}, size, pixels_.size()});
    if (source != nullptr && count > 0) {
        std::memcpy(pixels_.data(), source, count);
    }
}

void DibPicture::Brighten(uint8_t amount) {
    const size_t count = std::min<size_t>(pixelBytes_ / 4 * 4, pixels_.size());
    for (size_t i = 0; i < count; ++i) {
        const int sum = pixels_[i] + amount;
        pixels_[i] = static_cast<uint8_t>(sum > 255 ? 255 : sum);
    }
}

void DibPicture::Blend(int step, const DibPicture& from, const DibPicture& to) {
    const size_t count = std::min(
        {size_t{pixelBytes_} / 4 * 4, pixels_.size(), from.pixels_.size(), to.pixels_.size()});
    BlendBytes(pixels_.data(), from.pixels(), to.pixels(), count, step);
}

void DibPicture::BlendRows(int step, int width, int height, const DibPicture& from,
                           const DibPicture& to) {
    const int64_t wanted = std::max<int64_t>(int64_t{width} * height * 3, 0);
    const size_t count = static_cast<size_t>(
        std::min<uint64_t>(static_cast<uint64_t>(wanted),
                           std::min({pixels_.size(), from.pixels_.size(), to.pixels_.size()})));
    BlendBytes(pixels_.data(), from.pixels(), to.pixels(), count, step);
}

bool DibPicture::SameLayout(const DibPicture& other) const {
    return attached_ && other.attached_ && header_.width == other.header_.width &&
           header_.height == other.header_.height && header_.bitCount == other.header_.bitCount &&
           pixels_.size() == other.pixels_.size();
}

void DibPicture::CopyFrom(const DibPicture& other) {
    if (this == &other) {
        return;
    }
    name_ = other.name_;
    pixelBytes_ = other.pixelBytes_;
    attached_ = other.attached_;
    header_ = other.header_;
    info_ = other.info_;
    pixels_ = other.pixels_;
}

void DibPicture::Fill(uint8_t value) {
    std::fill(pixels_.begin(), pixels_.end(), value);
}

int DibPicture::height() const {
    return attached_ ? static_cast<int>(std::abs(static_cast<int64_t>(header_.height))) : 0;
}

uint32_t DibPicture::TopLeftColour() const {
    return ColourAt(0, 0);
}

uint32_t DibPicture::ColourAt(int x, int y) const {
    if (!attached_ || x < 0 || y < 0 || x >= width() || y >= height()) {
        return 0;
    }
    // Bottom-up pictures keep their top row last.
    const size_t row =
        header_.height > 0 ? static_cast<size_t>(height() - 1 - y) : static_cast<size_t>(y);
    const size_t at =
        row * static_cast<size_t>(Stride(header_)) + static_cast<size_t>(x) * header_.bitCount / 8;
    if (at + (header_.bitCount + 7) / 8 > pixels_.size()) {
        return 0;
    }
    const uint8_t* p = pixels_.data() + at;
    const uint8_t* table = info_.data() + kInfoHeaderSize;
    const size_t tableBytes = info_.size() - kInfoHeaderSize;
    const bool bitFields = header_.compression == 3;

    switch (header_.bitCount) {
        case 1:
        case 4:
        case 8: {
            // The pixel's bits, from the byte's high end.
            const int shift = 8 - header_.bitCount * (x % (8 / header_.bitCount) + 1);
            const size_t index = (p[0] >> shift) & ((1u << header_.bitCount) - 1);
            if ((index + 1) * 4 > tableBytes) {
                return 0;
            }
            const uint8_t* quad = table + index * 4;
            return Rgb(quad[2], quad[1], quad[0]);
        }
        case 16: {
            const uint32_t value = ReadLe16(p);
            if (bitFields) {
                return Rgb(MaskedComponent(value, ReadLe32(table)),
                           MaskedComponent(value, ReadLe32(table + 4)),
                           MaskedComponent(value, ReadLe32(table + 8)));
            }
            const auto five = [value](int shift) {
                const uint32_t c = (value >> shift) & 31;
                return (c << 3) | (c >> 2);
            };
            return Rgb(five(10), five(5), five(0));
        }
        case 24:
            return Rgb(p[2], p[1], p[0]);
        case 32:
            if (bitFields) {
                const uint32_t value = ReadLe32(p);
                return Rgb(MaskedComponent(value, ReadLe32(table)),
                           MaskedComponent(value, ReadLe32(table + 4)),
                           MaskedComponent(value, ReadLe32(table + 8)));
            }
            return Rgb(p[2], p[1], p[0]);
        default:
            return 0;
    }
}

std::vector<uint8_t> DibPicture::ToRgba(bool leaveOutTopLeftColour) const {
    std::vector<uint8_t> rgba;
    ToRgba(leaveOutTopLeftColour, rgba);
    return rgba;
}

void DibPicture::ToRgba(bool leaveOutTopLeftColour, std::vector<uint8_t>& rgba) const {
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0) {
        rgba.clear();
        return;
    }
    rgba.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    const uint32_t key = TopLeftColour();
    uint8_t* out = rgba.data();
    const auto put = [&out, key, leaveOutTopLeftColour](uint32_t colour) {
        out[0] = static_cast<uint8_t>(colour);
        out[1] = static_cast<uint8_t>(colour >> 8);
        out[2] = static_cast<uint8_t>(colour >> 16);
        out[3] = leaveOutTopLeftColour && colour == key ? 0 : 255;
        out += 4;
    };
    const size_t stride = static_cast<size_t>(Stride(header_));
    if (header_.bitCount == 24 && pixelCapacity() >= stride * static_cast<size_t>(h)) {
        // The scenes' own format, row by row rather than pixel by pixel (read
        // as ColourAt reads it, whatever the compression field says).
        for (int y = 0; y < h; ++y) {
            const int row = header_.height > 0 ? h - 1 - y : y;
            const uint8_t* in = pixels_.data() + static_cast<size_t>(row) * stride;
            for (int x = 0; x < w; ++x, in += 3) {
                put(Rgb(in[2], in[1], in[0]));
            }
        }
        return;
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            put(ColourAt(x, y));
        }
    }
}

void DibPicture::ClearPixels() {
    attached_ = false;
    pixelBytes_ = 0;
    header_ = BitmapInfoHeader{};
    info_.clear();
    pixels_ = std::vector<uint8_t>();
}

bool DibPicture::Allocate(uint64_t bytes) {
    try {
        pixels_.assign(static_cast<size_t>(bytes), 0);
    } catch (const std::bad_alloc&) {
        pixels_ = std::vector<uint8_t>();
        return false;
    }
    return true;
}

void DibPicture::Attach(const BitmapInfoHeader& header, const std::vector<uint8_t>& table) {
    header_ = header;
    info_.assign(kInfoHeaderSize, 0);
    WriteHeader(header_, info_.data());
    info_.insert(info_.end(), table.begin(), table.end());
    attached_ = true;
}
