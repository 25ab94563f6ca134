#pragma once

#include <array>

#include "framework/Dialog.h"
#include "framework/SoundPlayer.h"
#include "game/TitleShow.h"
#include "picture/DibPicture.h"

// The title screen, run modally before the browser window exists: a 640 x 480
// picture with looping music. After 12 s it turns into a slide show of cross
// fades; a click during the show returns to the still title. Ends with 1 to
// start the game (Enter at any time, or a click on the still title), 0 to quit
// (Escape, or closing it), and 2 on the quit command.
class CTitleDialog : public CDialog {
  public:
    explicit CTitleDialog(MediaControl& media = SystemMediaControl());
    ~CTitleDialog() override;

    static constexpr int kWidth = kTitleWidth;
    static constexpr int kHeight = kTitleHeight;
    // Only the strip at the foot of the picture is repainted by a strip fade.
    static constexpr RECT kStripRect = {0, kTitleHeight - kTitleStripRows, kTitleWidth,
                                        kTitleHeight};

    const TitleShow& show() const { return show_; }
    const DibPicture& screen() const { return screen_; }
    CSoundPlayer& player() { return player_; }

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    // Only the dialog's own command handling ends it.
    void OnOK() override {}
    void OnCancel() override {}
    bool RouteCommand(WPARAM wParam, LPARAM lParam) override;
    // The window's timers; tests drive the show themselves instead.
    virtual void StartTimer(UINT id, UINT periodMs);
    virtual void StopTimer(UINT id);

  private:
    void OnPaint();
    BOOL OnEraseBackground(HDC dc);
    void OnLeftButtonUp(UINT flags, POINT at);
    void OnTimer(UINT_PTR id);
    LRESULT OnSoundNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    void SetTimers(const TitleStep& step);
    // The window size whose client area is 640 x 480.
    SIZE FullWindowSize() const;

    CSoundPlayer player_;
    TitleShow show_;
    DibPicture screen_;
    std::array<DibPicture, kTitlePictureCount> pictures_;
};
