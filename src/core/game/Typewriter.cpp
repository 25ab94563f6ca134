#include "game/Typewriter.h"

#include <array>
#include <utility>

TypewriterMemory& SharedTypewriterMemory() {
    static TypewriterMemory memory;
    return memory;
}

bool MayBeginLine(std::string_view character) {
    static constexpr std::array<std::string_view, 5> kHanging = {"、", "。", "」", "！", "？"};
    for (std::string_view hanging : kHanging) {
        if (character == hanging) {
            return false;
        }
    }
    return true;
}

void Typewriter::StartLine(std::string line) {
    line_ = std::move(line);
    charPos_ = 0;
    typing_ = true;
}

std::optional<Typewriter::Glyph> Typewriter::Tick(int clientWidth, const Measure& measure) {
    const int limit = clientWidth - kRightLimit;
    // A line with a single-byte character inside ends when the position passes
    // its end, never reading past it.
    if (charPos_ >= line_.size()) {
        charPos_ = 0;
        typing_ = false;
        if (penX_ + memory_.lastCharExtent.width > limit) {
            penX_ = 0;
            penY_ += memory_.lastCharExtent.height + kRowGap;
        }
        return std::nullopt;
    }
    std::string character = line_.substr(charPos_, 2);
    const CharExtent extent = measure(character);
    memory_.lastCharExtent = extent;
    if (penX_ + extent.width > limit && MayBeginLine(character)) {
        penX_ = 0;
        penY_ += extent.height + kRowGap;
    }
    Glyph glyph{std::move(character), penX_ + kMargin, penY_ + kMargin};
    penX_ += extent.width;
    charPos_ += 2;
    return glyph;
}

Typewriter::Glyph Typewriter::Blink() {
    const bool erase = memory_.blinkPhase == 0;
    memory_.blinkPhase = erase ? 1 : 0;
    return {erase ? "　" : "▼", penX_ + kMargin, penY_ + kMargin};
}
