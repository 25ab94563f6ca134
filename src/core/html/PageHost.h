#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "html/Forms.h"
#include "html/Geometry.h"

class DibPicture;

// What a page needs from the window that shows it: the view's sizes and
// scrolling, the frame's progress bar, title and visited list, the program's
// pictures, and the form controls it places in the view.
class PageHost {
  public:
    virtual ~PageHost() = default;

    // The view's client rectangle.
    virtual Rect ClientRect() const = 0;
    // The width of the view's window, scroll bars included.
    virtual int ViewWindowWidth() const = 0;
    virtual void SetScrollSizes(int width, int height) = 0;
    // Where the view is scrolled to: form controls stand in client coordinates.
    virtual Point ScrollPosition() const { return {}; }

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

    // Form controls. A host that shows no windows keeps these answers: no
    // scrolling, no search words, no windows, and captions measured at 8
    // pixels a byte and 16 high.
    //
    // The words of the last search: the text fields of a page show them when
    // it is first laid out.
    virtual std::string LastKeyword() const { return {}; }
    // The size of a button's caption in the view's font.
    virtual Size MeasureCaption(std::string_view text) {
        return {static_cast<int>(std::min<size_t>(text.size(), 1000)) * 8, 16};
    }
    // Makes a control's window as a child of the view, shown at the control's
    // rectangle; a text field's window sets the field's bottom from its own
    // height. Null when the host shows no windows.
    virtual std::unique_ptr<FormControlWindow> CreateTextField(FormTextField&) { return nullptr; }
    virtual std::unique_ptr<FormControlWindow> CreateButton(FormButton&) { return nullptr; }
};
