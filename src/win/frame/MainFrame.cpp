#include "frame/MainFrame.h"

#include "framework/Gdi.h"
#include "framework/WinApp.h"
#include "resource.h"

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

const MessageMap* CMainFrame::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CMainFrame::OnPaint>(WM_PAINT),
        OnMessage<&CMainFrame::OnDestroy>(WM_DESTROY),
        OnCommand<&CMainFrame::OnExit>(ID_APP_EXIT),
    };
    static const MessageMap map{CWnd::GetMessageMap(), kEntries};
    return &map;
}

bool CMainFrame::Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    return CreateEx(0, L"Brivane", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600,
                    nullptr, menu);
}

void CMainFrame::DrawLogoFrame() {}

bool CMainFrame::PreTranslateMessage(MSG& message) {
    return accelerators_ != nullptr &&
           TranslateAcceleratorW(GetSafeHwnd(), accelerators_, &message) != 0;
}

LRESULT CMainFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Commands no window takes go on to the application.
    if (message == WM_COMMAND && CWinApp::Current() != nullptr &&
        CWinApp::Current()->OnCommand(LOWORD(wParam))) {
        return 0;
    }
    return CWnd::DefaultProc(message, wParam, lParam);
}

void CMainFrame::OnPaint() {
    PaintDC paint(GetSafeHwnd());
    FillRect(paint.get(), &paint.area(), GetSysColorBrush(COLOR_WINDOW));
}

void CMainFrame::OnExit() {
    DestroyWindow();
}

void CMainFrame::OnDestroy() {
    PostQuitMessage(0);
}
