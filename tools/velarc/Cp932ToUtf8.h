#pragma once

// Code page 932 text as UTF-8, for tools that print the game's text to a
// UTF-8 terminal. Built natively (glibc's iconv) and with mingw-w64 (the
// platform's converters).

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "text/ShiftJis.h"

namespace cp932 {

namespace detail {

// One character of one or two bytes as UTF-8; empty when it is none.
class CharConverter {
  public:
#ifdef _WIN32
    std::string operator()(std::string_view character) const {
        wchar_t wide[2];
        const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, character.data(),
                                          static_cast<int>(character.size()), wide, 2);
        if (n <= 0) {
            return {};
        }
        char utf8[8];
        const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8, nullptr, nullptr);
        return m <= 0 ? std::string() : std::string(utf8, static_cast<size_t>(m));
    }
#else
    CharConverter() : cd_(iconv_open("UTF-8", "CP932")) {}
    ~CharConverter() {
        if (cd_ != kNone) {
            iconv_close(cd_);
        }
    }
    CharConverter(const CharConverter&) = delete;
    CharConverter& operator=(const CharConverter&) = delete;

    std::string operator()(std::string_view character) const {
        if (cd_ == kNone) {
            return {};
        }
        char utf8[8];
        char* from = const_cast<char*>(character.data());
        size_t fromLeft = character.size();
        char* to = utf8;
        size_t toLeft = sizeof utf8;
        const bool ok =
            iconv(cd_, &from, &fromLeft, &to, &toLeft) != static_cast<size_t>(-1) && fromLeft == 0;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return ok ? std::string(utf8, sizeof utf8 - toLeft) : std::string();
    }

  private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    iconv_t cd_;
#endif
};

}  // namespace detail

// `text` as UTF-8 on one line: control bytes, and bytes that make no
// character of the code page (damaged text), are shown as \xNN.
inline std::string ToUtf8Line(std::string_view text) {
    static const detail::CharConverter convert;
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<uint8_t>(text[i]);
        const size_t length = IsLeadByte(byte) && i + 1 < text.size() ? 2 : 1;
        const std::string_view character = text.substr(i, length);
        std::string utf8;
        if (byte >= 0x20 && byte != 0x7F) {
            utf8 = convert(character);
        }
        if (utf8.empty()) {
            // Only the first byte is shown: the next may start a character.
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
            i += 1;
        } else {
            out += utf8;
            i += length;
        }
    }
    return out;
}

}  // namespace cp932
