#include <gtest/gtest.h>

#include <string>

#include "html/Attributes.h"
#include "html/TagTable.h"

namespace {

TEST(TagTable, FirstPrefixInTableOrderWins) {
    const struct {
        const char* token;
        Tag tag;
    } cases[] = {
        {"<pre>", Tag::Paragraph},  // "<p" comes before "<pre"
        {"</pre>", Tag::PreEnd},    // "</pre" comes before "</p"
        {"<hr>", Tag::Heading},
        {"<h3>", Tag::Heading},
        {"</h3>", Tag::HeadingEnd},
        {"<b>", Tag::Bold},
        {"<br>", Tag::Break},
        {"<body bgcolor=\"#ffffff\">", Tag::Body},
        {"<basefont size=\"3\">", Tag::BaseFont},
        {"<basefont  size=\"3\">", Tag::None},  // two spaces: no prefix fits
        {"<table border=\"1\">", Tag::Table},   // never the border entry
        {"<tr>", Tag::Row},
        {"<!-- note -->", Tag::Comment},
        {"<a href=\"x.htm\">", Tag::Anchor},
        {"<img src=\"a.bmp\">", Tag::Image},
        {"<ul>", Tag::None},
        {"<html lang=\"ja\">", Tag::Html},
        {"<input type=\"text\">", Tag::Input},
        {"<strong>", Tag::Strong},
        {"<i>", Tag::Italic},
        {"<title>", Tag::Title},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindTag(c.token), c.tag) << c.token;
    }
    EXPECT_EQ(kTagPrefixes.size(), 59u);
}

TEST(Attributes, ValuesAreQuotedAndFoundInsideOtherWords) {
    const struct {
        const char* token;
        const char* name;
        const char* value;
    } cases[] = {
        {"<img src=\"a.bmp\" width=\"10\">", "width", "10"},
        {"<img width=10 height=\"20\">", "width", "20"},  // unquoted: the next quoted value
        {"<img width=10>", "width", ""},                  // no quote after the name at all
        {"<font color=\"#ff0000>", "color", "#ff0000>"},  // unclosed: to the end
        {"<basefont size=\"5\">", "size", "5"},
        {"<body vlink=\"#00ff00\">", "link", "#00ff00"},  // "link" inside "vlink"
        {"<p>", "align", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AttributeValue(c.token, c.name), c.value) << c.token;
    }
    EXPECT_TRUE(HasAttribute("<body vlink=\"#00ff00\">", "link"));
}

TEST(Attributes, NumbersTakeTheLeadingDigits) {
    EXPECT_EQ(AttributeNumber("12"), 12);
    EXPECT_EQ(AttributeNumber("+12px"), 12);
    EXPECT_EQ(AttributeNumber("-3"), -3);
    EXPECT_EQ(AttributeNumber("50%"), 50);
    EXPECT_EQ(AttributeNumber("abc"), 0);
    EXPECT_EQ(AttributeNumber(""), 0);
    EXPECT_EQ(AttributeNumber("99999999999999999999"), 2147483647);
}

TEST(Attributes, ColoursAreHashAndSixDigitsRedFirst) {
    Colour c = 0x123456;
    EXPECT_TRUE(ParseColour("#FF0000", c));
    EXPECT_EQ(c, 0x0000FFu);  // red in the low byte
    EXPECT_TRUE(ParseColour("#00ff00", c));
    EXPECT_EQ(c, 0x00FF00u);
    EXPECT_TRUE(ParseColour("#0000Ff", c));
    EXPECT_EQ(c, 0xFF0000u);
    c = 0x123456;
    EXPECT_FALSE(ParseColour("ff0000", c));  // no "#": the colour stays
    EXPECT_FALSE(ParseColour("red", c));
    EXPECT_EQ(c, 0x123456u);
    // A character that is no digit counts as 16, modulo 256 per component.
    EXPECT_TRUE(ParseColour("#zz0000", c));
    EXPECT_EQ(c, (16u * 16 + 16) % 256);
    EXPECT_TRUE(ParseColour("#1", c));  // short values never read past their end
    EXPECT_EQ(c & 0xFF, (1u * 16 + 16) % 256);
}

}  // namespace
