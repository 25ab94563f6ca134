#pragma once

// Whole .bmp files for tests: a 14-byte file header, a 40-byte information
// header, the colour table or bit-field masks, then the pixel rows.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "html/Attributes.h"

namespace bmp {

// Where the fields a test may want to damage are.
constexpr size_t kFileSizeAt = 2;
constexpr size_t kOffsetAt = 10;
constexpr size_t kHeaderSizeAt = 14;
constexpr size_t kWidthAt = 18;
constexpr size_t kHeightAt = 22;
constexpr size_t kPlanesAt = 26;
constexpr size_t kBitCountAt = 28;
constexpr size_t kCompressionAt = 30;
constexpr size_t kImageSizeAt = 34;
constexpr size_t kClrUsedAt = 46;
constexpr size_t kHeadersSize = 54;

inline void Put32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        file[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

inline void Put16(std::vector<uint8_t>& file, size_t at, uint16_t value) {
    file[at] = static_cast<uint8_t>(value);
    file[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline uint32_t Get32(const std::vector<uint8_t>& file, size_t at) {
    return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) |
           (static_cast<uint32_t>(file[at + 3]) << 24);
}

// Bytes of one pixel row, padded to four bytes.
inline size_t Stride(int width, int bits) {
    return (static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32 * 4;
}

// The pixel rows as stored (all zero, of the full size, when empty); the
// colour table with red in the low byte (for 8 bits or fewer a grey ramp of
// every index when empty); compression 3 writes the red, green and blue
// masks after the header instead.
inline std::vector<uint8_t> Make(int width, int height, int bits, std::vector<uint8_t> pixels,
                                 std::vector<Colour> colours, uint32_t compression,
                                 const std::array<uint32_t, 3>& masks) {
    if (colours.empty() && bits <= 8 && bits > 0) {
        const uint32_t entries = 1u << bits;
        for (uint32_t i = 0; i < entries; ++i) {
            const auto grey = static_cast<uint8_t>(i * 255 / (entries - 1));
            colours.push_back(MakeColour(grey, grey, grey));
        }
    }
    const size_t pixelSize = bmp::Stride(width, bits) * static_cast<size_t>(std::abs(height));
    if (pixels.empty()) {
        pixels.assign(pixelSize, 0);
    }

    std::vector<uint8_t> file(bmp::kHeadersSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    bmp::Put32(file, bmp::kHeaderSizeAt, 40);
    bmp::Put32(file, bmp::kWidthAt, static_cast<uint32_t>(width));
    bmp::Put32(file, bmp::kHeightAt, static_cast<uint32_t>(height));
    bmp::Put16(file, bmp::kPlanesAt, 1);
    bmp::Put16(file, bmp::kBitCountAt, static_cast<uint16_t>(bits));
    bmp::Put32(file, bmp::kCompressionAt, compression);
    bmp::Put32(file, bmp::kImageSizeAt, static_cast<uint32_t>(pixelSize));
    bmp::Put32(file, bmp::kClrUsedAt, static_cast<uint32_t>(bits <= 8 ? colours.size() : 0));
    if (compression == 3) {
        for (uint32_t mask : masks) {
            file.resize(file.size() + 4);
            bmp::Put32(file, file.size() - 4, mask);
        }
    } else if (bits <= 8) {
        for (Colour c : colours) {
            file.push_back(static_cast<uint8_t>(c >> 16));
            file.push_back(static_cast<uint8_t>(c >> 8));
            file.push_back(static_cast<uint8_t>(c));
            file.push_back(0);
        }
    }
    bmp::Put32(file, bmp::kOffsetAt, static_cast<uint32_t>(file.size()));
    // Appended by hand: gcc 12's -Warray-bounds misreads vector::insert here.
    const size_t rowsAt = file.size();
    file.resize(rowsAt + pixels.size());
    if (!pixels.empty()) {
        std::memcpy(file.data() + rowsAt, pixels.data(), pixels.size());
    }
    bmp::Put32(file, bmp::kFileSizeAt, static_cast<uint32_t>(file.size()));
    return file;
}

}  // namespace bmp

// A well-formed .bmp file: the file size is the whole file and the image size
// the full pixel rows. Tests damage it afterwards with bmp::Put32.
inline std::vector<uint8_t> MakeBmp(int width, int height, int bits,
                                    std::vector<uint8_t> pixels = {},
                                    std::vector<Colour> colours = {}) {
    return bmp::Make(width, height, bits, std::move(pixels), std::move(colours), 0, {});
}

// A 24-bit picture of one colour.
inline std::vector<uint8_t> MakeSolidBmp(int width, int height, Colour colour) {
    const size_t stride = bmp::Stride(width, 24);
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(std::abs(height)), 0);
    for (size_t row = 0; row < pixels.size(); row += stride) {
        for (size_t x = 0; x < static_cast<size_t>(width); ++x) {
            pixels[row + 3 * x] = static_cast<uint8_t>(colour >> 16);
            pixels[row + 3 * x + 1] = static_cast<uint8_t>(colour >> 8);
            pixels[row + 3 * x + 2] = static_cast<uint8_t>(colour);
        }
    }
    return MakeBmp(width, height, 24, std::move(pixels));
}

// The same with bit fields (16 or 32 bits): red, green and blue masks.
inline std::vector<uint8_t> MakeBitFieldsBmp(int width, int height, int bits,
                                             std::vector<uint8_t> pixels,
                                             const std::array<uint32_t, 3>& masks) {
    return bmp::Make(width, height, bits, std::move(pixels), {}, 3, masks);
}
