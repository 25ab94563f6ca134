#pragma once

#include <string>
#include <string_view>
#include <vector>

// A typeface the system lists for the Shift-JIS character set.
struct FontFace {
    std::wstring name;
    bool fixedPitch = false;
};

// The face to ask for when the program wants `wanted` for Japanese text.
// `installed` says whether the system has `wanted` itself; `japanese` lists the
// faces it has for Shift-JIS, in its own order. A missing face must not leave
// the choice to the system, which may take a face without Japanese (or without
// Latin) characters: a fixed-pitch Japanese face comes first, then any Japanese
// face. Faces for vertical writing (named "@...") draw sideways and never count.
// `wanted` again when the system lists no Japanese face at all.
std::wstring ChooseJapaneseFace(const std::wstring& wanted, bool installed,
                                const std::vector<FontFace>& japanese);

// A text's size in the system font of a Japanese Windows, which buttons'
// captions are measured in: a fixed cell 18 pixels high, 8 pixels wide for a
// single-byte character and 16 for a double-byte one (code page 932). Wine
// realises that font in one IPA face or another from start to start; the
// game, its page preview and the web edition all take these numbers instead.
inline constexpr int kSystemFontHeight = 18;
inline constexpr int kSystemFontNarrow = 8;
int SystemFontTextWidth(std::string_view cp932);
