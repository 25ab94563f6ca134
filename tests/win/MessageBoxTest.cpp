#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "Message.h"
#include "archive/Archive.h"
#include "framework/MessageBox.h"
#include "framework/Text.h"

namespace {

// Waits on another thread for a message box with `caption`, reads its text,
// and presses OK, the way a player would.
class MessageBoxWatcher {
  public:
    explicit MessageBoxWatcher(const std::wstring& caption)
        : thread_([this, caption] { Watch(caption); }) {}
    ~MessageBoxWatcher() { Finish(); }

    // The text the box showed; empty when none appeared in time.
    std::wstring Finish() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return text_;
    }

  private:
    void Watch(const std::wstring& caption) {
        const DWORD deadline = GetTickCount() + 30000;
        while (GetTickCount() < deadline) {
            HWND box = FindWindowW(L"#32770", caption.c_str());
            if (box && IsWindowVisible(box)) {
                wchar_t text[512] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 512);  // the box's message control
                text_ = text;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    }

    std::wstring text_;
    std::thread thread_;
};

TEST(MessageBoxes, MissingArchiveIsToldInABoxWithTheApplicationTitle) {
    SetMessageCaption("Ｖｅｌｍｏｒａ");
    UseMessageBoxes();
    MessageBoxWatcher watcher(L"Ｖｅｌｍｏｒａ");
    Archive archive;
    archive.Open("cg.arc");  // the tests run where no archive lies
    const std::wstring shown = watcher.Finish();
    SetMessageHandler(nullptr);
    EXPECT_FALSE(archive.loaded());
    // The box shows the text; a closing line break may be trimmed by the box.
    EXPECT_EQ(shown.substr(0, 18), L"cg.arcファイルが見当たりません");
}

}  // namespace
