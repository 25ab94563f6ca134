#include "dialogs/HomePageDlg.h"

#include "browser/Bookmarks.h"
#include "framework/Text.h"
#include "resource.h"

CHomePageDlg::CHomePageDlg(HWND owner, Bookmarks& bookmarks)
    : CDialog(IDD_HOME_PAGE, owner), bookmarks_(bookmarks) {}

const MessageMap* CHomePageDlg::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnCommand<&CHomePageDlg::OnSetCurrent>(IDC_HOME_CURRENT, BN_CLICKED),
        OnCommand<&CHomePageDlg::OnSetStandard>(IDC_HOME_STANDARD, BN_CLICKED),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

BOOL CHomePageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowHomeAddress();
    HWND edit = GetDlgItem(GetSafeHwnd(), IDC_HOME_ADDRESS);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    return FALSE;  // the focus is set
}

void CHomePageDlg::ShowHomeAddress() {
    SetDlgItemTextW(GetSafeHwnd(), IDC_HOME_ADDRESS, Widen(bookmarks_.homeAddress()).c_str());
}

void CHomePageDlg::OnSetCurrent() {
    // Without a page shown there is nothing to take.
    if (m_strCurrentFile.empty()) {
        return;
    }
    bookmarks_.SetHome(m_strCurrentAddress, m_strCurrentFile);
    ShowHomeAddress();
}

void CHomePageDlg::OnSetStandard() {
    bookmarks_.SetHomeToStandard();
    ShowHomeAddress();
}
