#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/StringList.h"

class Archive;

// The longest tag a page may hold, both angle brackets included.
constexpr size_t kMaxTagLength = 256;

// Appends the tokens of a page's `size` bytes to `out`: each tag whole from
// "<" to ">", its ASCII letters in small letters and its line breaks turned
// into spaces, and each run of text between tags without its TABs and line
// breaks. Whitespace between tokens is dropped. A tag without its ">" within
// kMaxTagLength bytes ends tokenizing there, keeping the tokens before it, and
// gives false.
bool TokenizePage(const uint8_t* bytes, size_t size, StringList& out);

// A page: its tokens in source order. The page model is built on top of them.
class TokenList : public StringList {
  public:
    TokenList() = default;
    ~TokenList() override = default;

    // Appends the tokens of entry `name` of the text archive. False when the
    // archive does not hold the name (nothing is appended) or when a tag was
    // too long (the tokens before it are kept).
    bool LoadPage(const Archive& textArchive, std::string_view name);
};
