#include <algorithm>
#include <limits>

#include "archive/Lzss.h"

namespace lzss {
namespace {

// The encoder sees the data behind 4078 zero bytes: ring positions 0..4077 are
// zeros before anything is written, so the start of the data may refer to them.
// Positions 4078..4095 are never referred to before they are written.
constexpr size_t kZeroLead = kRingStart;
constexpr uint32_t kHashBits = 14;
constexpr uint32_t kNoPosition = std::numeric_limits<uint32_t>::max();

inline uint32_t Hash(const uint8_t* p) {
    const uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

struct Match {
    uint8_t length = 0;  // 0 when no reference of at least kMinLength exists
    uint16_t ringPos = 0;
};

// Finds the longest match for every data position with hash chains over the
// last 4096 positions. The walk is exhaustive within the window, so the result
// is the true longest match.
class MatchFinder {
  public:
    explicit MatchFinder(const std::vector<uint8_t>& buffer)
        : buf_(buffer), head_(size_t{1} << kHashBits, kNoPosition), prev_(kRingSize, kNoPosition) {}

    void Insert(size_t pos) {
        if (pos + kMinLength > buf_.size()) {
            return;
        }
        const uint32_t h = Hash(&buf_[pos]);
        prev_[pos & (kRingSize - 1)] = head_[h];
        head_[h] = static_cast<uint32_t>(pos);
    }

    Match Longest(size_t pos) const {
        Match best;
        const size_t limit = std::min<size_t>(kMaxLength, buf_.size() - pos);
        if (limit < kMinLength) {
            return best;
        }
        const uint8_t* here = &buf_[pos];
        const size_t windowStart = pos > kRingSize ? pos - kRingSize : 0;
        size_t bestLength = kMinLength - 1;
        for (uint32_t cand = head_[Hash(here)]; cand != kNoPosition && cand >= windowStart;
             cand = prev_[cand & (kRingSize - 1)]) {
            const uint8_t* there = &buf_[cand];
            // Cheap rejection first: the byte that would make this match longer.
            if (there[bestLength] != here[bestLength] || there[0] != here[0]) {
                continue;
            }
            size_t len = 0;
            while (len < limit && there[len] == here[len]) {
                ++len;
            }
            if (len > bestLength) {
                bestLength = len;
                best.length = static_cast<uint8_t>(len);
                best.ringPos = static_cast<uint16_t>(cand & (kRingSize - 1));
                if (len == limit) {
                    break;
                }
            }
        }
        return best;
    }

  private:
    const std::vector<uint8_t>& buf_;
    std::vector<uint32_t> head_;
    std::vector<uint32_t> prev_;
};

class StreamWriter {
  public:
    explicit StreamWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Literal(uint8_t c) {
        NextItem(true);
        out_.push_back(c);
    }
    void Reference(uint32_t ringPos, uint32_t length) {
        NextItem(false);
        out_.push_back(static_cast<uint8_t>(ringPos & 0xFF));
        out_.push_back(static_cast<uint8_t>(((ringPos >> 4) & 0xF0) | (length - kMinLength)));
    }

  private:
    void NextItem(bool literal) {
        if (bit_ == 8) {
            flagIndex_ = out_.size();
            out_.push_back(0);
            bit_ = 0;
        }
        if (literal) {
            out_[flagIndex_] = static_cast<uint8_t>(out_[flagIndex_] | (1u << bit_));
        }
        ++bit_;
    }

    std::vector<uint8_t>& out_;
    size_t flagIndex_ = 0;
    uint32_t bit_ = 8;
};

}  // namespace

std::vector<uint8_t> Encode(const uint8_t* data, size_t size) {
    std::vector<uint8_t> buf(kZeroLead + size, 0);
    std::copy(data, data + size, buf.begin() + kZeroLead);

    // Longest match at every position.
    MatchFinder finder(buf);
    for (size_t pos = 0; pos < kZeroLead; ++pos) {
        finder.Insert(pos);
    }
    std::vector<Match> matches(size);
    for (size_t i = 0; i < size; ++i) {
        matches[i] = finder.Longest(kZeroLead + i);
        finder.Insert(kZeroLead + i);
    }

    // Cheapest parse, from the end: a literal costs 9 bits, a reference 17,
    // and any shorter prefix of a match is a match too.
    constexpr uint32_t kLiteralCost = 9;
    constexpr uint32_t kReferenceCost = 17;
    std::vector<uint32_t> cost(size + 1, 0);
    std::vector<uint8_t> choice(size, 0);  // chosen reference length, 0 for a literal
    for (size_t i = size; i-- > 0;) {
        uint32_t best = kLiteralCost + cost[i + 1];
        uint8_t bestLength = 0;
        for (uint32_t len = kMinLength; len <= matches[i].length; ++len) {
            const uint32_t c = kReferenceCost + cost[i + len];
            if (c <= best) {
                best = c;
                bestLength = static_cast<uint8_t>(len);
            }
        }
        cost[i] = best;
        choice[i] = bestLength;
    }

    std::vector<uint8_t> out;
    out.reserve(size + size / 8 + 1);
    StreamWriter writer(out);
    for (size_t i = 0; i < size;) {
        if (choice[i] == 0) {
            writer.Literal(data[i]);
            ++i;
        } else {
            writer.Reference(matches[i].ringPos, choice[i]);
            i += choice[i];
        }
    }
    return out;
}

}  // namespace lzss
