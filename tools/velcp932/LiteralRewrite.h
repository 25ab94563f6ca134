#pragma once

// Rewrites the ordinary string and character literals of a C++ source whose
// text is not ASCII into code page 932 escapes, so that a compiler that can
// only give UTF-8 narrow strings still builds the game's strings as its data
// holds them. Comments, wide and UTF literals and everything outside literals
// stay as they are, and every line keeps its number.

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velcp932 {

// Converts UTF-8 text to code page 932; false when it is not valid UTF-8 or
// holds a character code page 932 lacks.
inline bool ToCp932(std::string_view utf8, std::string& out) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string in(utf8);
    out.assign(in.size() * 2 + 16, '\0');
    char* from = in.data();
    size_t fromLeft = in.size();
    char* to = out.data();
    size_t toLeft = out.size();
    const size_t result = iconv(cd, &from, &fromLeft, &to, &toLeft);
    const bool ok = result != static_cast<size_t>(-1) && fromLeft == 0 &&
                    iconv(cd, nullptr, nullptr, &to, &toLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - toLeft);
    return ok;
}

struct RewriteResult {
    bool ok = true;
    std::string text;
    std::string error;  // "line N: why" when not ok
};

namespace detail {

inline bool IsIdentifierByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

inline bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline bool IsHigh(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

inline bool HasHighByte(std::string_view text) {
    for (char c : text) {
        if (IsHigh(c)) {
            return true;
        }
    }
    return false;
}

// A backslash and a line end (LF or CR LF) that the compiler splices away.
inline size_t SpliceLength(std::string_view s, size_t at) {
    if (at < s.size() && s[at] == '\\') {
        if (at + 1 < s.size() && s[at + 1] == '\n') {
            return 2;
        }
        if (at + 2 < s.size() && s[at + 1] == '\r' && s[at + 2] == '\n') {
            return 3;
        }
    }
    return 0;
}

class Rewriter {
  public:
    explicit Rewriter(std::string_view source) : s_(source) {}

    RewriteResult Run() {
        while (i_ < s_.size() && result_.ok) {
            const char c = s_[i_];
            const char next = i_ + 1 < s_.size() ? s_[i_ + 1] : '\0';
            if (c == '/' && next == '/') {
                LineComment();
            } else if (c == '/' && next == '*') {
                BlockComment();
            } else if (c == '"' || c == '\'') {
                Quoted(false);
            } else if (IsDigit(c) || (c == '.' && IsDigit(next))) {
                Number();
            } else if (IsIdentifierByte(c)) {
                Identifier();
            } else {
                Copy(1);
            }
        }
        return std::move(result_);
    }

  private:
    void Copy(size_t count) {
        for (size_t k = 0; k < count && i_ < s_.size(); ++k, ++i_) {
            result_.text += s_[i_];
            line_ += s_[i_] == '\n' ? 1 : 0;
        }
    }

    void Fail(const std::string& why) {
        result_.ok = false;
        result_.error = "line " + std::to_string(line_) + ": " + why;
    }

    // To the line end; a spliced line end carries the comment on.
    void LineComment() {
        size_t end = i_ + 2;
        while (end < s_.size() && s_[end] != '\n') {
            end += SpliceLength(s_, end) ? SpliceLength(s_, end) : 1;
        }
        Copy(end - i_);
    }

    void BlockComment() {
        const size_t close = s_.find("*/", i_ + 2);
        Copy(close == std::string_view::npos ? s_.size() - i_ : close + 2 - i_);
    }

    // A preprocessing number, so that digit separators (1'000) are not taken
    // for character literals.
    void Number() {
        size_t end = i_ + 1;
        while (end < s_.size()) {
            const char c = s_[end];
            const char before = s_[end - 1];
            if (IsIdentifierByte(c) || c == '.') {
                ++end;
            } else if ((c == '+' || c == '-') &&
                       (before == 'e' || before == 'E' || before == 'p' || before == 'P')) {
                ++end;
            } else if (c == '\'' && end + 1 < s_.size() && IsIdentifierByte(s_[end + 1])) {
                end += 2;
            } else {
                break;
            }
        }
        Copy(end - i_);
    }

    void Identifier() {
        size_t end = i_;
        while (end < s_.size() && IsIdentifierByte(s_[end])) {
            ++end;
        }
        const std::string_view word = s_.substr(i_, end - i_);
        const char after = end < s_.size() ? s_[end] : '\0';
        if (after != '"' && after != '\'') {
            Copy(end - i_);
            return;
        }
        if (after == '"' &&
            (word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R")) {
            // Only ordinary raw strings take the execution character set.
            Raw(word == "R", end - i_);
            return;
        }
        if (word == "L" || word == "u" || word == "U" || word == "u8") {
            Copy(end - i_);
            Quoted(true);
            return;
        }
        Copy(end - i_);
    }

    // An ordinary literal from its opening quote at i_; `keep` copies it
    // unchanged. A quote without its closing one on the line is no literal
    // (an apostrophe in an #error text, say) and is copied alone.
    void Quoted(bool keep) {
        const char quote = s_[i_];
        size_t end = i_ + 1;
        while (end < s_.size() && s_[end] != quote && s_[end] != '\n') {
            if (s_[end] == '\\' && end + 1 < s_.size()) {
                end += SpliceLength(s_, end) ? SpliceLength(s_, end) : 2;
            } else {
                ++end;
            }
        }
        if (end >= s_.size() || s_[end] != quote) {
            Copy(1);
            return;
        }
        const std::string_view body = s_.substr(i_ + 1, end - i_ - 1);
        if (keep || !HasHighByte(body)) {
            Copy(end + 1 - i_);
            return;
        }
        std::string rewritten;
        if (!Escape(body, quote == '\'', false, rewritten)) {
            return;
        }
        for (char c : body) {
            line_ += c == '\n' ? 1 : 0;  // spliced lines
        }
        result_.text += quote + rewritten + quote;
        i_ = end + 1;
    }

    // A raw string from its prefix at i_ (`prefixLength` bytes); an ordinary
    // one holding non-ASCII text becomes an ordinary literal, one piece a line.
    void Raw(bool ordinary, size_t prefixLength) {
        const size_t open = i_ + prefixLength;  // the '"'
        const size_t paren = s_.find('(', open + 1);
        if (paren == std::string_view::npos || paren - open - 1 > 16) {
            Copy(prefixLength + 1);
            return;
        }
        const std::string close = ")" + std::string(s_.substr(open + 1, paren - open - 1)) + "\"";
        const size_t closeAt = s_.find(close, paren + 1);
        if (closeAt == std::string_view::npos) {
            Fail("a raw string without its end");
            return;
        }
        const size_t end = closeAt + close.size();
        const std::string_view body = s_.substr(paren + 1, closeAt - paren - 1);
        if (!ordinary || !HasHighByte(body)) {
            Copy(end - i_);
            return;
        }
        std::string rewritten;
        if (!Escape(body, false, true, rewritten)) {
            return;
        }
        result_.text += "\"" + rewritten + "\"";
        for (char c : body) {
            line_ += c == '\n' ? 1 : 0;
        }
        i_ = end;
    }

    // The body of a literal with each run of non-ASCII text as code page 932
    // escapes. Raw bodies hold no escapes: their backslashes, quotes and line
    // ends are escaped, and each line end closes the literal and opens the
    // next on a new line, so that lines keep their numbers.
    bool Escape(std::string_view body, bool character, bool raw, std::string& out) {
        bool afterHex = false;
        size_t k = 0;
        while (k < body.size()) {
            const char c = body[k];
            if (IsHigh(c)) {
                size_t runEnd = k;
                while (runEnd < body.size() && IsHigh(body[runEnd])) {
                    ++runEnd;
                }
                std::string bytes;
                if (!ToCp932(body.substr(k, runEnd - k), bytes)) {
                    Fail("text that is not UTF-8 or has no code page 932 form");
                    return false;
                }
                for (char b : bytes) {
                    out += character ? Octal(b) : Hex(b);
                }
                afterHex = !character;
                k = runEnd;
                continue;
            }
            if (raw) {
                if (c == '\n') {
                    out += "\\n\"\n\"";
                } else if (c == '\\' || c == '"') {
                    out += '\\';
                    out += c;
                } else if (c == '\r') {
                    // A CR LF line end is one line end to the compiler.
                    if (k + 1 >= body.size() || body[k + 1] != '\n') {
                        out += "\\r";
                    }
                } else {
                    ReopenBeforeHexDigit(c, afterHex, out);
                    out += c;
                }
                afterHex = false;
                ++k;
                continue;
            }
            if (c == '\\') {
                if (const size_t splice = SpliceLength(body, k)) {
                    // A hex escape goes on across a spliced line end.
                    out += body.substr(k, splice);
                    k += splice;
                    continue;
                }
                if (k + 1 < body.size() && IsHigh(body[k + 1])) {
                    Fail("a backslash before non-ASCII text");
                    return false;
                }
                out += body.substr(k, 2);
                afterHex = false;
                k += 2;
                continue;
            }
            ReopenBeforeHexDigit(c, afterHex, out);
            out += c;
            afterHex = false;
            ++k;
        }
        return true;
    }

    // A \x escape takes every hex digit after it: one that follows ours has to
    // start a new literal, which the compiler joins to this one.
    static void ReopenBeforeHexDigit(char c, bool afterHex, std::string& out) {
        if (afterHex && IsHexDigit(c)) {
            out += "\" \"";
        }
    }

    static std::string Hex(char byte) {
        static constexpr char kDigits[] = "0123456789abcdef";
        const auto b = static_cast<unsigned char>(byte);
        return std::string("\\x") + kDigits[b >> 4] + kDigits[b & 15];
    }

    // Character literals cannot be split, so they take octal escapes, which
    // never run longer than three digits.
    static std::string Octal(char byte) {
        const auto b = static_cast<unsigned char>(byte);
        return std::string("\\") + static_cast<char>('0' + (b >> 6)) +
               static_cast<char>('0' + ((b >> 3) & 7)) + static_cast<char>('0' + (b & 7));
    }

    std::string_view s_;
    size_t i_ = 0;
    int line_ = 1;
    RewriteResult result_;
};

}  // namespace detail

inline RewriteResult RewriteLiterals(std::string_view source) {
    return detail::Rewriter(source).Run();
}

}  // namespace velcp932
