#include "framework/ScrollView.h"

#include <algorithm>

#include "framework/Gdi.h"

bool CScrollView::Create(HWND parent, UINT id) {
    return CreateEx(WS_EX_CLIENTEDGE, L"",
                    WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, 0, 0, 0, 0,
                    parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

const MessageMap* CScrollView::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CScrollView::OnPaint>(WM_PAINT),
        OnMessage<&CScrollView::OnSize>(WM_SIZE),
        OnMessage<&CScrollView::OnVScroll>(WM_VSCROLL),
        OnMessage<&CScrollView::OnHScroll>(WM_HSCROLL),
        OnMessage<&CScrollView::OnMouseWheel>(WM_MOUSEWHEEL),
    };
    static const MessageMap map{CWnd::GetMessageMap(), kEntries};
    return &map;
}

void CScrollView::SetScrollSizes(int width, int height) {
    total_ = {std::max(0, width), std::max(0, height)};
    UpdateBars();
}

void CScrollView::UpdateBars() {
    if (!HasWindow()) {
        return;
    }
    // Twice: a bar that appears takes room from the other direction. A bar
    // whose page holds the whole size goes away.
    for (int pass = 0; pass < 2; ++pass) {
        RECT rc;
        GetClientRect(GetSafeHwnd(), &rc);
        const int sizes[2] = {total_.width, total_.height};
        const int pages[2] = {rc.right, rc.bottom};
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
            SetScrollInfo(GetSafeHwnd(), bars[i], &info, TRUE);
        }
    }
    // Child windows placed over the drawing move with it.
    if (position_.x != childrenAt_.x || position_.y != childrenAt_.y) {
        ScrollWindow(GetSafeHwnd(), childrenAt_.x - position_.x, childrenAt_.y - position_.y,
                     nullptr, nullptr);
        childrenAt_ = position_;
    }
    InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

void CScrollView::ScrollToPosition(Point position) {
    position_ = position;
    UpdateBars();
}

void CScrollView::OnSize(UINT, SIZE) {
    UpdateBars();
}

int CScrollView::Scroll(int bar, int code, int thumb) {
    RECT rc;
    GetClientRect(GetSafeHwnd(), &rc);
    const bool vertical = bar == SB_VERT;
    const int total = vertical ? total_.height : total_.width;
    const int client = vertical ? rc.bottom : rc.right;
    const int page = std::max(1, total / 10);
    const int line = std::max(1, page / 10);
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
    UpdateBars();
    return pos;
}

void CScrollView::ScrollBy(int bar, WPARAM wParam) {
    // The thumb's place while it is dragged comes from the bar itself.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(GetSafeHwnd(), bar, &info);
    Scroll(bar, LOWORD(wParam), info.nTrackPos);
}

LRESULT CScrollView::OnVScroll(WPARAM wParam, LPARAM) {
    ScrollBy(SB_VERT, wParam);
    return 0;
}

LRESULT CScrollView::OnHScroll(WPARAM wParam, LPARAM) {
    ScrollBy(SB_HORZ, wParam);
    return 0;
}

LRESULT CScrollView::OnMouseWheel(WPARAM wParam, LPARAM) {
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    for (int i = 0; i < 3 * std::abs(notches); ++i) {
        Scroll(SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    }
    return 0;
}

void CScrollView::OnPaint() {
    PaintDC paint(GetSafeHwnd());
    SetViewportOrgEx(paint.get(), -position_.x, -position_.y, nullptr);
    OnDraw(paint.get());
}
