#include "story/PasswordDlg.h"

#include <imm.h>

#include "framework/Text.h"
#include "game/StoryRules.h"
#include "resource.h"

CPasswordDlg::CPasswordDlg(HWND owner, int slot, GameState& state, const PasswordLists& passwords)
    : CDialog(IDD_PASSWORD, owner), slot_(slot), state_(state), passwords_(passwords) {}

const MessageMap* CPasswordDlg::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnCommand<&CPasswordDlg::OnEditFocus>(IDC_PASSWORD_EDIT, EN_SETFOCUS),
        OnCommand<&CPasswordDlg::OnEditBlur>(IDC_PASSWORD_EDIT, EN_KILLFOCUS),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

HWND CPasswordDlg::edit() const {
    return GetDlgItem(GetSafeHwnd(), IDC_PASSWORD_EDIT);
}

BOOL CPasswordDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetFocus(edit());
    SelectAll();
    // Centred on the desktop.
    HWND hwnd = GetSafeHwnd();
    RECT window;
    GetWindowRect(hwnd, &window);
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    return FALSE;  // the focus is set
}

void CPasswordDlg::SelectAll() {
    SendMessageW(edit(), EM_SETSEL, 0, -1);
    SendMessageW(edit(), EM_SCROLLCARET, 0, 0);
}

void CPasswordDlg::SetInputMethodOpen(bool open) {
    if (HIMC context = ImmGetContext(edit())) {
        ImmSetOpenStatus(context, open ? TRUE : FALSE);
        ImmReleaseContext(edit(), context);
    }
}

void CPasswordDlg::OnEditFocus() {
    SelectAll();
    SetInputMethodOpen(true);
}

void CPasswordDlg::OnEditBlur() {
    SetInputMethodOpen(false);
}

void CPasswordDlg::OnOK() {
    HWND box = edit();
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    // The player is told either way; the slot is marked before the dialog ends.
    if (SubmitPassword(state_, passwords_, slot_, Narrow(text))) {
        EndDialog(kAccepted);
    }
}
