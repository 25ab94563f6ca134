#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/Attributes.h"
#include "html/Canvas.h"
#include "html/Elements.h"
#include "html/Geometry.h"
#include "html/PageHost.h"
#include "html/TagTable.h"
#include "picture/DibPicture.h"
#include "picture/ImageElement.h"
#include "text/StringList.h"

class Archive;
struct TableLayout;

// Where the next line's run stands: "<p align>" and "<div align>".
enum class LineAlignment { kLeft, kCentre, kRight };

// How a picture meets the text: "<img align>".
enum class PictureAlignment { kLeft, kRight, kTop, kMiddle, kBottom };

// One piece of a table cell's content, in document order.
struct CellItem {
    enum Kind { kText = 1, kPicture = 2, kTable = 3, kControl = 4 };

    // A line of a text item: its characters' left edges and top, relative to
    // the run's box, so that moving the run moves them.
    struct Line {
        int y = 0;
        size_t begin = 0;  // byte range of the run's text
        size_t end = 0;
        std::vector<int> xs;
    };

    Kind kind = kText;
    TextRun* run = nullptr;  // text: the page's run (its box, text and link)
    FontSpec font;           // text: drawn in this font and colour
    Colour colour = 0;
    std::vector<Line> lines;
    ImageElement picture;                // picture
    std::unique_ptr<TableLayout> table;  // nested table
    FormControl* control = nullptr;      // a form control, held by the page's forms
};

struct TableCell {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<CellItem> items;
};

// A table while it is laid out and drawn. Cells fill each row from the left,
// so a row holds its cells in column order.
struct TableLayout {
    static constexpr int kMaxColumns = 16;
    static constexpr int kMaxRows = 16;

    int x = 0;  // the box inside the table's edge, without the caption
    int y = 0;
    int width = 0;
    int height = 0;
    bool border = true;
    std::string captionText;
    TextRun* caption = nullptr;  // the page's run of the caption, once placed
    FontSpec captionFont;
    Colour captionColour = 0;
    int captionVertical = 0;    // 1 top, 2 bottom
    int captionHorizontal = 0;  // 1 left, 2 centre, 3 right
    std::vector<std::vector<TableCell>> rows;
    int columns = 0;  // the most cells in a row

    // The height the table takes on the page: its box and its caption.
    int OuterHeight() const;
};

// A table as the last walk laid it out: its box and its cells' boxes, row by row.
struct TableRecord {
    Rect box;
    bool border = false;
    int rows = 0;
    int columns = 0;
    std::vector<Rect> cells;
};

// The longest tag a page may hold, both angle brackets included.
constexpr size_t kMaxTagLength = 256;

// Appends the tokens of a page's `size` bytes to `out`: each tag whole from
// "<" to ">", its ASCII letters in small letters and its line breaks turned
// into spaces, and each run of text between tags without its TABs and line
// breaks. Whitespace between tokens is dropped. A tag without its ">" within
// kMaxTagLength bytes ends tokenizing there, keeping the tokens before it, and
// gives false.
bool TokenizePage(const uint8_t* bytes, size_t size, StringList& out);

// The browser's window text for a page title: "<title> - Brivane", at most
// 255 bytes, cut at a character boundary.
std::string WindowTitleFor(std::string_view pageTitle);

// The page object: the page's tokens in source order, and the layout state
// of the one walk that lays the page out and draws it (RenderPage). Each tag
// token goes to its routine through the tag table; every other token is text.
// Text never wraps: only tags move the pen down and back to the left margin.
class TokenList : public StringList {
  public:
    static constexpr int kImageSlots = 64;
    static constexpr int kMaxPageWidth = 1400;
    static constexpr int kMaxPageHeight = 2600;
    static constexpr Colour kUnvisitedLinkColour = MakeColour(0, 0, 255);
    static constexpr Colour kVisitedLinkColour = MakeColour(80, 0, 80);
    // Tables nested deeper than this are laid out as if their "<table" were
    // not there: a damaged page cannot nest the layout without end.
    static constexpr int kMaxTableDepth = 8;
    // Numbers a page gives (margins, spaces, sizes) and the pen are cut to
    // this many pixels either way, far outside any page, so that however
    // damaged the page the layout's sums cannot overflow.
    static constexpr int kLayoutLimit = 1 << 28;
    static int Bounded(int64_t value);

    TokenList();
    ~TokenList() override;

    // Appends the tokens of entry `name` of the text archive. False when the
    // archive does not hold the name (nothing is appended) or when a tag was
    // too long (the tokens before it are kept).
    bool LoadPage(const Archive& textArchive, std::string_view name);

    // The window that shows the page; it must outlive every walk.
    void SetHost(PageHost* host) { host_ = host; }

    // Puts the layout state back to its start and drops the text runs. Links,
    // picture slots and the images-loaded flag stay.
    void ResetLayout();
    // Drops the whole layout of earlier walks: links, text runs, pictures.
    void DiscardLayout();
    // Lays the page out and draws it on `canvas` at page coordinates, in one
    // pass over the tokens; ends by setting the host's scroll sizes.
    void RenderPage(Canvas& canvas);

    // Draws one link as its kind asks, in the visited or unvisited colour.
    void DrawLink(LinkElement& link, Canvas& canvas);
    // The first link whose rectangle holds the page point, or null.
    LinkElement* HitTest(Point point) const;
    // The targets of the page's "<a href=" tags in page order, as a click on
    // them hands them on; known without a layout.
    std::vector<std::string> LinkTargets() const;

    // A picture's name as the page loads it: with the plug-in installed and
    // Caps Lock on, a name ending in "m.bmp" loses its "m".
    std::string PictureName(std::string_view name) const;

    const std::string& title() const { return title_; }
    const std::string& address() const { return address_; }
    void SetAddress(std::string address) { address_ = std::move(address); }
    int pageWidth() const { return layout_.pageWidth; }
    int pageHeight() const { return layout_.pageHeight; }
    bool imagesLoaded() const { return imagesLoaded_; }
    bool laidOut() const { return laidOut_; }
    const std::vector<std::unique_ptr<LinkElement>>& links() const { return links_; }
    const std::vector<std::unique_ptr<TextRun>>& textRuns() const { return textRuns_; }
    // Every table of the last walk, each before the tables nested in it.
    const std::vector<TableRecord>& tables() const { return tables_; }
    // The page's forms in document order, made on its first walk and kept.
    const std::vector<std::unique_ptr<FormGroup>>& forms() const { return forms_; }
    // Hides the windows of every form control, form by form, buttons first.
    void HideFormControls();
    const DibPicture& imageSlot(int index) const { return imageSlots_[static_cast<size_t>(index)]; }
    // Slots used by the last walk, in tag order.
    int imageCount() const { return layout_.imageIndex; }

  private:
    // Layout fields; the initial values are those a walk starts from.
    struct Layout {
        int pageWidth = 0;
        int pageHeight = 0;
        bool lineStart = true;
        bool fontColourSet = false;
        bool insideLink = false;
        bool divisionCentre = false;
        bool divisionRight = false;
        bool centre = false;
        int pendingShift = 0;
        PictureAlignment imageAlignment = PictureAlignment::kLeft;
        int imageIndex = 0;
        int advance = 0;
        int lineHeight = 0;
        bool noBreak = false;
        int paragraphGap = 20;
        LineAlignment pendingAlignment = LineAlignment::kLeft;
        int topMargin = 0;
        int leftMargin = 0;
        Colour textColour = 0;
        Colour bodyTextColour = 0;
        Colour backgroundColour = MakeColour(255, 255, 255);
        bool headingBold = false;
        bool fontBold = false;
        int penX = 0;
        int penY = 0;
        int fontSize = 16;
        int baseFontSize = 16;
        // Forms: the group inputs join (null outside any form), whether it is
        // the group of inputs outside any form, and on later walks the
        // positions in the lists of controls made on the first.
        FormGroup* currentForm = nullptr;
        bool looseInputs = false;
        size_t formCursor = 0;
        size_t buttonCursor = 0;
        size_t fieldCursor = 0;
    };

    // Tag routines. Those that take the walk forward return the last token
    // they consumed.
    StringNode* TitleTag(StringNode* node);
    void AnchorTag(std::string_view token);
    void AnchorEndTag(Canvas& canvas);
    void LayoutText(std::string_view text, Canvas& canvas, LinkElement* link);
    void BodyTag(std::string_view token, Canvas& canvas);
    void HeadingTag(std::string_view token, Canvas& canvas);
    void HeadingEndTag();
    void FontTag(std::string_view token);
    void FontEndTag();
    void BaseFontTag(std::string_view token);
    void BreakTag();
    void ParagraphTag(std::string_view token);
    void ParagraphEndTag();
    void WordBreakTag();
    void DivisionTag(std::string_view token);
    Size ImageTag(std::string_view token, Canvas& canvas, LinkElement* link);
    // The picture an "<img" names, loaded into its slot on the first walk;
    // null beyond the last slot. Does not move on to the next slot.
    DibPicture* PictureSlot(std::string_view token);
    // "align", "hspace" and "vspace" of a picture that took `used` pixels.
    void AlignPicture(std::string_view token, Size used);
    // "width" or "height" of a picture: pixels, or a share of `whole` with "%".
    static int RequestedSize(std::string_view token, std::string_view name, int whole);
    void TileBackground(std::string_view name, Canvas& canvas);
    void RuleTag(std::string_view token, Canvas& canvas);

    // Tables: the walk hands "<table" to TableTag, which lays the table out
    // whole, draws it and returns its "</table" token.
    struct CellWalk;
    StringNode* TableTag(StringNode* node, Canvas& canvas);
    StringNode* LayoutTable(Canvas& canvas, StringNode* first, TableLayout& table, int x, int y,
                            int depth);
    void CaptionTag(StringNode* node, TableLayout& table);
    // Measures and places the caption of an outermost table.
    void PlaceCaption(Canvas& canvas, TableLayout& table);
    StringNode* LayoutCell(Canvas& canvas, StringNode* open, CellWalk& walk);
    void CellContent(Tag tag, std::string_view token, StringNode*& node, Canvas& canvas,
                     CellWalk& walk, int& ignored);
    void CellText(std::string_view text, Canvas& canvas, CellWalk& walk);
    void CellImage(std::string_view token, CellWalk& walk);
    void CloseCellLink(CellWalk& walk);
    // Draws a table; `bordered` is the outermost table's border flag, which
    // frames every cell inside it.
    void DrawTable(TableLayout& table, Canvas& canvas, bool bordered, bool outermost);
    void DrawCellText(const CellItem& item, Canvas& canvas);
    // The token after `node`, counted on the progress bar; null at the end.
    StringNode* TakeToken(StringNode* node);

    // Forms. Inside a table cell the pen's lines start at the cell's left
    // edge (`cellLeft`), on the page at the left margin. The pen stays in page
    // coordinates; controls are placed at the pen less the scroll position.
    // InputTag gives the control it placed, or null.
    void FormStart(std::optional<int> cellLeft);
    void FormEnd(std::optional<int> cellLeft);
    FormControl* InputTag(std::string_view token);
    // The group of the next form: made on the first walk, found on later ones
    // (null when the page has no more).
    FormGroup* NextForm();
    FormControl* PlaceTextField(std::string_view token, bool password, Point at);
    FormControl* PlaceButton(std::string_view token, bool submit, Point at);

    void Dispatch(Tag tag, StringNode*& node, Canvas& canvas);
    // Font, size, no-break, centre and division tags, alike on the page and
    // in table cells; false for any other tag.
    bool StyleTag(Tag tag, std::string_view token);
    // A new link for "<a"; inside link is set when it has a target.
    std::unique_ptr<LinkElement> StartLink(std::string_view token);
    // Cuts the layout's positions and sizes back to kLayoutLimit after a tag.
    void KeepLayoutInRange();
    void RaisePageSize();
    Rect Client() const;

    PageHost* host_ = nullptr;
    Layout layout_;
    bool laidOut_ = false;
    bool imagesLoaded_ = false;
    std::string title_;
    std::string address_ = "dummy addres";
    std::vector<std::unique_ptr<TextRun>> textRuns_;
    std::vector<std::unique_ptr<LinkElement>> links_;
    std::vector<TableRecord> tables_;
    std::vector<std::unique_ptr<FormGroup>> forms_;
    std::unique_ptr<LinkElement> currentLink_;
    std::array<DibPicture, kImageSlots> imageSlots_;
};
