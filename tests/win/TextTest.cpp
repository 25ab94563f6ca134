#include <gtest/gtest.h>

#include "framework/Text.h"

namespace {

// The sources are UTF-8 and compile to code page 932; Windows sees UTF-16.
TEST(Text, CodePage932LiteralsReachWindowsIntact) {
    EXPECT_EQ(Widen("ファイルが見当たりません"), L"ファイルが見当たりません");
    EXPECT_EQ(Widen("Ｖｅｌｍｏｒａ"), L"Ｖｅｌｍｏｒａ");
    // "ソ" and "表" end in 0x5C, the backslash byte.
    EXPECT_EQ(std::string("ソ表"), "\x83\x5c\x95\x5c");
    EXPECT_EQ(Widen("ソ表\\"), L"ソ表\\");
    EXPECT_EQ(Widen(""), L"");
}

TEST(Text, NarrowIsTheInverseOfWiden) {
    for (const char* text : {"", "abc", "画面サイズ 800X600", "半角ｶﾀｶﾅ", "\r\n"}) {
        EXPECT_EQ(Narrow(Widen(text)), text);
    }
}

}  // namespace
