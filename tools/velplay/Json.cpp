#include "Json.h"

#include <cstdint>
#include <cstdio>

#include "Cp932Text.h"

std::string JsonText(std::string_view cp932) {
    std::string out = "\"";
    for (char c : Cp932ToUtf8(cp932)) {
        const auto byte = static_cast<uint8_t>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", byte);
                    out += escape;
                } else {
                    out += c;
                }
                break;
        }
    }
    out += '"';
    return out;
}
