#include "frame/MainFrame.h"

#include <commctrl.h>

#include <algorithm>

#include "app/BrApp.h"
#include "browser/BrView.h"
#include "dialogs/FavouriteDlgs.h"
#include "dialogs/HomePageDlg.h"
#include "framework/Text.h"
#include "game/Favourites.h"
#include "resource.h"
#include "text/ShiftJis.h"

namespace {

// The next logo frame to draw; the logo runs on however often it is drawn.
int logoFrameIndex = 0;

GameState& Settings() {
    return TheApp().settings;
}

}  // namespace

CMainFrame::CMainFrame() : view_(std::make_unique<CBrView>(*this)) {}

CMainFrame::~CMainFrame() {
    // While the view and the bars still exist: destroying the window saves.
    DestroyWindow();
}

const MessageMap* CMainFrame::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CMainFrame::OnCreate>(WM_CREATE),
        OnMessage<&CMainFrame::OnPaint>(WM_PAINT),
        OnMessage<&CMainFrame::OnSize>(WM_SIZE),
        OnMessage<&CMainFrame::OnDestroy>(WM_DESTROY),
        OnCommand<&CMainFrame::OnRegisterHome>(ID_EDIT_REGISTER_HOME),
        OnCommand<&CMainFrame::ToggleAddressBar>(ID_VIEW_ADDRESSBAR),
        OnCommand<&CMainFrame::OnAddFavourite>(ID_FAVOURITES_ADD),
        OnCommand<&CMainFrame::OnDeleteFavourites>(ID_FAVOURITES_DELETE),
        OnMessage<&CMainFrame::OnActivate>(WM_ACTIVATE),
        OnCommand<&CMainFrame::ToggleStatusBar>(ID_VIEW_STATUS_BAR),
        OnCommand<&CMainFrame::ToggleToolBar>(ID_VIEW_TOOLBAR),
        OnCommand<&CMainFrame::ToggleFastText>(ID_VIEW_FAST_TEXT),
        OnCommand<&CMainFrame::OnExit>(ID_APP_EXIT),
    };
    static const MessageMap map{CFrameWnd::GetMessageMap(), kEntries};
    return &map;
}

bool CMainFrame::Create() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    return CreateEx(0, L"Brivane", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, 800, 600, nullptr, menu);
}

int CMainFrame::OnCreate(const CREATESTRUCTW&) {
    if (Default() == -1) {
        return -1;
    }
    // The page view fills what the bars leave.
    if (!view_->Create(GetSafeHwnd(), kViewId)) {
        return -1;
    }
    SetActiveView(view_.get());

    if (!m_wndStatusBar.Create(GetSafeHwnd(), ID_VIEW_STATUS_BAR)) {
        return -1;
    }
    AddBar(&m_wndStatusBar);
    RECT window;
    GetWindowRect(GetSafeHwnd(), &window);
    const int width = window.right - window.left;
    m_wndProgress = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD,
                                    std::max(0, (width - kProgressWidth) / 2), 0, kProgressWidth,
                                    m_wndStatusBar.BarHeight(), m_wndStatusBar.BarWindow(),
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kProgressId)),
                                    GetModuleHandleW(nullptr), nullptr);
    if (m_wndProgress != nullptr) {
        ShowWindow(m_wndProgress, SW_SHOW);
    }

    if (!m_wndAddressBar.CreateBar(GetSafeHwnd(), CAddressBar::kTemplateId,
                                   CControlBar::Edge::Top)) {
        return -1;
    }
    AddBar(&m_wndAddressBar);
    m_bmpLogo.reset(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_LOGO)));
    if (m_wndToolButton.Create(GetSafeHwnd(), ID_VIEW_TOOLBAR)) {
        AddBar(&m_wndToolButton);
    }
    RecalcLayout();
    return 0;
}

void CMainFrame::DrawLogoFrame() {
    if (!HasWindow() || !m_bmpLogo) {
        return;
    }
    // Straight into the window's frame, at the right end of the menu-bar row.
    WindowDC dc(GetSafeHwnd(), true);
    RECT window;
    GetWindowRect(GetSafeHwnd(), &window);
    const int x = (window.right - window.left) - kLogoFrameWidth - GetSystemMetrics(SM_CXEDGE) -
                  GetSystemMetrics(SM_CXFRAME);
    const int y = GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION);
    MemoryDC strip(dc.get());
    {
        SelectInto select(strip.get(), m_bmpLogo.get());
        BitBlt(dc.get(), x, y, kLogoFrameWidth, GetSystemMetrics(SM_CYMENU) - 1, strip.get(),
               logoFrameIndex * kLogoFrameWidth, 0, SRCCOPY);
    }
    logoFrameIndex = (logoFrameIndex + 1) % kLogoFramesShown;
}

int CMainFrame::nextLogoFrame() {
    return logoFrameIndex;
}

void CMainFrame::OnPaint() {
    { PaintDC paint(GetSafeHwnd()); }
    DrawLogoFrame();
}

void CMainFrame::SetStatusText(const std::string& text) {
    m_wndStatusBar.SetText(text);
}

std::string CMainFrame::LookUpAddress(const std::string& fileName) const {
    return view_->session().LookUpAddress(fileName);
}

bool CMainFrame::ProgressShown() const {
    return m_bProgressEnabled != 0 && m_wndProgress != nullptr && IsWindowVisible(m_wndProgress);
}

void CMainFrame::PlaceProgressBar() {
    RECT window;
    GetWindowRect(GetSafeHwnd(), &window);
    const int width = window.right - window.left;
    SetWindowPos(m_wndProgress, nullptr, std::max(0, (width - kProgressWidth) / 2), 1,
                 kProgressWidth, m_wndStatusBar.BarHeight() - 1, SWP_NOZORDER);
    InvalidateRect(m_wndProgress, nullptr, TRUE);
}

void CMainFrame::SetProgressRange(int lower, int upper) {
    if (ProgressShown()) {
        PlaceProgressBar();
        SendMessageW(m_wndProgress, PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
    }
}

void CMainFrame::SetProgressPos(int position) {
    if (ProgressShown()) {
        PlaceProgressBar();
        SendMessageW(m_wndProgress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
}

void CMainFrame::AdvanceProgress(int delta) {
    if (ProgressShown()) {
        PlaceProgressBar();
        SendMessageW(m_wndProgress, PBM_DELTAPOS, static_cast<WPARAM>(delta), 0);
    }
}

void CMainFrame::LayoutAddressCombo() {
    HWND combo = m_wndAddressBar.combo();
    if (combo == nullptr) {
        return;
    }
    RECT bar, box;
    GetClientRect(m_wndAddressBar.BarWindow(), &bar);
    GetClientRect(combo, &box);
    const int height = box.bottom - box.top;
    SetWindowPos(combo, nullptr, 60, (bar.bottom - bar.top - height) / 2, bar.right - bar.left - 60,
                 height, SWP_NOZORDER | SWP_NOREDRAW);
}

void CMainFrame::OnSize(UINT, SIZE) {
    Default();
    RecalcLayout();
    if (m_wndProgress != nullptr && IsWindowVisible(m_wndProgress)) {
        PlaceProgressBar();
    }
    if (m_wndAddressBar.IsVisible()) {
        LayoutAddressCombo();
        RedrawWindow(GetSafeHwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

LRESULT CMainFrame::OnActivate(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (const TokenList* page = view_->currentPage()) {
        SetWindowTextW(GetSafeHwnd(), Widen(WindowTitleFor(page->title())).c_str());
    }
    return result;
}

void CMainFrame::ToggleBar(CControlBar& bar, int& flag, uint8_t& setting) {
    flag = flag ? 0 : 1;
    bar.Show(flag != 0);
    RecalcLayout();
    setting = static_cast<uint8_t>(flag);
}

void CMainFrame::ToggleAddressBar() {
    ToggleBar(m_wndAddressBar, m_bAddressBarVisible, Settings().addressBarVisible);
}

void CMainFrame::ToggleToolBar() {
    if (m_wndToolButton.HasWindow()) {
        ToggleBar(m_wndToolButton, m_bToolBarVisible, Settings().toolBarVisible);
    }
}

void CMainFrame::ToggleStatusBar() {
    ToggleBar(m_wndStatusBar, m_bStatusBarVisible, Settings().statusBarVisible);
}

void CMainFrame::ToggleFastText() {
    // Kept with the bars' settings, at the next save.
    uint8_t& wait = Settings().messageWait;
    wait = wait != 0 ? 0 : 1;
}

void CMainFrame::HideBarAtStartUp(UINT command) {
    switch (command) {
        case ID_VIEW_ADDRESSBAR:
            m_wndAddressBar.Show(false);
            m_bAddressBarVisible = 0;
            break;
        case ID_VIEW_TOOLBAR:
            m_wndToolButton.Show(false);
            m_bToolBarVisible = 0;
            break;
        case ID_VIEW_STATUS_BAR:
            m_wndStatusBar.Show(false);
            m_bStatusBarVisible = 0;
            break;
        default:
            return;
    }
    RecalcLayout();
}

bool CMainFrame::IsCommandChecked(UINT id, bool& checked) {
    switch (id) {
        case ID_VIEW_ADDRESSBAR:
            checked = m_bAddressBarVisible != 0;
            return true;
        case ID_VIEW_TOOLBAR:
            checked = m_bToolBarVisible != 0;
            return true;
        case ID_VIEW_STATUS_BAR:
            checked = m_bStatusBarVisible != 0;
            return true;
        case ID_VIEW_FAST_TEXT:
            checked = Settings().messageWait == 0;
            return true;
        default:
            return false;
    }
}

bool CMainFrame::RouteCommand(WPARAM wParam, LPARAM lParam) {
    return OnFavouriteCommand(wParam) || CFrameWnd::RouteCommand(wParam, lParam) ||
           (m_wndToolButton.HasWindow() && m_wndToolButton.HandleCommand(wParam, lParam));
}

void CMainFrame::OnExit() {
    DestroyWindow();
}

void CMainFrame::OnDestroy() {
    Default();
    // The bars go first; the view, a child, is destroyed after this and saves then.
    m_wndAddressBar.DestroyWindow();
    m_wndToolButton.DestroyWindow();
    if (m_wndProgress != nullptr) {
        ::DestroyWindow(m_wndProgress);
        m_wndProgress = nullptr;
    }
    m_wndStatusBar.Destroy();
    PostQuitMessage(0);
}

namespace {

// A title as a menu item shows it: an "&" is a letter, not a mnemonic.
std::wstring MenuText(const std::string& title) {
    std::wstring text;
    for (wchar_t c : Widen(title)) {
        text += c;
        if (c == L'&') {
            text += L'&';
        }
    }
    return text;
}

}  // namespace

void CMainFrame::RebuildFavouritesMenu() {
    HMENU menu = GetSubMenu(GetMenu(GetSafeHwnd()), 3);
    if (menu == nullptr) {
        return;
    }
    // Everything after the two fixed items and their separator.
    while (GetMenuItemCount(menu) > 3 && DeleteMenu(menu, 3, MF_BYPOSITION)) {
    }
    const std::vector<Favourite>& favourites = view_->favourites();
    for (const FavouriteMenuItem& item : PlanFavouritesMenu(favourites.size())) {
        AppendMenuW(menu, MF_STRING | (item.newColumn ? MF_MENUBARBREAK : 0), item.command,
                    MenuText(favourites[item.index].title).c_str());
    }
    DrawMenuBar(GetSafeHwnd());
}

bool CMainFrame::OnFavouriteCommand(WPARAM wParam) {
    // Menus give notification code 0; the favourites have no other way in.
    if (HIWORD(wParam) != 0 || LOWORD(wParam) < kFirstFavouriteCommand ||
        LOWORD(wParam) >= kFirstFavouriteCommand + kFavouriteCommands) {
        return false;
    }
    if (const std::optional<size_t> index =
            FavouriteForCommand(LOWORD(wParam), view_->favourites().size())) {
        view_->bookmarks().OpenFavourite(*index);
    }
    return true;
}

void CMainFrame::FavouritesChanged() {
    if (CFavouritesWnd* window = view_->favouritesWindow()) {
        window->SetFavouriteList(&view_->bookmarks());
    }
    RebuildFavouritesMenu();
    // Kept at once, not only at the next page.
    view_->SaveState();
}

void CMainFrame::OnAddFavourite() {
    if (view_->currentPage() == nullptr) {
        return;
    }
    CFavouriteAddDlg dialog(GetSafeHwnd());
    if (dialog.DoModal() == IDOK && view_->bookmarks().AddCurrentPage()) {
        FavouritesChanged();
    }
}

void CMainFrame::OnDeleteFavourites() {
    CFavouriteDeleteDlg dialog(GetSafeHwnd(), view_->bookmarks(), [this] { FavouritesChanged(); });
    dialog.DoModal();
    if (CFavouritesWnd* window = view_->favouritesWindow()) {
        window->SetFavouriteList(&view_->bookmarks());
    }
}

void CMainFrame::OnRegisterHome() {
    CHomePageDlg dialog(GetSafeHwnd(), view_->bookmarks());
    if (const TokenList* page = view_->currentPage()) {
        dialog.m_strCurrentFile = page->name();
        dialog.m_strCurrentAddress = page->address();
    }
    dialog.DoModal();
    view_->SaveState();
}
