#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "../unit/html/PageTestSupport.h"
#include "framework/GdiCanvas.h"
#include "picture/DibPicture.h"

namespace {

// A 32-bit top-down bitmap with a memory DC, like the view's page bitmap.
class PageBitmap {
  public:
    PageBitmap(int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~PageBitmap() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    void Fill(COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT all{0, 0, width_, height_};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    // The pixel as a colour value, red in the low byte.
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            ADD_FAILURE() << "no pixel at " << x << "," << y;
            return CLR_INVALID;
        }
        GdiFlush();
        const uint32_t bgr = static_cast<const uint32_t*>(bits_)[y * width_ + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    bool Holds(const Rect& area, COLORREF colour) const {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (At(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }
    std::vector<uint8_t> Bytes() const {
        GdiFlush();
        const auto* p = static_cast<const uint8_t*>(bits_);
        return {p, p + static_cast<size_t>(width_) * height_ * 4};
    }

  private:
    int width_;
    int height_;
    HDC dc_;
    void* bits_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

constexpr COLORREF kGrey = RGB(128, 128, 128);

TEST(GdiCanvas, TransparentPicturesShowThePageThroughTheirKeyColour) {
    // 4 x 2, bottom-up: the top row is red (key) then blue, the bottom row green.
    DibPicture picture;
    ASSERT_TRUE(picture.LoadFromBytes(SolidBmp(4, 2, RGB(0, 200, 0), RGB(255, 0, 0)).data(),
                                      SolidBmp(4, 2).size()));
    PageBitmap page(10, 10);
    page.Fill(kGrey);
    {
        GdiCanvas canvas(page.dc());
        canvas.DrawPictureTransparent(picture, Rect::FromSize(3, 3, 4, 2));
    }
    EXPECT_EQ(page.At(3, 3), kGrey) << "the key-coloured pixel lets the page through";
    EXPECT_EQ(page.At(4, 3), RGB(0, 200, 0));
    EXPECT_EQ(page.At(3, 4), RGB(0, 200, 0));
    EXPECT_EQ(page.At(2, 3), kGrey);
    EXPECT_EQ(page.At(7, 3), kGrey);
    EXPECT_EQ(picture.TopLeftColour(), RGB(255, 0, 0)) << "the picture itself is unchanged";

    // Copied and stretched pictures keep every pixel.
    page.Fill(kGrey);
    {
        GdiCanvas canvas(page.dc());
        canvas.CopyPicture(picture, Rect::FromSize(0, 0, 4, 2));
        canvas.StretchPicture(picture, Rect::FromSize(0, 4, 8, 4));
    }
    EXPECT_EQ(page.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(page.At(1, 0), RGB(0, 200, 0));
    EXPECT_EQ(page.At(0, 4), RGB(255, 0, 0));
    EXPECT_EQ(page.At(1, 5), RGB(255, 0, 0));
    EXPECT_EQ(page.At(7, 7), RGB(0, 200, 0));
}

// Lays a page out on real GDI.
struct GdiPage {
    explicit GdiPage(const std::string& html, int width = 400, int height = 200)
        : bitmap(width, height) {
        TokenizePage(reinterpret_cast<const uint8_t*>(html.data()), html.size(), page);
        page.SetHost(&host);
    }
    void Render() {
        page.DiscardLayout();
        page.ResetLayout();
        GdiCanvas canvas(bitmap.dc());
        page.RenderPage(canvas);
    }
    FakeHost host;
    TokenList page;
    PageBitmap bitmap;
};

TEST(GdiCanvas, LinksTakeTheirFixedColours) {
    const std::string html =
        "<body bgcolor=\"#ffffff\" link=\"#00ff00\" vlink=\"#00ff00\">top<br>"
        "<a href=\"a.htm\">\x82\x60\x82\x60\x82\x60</a><a href=\"b.htm\"><img src=\"p.bmp\"></a>";
    GdiPage fresh(html);
    fresh.host.AddPicture("p.bmp", SolidBmp(20, 10, RGB(250, 250, 0)));
    fresh.Render();
    ASSERT_EQ(fresh.page.links().size(), 2u);
    const LinkElement& text = *fresh.page.links()[0];
    const LinkElement& image = *fresh.page.links()[1];
    EXPECT_TRUE(fresh.bitmap.Holds(text.HitRect(), RGB(0, 0, 255)));
    EXPECT_EQ(fresh.bitmap.At(image.x, image.y), RGB(0, 0, 255)) << "the frame";
    EXPECT_EQ(fresh.bitmap.At(image.x + 5, image.y + 5), RGB(250, 250, 0)) << "the picture";

    GdiPage visited(html);
    visited.host.AddPicture("p.bmp", SolidBmp(20, 10, RGB(250, 250, 0)));
    visited.host.visited = {"a.htm", "b.htm"};
    visited.Render();
    EXPECT_TRUE(visited.bitmap.Holds(visited.page.links()[0]->HitRect(), RGB(80, 0, 80)));
    EXPECT_FALSE(visited.bitmap.Holds(visited.page.links()[0]->HitRect(), RGB(0, 0, 255)));
    EXPECT_EQ(visited.bitmap.At(image.x, image.y), RGB(80, 0, 80));
}

TEST(GdiCanvas, RulesAreDrawnAsEdges) {
    GdiPage page("<body bgcolor=\"#ffffff\"><hr width=\"100\" size=\"4\">", 200, 50);
    page.host.windowWidth = 200;
    page.Render();
    // A sunken inner edge: a shadow line on top, a light one at the bottom.
    EXPECT_NE(page.bitmap.At(60, 0), RGB(255, 255, 255));
    EXPECT_EQ(page.bitmap.At(20, 0), RGB(255, 255, 255));
    EXPECT_EQ(page.bitmap.At(60, 10), RGB(255, 255, 255));
}

TEST(GdiCanvas, TablesHaveARaisedEdgeSunkenCellsAndLinksInTheLinkColour) {
    const std::string cells =
        "<tr><td width=\"80\">\x82\x60\x82\x60</td>"
        "<td width=\"80\"><a href=\"a.htm\">\x82\x60\x82\x60</a></td></tr></table>";
    GdiPage page("<body bgcolor=\"#ffffff\"><table border=\"1\">" + cells);
    page.Render();
    ASSERT_EQ(page.page.tables().size(), 1u);
    const Rect box = page.page.tables()[0].box;
    const Rect cell = page.page.tables()[0].cells.at(0);
    const COLORREF white = RGB(255, 255, 255);
    // Raised: the shadow at the bottom; sunken: the shadow at the top.
    EXPECT_NE(page.bitmap.At(box.left + 20, box.bottom - 1), white);
    EXPECT_EQ(page.bitmap.At(box.left + 20, box.top), white);
    EXPECT_NE(page.bitmap.At(cell.right - 3, cell.top), white);
    EXPECT_EQ(page.bitmap.At(cell.right - 3, cell.bottom - 1), white);
    EXPECT_TRUE(
        page.bitmap.Holds(Rect::FromSize(cell.left, cell.top, 26, cell.height()), RGB(0, 0, 0)));
    ASSERT_EQ(page.page.links().size(), 1u);
    EXPECT_TRUE(page.bitmap.Holds(page.page.links()[0]->HitRect(), RGB(0, 0, 255)));

    GdiPage plain("<body bgcolor=\"#ffffff\"><table>" + cells);
    plain.Render();
    EXPECT_EQ(plain.bitmap.At(box.left + 20, box.bottom - 1), white);
    EXPECT_EQ(plain.bitmap.At(cell.right - 3, cell.top), white);
}

TEST(GdiCanvas, WrappedTextIsMeasuredLineByLine) {
    PageBitmap page(10, 10);
    GdiCanvas canvas(page.dc());
    auto font = canvas.MakeFont({13, false, false});
    ASSERT_NE(font, nullptr);
    canvas.SelectFont(font.get());
    const Size one = canvas.MeasureWrappedText(400, "fog over the harbour");
    const Size wrapped = canvas.MeasureWrappedText(60, "fog over the harbour");
    EXPECT_EQ(one.height, 13);
    EXPECT_EQ(one.width, canvas.MeasureText("fog over the harbour").width);
    EXPECT_GE(wrapped.height, 3 * 13);
    EXPECT_LE(wrapped.width, 60);
    canvas.SelectFont(nullptr);
}

TEST(GdiCanvas, TheJapaneseFaceIsFixedPitchAndDoubleWidthForWideCharacters) {
    PageBitmap page(10, 10);
    GdiCanvas canvas(page.dc());
    auto font = canvas.MakeFont({13, false, false});
    ASSERT_NE(font, nullptr);
    canvas.SelectFont(font.get());
    const Size narrow = canvas.MeasureText("a");
    EXPECT_EQ(canvas.MeasureText("W").width, narrow.width);
    EXPECT_EQ(canvas.MeasureText("\x82\xa0").width, 2 * narrow.width);  // あ
    EXPECT_EQ(narrow.height, 13);
    wchar_t face[64] = {};
    GetTextFaceW(page.dc(), 64, face);
    EXPECT_STRNE(face, L"") << "no face";
    canvas.SelectFont(nullptr);
}

TEST(GdiCanvas, APageRendersTheSameTwice) {
    const std::string html =
        "<body bgcolor=\"#f0f0e0\" text=\"#202020\"><h2>\x8c\xa9\x8f\x6f\x82\xb5</h2>"
        "<font color=\"#c02020\" size=\"4\">red</font><br><img src=\"p.bmp\" align=\"middle\">"
        "text<hr><a href=\"x.htm\">link</a><br>";
    GdiPage page(html);
    page.host.AddPicture("p.bmp", SolidBmp(30, 30, RGB(10, 120, 200)));
    page.Render();
    const std::vector<uint8_t> first = page.bitmap.Bytes();
    page.bitmap.Fill(RGB(0, 0, 0));
    page.Render();
    EXPECT_TRUE(first == page.bitmap.Bytes());
}

}  // namespace
