#pragma once

// A page host for the fuzz targets: fixed answers chosen from the input, and
// pictures from a small archive written once per process, or from the input.

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "html/PageHost.h"
#include "html/TokenList.h"
#include "picture/DibPicture.h"
#include "support/BmpBuilder.h"
#include "text/ShiftJis.h"

class FuzzHost : public PageHost {
  public:
    Rect client{0, 0, 640, 480};
    bool plugin = false;
    bool capsLock = false;
    bool everythingVisited = false;
    int textSizeOffset = -3;
    // Given to pictures the archive does not hold; empty for none.
    std::string_view inputPicture;

    Point scroll;
    std::string keyword = "fog";

    // A form control's window: whatever a page asks, a control's size stays
    // on the page.
    class Control : public FormControlWindow {
      public:
        void Move(const Rect& rect) override { CheckControl(rect); }
        void Show(bool) override {}
        std::string Text() const override { return text; }
        void SetText(const std::string& value) override { text = value; }
        std::string text;
    };
    static void CheckControl(const Rect& rect) {
        FUZZ_CHECK(rect.width() >= 0 && rect.width() <= TokenList::kMaxPageWidth);
        FUZZ_CHECK(rect.height() >= 0 && rect.height() <= TokenList::kMaxPageHeight);
    }

    Rect ClientRect() const override { return client; }
    int ViewWindowWidth() const override { return client.width() + 16; }
    // The view takes negative sizes as zero.
    void SetScrollSizes(int, int) override {}
    void SetProgressRange(int, int) override {}
    void SetProgressPos(int) override {}
    void AdvanceProgress(int) override {}
    void SetWindowTitle(const std::string& text) override { FUZZ_CHECK(text.size() <= 255); }
    bool IsVisited(std::string_view) const override { return everythingVisited; }
    int TextSizeOffset() const override { return textSizeOffset; }
    bool PluginInstalled() const override { return plugin; }
    bool CapsLockOn() const override { return capsLock; }

    bool LoadPicture(std::string_view name, DibPicture& slot) override {
        FUZZ_CHECK(slot.empty());
        std::string entry(name);
        uint32_t index = 0;
        // Only what the archive holds: the game would also try a loose file
        // in the current folder.
        if (DibPicture::NormalizeName(entry) && Pictures().Find(entry, index)) {
            PictureSources sources;
            sources.cg = &Pictures();
            return slot.Load(name, sources);
        }
        if (inputPicture.empty()) {
            return false;
        }
        slot.LoadFromBytes(reinterpret_cast<const uint8_t*>(inputPicture.data()),
                           inputPicture.size());
        return true;
    }

    Point ScrollPosition() const override { return scroll; }
    std::string LastKeyword() const override { return keyword; }
    Size MeasureCaption(std::string_view text) override {
        return {static_cast<int>(std::min<size_t>(text.size(), 100000)) * 9, 15};
    }
    std::unique_ptr<FormControlWindow> CreateTextField(FormTextField& field) override {
        CheckControl(field.rect);
        field.rect.bottom = field.rect.top + 21;
        return std::make_unique<Control>();
    }
    std::unique_ptr<FormControlWindow> CreateButton(FormButton& button) override {
        CheckControl(button.rect);
        return std::make_unique<Control>();
    }

    // Pictures of every depth, with names for the picture-name rules:
    // "s.bmp" leaves the top-left colour out, "m.bmp" has a plug-in twin.
    static const Archive& Pictures() {
        static const std::unique_ptr<Archive> archive = [] {
            std::vector<uint8_t> pixels8(8 * 6);
            for (size_t i = 0; i < pixels8.size(); ++i) {
                pixels8[i] = static_cast<uint8_t>(i * 5);
            }
            const std::vector<ArchiveInput> inputs = {
                {"a.bmp", MakeBmp(20, 10, 24)},
                {"bs.bmp", MakeBmp(8, 6, 8, pixels8)},
                {"bg.bmp", MakeBmp(7, 5, 1)},
                {"cm.bmp", MakeBmp(12, -9, 4)},
                {"c.bmp", MakeBmp(12, 9, 32)},
                {"dsm.bmp", MakeBitFieldsBmp(3, 3, 16, {}, {0xF800, 0x07E0, 0x001F})},
                {"wide.bmp", MakeBmp(900, 2, 24)},
            };
            const std::string path = Scratch().File("pictures.arc");
            WriteFile(path, *BuildArchive(inputs));
            auto opened = std::make_unique<Archive>();
            opened->Open(path);
            FUZZ_CHECK(opened->loaded());
            return opened;
        }();
        return *archive;
    }
};
