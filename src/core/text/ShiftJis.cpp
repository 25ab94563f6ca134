#include "text/ShiftJis.h"

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<uint8_t>(a[i]);
        const auto y = static_cast<uint8_t>(b[i]);
        if (IsLeadByte(x)) {
            // The lead byte and its trail byte are compared as they stand.
            if (x != y) {
                return false;
            }
            if (i + 1 < a.size()) {
                if (a[i + 1] != b[i + 1]) {
                    return false;
                }
                ++i;
            }
        } else if (FoldAsciiCase(x) != FoldAsciiCase(y)) {
            return false;
        }
    }
    return true;
}

std::string FoldedAsciiCase(std::string_view text) {
    std::string folded(text);
    for (size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<uint8_t>(folded[i]);
        if (IsLeadByte(byte)) {
            ++i;  // the trail byte stays as it is
        } else {
            folded[i] = static_cast<char>(FoldAsciiCase(byte));
        }
    }
    return folded;
}

std::string_view CutAtCharacter(std::string_view text, size_t maxBytes) {
    size_t end = 0;
    while (end < text.size()) {
        const size_t width = IsLeadByte(static_cast<uint8_t>(text[end])) ? 2 : 1;
        if (end + width > maxBytes) {
            break;
        }
        end += width;
    }
    return text.substr(0, std::min(end, text.size()));
}

int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    // Up to the first difference both texts share their character boundaries.
    bool trail = false;
    for (size_t i = 0; i < common; ++i) {
        auto x = static_cast<uint8_t>(a[i]);
        auto y = static_cast<uint8_t>(b[i]);
        if (!trail) {
            x = FoldAsciiCase(x);
            y = FoldAsciiCase(y);
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
        trail = !trail && IsLeadByte(x);
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

size_t FindCharacters(std::string_view text, std::string_view what, size_t from) {
    for (size_t i = from; i < text.size();) {
        if (text.substr(i).starts_with(what)) {
            return i;
        }
        i += IsLeadByte(static_cast<uint8_t>(text[i])) ? 2 : 1;
    }
    return std::string_view::npos;
}

std::string_view FileNameOfPath(std::string_view path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size();) {
        const char c = path[i];
        if (IsLeadByte(static_cast<uint8_t>(c))) {
            i += 2;
            continue;
        }
        ++i;
        if (c == '\\' || c == '/' || c == ':') {
            start = i;
        }
    }
    return path.substr(std::min(start, path.size()));
}

bool IsPrintableText(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<uint8_t>(text[i]);
        if (IsLeadByte(byte)) {
            if (++i == text.size() || !IsTrailByte(static_cast<uint8_t>(text[i]))) {
                return false;
            }
        } else if ((byte < 0x20 || byte > 0x7E) && (byte < 0xA1 || byte > 0xDF)) {
            // Control bytes, and 0x80, 0xA0 and 0xFD-0xFF, which start nothing.
            return false;
        }
    }
    return true;
}

size_t CountCharacters(std::string_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        i += IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return count;
}
