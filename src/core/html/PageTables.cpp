// Tables: a grid of at most 16 x 16 cells whose widths come from their
// "width" attributes, not from their content. A table is laid out whole, with
// the text of its cells wrapping at the cells' widths, and then drawn whole.

#include <algorithm>

#include "html/TokenList.h"
#include "text/ShiftJis.h"

namespace {

constexpr int kEdge = 3;     // the table's edge and the spacing inside it
constexpr int kSpacing = 2;  // between cells and rows

int Sum(int64_t a, int64_t b) {
    return TokenList::Bounded(a + b);
}

// Tags that end a cell whose "</td" is missing: the next cell or row, and
// the end of the table, which its walk never passes.
bool EndsCell(Tag tag) {
    return tag == Tag::Cell || tag == Tag::HeaderCell || tag == Tag::Row || tag == Tag::RowEnd ||
           tag == Tag::TableEnd;
}

bool IsTableStructure(Tag tag) {
    return tag >= Tag::Table && tag <= Tag::CaptionEnd;
}

// Of the words, the one that stands last in the tag (later words win), as
// its 1-based number; 0 when none is there.
int LastWord(std::string_view token, std::initializer_list<std::string_view> words) {
    int found = 0;
    size_t at = 0;
    int number = 0;
    for (std::string_view word : words) {
        ++number;
        const size_t position = token.rfind(word);
        if (position != std::string_view::npos && (found == 0 || position > at)) {
            found = number;
            at = position;
        }
    }
    return found;
}

void ShiftTable(TableLayout& table, int dx, int dy);

void ShiftCell(TableCell& cell, int dx, int dy) {
    cell.x = Sum(cell.x, dx);
    cell.y = Sum(cell.y, dy);
    for (CellItem& item : cell.items) {
        switch (item.kind) {
            case CellItem::kText:
                item.run->x = Sum(item.run->x, dx);
                item.run->y = Sum(item.run->y, dy);
                break;
            case CellItem::kPicture:
                item.picture.x = Sum(item.picture.x, dx);
                item.picture.y = Sum(item.picture.y, dy);
                break;
            case CellItem::kTable:
                ShiftTable(*item.table, dx, dy);
                break;
            case CellItem::kControl: {
                Rect& rect = item.control->rect;
                rect = Rect::FromSize(Sum(rect.left, dx), Sum(rect.top, dy), rect.width(),
                                      rect.height());
                break;
            }
        }
    }
}

void ShiftTable(TableLayout& table, int dx, int dy) {
    table.x = Sum(table.x, dx);
    table.y = Sum(table.y, dy);
    if (table.caption != nullptr) {
        table.caption->x = Sum(table.caption->x, dx);
        table.caption->y = Sum(table.caption->y, dy);
    }
    for (auto& row : table.rows) {
        for (TableCell& cell : row) {
            ShiftCell(cell, dx, dy);
        }
    }
}

Rect CellBox(const TableCell& cell) {
    return Rect::FromSize(cell.x, cell.y, cell.width, cell.height);
}

}  // namespace

int TableLayout::OuterHeight() const {
    // A caption stands 3 pixels off the table; the page goes on below all of
    // it, or the next line would be drawn over the caption's last 3 rows.
    return caption != nullptr ? Sum(Sum(height, caption->height), kEdge) : height;
}

// The walk of one cell's content, with the cell pen in the page's pen.
struct TokenList::CellWalk {
    TableCell* cell = nullptr;  // null: beyond the grid, its tokens are passed over
    int x = 0;
    int y = 0;
    int requestedWidth = 0;
    bool header = false;
    int nestedWidth = -1;  // of the last table nested in the cell, if any
    int depth = 1;         // of the table the cell belongs to
    int right = 0;         // the content box's right and bottom edges
    int bottom = 0;
    std::unique_ptr<LinkElement> link;  // the cell's open link

    void Grow(int toRight, int toBottom) {
        right = std::max(right, toRight);
        bottom = std::max(bottom, toBottom);
    }
};

StringNode* TokenList::TakeToken(StringNode* node) {
    StringNode* next = node->next();
    if (next == nullptr || next->IsSentinel()) {
        return nullptr;
    }
    host_->AdvanceProgress(1);
    return next;
}

StringNode* TokenList::TableTag(StringNode* node, Canvas& canvas) {
    Layout& l = layout_;
    // A table inside a link does not join it: cells have links of their own.
    const bool insideLink = l.insideLink;
    l.insideLink = false;
    const int x = l.penX;
    const int y = l.penY;

    auto table = std::make_unique<TableLayout>();
    StringNode* last = LayoutTable(canvas, node, *table, x, y, 1);
    // Only the outermost table places its caption; its border flag decides
    // the edges of every cell inside it, nested tables' cells included.
    PlaceCaption(canvas, *table);
    DrawTable(*table, canvas, table->border, true);

    l.penX = Sum(x, table->width);
    l.penY = Sum(y, table->OuterHeight());
    RaisePageSize();
    l.pendingShift = 0;
    l.penX = l.leftMargin;
    l.insideLink = insideLink;
    return last;
}

StringNode* TokenList::LayoutTable(Canvas& canvas, StringNode* first, TableLayout& table, int x,
                                   int y, int depth) {
    const std::string_view open = *first->text();
    table.border =
        HasAttribute(open, "border") && AttributeNumber(AttributeValue(open, "border")) != 0;
    table.x = x;
    table.y = y;
    const int rowStart = Sum(x, kEdge);
    int cellX = rowStart;
    int cellY = Sum(y, kEdge);
    int row = 0;  // rows beyond the grid are counted no further than its end
    bool rowOpen = false;

    auto endRow = [&] {
        if (row < TableLayout::kMaxRows) {
            if (table.rows.size() <= static_cast<size_t>(row)) {
                table.rows.resize(static_cast<size_t>(row) + 1);
            }
            std::vector<TableCell>& cells = table.rows[static_cast<size_t>(row)];
            int height = 0;
            for (const TableCell& cell : cells) {
                height = std::max(height, cell.height);
            }
            for (TableCell& cell : cells) {
                cell.height = height;
            }
            cellY = Sum(cellY, Sum(height, kSpacing));
            ++row;
        }
        cellX = rowStart;
        rowOpen = false;
    };

    StringNode* node = first;
    while (StringNode* next = TakeToken(node)) {
        node = next;
        const std::string_view token = *node->text();
        const Tag tag = FindTag(token);
        if (tag == Tag::TableEnd) {
            break;
        }
        switch (tag) {
            case Tag::Caption:
                CaptionTag(node, table);
                break;
            case Tag::Row:
                // A row whose "</tr" is missing ends where the next begins.
                if (rowOpen) {
                    endRow();
                }
                break;
            case Tag::RowEnd:
                endRow();
                break;
            case Tag::Cell:
            case Tag::HeaderCell: {
                rowOpen = true;
                CellWalk walk;
                walk.x = cellX;
                walk.y = cellY;
                walk.requestedWidth =
                    std::max(0, Bounded(AttributeNumber(AttributeValue(token, "width"))));
                walk.header = tag == Tag::HeaderCell;
                walk.depth = depth;
                if (row < TableLayout::kMaxRows) {
                    if (table.rows.size() <= static_cast<size_t>(row)) {
                        table.rows.resize(static_cast<size_t>(row) + 1);
                    }
                    std::vector<TableCell>& cells = table.rows[static_cast<size_t>(row)];
                    if (cells.size() < TableLayout::kMaxColumns) {
                        cells.emplace_back();
                        walk.cell = &cells.back();
                    }
                }
                node = LayoutCell(canvas, node, walk);
                if (walk.cell != nullptr) {
                    // A cell is as wide as it asks, whatever its content,
                    // unless it holds a table; as tall as its content.
                    TableCell& cell = *walk.cell;
                    cell.x = walk.x;
                    cell.y = walk.y;
                    cell.width = walk.nestedWidth >= 0 ? walk.nestedWidth : walk.requestedWidth;
                    cell.height = walk.bottom - walk.y;
                    cellX = Sum(cellX, Sum(cell.width, kSpacing));
                    table.columns =
                        std::max(table.columns,
                                 static_cast<int>(table.rows[static_cast<size_t>(row)].size()));
                }
                break;
            }
            default:
                // Anything else between cells.
                break;
        }
    }
    if (rowOpen) {
        endRow();
    }

    // Each column is as wide as its widest cell; a cell widened to it pushes
    // the cells right of it along, once for every column to its left.
    std::array<int, TableLayout::kMaxColumns> widths{};
    for (const auto& cells : table.rows) {
        for (size_t c = 0; c < cells.size(); ++c) {
            widths[c] = std::max(widths[c], cells[c].width);
        }
    }
    for (auto& cells : table.rows) {
        int shift = 0;
        for (size_t c = 0; c < cells.size(); ++c) {
            ShiftCell(cells[c], shift, 0);
            shift = Sum(shift, widths[c] - cells[c].width);
            cells[c].width = widths[c];
        }
    }
    int64_t width = kEdge;
    for (int c = 0; c < table.columns; ++c) {
        width += kSpacing + widths[static_cast<size_t>(c)];
    }
    int64_t height = kEdge;
    for (const auto& cells : table.rows) {
        height += kSpacing + (cells.empty() ? 0 : cells.front().height);
    }
    table.width = Bounded(width);
    table.height = Bounded(height);
    return node;
}

void TokenList::CaptionTag(StringNode* node, TableLayout& table) {
    const std::string_view token = *node->text();
    if (const int vertical = LastWord(token, {"top", "bottom"}); vertical != 0) {
        table.captionVertical = vertical;
    }
    if (const int horizontal = LastWord(token, {"left", "center", "right"}); horizontal != 0) {
        table.captionHorizontal = horizontal;
    }
    // The caption is the token after the tag, which the table's walk then
    // passes over like anything else between cells.
    const StringNode* next = node->next();
    if (next != nullptr && !next->IsSentinel()) {
        table.captionText = *next->text();
    }
    table.captionFont = {layout_.fontSize + host_->TextSizeOffset(), false, false};
    table.captionColour = layout_.textColour;
}

void TokenList::PlaceCaption(Canvas& canvas, TableLayout& table) {
    // A caption stands where its tag says, or nowhere.
    if (table.captionVertical == 0 || table.captionHorizontal == 0 || table.captionText.empty()) {
        return;
    }
    textRuns_.push_back(std::make_unique<TextRun>());
    TextRun* caption = textRuns_.back().get();
    caption->text = table.captionText;
    std::unique_ptr<CanvasFont> font = canvas.MakeFont(table.captionFont);
    Size size;
    if (font) {
        const CanvasFont* previous = canvas.SelectFont(font.get());
        size = canvas.MeasureWrappedText(table.width, caption->text);
        canvas.SelectFont(previous);
    }
    caption->width = std::max(0, Bounded(size.width));
    caption->height = std::max(0, Bounded(size.height));
    caption->x = Sum(table.x, kEdge);
    if (table.captionHorizontal == 2) {
        caption->x = Sum(caption->x, (int64_t{table.width} - caption->width) / 2);
    } else if (table.captionHorizontal == 3) {
        caption->x = Sum(caption->x, int64_t{table.width} - caption->width);
    }
    // Above the table, which moves down to make room, or below it.
    if (table.captionVertical == 1) {
        const int y = table.y;
        ShiftTable(table, 0, Sum(caption->height, kEdge));
        caption->y = y;
    } else {
        caption->y = Sum(Sum(table.y, table.height), kEdge);
    }
    table.caption = caption;
}

StringNode* TokenList::LayoutCell(Canvas& canvas, StringNode* open, CellWalk& walk) {
    Layout& l = layout_;
    l.penX = walk.x;
    l.penY = walk.y;
    l.insideLink = false;
    walk.right = walk.x;
    walk.bottom = walk.y;
    // Open tables whose tags are passed over: nested too deep, or met in a
    // cell beyond the grid. Their content stays in this cell.
    int ignored = 0;
    StringNode* node = open;
    for (StringNode* next = node->next(); next != nullptr && !next->IsSentinel();
         next = node->next()) {
        const std::string_view token = *next->text();
        const Tag tag = FindTag(token);
        if (ignored == 0 && EndsCell(tag)) {
            break;  // left to the table's walk
        }
        node = TakeToken(node);
        if (ignored == 0 && (tag == Tag::CellEnd || tag == Tag::HeaderCellEnd)) {
            break;
        }
        if (ignored > 0 && IsTableStructure(tag)) {
            ignored += tag == Tag::Table ? 1 : tag == Tag::TableEnd ? -1 : 0;
            continue;
        }
        if (walk.cell == nullptr) {
            ignored += tag == Tag::Table ? 1 : 0;
            continue;
        }
        CellContent(tag, token, node, canvas, walk, ignored);
        KeepLayoutInRange();
    }
    CloseCellLink(walk);
    return node;
}

void TokenList::CellContent(Tag tag, std::string_view token, StringNode*& node, Canvas& canvas,
                            CellWalk& walk, int& ignored) {
    Layout& l = layout_;
    switch (tag) {
        case Tag::Heading: {
            if (MatchTag(token, "<hr")) {
                break;  // rules stay out of cells
            }
            const size_t at = token.find("<h");
            const char level = at + 2 < token.size() ? token[at + 2] : '\0';
            if (level >= '1' && level <= '6') {
                static constexpr int kHeadingSizes[] = {28, 24, 20, 16, 12, 7};
                l.fontSize = kHeadingSizes[level - '1'];
            }
            if (HasAttribute(token, "align")) {
                if (HasAttribute(token, "left")) {
                    l.pendingAlignment = LineAlignment::kLeft;
                    l.penX = walk.x;
                } else if (HasAttribute(token, "center")) {
                    l.pendingAlignment = LineAlignment::kCentre;
                } else if (HasAttribute(token, "right")) {
                    l.pendingAlignment = LineAlignment::kRight;
                }
            }
            l.headingBold = true;
            break;
        }
        case Tag::HeadingEnd:
            l.penY += l.lineHeight;
            l.penX = walk.x;
            l.fontSize = l.baseFontSize;
            l.headingBold = false;
            walk.Grow(walk.right, l.penY);
            break;
        case Tag::Break:
            l.penX = walk.x;
            l.penY += l.lineHeight;
            l.paragraphGap = 20;
            walk.Grow(walk.right, l.penY);
            break;
        case Tag::Paragraph: {
            const size_t align = token.find("align");
            if (align != std::string_view::npos) {
                const std::string_view words = token.substr(align);
                if (HasAttribute(words, "left")) {
                    l.pendingAlignment = LineAlignment::kLeft;
                    l.penX = walk.x;
                } else if (HasAttribute(words, "center")) {
                    l.pendingAlignment = LineAlignment::kCentre;
                } else if (HasAttribute(words, "right")) {
                    l.pendingAlignment = LineAlignment::kRight;
                }
            } else {
                l.penX = walk.x;
            }
            l.penY = Sum(l.penY, Sum(l.paragraphGap, l.lineHeight));
            break;
        }
        case Tag::ParagraphEnd:
            l.pendingAlignment = LineAlignment::kLeft;
            l.penX = walk.x;
            break;
        case Tag::Image:
            CellImage(token, walk);
            break;
        case Tag::Table: {
            if (walk.depth >= kMaxTableDepth) {
                ++ignored;
                break;
            }
            CellItem item;
            item.kind = CellItem::kTable;
            item.table = std::make_unique<TableLayout>();
            const int x = l.penX;
            const int y = l.penY;
            const bool insideLink = l.insideLink;
            node = LayoutTable(canvas, node, *item.table, x, y, walk.depth + 1);
            l.insideLink = insideLink;
            const int height = item.table->OuterHeight();
            walk.nestedWidth = item.table->width;
            walk.Grow(Sum(x, item.table->width), Sum(y, height));
            // What follows starts on a new line below the nested table.
            l.penX = walk.x;
            l.penY = Sum(y, height);
            walk.cell->items.push_back(std::move(item));
            break;
        }
        case Tag::Anchor:
            CloseCellLink(walk);
            walk.link = StartLink(token);
            break;
        case Tag::AnchorEnd:
            CloseCellLink(walk);
            break;
        case Tag::None:
        case Tag::TableBorder:
        case Tag::Caption:
        case Tag::CaptionEnd:
            CellText(token, canvas, walk);
            break;
        case Tag::Form:
            FormStart(walk.x);
            walk.Grow(walk.right, l.penY);
            break;
        case Tag::FormEnd:
            FormEnd(walk.x);
            walk.Grow(walk.right, l.penY);
            break;
        case Tag::Input: {
            const int x = l.penX;
            const int y = l.penY;
            if (FormControl* control = InputTag(token)) {
                walk.Grow(Sum(x, control->rect.width()), Sum(y, control->rect.height()));
                CellItem item;
                item.kind = CellItem::kControl;
                item.control = control;
                walk.cell->items.push_back(std::move(item));
            }
            break;
        }
        default:
            // Fonts and alignment as on the page; "<basefont", "<wbr", bold,
            // italic and the rest do nothing in a cell.
            StyleTag(tag, token);
            break;
    }
}

void TokenList::CloseCellLink(CellWalk& walk) {
    // A link left open at the end of its cell ends there: its items point to it.
    if (walk.link) {
        links_.push_back(std::move(walk.link));
    }
    layout_.insideLink = false;
}

void TokenList::CellText(std::string_view text, Canvas& canvas, CellWalk& walk) {
    Layout& l = layout_;
    LinkElement* link = l.insideLink ? walk.link.get() : nullptr;
    const FontSpec fontSpec{l.fontSize + host_->TextSizeOffset(),
                            walk.header || l.headingBold || l.fontBold, false};
    std::unique_ptr<CanvasFont> font = canvas.MakeFont(fontSpec);
    if (!font) {
        return;  // the run is dropped, as on the page
    }
    if (link != nullptr) {
        FontSpec linkSpec = fontSpec;
        linkSpec.underline = link->kind != LinkElement::kAnchor;
        link->font = canvas.MakeFont(linkSpec);
    }
    const CanvasFont* previous = canvas.SelectFont(font.get());

    const Size whole = canvas.MeasureText(text);
    l.advance = whole.width;
    l.lineHeight = whole.height;
    // Only a pending alignment places text, within the cell's requested width.
    const bool fits = l.advance < walk.requestedWidth - 20;
    if (l.pendingAlignment == LineAlignment::kCentre) {
        l.penX = fits ? walk.x + (walk.requestedWidth - l.advance) / 2 : walk.x;
    } else if (l.pendingAlignment == LineAlignment::kRight) {
        l.penX = fits ? walk.x + walk.requestedWidth - l.advance - 20 : walk.x;
    }
    l.pendingAlignment = LineAlignment::kLeft;
    if (link != nullptr) {
        link->text = text;
        link->x = l.penX;
        link->y = l.penY;
        if (link->kind != LinkElement::kAnchor) {
            link->kind = LinkElement::kText;
        }
    }

    // Character by character, wrapping at the cell's requested width less 20.
    CellItem item;
    item.kind = CellItem::kText;
    item.font = fontSpec;
    item.colour = l.textColour;
    const int wrapAt = Sum(walk.x, walk.requestedWidth) - 20;
    Rect box;
    CellItem::Line line;
    for (size_t i = 0; i < text.size();) {
        const size_t width =
            IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
        const Size size = canvas.MeasureText(text.substr(i, width));
        l.advance = size.width;
        l.lineHeight = size.height;
        if (line.xs.empty()) {
            line.y = l.penY;
            line.begin = i;
        }
        line.xs.push_back(l.penX);
        box = box.Union(Rect::FromSize(l.penX, l.penY, size.width, size.height));
        l.penX = Sum(l.penX, l.advance);
        i += width;
        if (l.penX >= wrapAt && !l.noBreak) {
            line.end = i;
            item.lines.push_back(std::move(line));
            line = {};
            l.penY = Sum(l.penY, l.pendingShift != 0 ? l.pendingShift : l.lineHeight);
            l.pendingShift = 0;
            l.penX = walk.x;
        }
    }
    if (!line.xs.empty()) {
        line.end = text.size();
        item.lines.push_back(std::move(line));
    }
    canvas.SelectFont(previous);

    // The run's box holds all its characters; its lines are kept relative to it.
    auto run = std::make_unique<TextRun>();
    run->x = box.left;
    run->y = box.top;
    run->width = box.width();
    run->height = box.height();
    run->text = text;
    run->link = link;
    run->inLink = link != nullptr;
    for (CellItem::Line& each : item.lines) {
        each.y -= run->y;
        for (int& x : each.xs) {
            x -= run->x;
        }
    }
    if (!box.IsEmpty()) {
        walk.Grow(box.right, box.bottom);
    }
    item.run = run.get();
    textRuns_.push_back(std::move(run));
    walk.cell->items.push_back(std::move(item));

    l.penY = Sum(l.penY, l.pendingShift);
    l.pendingShift = 0;
    l.paragraphGap = l.lineHeight;
}

void TokenList::CellImage(std::string_view token, CellWalk& walk) {
    Layout& l = layout_;
    const Rect client = Client();
    const int requestedWidth = RequestedSize(token, "width", client.width());
    const int requestedHeight = RequestedSize(token, "height", client.height());
    const bool sized = requestedWidth != 0 && requestedHeight != 0;
    Size used{requestedWidth, requestedHeight};
    LinkElement* link = l.insideLink ? walk.link.get() : nullptr;

    if (HasAttribute(token, "src")) {
        DibPicture* slot = PictureSlot(token);
        const int w = slot ? slot->width() : 0;
        const int h = slot ? slot->height() : 0;
        const int drawWidth = sized ? requestedWidth : w;
        const int drawHeight = sized ? requestedHeight : h;
        // Centred or put right in the view, as on the page.
        const int room = client.width() - l.leftMargin - 20;
        if (l.centre || l.divisionCentre) {
            l.penX = drawWidth < room ? (client.width() - drawWidth) / 2 : l.leftMargin;
        }
        if (l.divisionRight) {
            l.penX = drawWidth < room ? client.width() - drawWidth - 20 : l.leftMargin;
        }

        CellItem item;
        item.kind = CellItem::kPicture;
        ImageElement& element = item.picture;
        element.picture = slot;
        element.name = slot ? slot->name() : std::string();
        element.width = drawWidth;
        element.height = drawHeight;
        // One pixel clear of the cell's edge; a link's frame of two around it.
        const int inset = link != nullptr ? 3 : 1;
        element.x = Sum(l.penX, inset);
        element.y = Sum(l.penY, inset);
        if (link != nullptr) {
            link->kind = LinkElement::kImage;
            link->picture = slot;
            element.link = link;
            used = {Sum(drawWidth, 4), Sum(drawHeight, 4)};
        } else {
            used = {drawWidth, drawHeight};
        }
        walk.cell->items.push_back(std::move(item));
        ++l.imageIndex;
    }
    // The picture is drawn a pixel in from the pen, and the cell's edge takes
    // the pixel after it: grown by the used size alone, the cell would end on
    // the picture's last row and the picture would cover its edge.
    walk.Grow(Sum(l.penX, Sum(used.width, 2)), Sum(l.penY, Sum(used.height, 2)));
    l.penX = Sum(l.penX, Sum(used.width, 3));
    l.lineHeight = used.height;
    AlignPicture(token, used);
}

void TokenList::DrawTable(TableLayout& table, Canvas& canvas, bool bordered, bool outermost) {
    TableRecord record;
    record.box = Rect::FromSize(table.x, table.y, table.width, table.height);
    record.border = table.border;
    record.rows = static_cast<int>(table.rows.size());
    record.columns = table.columns;
    for (const auto& cells : table.rows) {
        for (const TableCell& cell : cells) {
            record.cells.push_back(CellBox(cell));
        }
    }
    tables_.push_back(std::move(record));

    if (bordered) {
        if (outermost) {
            canvas.DrawEdge(tables_.back().box, EdgeStyle::RaisedInner);
        }
        for (const auto& cells : table.rows) {
            for (const TableCell& cell : cells) {
                if (!cell.items.empty()) {
                    canvas.DrawEdge(CellBox(cell), EdgeStyle::SunkenOuter);
                }
            }
        }
    }
    if (table.caption != nullptr) {
        std::unique_ptr<CanvasFont> font = canvas.MakeFont(table.captionFont);
        if (font) {
            CanvasStateGuard state(canvas, font.get(), table.captionColour);
            const TextRun& caption = *table.caption;
            canvas.DrawWrappedText(
                Rect::FromSize(caption.x, caption.y, caption.width, caption.height), caption.text);
        }
    }
    for (auto& cells : table.rows) {
        for (TableCell& cell : cells) {
            for (CellItem& item : cell.items) {
                switch (item.kind) {
                    case CellItem::kText:
                        DrawCellText(item, canvas);
                        break;
                    case CellItem::kPicture:
                        item.picture.Draw(canvas, *host_);
                        break;
                    case CellItem::kTable:
                        DrawTable(*item.table, canvas, bordered, false);
                        break;
                    case CellItem::kControl:
                        // Where the table's shifts have taken it.
                        if (item.control->window) {
                            item.control->window->Move(item.control->rect);
                        }
                        break;
                }
            }
        }
    }
}

void TokenList::DrawCellText(const CellItem& item, Canvas& canvas) {
    TextRun& run = *item.run;
    if (run.inLink && run.link != nullptr) {
        // A link's text is drawn by the link, over the box this run measured;
        // a link of several runs keeps the last one's box and text.
        LinkElement& link = *run.link;
        link.x = run.x;
        link.y = run.y;
        link.width = run.width;
        link.height = run.height;
        link.bounds = Rect::FromSize(run.x, run.y, run.width, run.height);
        link.text = run.text;
        DrawLink(link, canvas);
        return;
    }
    std::unique_ptr<CanvasFont> font = canvas.MakeFont(item.font);
    if (!font) {
        return;
    }
    CanvasStateGuard state(canvas, font.get(), item.colour);
    std::vector<int> xs;
    for (const CellItem::Line& line : item.lines) {
        xs.clear();
        for (int x : line.xs) {
            xs.push_back(Sum(run.x, x));
        }
        canvas.DrawCharacters(Sum(run.y, line.y),
                              std::string_view(run.text).substr(line.begin, line.end - line.begin),
                              xs.data());
    }
}
