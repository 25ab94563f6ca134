#include <bit>
#include <cstring>

#include "archive/Lzss.h"

namespace lzss {
namespace {

// The ring always holds the last 4096 bytes written, so a reference can be
// served from the output itself: the ring position maps to a distance back
// from the current output position. Bytes before the start of the output are
// the ring's initial zeros.
inline size_t Distance(size_t written, uint32_t ringPos) {
    const uint32_t r = (kRingStart + static_cast<uint32_t>(written)) & (kRingSize - 1);
    return ((r - ringPos - 1) & (kRingSize - 1)) + 1;  // 1..4096
}

// Appends `length` bytes of a reference, exactly; the caller has checked the capacity.
inline uint8_t* CopyReference(uint8_t* dst, uint8_t* out, uint32_t ringPos, uint32_t length) {
    const size_t written = static_cast<size_t>(out - dst);
    const size_t distance = Distance(written, ringPos);
    if (distance > written) {
        // Starts in the initial zeros; may run on into the output.
        const size_t zeros = distance - written < length ? distance - written : length;
        std::memset(out, 0, zeros);
        out += zeros;
        length -= static_cast<uint32_t>(zeros);
        if (length == 0) {
            return out;
        }
    }
    const uint8_t* from = out - distance;
    if (distance >= length) {
        std::memcpy(out, from, length);
        return out + length;
    }
    // Overlapping: each byte is stored before the next is fetched.
    for (uint32_t k = 0; k < length; ++k) {
        out[k] = from[k];
    }
    return out + length;
}

// Copies a reference that lies wholly in the output and overlaps its own
// bytes (distance < length), 8 bytes at a time; may write up to 24 bytes
// whatever its length.
inline void CopyOverlapping(uint8_t* out, size_t distance, uint32_t length) {
    size_t period = distance;
    uint32_t done = 0;
    if (distance < 8) {
        // A short pattern: lay down its first 8 bytes, then copy from a whole
        // number of periods back, which is at least 8 bytes away.
        static constexpr uint8_t kPeriodOfAtLeast8[8] = {0, 8, 8, 9, 8, 10, 12, 14};
        // Indexed from the pattern's start: an index below `out` would wrap.
        const uint8_t* from = out - distance;
        if constexpr (std::endian::native == std::endian::little) {
            // The pattern repeated in a register, its lowest byte first. The
            // unit is read byte by byte: each byte then comes straight from one
            // earlier store, where a wide read across two stores would stall.
            uint64_t unit = 0;
            for (size_t k = 0; k < distance; ++k) {
                unit |= uint64_t{from[k]} << (8 * k);
            }
            uint64_t pattern = unit;
            for (size_t shift = 8 * distance; shift < 64; shift += 8 * distance) {
                pattern |= unit << shift;
            }
            std::memcpy(out, &pattern, sizeof pattern);
        } else {
            for (uint32_t k = 0; k < 8; ++k) {
                out[k] = from[k];
            }
        }
        done = 8;
        period = kPeriodOfAtLeast8[distance];
    }
    for (; done < length; done += 8) {
        uint64_t chunk;
        std::memcpy(&chunk, out + done - period, sizeof chunk);
        std::memcpy(out + done, &chunk, sizeof chunk);
    }
}

// One group of items where input and output have room for the whole group
// and for copies that run past their item; those bytes are scratch that later
// items overwrite. Each run of literals goes in one 8-byte copy, so a group
// costs a step per reference rather than a step per item.
inline void DecodeRoomyGroup(uint8_t* dst, uint8_t*& out, const uint8_t*& in) {
    uint32_t references = ~static_cast<uint32_t>(*in++) & 0xFFu;
    if (references == 0) {
        std::memcpy(out, in, 8);
        out += 8;
        in += 8;
        return;
    }
    uint32_t item = 0;
    for (;;) {
        const uint32_t next = references != 0 ? std::countr_zero(references) : 8;
        const uint32_t literals = next - item;
        std::memcpy(out, in, 8);
        out += literals;
        in += literals;
        if (references == 0) {
            return;
        }
        references &= references - 1;
        item = next + 1;

        const uint32_t ringPos = in[0] | ((in[1] & 0xF0u) << 4);
        const uint32_t length = (in[1] & 0x0Fu) + kMinLength;
        in += 2;
        const size_t written = static_cast<size_t>(out - dst);
        const size_t distance = Distance(written, ringPos);
        if (distance >= length && distance <= written) {
            // Every byte this item needs was written before it. All 18 bytes
            // are read before any is written; those past `length` are scratch.
            uint64_t a, b, c;
            std::memcpy(&a, out - distance, 8);
            std::memcpy(&b, out - distance + 8, 8);
            std::memcpy(&c, out - distance + 10, 8);
            std::memcpy(out, &a, 8);
            std::memcpy(out + 8, &b, 8);
            std::memcpy(out + 10, &c, 8);
            out += length;
        } else if (distance <= written) {
            CopyOverlapping(out, distance, length);
            out += length;
        } else {
            out = CopyReference(dst, out, ringPos, length);
        }
    }
}

}  // namespace

size_t Decode(const uint8_t* src, size_t srcLen, uint8_t* dst, size_t capacity) {
    const uint8_t* in = src;
    const uint8_t* const inEnd = src + srcLen;
    uint8_t* out = dst;
    uint8_t* const outEnd = dst + capacity;

    // A group is a flag byte and at most 16 more bytes, and gives at most
    // 8 x 18 bytes. Its wide copies read up to 8 bytes past the group's input
    // and write up to 8 bytes past its output. While all that fits, items need
    // no checks.
    constexpr ptrdiff_t kRoomyInput = 1 + 16 + 8;
    constexpr ptrdiff_t kRoomyOutput = 8 * kMaxLength + 8;

    while (in != inEnd) {
        if (inEnd - in >= kRoomyInput && outEnd - out >= kRoomyOutput) {
            DecodeRoomyGroup(dst, out, in);
            continue;
        }
        uint32_t flags = *in++;
        for (int item = 0; item < 8; ++item, flags >>= 1) {
            if (flags & 1) {
                if (in == inEnd || out == outEnd) {
                    return static_cast<size_t>(out - dst);
                }
                *out++ = *in++;
            } else {
                if (inEnd - in < 2 || out == outEnd) {
                    return static_cast<size_t>(out - dst);
                }
                const uint32_t ringPos = in[0] | ((in[1] & 0xF0u) << 4);
                uint32_t length = (in[1] & 0x0Fu) + kMinLength;
                in += 2;
                const bool full = static_cast<size_t>(outEnd - out) < length;
                if (full) {
                    length = static_cast<uint32_t>(outEnd - out);
                }
                out = CopyReference(dst, out, ringPos, length);
                if (full) {
                    return static_cast<size_t>(out - dst);
                }
            }
        }
    }
    return static_cast<size_t>(out - dst);
}

}  // namespace lzss
