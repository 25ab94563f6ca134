#pragma once

#include "framework/Dialog.h"
#include "framework/ScrollView.h"
#include "game/Scene.h"
#include "picture/DibPicture.h"

class SceneHost;

// The window above the message window that shows a scene's pictures: one
// 640 x 480 picture, scrolled when the window is smaller. It does nothing by
// itself; the message window fades pictures into `picture()` and repaints.
class CPictureWnd : public CDialog {
  public:
    static constexpr int kWidth = kScenePictureWidth;
    static constexpr int kHeight = kScenePictureHeight;

    explicit CPictureWnd(SceneHost& host);

    DibPicture& picture() { return picture_; }
    const ScrollBars& scrollBars() const { return bars_; }
    // Invalidates the window and paints it at once.
    void Repaint();

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

  private:
    void OnPaint();
    BOOL OnEraseBackground(HDC dc);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    void OnSize(UINT type, SIZE size);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    void LoadWhitePicture();

    SceneHost& host_;
    ScrollBars bars_;
    DibPicture picture_;
    // What the frame adds to the client area; known once the window is sized.
    SIZE frame_{-1, -1};
};
