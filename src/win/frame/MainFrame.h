#pragma once

#include "app/AnimationTarget.h"
#include "framework/Window.h"

// The browser's top-level window: menu, accelerators and the title "Brivane".
// Bars, the page view and the logo grow here.
class CMainFrame : public CWnd, public AnimationTarget {
  public:
    CMainFrame();
    ~CMainFrame() override;

    bool Create();

    // Idle-time logo animation.
    void DrawLogoFrame() override;

    bool PreTranslateMessage(MSG& message) override;

  protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void OnPaint();
    void OnDestroy();
    void OnExit();

    HACCEL accelerators_ = nullptr;
};
