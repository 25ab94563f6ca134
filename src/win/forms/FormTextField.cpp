#include "forms/FormTextField.h"

#include <imm.h>

#include <algorithm>

#include "browser/BrowserSession.h"
#include "framework/Text.h"

namespace {

void SetInputMethodOpen(HWND window, bool open) {
    HIMC context = ImmGetContext(window);
    if (context != nullptr) {
        ImmSetOpenStatus(context, open ? TRUE : FALSE);
        ImmReleaseContext(window, context);
    }
}

}  // namespace

std::unique_ptr<FormControlWindow> CFormTextField::Make(HWND view, FormTextField& field,
                                                        BrowserSession& session) {
    auto window = std::make_unique<CFormTextField>(field, session);
    if (!window->Create(view)) {
        return nullptr;
    }
    ShowWindow(window->GetSafeHwnd(), SW_SHOW);
    return window;
}

const MessageMap* CFormTextField::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnCommand<&CFormTextField::OnChange>(kEditId, EN_CHANGE),
        OnCommand<&CFormTextField::OnSetFocus>(kEditId, EN_SETFOCUS),
        OnCommand<&CFormTextField::OnKillFocus>(kEditId, EN_KILLFOCUS),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

BOOL CFormTextField::OnInitDialog() {
    // As tall as the template's edit control, as wide as the page asks.
    RECT rc;
    GetWindowRect(edit(), &rc);
    const int height = rc.bottom - rc.top;
    field_.rect.bottom = field_.rect.top + height;
    if (field_.password) {
        SendMessageW(edit(), EM_SETPASSWORDCHAR, L'*', 0);
    }
    SetText(field_.initialValue);
    MoveWindow(edit(), 0, 0, field_.rect.width(), height, FALSE);
    SendMessageW(edit(), EM_SETSEL, 0, -1);
    Move(field_.rect);
    // The focus stays where it is: a page opening takes no keys away.
    return FALSE;
}

bool CFormTextField::PreTranslateMessage(MSG& message) {
    if (message.message >= WM_SYSKEYDOWN && message.message <= WM_SYSDEADCHAR) {
        return false;
    }
    return CDialog::PreTranslateMessage(message);
}

void CFormTextField::Move(const Rect& rect) {
    MoveWindow(GetSafeHwnd(), rect.left, rect.top, rect.width(), rect.height(), TRUE);
}

void CFormTextField::Show(bool shown) {
    ShowWindow(GetSafeHwnd(), shown ? SW_SHOW : SW_HIDE);
}

std::string CFormTextField::Text() const {
    const int length = GetWindowTextLengthW(edit());
    std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
    const int copied = GetWindowTextW(edit(), text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return Narrow(text);
}

void CFormTextField::SetText(const std::string& text) {
    SetWindowTextW(edit(), Widen(text).c_str());
}

void CFormTextField::OnOK() {
    // Only the fields of the page shown take Enter.
    if (IsWindowVisible(GetSafeHwnd())) {
        session_.EnterInField(field_);
    }
}

void CFormTextField::OnChange() {
    field_.changed = true;
}

void CFormTextField::OnSetFocus() {
    SetInputMethodOpen(edit(), true);
}

void CFormTextField::OnKillFocus() {
    SetInputMethodOpen(edit(), false);
}
