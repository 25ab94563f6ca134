#pragma once

#include <optional>
#include <string>
#include <string_view>

// The tools talk UTF-8 to terminals and scripts while the game's text is
// code page 932. Built natively (glibc's iconv) and with mingw-w64 (the
// platform's converters).

// Never fails: a byte that starts no character of code page 932, or a pair
// of bytes that has no character, becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view text);

// `text` as UTF-8 on one line: control bytes, and bytes that make no
// character of the code page (damaged text), are shown as \xNN.
std::string Cp932ToUtf8Line(std::string_view text);

// Nothing when `text` is not UTF-8 or holds a character code page 932 lacks.
std::optional<std::string> Utf8ToCp932(std::string_view text);
