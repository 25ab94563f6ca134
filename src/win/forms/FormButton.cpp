#include "forms/FormButton.h"

#include "browser/BrowserSession.h"
#include "framework/Text.h"

std::unique_ptr<FormControlWindow> CFormButton::Make(HWND view, FormButton& button,
                                                     BrowserSession& session) {
    auto window = std::make_unique<CFormButton>(button, session);
    if (!window->Create(view)) {
        return nullptr;
    }
    ShowWindow(window->GetSafeHwnd(), SW_SHOW);
    return window;
}

const MessageMap* CFormButton::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnCommand<&CFormButton::OnClicked>(kButtonId, BN_CLICKED),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

BOOL CFormButton::OnInitDialog() {
    const Rect& rect = button_.rect;
    MoveWindow(button(), 0, 0, rect.width(), rect.height(), FALSE);
    SetWindowTextW(button(), Widen(button_.caption).c_str());
    Move(rect);
    return FALSE;
}

bool CFormButton::PreTranslateMessage(MSG& message) {
    if (message.message >= WM_SYSKEYDOWN && message.message <= WM_SYSDEADCHAR) {
        return false;
    }
    return CDialog::PreTranslateMessage(message);
}

void CFormButton::Move(const Rect& rect) {
    MoveWindow(GetSafeHwnd(), rect.left, rect.top, rect.width(), rect.height(), TRUE);
}

void CFormButton::Show(bool shown) {
    ShowWindow(GetSafeHwnd(), shown ? SW_SHOW : SW_HIDE);
}

void CFormButton::OnClicked() {
    session_.PressButton(button_);
}
