#include "app/BrApp.h"

#include <commctrl.h>

#include "Message.h"
#include "app/TitleDialog.h"
#include "browser/BrView.h"
#include "frame/MainFrame.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/MessageBox.h"
#include "resource.h"
#include "text/StringList.h"

CBrApp::CBrApp() = default;

CBrApp::~CBrApp() = default;

bool CBrApp::ScreenBelowRecommendation(int width, int height, int bitsPerPixel) {
    return bitsPerPixel <= 8 || width < 800 || height < 600;
}

bool CBrApp::InitInstance() {
    LoadAppName(IDS_APP_TITLE);
    SetMessageCaption(appName());

    // A second copy ends at once, silently.
    HANDLE existing = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kMutexName);
    if (existing != nullptr) {
        instanceMutex = existing;
        return false;
    }
    instanceMutex = CreateMutexW(nullptr, TRUE, kMutexName);

    linkCursor = LoadCursorW(instance(), MAKEINTRESOURCEW(IDC_LINK));

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    {
        WindowDC screen(nullptr);
        if (ScreenBelowRecommendation(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                      GetDeviceCaps(screen.get(), BITSPIXEL))) {
            ShowMessage("画面サイズ 800X600、色深度 16BIT以上での\n実行を推奨します。");
        }
    }

    SetRegistryKey("Korvex");

    for (size_t i = 0; i < archives.size(); ++i) {
        archives[i].Open(kArchiveNames[i]);
    }
    LoadPasswords();

    if (!RunTitleScreen()) {
        return false;
    }
    return CreateMainWindow();
}

void CBrApp::LoadPasswords() {
    StringList lines;
    lines.LoadLines("password.txt", archives[kText]);
    passwordLists = ParsePasswordLines(lines);
}

INT_PTR CBrApp::ShowTitleScreen() {
    CTitleDialog title;
    return title.DoModal();
}

bool CBrApp::RunTitleScreen() {
    appIcon = LoadIconW(instance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    switch (ShowTitleScreen()) {
        case 1:
            return true;
        case 0:  // cancelled
        case 2:  // the quit command
            return false;
        default:
            ShowMessage("Title Error\n");
            ShowMessage("メモリが足りない可能性があります。\n");
            return false;
    }
}

bool CBrApp::CreateMainWindow() {
    mainFrame_ = std::make_unique<CMainFrame>();
    if (!mainFrame_->Create()) {
        mainFrame_.reset();
        return false;
    }
    setMainWindow(mainFrame_.get());
    mainFrame_->view().OnInitialUpdate();
    ShowWindow(mainFrame_->GetSafeHwnd(), SW_SHOWNORMAL);
    UpdateWindow(mainFrame_->GetSafeHwnd());
    return true;
}

bool CBrApp::OnIdle(long count) {
    CWinApp::OnIdle(count);
    if (animationTarget == nullptr) {
        return false;
    }
    if (clock_() - lastAnimationTick_ > kAnimationIntervalMs) {
        animationTarget->DrawLogoFrame();
        lastAnimationTick_ = clock_();
    }
    return true;
}

bool CBrApp::OnCommand(UINT id) {
    if (id == ID_APP_ABOUT) {
        CDialog about(IDD_ABOUTBOX, mainWindow() ? mainWindow()->GetSafeHwnd() : nullptr);
        about.DoModal();
        return true;
    }
    return CWinApp::OnCommand(id);
}

int CBrApp::ExitInstance() {
    // Released on every path, also when start-up ended early.
    if (instanceMutex != nullptr) {
        ReleaseMutex(instanceMutex);
        CloseHandle(instanceMutex);
        instanceMutex = nullptr;
    }
    animationTarget = nullptr;
    setMainWindow(nullptr);
    mainFrame_.reset();
    return CWinApp::ExitInstance();
}
