#pragma once

#include <string>
#include <string_view>

#include "html/Geometry.h"

class DibPicture;

// What a page needs from the window that shows it: the view's sizes and
// scrolling, the frame's progress bar, title and visited list, and the
// program's pictures.
class PageHost {
  public:
    virtual ~PageHost() = default;

    // The view's client rectangle.
    virtual Rect ClientRect() const = 0;
    // The width of the view's window, scroll bars included.
    virtual int ViewWindowWidth() const = 0;
    virtual void SetScrollSizes(int width, int height) = 0;

    virtual void SetProgressRange(int lower, int upper) = 0;
    virtual void SetProgressPos(int position) = 0;
    virtual void AdvanceProgress(int delta) = 0;

    // The main frame's window text.
    virtual void SetWindowTitle(const std::string& text) = 0;
    // Whether a page name is in the frame's list of visited pages (ASCII case ignored).
    virtual bool IsVisited(std::string_view name) const = 0;
    // Added to the height of every font of the page.
    virtual int TextSizeOffset() const = 0;

    // The picture-name rule's inputs.
    virtual bool PluginInstalled() const = 0;
    virtual bool CapsLockOn() const = 0;

    // Loads a picture from the program's archives or a loose file into `slot`
    // (empty beforehand); see DibPicture::Load.
    virtual bool LoadPicture(std::string_view name, DibPicture& slot) = 0;
};
