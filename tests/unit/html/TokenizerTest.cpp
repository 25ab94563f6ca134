#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "html/TokenList.h"

namespace {

using Texts = std::vector<std::string>;

struct Tokenized {
    Texts tokens;
    bool whole = false;
};

// Tokenizes an exact-size copy, so that any read past the page's end is caught.
Tokenized Tokenize(const std::string& page) {
    std::vector<uint8_t> exact(page.begin(), page.end());
    StringList list;
    Tokenized result;
    result.whole = TokenizePage(exact.data(), exact.size(), list);
    result.tokens = list.Texts();
    return result;
}

struct Case {
    const char* what;
    std::string page;
    Texts tokens;
    bool whole = true;
};

TEST(Tokenizer, PagesBecomeTagsAndTextRuns) {
    const std::vector<Case> cases = {
        {"empty entry", "", {}},
        {"whitespace only", " \t\r\n ", {}},
        {"tags in capitals", "<B>Hello</B>", {"<b>", "Hello", "</b>"}},
        {"spaces before a tag", "  <P>", {"<p>"}},
        {"line break inside text joins words", "one\r\ntwo", {"onetwo"}},
        {"Japanese text across lines",
         "\x82\xa0\x82\xa2\r\n\x82\xa4<br>",
         {"\x82\xa0\x82\xa2\x82\xa4", "<br>"}},
        {"text keeps spaces and case, loses TABs",
         "<p>Hello  World\t! <br>",
         {"<p>", "Hello  World! ", "<br>"}},
        {"attribute values fold too",
         "<A HREF=\"Page.htm\">Next</A>",
         {"<a href=\"page.htm\">", "Next", "</a>"}},
        // "ア" is 83 41 and "Ａ" 82 60: trail bytes stay even when they are capitals.
        {"double-byte character inside a tag",
         "<IMG ALT=\"\x83\x41\x82\x60\" SRC=X.BMP>",
         {"<img alt=\"\x83\x41\x82\x60\" src=x.bmp>"}},
        {"line breaks in a tag become spaces, TAB stays",
         "<FONT\r\nSIZE=3\tCOLOR=Red>",
         {"<font  size=3\tcolor=red>"}},
        {"text after the last tag runs to the end", "<p>the end", {"<p>", "the end"}},
        {"trailing whitespace after text is kept", "<p>end \r\n", {"<p>", "end "}},
        {"a comment ends at its first >", "<!-- a > b -->x", {"<!-- a >", "b -->x"}},
        {"no entity decoding", "a&amp;b", {"a&amp;b"}},
        {"smallest tag", "<>x", {"<>", "x"}},
        // The search for ">" is byte-wise: a lead byte does not hide it.
        {"> after a lead byte closes the tag", "<A\x82>B>", {"<a\x82>", "B>"}},
        {"unclosed < at the end", "<b>x<", {"<b>", "x"}, false},
        {"unclosed tag at the end", "<b>x<font size=3", {"<b>", "x"}, false},
        {"text ends at a zero byte", std::string("ab\0cd<b>", 8), {"ab", "<b>"}},
    };
    for (const Case& c : cases) {
        const Tokenized result = Tokenize(c.page);
        EXPECT_EQ(result.tokens, c.tokens) << c.what;
        EXPECT_EQ(result.whole, c.whole) << c.what;
    }
}

TEST(Tokenizer, TagsMayHoldUpTo256Bytes) {
    const std::string longest = "<" + std::string(254, 'X') + ">";
    ASSERT_EQ(longest.size(), 256u);
    Tokenized accepted = Tokenize("<P>" + longest + "After");
    EXPECT_TRUE(accepted.whole);
    EXPECT_EQ(accepted.tokens, (Texts{"<p>", "<" + std::string(254, 'x') + ">", "After"}));

    // One byte more and the ">" lies outside the window: the page ends before the tag.
    const std::string tooLong = "<" + std::string(255, 'X') + ">";
    Tokenized stopped = Tokenize("<P>Before" + tooLong + "After<br>");
    EXPECT_FALSE(stopped.whole);
    EXPECT_EQ(stopped.tokens, (Texts{"<p>", "Before"}));
}

TEST(Tokenizer, TagWindowStopsAtTheEndOfTheEntry) {
    // A "<" with fewer than 255 bytes after it and no ">": nothing beyond the
    // page may be looked at.
    for (size_t tail : {0u, 1u, 100u, 254u, 255u, 300u}) {
        Tokenized result = Tokenize("x<" + std::string(tail, 'a'));
        EXPECT_FALSE(result.whole) << tail;
        EXPECT_EQ(result.tokens, (Texts{"x"})) << tail;
    }
}

TEST(Tokenizer, LinkTargetsAreTheHrefsOfAnchorTagsOnly) {
    // Other tags with "href=" (base, link, an image) and named anchors lead nowhere.
    const std::string source =
        "<BASE HREF=\"base.htm\"><LINK HREF=\"style.css\"><A NAME=\"top\">top</A>"
        "<A HREF=\"Next.htm\">next</A>text href=\"no.htm\"<img src=\"a.bmp\" href=\"i.htm\">"
        "<a title=\"t\" href=\"tou0000.htm\">x</a><a href=\"\x82\xa0.htm\">y</a>";
    const std::vector<uint8_t> bytes(source.begin(), source.end());
    TokenList page;
    ASSERT_TRUE(TokenizePage(bytes.data(), bytes.size(), page));
    EXPECT_EQ(page.LinkTargets(), (Texts{"next.htm", "tou0000.htm", "\x82\xa0.htm"}));
}

class LoadPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(path, *BuildArchive({{"otop.htm", Bytes("<HTML>\r\nWelcome\r\n</HTML>\r\n")},
                                        {"broken.htm", Bytes("<b>ok<" + std::string(300, 'x'))},
                                        {"empty.htm", {}}}));
        archive.Open(path);
        ASSERT_TRUE(archive.loaded());
    }

    TempDir dir;
    std::string path = dir.File("Text.arc");
    Archive archive;
};

TEST_F(LoadPageTest, AppendsThePagesTokens) {
    TokenList page;
    EXPECT_TRUE(page.LoadPage(archive, "OTOP.HTM"));
    EXPECT_EQ(page.Texts(), (Texts{"<html>", "Welcome", "</html>"}));
    // Loading appends; navigation clears first.
    EXPECT_TRUE(page.LoadPage(archive, "empty.htm"));
    EXPECT_TRUE(page.LoadPage(archive, "otop.htm"));
    EXPECT_EQ(page.count(), 6);
    page.Clear();
    EXPECT_FALSE(page.LoadPage(archive, "broken.htm"));
    EXPECT_EQ(page.Texts(), (Texts{"<b>", "ok"}));
}

TEST_F(LoadPageTest, MissingPageLeavesTheListAsItWas) {
    TokenList page;
    EXPECT_FALSE(page.LoadPage(archive, "nothere.htm"));
    EXPECT_EQ(page.count(), 0);
    page.AppendText("<p>");
    EXPECT_FALSE(page.LoadPage(archive, "nothere.htm"));
    EXPECT_EQ(page.Texts(), (Texts{"<p>"}));
}

}  // namespace
