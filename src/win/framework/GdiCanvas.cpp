#include "framework/GdiCanvas.h"

#include <algorithm>
#include <vector>

#include "framework/Fonts.h"
#include "framework/Gdi.h"
#include "framework/Text.h"
#include "picture/DibPicture.h"
#include "text/ShiftJis.h"

namespace {

// The pages' face; where the system lacks it, a Japanese face it has.
constexpr wchar_t kPageFace[] = L"ＭＳ ゴシック";

class GdiFont : public CanvasFont {
  public:
    GdiFont(HFONT font, const FontSpec& fontSpec) : font_(font), fontSpec_(fontSpec) {}
    const FontSpec& fontSpec() const override { return fontSpec_; }
    HFONT handle() const { return font_.get(); }

  private:
    FontHandle font_;
    FontSpec fontSpec_;
};

HFONT HandleOf(const CanvasFont* font) {
    return font ? static_cast<const GdiFont*>(font)->handle() : nullptr;
}

RECT ToRect(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// One code page 932 character per UTF-16 unit: true for every character the
// code page defines. Text that does not convert that way is drawn without
// per-character placement.
bool WidenPerCharacter(std::string_view text, std::wstring& wide, size_t characters) {
    wide = Widen(text);
    return wide.size() == characters;
}

}  // namespace

uint64_t TextMetricsCache::Key(const FontSpec& fontSpec, uint32_t code) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(fontSpec.height)) << 32) |
           (static_cast<uint64_t>(fontSpec.bold) << 31) |
           (static_cast<uint64_t>(fontSpec.underline) << 30) | code;
}

Size TextMetricsCache::CharacterSize(HDC dc, const FontSpec& fontSpec, uint32_t code,
                                     std::string_view bytes) {
    const uint64_t key = Key(fontSpec, code);
    const auto found = sizes_.find(key);
    if (found != sizes_.end()) {
        return found->second;
    }
    const std::wstring wide = Widen(bytes);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    const Size result{size.cx, size.cy};
    sizes_.emplace(key, result);
    return result;
}

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc), savedState_(SaveDC(dc)) {}

GdiCanvas::~GdiCanvas() {
    // Puts back the font, colours and modes the device context had.
    RestoreDC(dc_, savedState_);
}

std::unique_ptr<CanvasFont> GdiCanvas::MakeFont(const FontSpec& fontSpec) {
    HFONT font = CreateFontW(fontSpec.height, 0, 0, 0, fontSpec.bold ? FW_BOLD : FW_NORMAL, FALSE,
                             fontSpec.underline ? TRUE : FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_CHARACTER_PRECIS, PROOF_QUALITY, FIXED_PITCH,
                             JapaneseFace(kPageFace).c_str());
    if (font == nullptr) {
        return nullptr;
    }
    return std::make_unique<GdiFont>(font, fontSpec);
}

const CanvasFont* GdiCanvas::SelectFont(const CanvasFont* font) {
    const CanvasFont* previous = font_;
    font_ = font;
    HFONT handle = HandleOf(font);
    SelectObject(dc_, handle ? static_cast<HGDIOBJ>(handle) : GetStockObject(SYSTEM_FONT));
    return previous;
}

Colour GdiCanvas::SetTextColour(Colour colour) {
    return static_cast<Colour>(::SetTextColor(dc_, static_cast<COLORREF>(colour)));
}

bool GdiCanvas::SetTransparentText(bool transparent) {
    return ::SetBkMode(dc_, transparent ? TRANSPARENT : OPAQUE) == TRANSPARENT;
}

Size GdiCanvas::MeasureText(std::string_view text) {
    const FontSpec fontSpec = font_ ? font_->fontSpec() : FontSpec{};
    if (text.size() == 1 || (text.size() == 2 && IsLeadByte(static_cast<uint8_t>(text[0])))) {
        uint32_t code = static_cast<uint8_t>(text[0]);
        if (text.size() == 2) {
            code = (code << 8) | static_cast<uint8_t>(text[1]);
        }
        return metrics_.CharacterSize(dc_, fontSpec, code, text);
    }
    const std::wstring wide = Widen(text);
    SIZE size{};
    if (!wide.empty()) {
        GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    } else {
        // An empty text is as high as the font.
        TEXTMETRICW tm{};
        GetTextMetricsW(dc_, &tm);
        size.cy = tm.tmHeight;
    }
    return {size.cx, size.cy};
}

void GdiCanvas::DrawCharacters(int y, std::string_view text, const int* xs) {
    const size_t count = CountCharacters(text);
    std::wstring wide;
    if (count == 0) {
        return;
    }
    if (!WidenPerCharacter(text, wide, count)) {
        // Characters the code page does not define: each on its own.
        size_t i = 0;
        for (size_t c = 0; c < count; ++c) {
            const size_t width =
                IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
            const std::wstring one = Widen(text.substr(i, width));
            TextOutW(dc_, xs[c], y, one.c_str(), static_cast<int>(one.size()));
            i += width;
        }
        return;
    }
    // One call for the line, each character at its own place.
    std::vector<INT> steps(count);
    for (size_t c = 0; c + 1 < count; ++c) {
        steps[c] = xs[c + 1] - xs[c];
    }
    steps[count - 1] = 0;
    ExtTextOutW(dc_, xs[0], y, 0, nullptr, wide.c_str(), static_cast<UINT>(count), steps.data());
}

void GdiCanvas::DrawTextAt(int x, int y, std::string_view text) {
    const std::wstring wide = Widen(text);
    TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void GdiCanvas::DrawWrappedText(const Rect& area, std::string_view text) {
    const std::wstring wide = Widen(text);
    RECT rc = ToRect(area);
    ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &rc, DT_WORDBREAK);
}

Size GdiCanvas::MeasureWrappedText(int width, std::string_view text) {
    const std::wstring wide = Widen(text);
    RECT rc{0, 0, width, 0};
    ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &rc, DT_WORDBREAK | DT_CALCRECT);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

void GdiCanvas::FillRect(const Rect& area, Colour colour) {
    BrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(colour)));
    RECT rc = ToRect(area);
    ::FillRect(dc_, &rc, brush.get());
}

void GdiCanvas::DrawEdge(const Rect& area, EdgeStyle style) {
    RECT rc = ToRect(area);
    switch (style) {
        case EdgeStyle::SunkenInner:
            ::DrawEdge(dc_, &rc, BDR_SUNKENINNER, BF_RECT);
            break;
        case EdgeStyle::RaisedInner:
            ::DrawEdge(dc_, &rc, BDR_RAISEDINNER, BF_RECT);
            break;
        case EdgeStyle::SunkenOuter:
            ::DrawEdge(dc_, &rc, BDR_SUNKENOUTER, BF_RECT);
            break;
    }
}

void DrawDib(HDC dc, const DibPicture& picture, const Rect& destination, const Rect& source,
             DWORD rasterOperation) {
    if (picture.empty() || destination.IsEmpty() || source.IsEmpty()) {
        return;
    }
    const auto* info = reinterpret_cast<const BITMAPINFO*>(picture.info().data());
    // A bottom-up picture counts its source rows from the bottom.
    const int ySource = picture.header().height > 0 ? picture.height() - source.bottom : source.top;
    StretchDIBits(dc, destination.left, destination.top, destination.width(), destination.height(),
                  source.left, ySource, source.width(), source.height(), picture.pixels(), info,
                  DIB_RGB_COLORS, rasterOperation);
}

void GdiCanvas::CopyPicture(const DibPicture& picture, const Rect& area) {
    // Unchanged from the picture's top left; nothing beyond the picture's edges.
    const int width = std::min(area.width(), picture.width());
    const int height = std::min(area.height(), picture.height());
    DrawDib(dc_, picture, Rect::FromSize(area.left, area.top, width, height),
            Rect::FromSize(0, 0, width, height));
}

void GdiCanvas::StretchPicture(const DibPicture& picture, const Rect& area) {
    const int previous = SetStretchBltMode(dc_, COLORONCOLOR);
    DrawDib(dc_, picture, area, Rect::FromSize(0, 0, picture.width(), picture.height()));
    SetStretchBltMode(dc_, previous);
}

void GdiCanvas::DrawPictureTransparent(const DibPicture& picture, const Rect& area) {
    if (picture.empty() || area.IsEmpty()) {
        return;
    }
    const int width = area.width();
    const int height = area.height();
    // A working copy in the target's format; the picture itself is never altered.
    MemoryDC workDc(dc_);
    BitmapHandle workBitmap(CreateCompatibleBitmap(dc_, width, height));
    MemoryDC maskMemory(dc_);
    BitmapHandle mask(CreateBitmap(width, height, 1, 1, nullptr));
    MemoryDC inverseMemory(dc_);
    BitmapHandle inverse(CreateBitmap(width, height, 1, 1, nullptr));
    if (workDc && workBitmap && maskMemory && mask && inverseMemory && inverse) {
        HDC work = workDc.get();
        HDC maskDc = maskMemory.get();
        HDC inverseDc = inverseMemory.get();
        SelectInto selectWork(work, workBitmap.get());
        SelectInto selectMask(maskDc, mask.get());
        SelectInto selectInverse(inverseDc, inverse.get());
        const int previousMode = SetStretchBltMode(work, COLORONCOLOR);
        DrawDib(work, picture, Rect::FromSize(0, 0, width, height),
                Rect::FromSize(0, 0, picture.width(), picture.height()));
        SetStretchBltMode(work, previousMode);

        // Mask: 1 where the picture has the key colour (its top-left pixel).
        const COLORREF key = GetPixel(work, 0, 0);
        const COLORREF workBack = SetBkColor(work, key);
        BitBlt(maskDc, 0, 0, width, height, work, 0, 0, SRCCOPY);
        SetBkColor(work, workBack);
        BitBlt(inverseDc, 0, 0, width, height, maskDc, 0, 0, NOTSRCCOPY);

        // Monochrome onto colour: 1 bits take the background colour, 0 bits the text colour.
        const COLORREF targetBack = SetBkColor(dc_, RGB(255, 255, 255));
        const COLORREF targetText = ::SetTextColor(dc_, RGB(0, 0, 0));
        BitBlt(dc_, area.left, area.top, width, height, maskDc, 0, 0, SRCAND);
        const COLORREF copyBack = SetBkColor(work, RGB(255, 255, 255));
        const COLORREF copyText = ::SetTextColor(work, RGB(0, 0, 0));
        BitBlt(work, 0, 0, width, height, inverseDc, 0, 0, SRCAND);
        SetBkColor(work, copyBack);
        ::SetTextColor(work, copyText);
        BitBlt(dc_, area.left, area.top, width, height, work, 0, 0, SRCPAINT);
        SetBkColor(dc_, targetBack);
        ::SetTextColor(dc_, targetText);
    }
}
