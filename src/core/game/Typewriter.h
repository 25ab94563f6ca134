#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The message window's typewriter: one double-byte character a tick, from the
// pen, wrapping at the right limit except before the punctuation that hangs
// past it; then the blinking end-of-line mark.

struct CharExtent {
    int width = 0;
    int height = 0;
};

// Kept for the whole run, from one line and one window to the next.
struct TypewriterMemory {
    int blinkPhase = 0;
    CharExtent lastCharExtent;
};
TypewriterMemory& SharedTypewriterMemory();

// Whether a character may start a row; "、", "。", "」", "！" and "？" never do.
bool MayBeginLine(std::string_view character);

class Typewriter {
  public:
    static constexpr int kMargin = 10;      // text starts this far from the top left
    static constexpr int kRightLimit = 16;  // rows end this far before the right edge
    static constexpr int kRowGap = 3;       // between rows

    using Measure = std::function<CharExtent(std::string_view character)>;

    struct Glyph {
        std::string text;
        int x = 0;  // where it is drawn, margins included
        int y = 0;
    };

    explicit Typewriter(TypewriterMemory& memory = SharedTypewriterMemory()) : memory_(memory) {}

    // Starts typing a line from the current pen.
    void StartLine(std::string line);
    // One tick: the character to draw, or nothing when the line is finished
    // (the pen then moves to a new row when the last character left no room).
    std::optional<Glyph> Tick(int clientWidth, const Measure& measure);
    // One blink of the end mark: "　" to erase it or "▼" to show it.
    Glyph Blink();

    void ResetPen() { penX_ = penY_ = 0; }
    // A label took `height` pixels at the top.
    void MoveDown(int height) { penY_ += height; }

    bool typing() const { return typing_; }
    int penX() const { return penX_; }
    int penY() const { return penY_; }
    const std::string& line() const { return line_; }

  private:
    TypewriterMemory& memory_;
    std::string line_;
    size_t charPos_ = 0;
    bool typing_ = false;
    int penX_ = 0;
    int penY_ = 0;
};
