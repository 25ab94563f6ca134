#include "framework/ControlBar.h"

#include <commctrl.h>

#include "framework/Text.h"

bool CDialogBar::CreateBar(HWND parent, UINT id, Edge edge) {
    edge_ = edge;
    if (!Create(parent)) {
        return false;
    }
    SetWindowLongPtrW(GetSafeHwnd(), GWLP_ID, static_cast<LONG_PTR>(id));
    RECT rc;
    GetWindowRect(GetSafeHwnd(), &rc);
    height_ = rc.bottom - rc.top;
    ShowWindow(GetSafeHwnd(), SW_SHOW);
    return true;
}

bool CDialogBar::PreTranslateMessage(MSG& message) {
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
        CWnd* frame = CWnd::FromHandle(GetParent(GetSafeHwnd()));
        if (frame != nullptr && frame->PreTranslateMessage(message)) {
            return true;
        }
    }
    return CDialog::PreTranslateMessage(message);
}

CStatusBar::~CStatusBar() {
    Destroy();
}

bool CStatusBar::Create(HWND parent, UINT id) {
    hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                            0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) {
        return false;
    }
    // One pane that stretches over the whole bar.
    int right = -1;
    SendMessageW(hwnd_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
    return true;
}

void CStatusBar::Destroy() {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

void CStatusBar::SetText(const std::string& cp932) {
    if (hwnd_ != nullptr) {
        SendMessageW(hwnd_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Widen(cp932).c_str()));
    }
}

std::string CStatusBar::GetText() const {
    if (hwnd_ == nullptr) {
        return {};
    }
    const LRESULT length = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

int CStatusBar::BarHeight() const {
    if (hwnd_ == nullptr) {
        return 0;
    }
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    return rc.bottom - rc.top;
}
