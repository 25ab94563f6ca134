#pragma once

// A page laid out on the test canvas, with a host whose answers the test sets.

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../../support/BmpBuilder.h"
#include "../../support/TestCanvas.h"
#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "html/TokenList.h"
#include "text/ShiftJis.h"

// A 24-bit bottom-up .bmp of one colour, with its top-left pixel in `corner`.
inline std::vector<uint8_t> SolidBmp(int width, int height, uint32_t rgb = 0x808080,
                                     uint32_t corner = 0x808080) {
    std::vector<uint8_t> b = MakeSolidBmp(width, height, rgb);
    // Bottom-up: the top-left pixel starts the last row.
    const size_t at = bmp::kHeadersSize + bmp::Stride(width, 24) * static_cast<size_t>(height - 1);
    b[at] = static_cast<uint8_t>(corner >> 16);
    b[at + 1] = static_cast<uint8_t>(corner >> 8);
    b[at + 2] = static_cast<uint8_t>(corner);
    return b;
}

class FakeHost : public PageHost {
  public:
    // A form control's window: it logs what the page asks of it in the
    // host's `controls`, under the control's name (a button's action).
    class Control : public FormControlWindow {
      public:
        Control(FakeHost& host, std::string name, std::string initial)
            : text(std::move(initial)), host_(host), name_(std::move(name)) {}
        void Move(const Rect& rect) override { Log("move " + TestCanvas::Str(rect)); }
        void Show(bool shown) override { Log(shown ? "show" : "hide"); }
        std::string Text() const override { return text; }
        void SetText(const std::string& value) override {
            text = value;
            Log("text " + value);
        }
        std::string text;

      private:
        void Log(const std::string& what) { host_.controls.push_back(name_ + " " + what); }
        FakeHost& host_;
        std::string name_;
    };

    Rect client{0, 0, 640, 480};
    Point scrollAt;
    std::string keyword;
    std::vector<std::string> controls;
    int windowWidth = 640;
    Size scroll{-1, -1};
    std::vector<std::string> progress;
    std::vector<std::string> titles;
    std::set<std::string> visited;
    bool plugin = false;
    bool capsLock = false;
    std::vector<std::string> loads;

    // A picture the page can load, kept in a picture archive of the host's own.
    void AddPicture(const std::string& name, std::vector<uint8_t> bytes) {
        pictures_.push_back({name, std::move(bytes)});
        archive_.reset();
    }

    Rect ClientRect() const override { return client; }
    int ViewWindowWidth() const override { return windowWidth; }
    void SetScrollSizes(int width, int height) override { scroll = {width, height}; }
    void SetProgressRange(int lower, int upper) override {
        progress.push_back("range " + std::to_string(lower) + " " + std::to_string(upper));
    }
    void SetProgressPos(int position) override {
        progress.push_back("pos " + std::to_string(position));
    }
    void AdvanceProgress(int delta) override {
        progress.push_back("advance " + std::to_string(delta));
    }
    void SetWindowTitle(const std::string& text) override { titles.push_back(text); }
    bool IsVisited(std::string_view name) const override {
        for (const std::string& v : visited) {
            if (EqualsIgnoringAsciiCase(v, name)) {
                return true;
            }
        }
        return false;
    }
    int TextSizeOffset() const override { return -3; }
    bool PluginInstalled() const override { return plugin; }
    bool CapsLockOn() const override { return capsLock; }
    bool LoadPicture(std::string_view name, DibPicture& slot) override {
        loads.emplace_back(name);
        if (!archive_) {
            const std::string path = dir_.File("cg.arc");
            WriteBytes(path, *BuildArchive(pictures_));
            archive_ = std::make_unique<Archive>();
            archive_->Open(path);
        }
        // No loose files: look in a folder that has none.
        return archive_->Find(name, unused_) && slot.Load(name, PictureSources{archive_.get()});
    }

    Point ScrollPosition() const override { return scrollAt; }
    std::string LastKeyword() const override { return keyword; }
    // As the test canvas measures a 13-pixel font.
    Size MeasureCaption(std::string_view text) override {
        return {7 * static_cast<int>(text.size()), 13};
    }
    // A text field's window is 24 pixels high.
    std::unique_ptr<FormControlWindow> CreateTextField(FormTextField& field) override {
        field.rect.bottom = field.rect.top + 24;
        controls.push_back("make " + field.name + " " + TestCanvas::Str(field.rect));
        return std::make_unique<Control>(*this, field.name, field.initialValue);
    }
    std::unique_ptr<FormControlWindow> CreateButton(FormButton& button) override {
        controls.push_back("make " + button.action + " " + TestCanvas::Str(button.rect));
        return std::make_unique<Control>(*this, button.action, button.caption);
    }

  private:
    TempDir dir_;
    std::vector<ArchiveInput> pictures_;
    std::unique_ptr<Archive> archive_;
    uint32_t unused_ = 0;
};

// Tokenizes `html` and walks it once.
class PageFixture {
  public:
    FakeHost host;
    TestCanvas canvas;
    TokenList page;

    explicit PageFixture(const std::string& html = "") { Load(html); }

    void Load(const std::string& html) {
        page.Clear();
        TokenizePage(reinterpret_cast<const uint8_t*>(html.data()), html.size(), page);
        page.SetHost(&host);
    }
    // One walk as the view does it: the previous layout discarded first.
    void Render(bool discard = true) {
        if (discard) {
            page.DiscardLayout();
        }
        page.ResetLayout();
        page.RenderPage(canvas);
    }
    const TextRun& Run(size_t i) const { return *page.textRuns().at(i); }
    const LinkElement& Link(size_t i) const { return *page.links().at(i); }
};
