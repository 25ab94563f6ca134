// Text runs and the tags that change fonts, colours, margins, alignment and
// the pen.

#include <algorithm>
#include <array>
#include <vector>

#include "html/TokenList.h"
#include "text/ShiftJis.h"

namespace {

constexpr std::array<int, 7> kFontSizes = {7, 12, 16, 20, 24, 32, 48};
constexpr std::array<int, 7> kBaseFontSizes = {7, 12, 16, 20, 24, 28, 32};
constexpr std::array<int, 6> kHeadingSizes = {28, 24, 20, 16, 12, 7};

// The size a digit character picks from a table of sizes 1..N, or `unchanged`.
template <size_t N>
int SizeForDigit(char digit, const std::array<int, N>& sizes, int unchanged) {
    const int index = digit - '1';
    return index >= 0 && index < static_cast<int>(N) ? sizes[static_cast<size_t>(index)]
                                                     : unchanged;
}

}  // namespace

void TokenList::LayoutText(std::string_view text, Canvas& canvas, LinkElement* link) {
    Layout& l = layout_;
    const bool inLink = l.insideLink && link != nullptr;
    const FontSpec fontSpec{l.fontSize + host_->TextSizeOffset(), l.headingBold || l.fontBold,
                            false};
    std::unique_ptr<CanvasFont> font = canvas.MakeFont(fontSpec);
    if (!font) {
        return;  // the run is dropped; the walk goes on
    }
    if (inLink) {
        FontSpec linkSpec = fontSpec;
        linkSpec.underline = link->kind != LinkElement::kAnchor;
        link->font = canvas.MakeFont(linkSpec);
    }
    CanvasStateGuard state(canvas, font.get(), l.textColour);

    const Size whole = canvas.MeasureText(text);
    l.advance = whole.width;
    l.lineHeight = whole.height;

    // Alignment applies only to a run that starts a line.
    const int clientWidth = Client().width();
    const bool fits = clientWidth - l.leftMargin - 20 > l.advance;
    if (l.lineStart && (l.pendingAlignment == LineAlignment::kCentre || l.divisionCentre)) {
        l.lineStart = false;
        l.pendingAlignment = LineAlignment::kLeft;
        l.penX = fits ? (clientWidth - l.advance) / 2 : l.leftMargin;
    } else if (l.lineStart && (l.pendingAlignment == LineAlignment::kRight || l.divisionRight)) {
        l.lineStart = false;
        l.pendingAlignment = LineAlignment::kLeft;
        l.penX = fits ? clientWidth - l.advance - 20 : l.leftMargin;
    }

    // After a picture aligned middle or bottom, text stands one line higher.
    if (l.imageAlignment == PictureAlignment::kMiddle ||
        l.imageAlignment == PictureAlignment::kBottom) {
        l.pendingShift += l.lineHeight;
        l.penY -= l.lineHeight;
    }

    if (inLink) {
        link->text = text;
        link->x = l.penX;
        link->y = l.penY;
        if (link->kind != LinkElement::kAnchor) {
            link->kind = LinkElement::kText;
        }
    }

    auto run = std::make_unique<TextRun>();
    run->x = l.penX;
    run->y = l.penY;
    run->text = text;

    // Character by character: each measured alone, no line breaking however
    // far the pen goes.
    std::vector<int> xs;
    xs.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t width =
            IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
        const Size size = canvas.MeasureText(text.substr(i, width));
        xs.push_back(l.penX);
        l.advance = size.width;
        l.lineHeight = size.height;
        if (inLink) {
            link->bounds =
                link->bounds.Union(Rect::FromSize(l.penX, l.penY, size.width, size.height));
        }
        // However long the run, the pen stops at the layout's limit.
        l.penX = Bounded(int64_t{l.penX} + l.advance);
        RaisePageSize();
        i += width;
    }
    if (!inLink && !xs.empty()) {
        canvas.DrawCharacters(l.penY, text, xs.data());
    }

    run->width = l.penX - run->x;
    run->height = l.lineHeight + (l.penY - run->y);
    textRuns_.push_back(std::move(run));

    if (l.pendingShift != 0) {
        l.penY += l.pendingShift;
        l.pendingShift = 0;
    }
    l.paragraphGap = l.lineHeight;
    l.pageHeight = std::max(l.pageHeight, l.penY);
}

void TokenList::BodyTag(std::string_view token, Canvas& canvas) {
    Layout& l = layout_;
    if (HasAttribute(token, "bgcolor")) {
        ParseColour(AttributeValue(token, "bgcolor"), l.backgroundColour);
    }
    if (HasAttribute(token, "background")) {
        TileBackground(AttributeValue(token, "background"), canvas);
    } else {
        canvas.FillRect({0, 0, kMaxPageWidth, kMaxPageHeight}, l.backgroundColour);
    }
    if (HasAttribute(token, "text")) {
        Colour colour = l.textColour;
        if (ParseColour(AttributeValue(token, "text"), colour)) {
            l.textColour = colour;
            l.bodyTextColour = colour;
        }
    }
    // "link", "alink" and "vlink" are understood and ignored: link colours are fixed.
    if (HasAttribute(token, "leftmargin")) {
        l.leftMargin = Bounded(AttributeNumber(AttributeValue(token, "leftmargin")));
        l.penX = l.leftMargin;
    }
    if (HasAttribute(token, "topmargin")) {
        l.topMargin = Bounded(AttributeNumber(AttributeValue(token, "topmargin")));
        l.penY = l.topMargin;
    }
}

void TokenList::HeadingTag(std::string_view token, Canvas& canvas) {
    if (MatchTag(token, "<hr")) {
        RuleTag(token, canvas);
        return;
    }
    Layout& l = layout_;
    l.penX = l.leftMargin;
    const size_t at = token.find("<h");
    const char level = at + 2 < token.size() ? token[at + 2] : '\0';
    l.fontSize = SizeForDigit(level, kHeadingSizes, l.fontSize);
    if (HasAttribute(token, "align")) {
        if (HasAttribute(token, "left")) {
            l.pendingAlignment = LineAlignment::kLeft;
            l.penX = l.leftMargin;
        } else if (HasAttribute(token, "center")) {
            l.pendingAlignment = LineAlignment::kCentre;
        } else if (HasAttribute(token, "right")) {
            l.pendingAlignment = LineAlignment::kRight;
        }
    }
    l.headingBold = true;
}

void TokenList::HeadingEndTag() {
    Layout& l = layout_;
    l.penX = l.leftMargin;
    l.penY += l.lineHeight;
    l.lineStart = true;
    l.headingBold = false;
    l.fontSize = l.baseFontSize;
    l.pageHeight = std::max(l.pageHeight, l.penY);
}

void TokenList::FontTag(std::string_view token) {
    Layout& l = layout_;
    if (HasAttribute(token, "color")) {
        l.fontColourSet = true;
        ParseColour(AttributeValue(token, "color"), l.textColour);
    }
    if (HasAttribute(token, "size")) {
        l.fontBold = true;  // sized text is bold
        const std::string_view value = AttributeValue(token, "size");
        l.fontSize = SizeForDigit(value.empty() ? '\0' : value[0], kFontSizes, l.fontSize);
    }
}

void TokenList::FontEndTag() {
    // Nesting is not tracked: one closing tag undoes every open font.
    Layout& l = layout_;
    if (l.fontBold) {
        l.fontBold = false;
        l.fontSize = l.baseFontSize;
    }
    if (l.fontColourSet) {
        l.fontColourSet = false;
        l.textColour = l.bodyTextColour;
    }
}

void TokenList::BaseFontTag(std::string_view token) {
    Layout& l = layout_;
    const int number = AttributeNumber(AttributeValue(token, ""));
    if (number >= 1 && number <= 7) {
        l.baseFontSize = kBaseFontSizes[static_cast<size_t>(number - 1)];
        l.fontSize = l.baseFontSize;
    } else {
        l.fontSize = l.baseFontSize;
    }
}

void TokenList::BreakTag() {
    Layout& l = layout_;
    l.penY += l.lineHeight;
    l.penX = l.leftMargin;
    l.lineStart = true;
    l.paragraphGap = 20;
    l.pageHeight = std::max(l.pageHeight, l.penY);
}

void TokenList::ParagraphTag(std::string_view token) {
    Layout& l = layout_;
    const size_t align = token.find("align");
    if (align != std::string_view::npos) {
        const std::string_view words = token.substr(align);
        if (HasAttribute(words, "left")) {
            l.pendingAlignment = LineAlignment::kLeft;
            l.penX = l.leftMargin;
        } else if (HasAttribute(words, "center")) {
            l.pendingAlignment = LineAlignment::kCentre;
        } else if (HasAttribute(words, "right")) {
            l.pendingAlignment = LineAlignment::kRight;
        }
    } else {
        l.penX = l.leftMargin;
    }
    l.penY += l.paragraphGap + l.lineHeight;
    l.pageHeight = std::max(l.pageHeight, l.penY);
}

void TokenList::ParagraphEndTag() {
    layout_.pendingAlignment = LineAlignment::kLeft;
    layout_.penX = layout_.leftMargin;
}

void TokenList::WordBreakTag() {
    Layout& l = layout_;
    l.penX = l.leftMargin;
    l.penY += l.lineHeight;
    l.pageHeight = std::max(l.pageHeight, l.penY);
}

void TokenList::DivisionTag(std::string_view token) {
    if (HasAttribute(token, "center")) {
        layout_.divisionCentre = true;
    }
    if (HasAttribute(token, "right")) {
        layout_.divisionRight = true;
    }
}
