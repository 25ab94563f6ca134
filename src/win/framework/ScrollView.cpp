#include "framework/ScrollView.h"

#include <algorithm>

#include "framework/Gdi.h"

void ScrollBars::SetTotal(HWND window, Size total) {
    total_ = {std::max(0, total.width), std::max(0, total.height)};
    Update(window);
}

Size ScrollBars::pageStep() const {
    return {std::max(1, total_.width / 10), std::max(1, total_.height / 10)};
}

Size ScrollBars::lineStep() const {
    const Size page = pageStep();
    return {std::max(1, page.width / 10), std::max(1, page.height / 10)};
}

void ScrollBars::ScrollTo(HWND window, Point position) {
    position_ = position;
    Update(window);
}

void ScrollBars::Update(HWND window) {
    if (window == nullptr || !IsWindow(window)) {
        return;
    }
    // Decided on the client area the window would have without bars, so that
    // two bars never keep each other up once the drawing fits. A bar that
    // shows takes room from the other direction.
    RECT rc;
    GetClientRect(window, &rc);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    const int width = rc.right + ((style & WS_VSCROLL) ? barWidth : 0);
    const int height = rc.bottom + ((style & WS_HSCROLL) ? barHeight : 0);
    bool horizontal = total_.width > width;
    bool vertical = total_.height > height;
    vertical = vertical || (horizontal && total_.height > height - barHeight);
    horizontal = horizontal || (vertical && total_.width > width - barWidth);

    const int sizes[2] = {total_.width, total_.height};
    const int pages[2] = {width - (vertical ? barWidth : 0), height - (horizontal ? barHeight : 0)};
    const int bars[2] = {SB_HORZ, SB_VERT};
    int* positions[2] = {&position_.x, &position_.y};
    for (int i = 0; i < 2; ++i) {
        *positions[i] = std::clamp(*positions[i], 0, std::max(0, sizes[i] - pages[i]));
        SCROLLINFO info{sizeof info,
                        SIF_ALL,
                        0,
                        std::max(0, sizes[i] - 1),
                        static_cast<UINT>(std::max(0, pages[i])),
                        *positions[i],
                        0};
        SetScrollInfo(window, bars[i], &info, TRUE);
    }
    // Child windows placed over the drawing move with it.
    if (position_.x != childrenAt_.x || position_.y != childrenAt_.y) {
        ScrollWindow(window, childrenAt_.x - position_.x, childrenAt_.y - position_.y, nullptr,
                     nullptr);
        childrenAt_ = position_;
    }
    InvalidateRect(window, nullptr, FALSE);
}

int ScrollBars::Scroll(HWND window, int bar, int code, int thumb) {
    RECT rc;
    GetClientRect(window, &rc);
    const bool vertical = bar == SB_VERT;
    const int total = vertical ? total_.height : total_.width;
    const int client = vertical ? rc.bottom : rc.right;
    const int page = vertical ? pageStep().height : pageStep().width;
    const int line = vertical ? lineStep().height : lineStep().width;
    int pos = vertical ? position_.y : position_.x;
    switch (code) {
        case SB_LINEUP:
            pos -= line;
            break;
        case SB_LINEDOWN:
            pos += line;
            break;
        case SB_PAGEUP:
            pos -= page;
            break;
        case SB_PAGEDOWN:
            pos += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            pos = thumb;
            break;
        case SB_TOP:
            pos = 0;
            break;
        case SB_BOTTOM:
            pos = total;
            break;
        default:
            return pos;
    }
    pos = std::clamp(pos, 0, std::max(0, total - client));
    (vertical ? position_.y : position_.x) = pos;
    Update(window);
    return pos;
}

void ScrollBars::OnScrollMessage(HWND window, int bar, WPARAM wParam) {
    // The thumb's place while it is dragged comes from the bar itself.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window, bar, &info);
    Scroll(window, bar, LOWORD(wParam), info.nTrackPos);
}

void ScrollBars::OnWheel(HWND window, WPARAM wParam) {
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    for (int i = 0; i < 3 * std::abs(notches); ++i) {
        Scroll(window, SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    }
}

namespace {

constexpr DWORD kViewExStyle = WS_EX_CLIENTEDGE;
// Child windows (a page's form controls) are not painted over.
constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN;

}  // namespace

bool CScrollView::Create(HWND parent, UINT id) {
    return CreateEx(kViewExStyle, L"", kViewStyle, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

int CScrollView::WindowWidthFor(int insideWidth) {
    // The bars are left out: they take their room from the inside.
    RECT rc{0, 0, insideWidth, 0};
    AdjustWindowRectEx(&rc, kViewStyle & ~(WS_HSCROLL | WS_VSCROLL), FALSE, kViewExStyle);
    return rc.right - rc.left;
}

const MessageMap* CScrollView::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CScrollView::OnPaint>(WM_PAINT),
        OnMessage<&CScrollView::OnSize>(WM_SIZE),
        OnMessage<&CScrollView::OnVScroll>(WM_VSCROLL),
        OnMessage<&CScrollView::OnHScroll>(WM_HSCROLL),
        OnMessage<&CScrollView::OnMouseWheel>(WM_MOUSEWHEEL),
        OnMessage<&CScrollView::OnMouseActivate>(WM_MOUSEACTIVATE),
    };
    static const MessageMap map{CWnd::GetMessageMap(), kEntries};
    return &map;
}

LRESULT CScrollView::OnMouseActivate(WPARAM, LPARAM) {
    // A click into the view gives it the keyboard, from a bar's box too.
    const LRESULT result = Default();
    if (GetFocus() != GetSafeHwnd()) {
        SetFocus(GetSafeHwnd());
    }
    return result;
}

void CScrollView::SetScrollSizes(int width, int height) {
    bars_.SetTotal(GetSafeHwnd(), {width, height});
}

void CScrollView::OnSize(UINT, SIZE) {
    bars_.Update(GetSafeHwnd());
}

LRESULT CScrollView::OnVScroll(WPARAM wParam, LPARAM) {
    bars_.OnScrollMessage(GetSafeHwnd(), SB_VERT, wParam);
    return 0;
}

LRESULT CScrollView::OnHScroll(WPARAM wParam, LPARAM) {
    bars_.OnScrollMessage(GetSafeHwnd(), SB_HORZ, wParam);
    return 0;
}

LRESULT CScrollView::OnMouseWheel(WPARAM wParam, LPARAM) {
    bars_.OnWheel(GetSafeHwnd(), wParam);
    return 0;
}

void CScrollView::OnPaint() {
    PaintDC paint(GetSafeHwnd());
    const Point at = bars_.position();
    SetViewportOrgEx(paint.get(), -at.x, -at.y, nullptr);
    OnDraw(paint.get());
}
