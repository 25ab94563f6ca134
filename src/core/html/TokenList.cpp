#include "html/TokenList.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "archive/Archive.h"
#include "text/ShiftJis.h"

namespace {

bool IsPageWhitespace(uint8_t byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

// Tags are matched in small letters later on, attribute values included; a
// line break may stand between attributes like a space. Trail bytes of
// double-byte characters are left alone even where they look like capitals.
void FoldTag(std::string& tag) {
    for (size_t i = 0; i < tag.size(); ++i) {
        const auto byte = static_cast<uint8_t>(tag[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else if (byte == '\r' || byte == '\n') {
            tag[i] = ' ';
        } else {
            tag[i] = static_cast<char>(FoldAsciiCase(byte));
        }
    }
}

// Line breaks inside text come from the author's editor, not the page: they
// vanish without leaving a space, as Japanese text needs.
void StripControls(std::string& text) {
    std::erase_if(text, [](char c) { return c == '\t' || c == '\r' || c == '\n'; });
}

}  // namespace

bool TokenizePage(const uint8_t* bytes, size_t size, StringList& out) {
    const char* text = reinterpret_cast<const char*>(bytes);
    size_t p = 0;
    while (p < size) {
        const auto byte = static_cast<uint8_t>(text[p]);
        if (IsPageWhitespace(byte)) {
            ++p;
            continue;
        }
        if (byte == '<') {
            const size_t windowEnd = std::min(size, p + kMaxTagLength);
            const void* close = std::memchr(text + p + 1, '>', windowEnd - (p + 1));
            if (!close) {
                return false;
            }
            const size_t length =
                static_cast<size_t>(static_cast<const char*>(close) - text) + 1 - p;
            out.AppendText(std::string_view(text + p, length));
            FoldTag(*out.Last()->text());
            p += length;
            continue;
        }
        const void* open = std::memchr(text + p, '<', size - p);
        const size_t end = open ? static_cast<size_t>(static_cast<const char*>(open) - text) : size;
        out.AppendText(std::string_view(text + p, end - p));
        StripControls(*out.Last()->text());
        p = end;
    }
    return true;
}

bool TokenList::LoadPage(const Archive& textArchive, std::string_view name) {
    std::optional<EntryData> entry = textArchive.ReadEntry(name, kPageReaderBuffers);
    if (!entry) {
        return false;
    }
    return TokenizePage(entry->bytes.data(), std::min<size_t>(entry->size, entry->bytes.size()),
                        *this);
}
