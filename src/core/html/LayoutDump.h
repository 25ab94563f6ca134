#pragma once

#include <string>
#include <vector>

#include "html/Geometry.h"

class TokenList;

// A form control as a layout dump lists it: "text", "password", "submit" or
// "reset", its box in page coordinates, its name (a button's action) and its
// first value (a button's caption).
struct DumpedControl {
    std::string kind;
    Rect box;
    std::string name;
    std::string value;
};

// The layout of a laid-out page, one JSON object a line: the page (its scroll
// size and title), its links, text runs, tables (cells row by row), form
// controls and pictures. Strings stay code page 932, escaped character by
// character, so the whole text turns into UTF-8 JSON in one conversion.
// The page preview tool and the web edition print it alike, so that their
// layouts can be compared box for box.
std::string DumpLayout(const TokenList& page, Size scrollSize,
                       const std::vector<DumpedControl>& controls);
