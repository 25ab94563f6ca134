#pragma once

#include <memory>
#include <string_view>

#include "html/Attributes.h"
#include "html/Geometry.h"

class DibPicture;

// A font of the page: always the fixed-pitch Japanese face, in code page 932.
struct FontSpec {
    int height = 13;  // cell height in pixels
    bool bold = false;
    bool underline = false;
    bool operator==(const FontSpec&) const = default;
};

// A font made by a canvas; released when this object goes.
class CanvasFont {
  public:
    virtual ~CanvasFont() = default;
    virtual const FontSpec& fontSpec() const = 0;
};

// Edge styles the page draws with: one-pixel lines, light on one side and
// shadowed on the other.
enum class EdgeStyle {
    SunkenInner,  // rules
    RaisedInner,  // a table's outer edge
    SunkenOuter,  // a table cell's edge
};

// What the page engine draws on: the off-screen page bitmap, at page
// coordinates. The program's canvas draws with GDI; tests record the calls.
// (No method is named like a Windows function that <windows.h> turns into a
// macro, such as CreateFont or DrawText.)
// Setters return the value they replace, so that callers can put it back.
class Canvas {
  public:
    virtual ~Canvas() = default;

    // Null when the platform cannot make the font.
    virtual std::unique_ptr<CanvasFont> MakeFont(const FontSpec& fontSpec) = 0;
    virtual const CanvasFont* SelectFont(const CanvasFont* font) = 0;
    virtual Colour SetTextColour(Colour colour) = 0;
    // Transparent: text leaves the background as it is; opaque fills behind it.
    virtual bool SetTransparentText(bool transparent) = 0;

    // Size of a text in the selected font.
    virtual Size MeasureText(std::string_view text) = 0;
    // Draws characters of one line: character i (one or two bytes of
    // code page 932) has its top-left corner at (xs[i], y).
    virtual void DrawCharacters(int y, std::string_view text, const int* xs) = 0;
    // Draws a text with its top-left corner at (x, y).
    virtual void DrawTextAt(int x, int y, std::string_view text) = 0;
    // Draws a text inside a rectangle, breaking lines between words.
    virtual void DrawWrappedText(const Rect& area, std::string_view text) = 0;
    // The size DrawWrappedText would fill with the text in an area `width`
    // pixels wide. A word longer than the width makes the size wider.
    virtual Size MeasureWrappedText(int width, std::string_view text) = 0;

    virtual void FillRect(const Rect& area, Colour colour) = 0;
    virtual void DrawEdge(const Rect& area, EdgeStyle style) = 0;

    // Pictures: copied unchanged from the picture's top left (cut to the
    // area's size), stretched from the whole picture into the area, or drawn
    // at the area's size with every pixel of the colour of the picture's
    // top-left pixel left out. An empty picture draws nothing.
    virtual void CopyPicture(const DibPicture& picture, const Rect& area) = 0;
    virtual void StretchPicture(const DibPicture& picture, const Rect& area) = 0;
    virtual void DrawPictureTransparent(const DibPicture& picture, const Rect& area) = 0;
};

// Selects a font and text colour in transparent mode, and puts back what was
// there before when it goes.
class CanvasStateGuard {
  public:
    CanvasStateGuard(Canvas& canvas, const CanvasFont* font, Colour colour)
        : canvas_(canvas),
          font_(canvas.SelectFont(font)),
          colour_(canvas.SetTextColour(colour)),
          transparent_(canvas.SetTransparentText(true)) {}
    CanvasStateGuard(const CanvasStateGuard&) = delete;
    CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;
    ~CanvasStateGuard() {
        canvas_.SetTextColour(colour_);
        canvas_.SetTransparentText(transparent_);
        canvas_.SelectFont(font_);
    }

  private:
    Canvas& canvas_;
    const CanvasFont* font_;
    Colour colour_;
    bool transparent_;
};
