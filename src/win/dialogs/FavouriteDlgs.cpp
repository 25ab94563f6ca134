#include "dialogs/FavouriteDlgs.h"

#include <algorithm>

#include "Message.h"
#include "browser/Bookmarks.h"
#include "framework/Gdi.h"
#include "framework/Text.h"
#include "resource.h"

void FillFavouriteList(HWND list, const std::vector<Favourite>& favourites) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    int widest = 0;
    WindowDC dc(list);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0));
    SelectInto select(dc.get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    for (const Favourite& favourite : favourites) {
        const std::wstring title = Widen(favourite.title);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
        SIZE size{};
        if (GetTextExtentPoint32W(dc.get(), title.c_str(), static_cast<int>(title.size()), &size)) {
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

CFavouriteAddDlg::CFavouriteAddDlg(HWND owner) : CDialog(IDD_FAVOURITE_ADD, owner) {}

CFavouriteDeleteDlg::CFavouriteDeleteDlg(HWND owner, Bookmarks& bookmarks,
                                         std::function<void()> changed)
    : CDialog(IDD_FAVOURITE_DELETE, owner), bookmarks_(bookmarks), changed_(std::move(changed)) {}

const MessageMap* CFavouriteDeleteDlg::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnCommand<&CFavouriteDeleteDlg::OnDelete>(IDC_FAVOURITE_DELETE, BN_CLICKED),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

HWND CFavouriteDeleteDlg::list() const {
    return GetDlgItem(GetSafeHwnd(), IDC_FAVOURITE_LIST);
}

BOOL CFavouriteDeleteDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    FillFavouriteList(list(), bookmarks_.favourites());
    EnableWindow(GetDlgItem(GetSafeHwnd(), IDC_FAVOURITE_DELETE), !bookmarks_.favourites().empty());
    return TRUE;
}

void CFavouriteDeleteDlg::OnDelete() {
    const LRESULT selected = SendMessageW(list(), LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) {
        return;
    }
    // The list box and the favourites go in step: one entry each.
    SendMessageW(list(), LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    if (bookmarks_.DeleteFavourite(static_cast<size_t>(selected)) && changed_) {
        changed_();
    }
    if (SendMessageW(list(), LB_GETCOUNT, 0, 0) <= 0) {
        HWND button = GetDlgItem(GetSafeHwnd(), IDC_FAVOURITE_DELETE);
        // A disabled button cannot keep the focus.
        if (GetFocus() == button) {
            SetFocus(GetDlgItem(GetSafeHwnd(), IDCANCEL));
        }
        EnableWindow(button, FALSE);
    }
}

CFavouritesWnd::CFavouritesWnd() : CDialog(IDD_FAVOURITES) {}

const MessageMap* CFavouritesWnd::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnCommand<&CFavouritesWnd::OnDoubleClick>(IDC_FAVOURITE_LIST, LBN_DBLCLK),
        OnCommand<&CFavouritesWnd::OnOutOfSpace>(IDC_FAVOURITE_LIST, LBN_ERRSPACE),
        OnMessage<&CFavouritesWnd::OnDestroy>(WM_DESTROY),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

HWND CFavouritesWnd::list() const {
    return GetDlgItem(GetSafeHwnd(), IDC_FAVOURITE_LIST);
}

BOOL CFavouritesWnd::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowPos(GetSafeHwnd(), nullptr, x_, y_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

Point CFavouritesWnd::position() const {
    RECT window;
    if (HasWindow() && GetWindowRect(GetSafeHwnd(), &window)) {
        return {window.left, window.top};
    }
    return {x_, y_};
}

void CFavouritesWnd::OnDestroy() {
    const Point at = position();
    x_ = at.x;
    y_ = at.y;
    Default();
}

void CFavouritesWnd::SetFavouriteList(Bookmarks* bookmarks) {
    bookmarks_ = bookmarks;
    FillList();
}

void CFavouritesWnd::FillList() {
    if (HasWindow()) {
        FillFavouriteList(
            list(), bookmarks_ != nullptr ? bookmarks_->favourites() : std::vector<Favourite>{});
    }
}

void CFavouritesWnd::ToggleVisible() {
    if (!HasWindow()) {
        return;
    }
    if (IsWindowVisible(GetSafeHwnd())) {
        ShowWindow(GetSafeHwnd(), SW_HIDE);
    } else {
        FillList();
        ShowWindow(GetSafeHwnd(), SW_SHOW);
    }
}

void CFavouritesWnd::OnDoubleClick() {
    // While a modal window runs (a scene, a dialog, a message) the browser
    // behind it takes nothing, and neither does this window.
    HWND owner = GetWindow(GetSafeHwnd(), GW_OWNER);
    if (bookmarks_ == nullptr || CDialog::InnermostModal() != nullptr ||
        (owner != nullptr && !IsWindowEnabled(owner))) {
        return;
    }
    const LRESULT selected = SendMessageW(list(), LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) {
        // An entry the favourites no longer hold opens nothing.
        bookmarks_->OpenFavourite(static_cast<size_t>(selected));
    }
}

void CFavouritesWnd::OnOutOfSpace() {
    ShowMessage("メモリが足りません。");
}
