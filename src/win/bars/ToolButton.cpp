#include "bars/ToolButton.h"

#include <vector>

#include "browser/BrView.h"
#include "browser/PageHistory.h"
#include "dialogs/FavouriteDlgs.h"
#include "frame/MainFrame.h"
#include "picture/ButtonColours.h"
#include "resource.h"

namespace {

struct ButtonPlan {
    UINT command;
    UINT normal;
    UINT pressed;
    UINT disabled;
};

constexpr ButtonPlan kButtons[CToolButton::kButtonCount] = {
    {ID_GO_BACK, IDB_BACK_NORMAL, IDB_BACK_PRESSED, IDB_BACK_DISABLED},
    {ID_GO_FORWARD, IDB_FORWARD_NORMAL, IDB_FORWARD_PRESSED, IDB_FORWARD_DISABLED},
    {ID_GO_HOME, IDB_HOME_NORMAL, IDB_HOME_PRESSED, IDB_HOME_DISABLED},
    {ID_GO_SEARCH, IDB_SEARCH_NORMAL, IDB_SEARCH_PRESSED, IDB_SEARCH_DISABLED},
    {ID_FAVOURITES_WINDOW, IDB_FAVOURITES_NORMAL, IDB_FAVOURITES_PRESSED, IDB_FAVOURITES_DISABLED},
};
constexpr int kFirstButtonLeft = chrome::kFirstToolButtonLeft;
constexpr UINT kCommandWithoutButton = 61451;

// 32-bit pixels, top row first.
BITMAPINFO TopDownInfo(const PixelGrid& grid) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = grid.width;
    info.bmiHeader.biHeight = -grid.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A bitmap's pixels as colours, top row first.
PixelGrid ReadPixels(HBITMAP bitmap) {
    BITMAP size{};
    if (GetObjectW(bitmap, sizeof size, &size) == 0 || size.bmWidth <= 0 || size.bmHeight <= 0) {
        return {};
    }
    PixelGrid grid{size.bmWidth, size.bmHeight, {}};
    grid.pixels.resize(static_cast<size_t>(grid.width) * static_cast<size_t>(grid.height));
    BITMAPINFO info = TopDownInfo(grid);
    WindowDC screen(nullptr);
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(grid.height), grid.pixels.data(),
                  &info, DIB_RGB_COLORS) == 0) {
        return {};
    }
    // Device-independent pixels hold blue in the low byte; colours red.
    for (uint32_t& p : grid.pixels) {
        p = RGB(GetBValue(p), GetGValue(p), GetRValue(p));
    }
    return grid;
}

void WritePixels(HBITMAP bitmap, PixelGrid grid) {
    for (uint32_t& p : grid.pixels) {
        p = RGB(GetBValue(p), GetGValue(p), GetRValue(p));
    }
    BITMAPINFO info = TopDownInfo(grid);
    WindowDC screen(nullptr);
    SetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(grid.height), grid.pixels.data(), &info,
              DIB_RGB_COLORS);
}

CBrView* ActiveView(HWND bar) {
    auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandle(GetParent(bar)));
    return frame != nullptr ? &frame->view() : nullptr;
}

}  // namespace

void CSysColorButton::RecolorToSystem() {
    if (!normal_) {
        return;
    }
    const std::optional<ButtonKeys> keys = TakeButtonKeys(ReadPixels(normal_.get()));
    if (!keys) {
        return;
    }
    highlightKey = keys->highlight;
    shadowKey = keys->shadow;
    borderKey = keys->border;
    const SystemButtonColours system{GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW),
                                     GetSysColor(COLOR_ACTIVEBORDER)};
    for (const BitmapHandle* bitmap : {&normal_, &pressed_, &disabled_}) {
        if (*bitmap) {
            PixelGrid grid = ReadPixels(bitmap->get());
            ::RecolorToSystem(grid, *keys, system);
            WritePixels(bitmap->get(), std::move(grid));
        }
    }
}

const MessageMap* CToolButton::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CToolButton::OnDrawItem>(WM_DRAWITEM),
        OnCommand<&CToolButton::OnBack>(ID_GO_BACK),
        OnCommand<&CToolButton::OnForward>(ID_GO_FORWARD),
        OnCommand<&CToolButton::OnHome>(ID_GO_HOME),
        OnCommand<&CToolButton::OnSearch>(ID_GO_SEARCH),
        OnCommand<&CToolButton::OnFavourites>(ID_FAVOURITES_WINDOW),
        OnCommand<&CToolButton::OnNoButton>(kCommandWithoutButton),
    };
    static const MessageMap map{CDialogBar::GetMessageMap(), kEntries};
    return &map;
}

bool CToolButton::Create(HWND parent, UINT id) {
    if (!CreateBar(parent, id, Edge::Top)) {
        return false;
    }
    RECT rect{kFirstButtonLeft, 0, kFirstButtonLeft + kButtonSize, 0};
    rect.top = (BarHeight() - kButtonSize) / 2 + 2;
    rect.bottom = rect.top + kButtonSize;
    for (size_t i = 0; i < kButtonCount; ++i) {
        const ButtonPlan& plan = kButtons[i];
        buttons_[i].Create(GetSafeHwnd(), plan.command, rect, WS_DISABLED | WS_GROUP | WS_TABSTOP);
        buttons_[i].LoadBitmaps(plan.normal, plan.pressed, 0, plan.disabled);
        OffsetRect(&rect, chrome::kToolButtonShifts[i], 0);
    }
    for (CSysColorButton& button : buttons_) {
        button.RecolorToSystem();
    }
    return true;
}

void CToolButton::UpdateButtonStates(const PageHistory& history) {
    for (size_t i = 0; i < kButtonCount; ++i) {
        bool enabled = true;
        if (kButtons[i].command == ID_GO_BACK) {
            enabled = history.CanGoBack();
        } else if (kButtons[i].command == ID_GO_FORWARD) {
            enabled = history.CanGoForward();
        }
        if (HWND hwnd = buttons_[i].GetSafeHwnd()) {
            EnableWindow(hwnd, enabled ? TRUE : FALSE);
        }
    }
}

LRESULT CToolButton::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    for (const CSysColorButton& button : buttons_) {
        if (button.id() == item.CtlID) {
            button.DrawItem(item);
            return TRUE;
        }
    }
    return FALSE;
}

void CToolButton::OnBack() {
    if (CBrView* view = ActiveView(GetSafeHwnd())) {
        view->session().GoBack();
    }
}

void CToolButton::OnForward() {
    if (CBrView* view = ActiveView(GetSafeHwnd())) {
        view->session().GoForward();
    }
}

void CToolButton::OnHome() {
    if (CBrView* view = ActiveView(GetSafeHwnd())) {
        view->bookmarks().GoHome();
    }
}

void CToolButton::OnSearch() {
    if (CBrView* view = ActiveView(GetSafeHwnd())) {
        view->OpenPage("search.htm", CBrView::OpenMode::New);
    }
}

void CToolButton::OnFavourites() {
    CBrView* view = ActiveView(GetSafeHwnd());
    if (view != nullptr && view->favouritesWindow() != nullptr) {
        view->favouritesWindow()->ToggleVisible();
    }
}
