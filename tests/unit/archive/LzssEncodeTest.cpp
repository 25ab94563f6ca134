#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/ReferenceLzss.h"
#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/Lzss.h"

namespace {

std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& data) {
    const std::vector<uint8_t> stream = lzss::Encode(data.data(), data.size());
    std::vector<uint8_t> out(data.size() + 64);
    out.resize(Archive::Decompress(stream.data(), stream.size(), out.data(), out.size()));
    return out;
}

std::vector<uint8_t> Text(size_t size) {
    const std::string words[] = {"葉月の", "page ", "<a href=\"x.htm\">", "古い", "\r\n", "link "};
    std::vector<uint8_t> out;
    uint32_t state = 7;
    while (out.size() < size) {
        state = state * 1103515245u + 12345u;
        const std::string& w = words[(state >> 16) % 6];
        out.insert(out.end(), w.begin(), w.end());
    }
    out.resize(size);
    return out;
}

TEST(LzssEncode, RoundTripsWhateverTheInput) {
    const std::vector<std::vector<uint8_t>> inputs = {
        {},
        {0x42},
        {0x00},
        std::vector<uint8_t>(5000, 'r'),    // a run
        std::vector<uint8_t>(10000, 0x00),  // zeros, as in the ring before anything is written
        RandomBytes(20000, 1),              // nothing to match
        RandomBytes(30000, 2, 3),           // many short matches
        Text(50000),                        // far longer than the window
    };
    for (size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_EQ(RoundTrip(inputs[i]), inputs[i]) << "input " << i;
    }
}

TEST(LzssEncode, RoundTripsEveryLengthAroundTheWindowAndGroupEdges) {
    const std::vector<uint8_t> text = Text(4200);
    for (size_t size : {1, 2, 3, 17, 18, 19, 4077, 4078, 4079, 4095, 4096, 4097, 4114}) {
        const std::vector<uint8_t> data(text.begin(), text.begin() + static_cast<ptrdiff_t>(size));
        EXPECT_EQ(RoundTrip(data), data) << size;
    }
}

TEST(LzssEncode, LeadingZerosReferToTheInitialRing) {
    // 18 zeros fit in one reference into the ring's initial zeros.
    const std::vector<uint8_t> zeros(18, 0);
    EXPECT_EQ(lzss::Encode(zeros.data(), zeros.size()).size(), 3u);
    // Zeros after data, mixed with data, and far into the stream.
    std::vector<uint8_t> mixed = Text(100);
    mixed.insert(mixed.end(), 300, 0);
    mixed.insert(mixed.begin(), 40, 0);
    EXPECT_EQ(RoundTrip(mixed), mixed);
}

TEST(LzssEncode, NeverLargerThanTheGreedyEncoder) {
    const std::vector<std::vector<uint8_t>> inputs = {
        Text(20000), RandomBytes(8000, 3), RandomBytes(20000, 4, 4), std::vector<uint8_t>(7000, 9)};
    for (size_t i = 0; i < inputs.size(); ++i) {
        const auto& data = inputs[i];
        const size_t ours = lzss::Encode(data.data(), data.size()).size();
        const size_t greedy = reference::GreedyEncode(data.data(), data.size()).size();
        EXPECT_LE(ours, greedy) << "input " << i;
    }
}

}  // namespace
