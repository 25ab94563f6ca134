#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>

#include "html/Canvas.h"

// Character sizes by font: a page measures every character on its own, and
// most characters repeat.
class TextMetricsCache {
  public:
    // The size of character `code` (one or two code page 932 bytes, packed)
    // in `fontSpec`, measured with `dc` when it is not known yet.
    Size CharacterSize(HDC dc, const FontSpec& fontSpec, uint32_t code, std::string_view bytes);

  private:
    static uint64_t Key(const FontSpec& fontSpec, uint32_t code);
    std::unordered_map<uint64_t, Size> sizes_;
};

// The page engine's drawing on a GDI device context. Every GDI object made for
// a drawing step is released at its end; fonts live as long as their
// CanvasFont.
class GdiCanvas : public Canvas {
  public:
    explicit GdiCanvas(HDC dc);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

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

    HDC dc() const { return dc_; }

  private:
    HDC dc_;
    int savedState_;
    const CanvasFont* font_ = nullptr;
    TextMetricsCache metrics_;
};

// Draws a part of a picture onto `dc`: the source rectangle (from the picture's
// top left, as shown) is stretched into the destination one.
void DrawDib(HDC dc, const DibPicture& picture, const Rect& destination, const Rect& source,
             DWORD rasterOperation = SRCCOPY);
