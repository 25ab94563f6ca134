#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageTestSupport.h"

namespace {

// With the test canvas a 16-pixel font is a 13-pixel cell: ASCII characters
// are 7 wide, double-byte ones 13. Edge styles: 1 a table's raised edge, 2 a
// cell's sunken edge.

// The tables of the walk, a line a table and a line a cell.
std::string Tables(const TokenList& page) {
    std::string out;
    for (const TableRecord& t : page.tables()) {
        out += "table " + TestCanvas::Str(t.box) + (t.border ? " border " : " ") +
               std::to_string(t.rows) + "x" + std::to_string(t.columns) + "\n";
        for (const Rect& cell : t.cells) {
            out += "  cell " + TestCanvas::Str(cell) + "\n";
        }
    }
    return out;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\n";
    }
    return out;
}

std::string Row(const std::string& cells) {
    return "<tr>" + cells + "</tr>";
}

std::string Cell(int width, const std::string& content) {
    return "<td width=\"" + std::to_string(width) + "\">" + content + "</td>";
}

TEST(PageTables, ColumnsTakeTheirWidestCellAndRowsTheirTallest) {
    // 3 + (2 + 100) + (2 + 50) = 157 wide; the second row's first cell is
    // widened to 100 and pushes its neighbour 20 to the right, text and all.
    PageFixture f("<table border=\"1\">" + Row(Cell(100, "ab") + Cell(50, "cd")) +
                  Row(Cell(80, "ef") + Cell(50, "g<br>h<br>i")) + "</table>z");
    f.Render();
    EXPECT_EQ(Tables(f.page),
              "table 0,0-157,59 border 2x2\n"
              "  cell 3,3-103,16\n"
              "  cell 105,3-155,16\n"
              "  cell 3,18-103,57\n"  // as tall as its three-line neighbour
              "  cell 105,18-155,57\n");
    EXPECT_EQ(Lines(f.canvas.calls),
              "edge 0,0-157,59 1\n"
              "edge 3,3-103,16 2\n"
              "edge 105,3-155,16 2\n"
              "edge 3,18-103,57 2\n"
              "edge 105,18-155,57 2\n"
              "text 3,3 ab #000000 h13\n"
              "text 105,3 cd #000000 h13\n"
              "text 3,18 ef #000000 h13\n"
              "text 105,18 g #000000 h13\n"
              "text 105,31 h #000000 h13\n"
              "text 105,44 i #000000 h13\n"
              "text 0,59 z #000000 h13\n");  // the page goes on below the table
}

TEST(PageTables, AWidenedCellCarriesItsPicturesAndNestedTablesAlong) {
    // A first column of 80 widened to 100 ends exactly where one of 100 stands.
    auto page = [](int width) {
        return "<table border=\"1\">" + Row(Cell(100, "a") + Cell(60, "b")) +
               Row(Cell(width, "c") +
                   Cell(60,
                        "d<img src=\"q.bmp\"><a href=\"x.htm\"><img src=\"q.bmp\"></a>"
                        "<table border=\"1\"><caption>t</caption>" +
                            Row(Cell(30, "e")) + "</table>")) +
               "</table>";
    };
    PageFixture widened(page(80));
    widened.host.AddPicture("q.bmp", SolidBmp(10, 10));
    widened.Render();
    PageFixture straight(page(100));
    straight.host.AddPicture("q.bmp", SolidBmp(10, 10));
    straight.Render();
    EXPECT_EQ(Tables(widened.page), Tables(straight.page));
    EXPECT_EQ(Lines(widened.canvas.calls), Lines(straight.canvas.calls));
    EXPECT_EQ(widened.Link(0).HitRect(), straight.Link(0).HitRect());
    EXPECT_EQ(widened.canvas.CallsOf("copy").size(), 2u);
    EXPECT_EQ(widened.page.tables().size(), 2u);
}

TEST(PageTables, CaptionsStandAboveOrBelowAtTheLeftCentreOrRightWhenTheirTagSaysBoth) {
    // A table 105 x 18; the caption, 21 x 13, is measured in its width and
    // placed from 3 pixels inside its left edge.
    struct Case {
        std::string words;
        std::string caption;  // empty: no caption drawn
        std::string box;
    };
    const std::vector<Case> cases = {
        {"align=\"bottom center\"", "wrapped 45,21-66,34 abc", "0,0-105,18"},
        {"align=\"left\" valign=\"bottom\"", "wrapped 3,21-24,34 abc", "0,0-105,18"},
        {"align=\"center\" valign=\"top\" class=\"right\"", "wrapped 87,0-108,13 abc",
         "0,16-105,34"},  // the last word wins
        {"align=\"top\"", "", "0,0-105,18"},
        {"", "", "0,0-105,18"},
    };
    for (const Case& c : cases) {
        PageFixture f("<table border=\"1\"><caption " + c.words + ">abc</caption>" +
                      Row(Cell(100, "x")) + "</table>z");
        f.Render();
        EXPECT_EQ(f.canvas.CallsOf("wrapped"),
                  c.caption.empty() ? std::vector<std::string>{}
                                    : std::vector<std::string>{c.caption + " #000000 h13"})
            << c.words;
        EXPECT_EQ(f.canvas.CallsOf("edge").front(), "edge " + c.box + " 1") << c.words;
        const int below = c.caption.empty() ? 18 : 34;  // the page goes on below both
        EXPECT_EQ(f.Run(f.page.textRuns().size() - 1).y, below) << c.words;
    }
    // The caption is the token after its tag, whatever that is; a nested
    // table's caption is never placed.
    PageFixture f("<table><caption align=\"top left\"></caption>" +
                  Row(Cell(100, "<table><caption align=\"top left\">n</caption>" +
                                    Row(Cell(20, "y")) + "</table>")) +
                  "</table>");
    f.Render();
    EXPECT_EQ(f.canvas.CallsOf("wrapped"),
              std::vector<std::string>{"wrapped 3,0-31,39 </caption> #000000 h13"});
}

TEST(PageTables, OnlyABorderedTableDrawsEdgesAndOnlyAroundCellsWithContent) {
    const std::string rows = Row(Cell(20, "a") + Cell(20, "")) + "</table>";
    for (const char* open : {"<table>", "<table border=\"0\">", "<table border>"}) {
        PageFixture f(std::string(open) + rows);
        f.Render();
        EXPECT_TRUE(f.canvas.CallsOf("edge").empty()) << open;
        EXPECT_FALSE(f.page.tables().front().border) << open;
    }
    PageFixture f("<table border=\"1\">" + rows);
    f.Render();
    EXPECT_EQ(f.canvas.CallsOf("edge"),
              (std::vector<std::string>{"edge 0,0-47,18 1", "edge 3,3-23,16 2"}));

    // Nested tables draw no edge of their own; the outermost table's flag
    // frames their cells.
    const std::string nested =
        Row(Cell(40, "<table border=\"1\">" + Row(Cell(20, "a")) + "</table><table>" +
                         Row(Cell(20, "b")) + "</table>")) +
        "</table>";
    PageFixture bordered("<table border=\"1\">" + nested);
    bordered.Render();
    EXPECT_EQ(bordered.canvas.CallsOf("edge"),
              (std::vector<std::string>{"edge 0,0-30,41 1", "edge 3,3-28,39 2", "edge 6,6-26,19 2",
                                        "edge 6,24-26,37 2"}));
    PageFixture plain("<table>" + nested);
    plain.Render();
    EXPECT_TRUE(plain.canvas.CallsOf("edge").empty());
}

TEST(PageTables, HeaderCellsAreBoldAndTextWrapsAtTheWidthLessTwenty) {
    PageFixture f("<table><tr><th width=\"50\">ab</th>" +
                  Cell(120, "<font size=\"2\">" + std::string(21, 'x') + "</font>") +
                  Cell(120, "<nobr>" + std::string(20, 'y') + "</nobr>") + Cell(0, "zz") +
                  "</tr></table>");
    f.Render();
    EXPECT_EQ(Lines(f.canvas.CallsOf("text")),
              "text 3,3 ab #000000 h13 bold\n"
              // 5 pixels a character: the pen is 100 pixels into the cell after 20
              "text 55,3 xxxxxxxxxxxxxxxxxxxx #000000 h9 bold\n"
              "text 55,12 x #000000 h9 bold\n"
              "text 177,3 yyyyyyyyyyyyyyyyyyyy #000000 h13\n"
              // without a width every character wraps
              "text 299,3 z #000000 h13\n"
              "text 299,16 z #000000 h13\n");
    // A cell is as wide as it asks, whatever its content.
    const std::vector<Rect>& cells = f.page.tables().front().cells;
    EXPECT_EQ(cells.at(2), (Rect{177, 3, 297, 29}));
    EXPECT_EQ(cells.at(3), (Rect{299, 3, 299, 29}));
}

// Where each text of the walk is drawn, as "x text".
std::vector<std::string> TextXs(const TestCanvas& canvas) {
    std::vector<std::string> xs;
    for (const std::string& call : canvas.CallsOf("text")) {
        // "text X,Y TEXT ..."
        const size_t x = call.find(' ') + 1;
        const size_t text = call.find(' ', x) + 1;
        xs.push_back(call.substr(x, call.find(',', x) - x) + " " +
                     call.substr(text, call.find(' ', text) - text));
    }
    return xs;
}

TEST(PageTables, AlignedCellTextStandsWhereItsWidthAndTheCellsRequestedWidthPutIt) {
    // "ab" is 14 pixels. Cells start at 3, 126, 248 and 284.
    PageFixture f("<table><tr>" + Cell(121, "<p align=\"center\">ab") +
                  Cell(120, "<p align=\"right\">ab") + Cell(34, "<p align=\"center\">ab") +
                  Cell(35, "<p align=\"right\">ab") + "</tr></table>");
    f.Render();
    EXPECT_EQ(TextXs(f.canvas), (std::vector<std::string>{
                                    "56 ab",   // 3 + (121 - 14) / 2
                                    "212 ab",  // 126 + 120 - 14 - 20
                                    "248 ab",  // 14 is not less than 34 - 20: at the cell's left
                                    "285 ab",  // 14 is less than 35 - 20: 284 + 35 - 14 - 20
                                }));

    // A heading's alignment places its text the same way.
    PageFixture heading("<table><tr>" + Cell(120, "<h4 align=\"right\">ab</h4>") +
                        Cell(120, "<h4 align=\"left\">cd</h4>") + "</tr></table>");
    heading.Render();
    EXPECT_EQ(TextXs(heading.canvas), (std::vector<std::string>{"89 ab", "125 cd"}));

    // The alignment is for the next text only.
    PageFixture once("<table><tr>" + Cell(120, "<p align=\"right\">ab<br>cd") + "</tr></table>");
    once.Render();
    EXPECT_EQ(TextXs(once.canvas), (std::vector<std::string>{"89 ab", "3 cd"}));
}

TEST(PageTables, AHeadingInACellEndsItsBoldAndALinkedPictureTakesItsFrame) {
    PageFixture f("<table>" + Row(Cell(100, "<h4>a</h4>b")) + "</table>");
    f.Render();
    const std::vector<std::string> texts = f.canvas.CallsOf("text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find(" bold"), std::string::npos) << texts[0];
    EXPECT_EQ(texts[1].find(" bold"), std::string::npos) << texts[1];

    PageFixture framed("<table>" + Row(Cell(50, "<a href=\"p.htm\"><img src=\"q.bmp\"></a>")) +
                       "</table>");
    framed.host.AddPicture("q.bmp", SolidBmp(10, 10));
    framed.Render();
    // The picture's 10 x 10 with a frame of two on each side, and a gap of two.
    EXPECT_EQ(framed.page.tables().front().cells.at(0), (Rect{3, 3, 53, 19}));
}

TEST(PageTables, NothingIsDrawnOverAPictureInACellOrABottomCaption) {
    // A cell's edge is its outermost pixel and a picture stands a pixel in
    // from the pen: the cell reaches two past the picture's used size, so
    // that the picture (or a link's frame of two) ends on the row above the
    // edge's and its column of pixels clear of the edge's top.
    struct Case {
        std::string content;
        std::string drawn;  // the picture, or the link's frame
        std::string edge;   // the cell's
    };
    const std::vector<Case> cases = {
        {"<img src=\"q.bmp\">", "copy q.bmp 4,4-14,14", "edge 3,3-53,15 2"},
        {"a<br><img src=\"q.bmp\">", "copy q.bmp 4,17-14,27", "edge 3,3-53,28 2"},
        {"<a href=\"p.htm\"><img src=\"q.bmp\"></a>", "fill 4,4-18,18 #ff0000", "edge 3,3-53,19 2"},
    };
    for (const Case& c : cases) {
        PageFixture f("<table border=\"1\">" + Row(Cell(50, c.content)) + Row(Cell(50, "b")) +
                      "</table>");
        f.host.AddPicture("q.bmp", SolidBmp(10, 10));
        f.Render();
        const std::vector<std::string> edges = f.canvas.CallsOf("edge");
        ASSERT_EQ(edges.size(), 3u) << c.content;
        EXPECT_EQ(edges[1], c.edge) << c.content;
        const std::string kind = c.drawn.substr(0, c.drawn.find(' '));
        EXPECT_EQ(f.canvas.CallsOf(kind).at(0), c.drawn) << c.content;
        // The next row starts after the spacing of two.
        EXPECT_EQ(f.Run(f.page.textRuns().size() - 1).y,
                  f.page.tables().front().cells.at(0).bottom + 2)
            << c.content;
    }

    // A caption below the table stands 3 pixels off it; the line after the
    // table starts where the caption ends, whatever its height.
    struct Caption {
        std::string text;
        std::string drawn;
        int next;  // the y of the line after the table
    };
    for (const Caption& c :
         {Caption{"abc", "wrapped 3,21-24,34 abc", 34},
          Caption{std::string(20, 'c'), "wrapped 3,21-108,47 " + std::string(20, 'c'), 47}}) {
        PageFixture f("<table><caption align=\"bottom left\">" + c.text + "</caption>" +
                      Row(Cell(100, "x")) + "</table>z");
        f.Render();
        EXPECT_EQ(f.canvas.CallsOf("wrapped"), std::vector<std::string>{c.drawn + " #000000 h13"});
        EXPECT_EQ(f.Run(f.page.textRuns().size() - 1).y, c.next) << c.text;
    }
}

TEST(PageTables, ACaptionBetweenTheCellsOfARowLeavesTheRowWhole) {
    PageFixture f("<table border=\"1\"><tr>" + Cell(20, "a") + "<caption>c</caption>" +
                  Cell(20, "b") + "</tr></table>");
    f.Render();
    ASSERT_EQ(f.page.tables().size(), 1u);
    EXPECT_EQ(f.page.tables()[0].rows, 1);
    EXPECT_EQ(f.page.tables()[0].columns, 2);
}

TEST(PageTables, ANestedTableGivesItsCellItsWidthAndTextGoesOnBelowIt) {
    PageFixture f("<table border=\"1\">" +
                  Row(Cell(40, "a<table border=\"1\">" + Row(Cell(20, "b")) + "</table>c")) +
                  "</table>");
    f.Render();
    EXPECT_EQ(Tables(f.page),
              "table 0,0-30,36 border 1x1\n"
              "  cell 3,3-28,34\n"
              "table 10,3-35,21 border 1x1\n"
              "  cell 13,6-33,19\n");
    EXPECT_EQ(f.canvas.CallsOf("text"),
              (std::vector<std::string>{"text 3,3 a #000000 h13", "text 13,6 b #000000 h13",
                                        "text 3,21 c #000000 h13"}));
}

TEST(PageTables, TablesDeeperThanEightLevelsLeaveTheirContentInTheEnclosingCell) {
    std::string html;
    for (int level = 0; level < 10; ++level) {
        html += "<table border=\"1\"><caption>c</caption><tr><td width=\"20\">";
    }
    html += "x";
    for (int level = 0; level < 10; ++level) {
        html += "</td></tr></table>";
    }
    PageFixture f(html + "z");
    f.Render();
    const auto& tables = f.page.tables();
    ASSERT_EQ(tables.size(), 8u);
    for (const std::string& text : f.canvas.CallsOf("text")) {
        EXPECT_EQ(text.find('<'), std::string::npos) << text;  // no tag drawn as text
    }
    // The ninth and tenth captions and the "x" are text of the eighth table's cell.
    const Rect inner = tables.back().cells.at(0);
    const std::vector<std::string> texts = f.canvas.CallsOf("text");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "text " + std::to_string(inner.left) + "," + std::to_string(inner.top) +
                            " c #000000 h13");
    EXPECT_EQ(texts.back(),
              "text 0," + std::to_string(tables.front().box.bottom) + " z #000000 h13");
}

TEST(PageTables, DamagedTablesStayInsideTheirGridAndThePage) {
    // No "</table": the rest of the page belongs to the table.
    PageFixture open("a<table>" + Row(Cell(30, "b")) + "c<br>d");
    open.Render();
    EXPECT_EQ(open.canvas.CallsOf("text").size(), 2u);

    // A page that ends at "<table" or "<caption".
    PageFixture end("a<table border=\"1\">");
    end.Render();
    EXPECT_EQ(Tables(end.page), "table 7,13-10,16 border 0x0\n");
    PageFixture caption("<table><caption>");
    caption.Render();
    EXPECT_EQ(caption.page.tables().size(), 1u);

    // 17 x 17 cells: the last row and column are left out, also a table in them.
    std::string grid = "<table>";
    for (int r = 0; r < 17; ++r) {
        std::string row;
        for (int c = 0; c < 17; ++c) {
            row += Cell(5, r == 16 || c == 16 ? "q<table><tr><td>q</td></tr></table>" : "k");
        }
        grid += Row(row);
    }
    PageFixture big(grid + "</table>z");
    big.Render();
    const TableRecord& t = big.page.tables().at(0);
    EXPECT_EQ(t.rows, 16);
    EXPECT_EQ(t.columns, 16);
    EXPECT_EQ(t.cells.size(), 256u);
    EXPECT_EQ(big.page.tables().size(), 1u);
    const std::vector<std::string> texts = big.canvas.CallsOf("text");
    EXPECT_EQ(texts.size(), 257u);
    EXPECT_EQ(texts.back(), "text 0," + std::to_string(t.box.bottom) + " z #000000 h13");

    // Cells outside any row, and cells and rows whose ends are missing.
    PageFixture loose("<table><td width=\"10\">a<td width=\"10\">b<tr><td width=\"40\">c</table>z");
    loose.Render();
    EXPECT_EQ(Tables(loose.page),
              "table 0,0-57,33 2x2\n"
              "  cell 3,3-43,16\n"
              "  cell 45,3-55,16\n"
              "  cell 3,18-43,31\n");
    EXPECT_EQ(loose.canvas.CallsOf("text").back(), "text 0,33 z #000000 h13");
}

TEST(PageTables, NumbersBeyondAnyPageAreCut) {
    const std::string huge = "99999999999";
    std::string html = "<table><tr>";
    for (int c = 0; c < 16; ++c) {
        html += "<td width=\"" + huge + "\" height=\"-" + huge + "\"><img src=\"p.bmp\" width=\"" +
                huge + "%\" height=\"" + huge + "%\" hspace=\"" + huge + "\" vspace=\"" + huge +
                "\" align=\"bottom\">a<br>b<table><caption>c</caption><tr><td width=\"" + huge +
                "\">d</td></tr></table></td>";
    }
    PageFixture f("<body topmargin=\"" + huge + "\">" + html + "</tr></table>z");
    f.host.AddPicture("p.bmp", SolidBmp(4, 4));
    f.Render();
    f.Render(false);
    EXPECT_LE(f.host.scroll.width, TokenList::kMaxPageWidth);
    EXPECT_LE(f.host.scroll.height, TokenList::kMaxPageHeight);
    EXPECT_EQ(f.page.tables().size(), 17u);
    EXPECT_LE(f.page.tables().front().box.right, TokenList::kLayoutLimit);
}

TEST(PageTables, LinksInCellsAreDrawnAndHitOverTheirTextAndPlainTextIsDrawnOnce) {
    PageFixture f("<table>" +
                  Row(Cell(100, "</a>cd<a href=\"Next.htm\">ab</a>ef") +
                      Cell(60, "<a href=\"p.htm\"><img src=\"q.bmp\"></a><a name=\"n\">gh")) +
                  "</table>");
    f.host.AddPicture("q.bmp", SolidBmp(10, 10));
    f.Render();
    EXPECT_EQ(f.canvas.CallsOf("text"),
              (std::vector<std::string>{"text 3,3 cd #000000 h13", "text 31,3 ef #000000 h13",
                                        "text 122,3 gh #000000 h13"}));
    EXPECT_EQ(f.canvas.CallsOf("wrapped"),
              std::vector<std::string>{"wrapped 17,3-31,16 ab #ff0000 h13 underline"});
    ASSERT_EQ(f.page.links().size(), 3u);  // the named anchor is closed with its cell
    EXPECT_EQ(f.page.HitTest({17, 3})->target, "next.htm");
    EXPECT_EQ(f.page.HitTest({31, 3}), nullptr);
    // The picture link: its frame is part of it.
    EXPECT_EQ(f.Link(1).HitRect(), (Rect{106, 4, 120, 18}));
    EXPECT_EQ(f.canvas.CallsOf("fill"), std::vector<std::string>{"fill 106,4-120,18 #ff0000"});
    EXPECT_EQ(f.canvas.CallsOf("copy"), std::vector<std::string>{"copy q.bmp 108,6-118,16"});
    EXPECT_EQ(f.Link(2).kind, LinkElement::kAnchor);
}

TEST(PageTables, ATableTakesOneProgressStepForEachOfItsTokensAndStandsAtThePen) {
    // "<center" centres pictures, in cells too (in the view), never tables.
    PageFixture f("<center><table border=\"1\">" +
                  Row(Cell(100, "<img src=\"q.bmp\">") +
                      Cell(50, std::string("<div align=\"right\"><img src=\"q.bmp\">"))) +
                  "</table></center>");
    f.host.AddPicture("q.bmp", SolidBmp(10, 10));
    f.Render();
    const size_t tokens = static_cast<size_t>(f.page.count());
    ASSERT_EQ(f.host.progress.size(), tokens + 2);
    EXPECT_EQ(f.host.progress.back(), "pos " + std::to_string(tokens));
    EXPECT_EQ(f.page.tables().front().box, (Rect{0, 0, 157, 17}));
    EXPECT_EQ(f.canvas.CallsOf("copy"),
              (std::vector<std::string>{"copy q.bmp 316,4-326,14", "copy q.bmp 611,4-621,14"}));
}

}  // namespace
