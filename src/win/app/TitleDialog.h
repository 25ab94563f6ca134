#pragma once

#include "framework/Dialog.h"

// The title screen, run modally before the browser window exists. Ends with
// 1 to start the game (Enter, or a click), 0 to quit (Escape, or closing it),
// and 2 on the quit command.
class CTitleDialog : public CDialog {
  public:
    CTitleDialog();

    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

  private:
    void OnPaint();
    BOOL OnEraseBackground(HDC dc);
    void OnLeftButtonUp(UINT flags, POINT at);
    void OnQuit();
};
