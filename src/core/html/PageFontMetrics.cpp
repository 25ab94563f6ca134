// The pages' face as GDI measures it under Wine, and Wine's word-breaking
// DrawText, worked out from the system's own answers: the numbers are the
// face's design (IPA Gothic) scaled by the system's rules, the line breaking
// the system's rules step by step, so that a canvas without GDI lays a page
// out pixel for pixel as the GDI canvas does.

#include "html/PageFontMetrics.h"

#include <algorithm>
#include <cstdint>

#include "text/ShiftJis.h"

namespace {

// The face's design, in its units.
constexpr int64_t kUnitsPerEm = 2048;
constexpr int64_t kWinAscent = 1802;
constexpr int64_t kWinDescent = 401;
constexpr int64_t kNarrowAdvance = 1024;
// Beyond this em size the system falls back to a one-pixel font.
constexpr int64_t kMaxEm = 65535;

int EmPixels(int height) {
    if (height == 0) {
        height = 16;
    }
    if (height > 0) {
        // The largest em whose cell, the face's ascent and descent together
        // rounded to a pixel, is no taller than the height.
        const int64_t em =
            (int64_t{height} * kUnitsPerEm + kUnitsPerEm / 2 - 1) / (kWinAscent + kWinDescent);
        return em > kMaxEm ? 1 : static_cast<int>(em);
    }
    return int64_t{height} >= -kMaxEm ? -height : 1;
}

// A length in font units at `em` pixels, rounded as the font engine's fixed
// point rounds it.
int Scaled(int64_t units, int em) {
    return static_cast<int>((units * em + kUnitsPerEm / 2) / kUnitsPerEm);
}

struct Advances {
    int narrow = 0;
    int wide = 0;
    int height = 0;
};

Advances AdvancesOf(const FontSpec& fontSpec) {
    const int em = EmPixels(fontSpec.height);
    const int average = Scaled(kNarrowAdvance, em);
    // The system makes a fixed-pitch face's wide characters exactly two
    // narrow ones. At one pixel the hinted narrow advance is two.
    const int narrow = em == 1 ? 2 : average;
    // The face has no bold: the system thickens it, one pixel wider.
    const int bold = fontSpec.bold ? 1 : 0;
    return {narrow + bold, 2 * average + bold, Scaled(kWinAscent, em) + Scaled(kWinDescent, em)};
}

bool IsNarrowByte(uint8_t byte) {
    return (byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xDF);
}

// Line-breaking classes, as the system's script breaker has them for the
// characters of code page 932 (after its own folding: ambiguous and unknown
// characters are alphabetic, small kana non-starters).
enum BreakClass : uint8_t {
    kAL,  // alphabetic
    kID,  // ideographic
    kNS,  // non-starter
    kCM,  // combining (the control characters)
    kBA,  // break after
    kBB,  // break before
    kBK,  // mandatory break
    kCL,  // close punctuation
    kCP,  // close parenthesis
    kCR,
    kLF,
    kEX,  // exclamation
    kHY,  // hyphen
    kIN,  // inseparable
    kIS,  // infix separator
    kNU,  // numeric
    kOP,  // open punctuation
    kPO,  // postfix
    kPR,  // prefix
    kQU,  // quotation
    kSP,  // space
    kSY,  // slash
};

struct ClassRange {
    uint16_t first;
    uint16_t last;
    BreakClass breakClass;
};

// Every single byte. A lead byte alone converts to a middle dot.
constexpr ClassRange kSingleByteClasses[] = {
    {0x00, 0x08, kCM}, {0x09, 0x09, kBA}, {0x0A, 0x0A, kLF}, {0x0B, 0x0C, kBK}, {0x0D, 0x0D, kCR},
    {0x0E, 0x1F, kCM}, {0x20, 0x20, kSP}, {0x21, 0x21, kEX}, {0x22, 0x22, kQU}, {0x23, 0x23, kAL},
    {0x24, 0x24, kPR}, {0x25, 0x25, kPO}, {0x26, 0x26, kAL}, {0x27, 0x27, kQU}, {0x28, 0x28, kOP},
    {0x29, 0x29, kCP}, {0x2A, 0x2A, kAL}, {0x2B, 0x2B, kPR}, {0x2C, 0x2C, kIS}, {0x2D, 0x2D, kHY},
    {0x2E, 0x2E, kIS}, {0x2F, 0x2F, kSY}, {0x30, 0x39, kNU}, {0x3A, 0x3B, kIS}, {0x3C, 0x3E, kAL},
    {0x3F, 0x3F, kEX}, {0x40, 0x5A, kAL}, {0x5B, 0x5B, kOP}, {0x5C, 0x5C, kPR}, {0x5D, 0x5D, kCP},
    {0x5E, 0x7A, kAL}, {0x7B, 0x7B, kOP}, {0x7C, 0x7C, kBA}, {0x7D, 0x7D, kCL}, {0x7E, 0x7E, kAL},
    {0x7F, 0x80, kCM}, {0x81, 0x9F, kNS}, {0xA0, 0xA0, kAL}, {0xA1, 0xA1, kCL}, {0xA2, 0xA2, kOP},
    {0xA3, 0xA4, kCL}, {0xA5, 0xA5, kNS}, {0xA6, 0xA6, kID}, {0xA7, 0xB0, kNS}, {0xB1, 0xDD, kID},
    {0xDE, 0xFC, kNS}, {0xFD, 0xFF, kAL},
};

// The double-byte characters that are not ideographic, by code; pairs the
// code page lacks convert to a middle dot, a non-starter.
constexpr ClassRange kDoubleByteClasses[] = {
    {0x8140, 0x8140, kBA}, {0x8141, 0x8144, kCL}, {0x8145, 0x8147, kNS}, {0x8148, 0x8149, kEX},
    {0x814A, 0x814B, kNS}, {0x814C, 0x814C, kBB}, {0x814E, 0x814E, kAL}, {0x8152, 0x8155, kNS},
    {0x8158, 0x8158, kNS}, {0x815B, 0x815B, kNS}, {0x815C, 0x815C, kAL}, {0x815D, 0x815D, kBA},
    {0x8161, 0x8161, kAL}, {0x8163, 0x8164, kIN}, {0x8165, 0x8168, kQU}, {0x8169, 0x8169, kOP},
    {0x816A, 0x816A, kCL}, {0x816B, 0x816B, kOP}, {0x816C, 0x816C, kCL}, {0x816D, 0x816D, kOP},
    {0x816E, 0x816E, kCL}, {0x816F, 0x816F, kOP}, {0x8170, 0x8170, kCL}, {0x8171, 0x8171, kOP},
    {0x8172, 0x8172, kCL}, {0x8173, 0x8173, kOP}, {0x8174, 0x8174, kCL}, {0x8175, 0x8175, kOP},
    {0x8176, 0x8176, kCL}, {0x8177, 0x8177, kOP}, {0x8178, 0x8178, kCL}, {0x8179, 0x8179, kOP},
    {0x817A, 0x817A, kCL}, {0x817D, 0x817D, kPR}, {0x817E, 0x8180, kAL}, {0x8182, 0x8182, kAL},
    {0x8185, 0x818A, kAL}, {0x818B, 0x818E, kPO}, {0x818F, 0x8190, kPR}, {0x8191, 0x8191, kPO},
    {0x8192, 0x8192, kPR}, {0x8193, 0x8193, kPO}, {0x8198, 0x81A6, kAL}, {0x81A8, 0x81AB, kAL},
    {0x81AD, 0x81B7, kNS}, {0x81B8, 0x81BF, kAL}, {0x81C0, 0x81C7, kNS}, {0x81C8, 0x81C9, kAL},
    {0x81CB, 0x81CE, kAL}, {0x81CF, 0x81D9, kNS}, {0x81DA, 0x81E8, kAL}, {0x81E9, 0x81EF, kNS},
    {0x81F0, 0x81F0, kAL}, {0x81F1, 0x81F1, kPO}, {0x81F2, 0x81F7, kAL}, {0x81F8, 0x81FB, kNS},
    {0x81FC, 0x81FC, kAL}, {0x8240, 0x824E, kNS}, {0x8259, 0x825F, kNS}, {0x827A, 0x8280, kNS},
    {0x829B, 0x829F, kNS}, {0x82A1, 0x82A1, kNS}, {0x82A3, 0x82A3, kNS}, {0x82A5, 0x82A5, kNS},
    {0x82A7, 0x82A7, kNS}, {0x82C1, 0x82C1, kNS}, {0x82E1, 0x82E1, kNS}, {0x82E3, 0x82E3, kNS},
    {0x82E5, 0x82E5, kNS}, {0x82EC, 0x82EC, kNS}, {0x82F2, 0x8340, kNS}, {0x8342, 0x8342, kNS},
    {0x8344, 0x8344, kNS}, {0x8346, 0x8346, kNS}, {0x8348, 0x8348, kNS}, {0x8362, 0x8362, kNS},
    {0x8383, 0x8383, kNS}, {0x8385, 0x8385, kNS}, {0x8387, 0x8387, kNS}, {0x838E, 0x838E, kNS},
    {0x8395, 0x839E, kNS}, {0x839F, 0x83B6, kAL}, {0x83B7, 0x83BE, kNS}, {0x83BF, 0x83D6, kAL},
    {0x83D7, 0x83FC, kNS}, {0x8440, 0x8460, kAL}, {0x8461, 0x846F, kNS}, {0x8470, 0x8491, kAL},
    {0x8492, 0x849E, kNS}, {0x849F, 0x84BE, kAL}, {0x84BF, 0x86FC, kNS}, {0x8740, 0x875D, kAL},
    {0x875E, 0x875E, kNS}, {0x8776, 0x877D, kNS}, {0x8780, 0x8780, kOP}, {0x8781, 0x8781, kCL},
    {0x8782, 0x8782, kPR}, {0x8784, 0x8784, kAL}, {0x8790, 0x879C, kAL}, {0x879D, 0x889E, kNS},
    {0x9873, 0x989E, kNS}, {0xEAA5, 0xECFC, kNS}, {0xEEED, 0xEEEE, kNS}, {0xEEEF, 0xEEF8, kAL},
    {0xEF40, 0xEFFC, kNS}, {0xF040, 0xFA53, kAL}, {0xFA59, 0xFA59, kPR}, {0xFA5A, 0xFA5B, kAL},
    {0xFC4C, 0xFCFC, kNS},
};

template <size_t N>
const ClassRange* FindRange(const ClassRange (&ranges)[N], uint16_t code) {
    const ClassRange* end = ranges + N;
    const ClassRange* found = std::upper_bound(
        ranges, end, code, [](uint16_t c, const ClassRange& r) { return c < r.first; });
    if (found == ranges || code > (found - 1)->last) {
        return nullptr;
    }
    return found - 1;
}

BreakClass SingleByteClass(uint8_t byte) {
    return FindRange(kSingleByteClasses, byte)->breakClass;
}

BreakClass DoubleByteClass(uint8_t lead, uint8_t trail) {
    if (!IsTrailByte(trail)) {
        return kNS;
    }
    const ClassRange* range =
        FindRange(kDoubleByteClasses, static_cast<uint16_t>(lead << 8 | trail));
    return range ? range->breakClass : kID;
}

// One UTF-16 unit of the text as the system converts it: a lead byte takes
// any byte but NUL after it.
struct Unit {
    size_t offset = 0;
    uint8_t bytes = 1;
    int code = -1;  // the byte of a single-byte character, else -1
    bool wide = true;
    BreakClass breakClass = kNS;
};

std::vector<Unit> UnitsOf(std::string_view text) {
    std::vector<Unit> units;
    units.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<uint8_t>(text[i]);
        Unit unit;
        unit.offset = i;
        if (IsLeadByte(byte)) {
            if (i + 1 < text.size() && text[i + 1] != '\0') {
                unit.bytes = 2;
                unit.breakClass = DoubleByteClass(byte, static_cast<uint8_t>(text[i + 1]));
            }
        } else {
            unit.code = byte;
            unit.wide = !IsNarrowByte(byte);
            unit.breakClass = SingleByteClass(byte);
        }
        units.push_back(unit);
        i += unit.bytes;
    }
    return units;
}

int AdvanceOf(const Unit& unit, const Advances& advances) {
    return unit.wide ? advances.wide : advances.narrow;
}

// Where a line may break before each character, by the system's script
// breaker: its rules in its order, the first to decide a place deciding it.
// Rules for classes the code page has no character of are left out, and so
// are those for newlines, which end a line before it is broken.
std::vector<bool> SoftBreaks(std::vector<BreakClass> c) {
    const size_t n = c.size();
    enum Decision : uint8_t { kOpen, kNever, kMay, kMust };
    std::vector<Decision> before(n, kOpen);
    auto decide = [&before](size_t at, Decision d) {
        if (before[at] == kOpen) {
            before[at] = d;
        }
    };
    if (n == 0) {
        return {};
    }
    before[0] = kNever;
    for (size_t i = 0; i < n; ++i) {
        if (c[i] == kBK) {
            if (i + 1 < n) {
                decide(i + 1, kMust);
            }
            decide(i, kNever);
        } else if (c[i] == kSP) {
            decide(i, kNever);
        }
    }
    // A combining character takes the class of the one it follows.
    for (size_t i = 0; i < n; ++i) {
        if (c[i] == kCM) {
            const bool afterSpace = i == 0 || c[i - 1] == kSP || c[i - 1] == kBK;
            c[i] = afterSpace ? kAL : c[i - 1];
        }
    }
    for (size_t i = 0; i < n; ++i) {
        switch (c[i]) {
            case kCL:
            case kCP:
            case kEX:
            case kIS:
            case kSY:
                decide(i, kNever);
                break;
            case kOP:
                // Nor after the spaces that follow (before a space it never does).
                while (i + 1 < n && c[i + 1] == kSP) {
                    ++i;
                }
                if (i + 1 < n) {
                    decide(i + 1, kNever);
                }
                break;
            case kQU: {
                size_t j = i + 1;
                while (j + 1 < n && c[j] == kSP) {
                    ++j;
                }
                if (j < n && c[j] == kOP) {
                    for (; j > i; --j) {
                        decide(j, kNever);
                    }
                }
                break;
            }
            case kNS: {
                if (i == 0) {
                    break;
                }
                size_t j = i - 1;
                while (j > 0 && c[j] == kSP) {
                    --j;
                }
                if (c[j] == kCL || c[j] == kCP) {
                    for (++j; j <= i; ++j) {
                        decide(j, kNever);
                    }
                }
                break;
            }
            default:
                break;
        }
    }
    auto pair = [&c](size_t i, BreakClass a, BreakClass b) { return c[i] == a && c[i + 1] == b; };
    for (size_t i = 0; i < n; ++i) {
        switch (c[i]) {
            case kSP:
                if (i + 1 < n) {
                    decide(i + 1, kMay);
                }
                break;
            case kQU:
                decide(i, kNever);
                if (i + 1 < n) {
                    decide(i + 1, kNever);
                }
                break;
            case kBA:
            case kHY:
            case kNS:
                decide(i, kNever);
                break;
            case kBB:
                if (i + 1 < n) {
                    decide(i + 1, kNever);
                }
                break;
            case kIN:
                if (i > 0 &&
                    (c[i - 1] == kAL || c[i - 1] == kID || c[i - 1] == kIN || c[i - 1] == kNU)) {
                    decide(i, kNever);
                }
                break;
            default:
                break;
        }
        if (i + 1 >= n) {
            continue;
        }
        const bool glued =
            // numbers with letters, and with their prefixes and postfixes
            pair(i, kID, kPO) || pair(i, kAL, kNU) || pair(i, kNU, kAL) || pair(i, kPR, kID) ||
            pair(i, kPR, kAL) || pair(i, kPO, kAL) || pair(i, kCL, kPO) || pair(i, kCP, kPO) ||
            pair(i, kCL, kPR) || pair(i, kCP, kPR) || pair(i, kNU, kPO) || pair(i, kNU, kPR) ||
            pair(i, kPO, kOP) || pair(i, kPO, kNU) || pair(i, kPR, kOP) || pair(i, kPR, kNU) ||
            pair(i, kHY, kNU) || pair(i, kIS, kNU) || pair(i, kNU, kNU) || pair(i, kSY, kNU) ||
            // words, and words with their parentheses
            pair(i, kAL, kAL) || pair(i, kIS, kAL) || pair(i, kAL, kOP) || pair(i, kNU, kOP) ||
            pair(i, kCP, kAL) || pair(i, kCP, kNU);
        if (glued) {
            decide(i + 1, kNever);
        }
    }
    std::vector<bool> soft(n);
    for (size_t i = 0; i < n; ++i) {
        soft[i] = before[i] != kNever;
    }
    return soft;
}

// The system's DrawText line buffer: characters past it on one line are
// neither drawn nor measured.
constexpr size_t kLineBuffer = 1024;

constexpr int kPrefix = '&';
constexpr int kAlphaPrefix = 0x1E;
constexpr int kKanaPrefix = 0x1F;

bool IsPrefix(int code) {
    return code == kPrefix || code == kAlphaPrefix;
}

bool IsNewline(int code) {
    return code == '\r' || code == '\n';
}

class Wrapper {
  public:
    Wrapper(const FontSpec& fontSpec, int width, std::string_view text)
        : advances_(AdvancesOf(fontSpec)), width_(width), text_(text), units_(UnitsOf(text)) {}

    std::vector<WrappedLine> Lines() {
        std::vector<WrappedLine> lines;
        size_t at = 0;
        size_t count = units_.size();
        int y = 0;
        // Even an empty text is a line.
        do {
            lines.push_back(NextLine(at, count));
            lines.back().y = y;
            y += advances_.height;
        } while (count > 0);
        return lines;
    }

  private:
    int Code(size_t i) const { return i < units_.size() ? units_[i].code : -1; }

    int Extent(const std::vector<size_t>& line, size_t count) const {
        int64_t width = 0;
        for (size_t k = 0; k < count; ++k) {
            width += AdvanceOf(units_[line[k]], advances_);
        }
        return static_cast<int>(width);
    }

    // How many of the line's first characters fit the width; a negative
    // width, taken as unsigned, fits everything.
    size_t Fitting(const std::vector<size_t>& line) const {
        if (width_ < 0) {
            return line.size();
        }
        int64_t x = 0;
        for (size_t k = 0; k < line.size(); ++k) {
            x += AdvanceOf(units_[line[k]], advances_);
            if (x > width_) {
                return k;
            }
        }
        return line.size();
    }

    // Cuts a line that does not fit back to the last place it may break:
    // returns the characters kept, and in `used` the characters the line
    // takes up (a space it breaks at is taken and not drawn). Where nothing
    // that fits may break, the line runs on to the next space.
    size_t BreakLine(const std::vector<size_t>& line, size_t fit, size_t& used) const {
        std::vector<BreakClass> classes;
        classes.reserve(line.size());
        for (size_t k : line) {
            classes.push_back(units_[k].breakClass);
        }
        const std::vector<bool> soft = SoftBreaks(std::move(classes));
        auto isSpace = [&](ptrdiff_t k) {
            return k < static_cast<ptrdiff_t>(line.size()) && Code(line[k]) == ' ';
        };
        ptrdiff_t p = static_cast<ptrdiff_t>(fit);
        bool wordFits = true;
        if (fit == 0) {
            wordFits = false;
        } else if (soft[fit]) {
            --p;
        } else {
            // Back to the last place the line may break.
            ptrdiff_t i = p;
            while (i > 0 && !soft[static_cast<size_t>(--i + 1)]) {
                --p;
            }
            --p;
            wordFits = i != 0 || soft[static_cast<size_t>(i + 1)];
        }
        if (wordFits) {
            ++p;
            used = static_cast<size_t>(p) + (isSpace(p) ? 1 : 0);
            return static_cast<size_t>(p);
        }
        p = static_cast<ptrdiff_t>(fit);
        while (p < static_cast<ptrdiff_t>(line.size()) && !isSpace(p)) {
            ++p;
        }
        used = static_cast<size_t>(p) + (isSpace(p) ? 1 : 0);
        return static_cast<size_t>(p);
    }

    // Steps over `used` drawn characters of the text from `start`, a "&"
    // mark before one counting with it, while marks are left of the `marks`
    // the line's characters came with.
    size_t SkipDrawn(size_t start, int marks, size_t used) const {
        size_t i = start;
        marks -= static_cast<int>(used);
        while (used-- > 0) {
            if (IsPrefix(Code(i)) && marks-- != 0) {
                ++i;
            }
            ++i;
        }
        return i;
    }

    // The last marked character among the line's first `kept`, found again
    // in the text from `start` when the break cut the one found first.
    int FindMarked(size_t start, size_t consumed, size_t kept) const {
        int result = -1;
        size_t s = start;
        size_t left = consumed;
        for (size_t k = 0; k < kept; ++k, ++s) {
            if (left == 0) {
                break;
            }
            --left;
            if (IsPrefix(Code(s))) {
                ++s;
                if (left == 0) {
                    break;
                }
                if (Code(s) != kPrefix) {
                    result = static_cast<int>(k);
                }
                --left;
            }
        }
        return result;
    }

    WrappedLine NextLine(size_t& at, size_t& count) const {
        std::vector<size_t> line;  // the units drawn
        int marked = -1;
        size_t i = at;
        const size_t start = at;
        const size_t startCount = count;
        auto take = [&] {
            if (line.size() < kLineBuffer) {
                line.push_back(i);
            }
            ++i;
            --count;
        };
        while (count > 0 && !IsNewline(Code(i))) {
            if (count <= 1) {
                take();
            } else if (IsPrefix(Code(i))) {
                // "&x" draws x marked, "&&" draws "&".
                ++i;
                --count;
                if (Code(i) == kPrefix) {
                    take();
                } else {
                    marked = static_cast<int>(line.size());
                }
            } else if (Code(i) == kKanaPrefix) {
                // A katakana access key: neither it nor its mark is drawn.
                i += 2;
                count -= 2;
            } else {
                take();
            }
        }

        size_t kept = line.size();
        const size_t fit = Fitting(line);
        bool broken = false;
        if (fit < kept) {
            size_t used = 0;
            kept = BreakLine(line, fit, used);
            const size_t next = SkipDrawn(start, static_cast<int>(i - start), used);
            count = startCount - (next - start);
            i = next;
            broken = true;
        }
        if (marked >= static_cast<int>(kept)) {
            marked = FindMarked(start, i - start, kept);
        }

        WrappedLine result;
        result.begin = start < units_.size() ? units_[start].offset : text_.size();
        const size_t end =
            kept > 0 ? units_[line[kept - 1]].offset + units_[line[kept - 1]].bytes : result.begin;
        result.length = end - result.begin;
        for (size_t k = 0; k < kept; ++k) {
            const Unit& unit = units_[line[k]];
            result.text.append(text_.substr(unit.offset, unit.bytes));
        }
        result.width = Extent(line, kept);
        if (marked >= 0 && static_cast<size_t>(marked) < kept) {
            result.underlineLeft = Extent(line, static_cast<size_t>(marked));
            result.underlineRight = Extent(line, static_cast<size_t>(marked) + 1) - 1;
        }

        if (!broken && count > 0 && IsNewline(Code(i))) {
            // "\r\n" and "\n\r" end one line, "\n\n" two.
            ++i;
            --count;
            if (count > 0 && IsNewline(Code(i)) && Code(i) != Code(i - 1)) {
                ++i;
                --count;
            }
        }
        at = i;
        return result;
    }

    Advances advances_;
    int width_;
    std::string_view text_;
    std::vector<Unit> units_;
};

}  // namespace

int PageFontEmPixels(const FontSpec& fontSpec) {
    return EmPixels(fontSpec.height);
}

int PageFontAscent(const FontSpec& fontSpec) {
    return Scaled(kWinAscent, EmPixels(fontSpec.height));
}

int PageFontHeight(const FontSpec& fontSpec) {
    return AdvancesOf(fontSpec).height;
}

Size PageCharacterSize(const FontSpec& fontSpec, bool doubleByte) {
    const Advances advances = AdvancesOf(fontSpec);
    return {doubleByte ? advances.wide : advances.narrow, advances.height};
}

Size MeasurePageText(const FontSpec& fontSpec, std::string_view cp932) {
    const Advances advances = AdvancesOf(fontSpec);
    int64_t width = 0;
    for (const Unit& unit : UnitsOf(cp932)) {
        width += AdvanceOf(unit, advances);
    }
    return {static_cast<int>(width), advances.height};
}

std::vector<WrappedLine> WrapPageText(const FontSpec& fontSpec, int width, std::string_view cp932) {
    return Wrapper(fontSpec, width, cp932).Lines();
}

Size MeasureWrappedPageText(const FontSpec& fontSpec, int width, std::string_view cp932) {
    const std::vector<WrappedLine> lines = WrapPageText(fontSpec, width, cp932);
    int widest = 0;
    for (const WrappedLine& line : lines) {
        widest = std::max(widest, line.width);
    }
    return {widest, static_cast<int>(lines.size()) * PageFontHeight(fontSpec)};
}
