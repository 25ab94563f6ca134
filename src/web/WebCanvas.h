#pragma once

#include "html/Canvas.h"

// The page engine's canvas on the web page's page canvas. Every size comes
// from the page face's own metrics in the core, so that a page lays out box
// for box as on the Windows edition; the page only draws.
class WebCanvas : public Canvas {
  public:
    std::unique_ptr<CanvasFont> MakeFont(const FontSpec& fontSpec) override;
    const CanvasFont* SelectFont(const CanvasFont* font) override;
    Colour SetTextColour(Colour colour) override;
    bool SetTransparentText(bool transparent) override;

    Size MeasureText(std::string_view text) override;
    void DrawCharacters(int y, std::string_view text, const int* xs) override;
    void DrawTextAt(int x, int y, std::string_view text) override;
    void DrawWrappedText(const Rect& area, std::string_view text) override;
    Size MeasureWrappedText(int width, std::string_view text) override;

    void FillRect(const Rect& area, Colour colour) override;
    void DrawEdge(const Rect& area, EdgeStyle style) override;

    void CopyPicture(const DibPicture& picture, const Rect& area) override;
    void StretchPicture(const DibPicture& picture, const Rect& area) override;
    void DrawPictureTransparent(const DibPicture& picture, const Rect& area) override;

  private:
    FontSpec fontSpec() const;
    // Draws a run at x positions one character after the other from `x`.
    void DrawRun(int x, int y, std::string_view text);

    const CanvasFont* font_ = nullptr;
    Colour textColour_ = 0;
    bool transparent_ = false;
};
