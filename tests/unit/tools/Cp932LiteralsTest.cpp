#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "../../../tools/velcp932/LiteralRewrite.h"

// The sources under test are UTF-8 whatever this file is compiled to: u8
// literals never take the execution character set.

namespace {

std::string Utf8(std::u8string_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

std::string Rewrite(std::u8string_view source) {
    const velcp932::RewriteResult result = velcp932::RewriteLiterals(Utf8(source));
    EXPECT_TRUE(result.ok) << result.error;
    // Diagnostics and stack traces point at the original's lines.
    EXPECT_EQ(std::count(result.text.begin(), result.text.end(), '\n'),
              std::count(source.begin(), source.end(), u8'\n'));
    return result.text;
}

TEST(Cp932Literals, StringLiteralsBecomeCodePage932Escapes) {
    EXPECT_EQ(Rewrite(u8R"(auto s = "□ＥＮＤ";)"),
              R"(auto s = "\x81\xa0\x82\x64\x82\x6d\x82\x63";)");
    // A hex digit after the escapes would join the last one: the literal is
    // closed and a new one, which the compiler joins, opens before it.
    EXPECT_EQ(Rewrite(u8R"(f("□abc", "□0", "□xyz");)"),
              R"(f("\x81\xa0" "abc", "\x81\xa0" "0", "\x81\xa0xyz");)");
    EXPECT_EQ(Rewrite(u8R"(f("a\"□\"b", "\\□");)"), R"(f("a\"\x81\xa0\"b", "\\\x81\xa0");)");
    EXPECT_EQ(Rewrite(u8R"(f("\x41□\n");)"), R"(f("\x41\x81\xa0\n");)");
    // Character literals cannot be split, so they take octal escapes.
    EXPECT_EQ(Rewrite(u8R"(c = '□'; d = '\'';)"), R"(c = '\201\240'; d = '\'';)");
}

TEST(Cp932Literals, EverythingElseStaysAsItIs) {
    const std::u8string untouched[] = {
        u8"// \"□\" in a line comment, and don't\nint a = 1;\n",
        u8"/* '□' and \"□\"\n   over lines */ int b;\n",
        u8"auto w = L\"□\"; auto u = u8\"□\"; auto c = U'□'; auto r = u8R\"x(□)x\";\n",
        u8"int n = 1'000'000 + 0x1'f; const char* s = \"plain\\n\";\n",
        u8"#include \"game/PasswordTable.h\"\n#error this isn't a literal\n",
        u8"int 変数 = 0;\n",
    };
    for (const std::u8string& source : untouched) {
        EXPECT_EQ(Rewrite(source), Utf8(source));
    }
    // Neither digit separators nor a stray apostrophe hide a literal after them.
    EXPECT_EQ(Rewrite(u8"int n = 1'000; auto s = \"□\";"),
              "int n = 1'000; auto s = \"\\x81\\xa0\";");
    EXPECT_EQ(Rewrite(u8"#error don't\nauto s = \"□\";"), "#error don't\nauto s = \"\\x81\\xa0\";");
}

TEST(Cp932Literals, RawStringsBecomeOrdinaryLiteralsLineByLine) {
    EXPECT_EQ(Rewrite(u8"auto s = R\"x(□\"\\\n1)x\";"),
              "auto s = \"\\x81\\xa0\\\"\\\\\\n\"\n\"1\";");
    EXPECT_EQ(Rewrite(u8"auto s = R\"(ascii\nonly)\";"), "auto s = R\"(ascii\nonly)\";");
}

TEST(Cp932Literals, TextWithoutCodePage932FormIsRefusedWithItsLine) {
    const velcp932::RewriteResult emoji =
        velcp932::RewriteLiterals(Utf8(u8"int a;\nauto s = \"😀\";"));
    EXPECT_FALSE(emoji.ok);
    EXPECT_EQ(emoji.error.rfind("line 2:", 0), 0u) << emoji.error;
    EXPECT_FALSE(velcp932::RewriteLiterals("auto s = \"\xff\xfe\";").ok);
}

}  // namespace
