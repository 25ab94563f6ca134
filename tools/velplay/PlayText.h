#pragma once

#include <optional>
#include <string>
#include <string_view>

// velplay talks UTF-8 while the game's text is code page 932: commands are
// converted on the way in and reports on the way out.

// Never fails: a byte that starts no character of code page 932, or a pair
// of bytes that has no character, becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view text);

// Nothing when `text` is not UTF-8 or holds a character code page 932 lacks.
std::optional<std::string> Utf8ToCp932(std::string_view text);

// A JSON string, quotes included, of a code page 932 text.
std::string JsonText(std::string_view cp932);
