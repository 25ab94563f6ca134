#pragma once

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "game/GameState.h"
#include "game/PasswordTable.h"
#include "game/Scene.h"
#include "game/Typewriter.h"
#include "picture/DibPicture.h"
#include "story/PictureWnd.h"

class Archive;
class SceneHost;

// The scene player: types a scenario text line by line onto a 640 x 480
// canvas, shows label lines at once, cross-fades the scene's pictures into
// the picture window standing above it, asks for a password where the text
// says so, and at the end fades the picture to white and closes itself. The
// player cannot close it: Enter, Escape and the close command do nothing.
class CMessageWnd : public CDialog {
  public:
    static constexpr UINT WM_MSG_NEXTSTEP = WM_USER + 1;
    static constexpr UINT WM_MSG_FINISH = WM_USER + 3;
    enum Timer : UINT_PTR {
        kTypeTimer = 1,
        kCloseTimer = 3,
        kFadeTimer = 4,
        kClosingFadeTimer = 5,
        kBlinkTimer = 6,
    };
    static constexpr UINT kTypeInterval = 40;
    static constexpr UINT kCloseDelay = 300;
    static constexpr UINT kFadeInterval = 1;
    static constexpr UINT kBlinkInterval = 700;
    static constexpr int kFadeSteps = 9;  // k = 0..8, the last one the new picture itself
    static constexpr int kCanvasWidth = 640;
    static constexpr int kCanvasHeight = 480;

    // `owner` is disabled while the window runs.
    CMessageWnd(HWND owner, GameState& state, const PasswordLists& passwords, SceneHost& host);
    ~CMessageWnd() override;

    // "tousNN.txt" and "sugaNN.txt"; a text the archive lacks plays as an
    // empty one (false).
    bool LoadTousText(const Archive& textArchive, int number);
    bool LoadSugaText(const Archive& textArchive, int number);

    const Scene& scene() const { return scene_; }
    const Typewriter& typewriter() const { return typewriter_; }
    bool waitingForClick() const { return m_bWaitClick != 0; }
    // A fade (picture or closing) is running.
    bool fading() const { return fade_ != Fade::None; }
    bool ended() const { return ended_; }
    // Between typed characters: the system's shortest timer when the text
    // wait is off.
    UINT typeInterval() const { return state_.messageWait != 0 ? kTypeInterval : 0; }
    CPictureWnd& pictureWindow() { return m_wndPicture; }

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    // Makes the picture window; false when it cannot be had.
    virtual bool CreatePictureWindow();
    // The 640 x 480 canvas the text is drawn on, in the screen's format; null
    // when it cannot be made.
    virtual HBITMAP CreateCanvas();

  private:
    enum class Fade { None, Picture, Closing };

    void OnPaint();
    void OnLeftButtonUp(UINT flags, POINT at);
    void OnTimer(UINT_PTR id);
    LRESULT OnNextStep(WPARAM wParam, LPARAM lParam);
    LRESULT OnFinish(WPARAM wParam, LPARAM lParam);

    void StackWindows();
    void PostNextStep();
    void AskPassword(int slot);
    void ChangePicture(const SceneStep& step);
    void ShowLabel(const std::string& line);
    void StartText(const std::string& line);
    void TypeTick();
    void Blink();
    void FadeStep(UINT_PTR timer);
    void End(INT_PTR result);

    // Runs draw(dc) on the canvas.
    template <typename Draw>
    void DrawOnCanvas(const Draw& draw);
    void ClearCanvas();
    // Invalidates the window and paints it at once.
    void Repaint();

    GameState& state_;
    const PasswordLists& passwords_;
    SceneHost& host_;
    Scene scene_;
    Typewriter typewriter_;
    DibPicture m_picNext;
    DibPicture m_picPrev;
    int m_nStep = 0;
    int m_bWaitClick = 0;
    Fade fade_ = Fade::None;
    bool ended_ = false;
    BitmapHandle m_bmpCanvas;
    CPictureWnd m_wndPicture;
};
