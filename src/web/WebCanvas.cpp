#include "WebCanvas.h"

#include <vector>

#include "JsBridge.h"
#include "html/PageFontMetrics.h"
#include "picture/DibPicture.h"
#include "text/ShiftJis.h"

namespace {

class WebFont : public CanvasFont {
  public:
    explicit WebFont(const FontSpec& fontSpec) : fontSpec_(fontSpec) {}
    const FontSpec& fontSpec() const override { return fontSpec_; }

  private:
    FontSpec fontSpec_;
};

enum PictureMode { kCopy = 0, kStretch = 1, kTransparent = 2 };

void DrawPicture(PictureMode mode, const DibPicture& picture, const Rect& area) {
    if (picture.empty() || area.IsEmpty()) {
        return;
    }
    const std::vector<uint8_t> rgba = picture.ToRgba(mode == kTransparent);
    if (rgba.empty()) {
        return;
    }
    js_draw_picture(mode, area.left, area.top, area.width(), area.height(), rgba.data(),
                    picture.width(), picture.height(), picture.TopLeftColour());
}

}  // namespace

std::unique_ptr<CanvasFont> WebCanvas::MakeFont(const FontSpec& fontSpec) {
    return std::make_unique<WebFont>(fontSpec);
}

const CanvasFont* WebCanvas::SelectFont(const CanvasFont* font) {
    const CanvasFont* previous = font_;
    font_ = font;
    return previous;
}

Colour WebCanvas::SetTextColour(Colour colour) {
    const Colour previous = textColour_;
    textColour_ = colour;
    return previous;
}

bool WebCanvas::SetTransparentText(bool transparent) {
    const bool previous = transparent_;
    transparent_ = transparent;
    return previous;
}

FontSpec WebCanvas::fontSpec() const {
    return font_ != nullptr ? font_->fontSpec() : FontSpec{};
}

Size WebCanvas::MeasureText(std::string_view text) {
    return MeasurePageText(fontSpec(), text);
}

void WebCanvas::DrawCharacters(int y, std::string_view text, const int* xs) {
    const size_t count = CountCharacters(text);
    if (count == 0) {
        return;
    }
    const FontSpec font = fontSpec();
    const Size cell = PageCharacterSize(font, false);
    js_draw_characters(text.data(), text.size(), xs, count, y, PageFontEmPixels(font),
                       PageFontAscent(font), font.bold, font.underline, textColour_, !transparent_,
                       cell.width, cell.height);
}

void WebCanvas::DrawRun(int x, int y, std::string_view text) {
    const FontSpec font = fontSpec();
    std::vector<int> xs;
    for (size_t i = 0; i < text.size();) {
        const bool pair = IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size();
        xs.push_back(x);
        x += PageCharacterSize(font, pair).width;
        i += pair ? 2 : 1;
    }
    DrawCharacters(y, text, xs.data());
}

void WebCanvas::DrawTextAt(int x, int y, std::string_view text) {
    DrawRun(x, y, text);
}

void WebCanvas::DrawWrappedText(const Rect& area, std::string_view text) {
    const FontSpec font = fontSpec();
    // Clipped to the area, as the system's text drawing is; the underscore
    // may fall on the row just below it.
    js_clip(area.left, area.top, area.width(), area.height() + 1);
    for (const WrappedLine& line : WrapPageText(font, area.width(), text)) {
        if (area.top + line.y >= area.bottom) {
            break;
        }
        DrawRun(area.left, area.top + line.y, line.text);
        if (line.underlineRight > line.underlineLeft) {
            // The "&" mark's underscore, one pixel below the baseline.
            js_fill_rect(area.left + line.underlineLeft,
                         area.top + line.y + PageFontAscent(font) + 1,
                         line.underlineRight - line.underlineLeft, 1, textColour_);
        }
    }
    js_unclip();
}

Size WebCanvas::MeasureWrappedText(int width, std::string_view text) {
    return MeasureWrappedPageText(fontSpec(), width, text);
}

void WebCanvas::FillRect(const Rect& area, Colour colour) {
    if (!area.IsEmpty()) {
        js_fill_rect(area.left, area.top, area.width(), area.height(), colour);
    }
}

void WebCanvas::DrawEdge(const Rect& area, EdgeStyle style) {
    js_draw_edge(area.left, area.top, area.width(), area.height(), static_cast<int>(style));
}

void WebCanvas::CopyPicture(const DibPicture& picture, const Rect& area) {
    DrawPicture(kCopy, picture, area);
}

void WebCanvas::StretchPicture(const DibPicture& picture, const Rect& area) {
    DrawPicture(kStretch, picture, area);
}

void WebCanvas::DrawPictureTransparent(const DibPicture& picture, const Rect& area) {
    DrawPicture(kTransparent, picture, area);
}
