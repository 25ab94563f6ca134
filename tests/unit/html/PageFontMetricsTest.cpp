#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "html/PageFontMetrics.h"

// Every expected number here is what Wine 8 with IPA Gothic gave the GDI
// canvas's calls (GetTextMetricsW, GetTextExtentPoint32W, DrawTextW with and
// without DT_CALCRECT, the lines read back from a metafile), in a Japanese
// locale.

namespace {

FontSpec Font(int height, bool bold = false) {
    return FontSpec{height, bold, false};
}

TEST(PageFontMetrics, CellAscentAndEmSizeAsTheSystemScalesTheFace) {
    const struct {
        int height;
        int cell;
        int ascent;
        int em;
    } cases[] = {
        {1, 1, 1, 1},
        {4, 5, 4, 4},  // the smallest page font
        {7, 6, 5, 6},  // the em is the largest whose rounded cell fits
        {13, 13, 11, 12},
        {16, 16, 13, 15},
        {20, 21, 17, 19},  // the cell less its internal leading would say 20
        {45, 45, 37, 42},  // the largest page font
        {291, 291, 238, 270},
        {292, 291, 238, 271},
        {1101, 1100, 900, 1023},
        {0, 16, 13, 15},  // zero asks for the default, 16
        {-1, 1, 1, 1},
        {-120, 129, 106, 120},  // negative heights are the em
        {-32767, 35247, 28831, 32767},
        {65536, 65536, 53607, 60925},
        {1000000, 1, 1, 1},  // beyond what the system scales: one pixel
        {INT_MIN, 1, 1, 1},
    };
    for (const auto& c : cases) {
        for (const bool bold : {false, true}) {
            SCOPED_TRACE(testing::Message() << "height " << c.height << (bold ? " bold" : ""));
            EXPECT_EQ(PageFontHeight(Font(c.height, bold)), c.cell);
            EXPECT_EQ(PageFontAscent(Font(c.height, bold)), c.ascent);
        }
        EXPECT_EQ(PageFontEmPixels(Font(c.height)), c.em) << "height " << c.height;
    }
}

TEST(PageFontMetrics, WideCharactersAreTwoNarrowOnesAndBoldAddsAPixel) {
    const struct {
        FontSpec font;
        int narrow;
        int wide;
    } cases[] = {
        {Font(1), 2, 2},  // hinting widens the narrow advance of a one-pixel font
        {Font(1, true), 3, 3},
        {Font(2), 1, 2},
        {Font(13), 6, 12},
        {Font(13, true), 7, 13},
        {Font(16), 8, 16},
        {Font(20), 10, 20},  // the em is 19: wide is twice narrow, not the em
        {Font(45, true), 22, 43},
        {Font(291), 135, 270},
        {Font(292), 136, 272},
        {Font(-120), 60, 120},
        {Font(-32767), 16384, 32768},
        {Font(65536), 30463, 60926},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "height " << c.font.height << " bold " << c.font.bold);
        const int cell = PageFontHeight(c.font);
        const Size narrow = PageCharacterSize(c.font, false);
        const Size wide = PageCharacterSize(c.font, true);
        EXPECT_EQ(narrow.width, c.narrow);
        EXPECT_EQ(wide.width, c.wide);
        EXPECT_EQ(narrow.height, cell);
        EXPECT_EQ(wide.height, cell);
    }
}

TEST(PageFontMetrics, TextIsTheSumOfItsCharactersAndOddBytesAreWide) {
    const std::string mixed = "Aｱあ漢１ b";
    EXPECT_EQ(MeasurePageText(Font(-120), mixed).width, 600);
    EXPECT_EQ(MeasurePageText(Font(-120, true), mixed).width, 607);
    EXPECT_EQ(MeasurePageText(Font(-120), mixed).height, 129);
    EXPECT_EQ(MeasurePageText(Font(16), "").width, 0);
    EXPECT_EQ(MeasurePageText(Font(16), "").height, 16);  // an empty text is a line high
    // Control characters and the bytes the code page leaves empty draw the
    // face's wide missing-glyph box.
    for (const std::string odd : {"\t", "\x7f", "\x80", "\xa0", "\xfd"}) {
        EXPECT_EQ(MeasurePageText(Font(16), odd).width, 16) << int{odd[0]};
    }
    // A lead byte takes whatever byte follows as its pair (an unknown pair is
    // one middle dot), but not a NUL; alone at the end it is a middle dot.
    EXPECT_EQ(MeasurePageText(Font(16), "\x81 ").width, 16);
    EXPECT_EQ(MeasurePageText(Font(16), std::string("\x81\0", 2)).width, 32);
    EXPECT_EQ(MeasurePageText(Font(16), "a\x82").width, 24);
}

struct Wrapped {
    std::vector<std::string> texts;
    std::vector<int> ys;
    Size size;
};

Wrapped Wrap(const FontSpec& font, int width, const std::string& text) {
    Wrapped w;
    for (const WrappedLine& line : WrapPageText(font, width, text)) {
        w.texts.push_back(line.text);
        w.ys.push_back(line.y);
    }
    w.size = MeasureWrappedPageText(font, width, text);
    return w;
}

using Lines = std::vector<std::string>;

TEST(PageFontMetrics, WordsBreakAfterSpacesAndAWordTooLongStaysWhole) {
    Wrapped w = Wrap(Font(16), 40, "ab cd ef");
    EXPECT_EQ(w.texts, (Lines{"ab ", "cd ef"}));  // a space that fits stays on its line
    EXPECT_EQ(w.ys, (std::vector<int>{0, 16}));
    EXPECT_EQ(w.size.width, 40);
    EXPECT_EQ(w.size.height, 32);

    w = Wrap(Font(16), 30, "abcdefgh ij");
    EXPECT_EQ(w.texts, (Lines{"abcdefgh", "ij"}));
    EXPECT_EQ(w.size.width, 64);  // wider than the area

    w = Wrap(Font(16), 40, "  ab   cd  ");
    EXPECT_EQ(w.texts, (Lines{"  ", "ab   ", "cd  "}));
    EXPECT_EQ(w.size.width, 40);
    EXPECT_EQ(w.size.height, 48);

    w = Wrap(Font(13, true), 50, "ab cd ef gh");
    EXPECT_EQ(w.texts, (Lines{"ab cd ", "ef gh"}));
    EXPECT_EQ(w.size.width, 42);
    EXPECT_EQ(w.size.height, 26);

    w = Wrap(Font(16), 60, "12,345.67 abc");
    EXPECT_EQ(w.texts, (Lines{"12,345.67", "abc"}));  // a number holds together
    EXPECT_EQ(w.size.width, 72);

    // No room at all: a word to a line. A negative width fits everything.
    EXPECT_EQ(Wrap(Font(16), 0, "ab cd").texts, (Lines{"ab", "cd"}));
    EXPECT_EQ(Wrap(Font(16), 0, "あい").texts, (Lines{"あい"}));
    EXPECT_EQ(Wrap(Font(16), -1, "ab cd ef gh").texts, (Lines{"ab cd ef gh"}));

    // The system draws and measures at most 1024 characters of a line.
    EXPECT_EQ(MeasureWrappedPageText(Font(16), 1000000, std::string(1100, 'a') + " bc").width,
              8192);
}

TEST(PageFontMetrics, JapaneseBreaksBetweenCharactersButNotBeforeClosingMarks) {
    Wrapped w = Wrap(Font(16), 50, "あいうえおかきくけこ");
    EXPECT_EQ(w.texts, (Lines{"あいう", "えおか", "きくけ", "こ"}));
    EXPECT_EQ(w.size.width, 48);
    EXPECT_EQ(w.size.height, 64);

    // "。" may not start a line: the character before it goes down with it.
    EXPECT_EQ(Wrap(Font(16), 48, "あいう。えお").texts, (Lines{"あい", "う。え", "お"}));
    // Nor may "ー" or a closing bracket; an opening one may not end a line.
    EXPECT_EQ(Wrap(Font(16), 56, "コーヒーを飲む").texts, (Lines{"コー", "ヒーを", "飲む"}));
    EXPECT_EQ(Wrap(Font(16), 64, "(abc) 「あい」う").texts, (Lines{"(abc) ", "「あい」", "う"}));
    w = Wrap(Font(16), 60, "Brivane ブラウザ");
    EXPECT_EQ(w.texts, (Lines{"Brivane", "ブラウ", "ザ"}));
    EXPECT_EQ(w.size.width, 56);
}

TEST(PageFontMetrics, PunctuationNumbersAndControlCharactersBreakByTheSystemsClasses) {
    const struct {
        const char* text;
        int width;
        Lines lines;
    } cases[] = {
        {"ab (cd", 32, {"ab ", "(cd"}},  // an opening bracket starts a line
        {"ab( cd", 32, {"ab( cd"}},      // and never ends one, spaces or not
        {"a \"(b", 24, {"a ", "\"(b"}},
        {"x 1,000 y", 32, {"x ", "1,000", "y"}},  // a number holds together
        {"$100 50%", 24, {"$100", "50%"}},
        {"ab-cd", 24, {"ab-", "cd"}},  // hyphens and bars break after
        {"ab|cd", 24, {"ab|", "cd"}},
        {"ab´cd", 24, {"ab", "´cd"}},            // the acute accent breaks before
        {"あ\x01い", 16, {"あ", "\x01", "い"}},  // a control character goes with the one before
        {"ｱｲｧ", 16, {"ｱ", "ｲｧ"}},                // a small kana starts no line
        {"あ。。い", 32, {"あ。。い"}},
        {"」 ゃい", 24, {"」 ゃい"}},  // nor after a closing bracket and spaces
        {"」  ゃい", 32, {"」  ゃい"}},
        {"ab ゃい", 24, {"ab ", "ゃ", "い"}},  // but after a space alone it may
        {"a\001b", 8, {"a\001b"}},             // a control character holds on to a letter
        {"\001ab", 16, {"\001ab"}},            // and first on a line is one
        {"\x0b!a", 16, {"\x0b", "!a"}},        // a vertical tab breaks after it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Wrap(Font(16), c.width, c.text).texts, c.lines) << c.text;
    }
}

TEST(PageFontMetrics, NewlinesEndLinesAndAmpersandsMarkACharacter) {
    Wrapped w = Wrap(Font(16), 1000, "ab\r\ncd\nef\n\ngh\n\rij\r\n");
    EXPECT_EQ(w.texts, (Lines{"ab", "cd", "ef", "", "gh", "ij"}));
    EXPECT_EQ(w.ys, (std::vector<int>{0, 16, 32, 48, 64, 80}));
    EXPECT_EQ(w.size.width, 16);
    EXPECT_EQ(w.size.height, 96);

    // A tab is only a character, the wide missing-glyph box.
    w = Wrap(Font(16), 1000, "a\tb");
    EXPECT_EQ(w.texts, (Lines{"a\tb"}));
    EXPECT_EQ(w.size.width, 32);

    w = Wrap(Font(16), 100, "");
    EXPECT_EQ(w.texts, (Lines{""}));
    EXPECT_EQ(w.size.width, 0);
    EXPECT_EQ(w.size.height, 16);

    const std::vector<WrappedLine> marked = WrapPageText(Font(16), 100, "a&bc&&d");
    ASSERT_EQ(marked.size(), 1u);
    EXPECT_EQ(marked[0].text, "abc&d");
    EXPECT_EQ(marked[0].width, 40);
    EXPECT_EQ(marked[0].begin, 0u);
    EXPECT_EQ(marked[0].length, 7u);
    EXPECT_EQ(marked[0].underlineLeft, 8);  // under "b", at 14 = ascent + 1
    EXPECT_EQ(marked[0].underlineRight, 15);
    EXPECT_EQ(Wrap(Font(16), 100, "x&").texts, (Lines{"x&"}));  // a last "&" is drawn

    // 0x1E marks as "&" does; 0x1F hides itself and the character after it.
    const std::vector<WrappedLine> alpha = WrapPageText(Font(16), 100, "a\x1exb");
    ASSERT_EQ(alpha.size(), 1u);
    EXPECT_EQ(alpha[0].text, "axb");
    EXPECT_EQ(alpha[0].underlineLeft, 8);
    EXPECT_EQ(alpha[0].underlineRight, 15);
    EXPECT_EQ(Wrap(Font(16), 100, "a\x1fxb").texts, (Lines{"ab"}));
    w = Wrap(Font(16), 100, "a\x1fあい");
    EXPECT_EQ(w.texts, (Lines{"aい"}));
    EXPECT_EQ(w.size.width, 24);
}

}  // namespace
