// velrender: lays a page of a world out exactly as the browser view does and
// writes the painted page as a .bmp, for people who make game data.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "Message.h"
#include "archive/Archive.h"
#include "framework/Fonts.h"
#include "framework/Gdi.h"
#include "framework/GdiCanvas.h"
#include "framework/ScrollView.h"
#include "framework/Text.h"
#include "game/PageTable.h"
#include "game/Search.h"
#include "html/LayoutDump.h"
#include "html/TokenList.h"
#include "picture/DibPicture.h"
#include "text/FontFaces.h"
#include "text/ShiftJis.h"

namespace {

const char kUsage[] =
    "usage: velrender [OPTIONS] WORLD_DIR PAGE OUT.bmp [--dump]\n"
    "       velrender [OPTIONS] --search WORDS WORLD_DIR OUT.bmp [--dump]\n"
    "\n"
    "Lays PAGE of the world in WORLD_DIR (its four archives) out as the browser\n"
    "does and writes the page, cut to its scroll size, as a 24-bit .bmp. With\n"
    "--search, the page is the result page the browser builds for WORDS.\n"
    "\n"
    "  --client WxH      the view's inside without scroll bars (default 800x600)\n"
    "  --scroll X,Y      write only what the view shows at that scroll position\n"
    "  --visited NAME    count NAME as a visited page (repeatable)\n"
    "  --plugin          the plug-in is installed\n"
    "  --capslock        Caps Lock is on\n"
    "  --dump            also print the layout, one JSON object a line: the page,\n"
    "                    its links, text runs, tables (with their cells, row by\n"
    "                    row), form controls and pictures\n";

constexpr int kPageWidth = TokenList::kMaxPageWidth;
constexpr int kPageHeight = TokenList::kMaxPageHeight;

std::string Utf8(std::string_view cp932) {
    const std::wstring wide = Widen(cp932);
    if (wide.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::string Utf8(std::wstring_view wide) {
    return Utf8(Narrow(wide));
}

void PrintMessage(const std::string& text) {
    std::fprintf(stderr, "velrender: %s\n", Utf8(text).c_str());
}

struct Options {
    int clientWidth = 800;
    int clientHeight = 600;
    bool scrolled = false;
    int scrollX = 0;
    int scrollY = 0;
    std::vector<std::string> visited;
    bool plugin = false;
    bool capsLock = false;
    bool dump = false;
    bool search = false;
    std::string words;  // code page 932
    std::wstring world;
    std::string page;
    std::wstring out;
};

// A form control as the preview keeps it: the game shows a window there,
// the preview draws a plain box.
struct PreviewControl : FormControlWindow {
    std::string kind;  // "text", "password", "submit" or "reset"
    const FormControl* control = nullptr;
    std::string name;
    std::string value;
    std::string text;  // what the field shows, or the button's caption

    void Move(const Rect&) override {}
    void Show(bool) override {}
    std::string Text() const override { return text; }
    void SetText(const std::string& shown) override { text = shown; }
};

class PreviewHost : public PageHost {
  public:
    PreviewHost(const Options& options, const PictureSources& sources)
        : options_(options), sources_(sources) {}

    Rect ClientRect() const override { return {0, 0, options_.clientWidth, options_.clientHeight}; }
    // As the game's view window, whose width counts its edges and bars.
    int ViewWindowWidth() const override {
        return CScrollView::WindowWidthFor(options_.clientWidth);
    }
    void SetScrollSizes(int width, int height) override { scroll = {width, height}; }
    void SetProgressRange(int, int) override {}
    void SetProgressPos(int) override {}
    void AdvanceProgress(int) override {}
    void SetWindowTitle(const std::string& text) override { title = text; }
    bool IsVisited(std::string_view name) const override {
        for (const std::string& v : options_.visited) {
            if (EqualsIgnoringAsciiCase(v, name)) {
                return true;
            }
        }
        return false;
    }
    int TextSizeOffset() const override { return -3; }
    bool PluginInstalled() const override { return options_.plugin; }
    bool CapsLockOn() const override { return options_.capsLock; }
    // A result page's text fields show the words searched for.
    std::string LastKeyword() const override { return options_.words; }
    bool LoadPicture(std::string_view name, DibPicture& slot) override {
        return slot.Load(name, sources_);
    }
    Point ScrollPosition() const override { return {options_.scrollX, options_.scrollY}; }
    // In the Japanese system font's cells, as the view measures.
    Size MeasureCaption(std::string_view text) override {
        return {SystemFontTextWidth(text), kSystemFontHeight};
    }
    std::unique_ptr<FormControlWindow> CreateTextField(FormTextField& field) override {
        return Keep(field.password ? "password" : "text", field, field.name, field.initialValue,
                    field.initialValue);
    }
    std::unique_ptr<FormControlWindow> CreateButton(FormButton& button) override {
        return Keep(button.submit ? "submit" : "reset", button, button.action, button.caption,
                    button.caption);
    }

    Size scroll;
    std::string title;
    // Every control the page made, in the order of its tags.
    std::vector<const PreviewControl*> controls;

  private:
    std::unique_ptr<FormControlWindow> Keep(const char* kind, const FormControl& control,
                                            const std::string& name, const std::string& value,
                                            const std::string& text) {
        auto window = std::make_unique<PreviewControl>();
        window->kind = kind;
        window->control = &control;
        window->name = name;
        window->value = value;
        window->text = text;
        controls.push_back(window.get());
        return window;
    }

    const Options& options_;
    PictureSources sources_;
};

// Draws the form controls over the page where the game shows their windows,
// in the font of their dialogs.
void DrawControls(HDC dc, const PreviewHost& host, Point scroll) {
    FontHandle font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH, JapaneseFace(L"ＭＳ Ｐゴシック").c_str()));
    SelectInto select(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    for (const PreviewControl* control : host.controls) {
        const Rect& r = control->control->rect;
        RECT box{r.left + scroll.x, r.top + scroll.y, r.right + scroll.x, r.bottom + scroll.y};
        std::wstring text = Widen(control->text);
        if (control->kind == "text" || control->kind == "password") {
            FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
            DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT);
            if (control->kind == "password") {
                text.assign(text.size(), L'*');
            }
            RECT inside{box.left + 4, box.top, box.right - 2, box.bottom};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inside,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        } else {
            DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONPUSH);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                      DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        }
    }
}

bool ParseArguments(int argc, wchar_t** argv, Options& o) {
    std::vector<std::wstring> positional;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        auto next = [&]() -> std::wstring { return i + 1 < argc ? argv[++i] : L""; };
        if (a == L"--client") {
            if (swscanf(next().c_str(), L"%dx%d", &o.clientWidth, &o.clientHeight) != 2 ||
                o.clientWidth <= 0 || o.clientHeight <= 0) {
                return false;
            }
        } else if (a == L"--scroll") {
            if (swscanf(next().c_str(), L"%d,%d", &o.scrollX, &o.scrollY) != 2) {
                return false;
            }
            o.scrolled = true;
        } else if (a == L"--visited") {
            o.visited.push_back(Narrow(next()));
        } else if (a == L"--plugin") {
            o.plugin = true;
        } else if (a == L"--capslock") {
            o.capsLock = true;
        } else if (a == L"--dump") {
            o.dump = true;
        } else if (a == L"--search") {
            o.search = true;
            o.words = Narrow(next());
        } else if (!a.empty() && a[0] == L'-') {
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != (o.search ? 2u : 3u)) {
        return false;
    }
    o.world = positional.front();
    if (!o.search) {
        o.page = Narrow(positional[1]);
    }
    o.out = positional.back();
    return true;
}

// Writes the part `area` of the page bitmap as a 24-bit bottom-up .bmp.
bool WriteBmp(const std::wstring& path, HDC dc, HBITMAP bitmap, const Rect& area) {
    const int width = std::max(1, area.width());
    const int height = std::max(1, area.height());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kPageWidth;
    info.bmiHeader.biHeight = -kPageHeight;  // rows top-down while reading
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const int pageStride = (kPageWidth * 3 + 3) & ~3;
    std::vector<uint8_t> page(static_cast<size_t>(pageStride) * kPageHeight);
    if (!GetDIBits(dc, bitmap, 0, kPageHeight, page.data(), &info, DIB_RGB_COLORS)) {
        return false;
    }
    const int stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> file(54 + static_cast<size_t>(stride) * height, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            file[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    put32(34, static_cast<uint32_t>(stride * height));
    for (int row = 0; row < height; ++row) {
        const int y = area.top + (height - 1 - row);
        uint8_t* to = &file[54 + static_cast<size_t>(row) * stride];
        for (int x = 0; x < width; ++x) {
            const int px = area.left + x;
            if (y >= 0 && y < kPageHeight && px >= 0 && px < kPageWidth) {
                const uint8_t* from = &page[static_cast<size_t>(y) * pageStride + px * 3];
                to[x * 3] = from[0];
                to[x * 3 + 1] = from[1];
                to[x * 3 + 2] = from[2];
            }
        }
    }
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

void Dump(const TokenList& page, const PreviewHost& host, const Options& options) {
    // Page coordinates: the walk placed the controls in the view's, at its
    // scroll position.
    std::vector<DumpedControl> controls;
    for (const PreviewControl* control : host.controls) {
        controls.push_back({control->kind,
                            control->control->rect.Offset(options.scrollX, options.scrollY),
                            control->name, control->value});
    }
    std::fputs(Utf8(DumpLayout(page, host.scroll, controls)).c_str(), stdout);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Options options;
    if (argc >= 2 && (std::wstring(argv[1]) == L"--help" || std::wstring(argv[1]) == L"-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!ParseArguments(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // The output path is taken before the world folder becomes the current one.
    wchar_t outPath[MAX_PATH];
    if (!GetFullPathNameW(options.out.c_str(), MAX_PATH, outPath, nullptr) ||
        !SetCurrentDirectoryW(options.world.c_str())) {
        std::fprintf(stderr, "velrender: cannot use the folder %s\n", Utf8(options.world).c_str());
        return 2;
    }
    SetMessageHandler(PrintMessage);

    Archive cg, ex, text, parts;
    cg.Open("cg.arc");
    ex.Open("ex.arc");
    text.Open("Text.arc");
    parts.Open("parts.arc");
    PreviewHost host(options, PictureSources{&cg, &ex, &parts});

    TokenList page;
    uint32_t index = 0;
    if (options.search) {
        std::vector<std::string> words;
        if (SplitKeywords(options.words, words) < 0) {
            return 1;  // told through the message handler
        }
        FillSearchPage(text, LoadPageTable(text), words, page);
    } else if (!text.Find(options.page, index)) {
        std::fprintf(stderr, "velrender: no page \"%s\" in Text.arc\n", Utf8(options.page).c_str());
        return 1;
    }
    if (!options.search && !page.LoadPage(text, options.page)) {
        std::fprintf(stderr,
                     "velrender: a tag has no \">\" within 256 bytes; the page stops there\n");
    }
    page.SetHost(&host);

    // The page bitmap of the view: screen format, 1400 x 2600.
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), kPageWidth, kPageHeight));
    if (!memory || !bitmap) {
        std::fprintf(stderr, "velrender: cannot make the page bitmap\n");
        return 1;
    }
    HDC dc = memory.get();
    {
        SelectInto select(dc, bitmap.get());
        {
            GdiCanvas canvas(dc);
            page.ResetLayout();
            page.RenderPage(canvas);
        }
        DrawControls(dc, host, {options.scrollX, options.scrollY});
    }

    const Rect area = options.scrolled ? Rect::FromSize(options.scrollX, options.scrollY,
                                                        options.clientWidth, options.clientHeight)
                                       : Rect{0, 0, host.scroll.width, host.scroll.height};
    const bool written = WriteBmp(outPath, dc, bitmap.get(), area);
    if (!written) {
        std::fprintf(stderr, "velrender: cannot write %s\n", Utf8(std::wstring(outPath)).c_str());
        return 1;
    }
    if (options.dump) {
        Dump(page, host, options);
    }
    LocalFree(argv);
    return 0;
}
