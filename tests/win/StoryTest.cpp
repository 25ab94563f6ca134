#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../support/BmpBuilder.h"
#include "../support/MessageRecorder.h"
#include "../support/TestFiles.h"
#include "WindowWatcher.h"
#include "app/BrApp.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "browser/BrView.h"
#include "frame/MainFrame.h"
#include "game/StoryRules.h"
#include "resource.h"
#include "story/MessageWnd.h"
#include "story/PasswordDlg.h"
#include "story/PictureWnd.h"
#include "story/SceneHost.h"

namespace {

// Dispatches messages until `done`, for at most 20 s; false on timeout.
bool PumpUntil(const std::function<bool()>& done) {
    const DWORD deadline = GetTickCount() + 20000;
    while (!done()) {
        if (GetTickCount() > deadline) {
            return false;
        }
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

RECT WindowRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

RECT ClientRect(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return rc;
}

// The browser stands in: pictures by name, pages opened, names asked for.
class FakeSceneHost : public SceneHost {
  public:
    std::string PictureName(const std::string& name) override { return name; }
    bool LoadPicture(std::string_view name, DibPicture& picture) override {
        requested.emplace_back(name);
        picture.Unload();
        const auto found = pictures.find(std::string(name));
        if (found == pictures.end()) {
            return false;
        }
        picture.LoadFromBytes(found->second.data(), found->second.size());
        return true;
    }
    void OpenPage(const std::string& fileName) override { opened.push_back(fileName); }

    std::map<std::string, std::vector<uint8_t>> pictures;
    std::vector<std::string> requested;
    std::vector<std::string> opened;
};

// A message window whose picture window cannot be made.
class NoPictureWindow : public CMessageWnd {
  public:
    using CMessageWnd::CMessageWnd;

  protected:
    bool CreatePictureWindow() override { return false; }
};

// A message window whose text canvas cannot be made.
class NoCanvasWindow : public CMessageWnd {
  public:
    using CMessageWnd::CMessageWnd;

  protected:
    HBITMAP CreateCanvas() override { return nullptr; }
};

enum class Missing { Nothing, PictureWindow, Canvas };

// The message window on the test's own thread, modeless, so that the test
// can step it: timers are sent by hand where the steps matter.
class MessageWindow : public ::testing::Test {
  protected:
    ~MessageWindow() override {
        if (window_) {
            window_->DestroyWindow();
        }
    }

    // The text is stored as "tousNN.txt" of `stored` (by default the number
    // played) in a text archive; the window plays text `number`.
    void Play(const std::string& text, int number = 0, Missing missing = Missing::Nothing,
              int stored = -1) {
        const std::string name =
            ScenarioFileName(ScenarioKind::Message, stored < 0 ? number : stored);
        const auto archive = BuildArchive({{name, Bytes(text)}});
        ASSERT_TRUE(archive);
        WriteBytes(dir_.File("Text.arc"), *archive);
        texts_.Open(dir_.File("Text.arc"));
        if (missing == Missing::PictureWindow) {
            window_ = std::make_unique<NoPictureWindow>(nullptr, state_, passwords_, host_);
        } else if (missing == Missing::Canvas) {
            window_ = std::make_unique<NoCanvasWindow>(nullptr, state_, passwords_, host_);
        } else {
            window_ = std::make_unique<CMessageWnd>(nullptr, state_, passwords_, host_);
        }
        window_->LoadTousText(texts_, number);
        ASSERT_TRUE(window_->Create());
        ShowWindow(hwnd(), SW_SHOW);
        SetActiveWindow(hwnd());
    }

    HWND hwnd() const { return window_->GetSafeHwnd(); }
    CPictureWnd& pictureWindow() { return window_->pictureWindow(); }
    void Timer(UINT_PTR id) { SendMessageW(hwnd(), WM_TIMER, id, 0); }
    void Click() { SendMessageW(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20)); }
    bool PumpUntilWaiting() {
        return PumpUntil([this] { return window_->waitingForClick() || window_->ended(); });
    }
    bool PumpUntilEnded() {
        return PumpUntil([this] { return window_->ended(); });
    }
    // Byte i of the picture window's picture.
    uint8_t Shown(size_t i) { return pictureWindow().picture().pixels()[i]; }

    TempDir dir_;
    MessageRecorder messages_;
    Archive texts_;
    GameState state_ = GameState::NewGame();
    PasswordLists passwords_;
    FakeSceneHost host_;
    std::unique_ptr<CMessageWnd> window_;
};

TEST_F(MessageWindow, AnEmptyOrMissingTextFadesAWhitePictureWindowAndCloses) {
    // Only comments and empty lines; then a text the archive does not hold.
    for (int number : {0, 7}) {
        Play("# a comment\r\n\r\nascii text\r\n\r\n", number, Missing::Nothing, 0);
        EXPECT_EQ(window_->scene().lines().size(), 0u);
        // Without "pict0100.bmp" the picture window starts from a blank white
        // 640 x 480 x 24 picture; darken it to see the closing fade reach white.
        DibPicture& picture = pictureWindow().picture();
        ASSERT_EQ(picture.pixelCapacity(), 640u * 480 * 3);
        EXPECT_EQ(picture.header().bitCount, 24);
        picture.Fill(0x20);
        ASSERT_TRUE(PumpUntilEnded());
        EXPECT_FALSE(IsWindowVisible(hwnd()));
        EXPECT_FALSE(IsWindowVisible(pictureWindow().GetSafeHwnd()));  // no picture line
        EXPECT_EQ(Shown(0), 0xFF);
        EXPECT_EQ(Shown(640 * 480 * 3 - 1), 0xFF);
        EXPECT_TRUE(messages_.Messages().empty());
        window_->DestroyWindow();
    }
}

TEST_F(MessageWindow, PicturesCrossFadeInNineStepsAndOnesThatDoNotFitAreSkipped) {
    host_.pictures["pict0100.bmp"] = MakeSolidBmp(640, 480, MakeColour(0, 0, 0));
    host_.pictures["pict0000m.bmp"] = MakeSolidBmp(640, 480, MakeColour(255, 0, 0));  // red
    host_.pictures["pict0002m.bmp"] = MakeSolidBmp(320, 240, MakeColour(0, 0, 255));
    Play("□００００\r\n□０００１\r\n□０００２\r\nあ\r\n");
    // The format picture gives the format; the window starts white anyway.
    EXPECT_EQ(Shown(0), 0xFF);
    EXPECT_EQ(pictureWindow().picture().pixelBytes(), 640u * 480 * 3 - 2);

    // Stacked: the picture window right above the message window, the pair
    // centred on the screen's height.
    const RECT picture = WindowRect(pictureWindow().GetSafeHwnd());
    const RECT message = WindowRect(hwnd());
    EXPECT_EQ(picture.bottom, message.top);
    const int free = GetSystemMetrics(SM_CYSCREEN) - (picture.bottom - picture.top) -
                     (message.bottom - message.top);
    if (free > 0) {
        EXPECT_EQ(picture.top, free / 2);
    }

    // The first step starts the fade; from here the test sends the ticks.
    ASSERT_TRUE(PumpUntil([this] { return window_->fading(); }));
    EXPECT_TRUE(IsWindowVisible(pictureWindow().GetSafeHwnd()));
    EXPECT_EQ(GetActiveWindow(), hwnd());  // showing it took no activation
    for (int k = 0; k <= 4; ++k) {
        Timer(CMessageWnd::kFadeTimer);
    }
    // k = 4: halfway, rounding down: blue and green 255 -> 0 give 127.
    EXPECT_EQ(Shown(0), 127);
    EXPECT_EQ(Shown(1), 127);
    EXPECT_EQ(Shown(2), 255);
    for (int k = 5; k <= 8; ++k) {
        Timer(CMessageWnd::kFadeTimer);
    }
    EXPECT_EQ(Shown(0), 0);
    EXPECT_EQ(Shown(2), 255);
    EXPECT_TRUE(window_->fading());
    Timer(CMessageWnd::kFadeTimer);  // the tenth tick only ends the fade
    EXPECT_FALSE(window_->fading());

    // A missing picture and one of another size pass without a fade.
    ASSERT_TRUE(PumpUntil([this] { return window_->typewriter().typing(); }));
    EXPECT_EQ(host_.requested, (std::vector<std::string>{"pict0100.bmp", "pict0000m.bmp",
                                                         "pict0001m.bmp", "pict0002m.bmp"}));
    EXPECT_EQ(Shown(0), 0);
    EXPECT_EQ(Shown(640 * 3 * 240 + 2), 255);
    Timer(CMessageWnd::kFadeTimer);  // a stray tick outside a fade changes nothing
    EXPECT_EQ(Shown(0), 0);
}

TEST_F(MessageWindow, LinesWaitForAClickOnTheActiveWindowAndEnterOrEscapeDoNothing) {
    state_.messageWait = 0;  // the typewriter at the system's shortest interval
    Play("［見出し］\r\nあいう\r\nえお\r\n");
    ASSERT_TRUE(PumpUntilWaiting());
    ASSERT_FALSE(window_->ended());
    // The label took the top row: the text starts below it.
    EXPECT_GT(window_->typewriter().penY(), 0);

    // Enter, Escape and the close command leave it open and waiting.
    SendMessageW(hwnd(), WM_COMMAND, IDOK, 0);
    SendMessageW(hwnd(), WM_COMMAND, IDCANCEL, 0);
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
    SendMessageW(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpPending();
    EXPECT_TRUE(IsWindowVisible(hwnd()));
    EXPECT_FALSE(window_->ended());
    EXPECT_TRUE(window_->waitingForClick());

    // A click while another window is active does nothing.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    Click();
    EXPECT_TRUE(window_->waitingForClick());
    DestroyWindow(other);

    SetActiveWindow(hwnd());
    Click();
    EXPECT_FALSE(window_->waitingForClick());
    EXPECT_EQ(window_->typewriter().penY(), 0);  // each line starts at the top
    ASSERT_TRUE(PumpUntilWaiting());
    EXPECT_EQ(window_->typewriter().line(), "えお");
    EXPECT_FALSE(window_->ended());
    Click();
    ASSERT_TRUE(PumpUntilEnded());
}

TEST_F(MessageWindow, WithoutAPictureWindowPictureLinesOpenTheirPageAndTheSceneStillCloses) {
    Play("□００１２\r\nあ\r\n", 0, Missing::PictureWindow);
    ASSERT_TRUE(PumpUntilWaiting());
    EXPECT_EQ(host_.opened, std::vector<std::string>{"tou0012.htm"});
    EXPECT_TRUE(host_.requested.empty());
    Click();
    ASSERT_TRUE(PumpUntilEnded());
}

TEST_F(MessageWindow, WithoutATextCanvasTheLinesAreTypedUnseenAndTheSceneEnds) {
    Play("あいう\r\nえお\r\n", 0, Missing::Canvas);
    for (int line = 0; line < 2; ++line) {
        ASSERT_TRUE(PumpUntilWaiting()) << "line " << line;
        ASSERT_FALSE(window_->ended());
        Click();
    }
    ASSERT_TRUE(PumpUntilEnded());
}

TEST_F(MessageWindow, APasswordLineOfASolvedSlotPassesWithoutADialog) {
    state_.passwordSolved[0] = 1;
    // A dialog, had one come, would be cancelled and counted.
    WindowWatcher dialog(L"#32770", L"パスワード",
                         [](HWND found) { PostMessageW(found, WM_COMMAND, IDCANCEL, 0); });
    Play("□ＰＡＳＳＷＯＲＤ\r\nあ\r\n");
    ASSERT_TRUE(PumpUntilWaiting());
    EXPECT_FALSE(window_->ended());
    dialog.Stop();
    EXPECT_FALSE(dialog.Finish());
}

TEST_F(MessageWindow, ACancelledPromptEndsTheSceneAtOnceAndAnAcceptedOneGoesOn) {
    passwords_[3] = {"kiri"};
    WindowWatcher cancel(L"#32770", L"パスワード", [](HWND found) {
        SetDlgItemTextW(found, IDC_PASSWORD_EDIT, L"kiri");
        PostMessageW(found, WM_COMMAND, IDCANCEL, 0);
    });
    Play("□ＰＡＳＳＷＯＲＤ\r\nあ\r\n", 3);
    ASSERT_TRUE(PumpUntilEnded());
    EXPECT_TRUE(cancel.Finish());
    EXPECT_FALSE(window_->typewriter().typing());
    EXPECT_EQ(window_->typewriter().line(), "");  // the line after it never started
    EXPECT_EQ(state_.passwordSolved[3], 0);
    EXPECT_TRUE(messages_.Messages().empty());
    window_->DestroyWindow();

    // A wrong text is told and the prompt stays; the right one goes on.
    state_.disclosureStage = 4;
    for (int slot : {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11}) {
        state_.passwordSolved[static_cast<size_t>(slot)] = 1;
    }
    std::atomic<bool> stayedOpen = false;
    WindowWatcher answer(L"#32770", L"パスワード", [&stayedOpen](HWND found) {
        SetDlgItemTextW(found, IDC_PASSWORD_EDIT, L"KIRI");
        SendMessageW(found, WM_COMMAND, IDOK, 0);
        stayedOpen = IsWindowVisible(found) != FALSE;
        SetDlgItemTextW(found, IDC_PASSWORD_EDIT, L"kiri");
        PostMessageW(found, WM_COMMAND, IDOK, 0);
    });
    Play("□ＰＡＳＳＷＯＲＤ\r\nあ\r\n", 3);
    ASSERT_TRUE(PumpUntilWaiting());
    EXPECT_TRUE(answer.Finish());
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(window_->typewriter().line(), "あ");
    EXPECT_EQ(state_.passwordSolved[3], 1);
    EXPECT_EQ(state_.disclosureStage, 5u);  // the twelfth solved at stage 4
    EXPECT_EQ(messages_.Messages(), (std::vector<std::string>{std::string(kPasswordRefusedText),
                                                              std::string(kPasswordAcceptedText)}));
}

TEST(PasswordDialog, TheInputMethodIsOnWhileTheBoxHasTheFocus) {
    GameState state = GameState::NewGame();
    PasswordLists passwords;
    CPasswordDlg dialog(nullptr, 0, state, passwords);
    ASSERT_TRUE(dialog.Create());
    ShowWindow(dialog.GetSafeHwnd(), SW_SHOW);
    HWND edit = GetDlgItem(dialog.GetSafeHwnd(), IDC_PASSWORD_EDIT);
    SetFocus(edit);
    HIMC context = ImmGetContext(edit);
    if (context == nullptr) {
        GTEST_SKIP() << "no input method context here";
    }
    EXPECT_TRUE(ImmGetOpenStatus(context));
    SetFocus(GetDlgItem(dialog.GetSafeHwnd(), IDOK));
    EXPECT_FALSE(ImmGetOpenStatus(context));
    ImmReleaseContext(edit, context);
}

TEST(PictureWindow, ItsClientIsExactly640x480AndItScrollsInTenths) {
    FakeSceneHost host;
    CPictureWnd window(host);
    ASSERT_TRUE(window.Create());
    HWND hwnd = window.GetSafeHwnd();
    EXPECT_FALSE(IsWindowVisible(hwnd));
    const RECT client = ClientRect(hwnd);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    const RECT full = WindowRect(hwnd);
    const int fullWidth = full.right - full.left;
    const int fullHeight = full.bottom - full.top;
    EXPECT_EQ(full.left, (GetSystemMetrics(SM_CXSCREEN) - fullWidth) / 2);

    // The largest size is the one that shows the whole picture, centred.
    MINMAXINFO limits{};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMaxTrackSize.x, fullWidth);
    EXPECT_EQ(limits.ptMaxTrackSize.y, fullHeight);
    EXPECT_EQ(limits.ptMaxSize.x, fullWidth);
    EXPECT_EQ(limits.ptMaxPosition.x, (GetSystemMetrics(SM_CXSCREEN) - fullWidth) / 2);
    EXPECT_EQ(limits.ptMaxPosition.y, (GetSystemMetrics(SM_CYSCREEN) - fullHeight) / 2);

    // 100 pixels narrower: a horizontal bar over the rest, in steps of 6 and 64.
    SetWindowPos(hwnd, nullptr, 0, 0, fullWidth - 100, fullHeight, SWP_NOMOVE | SWP_NOZORDER);
    const int range = 640 - ClientRect(hwnd).right;
    EXPECT_GE(range, 100);
    const auto scroll = [&](int code) {
        SendMessageW(hwnd, WM_HSCROLL, MAKEWPARAM(code, 0), 0);
        return window.scrollBars().position().x;
    };
    EXPECT_EQ(scroll(SB_LINEUP), 0);
    EXPECT_EQ(scroll(SB_LINEDOWN), 6);
    EXPECT_EQ(scroll(SB_PAGEDOWN), 70);
    EXPECT_EQ(scroll(SB_BOTTOM), range);
    EXPECT_EQ(scroll(SB_LINEDOWN), range);
    EXPECT_EQ(scroll(SB_PAGEUP), range - 64);
    EXPECT_EQ(window.scrollBars().lineStep().height, 4);
    EXPECT_EQ(window.scrollBars().pageStep().height, 48);

    // Back at full size there is nothing to scroll.
    SetWindowPos(hwnd, nullptr, 0, 0, fullWidth, fullHeight, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ClientRect(hwnd).right, 640);
    EXPECT_EQ(window.scrollBars().position().x, 0);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_HSCROLL);
}

// The whole road, in the program's own modal loop: the browser on a world
// with a message link.
class NoTitleApp : public CBrApp {
  protected:
    INT_PTR ShowTitleScreen() override { return 1; }
};

std::wstring SaveFilePath() {
    wchar_t directory[MAX_PATH];
    GetWindowsDirectoryW(directory, MAX_PATH);
    return std::wstring(directory) + L"\\velmora.dat";
}

void ForgetEverything() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Korvex");
    DeleteFileW(SaveFilePath().c_str());
}

// The windows a scene showed, as the player's side saw them.
struct SceneWatch {
    HWND owner = nullptr;
    bool ownerDisabled = false;
    bool pictureShown = false;
    bool stacked = false;
    bool prompted = false;
    bool endedAfterCancel = false;
};

// Finds a visible window owned by `owner`.
HWND OwnedWindow(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetWindow(hwnd, GW_OWNER) == s->owner && IsWindowVisible(hwnd)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class SceneInTheBrowser : public ::testing::Test {
  protected:
    SceneInTheBrowser() : previous_(std::filesystem::current_path()) {
        ForgetEverything();
        std::filesystem::current_path(dir_.path());
        const std::string scene =
            "□００００\r\n［第一灯］\r\nあいうえお\r\n□ＰＡＳＳＷＯＲＤ\r\nかきくけこ\r\n";
        const std::string passwords = "□００　kiri\r\n□ＥＮＤ\r\n";
        const auto text = BuildArchive({
            {"otop.htm", Bytes("<title>Top</title><body><a href=\"tou0000.htm\">record</a><br>"
                               "<a href=\"a.htm\">aaaa</a>")},
            {"a.htm", Bytes("<title>Page A</title><body>a")},
            {"tous00.txt", Bytes(scene)},
            {"password.txt", Bytes(passwords)},
        });
        WriteBytes(dir_.File("Text.arc"), *text);
        WriteBytes(
            dir_.File("cg.arc"),
            *BuildArchive({{"pict0100.bmp", MakeSolidBmp(640, 480, MakeColour(0, 0, 0))},
                           {"pict0000m.bmp", MakeSolidBmp(640, 480, MakeColour(255, 0, 0))}}));
        for (const char* name : {"ex.arc", "parts.arc"}) {
            WriteBytes(dir_.File(name), *BuildArchive({}));
        }
        app_ = std::make_unique<NoTitleApp>();
        EXPECT_TRUE(app_->InitInstance());
        PumpPending();
    }
    ~SceneInTheBrowser() override {
        app_->ExitInstance();
        app_.reset();
        PumpPending();  // the quit message the closed window posted ends here
        std::filesystem::current_path(previous_);
        ForgetEverything();
    }

    CMainFrame& frame() { return *static_cast<CMainFrame*>(app_->mainWindow()); }
    CBrView& view() { return frame().view(); }
    LinkElement* Link(const std::string& target) {
        for (const auto& link : view().currentPage()->links()) {
            if (link->target == target) {
                return link.get();
            }
        }
        return nullptr;
    }
    void Mouse(UINT message, const LinkElement& link) {
        SendMessageW(view().GetSafeHwnd(), message, 0,
                     MAKELPARAM(link.x + link.width / 2, link.y + link.height / 2));
    }

    TempDir dir_;
    MessageRecorder messages_;
    std::unique_ptr<NoTitleApp> app_;

  private:
    std::filesystem::path previous_;
};

TEST_F(SceneInTheBrowser, AMessageLinkPlaysItsSceneModallyAndOnlyRepaintsTheLink) {
    ASSERT_EQ(view().currentPage()->name(), "otop.htm");
    LinkElement* link = Link("tou0000.htm");
    ASSERT_NE(link, nullptr);
    EXPECT_FALSE(link->visited);
    HWND frameWindow = frame().GetSafeHwnd();

    SceneWatch watch;
    // Clicks through the lines, tries Enter, Escape and the close command on
    // the way, and cancels the prompt; then the window must go at once.
    WindowWatcher player(L"#32770", L"メッセージ", [&](HWND message) {
        watch.owner = GetWindow(message, GW_OWNER);
        watch.ownerDisabled = !IsWindowEnabled(frameWindow);
        PostMessageW(message, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(message, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(message, WM_CLOSE, 0, 0);
        const DWORD deadline = GetTickCount() + 30000;
        while (IsWindow(message) && GetTickCount() < deadline) {
            if (HWND picture = OwnedWindow(message); picture != nullptr && !watch.pictureShown) {
                watch.pictureShown = true;
                watch.stacked = WindowRect(picture).bottom == WindowRect(message).top;
            }
            HWND prompt = FindWindowW(L"#32770", L"パスワード");
            if (prompt != nullptr && IsWindowVisible(prompt)) {
                watch.prompted = GetWindow(prompt, GW_OWNER) == message;
                PostMessageW(prompt, WM_COMMAND, IDCANCEL, 0);
                const DWORD soon = GetTickCount() + 10000;
                while (IsWindow(message) && GetTickCount() < soon) {
                    Sleep(10);
                }
                watch.endedAfterCancel = !IsWindow(message);
                if (IsWindow(message)) {
                    PostMessageW(message, WM_TIMER, CMessageWnd::kCloseTimer, 0);  // let it go
                }
                return;
            }
            PostMessageW(message, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
            Sleep(20);
        }
    });
    Mouse(WM_MOUSEMOVE, *link);
    Mouse(WM_LBUTTONDOWN, *link);
    Mouse(WM_LBUTTONUP, *link);  // returns when the scene has ended
    ASSERT_TRUE(player.Finish());

    EXPECT_EQ(watch.owner, frameWindow);
    EXPECT_TRUE(watch.ownerDisabled);
    EXPECT_TRUE(watch.pictureShown);
    EXPECT_TRUE(watch.stacked);
    EXPECT_TRUE(watch.prompted);
    EXPECT_TRUE(watch.endedAfterCancel);
    EXPECT_TRUE(IsWindowEnabled(frameWindow));

    // No page was opened; the link was drawn again, now as visited.
    EXPECT_EQ(view().currentPage()->name(), "otop.htm");
    EXPECT_EQ(view().history().size(), 1u);
    EXPECT_EQ(Link("tou0000.htm"), link);
    EXPECT_TRUE(link->visited);
    EXPECT_TRUE(frame().IsVisited("tou0000.htm"));
    EXPECT_EQ(app_->settings.passwordSolved[0], 0);
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(SceneInTheBrowser, AProtectedPageAsksOwnedByTheBrowserWindow) {
    HWND frameWindow = frame().GetSafeHwnd();
    std::atomic<bool> ownerDisabled = false;
    WindowWatcher answer(L"#32770", L"パスワード", [&](HWND found) {
        ownerDisabled = GetWindow(found, GW_OWNER) == frameWindow && !IsWindowEnabled(frameWindow);
        SetDlgItemTextW(found, IDC_PASSWORD_EDIT, L"kiri");
        PostMessageW(found, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(view().AskPassword(0));
    EXPECT_TRUE(answer.Finish());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(app_->settings.passwordSolved[0], 1);
}

// What the message window showed while the scene ran, seen from inside the
// modal loop on the test's own thread.
struct TypingWatch {
    UINT interval = 12345;
    std::string firstLine;
};
TypingWatch* typingWatch = nullptr;

LRESULT CALLBACK WatchTyping(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && msg->message == WM_TIMER &&
        msg->wParam == CMessageWnd::kTypeTimer && typingWatch != nullptr &&
        msg->hwnd == FindWindowW(L"#32770", L"メッセージ")) {
        if (auto* window = static_cast<CMessageWnd*>(CWnd::FromHandle(msg->hwnd))) {
            typingWatch->interval = window->typeInterval();
            if (typingWatch->firstLine.empty()) {
                typingWatch->firstLine = window->typewriter().line();
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SceneInTheBrowser, TextAtOnceIsAViewMenuItemKeptInTheSaveFile) {
    auto checked = [this] {
        HMENU viewMenu = GetSubMenu(GetMenu(frame().GetSafeHwnd()), 2);
        SendMessageW(frame().GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewMenu),
                     2);
        return (GetMenuState(viewMenu, ID_VIEW_FAST_TEXT, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    auto toggle = [this] { SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_VIEW_FAST_TEXT, 0); };
    // A new game waits between characters.
    EXPECT_EQ(app_->settings.messageWait, 1);
    EXPECT_FALSE(checked());
    toggle();
    EXPECT_EQ(app_->settings.messageWait, 0);
    EXPECT_TRUE(checked());
    toggle();
    EXPECT_EQ(app_->settings.messageWait, 1);
    EXPECT_FALSE(checked());
    toggle();

    // Kept in the save file's first byte, and back after a restart.
    app_->ExitInstance();
    app_.reset();
    PumpPending();
    const std::vector<uint8_t> saved = ReadBytes(std::filesystem::path(SaveFilePath()).string());
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved[0], 0);
    app_ = std::make_unique<NoTitleApp>();
    ASSERT_TRUE(app_->InitInstance());
    PumpPending();
    EXPECT_EQ(app_->settings.messageWait, 0);
    EXPECT_TRUE(checked());

    // A scene now types its text without waiting between characters.
    TypingWatch watch;
    typingWatch = &watch;
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, WatchTyping, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    WindowWatcher player(L"#32770", L"メッセージ", [](HWND message) {
        const DWORD deadline = GetTickCount() + 30000;
        while (IsWindow(message) && GetTickCount() < deadline) {
            HWND prompt = FindWindowW(L"#32770", L"パスワード");
            if (prompt != nullptr && IsWindowVisible(prompt)) {
                PostMessageW(prompt, WM_COMMAND, IDCANCEL, 0);
            }
            PostMessageW(message, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
            Sleep(20);
        }
    });
    LinkElement* link = Link("tou0000.htm");
    ASSERT_NE(link, nullptr);
    Mouse(WM_MOUSEMOVE, *link);
    Mouse(WM_LBUTTONDOWN, *link);
    Mouse(WM_LBUTTONUP, *link);  // returns when the scene has ended
    EXPECT_TRUE(player.Finish());
    UnhookWindowsHookEx(hook);
    typingWatch = nullptr;
    EXPECT_EQ(watch.firstLine, "あいうえお");
    EXPECT_EQ(watch.interval, 0u);
}

}  // namespace
