#include "html/LayoutDump.h"

#include <cstdio>

#include "html/TokenList.h"
#include "picture/DibPicture.h"
#include "text/ShiftJis.h"

namespace {

// A string as JSON, character by character.
std::string Json(std::string_view cp932) {
    std::string out = "\"";
    for (size_t i = 0; i < cp932.size(); ++i) {
        const auto byte = static_cast<uint8_t>(cp932[i]);
        if (IsLeadByte(byte) && i + 1 < cp932.size()) {
            // A trail byte may look like a backslash; it belongs to its character.
            out += cp932.substr(i, 2);
            ++i;
        } else if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(byte));
            out += buffer;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out + "\"";
}

std::string Int(int value) {
    return std::to_string(value);
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string DumpLayout(const TokenList& page, Size scrollSize,
                       const std::vector<DumpedControl>& controls) {
    std::string out = "{\"page\":{\"width\":" + Int(scrollSize.width) +
                      ",\"height\":" + Int(scrollSize.height) + ",\"title\":" + Json(page.title()) +
                      "}}\n";
    for (const auto& link : page.links()) {
        out += "{\"link\":{\"kind\":" + Int(static_cast<int>(link->kind)) +
               ",\"target\":" + Json(link->target) + ",\"x\":" + Int(link->x) +
               ",\"y\":" + Int(link->y) + ",\"width\":" + Int(link->width) +
               ",\"height\":" + Int(link->height) + ",\"visited\":" + Bool(link->visited) + "}}\n";
    }
    for (const auto& run : page.textRuns()) {
        out += "{\"run\":{\"x\":" + Int(run->x) + ",\"y\":" + Int(run->y) +
               ",\"width\":" + Int(run->width) + ",\"height\":" + Int(run->height) +
               ",\"text\":" + Json(run->text) + "}}\n";
    }
    for (const TableRecord& table : page.tables()) {
        std::string cells;
        for (const Rect& cell : table.cells) {
            cells += (cells.empty() ? "[" : ",[") + Int(cell.left) + "," + Int(cell.top) + "," +
                     Int(cell.width()) + "," + Int(cell.height()) + "]";
        }
        out += "{\"table\":{\"x\":" + Int(table.box.left) + ",\"y\":" + Int(table.box.top) +
               ",\"width\":" + Int(table.box.width()) + ",\"height\":" + Int(table.box.height()) +
               ",\"border\":" + Bool(table.border) + ",\"rows\":" + Int(table.rows) +
               ",\"columns\":" + Int(table.columns) + ",\"cells\":[" + cells + "]}}\n";
    }
    for (const DumpedControl& control : controls) {
        out += "{\"control\":{\"kind\":\"" + control.kind + "\",\"x\":" + Int(control.box.left) +
               ",\"y\":" + Int(control.box.top) + ",\"width\":" + Int(control.box.width()) +
               ",\"height\":" + Int(control.box.height()) + ",\"name\":" + Json(control.name) +
               ",\"value\":" + Json(control.value) + "}}\n";
    }
    for (int i = 0; i < page.imageCount() && i < TokenList::kImageSlots; ++i) {
        const DibPicture& slot = page.imageSlot(i);
        out += "{\"picture\":{\"index\":" + Int(i) + ",\"name\":" + Json(slot.name()) +
               ",\"width\":" + Int(slot.width()) + ",\"height\":" + Int(slot.height()) + "}}\n";
    }
    return out;
}
