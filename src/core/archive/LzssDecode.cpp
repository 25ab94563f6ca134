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

// Appends `length` bytes of a reference; the caller has checked the capacity.
inline uint8_t* CopyReference(uint8_t* dst, uint8_t* out, uint32_t ringPos, uint32_t length) {
    const size_t distance = Distance(static_cast<size_t>(out - dst), ringPos);
    const size_t written = static_cast<size_t>(out - dst);
    if (distance > written) {
        // Starts in the initial zeros; may run on into the output.
        size_t zeros = distance - written;
        if (zeros > length) {
            zeros = length;
        }
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

}  // namespace

size_t Decode(const uint8_t* src, size_t srcLen, uint8_t* dst, size_t capacity) {
    const uint8_t* in = src;
    const uint8_t* const inEnd = src + srcLen;
    uint8_t* out = dst;
    uint8_t* const outEnd = dst + capacity;

    // A full group is a flag byte and at most 16 more bytes, and writes at most
    // 8 x 18 bytes: while both fit, no item needs a bounds check.
    constexpr ptrdiff_t kGroupInput = 16;
    constexpr ptrdiff_t kGroupOutput = 8 * kMaxLength;

    while (in != inEnd) {
        uint32_t flags = *in++;
        if (inEnd - in >= kGroupInput && outEnd - out >= kGroupOutput) {
            for (int item = 0; item < 8; ++item, flags >>= 1) {
                if (flags & 1) {
                    *out++ = *in++;
                } else {
                    const uint32_t ringPos = in[0] | ((in[1] & 0xF0u) << 4);
                    const uint32_t length = (in[1] & 0x0Fu) + kMinLength;
                    in += 2;
                    out = CopyReference(dst, out, ringPos, length);
                }
            }
            continue;
        }
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
                bool full = false;
                if (static_cast<size_t>(outEnd - out) < length) {
                    length = static_cast<uint32_t>(outEnd - out);
                    full = true;
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
