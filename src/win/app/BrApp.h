#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/AnimationTarget.h"
#include "archive/Archive.h"
#include "browser/ChromeLayout.h"
#include "framework/Clock.h"
#include "framework/WinApp.h"
#include "game/GameState.h"
#include "game/PasswordTable.h"

class CMainFrame;

// The game's application object: one copy at a time, the four archives and
// the password table for the whole run, the title screen, then the browser
// window; idle time animates the logo.
class CBrApp : public CWinApp {
  public:
    static constexpr wchar_t kMutexName[] = L"KorvexVelmora";
    static constexpr std::array<const char*, 4> kArchiveNames = {"cg.arc", "ex.arc", "Text.arc",
                                                                 "parts.arc"};
    enum ArchiveIndex { kCg = 0, kEx = 1, kText = 2, kParts = 3 };
    // Idle time draws the next logo frame once more than this has passed.
    static constexpr uint32_t kAnimationIntervalMs = chrome::kLogoIntervalMs;

    CBrApp();
    ~CBrApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    bool OnIdle(long count) override;
    bool OnCommand(UINT id) override;

    // Runs the title screen; true to go on into the game.
    bool RunTitleScreen();
    // Fills passwordLists from "password.txt" of the text archive.
    void LoadPasswords();
    void SetAnimationTarget(AnimationTarget* target) { animationTarget = target; }

    // Whether a desktop of this size and depth is below what the game recommends.
    static bool ScreenBelowRecommendation(int width, int height, int bitsPerPixel);

    GameState settings = GameState::NewGame();
    HCURSOR linkCursor = nullptr;
    HANDLE instanceMutex = nullptr;
    PasswordLists passwordLists;
    std::array<Archive, 4> archives;
    HICON appIcon = nullptr;
    AnimationTarget* animationTarget = nullptr;

  protected:
    // Runs the title dialog modally and returns what it ended with.
    virtual INT_PTR ShowTitleScreen();
    // Creates the browser window and shows it; false when it cannot be made.
    virtual bool CreateMainWindow();

    // The multimedia clock; tests put their own in.
    uint32_t (*clock_)() = MillisecondClock;
    uint32_t lastAnimationTick_ = 0;

  private:
    std::unique_ptr<CMainFrame> mainFrame_;
};

// The application object of the running program.
inline CBrApp& TheApp() {
    return *static_cast<CBrApp*>(CWinApp::Current());
}
