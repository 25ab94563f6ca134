#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Fonts.h"
#include "framework/GdiCanvas.h"
#include "framework/Text.h"
#include "html/PageFontMetrics.h"

// The core's numbers for the pages' face against what GDI gives the canvas:
// a new Wine or another build of the face shows here first.

namespace {

// A white 32-bit bitmap with a memory DC, like the view's page bitmap.
class Bitmap {
  public:
    Bitmap(int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        std::memset(bits_, 0xFF, Bytes());
    }
    ~Bitmap() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    bool operator==(const Bitmap& other) const {
        GdiFlush();
        return Bytes() == other.Bytes() && std::memcmp(bits_, other.bits_, Bytes()) == 0;
    }

  private:
    size_t Bytes() const { return static_cast<size_t>(width_) * height_ * 4; }
    int width_;
    int height_;
    HDC dc_;
    void* bits_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Page font heights and then some: every text-size offset on every font size,
// the edges, and the heights the system treats apart.
std::vector<FontSpec> Fonts() {
    std::vector<FontSpec> fonts;
    for (int height = -20; height <= 80; ++height) {
        fonts.push_back({height, false, false});
        fonts.push_back({height, true, false});
    }
    for (const int height : {234, 291, 292, 433, 1101, 65536, 1000000}) {
        fonts.push_back({height, false, false});
    }
    fonts.push_back({16, false, true});
    return fonts;
}

const std::vector<std::string>& Texts() {
    static const std::vector<std::string> texts = {
        "",
        "fog over the harbour",
        "  two  spaces  ",
        "a&bc&&d x&",
        "line\r\nnext\nthird\n\nfifth\n\r",
        "tab\there",
        "Brivane \x83\x75\x83\x89\x83\x45\x83\x55\x82\xcc\x89\xe6\x96\xca\x81\x42",
        "\x81\x75\x82\xa0\x82\xa2\x82\xa4\x81\x76\x81\x41\x83\x52\x81\x5b\x83\x71\x81\x5b",
        "12,345.67 (abc) $9 50% \xb1\xb2\xb3\xa1\xa2\xa3",
        "\x82\xa0\x82",
        "\x81 \x7f\x80\xa0\xfd",
        "averyveryverylongwordthatcannotbreak ok",
    };
    return texts;
}

// What GdiCanvas::DrawWrappedText draws, from the core's lines: each clipped
// to the area, the marked character's underscore on its own terms.
void DrawLines(HDC dc, const FontSpec& font, const RECT& area, std::string_view text) {
    const int width = static_cast<int>(area.right - area.left);
    for (const WrappedLine& line : WrapPageText(font, width, text)) {
        const std::wstring wide = Widen(line.text);
        ExtTextOutW(dc, area.left, area.top + line.y, ETO_CLIPPED, &area, wide.c_str(),
                    static_cast<UINT>(wide.size()), nullptr);
        if (line.underlineRight <= line.underlineLeft) {
            continue;
        }
        const int y = area.top + line.y + PageFontAscent(font) + 1;
        const int left = std::max<int>(area.left + line.underlineLeft, area.left);
        const int right = std::min<int>(area.left + line.underlineRight, area.right);
        if (y < area.top || y > area.bottom || left > area.right) {
            continue;
        }
        HPEN pen = CreatePen(PS_SOLID, 1, GetTextColor(dc));
        HGDIOBJ previous = SelectObject(dc, pen);
        MoveToEx(dc, left, y, nullptr);
        LineTo(dc, right, y);
        SelectObject(dc, previous);
        DeleteObject(pen);
    }
}

TEST(PageFontMetricsOnGdi, MetricsAndMeasuredTextsAreTheCanvasesOwn) {
    Bitmap page(8, 8);
    GdiCanvas canvas(page.dc());
    for (const FontSpec& font : Fonts()) {
        SCOPED_TRACE(testing::Message() << "height " << font.height << (font.bold ? " bold" : ""));
        auto made = canvas.MakeFont(font);
        ASSERT_NE(made, nullptr);
        canvas.SelectFont(made.get());
        TEXTMETRICW tm{};
        GetTextMetricsW(page.dc(), &tm);
        EXPECT_EQ(tm.tmHeight, PageFontHeight(font));
        EXPECT_EQ(tm.tmAscent, PageFontAscent(font));
        const Size narrow = canvas.MeasureText("W");
        const Size wide = canvas.MeasureText("\x8a\xbf");
        EXPECT_EQ(narrow.width, PageCharacterSize(font, false).width);
        EXPECT_EQ(wide.width, PageCharacterSize(font, true).width);
        EXPECT_EQ(wide.height, PageCharacterSize(font, true).height);
        for (const std::string& text : Texts()) {
            const Size gdi = canvas.MeasureText(text);
            const Size core = MeasurePageText(font, text);
            EXPECT_EQ(gdi.width, core.width) << text;
            EXPECT_EQ(gdi.height, core.height) << text;
        }
        canvas.SelectFont(nullptr);
    }
}

TEST(PageFontMetricsOnGdi, TheEmSizeIsTheOneTheOutlinesAreDrawnAt) {
    // A positive height's outlines are those of the negative height, the em,
    // the core names for it.
    Bitmap page(8, 8);
    auto outline = [&page](int height) {
        HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_CHARACTER_PRECIS, PROOF_QUALITY,
                                 FIXED_PITCH, JapaneseFace(L"ＭＳ ゴシック").c_str());
        HGDIOBJ previous = SelectObject(page.dc(), font);
        const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GLYPHMETRICS metrics{};
        const UINT format = GGO_NATIVE | GGO_UNHINTED;
        const DWORD size =
            GetGlyphOutlineW(page.dc(), L'H', format, &metrics, 0, nullptr, &identity);
        std::vector<char> points(size == GDI_ERROR ? 0 : size);
        if (!points.empty()) {
            GetGlyphOutlineW(page.dc(), L'H', format, &metrics, size, points.data(), &identity);
        }
        SelectObject(page.dc(), previous);
        DeleteObject(font);
        return points;
    };
    for (const FontSpec& font : Fonts()) {
        if (font.height > 0 && !font.bold) {
            const int em = PageFontEmPixels(font);
            EXPECT_EQ(outline(font.height), outline(-em))
                << "height " << font.height << " em " << em;
        }
    }
}

TEST(PageFontMetricsOnGdi, WrappedTextBreaksAndDrawsAsTheCanvasDoes) {
    const int widths[] = {-1, 0, 7, 16, 25, 40, 63, 100, 160, 400};
    for (const FontSpec& font : Fonts()) {
        if (font.height < 1 || font.height > 48 || font.height % 3 != 0) {
            continue;
        }
        for (const std::string& text : Texts()) {
            for (const int width : widths) {
                SCOPED_TRACE(testing::Message()
                             << "height " << font.height << (font.bold ? " bold" : "") << " width "
                             << width << " text " << text);
                const Size core = MeasureWrappedPageText(font, width, text);
                Bitmap drawn(std::max(width, 0) + 20, core.height + 20);
                Bitmap expected(std::max(width, 0) + 20, core.height + 20);
                {
                    GdiCanvas canvas(drawn.dc());
                    auto made = canvas.MakeFont(font);
                    ASSERT_NE(made, nullptr);
                    CanvasStateGuard state(canvas, made.get(), MakeColour(0, 0, 0));
                    const Size gdi = canvas.MeasureWrappedText(width, text);
                    EXPECT_EQ(gdi.width, core.width);
                    EXPECT_EQ(gdi.height, core.height);
                    if (width > 0) {
                        // One pixel short of the text's height: the last line is cut.
                        canvas.DrawWrappedText(Rect::FromSize(3, 2, width, core.height - 1), text);
                        HGDIOBJ previous =
                            SelectObject(expected.dc(), GetCurrentObject(drawn.dc(), OBJ_FONT));
                        SetBkMode(expected.dc(), TRANSPARENT);
                        const RECT area{3, 2, 3 + width, 2 + core.height - 1};
                        DrawLines(expected.dc(), font, area, text);
                        SelectObject(expected.dc(), previous);
                    }
                }
                EXPECT_TRUE(drawn == expected);
            }
        }
    }
}

}  // namespace
