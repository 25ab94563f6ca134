#include "story/MessageWnd.h"

#include <algorithm>
#include <cstdio>

#include "framework/Text.h"
#include "resource.h"
#include "story/PasswordDlg.h"
#include "story/SceneHost.h"

namespace {

SIZE TextSize(HDC dc, std::string_view text) {
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

void PutText(HDC dc, int x, int y, std::string_view text) {
    const std::wstring wide = Widen(text);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

}  // namespace

CMessageWnd::CMessageWnd(HWND owner, GameState& state, const PasswordLists& passwords,
                         SceneHost& host)
    : CDialog(IDD_MESSAGE, owner),
      state_(state),
      passwords_(passwords),
      host_(host),
      m_wndPicture(host) {}

CMessageWnd::~CMessageWnd() = default;

bool CMessageWnd::LoadTousText(const Archive& textArchive, int number) {
    return scene_.Load(textArchive, ScenarioKind::Message, number);
}

bool CMessageWnd::LoadSugaText(const Archive& textArchive, int number) {
    return scene_.Load(textArchive, ScenarioKind::Note, number);
}

const MessageMap* CMessageWnd::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CMessageWnd::OnNextStep>(WM_MSG_NEXTSTEP),
        OnMessage<&CMessageWnd::OnFinish>(WM_MSG_FINISH),
        OnMessage<&CMessageWnd::OnPaint>(WM_PAINT),
        OnMessage<&CMessageWnd::OnLeftButtonUp>(WM_LBUTTONUP),
        OnMessage<&CMessageWnd::OnTimer>(WM_TIMER),
    };
    static const MessageMap map{CDialog::GetMessageMap(), kEntries};
    return &map;
}

BOOL CMessageWnd::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND hwnd = GetSafeHwnd();

    m_bmpCanvas.reset(CreateCanvas());
    ClearCanvas();

    RECT window;
    GetWindowRect(hwnd, &window);
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);

    if (CreatePictureWindow()) {
        StackWindows();
    }

    Repaint();
    typewriter_.ResetPen();
    PostNextStep();
    return TRUE;
}

HBITMAP CMessageWnd::CreateCanvas() {
    WindowDC screen(nullptr);
    return CreateBitmap(kCanvasWidth, kCanvasHeight,
                        static_cast<UINT>(GetDeviceCaps(screen.get(), PLANES)),
                        static_cast<UINT>(GetDeviceCaps(screen.get(), BITSPIXEL)), nullptr);
}

bool CMessageWnd::CreatePictureWindow() {
    // Owned by this window: it stays above it and goes with it.
    return m_wndPicture.Create(GetSafeHwnd());
}

void CMessageWnd::StackWindows() {
    // The picture window stands right above this one, both as high on the
    // screen as they fit; the picture window gives up height when they do not.
    HWND picture = m_wndPicture.GetSafeHwnd();
    RECT pictureRect, messageRect;
    GetWindowRect(picture, &pictureRect);
    GetWindowRect(GetSafeHwnd(), &messageRect);
    const int pictureHeight = pictureRect.bottom - pictureRect.top;
    const int messageHeight = messageRect.bottom - messageRect.top;
    const int overflow = pictureHeight + messageHeight - GetSystemMetrics(SM_CYSCREEN);
    int top = 0;
    int height = pictureHeight;
    if (overflow >= 0) {
        height = std::max(0, pictureHeight - overflow);
    } else {
        top = (-overflow) >> 1;
    }
    MoveWindow(picture, pictureRect.left, top, pictureRect.right - pictureRect.left, height, TRUE);
    MoveWindow(GetSafeHwnd(), messageRect.left, top + height, messageRect.right - messageRect.left,
               messageHeight, TRUE);
}

void CMessageWnd::PostNextStep() {
    PostMessageW(GetSafeHwnd(), WM_MSG_NEXTSTEP, 0, 0);
}

LRESULT CMessageWnd::OnNextStep(WPARAM, LPARAM) {
    // One step at a time: nothing while a line, a fade or the window's end runs.
    if (ended_ || fade_ != Fade::None || typewriter_.typing() || m_bWaitClick != 0) {
        return 0;
    }
    const SceneStep step = scene_.Next(state_);
    switch (step.kind) {
        case SceneStep::Kind::End:
            m_nStep = 0;
            PostMessageW(GetSafeHwnd(), WM_MSG_FINISH, 0, 0);
            break;
        case SceneStep::Kind::Password:
            AskPassword(step.slot);
            break;
        case SceneStep::Kind::Picture:
            ChangePicture(step);
            break;
        case SceneStep::Kind::Label:
            ShowLabel(step.line);
            break;
        case SceneStep::Kind::Text:
            StartText(step.line);
            break;
    }
    return 0;
}

void CMessageWnd::AskPassword(int slot) {
    CPasswordDlg dialog(GetSafeHwnd(), slot, state_, passwords_);
    if (dialog.DoModal() != CPasswordDlg::kAccepted) {
        // Given up: the scene ends here, without its closing fade.
        End(1);
        return;
    }
    scene_.PasswordAccepted(state_);
    PostNextStep();
}

void CMessageWnd::ChangePicture(const SceneStep& step) {
    m_nStep = 0;
    if (!m_wndPicture.HasWindow()) {
        // No window to show it in: the browser opens the picture's page
        // instead, and the scene goes on.
        char page[32];
        std::snprintf(page, sizeof page, "tou%04d.htm", ScenePictureNumber(step.line).value_or(0));
        host_.OpenPage(page);
        PostNextStep();
        return;
    }
    DibPicture& shown = m_wndPicture.picture();
    host_.LoadPicture(host_.PictureName(step.picture), m_picNext);
    if (!m_picNext.SameLayout(shown)) {
        // Missing, damaged or of another format: nothing to fade into.
        m_picNext.Unload();
        PostNextStep();
        return;
    }
    m_picPrev.CopyFrom(shown);
    fade_ = Fade::Picture;
    SetTimer(GetSafeHwnd(), kFadeTimer, kFadeInterval, nullptr);
    if (!IsWindowVisible(m_wndPicture.GetSafeHwnd())) {
        // Shown without taking the activation: clicks here go on counting.
        ShowWindow(m_wndPicture.GetSafeHwnd(), SW_SHOWNOACTIVATE);
    }
    m_wndPicture.Repaint();
}

void CMessageWnd::ShowLabel(const std::string& line) {
    ClearCanvas();
    typewriter_.ResetPen();
    int height = 0;
    DrawOnCanvas([&](HDC dc) {
        PutText(dc, 0, 0, line);
        height = TextSize(dc, line).cy;
    });
    // The text that follows starts below the label.
    typewriter_.MoveDown(height);
    Repaint();
    PostNextStep();
}

void CMessageWnd::StartText(const std::string& line) {
    // Wipes a label shown just before; the pen stays below it.
    ClearCanvas();
    typewriter_.StartLine(line);
    SetTimer(GetSafeHwnd(), kTypeTimer, typeInterval(), nullptr);
}

void CMessageWnd::OnTimer(UINT_PTR id) {
    if (ended_) {
        return;
    }
    switch (id) {
        case kTypeTimer:
            if (typewriter_.typing()) {
                TypeTick();
            }
            break;
        case kBlinkTimer:
            if (m_bWaitClick != 0) {
                Blink();
            }
            break;
        case kFadeTimer:
            if (fade_ == Fade::Picture) {
                FadeStep(id);
            }
            break;
        case kClosingFadeTimer:
            if (fade_ == Fade::Closing) {
                FadeStep(id);
            }
            break;
        case kCloseTimer:
            KillTimer(GetSafeHwnd(), kCloseTimer);
            End(1);
            break;
        default:
            break;
    }
}

void CMessageWnd::TypeTick() {
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    DrawOnCanvas([&](HDC dc) {
        const auto glyph = typewriter_.Tick(client.right, [dc](std::string_view character) {
            const SIZE size = TextSize(dc, character);
            return CharExtent{size.cx, size.cy};
        });
        if (glyph) {
            PutText(dc, glyph->x, glyph->y, glyph->text);
            return;
        }
        // The line is out: wait for a click, with the mark blinking.
        m_bWaitClick = 1;
        KillTimer(GetSafeHwnd(), kTypeTimer);
        SetTimer(GetSafeHwnd(), kBlinkTimer, kBlinkInterval, nullptr);
    });
    Repaint();
}

void CMessageWnd::Blink() {
    const Typewriter::Glyph mark = typewriter_.Blink();
    DrawOnCanvas([&](HDC dc) { PutText(dc, mark.x, mark.y, mark.text); });
    Repaint();
}

void CMessageWnd::OnLeftButtonUp(UINT, POINT) {
    // Only a click on this window, and only once the line is out.
    if (GetActiveWindow() != GetSafeHwnd() || m_bWaitClick == 0) {
        return;
    }
    KillTimer(GetSafeHwnd(), kBlinkTimer);
    PostNextStep();
    typewriter_.ResetPen();
    m_bWaitClick = 0;
}

LRESULT CMessageWnd::OnFinish(WPARAM, LPARAM) {
    if (ended_ || fade_ != Fade::None) {
        return 0;
    }
    if (!m_wndPicture.HasWindow()) {
        // Nothing to fade: only the pause before closing.
        SetTimer(GetSafeHwnd(), kCloseTimer, kCloseDelay, nullptr);
        return 0;
    }
    // To white, over exactly the picture window's own pixels.
    DibPicture& shown = m_wndPicture.picture();
    m_picPrev.CopyFrom(shown);
    m_picNext.CopyFrom(shown);
    m_picNext.Fill(0xFF);
    m_nStep = 0;
    fade_ = Fade::Closing;
    SetTimer(GetSafeHwnd(), kClosingFadeTimer, kFadeInterval, nullptr);
    return 0;
}

void CMessageWnd::FadeStep(UINT_PTR timer) {
    if (m_nStep >= kFadeSteps) {
        m_wndPicture.Repaint();
        KillTimer(GetSafeHwnd(), timer);
        m_nStep = 0;
        fade_ = Fade::None;
        m_picNext.Unload();
        m_picPrev.Unload();
        if (timer == kFadeTimer) {
            PostNextStep();
        } else {
            SetTimer(GetSafeHwnd(), kCloseTimer, kCloseDelay, nullptr);
        }
        return;
    }
    m_wndPicture.picture().Blend(m_nStep, m_picPrev, m_picNext);
    m_wndPicture.Repaint();
    ++m_nStep;
}

void CMessageWnd::End(INT_PTR result) {
    for (UINT_PTR timer : {kTypeTimer, kCloseTimer, kFadeTimer, kClosingFadeTimer, kBlinkTimer}) {
        KillTimer(GetSafeHwnd(), timer);
    }
    ended_ = true;
    fade_ = Fade::None;
    m_bWaitClick = 0;
    EndDialog(result);
}

template <typename Draw>
void CMessageWnd::DrawOnCanvas(const Draw& draw) {
    WindowDC screen(nullptr);
    MemoryDC dc(screen.get());
    if (!m_bmpCanvas) {
        // Without a canvas the text is still measured and typed, unseen, so
        // that the scene reaches its end.
        draw(dc.get());
        return;
    }
    SelectInto select(dc.get(), m_bmpCanvas.get());
    draw(dc.get());
}

void CMessageWnd::ClearCanvas() {
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    DrawOnCanvas(
        [&](HDC dc) { FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))); });
}

void CMessageWnd::Repaint() {
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CMessageWnd::OnPaint() {
    PaintDC paint(GetSafeHwnd());
    if (!m_bmpCanvas) {
        return;
    }
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    MemoryDC memory(paint.get());
    SelectInto select(memory.get(), m_bmpCanvas.get());
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}
