#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/ReferenceLzss.h"
#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/Lzss.h"

namespace {

// Assembles a stream item by item, flag bytes included.
class StreamBuilder {
  public:
    StreamBuilder& Literal(uint8_t c) {
        Item(true);
        bytes_.push_back(c);
        return *this;
    }
    StreamBuilder& Literals(const std::string& text) {
        for (char c : text) {
            Literal(static_cast<uint8_t>(c));
        }
        return *this;
    }
    StreamBuilder& Reference(uint32_t ringPos, uint32_t length) {
        Item(false);
        bytes_.push_back(static_cast<uint8_t>(ringPos & 0xFF));
        bytes_.push_back(static_cast<uint8_t>(((ringPos >> 4) & 0xF0) | (length - 3)));
        return *this;
    }
    std::vector<uint8_t> bytes() const { return bytes_; }

  private:
    void Item(bool literal) {
        if (bit_ == 8) {
            flagAt_ = bytes_.size();
            bytes_.push_back(0);
            bit_ = 0;
        }
        if (literal) {
            bytes_[flagAt_] = static_cast<uint8_t>(bytes_[flagAt_] | (1u << bit_));
        }
        ++bit_;
    }
    std::vector<uint8_t> bytes_;
    size_t flagAt_ = 0;
    int bit_ = 8;
};

std::string Decode(const std::vector<uint8_t>& stream, size_t capacity = 4096) {
    std::vector<uint8_t> out(capacity + 16, 0xEE);
    const size_t n = Archive::Decompress(stream.data(), stream.size(), out.data(), capacity);
    for (size_t i = capacity; i < out.size(); ++i) {
        EXPECT_EQ(out[i], 0xEE) << "written past the capacity at " << i;
    }
    return std::string(out.begin(), out.begin() + static_cast<ptrdiff_t>(n));
}

TEST(LzssDecode, LiteralsAndReferences) {
    // "abc" lands at ring 4078..4080; a reference to 4078 of length 3 repeats it.
    const auto stream = StreamBuilder().Literals("abc").Reference(4078, 3).Literal('!').bytes();
    EXPECT_EQ(Decode(stream), "abcabc!");
}

TEST(LzssDecode, EmptyInputGivesNothing) {
    EXPECT_EQ(Decode({}), "");
    EXPECT_EQ(Archive::Decompress(nullptr, 0, nullptr, 0), 0u);
}

TEST(LzssDecode, ReferenceIntoTheInitialRingGivesZeroBytes) {
    const auto stream = StreamBuilder().Reference(0, 18).Reference(4000, 5).bytes();
    EXPECT_EQ(Decode(stream), std::string(23, '\0'));
}

TEST(LzssDecode, ReferenceToTheLastWrittenByteRepeatsIt) {
    // After one literal at 4078 the write position is 4079; 4078 is r - 1.
    const auto stream = StreamBuilder().Literal('z').Reference(4078, 18).bytes();
    EXPECT_EQ(Decode(stream), std::string(19, 'z'));
}

TEST(LzssDecode, OverlappingReferenceRepeatsAPattern) {
    const auto stream = StreamBuilder().Literals("ab").Reference(4078, 7).bytes();
    EXPECT_EQ(Decode(stream), "ababababa");
}

TEST(LzssDecode, ReferenceThatWrapsAroundTheRingEnd) {
    // 20 literals occupy 4078..4095 and 0..1; a reference at 4094 reads across the wrap.
    const std::string text = "0123456789ABCDEFGHIJ";
    const auto stream = StreamBuilder().Literals(text).Reference(4094, 4).bytes();
    EXPECT_EQ(Decode(stream), text + "GHIJ");
}

TEST(LzssDecode, ReferenceReachingBackAFullRing) {
    // With 4096 bytes written the write position is back at 4078: a reference to
    // it reads the byte written 4096 steps earlier.
    StreamBuilder builder;
    std::string text;
    for (int i = 0; i < 4096; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    builder.Literals(text).Reference(4078, 5);
    EXPECT_EQ(Decode(builder.bytes(), 8192), text + text.substr(0, 5));
}

TEST(LzssDecode, TruncatedStreamsKeepWhatWasDecoded) {
    auto afterFlag = StreamBuilder().Literals("12345678").bytes();
    afterFlag.push_back(0xFF);  // a flag byte with nothing after it
    EXPECT_EQ(Decode(afterFlag), "12345678");

    auto halfReference = StreamBuilder().Literals("xy").Reference(4078, 5).bytes();
    halfReference.pop_back();  // the second byte of the reference is missing
    EXPECT_EQ(Decode(halfReference), "xy");
}

TEST(LzssDecode, NeverWritesPastItsCapacity) {
    const auto stream = StreamBuilder().Literals("abcdef").Reference(4078, 18).bytes();
    for (size_t capacity : {0u, 1u, 5u, 6u, 7u, 23u, 24u}) {
        const std::string full = "abcdef" + std::string("abcdefabcdefabcdef");
        EXPECT_EQ(Decode(stream, capacity), full.substr(0, capacity)) << capacity;
    }
}

// The decoder takes shortcuts where a whole group of items fits; whatever the
// bytes, it must agree with the plain ring decoder, at any capacity.
TEST(LzssDecode, AgreesWithThePlainRingDecoderOnArbitraryStreams) {
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        const auto stream = RandomBytes(seed * 7 % 600, seed);
        for (size_t capacity : {size_t{0}, size_t{17}, size_t{600}, size_t{20000}}) {
            std::vector<uint8_t> expected(capacity);
            const size_t n =
                reference::Decode(stream.data(), stream.size(), expected.data(), capacity);
            expected.resize(n);
            const std::string got = Decode(stream, capacity);
            ASSERT_EQ(got, std::string(expected.begin(), expected.end()))
                << "seed " << seed << " capacity " << capacity;
        }
    }
}

// Found by fuzzing: a reference less than 8 bytes back, in a stream long
// enough for the decoder's group shortcut, read its pattern through an index
// that wrapped below zero (undefined, though it gave the right bytes).
TEST(LzssDecode, ShortPatternsInsideLongStreams) {
    const std::vector<uint8_t> found = {0x0a, 0xff, 0x0f, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff,
                                        0xff, 0x41, 0xe0, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
                                        0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
    std::vector<uint8_t> expected(found.size() * 9);
    expected.resize(
        reference::Decode(found.data(), found.size(), expected.data(), expected.size()));
    EXPECT_EQ(Decode(found), std::string(expected.begin(), expected.end()));

    for (uint32_t distance = 1; distance < 8; ++distance) {
        StreamBuilder builder;
        const std::string pattern = std::string("0123456").substr(0, distance);
        builder.Literals(pattern).Reference(4078, 18).Literals(std::string(30, '.'));
        std::string repeated;
        while (repeated.size() < distance + 18) {
            repeated += pattern;
        }
        EXPECT_EQ(Decode(builder.bytes()), repeated.substr(0, distance + 18) + std::string(30, '.'))
            << distance;
    }
}

// Within a group the decoder copies runs of literals and references in wide
// steps; every mix of run length, distance back and length must still give
// the plain ring decoder's bytes.
TEST(LzssDecode, EveryDistanceLengthAndLiteralRunInLongStreams) {
    StreamBuilder builder;
    size_t written = 0;
    for (uint32_t i = 0; i < 64; ++i, ++written) {
        builder.Literal(static_cast<uint8_t>('A' + i % 23));
    }
    for (uint32_t distance = 1; distance <= 40; ++distance) {
        for (uint32_t length = 3; length <= 18; ++length) {
            const uint32_t literals = (distance + length) % 5;
            for (uint32_t k = 0; k < literals; ++k, ++written) {
                builder.Literal(static_cast<uint8_t>('a' + (distance + k) % 26));
            }
            const uint32_t ringPos = static_cast<uint32_t>(4078 + written - distance) & (4096 - 1);
            builder.Reference(ringPos, length);
            written += length;
        }
    }
    const std::vector<uint8_t> stream = builder.bytes();
    std::vector<uint8_t> expected(written);
    ASSERT_EQ(reference::Decode(stream.data(), stream.size(), expected.data(), written), written);
    EXPECT_EQ(Decode(stream, written), std::string(expected.begin(), expected.end()));
}

// Found by fuzzing: a group of eight 18-byte references, decoded where the
// capacity left just room for the group, wrote two bytes past the capacity.
TEST(LzssDecode, GroupOfLongReferencesNearTheCapacity) {
    StreamBuilder builder;
    builder.Literals("0123456789abcdefghijklmn");  // three whole groups
    for (uint32_t written = 24; written < 24 + 8 * 18; written += 18) {
        builder.Reference((4078 + written - 24) & (4096 - 1), 18);
    }
    builder.Literals("0123456789");
    const std::vector<uint8_t> stream = builder.bytes();
    std::vector<uint8_t> full(24 + 8 * 18 + 10);
    ASSERT_EQ(reference::Decode(stream.data(), stream.size(), full.data(), full.size()),
              full.size());
    for (size_t capacity = 150; capacity <= full.size(); ++capacity) {
        EXPECT_EQ(Decode(stream, capacity), std::string(full.begin(), full.begin() + capacity))
            << capacity;
    }
}

TEST(LzssDecode, MaxDecodedSizeBoundsEveryStream) {
    // The densest stream: every item an 18-byte reference.
    std::vector<uint8_t> dense;
    for (int group = 0; group < 100; ++group) {
        dense.push_back(0);
        for (int item = 0; item < 8; ++item) {
            dense.push_back(0x00);
            dense.push_back(0x0F);
        }
    }
    for (size_t cut = 0; cut <= dense.size(); ++cut) {
        std::vector<uint8_t> out(lzss::MaxDecodedSize(cut) + 1);
        const size_t n = Archive::Decompress(dense.data(), cut, out.data(), out.size());
        ASSERT_LE(n, lzss::MaxDecodedSize(cut)) << cut;
    }
}

}  // namespace
