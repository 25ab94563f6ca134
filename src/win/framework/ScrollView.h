#pragma once

#include "framework/Window.h"
#include "html/Geometry.h"

// A window's view of a larger drawing through its scroll bars: the drawing's
// size, the scroll position, and the bars that show them. The page step is a
// tenth of the size and the line step a tenth of that, as the framework does
// by default.
class ScrollBars {
  public:
    void SetTotal(HWND window, Size total);
    Size total() const { return total_; }
    Point position() const { return position_; }
    Size pageStep() const;
    Size lineStep() const;

    void ScrollTo(HWND window, Point position);
    // Fits the bars to the client area: a bar shows only while the client is
    // smaller than the drawing, and the position stays within its range.
    void Update(HWND window);
    // A scroll-bar code (SB_LINEUP ...) on SB_HORZ or SB_VERT; the new position.
    int Scroll(HWND window, int bar, int code, int thumb);
    // WM_HSCROLL and WM_VSCROLL.
    void OnScrollMessage(HWND window, int bar, WPARAM wParam);
    // WM_MOUSEWHEEL: three lines a notch.
    void OnWheel(HWND window, WPARAM wParam);

  private:
    Size total_;
    Point position_;
    Point childrenAt_;  // the scroll position the child windows stand for
};

// A child window that shows a larger drawing through scroll bars. Derived
// views draw in OnDraw at drawing coordinates; the device context is already
// offset by the scroll position. Child windows scroll with the drawing.
class CScrollView : public CWnd {
  public:
    bool Create(HWND parent, UINT id);
    // The width of a view window whose inside, without scroll bars, is
    // `insideWidth` wide: its client edge on both sides. Pages measure rules
    // against the window's width.
    static int WindowWidthFor(int insideWidth);

    void SetScrollSizes(int width, int height);
    Size totalSize() const { return bars_.total(); }
    Point GetScrollPosition() const { return bars_.position(); }
    void ScrollToPosition(Point position) { bars_.ScrollTo(GetSafeHwnd(), position); }

  protected:
    const MessageMap* GetMessageMap() const override;
    virtual void OnDraw(HDC dc) = 0;

  private:
    void OnPaint();
    void OnSize(UINT type, SIZE size);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

    ScrollBars bars_;
};
