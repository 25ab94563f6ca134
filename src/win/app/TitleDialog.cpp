#include "app/TitleDialog.h"

#include "app/BrApp.h"
#include "framework/Gdi.h"
#include "framework/Text.h"
#include "resource.h"

CTitleDialog::CTitleDialog() : CDialog(IDD_TITLE) {}

const MessageMap* CTitleDialog::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CTitleDialog::OnPaint>(WM_PAINT),
        OnMessage<&CTitleDialog::OnEraseBackground>(WM_ERASEBKGND),
        OnMessage<&CTitleDialog::OnLeftButtonUp>(WM_LBUTTONUP),
        OnCommand<&CTitleDialog::OnQuit>(ID_TITLE_QUIT),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

BOOL CTitleDialog::OnInitDialog() {
    HWND hwnd = GetSafeHwnd();
    SetWindowTextW(hwnd, Widen(LoadResourceString(IDS_APP_TITLE)).c_str());
    if (auto* app = dynamic_cast<CBrApp*>(CWinApp::Current())) {
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(app->appIcon));
    }
    // A client area of exactly 640 x 480, keeping the top-left corner.
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    const int width = (window.right - window.left) - (client.right - client.left) + kWidth;
    const int height = (window.bottom - window.top) - (client.bottom - client.top) + kHeight;
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(hwnd, nullptr, FALSE);
    return TRUE;
}

void CTitleDialog::OnOK() {
    EndDialog(1);
}

void CTitleDialog::OnCancel() {
    EndDialog(0);
}

void CTitleDialog::OnQuit() {
    EndDialog(2);
}

void CTitleDialog::OnLeftButtonUp(UINT, POINT) {
    PostMessageW(GetSafeHwnd(), WM_COMMAND, IDOK, 0);
}

BOOL CTitleDialog::OnEraseBackground(HDC) {
    return TRUE;
}

void CTitleDialog::OnPaint() {
    PaintDC paint(GetSafeHwnd());
    HDC dc = paint.get();
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    BrushHandle night(CreateSolidBrush(RGB(0x1b, 0x2a, 0x4a)));
    FillRect(dc, &client, night.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xf2, 0xec, 0xd8));

    FontHandle large(CreateFontW(48, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 FIXED_PITCH | FF_MODERN, L"ＭＳ ゴシック"));
    FontHandle small(CreateFontW(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 FIXED_PITCH | FF_MODERN, L"ＭＳ ゴシック"));
    RECT title = client;
    title.bottom = client.bottom / 2;
    {
        SelectInto font(dc, large.get());
        DrawTextW(dc, Widen(LoadResourceString(IDS_APP_TITLE)).c_str(), -1, &title,
                  DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    }
    RECT hint = client;
    hint.top = client.bottom * 3 / 4;
    SelectInto font(dc, small.get());
    DrawTextW(dc, Widen("クリックか Enter ではじめる　Esc でやめる").c_str(), -1, &hint,
              DT_CENTER | DT_TOP | DT_SINGLELINE);
}
