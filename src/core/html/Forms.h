#pragma once

#include <memory>
#include <string>
#include <vector>

#include "html/Geometry.h"

struct FormGroup;

// The window of a form control: a child of the view that the page's host
// makes. Rectangles are in the view's client coordinates.
class FormControlWindow {
  public:
    virtual ~FormControlWindow() = default;
    virtual void Move(const Rect& rect) = 0;
    virtual void Show(bool shown) = 0;
    // A text field's edit text (code page 932).
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

// What text fields and buttons share: their form, their place as last laid
// out, and their window (null when the host shows no windows).
struct FormControl {
    FormGroup* group = nullptr;
    Rect rect;  // client coordinates: the page position less the scroll position
    std::unique_ptr<FormControlWindow> window;
};

// An "<input" of type text or password.
struct FormTextField : FormControl {
    // A field's height until its window tells its own: the edit control of
    // the game's dialog is as tall.
    static constexpr int kDefaultHeight = 20;
    static constexpr int kCharacterWidth = 8;

    bool password = false;
    bool changed = false;
    std::string name;
    std::string initialValue;

    // At (x, y), `characters` wide.
    void Place(int x, int y, int characters);
};

// An "<input" of type submit or reset.
struct FormButton : FormControl {
    bool submit = false;
    std::string caption;
    std::string action;  // the "name" value: what a submit opens or does

    // At (x, y), as large as a caption of `width` x `height` and 6 pixels taller.
    void Place(int x, int y, int width, int height);
};

// One form of a page: its buttons and its text fields in the order they were
// made. An "<input" outside any "<form" has a group of its own too.
struct FormGroup {
    std::vector<std::unique_ptr<FormButton>> buttons;
    std::vector<std::unique_ptr<FormTextField>> fields;

    // The first text field whose name holds "keyword", or null.
    FormTextField* FindKeywordField() const;
};
