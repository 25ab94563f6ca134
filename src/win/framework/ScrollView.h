#pragma once

#include "framework/Window.h"
#include "html/Geometry.h"

// A child window that shows a larger drawing through scroll bars. Derived
// views draw in OnDraw at drawing coordinates; the device context is already
// offset by the scroll position. Child windows scroll with the drawing.
class CScrollView : public CWnd {
  public:
    bool Create(HWND parent, UINT id);

    // The drawing's size; the page step is a tenth of it and the line step a
    // tenth of that, as the framework does by default.
    void SetScrollSizes(int width, int height);
    Size totalSize() const { return total_; }
    Point GetScrollPosition() const { return position_; }
    void ScrollToPosition(Point position);

  protected:
    const MessageMap* GetMessageMap() const override;
    virtual void OnDraw(HDC dc) = 0;

  private:
    void OnPaint();
    void OnSize(UINT type, SIZE size);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    void UpdateBars();
    int Scroll(int bar, int code, int thumb);
    void ScrollBy(int bar, WPARAM wParam);

    Size total_;
    Point position_;
    Point childrenAt_;  // the scroll position the child windows stand for
};
