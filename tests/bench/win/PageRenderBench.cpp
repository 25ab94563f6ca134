// Laying out and painting a page on real GDI under Wine: a page of 300 text
// runs and 40 pictures, rendered again and again once its pictures are
// loaded, as the view re-lays a page out. Reports the time per render and the
// share spent measuring text. Run with `make bench`.

#include <windows.h>

#include <cstdio>
#include <string>

#include "../../unit/html/PageTestSupport.h"
#include "framework/GdiCanvas.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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

}  // namespace

int main() {
    FakeHost host;
    host.client = {0, 0, 800, 600};
    for (int i = 0; i < 8; ++i) {
        host.AddPicture("p" + std::to_string(i) + ".bmp",
                        SolidBmp(64 + 8 * i, 48, RGB(40 * i, 90, 200)));
        host.AddPicture("p" + std::to_string(i) + "s.bmp", SolidBmp(32, 32, RGB(200, 40 * i, 90)));
    }
    const std::string html = BenchPage();
    TokenList page;
    TokenizePage(reinterpret_cast<const uint8_t*>(html.data()), html.size(), page);
    page.SetHost(&host);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap =
        CreateCompatibleBitmap(screen, TokenList::kMaxPageWidth, TokenList::kMaxPageHeight);
    HGDIOBJ previous = SelectObject(dc, bitmap);

    {  // First walk: pictures come from the archive.
        GdiCanvas canvas(dc);
        page.ResetLayout();
        page.RenderPage(canvas);
    }
    std::printf("page: %zu text runs, %d pictures, %zu links\n", page.textRuns().size(),
                page.imageCount(), page.links().size());

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
    std::printf("%.2f ms a render (a 60 Hz frame is 16.7 ms), %.0f%% of it measuring text\n",
                total / kRounds * 1000, measuring / total * 100);

    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return 0;
}
