#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../support/BmpBuilder.h"
#include "../support/TestFiles.h"
#include "WindowWatcher.h"
#include "app/TitleDialog.h"
#include "resource.h"

namespace {

// Runs the title screen and answers it with `answer` once it is shown.
INT_PTR RunTitleAnswering(CTitleDialog& dialog, std::function<void(HWND)> answer) {
    WindowWatcher watcher(L"#32770", L"Ｖｅｌｍｏｒａ", std::move(answer));
    const INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(watcher.Finish());
    return result;
}

INT_PTR RunTitleAnswering(std::function<void(HWND)> answer, RECT* client = nullptr) {
    CTitleDialog dialog;
    return RunTitleAnswering(dialog, [&](HWND title) {
        if (client != nullptr) {
            GetClientRect(title, client);
        }
        answer(title);
    });
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

// The media layer, written down; every command succeeds.
class RecordingMedia : public MediaControl {
  public:
    MCIERROR Send(MCIDEVICEID, UINT command, DWORD_PTR, DWORD_PTR params) override {
        if (command == MCI_OPEN) {
            auto* open = reinterpret_cast<MCI_OPEN_PARMSW*>(params);
            element = open->lpstrElementName;
            open->wDeviceID = 5;
        }
        commands.push_back(command);
        return 0;
    }
    std::wstring element;
    std::vector<UINT> commands;
};

// The title screen whose timers the test drives by hand: it only writes down
// which timers the dialog would set.
class DrivenTitle : public CTitleDialog {
  public:
    explicit DrivenTitle(MediaControl& media) : CTitleDialog(media) {}
    std::vector<std::string> timers;

  protected:
    void StartTimer(UINT id, UINT periodMs) override {
        timers.push_back("start " + std::to_string(id) + "@" + std::to_string(periodMs));
    }
    void StopTimer(UINT id) override { timers.push_back("stop " + std::to_string(id)); }
};

// The eleven pictures as loose files, each one grey: title 10, dm00 30,
// dm00a 50, ... dm04a 210.
class TitleShowTest : public ::testing::Test {
  protected:
    TitleShowTest() : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir_.path());
        for (int i = 0; i < kTitlePictureCount; ++i) {
            WritePicture(kTitlePictureNames[static_cast<size_t>(i)], 640, 480, Grey(i));
        }
    }
    ~TitleShowTest() override { std::filesystem::current_path(previous_); }

    static int Grey(int picture) { return 10 + 20 * picture; }
    static int Between(int from, int to, int step) {
        return Grey(from) + ((Grey(to) - Grey(from)) * step >> 3);
    }
    void WritePicture(const std::string& name, int width, int height, int grey) {
        const size_t bytes = bmp::Stride(width, 24) * static_cast<size_t>(height);
        WriteBytes(
            dir_.File(name),
            MakeBmp(width, height, 24, std::vector<uint8_t>(bytes, static_cast<uint8_t>(grey))));
    }

    // The grey the dialog's picture holds at a window point.
    int ScreenGrey(const CTitleDialog& dialog, int x, int y) {
        const DibPicture& screen = dialog.screen();
        if (screen.empty()) {
            return -1;
        }
        const size_t row = static_cast<size_t>(479 - y);
        return screen.pixels()[row * 1920 + static_cast<size_t>(x) * 3];
    }
    // The grey the window shows there.
    static int WindowGrey(HWND window, int x, int y) {
        HDC dc = GetDC(window);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return colour == CLR_INVALID ? -1 : GetRValue(colour);
    }
    static void Timer(HWND window, UINT id, int times = 1) {
        for (int i = 0; i < times; ++i) {
            SendMessageW(window, WM_TIMER, id, 0);
        }
    }

    RecordingMedia media_;
    TempDir dir_;

  private:
    std::filesystem::path previous_;
};

TEST_F(TitleShowTest, EnterStartsTheGameAndEscapeQuitsAlsoDuringTheShow) {
    for (const auto& [command, result] : {std::pair{IDOK, 1}, std::pair{IDCANCEL, 0}}) {
        DrivenTitle dialog(media_);
        EXPECT_EQ(RunTitleAnswering(dialog,
                                    [&, command = command](HWND w) {
                                        Timer(w, kStillTimer);
                                        Timer(w, kFadeTimer, 4);
                                        PostMessageW(w, WM_COMMAND, static_cast<WPARAM>(command),
                                                     0);
                                    }),
                  result);
        EXPECT_FALSE(dialog.show().showingTitle());
    }
}

TEST_F(TitleShowTest, AClickDuringTheShowReturnsToTheTitleAndASecondOneStartsTheGame) {
    DrivenTitle dialog(media_);
    const INT_PTR result = RunTitleAnswering(dialog, [&](HWND w) {
        EXPECT_EQ(dialog.timers, std::vector<std::string>{"start 1@12000"});
        EXPECT_EQ(ScreenGrey(dialog, 5, 5), Grey(0));
        dialog.timers.clear();
        Timer(w, kStillTimer);
        EXPECT_EQ(dialog.timers, (std::vector<std::string>{"stop 1", "start 2@0"}));
        Timer(w, kFadeTimer, 4);
        EXPECT_EQ(ScreenGrey(dialog, 5, 5), Between(0, 1, 3));
        EXPECT_EQ(WindowGrey(w, 5, 5), Between(0, 1, 3));

        dialog.timers.clear();
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
        EXPECT_TRUE(IsWindow(w));
        EXPECT_TRUE(dialog.show().showingTitle());
        EXPECT_EQ(dialog.timers,
                  (std::vector<std::string>{"stop 2", "stop 3", "stop 4", "start 1@12000"}));
        EXPECT_EQ(ScreenGrey(dialog, 5, 5), Grey(0));
        EXPECT_EQ(WindowGrey(w, 600, 470), Grey(0));
        PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    });
    EXPECT_EQ(result, 1);
}

TEST_F(TitleShowTest, StripFadesRepaintOnlyTheStripAndFullFadesEverything) {
    DrivenTitle dialog(media_);
    RunTitleAnswering(dialog, [&](HWND w) {
        Timer(w, kStillTimer);
        Timer(w, kFadeTimer, 9);
        EXPECT_EQ(dialog.timers.back(), "start 4@1000");
        EXPECT_EQ(WindowGrey(w, 5, 5), Grey(1));
        // Marks drawn over the window stay where nothing is repainted.
        HDC dc = GetDC(w);
        RECT all{0, 0, 640, 480};
        HBRUSH mark = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc, &all, mark);
        ReleaseDC(w, dc);

        dialog.timers.clear();
        Timer(w, kStripTimer, 4);
        EXPECT_EQ(dialog.timers.back(), "start 4@1");
        EXPECT_EQ(WindowGrey(w, 5, 5), 255);
        EXPECT_EQ(WindowGrey(w, 5, 399), 255);
        EXPECT_EQ(WindowGrey(w, 5, 400), Between(1, 2, 3));
        EXPECT_EQ(WindowGrey(w, 639, 479), Between(1, 2, 3));
        EXPECT_EQ(ScreenGrey(dialog, 5, 399), Grey(1));
        Timer(w, kStripTimer, 5);
        EXPECT_EQ(dialog.timers.back(), "start 3@4000");
        Timer(w, kPauseTimer);
        Timer(w, kFadeTimer);
        EXPECT_EQ(WindowGrey(w, 5, 5), Grey(2));
        DeleteObject(mark);
        PostMessageW(w, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(TitleShowTest, AMissingOrMisshapenPictureLeavesItsStepsUnchanged) {
    std::filesystem::remove(dir_.File("dm00.bmp"));
    WritePicture("dm01.bmp", 320, 240, 99);
    DrivenTitle dialog(media_);
    RunTitleAnswering(dialog, [&](HWND w) {
        Timer(w, kStillTimer);
        Timer(w, kFadeTimer, 9);  // title -> missing dm00
        EXPECT_EQ(ScreenGrey(dialog, 5, 5), Grey(0));
        Timer(w, kStripTimer, 9);  // missing dm00 -> dm00a
        EXPECT_EQ(ScreenGrey(dialog, 5, 470), Grey(0));
        Timer(w, kPauseTimer);
        Timer(w, kFadeTimer, 5);  // dm00a -> the small dm01
        EXPECT_EQ(ScreenGrey(dialog, 5, 5), Grey(0));
        EXPECT_EQ(dialog.timers.back(), "start 2@0");  // the show goes on with its timing
        SendMessageW(w, WM_LBUTTONUP, 0, 0);
        EXPECT_TRUE(dialog.show().showingTitle());
        PostMessageW(w, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(TitleShowTest, WithoutAnyPictureTheShowStillRunsAndAClickStillReturns) {
    for (const char* name : kTitlePictureNames) {
        std::filesystem::remove(dir_.File(name));
    }
    DrivenTitle dialog(media_);
    RunTitleAnswering(dialog, [&](HWND w) {
        EXPECT_TRUE(dialog.screen().empty());
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(WindowGrey(w, 5, 5), 0);  // black, not what lay below
        Timer(w, kStillTimer);
        Timer(w, kFadeTimer, 9);
        SendMessageW(w, WM_LBUTTONUP, 0, 0);
        EXPECT_TRUE(dialog.show().showingTitle());
        PostMessageW(w, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(TitleShowTest, TheMusicLoopsAfterEachNormalEnd) {
    {
        DrivenTitle dialog(media_);
        RunTitleAnswering(dialog, [&](HWND w) {
            EXPECT_EQ(media_.element, L"wave\\title.wav");
            EXPECT_EQ(media_.commands, (std::vector<UINT>{MCI_OPEN, MCI_SET, MCI_SEEK, MCI_PLAY}));
            media_.commands.clear();
            SendMessageW(w, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 5);
            EXPECT_EQ(media_.commands, (std::vector<UINT>{MCI_SEEK, MCI_PLAY}));
            media_.commands.clear();
            SendMessageW(w, MM_MCINOTIFY, MCI_NOTIFY_ABORTED, 5);
            SendMessageW(w, MM_MCINOTIFY, MCI_NOTIFY_FAILURE, 5);
            EXPECT_TRUE(media_.commands.empty());
            PostMessageW(w, WM_COMMAND, IDOK, 0);
        });
        media_.commands.clear();
    }
    EXPECT_EQ(media_.commands, (std::vector<UINT>{MCI_STOP, MCI_CLOSE}));
}

TEST_F(TitleShowTest, TheWindowCannotGrowBeyondItsPicture) {
    DrivenTitle dialog(media_);
    RunTitleAnswering(dialog, [&](HWND w) {
        RECT window;
        GetWindowRect(w, &window);
        const int width = window.right - window.left;
        const int height = window.bottom - window.top;
        MINMAXINFO info{};
        SendMessageW(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMaxTrackSize.x, width);
        EXPECT_EQ(info.ptMaxTrackSize.y, height);
        EXPECT_EQ(info.ptMaxSize.x, width);
        EXPECT_EQ(info.ptMaxPosition.x, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
        EXPECT_EQ(info.ptMaxPosition.y, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
        PostMessageW(w, WM_COMMAND, IDOK, 0);
    });
}

}  // namespace
