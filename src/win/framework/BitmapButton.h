#pragma once

#include <windows.h>

#include "framework/Gdi.h"

// An owner-drawn push button that shows one of its bitmaps for its state:
// pressed, focused, disabled or normal, the normal one standing in for any it
// lacks. Its parent passes it WM_DRAWITEM.
class CBitmapButton {
  public:
    CBitmapButton() = default;
    CBitmapButton(const CBitmapButton&) = delete;
    CBitmapButton& operator=(const CBitmapButton&) = delete;
    virtual ~CBitmapButton();

    // `style` adds to a visible owner-drawn child push button.
    bool Create(HWND parent, UINT id, const RECT& rect, DWORD style);
    // Bitmap resources; 0 for none. False when the normal one cannot be loaded.
    bool LoadBitmaps(UINT normal, UINT pressed, UINT focused, UINT disabled);
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    HWND GetSafeHwnd() const { return hwnd_; }
    UINT id() const { return id_; }

  protected:
    BitmapHandle normal_;
    BitmapHandle pressed_;
    BitmapHandle focused_;
    BitmapHandle disabled_;

  private:
    HWND hwnd_ = nullptr;
    UINT id_ = 0;
};
