#pragma once

// Plain implementations of the archive codec, written the obvious way: a
// ring-buffer decoder and a greedy longest-match encoder. Tests compare the
// program's codec with them and benchmarks measure against them.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace reference {

inline size_t Decode(const uint8_t* src, size_t srcLen, uint8_t* dst, size_t capacity) {
    uint8_t ring[4096] = {};
    uint32_t r = 4078;
    uint32_t flags = 0;
    size_t in = 0;
    size_t out = 0;
    for (;;) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            if (in == srcLen) {
                return out;
            }
            flags = src[in++] | 0xFF00u;
        }
        if (flags & 1) {
            if (in == srcLen || out == capacity) {
                return out;
            }
            const uint8_t c = src[in++];
            dst[out++] = c;
            ring[r] = c;
            r = (r + 1) & 0xFFF;
        } else {
            if (in == srcLen) {
                return out;
            }
            const uint32_t b1 = src[in++];
            if (in == srcLen) {
                return out;
            }
            const uint32_t b2 = src[in++];
            const uint32_t p = b1 | ((b2 & 0xF0) << 4);
            const uint32_t length = (b2 & 0x0F) + 3;
            for (uint32_t k = 0; k < length; ++k) {
                if (out == capacity) {
                    return out;
                }
                const uint8_t c = ring[(p + k) & 0xFFF];
                dst[out++] = c;
                ring[r] = c;
                r = (r + 1) & 0xFFF;
            }
        }
    }
}

// Greedy: at each position the longest match in the last 4096 bytes (lengths
// 3..18), found by scanning the whole window, else a literal.
inline std::vector<uint8_t> GreedyEncode(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out;
    size_t flagAt = 0;
    int bit = 8;
    auto item = [&](bool literal) {
        if (bit == 8) {
            flagAt = out.size();
            out.push_back(0);
            bit = 0;
        }
        if (literal) {
            out[flagAt] = static_cast<uint8_t>(out[flagAt] | (1u << bit));
        }
        ++bit;
    };
    size_t i = 0;
    while (i < size) {
        size_t bestLength = 0;
        size_t bestFrom = 0;
        const size_t limit = size - i < 18 ? size - i : 18;
        const size_t start = i > 4096 ? i - 4096 : 0;
        for (size_t from = i; from-- > start;) {
            size_t len = 0;
            while (len < limit && data[from + len] == data[i + len]) {
                ++len;
            }
            if (len > bestLength) {
                bestLength = len;
                bestFrom = from;
                if (len == limit) {
                    break;
                }
            }
        }
        if (bestLength >= 3) {
            const uint32_t p = static_cast<uint32_t>((4078 + bestFrom) & 0xFFF);
            item(false);
            out.push_back(static_cast<uint8_t>(p & 0xFF));
            out.push_back(static_cast<uint8_t>(((p >> 4) & 0xF0) | (bestLength - 3)));
            i += bestLength;
        } else {
            item(true);
            out.push_back(data[i]);
            ++i;
        }
    }
    return out;
}

}  // namespace reference
