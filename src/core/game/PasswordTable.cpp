#include "game/PasswordTable.h"

#include <cstdint>
#include <string_view>

#include "text/ShiftJis.h"
#include "text/StringList.h"

namespace {

constexpr std::string_view kEntryMarker = "□";
constexpr std::string_view kGroupEnd = "□ＥＮＤ";
constexpr std::string_view kWideSpace = "　";

// The value of the full-width digit at `at`, or -1 when there is none.
int WideDigit(std::string_view line, size_t at) {
    if (at + 2 > line.size() || static_cast<uint8_t>(line[at]) != 0x82) {
        return -1;
    }
    const auto trail = static_cast<uint8_t>(line[at + 1]);
    return trail >= 0x4F && trail <= 0x58 ? trail - 0x4F : -1;
}

}  // namespace

PasswordLists ParsePasswordLines(const StringList& lines) {
    PasswordLists lists;
    for (const StringNode* node = lines.first(); !node->IsSentinel(); node = node->next()) {
        const std::string_view line = *node->text();
        // Groups only help the people who write the file; closing one changes nothing.
        if (FindCharacters(line, kGroupEnd, 0) != std::string_view::npos ||
            line.starts_with("//")) {
            continue;
        }
        const size_t marker = FindCharacters(line, kEntryMarker, 0);
        if (marker == std::string_view::npos) {
            continue;
        }
        const size_t digits = marker + kEntryMarker.size();
        const int tens = WideDigit(line, digits);
        const int units = WideDigit(line, digits + 2);
        if (tens < 0 || units < 0 || tens * 10 + units >= kPasswordSlots) {
            continue;
        }
        const size_t space = FindCharacters(line, kWideSpace, digits);
        if (space == std::string_view::npos) {
            continue;
        }
        lists[static_cast<size_t>(tens * 10 + units)].emplace_back(
            line.substr(space + kWideSpace.size()));
    }
    return lists;
}

bool LoadPasswordTable(const Archive& textArchive, PasswordLists& lists) {
    StringList lines;
    const bool found = lines.LoadLines("password.txt", textArchive);
    lists = ParsePasswordLines(lines);
    return found;
}
