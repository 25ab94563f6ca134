#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/FontFaces.h"

namespace {

const std::wstring kWanted = L"ＭＳ ゴシック";

// What a system without the face lists for Shift-JIS, in its order: a
// fallback face with no Latin letters first, the vertical faces among them.
const std::vector<FontFace> kListed = {
    {L"Droid Sans Fallback", false},
    {L"@IPAGothic", true},
    {L"IPAPGothic", false},
    {L"IPAGothic", true},
    {L"IPAMincho", true},
};

TEST(ChooseJapaneseFace, KeepsTheWantedFaceWhenTheSystemHasIt) {
    EXPECT_EQ(ChooseJapaneseFace(kWanted, true, kListed), kWanted);
    EXPECT_EQ(ChooseJapaneseFace(kWanted, true, {}), kWanted);
}

TEST(ChooseJapaneseFace, TakesTheFirstFixedPitchFaceThatIsNotVertical) {
    EXPECT_EQ(ChooseJapaneseFace(kWanted, false, kListed), L"IPAGothic");
}

TEST(ChooseJapaneseFace, WithoutAFixedPitchFaceTakesTheFirstJapaneseOne) {
    const std::vector<FontFace> proportional = {
        {L"@IPAPGothic", false}, {L"@IPAGothic", true}, {L"IPAPGothic", false}, {L"Other", false}};
    EXPECT_EQ(ChooseJapaneseFace(kWanted, false, proportional), L"IPAPGothic");
}

TEST(ChooseJapaneseFace, LeavesTheWantedFaceWhenNothingElseDrawsJapanese) {
    EXPECT_EQ(ChooseJapaneseFace(kWanted, false, {}), kWanted);
    EXPECT_EQ(ChooseJapaneseFace(kWanted, false, {{L"@IPAGothic", true}, {L"", true}}), kWanted);
}

}  // namespace

TEST(SystemFont, CaptionsTakeEightPixelsABytes) {
    EXPECT_EQ(SystemFontTextWidth(""), 0);
    EXPECT_EQ(SystemFontTextWidth("OK"), 16);
    // "霧検索": three double-byte characters, 16 pixels each; a half-width
    // kana is narrow like ASCII.
    EXPECT_EQ(SystemFontTextWidth("\x96\xb6\x8c\x9f\x8d\xf5"), 48);
    EXPECT_EQ(SystemFontTextWidth("\xb1"
                                  "a\x82\xa0"),
              32);
}
