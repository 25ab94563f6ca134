#include "app/TitleDialog.h"

#include "app/BrApp.h"
#include "framework/Gdi.h"
#include "framework/GdiCanvas.h"
#include "framework/Text.h"
#include "resource.h"

namespace {

constexpr char kTitleMusic[] = "wave\\title.wav";

PictureSources TitlePictureSources() {
    auto* app = dynamic_cast<CBrApp*>(CWinApp::Current());
    if (app == nullptr) {
        return {};
    }
    return {&app->archives[CBrApp::kCg], &app->archives[CBrApp::kEx],
            &app->archives[CBrApp::kParts]};
}

}  // namespace

CTitleDialog::CTitleDialog(MediaControl& media) : CDialog(IDD_TITLE), player_(media) {}

CTitleDialog::~CTitleDialog() {
    // The window goes before the pictures it paints and the player it is told by.
    DestroyWindow();
}

const MessageMap* CTitleDialog::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CTitleDialog::OnPaint>(WM_PAINT),
        OnMessage<&CTitleDialog::OnEraseBackground>(WM_ERASEBKGND),
        OnMessage<&CTitleDialog::OnLeftButtonUp>(WM_LBUTTONUP),
        OnMessage<&CTitleDialog::OnTimer>(WM_TIMER),
        OnMessage<&CTitleDialog::OnSoundNotify>(MM_MCINOTIFY),
        OnMessage<&CTitleDialog::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
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
    const PictureSources sources = TitlePictureSources();
    screen_.Load(kTitleScreenPicture, sources);
    const SIZE size = FullWindowSize();
    SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(hwnd, nullptr, FALSE);
    for (size_t i = 0; i < pictures_.size(); ++i) {
        pictures_[i].Load(kTitlePictureNames[i], sources);
    }
    StartTimer(kStillTimer, TitleShow::kStillMs);
    player_.Open(kTitleMusic);
    player_.Play(hwnd);
    return TRUE;
}

SIZE CTitleDialog::FullWindowSize() const {
    RECT window, client;
    GetWindowRect(GetSafeHwnd(), &window);
    GetClientRect(GetSafeHwnd(), &client);
    return {(window.right - window.left) - (client.right - client.left) + kWidth,
            (window.bottom - window.top) - (client.bottom - client.top) + kHeight};
}

bool CTitleDialog::RouteCommand(WPARAM wParam, LPARAM) {
    // The whole identifier: Enter and a click on the still title send 1,
    // Escape and closing the window 2.
    switch (wParam) {
        case IDOK:
            EndDialog(1);
            break;
        case IDCANCEL:
            EndDialog(0);
            break;
        case ID_TITLE_QUIT:
            EndDialog(2);
            break;
        default:
            break;
    }
    return false;
}

void CTitleDialog::StartTimer(UINT id, UINT periodMs) {
    SetTimer(GetSafeHwnd(), id, periodMs, nullptr);
}

void CTitleDialog::StopTimer(UINT id) {
    KillTimer(GetSafeHwnd(), id);
}

void CTitleDialog::SetTimers(const TitleStep& step) {
    for (int id : step.stopTimers) {
        StopTimer(static_cast<UINT>(id));
    }
    if (step.startTimer != 0) {
        StartTimer(static_cast<UINT>(step.startTimer), step.periodMs);
    }
}

void CTitleDialog::OnLeftButtonUp(UINT, POINT) {
    if (show_.showingTitle()) {
        PostMessageW(GetSafeHwnd(), WM_COMMAND, IDOK, 0);
        return;
    }
    TitleStep step = show_.ReturnToTitle();
    for (int id : step.stopTimers) {
        StopTimer(static_cast<UINT>(id));
    }
    step.stopTimers.clear();
    ShowStillTitle(screen_, pictures_[0]);
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SetTimers(step);
}

void CTitleDialog::OnTimer(UINT_PTR id) {
    if (id < kStillTimer || id > kStripTimer) {
        Default();
        return;
    }
    TitleStep step = show_.OnTimer(static_cast<int>(id));
    if (step.fade == TitleStep::Fade::Strip) {
        // The strip's quick steps are timed from here, before the painting.
        StartTimer(kStripTimer, TitleShow::kStripNextMs);
        if (step.startTimer == kStripTimer) {
            step.startTimer = 0;
        }
    }
    if (step.fade != TitleStep::Fade::None) {
        ApplyTitleFade(step, screen_, pictures_);
        if (step.fade == TitleStep::Fade::Full) {
            RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        } else {
            RedrawWindow(GetSafeHwnd(), &kStripRect, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
    }
    SetTimers(step);
}

LRESULT CTitleDialog::OnSoundNotify(WPARAM wParam, LPARAM) {
    // The music loops for as long as the title is open.
    if (wParam == MCI_NOTIFY_SUCCESSFUL && player_.loop() == 1) {
        player_.Play(GetSafeHwnd());
    }
    return 0;
}

LRESULT CTitleDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam) {
    auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
    if (!HasWindow()) {
        return 0;
    }
    const SIZE size = FullWindowSize();
    info.ptMaxSize = {size.cx, size.cy};
    info.ptMaxTrackSize = {size.cx, size.cy};
    info.ptMaxPosition = {(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
                          (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
    return 0;
}

BOOL CTitleDialog::OnEraseBackground(HDC dc) {
    // Never filled: the picture covers the window.
    ExcludeUpdateRgn(dc, GetSafeHwnd());
    return TRUE;
}

void CTitleDialog::OnPaint() {
    PaintDC paint(GetSafeHwnd());
    const RECT& area = paint.area();
    if (screen_.empty()) {
        // Without its picture the title shows black rather than what lay below.
        FillRect(paint.get(), &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    // Only what needs painting, unchanged from the picture.
    const Rect part{std::max<int>(area.left, 0), std::max<int>(area.top, 0),
                    std::min<int>(area.right, screen_.width()),
                    std::min<int>(area.bottom, screen_.height())};
    if (part.IsEmpty()) {
        return;
    }
    DrawDib(paint.get(), screen_, part, part);
}
