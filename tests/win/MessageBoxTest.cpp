#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "Message.h"
#include "WindowWatcher.h"
#include "archive/Archive.h"
#include "framework/MessageBox.h"

namespace {

TEST(MessageBoxes, MissingArchiveIsToldInABoxWithTheApplicationTitle) {
    SetMessageCaption("Ｖｅｌｍｏｒａ");
    UseMessageBoxes();
    std::wstring shown;
    WindowWatcher watcher(L"#32770", L"Ｖｅｌｍｏｒａ", [&shown](HWND box) {
        wchar_t text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512);  // the box's message control
        shown = text;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Archive archive;
    archive.Open("cg.arc");  // the tests run where no archive lies
    ASSERT_TRUE(watcher.Finish());
    SetMessageHandler(nullptr);
    EXPECT_FALSE(archive.loaded());
    // The box shows the text; a closing line break may be trimmed by the box.
    EXPECT_EQ(shown.substr(0, 18), L"cg.arcファイルが見当たりません");
}

}  // namespace
