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
    // A lone lead byte at the very end starts a character that is not there:
    // it is dropped.
    EXPECT_EQ(CutAtCharacter("a\x82", 2), "a");
}

TEST(ShiftJis, ATrailByteThatLooksLikeALeadByteStartsNothing) {
    // "メ" is 0x83 0x81: its second byte is in the lead range, yet the letters
    // after it are single bytes and fold.
    EXPECT_EQ(CompareIgnoringAsciiCase("メAb", "メaB"), 0);
    EXPECT_TRUE(EqualsIgnoringAsciiCase("メAb", "メaB"));
    EXPECT_LT(CompareIgnoringAsciiCase("メa", "メB"), 0);
    EXPECT_EQ(FindCharacters("メA|", "|"), 3u);
    EXPECT_EQ(FoldedAsciiCase("メAb"), FoldedAsciiCase("メaB"));
    EXPECT_EQ(FoldedAsciiCase("アZ"), "アz");  // 0x83 0x41: the trail byte stays "A"
}

TEST(ShiftJis, PrintableTextIsWholeCharactersWithoutControlBytes) {
    for (const char* text : {"", " ~", "a.htm", "\xa1\xdf", "\x81\x40\x9f\x7e\xe0\x80\xfc\xfc"}) {
        EXPECT_TRUE(IsPrintableText(text)) << text;
    }
    for (const char* text : {"\x1f", "a\x7f", "\x80", "\xa0", "\xfd", "\xff\xff", "a\x82",
                             "\x82\x3f", "\x82\x7f", "\x82\xfd", "\x82\x20.htm"}) {
        EXPECT_FALSE(IsPrintableText(text)) << text;
    }
}

}  // namespace

TEST(ShiftJis, AFileOpenedByPathIsKnownByItsName) {
    EXPECT_EQ(FileNameOfPath("C:\\worlds\\demo\\otop.htm"), "otop.htm");
    EXPECT_EQ(FileNameOfPath("Z:/home/player/a.htm"), "a.htm");
    EXPECT_EQ(FileNameOfPath("C:otop.htm"), "otop.htm");
    EXPECT_EQ(FileNameOfPath("otop.htm"), "otop.htm");
    EXPECT_EQ(FileNameOfPath("C:\\worlds\\"), "");
    EXPECT_EQ(FileNameOfPath(""), "");
    // "ソ" ends in the byte of "\": a folder named with it is no separator.
    EXPECT_EQ(FileNameOfPath("C:\\\x83\x5C\\\x83\x5C.htm"), "\x83\x5C.htm");
    EXPECT_EQ(FileNameOfPath("\x83\x5C"
                             "a.htm"),
              "\x83\x5C"
              "a.htm");
    // A lead byte at the very end does not reach past it.
    EXPECT_EQ(FileNameOfPath("C:\\a\x83"), "a\x83");
}

TEST(ShiftJis, CharactersArePairsFromALeadByteAndSingleBytesElse) {
    EXPECT_EQ(CountCharacters(""), 0u);
    EXPECT_EQ(CountCharacters("ab"), 2u);
    EXPECT_EQ(CountCharacters("\x83\x5C\xb1z"), 3u);  // "ソ", a half-width kana, "z"
    // A lead byte swallows whatever follows it, and alone at the end is one.
    EXPECT_EQ(CountCharacters("\x82\x20"), 1u);
    EXPECT_EQ(CountCharacters("a\x82"), 2u);
}
