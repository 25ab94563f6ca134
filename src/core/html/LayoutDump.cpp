#include "html/LayoutDump.h"

#include <cstdarg>
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

// One printf-formatted line.
std::string Line(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string out(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, again);
    va_end(again);
    out.pop_back();
    return out + "\n";
}

}  // namespace

std::string DumpLayout(const TokenList& page, Size scrollSize,
                       const std::vector<DumpedControl>& controls) {
    std::string out = Line("{\"page\":{\"width\":%d,\"height\":%d,\"title\":%s}}", scrollSize.width,
                           scrollSize.height, Json(page.title()).c_str());
    for (const auto& link : page.links()) {
        out += Line(
            "{\"link\":{\"kind\":%d,\"target\":%s,\"x\":%d,\"y\":%d,\"width\":%d,\"height\":%d,"
            "\"visited\":%s}}",
            static_cast<int>(link->kind), Json(link->target).c_str(), link->x, link->y, link->width,
            link->height, link->visited ? "true" : "false");
    }
    for (const auto& run : page.textRuns()) {
        out += Line("{\"run\":{\"x\":%d,\"y\":%d,\"width\":%d,\"height\":%d,\"text\":%s}}", run->x,
                    run->y, run->width, run->height, Json(run->text).c_str());
    }
    for (const TableRecord& table : page.tables()) {
        std::string cells;
        for (const Rect& cell : table.cells) {
            cells += (cells.empty() ? "[" : ",[") + std::to_string(cell.left) + "," +
                     std::to_string(cell.top) + "," + std::to_string(cell.width()) + "," +
                     std::to_string(cell.height()) + "]";
        }
        out += Line(
            "{\"table\":{\"x\":%d,\"y\":%d,\"width\":%d,\"height\":%d,\"border\":%s,"
            "\"rows\":%d,\"columns\":%d,\"cells\":[%s]}}",
            table.box.left, table.box.top, table.box.width(), table.box.height(),
            table.border ? "true" : "false", table.rows, table.columns, cells.c_str());
    }
    for (const DumpedControl& control : controls) {
        out += Line(
            "{\"control\":{\"kind\":\"%s\",\"x\":%d,\"y\":%d,\"width\":%d,\"height\":%d,"
            "\"name\":%s,\"value\":%s}}",
            control.kind.c_str(), control.box.left, control.box.top, control.box.width(),
            control.box.height(), Json(control.name).c_str(), Json(control.value).c_str());
    }
    for (int i = 0; i < page.imageCount() && i < TokenList::kImageSlots; ++i) {
        const DibPicture& slot = page.imageSlot(i);
        out += Line("{\"picture\":{\"index\":%d,\"name\":%s,\"width\":%d,\"height\":%d}}", i,
                    Json(slot.name()).c_str(), slot.width(), slot.height());
    }
    return out;
}
