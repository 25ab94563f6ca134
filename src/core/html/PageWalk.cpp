// The walk: every token once, from the first to the last, through the tag
// table to its routine.

#include <algorithm>

#include "Message.h"
#include "html/TokenList.h"

std::string WindowTitleFor(std::string_view pageTitle) {
    return FitMessage(std::string(pageTitle) + " - Brivane");
}

TokenList::TokenList() = default;

TokenList::~TokenList() = default;

void TokenList::ResetLayout() {
    layout_ = Layout{};
    title_.clear();
    textRuns_.clear();
    tables_.clear();
}

void TokenList::DiscardLayout() {
    links_.clear();
    currentLink_.reset();
    textRuns_.clear();
    tables_.clear();
    for (DibPicture& slot : imageSlots_) {
        slot.Unload();
    }
    imagesLoaded_ = false;
    layout_.imageIndex = 0;
}

Rect TokenList::Client() const {
    return host_ ? host_->ClientRect() : Rect{};
}

int TokenList::Bounded(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, -kLayoutLimit, kLayoutLimit));
}

void TokenList::KeepLayoutInRange() {
    Layout& l = layout_;
    for (int* value : {&l.pageWidth, &l.pageHeight, &l.pendingShift, &l.advance, &l.lineHeight,
                       &l.paragraphGap, &l.topMargin, &l.leftMargin, &l.penX, &l.penY}) {
        *value = Bounded(*value);
    }
}

void TokenList::RaisePageSize() {
    layout_.pageWidth = std::max(layout_.pageWidth, layout_.penX);
    layout_.pageHeight = std::max(layout_.pageHeight, layout_.penY);
}

void TokenList::RenderPage(Canvas& canvas) {
    if (host_ == nullptr) {
        return;
    }
    host_->SetProgressRange(0, count() - 1);
    layout_.pageWidth = 0;
    layout_.pageHeight = 0;
    currentLink_.reset();

    for (StringNode* node = first(); node != nullptr && !node->IsSentinel(); node = node->next()) {
        host_->AdvanceProgress(1);
        Dispatch(FindTag(*node->text()), node, canvas);
        KeepLayoutInRange();
    }

    layout_.penY += layout_.lineHeight;
    imagesLoaded_ = true;
    laidOut_ = true;
    host_->SetProgressPos(count());

    layout_.pageWidth = std::min(layout_.pageWidth + layout_.leftMargin, kMaxPageWidth);
    layout_.pageHeight = std::min(layout_.pageHeight + layout_.topMargin + 50, kMaxPageHeight);
    host_->SetScrollSizes(layout_.pageWidth, layout_.pageHeight);
}

void TokenList::Dispatch(Tag tag, StringNode*& node, Canvas& canvas) {
    const std::string_view token = *node->text();
    switch (tag) {
        case Tag::Title:
            node = TitleTag(node);
            break;
        case Tag::Body:
            BodyTag(token, canvas);
            break;
        case Tag::Heading:
            HeadingTag(token, canvas);
            break;
        case Tag::HeadingEnd:
            HeadingEndTag();
            break;
        case Tag::BaseFont:
            BaseFontTag(token);
            break;
        case Tag::Break:
            BreakTag();
            break;
        case Tag::Paragraph:
            ParagraphTag(token);
            break;
        case Tag::ParagraphEnd:
            ParagraphEndTag();
            break;
        case Tag::WordBreak:
            WordBreakTag();
            break;
        case Tag::Image: {
            const Size used = ImageTag(token, canvas, currentLink_.get());
            layout_.lineHeight = used.height;
            RaisePageSize();
            break;
        }
        case Tag::Anchor:
            AnchorTag(token);
            break;
        case Tag::AnchorEnd:
            AnchorEndTag(canvas);
            break;
        case Tag::Table:
            layout_.penY += layout_.lineHeight;
            node = TableTag(node, canvas);
            break;
        case Tag::Form:
            FormStart(std::nullopt);
            break;
        case Tag::FormEnd:
            FormEnd(std::nullopt);
            break;
        case Tag::Input:
            InputTag(token);
            RaisePageSize();
            break;
        case Tag::None:
        case Tag::TableBorder:
        case Tag::Row:
        case Tag::RowEnd:
        case Tag::Cell:
        case Tag::CellEnd:
        case Tag::HeaderCell:
        case Tag::HeaderCellEnd:
        case Tag::Caption:
        case Tag::CaptionEnd:
            LayoutText(token, canvas, currentLink_.get());
            break;
        default:
            // Fonts and alignment; html, head, meta, link, comments, bold,
            // italic... do nothing.
            StyleTag(tag, token);
            break;
    }
}

bool TokenList::StyleTag(Tag tag, std::string_view token) {
    Layout& l = layout_;
    switch (tag) {
        case Tag::Font:
            FontTag(token);
            return true;
        case Tag::FontEnd:
            FontEndTag();
            return true;
        case Tag::Big:
            l.fontSize = l.baseFontSize + 4;
            return true;
        case Tag::Small:
            l.fontSize = l.baseFontSize - 4;
            return true;
        case Tag::BigEnd:
        case Tag::SmallEnd:
            l.fontSize = l.baseFontSize;
            return true;
        case Tag::NoBreak:
            l.noBreak = true;
            return true;
        case Tag::NoBreakEnd:
            l.noBreak = false;
            return true;
        case Tag::Center:
            l.centre = true;
            return true;
        case Tag::CenterEnd:
            l.centre = false;
            return true;
        case Tag::Division:
            DivisionTag(token);
            return true;
        case Tag::DivisionEnd:
            l.divisionCentre = false;
            l.divisionRight = false;
            return true;
        default:
            return false;
    }
}

StringNode* TokenList::TitleTag(StringNode* node) {
    StringNode* next = node->next();
    if (next == nullptr || next->IsSentinel()) {
        return node;
    }
    title_ = *next->text();
    host_->SetWindowTitle(WindowTitleFor(title_));
    return next;
}

void TokenList::AnchorTag(std::string_view token) {
    currentLink_ = StartLink(token);
}

std::unique_ptr<LinkElement> TokenList::StartLink(std::string_view token) {
    auto link = std::make_unique<LinkElement>();
    if (HasAttribute(token, "href=")) {
        link->target = AttributeValue(token, "href=");
        layout_.insideLink = true;
    } else if (HasAttribute(token, "name=")) {
        link->target = AttributeValue(token, "name=");
        link->kind = LinkElement::kAnchor;
        layout_.insideLink = true;
    }
    return link;
}

void TokenList::AnchorEndTag(Canvas& canvas) {
    if (!currentLink_) {
        return;
    }
    LinkElement& link = *currentLink_;
    link.width = link.bounds.right - link.bounds.left;
    link.height = link.bounds.bottom - link.bounds.top;
    links_.push_back(std::move(currentLink_));
    layout_.insideLink = false;
    DrawLink(link, canvas);
}
