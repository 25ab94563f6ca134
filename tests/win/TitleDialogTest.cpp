#include <gtest/gtest.h>

#include <windows.h>

#include "WindowWatcher.h"
#include "app/TitleDialog.h"
#include "resource.h"

namespace {

// Runs the title screen and answers it with `answer` once it is shown.
INT_PTR RunTitleAnswering(std::function<void(HWND)> answer, RECT* client = nullptr) {
    WindowWatcher watcher(L"#32770", L"Ｖｅｌｍｏｒａ", [&](HWND title) {
        if (client != nullptr) {
            GetClientRect(title, client);
        }
        answer(title);
    });
    CTitleDialog dialog;
    const INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(watcher.Finish());
    return result;
}

TEST(TitleDialog, EnterStartsEscapeQuitsAndTheQuitCommandEndsWithTwo) {
    RECT client{};
    EXPECT_EQ(RunTitleAnswering([](HWND w) { PostMessageW(w, WM_COMMAND, IDOK, 0); }, &client), 1);
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    EXPECT_EQ(RunTitleAnswering([](HWND w) { PostMessageW(w, WM_COMMAND, IDCANCEL, 0); }), 0);
    EXPECT_EQ(RunTitleAnswering([](HWND w) { PostMessageW(w, WM_COMMAND, ID_TITLE_QUIT, 0); }), 2);
    EXPECT_EQ(RunTitleAnswering([](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }), 0);
}

TEST(TitleDialog, AClickStartsTheGame) {
    EXPECT_EQ(RunTitleAnswering([](HWND w) {
                  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
                  PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
              }),
              1);
}

}  // namespace
