// The page walk on arbitrary token lists, drawn on the test canvas: layout,
// links, hit testing and redrawing, as the view does them.
//
// Input: one byte of host settings, then the tokens, one a line, up to the
// first zero byte; what follows it is a .bmp file for every picture the
// host's own archive does not hold.

#include <string_view>

#include "FuzzHost.h"
#include "FuzzSupport.h"
#include "html/TokenList.h"
#include "support/TestCanvas.h"

namespace {

// The test canvas, with pictures looked at as the program's canvas does but
// not recorded: a tiny tiled background would record millions of calls.
class FuzzCanvas : public TestCanvas {
  public:
    void CopyPicture(const DibPicture&, const Rect&) override {}
    void StretchPicture(const DibPicture&, const Rect&) override {}
    void DrawPictureTransparent(const DibPicture& picture, const Rect&) override {
        picture.TopLeftColour();
    }
};

constexpr Rect kClients[] = {{0, 0, 640, 480}, {0, 0, 800, 600}, {0, 0, 0, 0}, {0, 0, 90, 40}};
constexpr int kTextSizeOffsets[] = {-3, 0, 6, -20};

void Walk(TokenList& page, FuzzCanvas& canvas, bool discard) {
    if (discard) {
        page.DiscardLayout();
    }
    page.ResetLayout();
    page.RenderPage(canvas);
    // Text pushed left of the page can make a size negative; the view takes it as zero.
    FUZZ_CHECK(page.pageWidth() <= TokenList::kMaxPageWidth);
    FUZZ_CHECK(page.pageHeight() <= TokenList::kMaxPageHeight);
    FUZZ_CHECK(page.imageCount() >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietMessages();
    FuzzHost::Pictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputReader input(data, size);
    const uint8_t settings = input.Byte();
    std::string_view rest = input.Rest();
    const size_t zero = rest.find('\0');

    FuzzHost host;
    host.plugin = settings & 1;
    host.capsLock = settings & 2;
    host.everythingVisited = settings & 4;
    host.client = kClients[(settings >> 3) & 3];
    host.textSizeOffset = kTextSizeOffsets[(settings >> 6) & 3];
    if (zero != std::string_view::npos) {
        host.inputPicture = rest.substr(zero + 1);
        rest = rest.substr(0, zero);
    }

    FuzzCanvas canvas;
    canvas.failFonts = settings & 32;
    {
        TokenList page;
        while (!rest.empty()) {
            const size_t end = rest.find('\n');
            page.AppendText(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
        page.SetHost(&host);

        // Opened, then drawn again (pictures already loaded, form controls
        // made) at another scroll position.
        Walk(page, canvas, true);
        host.scroll = {7, 100};
        Walk(page, canvas, false);
        page.HideFormControls();
        for (const auto& form : page.forms()) {
            for (const auto& field : form->fields) {
                FuzzHost::CheckControl(field->rect);
            }
            for (const auto& button : form->buttons) {
                FuzzHost::CheckControl(button->rect);
            }
        }
        for (const auto& link : page.links()) {
            page.DrawLink(*link, canvas);
        }
        for (Point point : {Point{0, 0}, Point{5, 5}, Point{100, 30}, Point{320, 240}}) {
            if (const LinkElement* link = page.HitTest(point)) {
                FUZZ_CHECK(link->HitRect().Contains(point));
            }
        }
        Walk(page, canvas, true);
        page.DiscardLayout();
        FUZZ_CHECK(canvas.fontsAlive == 0);
    }
    FUZZ_CHECK(canvas.fontsAlive == 0);
    return 0;
}
