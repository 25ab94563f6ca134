#include "story/PictureWnd.h"

#include "framework/Gdi.h"
#include "framework/GdiCanvas.h"
#include "resource.h"
#include "story/SceneHost.h"

CPictureWnd::CPictureWnd(SceneHost& host) : CDialog(IDD_PICTURE), host_(host) {}

const MessageMap* CPictureWnd::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CPictureWnd::OnPaint>(WM_PAINT),
        OnMessage<&CPictureWnd::OnEraseBackground>(WM_ERASEBKGND),
        OnMessage<&CPictureWnd::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
        OnMessage<&CPictureWnd::OnSize>(WM_SIZE),
        OnMessage<&CPictureWnd::OnHScroll>(WM_HSCROLL),
        OnMessage<&CPictureWnd::OnVScroll>(WM_VSCROLL),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

void CPictureWnd::LoadWhitePicture() {
    host_.LoadPicture(kScenePictureFormat, picture_);
    WhitenScenePicture(picture_);
}

BOOL CPictureWnd::OnInitDialog() {
    CDialog::OnInitDialog();
    LoadWhitePicture();

    // A client area of exactly 640 x 480, keeping the top-left corner, then
    // centred on the screen.
    HWND hwnd = GetSafeHwnd();
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    frame_ = {(window.right - window.left) - client.right,
              (window.bottom - window.top) - client.bottom};
    const int width = frame_.cx + kWidth;
    const int height = frame_.cy + kHeight;
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    bars_.SetTotal(hwnd, {kWidth, kHeight});
    return TRUE;
}

void CPictureWnd::Repaint() {
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CPictureWnd::OnPaint() {
    PaintDC paint(GetSafeHwnd());
    const Point at = bars_.position();
    SetViewportOrgEx(paint.get(), -at.x, -at.y, nullptr);
    DrawDib(paint.get(), picture_, Rect::FromSize(0, 0, kWidth, kHeight),
            Rect::FromSize(0, 0, kWidth, kHeight));
}

BOOL CPictureWnd::OnEraseBackground(HDC dc) {
    // The picture covers the client area; erasing first would flicker.
    ExcludeUpdateRgn(dc, GetSafeHwnd());
    return TRUE;
}

LRESULT CPictureWnd::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
    if (frame_.cx < 0) {
        return 0;  // not sized yet: the system's limits
    }
    auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
    const int width = frame_.cx + kWidth;
    const int height = frame_.cy + kHeight;
    info.ptMaxSize = {width, height};
    info.ptMaxTrackSize = {width, height};
    info.ptMaxPosition = {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                          (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
    return 0;
}

void CPictureWnd::OnSize(UINT, SIZE) {
    bars_.Update(GetSafeHwnd());
}

LRESULT CPictureWnd::OnHScroll(WPARAM wParam, LPARAM) {
    bars_.OnScrollMessage(GetSafeHwnd(), SB_HORZ, wParam);
    return 0;
}

LRESULT CPictureWnd::OnVScroll(WPARAM wParam, LPARAM) {
    bars_.OnScrollMessage(GetSafeHwnd(), SB_VERT, wParam);
    return 0;
}
