#include <gtest/gtest.h>

#include "picture/ButtonColours.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;  // highlight key at (0, 0)
constexpr uint32_t kGrey = 0xC0C0C0;   // border key at (1, 1)
constexpr uint32_t kDark = 0x808080;   // shadow key at the bottom right
constexpr uint32_t kGlyph = 0x3A9AD8;

// 4 x 3, a bevel around a face with one glyph pixel.
PixelGrid Normal() {
    return {4,
            3,
            {kWhite, kWhite, kWhite, kGrey,  //
             kWhite, kGrey, kGlyph, kDark,   //
             kGrey, kDark, kDark, kDark}};
}

TEST(RecolorToSystem, KeysComeFromTheNormalPictureAndEveryKeyPixelChanges) {
    const auto keys = TakeButtonKeys(Normal());
    ASSERT_TRUE(keys);
    EXPECT_EQ(keys->highlight, kWhite);
    EXPECT_EQ(keys->border, kGrey);
    EXPECT_EQ(keys->shadow, kDark);

    PixelGrid picture = Normal();
    RecolorToSystem(picture, *keys, {0x111111, 0x222222, 0x333333});
    EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x111111, 0x111111, 0x111111, 0x333333,  //
                                                     0x111111, 0x333333, kGlyph, 0x222222,    //
                                                     0x333333, 0x222222, 0x222222, 0x222222}));

    // A pressed picture with its bevel turned round keeps the normal one's keys.
    PixelGrid pressed{2, 2, {kDark, kGrey, kGrey, kWhite}};
    RecolorToSystem(pressed, *keys, {0x111111, 0x222222, 0x333333});
    EXPECT_EQ(pressed.pixels, (std::vector<uint32_t>{0x222222, 0x333333, 0x333333, 0x111111}));
}

TEST(RecolorToSystem, TheThreeTestsRunInTurnOnEachPixel) {
    const ButtonKeys keys = *TakeButtonKeys(Normal());
    // The system's highlight is the shadow key and its shadow the border key:
    // a highlight pixel goes on to become the border colour, but a border
    // pixel is never tested again after it changed.
    PixelGrid picture = Normal();
    RecolorToSystem(picture, keys, {kDark, kGrey, 0x333333});
    EXPECT_EQ(picture.At(0, 0), 0x333333u);
    EXPECT_EQ(picture.At(3, 2), 0x333333u);
    EXPECT_EQ(picture.At(1, 1), 0x333333u);
    // The other way round nothing cascades backwards.
    picture = Normal();
    RecolorToSystem(picture, keys, {0x111111, kWhite, kDark});
    EXPECT_EQ(picture.At(3, 2), kWhite);  // shadow -> white, not tested as a highlight again
    EXPECT_EQ(picture.At(1, 1), kDark);
    EXPECT_EQ(picture.At(0, 0), 0x111111u);
}

TEST(RecolorToSystem, PicturesTooSmallOrShortOfPixelsAreLeftAlone) {
    EXPECT_FALSE(TakeButtonKeys(PixelGrid{1, 1, {kWhite}}));
    EXPECT_FALSE(TakeButtonKeys(PixelGrid{4, 3, {kWhite, kWhite}}));
    PixelGrid shortGrid{4, 3, {kWhite, kWhite}};
    RecolorToSystem(shortGrid, {kGrey, kDark, kWhite}, {1, 2, 3});
    EXPECT_EQ(shortGrid.pixels, (std::vector<uint32_t>{1, 1}));
}

}  // namespace
