#include "html/TagTable.h"

const std::array<std::string_view, kTagCount> kTagPrefixes = {
    "<html",      "</html",
    "<head",      "</head",
    "<title",     "</title",
    "<base href", "<meta http-equiv",
    "<meta name", "<link",
    "<body",      "</body",
    "<!",         "<h",
    "</h",        "<font",
    "</font",     "<basefont size=",
    "<big",       "</big",
    "<small",     "</small",
    "<br",        "<p",
    "<nobr",      "</nobr",
    "<pre",       "</pre",
    "<center",    "</center",
    "<div",       "</div",
    "<img",       "<table",
    "</table",    "<table border=",
    "<tr",        "</tr",
    "<td",        "</td",
    "<th",        "</th",
    "<caption",   "</caption",
    "</p",        "<wbr",
    "<strong",    "</strong",
    "<b>",        "</b",
    "<tt",        "</tt",
    "<i>",        "</i",
    "<a",         "</a",
    "<form",      "</form",
    "<input",
};

Tag FindTag(std::string_view token) {
    for (size_t i = 0; i < kTagPrefixes.size(); ++i) {
        if (MatchTag(token, kTagPrefixes[i])) {
            return static_cast<Tag>(i);
        }
    }
    return Tag::None;
}
