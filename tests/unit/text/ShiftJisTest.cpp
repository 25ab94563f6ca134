#include <gtest/gtest.h>

#include "text/ShiftJis.h"

namespace {

TEST(ShiftJis, LeadBytesAreTheTwoRanges) {
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_FALSE(IsLeadByte(0xA0));  // half-width katakana stand alone
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xFD));
}

TEST(ShiftJis, CutNeverSplitsADoubleByteCharacter) {
    const std::string text =
        "ab\x82\xa0"
        "c";  // a, b, あ, c
    EXPECT_EQ(CutAtCharacter(text, 2), "ab");
    EXPECT_EQ(CutAtCharacter(text, 3), "ab");
    EXPECT_EQ(CutAtCharacter(text, 4), "ab\x82\xa0");
    EXPECT_EQ(CutAtCharacter(text, 99), text);
    EXPECT_EQ(CutAtCharacter("", 5), "");
    // A lone lead byte at the very end is kept as a single byte.
    EXPECT_EQ(CutAtCharacter("a\x82", 2), "a");
}

}  // namespace
