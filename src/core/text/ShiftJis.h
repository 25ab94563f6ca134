#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

// Text inside the program is code page 932 (Shift-JIS): a byte 0x81-0x9F or
// 0xE0-0xFC starts a two-byte character whose second byte may look like ASCII.

inline bool IsLeadByte(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

inline bool IsTrailByte(uint8_t byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

inline uint8_t FoldAsciiCase(uint8_t byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<uint8_t>(byte - 'A' + 'a') : byte;
}

// Equality that folds only single-byte ASCII letters; both bytes of a
// double-byte character must match exactly.
// The characters of a text: a lead byte and the byte after it make one, as
// does every other byte, a lead byte at the very end included.
size_t CountCharacters(std::string_view text);

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// `text` with its single-byte ASCII letters made small and double-byte
// characters as they are: two texts are equal ignoring ASCII case exactly
// when their folded forms are equal, so the folded form can be a key.
std::string FoldedAsciiCase(std::string_view text);

inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}
inline bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// The ordering that goes with it: single-byte ASCII letters compare as small
// letters, every other byte as an unsigned byte. Negative, zero or positive.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b);

// The longest prefix of `text` of at most `maxBytes` bytes that does not end
// in the middle of a double-byte character.
std::string_view CutAtCharacter(std::string_view text, size_t maxBytes);

// Whether `text` is whole printable characters: no control byte, no byte
// that starts no character, no lead byte without a trail byte after it.
bool IsPrintableText(std::string_view text);

// Where `what` starts as whole characters in `text` at or after `from`, which
// must be a character boundary; npos when nowhere. Stepping by characters
// keeps a trail byte that happens to equal a lead byte from matching.
size_t FindCharacters(std::string_view text, std::string_view what, size_t from = 0);
inline bool ContainsCharacters(std::string_view text, std::string_view what) {
    return FindCharacters(text, what) != std::string_view::npos;
}

// The file name at the end of a Windows path: what follows its last "\", "/"
// or drive colon, as whole characters, so that a trail byte 0x5C is never
// taken for a folder separator. All of `path` when it has none.
std::string_view FileNameOfPath(std::string_view path);
