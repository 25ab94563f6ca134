#include "Cp932Text.h"

#include <cstdint>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "text/ShiftJis.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

#ifdef _WIN32

// One double-byte character in UTF-8, or nothing when it has no character.
std::optional<std::string> DoubleByteToUtf8(const char* pair) {
    wchar_t wide[2];
    const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, pair, 2, wide, 2);
    if (n != 1) {
        return std::nullopt;
    }
    std::string out;
    AppendUtf8(out, static_cast<char32_t>(wide[0]));
    return out;
}

std::optional<std::string> ConvertUtf8ToCp932(std::string_view text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(text.size());
    const int wideSize =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wideSize <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), wideSize);
    BOOL usedDefault = FALSE;
    const int outSize = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize,
                                            nullptr, 0, nullptr, &usedDefault);
    if (outSize <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string out(static_cast<size_t>(outSize), '\0');
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, out.data(), outSize,
                        nullptr, &usedDefault);
    if (usedDefault) {
        return std::nullopt;
    }
    return out;
}

#else

// The whole of `text` through iconv, or nothing when any of it does not convert.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out(text.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* put = out.data();
    size_t outLeft = out.size();
    const bool whole = iconv(cd, &in, &inLeft, &put, &outLeft) != static_cast<size_t>(-1) &&
                       iconv(cd, nullptr, nullptr, &put, &outLeft) != static_cast<size_t>(-1) &&
                       inLeft == 0;
    iconv_close(cd);
    if (!whole) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::optional<std::string> DoubleByteToUtf8(const char* pair) {
    return Convert("UTF-8", "CP932", std::string_view(pair, 2));
}

std::optional<std::string> ConvertUtf8ToCp932(std::string_view text) {
    return Convert("CP932", "UTF-8", text);
}

#endif

}  // namespace

std::string Cp932ToUtf8(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<uint8_t>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++i;
        } else if (byte >= 0xA1 && byte <= 0xDF) {
            // Half-width katakana, one byte each.
            AppendUtf8(out, static_cast<char32_t>(0xFF61 + (byte - 0xA1)));
            ++i;
        } else if (IsLeadByte(byte) && i + 1 < text.size() &&
                   IsTrailByte(static_cast<uint8_t>(text[i + 1]))) {
            const std::optional<std::string> character = DoubleByteToUtf8(text.data() + i);
            if (character) {
                out += *character;
            } else {
                AppendUtf8(out, kReplacement);
            }
            i += 2;
        } else {
            // A lone trail byte, or a lead byte without its trail: the next
            // byte may still start a character of its own.
            AppendUtf8(out, kReplacement);
            ++i;
        }
    }
    return out;
}

std::string Cp932ToUtf8Line(std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<uint8_t>(text[i]);
        std::optional<std::string> character;
        size_t length = 1;
        if (byte >= 0x20 && byte < 0x7F) {
            character = std::string(1, static_cast<char>(byte));
        } else if (byte >= 0xA1 && byte <= 0xDF) {
            character = Cp932ToUtf8(text.substr(i, 1));
        } else if (IsLeadByte(byte) && i + 1 < text.size() &&
                   IsTrailByte(static_cast<uint8_t>(text[i + 1]))) {
            character = DoubleByteToUtf8(text.data() + i);
            length = 2;
        }
        if (character) {
            out += *character;
            i += length;
        } else {
            // Only the first byte is shown: the next may start a character.
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
            ++i;
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
    return ConvertUtf8ToCp932(text);
}
