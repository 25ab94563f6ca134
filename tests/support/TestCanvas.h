#pragma once

// A canvas for tests: deterministic metrics and a record of every drawing call.
// A single-byte character is half the font's height wide (rounded up), a
// double-byte character as wide as the font is high; every character is as
// high as the font. Wrapped text breaks between any two characters.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/Canvas.h"
#include "picture/DibPicture.h"
#include "text/ShiftJis.h"

class TestFont : public CanvasFont {
  public:
    explicit TestFont(const FontSpec& fontSpec) : fontSpec_(fontSpec) {}
    const FontSpec& fontSpec() const override { return fontSpec_; }

  private:
    FontSpec fontSpec_;
};

class TestCanvas : public Canvas {
  public:
    // Every call, one line each, e.g. "text 10,20 abc #ff0000 h13 bold".
    std::vector<std::string> calls;
    bool failFonts = false;
    int fontsAlive = 0;  // fonts made and not yet released

    static int CharWidth(const FontSpec& f, bool doubleByte) {
        return doubleByte ? f.height : (f.height + 1) / 2;
    }

    std::unique_ptr<CanvasFont> MakeFont(const FontSpec& fontSpec) override {
        if (failFonts) {
            return nullptr;
        }
        return std::make_unique<CountedFont>(fontSpec, fontsAlive);
    }
    const CanvasFont* SelectFont(const CanvasFont* font) override {
        const CanvasFont* previous = font_;
        font_ = font;
        return previous;
    }
    Colour SetTextColour(Colour colour) override {
        const Colour previous = textColour_;
        textColour_ = colour;
        return previous;
    }
    bool SetTransparentText(bool transparent) override {
        const bool previous = transparent_;
        transparent_ = transparent;
        return previous;
    }
    Size MeasureText(std::string_view text) override {
        const FontSpec f = font_ ? font_->fontSpec() : FontSpec{};
        Size size{0, f.height};
        for (size_t i = 0; i < text.size(); ++i) {
            const bool wide = IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size();
            size.width += CharWidth(f, wide);
            i += wide ? 1 : 0;
        }
        return size;
    }
    Size MeasureWrappedText(int width, std::string_view text) override {
        const FontSpec f = font_ ? font_->fontSpec() : FontSpec{};
        int widest = 0;
        int line = 0;
        int lines = 1;
        for (size_t i = 0; i < text.size(); ++i) {
            const bool wide = IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size();
            const int w = CharWidth(f, wide);
            if (line > 0 && line + w > width) {
                ++lines;
                line = 0;
            }
            line += w;
            widest = line > widest ? line : widest;
            i += wide ? 1 : 0;
        }
        return {widest, lines * f.height};
    }
    void DrawCharacters(int y, std::string_view text, const int* xs) override {
        calls.push_back("text " + std::to_string(xs[0]) + "," + std::to_string(y) + " " +
                        std::string(text) + State());
    }
    void DrawTextAt(int x, int y, std::string_view text) override {
        calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " +
                        std::string(text) + State());
    }
    void DrawWrappedText(const Rect& area, std::string_view text) override {
        calls.push_back("wrapped " + Str(area) + " " + std::string(text) + State());
    }
    void FillRect(const Rect& area, Colour colour) override {
        calls.push_back("fill " + Str(area) + " " + Hex(colour));
    }
    void DrawEdge(const Rect& area, EdgeStyle style) override {
        calls.push_back("edge " + Str(area) + " " + std::to_string(static_cast<int>(style)));
    }
    void CopyPicture(const DibPicture& picture, const Rect& area) override {
        calls.push_back("copy " + picture.name() + " " + Str(area));
    }
    void StretchPicture(const DibPicture& picture, const Rect& area) override {
        calls.push_back("stretch " + picture.name() + " " + Str(area));
    }
    void DrawPictureTransparent(const DibPicture& picture, const Rect& area) override {
        calls.push_back("transparent " + picture.name() + " " + Str(area));
    }

    // The calls that start with `kind` ("text", "fill", ...).
    std::vector<std::string> CallsOf(std::string_view kind) const {
        std::vector<std::string> out;
        for (const std::string& c : calls) {
            if (c.compare(0, kind.size(), kind) == 0 && c.size() > kind.size() &&
                c[kind.size()] == ' ') {
                out.push_back(c);
            }
        }
        return out;
    }

    static std::string Str(const Rect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "-" +
               std::to_string(r.right) + "," + std::to_string(r.bottom);
    }
    static std::string Hex(Colour c) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(c));
        return buffer;
    }

  private:
    class CountedFont : public TestFont {
      public:
        CountedFont(const FontSpec& fontSpec, int& alive) : TestFont(fontSpec), alive_(alive) {
            ++alive_;
        }
        ~CountedFont() override { --alive_; }

      private:
        int& alive_;
    };

    std::string State() const {
        std::string s = " " + Hex(textColour_);
        if (font_) {
            s += " h" + std::to_string(font_->fontSpec().height);
            if (font_->fontSpec().bold) {
                s += " bold";
            }
            if (font_->fontSpec().underline) {
                s += " underline";
            }
        }
        if (!transparent_) {
            s += " opaque";
        }
        return s;
    }

    const CanvasFont* font_ = nullptr;
    Colour textColour_ = 0;
    bool transparent_ = false;
};
