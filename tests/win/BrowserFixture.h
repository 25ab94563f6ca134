#pragma once

// The browser window opened on a small world of its own, without the title
// screen, for the tests of the browser and its bars.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../support/MessageRecorder.h"
#include "../support/TestFiles.h"
#include "app/BrApp.h"
#include "archive/ArchiveWriter.h"
#include "browser/BrView.h"
#include "browser/SaveStore.h"
#include "frame/MainFrame.h"

// The application without its title screen.
class NoTitleApp : public CBrApp {
  protected:
    INT_PTR ShowTitleScreen() override { return 1; }
};

inline void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

inline std::wstring SaveFilePath() {
    wchar_t directory[MAX_PATH];
    GetWindowsDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\velmora.dat";
}

// The player's own folder for the save, and what a test may have left there
// or in the Windows directory to keep saves out.
inline std::filesystem::path UserSaveFolder() {
    return std::filesystem::path(SaveStore::UserFolder());
}

inline void ForgetEverything() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Korvex");
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(SaveFilePath()), error);
    std::filesystem::remove_all(UserSaveFolder(), error);
    const std::filesystem::path windows = std::filesystem::path(SaveFilePath()).parent_path();
    std::filesystem::remove_all(windows / "velmora.tmp", error);
}

// A world of three pages in a folder of its own, and the browser open on it.
class Browser : public ::testing::Test {
  protected:
    Browser() : previous_(std::filesystem::current_path()) {
        ForgetEverything();
        std::filesystem::current_path(dir_.path());
        WriteTextArchive({});
        for (const char* name : {"cg.arc", "ex.arc", "parts.arc"}) {
            WriteBytes(dir_.File(name), *BuildArchive({}));
        }
    }
    ~Browser() override {
        Close();
        std::filesystem::current_path(previous_);
        ForgetEverything();
    }

    // The three pages, and `more` entries.
    void WriteTextArchive(std::vector<ArchiveInput> more) {
        std::vector<ArchiveInput> entries = {
            {"otop.htm", Bytes("<title>Top</title><body>"
                               "<a href=\"a.htm\">aaaa</a><br><a href=\"b.htm\">bbbb</a><br>")},
            {"a.htm", Bytes("<title>Page A</title><body><a href=\"otop.htm\">home</a>")},
            {"b.htm", Bytes("<title>Page B</title><body>b")},
            {"osyo.htm", Bytes("<title>Station</title><body bgcolor=\"#000000\">x")},
        };
        entries.insert(entries.end(), more.begin(), more.end());
        WriteBytes(dir_.File("Text.arc"), *BuildArchive(entries));
    }

    void Open() {
        app_ = std::make_unique<NoTitleApp>();
        ASSERT_TRUE(app_->InitInstance());
        PumpMessages();
    }
    void Close() {
        if (app_) {
            app_->ExitInstance();
            app_.reset();
        }
    }
    CMainFrame& frame() { return *static_cast<CMainFrame*>(app_->mainWindow()); }
    CBrView& view() { return frame().view(); }
    std::string CurrentName() { return view().currentPage() ? view().currentPage()->name() : ""; }
    std::string CurrentTitle() { return view().currentPage() ? view().currentPage()->title() : ""; }

    // A mouse message at the middle of the link to `target`.
    void Mouse(UINT message, const std::string& target) {
        for (const auto& link : view().currentPage()->links()) {
            if (link->target == target) {
                const Point scroll = view().GetScrollPosition();
                const int x = link->x + link->width / 2 - scroll.x;
                const int y = link->y + link->height / 2 - scroll.y;
                SendMessageW(view().GetSafeHwnd(), message, 0, MAKELPARAM(x, y));
                return;
            }
        }
        ADD_FAILURE() << "no link to " << target;
    }
    void Click(const std::string& target) {
        Mouse(WM_MOUSEMOVE, target);
        Mouse(WM_LBUTTONDOWN, target);
        Mouse(WM_LBUTTONUP, target);
    }

    TempDir dir_;
    MessageRecorder messages_;
    std::unique_ptr<NoTitleApp> app_;

  private:
    std::filesystem::path previous_;
};
