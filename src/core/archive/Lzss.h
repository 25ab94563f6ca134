#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// LZSS with a 4096-byte ring and lengths 3..18. A flag byte governs the next
// eight items, least significant bit first: 1 is a literal byte, 0 a two-byte
// reference to an absolute ring position. The ring starts as zero bytes and is
// written from position 4078.
namespace lzss {

constexpr uint32_t kRingSize = 4096;
constexpr uint32_t kMaxLength = 18;
constexpr uint32_t kMinLength = 3;
constexpr uint32_t kRingStart = kRingSize - kMaxLength;  // 4078

// Decodes one stream into dst and returns the number of bytes it gave. Decoding
// ends when the input runs out; output beyond `capacity` is dropped and ends it
// too. Nothing is written past `capacity`, but bytes of dst after the returned
// count may have been used as scratch. Allocates nothing.
size_t Decode(const uint8_t* src, size_t srcLen, uint8_t* dst, size_t capacity);

// The most bytes any stream of `packedSize` bytes can decode to (a flag byte
// and eight 18-byte references in every 17 bytes stay below 9 per byte).
constexpr uint64_t MaxDecodedSize(uint64_t packedSize) {
    return packedSize * 9;
}

// Encodes data into a stream that Decode turns back into exactly the same bytes.
// Chooses between literals and references by cost, so the stream is never
// larger than a greedy longest-match encoder's.
std::vector<uint8_t> Encode(const uint8_t* data, size_t size);

}  // namespace lzss
