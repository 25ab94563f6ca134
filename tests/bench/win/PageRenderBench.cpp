// Laying out and painting pages on real GDI under Wine, again and again once
// their pictures are loaded, as the view re-lays a page out: a page of 300
// text runs and 40 pictures, and a page holding a 16 x 16 table of wrapped
// text and pictures. Reports the time per render and the share spent
// measuring text. Run with `make bench`.

#include <windows.h>

#include <cstdio>
#include <string>

#include "../../unit/html/PageTestSupport.h"
#include "BenchClock.h"
#include "framework/GdiCanvas.h"

namespace {

// The GDI canvas, timing the text measuring it does.
class TimedCanvas : public GdiCanvas {
  public:
    using GdiCanvas::GdiCanvas;
    Size MeasureText(std::string_view text) override {
        const double start = Now();
        const Size size = GdiCanvas::MeasureText(text);
        measuring += Now() - start;
        return size;
    }
    double measuring = 0;
};

std::string BenchPage() {
    const char* words[] = {"霧の町の図書館で",
                           "old diary, page ",
                           "掲示板の書き込み",
                           "2026年12月8日",
                           "<font color=\"#336699\">青い文字</font>",
                           "見つかった手紙"};
    std::string page = "<html><head><title>bench</title></head><body bgcolor=\"#ffffff\">";
    int pictures = 0;
    for (int run = 0; run < 300; ++run) {
        page += words[run % 6];
        page += "<b>";  // a tag between runs keeps them apart
        if (run % 3 == 2) {
            page += "<br>";
        }
        if (run % 15 == 7 && pictures < 40) {
            page += "<img src=\"p" + std::to_string(pictures % 8) + (pictures % 5 == 0 ? "s" : "") +
                    ".bmp\"" + (pictures % 3 == 0 ? " width=\"48\" height=\"32\"" : "") + ">";
            ++pictures;
        }
        if (run % 20 == 10 && pictures < 40) {
            page += "<a href=\"x.htm\"><img src=\"p1.bmp\"></a>";
            ++pictures;
        }
    }
    while (pictures < 40) {
        page += "<img src=\"p2.bmp\">";
        ++pictures;
    }
    return page + "<hr></body></html>";
}

// 256 cells: text that wraps in most, a picture in every sixth, a linked
// picture in every thirteenth, header cells across the top.
std::string TablePage() {
    std::string page =
        "<html><body bgcolor=\"#ffffff\"><table border=\"1\">"
        "<caption align=\"bottom center\">霧の記録　十六かける十六</caption>";
    for (int row = 0; row < 16; ++row) {
        page += "<tr>";
        for (int column = 0; column < 16; ++column) {
            const int n = row * 16 + column;
            const std::string width = std::to_string(row == 1 && column % 3 == 0 ? 60 : 80);
            const char* cell = row == 0 ? "th" : "td";
            page += std::string("<") + cell + " width=\"" + width + "\">";
            if (n % 6 == 0) {
                page += "<img src=\"p" + std::to_string(n % 8) + (n % 2 ? "s" : "") + ".bmp\">";
            } else if (n % 13 == 0) {
                page += "<a href=\"x.htm\"><img src=\"p1.bmp\" width=\"40\" height=\"30\"></a>";
            } else {
                page += n % 2 ? "霧の夜の記録" : "old diary, page " + std::to_string(n);
            }
            page += std::string("</") + cell + ">";
        }
        page += "</tr>";
    }
    return page + "</table></body></html>";
}

// Renders the page once to load its pictures, then kRounds times as the view
// does, and prints the figures.
void Bench(const char* name, const std::string& html, FakeHost& host, HDC dc) {
    TokenList page;
    TokenizePage(reinterpret_cast<const uint8_t*>(html.data()), html.size(), page);
    page.SetHost(&host);
    {  // First walk: pictures come from the archive.
        GdiCanvas canvas(dc);
        page.ResetLayout();
        page.RenderPage(canvas);
    }
    std::printf("%s: %zu text runs, %d pictures, %zu links, %zu tables\n", name,
                page.textRuns().size(), page.imageCount(), page.links().size(),
                page.tables().size());

    constexpr int kRounds = 50;
    double total = 0;
    double measuring = 0;
    for (int round = 0; round < kRounds; ++round) {
        TimedCanvas canvas(dc);
        const double start = Now();
        page.ResetLayout();
        page.RenderPage(canvas);
        GdiFlush();
        total += Now() - start;
        measuring += canvas.measuring;
    }
    std::printf("  %.2f ms a render (a 60 Hz frame is 16.7 ms), %.0f%% of it measuring text\n",
                total / kRounds * 1000, measuring / total * 100);
}

}  // namespace

int main() {
    FakeHost host;
    host.client = {0, 0, 800, 600};
    for (int i = 0; i < 8; ++i) {
        host.AddPicture("p" + std::to_string(i) + ".bmp",
                        SolidBmp(64 + 8 * i, 48, RGB(40 * i, 90, 200)));
        host.AddPicture("p" + std::to_string(i) + "s.bmp", SolidBmp(32, 32, RGB(200, 40 * i, 90)));
    }
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap =
        CreateCompatibleBitmap(screen, TokenList::kMaxPageWidth, TokenList::kMaxPageHeight);
    HGDIOBJ previous = SelectObject(dc, bitmap);

    Bench("page", BenchPage(), host, dc);
    Bench("16 x 16 table", TablePage(), host, dc);

    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return 0;
}
