#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageTestSupport.h"

namespace {

// With the test canvas a 16-pixel font is a 13-pixel cell: ASCII characters
// are 7 wide, double-byte ones 13.

std::vector<std::string> Texts(const TestCanvas& canvas) {
    return canvas.CallsOf("text");
}

TEST(PageText, BreaksAndParagraphsMoveThePenByTheirGaps) {
    PageFixture f("<body>ab<br>cd<p>ef</p><p>gh");
    f.Render();
    EXPECT_EQ(Texts(f.canvas), (std::vector<std::string>{
                                   "text 0,0 ab #000000 h13", "text 0,13 cd #000000 h13",
                                   "text 0,39 ef #000000 h13",  // after text: twice the line height
                                   "text 0,65 gh #000000 h13"}));
    PageFixture g("ab<br><p>cd");
    g.Render();
    EXPECT_EQ(g.Run(1).y, 13 + 20 + 13);  // after a break: 20 plus the line height
}

TEST(PageText, FontSizesComeFromTheirTags) {
    PageFixture f(
        "<font size=\"6\">a</font>b<basefont size=\"6\">c<big>d</big><small>e</small>"
        "<h1>f</h1>g<font size=\"+2\">h");
    f.Render();
    const std::vector<std::string> texts = Texts(f.canvas);
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_NE(texts[0].find(" h29 bold"), std::string::npos) << texts[0];  // font 6: 32
    EXPECT_NE(texts[1].find(" h13"), std::string::npos) << texts[1];       // back to the base
    EXPECT_EQ(texts[1].find("bold"), std::string::npos) << texts[1];
    EXPECT_NE(texts[2].find(" h25"), std::string::npos) << texts[2];       // basefont 6: 28
    EXPECT_NE(texts[3].find(" h29"), std::string::npos) << texts[3];       // big: base + 4
    EXPECT_NE(texts[4].find(" h21"), std::string::npos) << texts[4];       // small: base - 4
    EXPECT_NE(texts[5].find(" h25 bold"), std::string::npos) << texts[5];  // h1: 28
    EXPECT_NE(texts[6].find(" h25"), std::string::npos) << texts[6];
    EXPECT_NE(texts[7].find(" h25 bold"), std::string::npos) << texts[7];  // "+2": size unchanged
}

TEST(PageText, ColoursFromBodyAndFont) {
    PageFixture f("<body bgcolor=\"#102030\" text=\"#00ff00\"><font color=\"#ff0000\">a</font>b");
    f.Render();
    EXPECT_EQ(f.canvas.calls.front(), "fill 0,0-1400,2600 #302010");
    const std::vector<std::string> texts = Texts(f.canvas);
    EXPECT_NE(texts[0].find("#0000ff"), std::string::npos);
    EXPECT_NE(texts[1].find("#00ff00"), std::string::npos);
}

TEST(PageText, OnlyDivisionsAndPendingAlignmentsPlaceARunThatStartsALine) {
    PageFixture f("<div align=\"center\">abc</div>def");
    f.Render();
    EXPECT_EQ(f.Run(0).x, (640 - 21) / 2);
    EXPECT_EQ(f.Run(1).x, (640 - 21) / 2 + 21);  // the line goes on

    PageFixture right("<div align=\"right\">abc");
    right.Render();
    EXPECT_EQ(right.Run(0).x, 640 - 21 - 20);

    // Too wide for the client area: the left margin.
    PageFixture wide("<body leftmargin=\"8\"><div align=\"center\">" + std::string(50, 'x'));
    wide.host.client = {0, 0, 300, 200};
    wide.Render();
    EXPECT_EQ(wide.Run(0).x, 8);

    // A run fits only while it is narrower than the client less the margin
    // and 20 pixels: 40 characters of 7 pixels in 300 - 20 do not.
    for (const char* align : {"center", "right"}) {
        for (int chars : {39, 40}) {
            PageFixture edge("<div align=\"" + std::string(align) + "\">" +
                             std::string(static_cast<size_t>(chars), 'x'));
            edge.host.client = {0, 0, 300, 200};
            edge.Render();
            const int fitted = std::string(align) == "center" ? (300 - 273) / 2 : 300 - 273 - 20;
            EXPECT_EQ(edge.Run(0).x, chars == 39 ? fitted : 0) << align << " " << chars;
        }
    }

    // Once aligned, the line start is gone until a break: the second centred
    // paragraph follows on where the pen stands.
    PageFixture twice("<p align=\"center\">xx<p align=\"center\">yy");
    twice.Render();
    EXPECT_EQ(twice.Run(0).x, (640 - 14) / 2);
    EXPECT_EQ(twice.Run(1).x, (640 - 14) / 2 + 14);
    EXPECT_EQ(twice.Run(0).y, 20);
    EXPECT_EQ(twice.Run(1).y, 20 + 13 + 13);

    // "<center" centres pictures, never text.
    PageFixture centre("<center>ab<img src=\"p.bmp\">");
    centre.host.AddPicture("p.bmp", SolidBmp(100, 50));
    centre.Render();
    EXPECT_EQ(centre.Run(0).x, 0);
    EXPECT_EQ(centre.canvas.CallsOf("copy"), std::vector<std::string>{"copy p.bmp 270,0-370,50"});
}

TEST(PageText, AHeadingAfterTextStartsAtTheLeftMarginOfThatLine) {
    PageFixture f("ab<h2>cd</h2>ef");
    f.Render();
    EXPECT_EQ(Texts(f.canvas),
              (std::vector<std::string>{"text 0,0 ab #000000 h13", "text 0,0 cd #000000 h21 bold",
                                        "text 0,21 ef #000000 h13"}));
}

TEST(PageText, TextNeverWrapsAndThePageIsCutAt1400By2600) {
    std::string line;
    for (int i = 0; i < 120; ++i) {
        line += "\x82\xa0";  // あ, 13 pixels
    }
    PageFixture f("<body>" + line);
    f.Render();
    EXPECT_EQ(f.Run(0).width, 120 * 13);
    EXPECT_EQ(f.host.scroll.width, 1400);
    EXPECT_EQ(f.host.scroll.height, 50);

    std::string tall;
    for (int i = 0; i < 300; ++i) {
        tall += "x<br>";
    }
    PageFixture g(tall);
    g.Render();
    EXPECT_EQ(g.host.scroll.height, 2600);

    PageFixture empty("");
    empty.Render();
    EXPECT_EQ(empty.host.scroll.width, 0);
    EXPECT_EQ(empty.host.scroll.height, 50);
    PageFixture margins("<body leftmargin=\"10\" topmargin=\"5\">");
    margins.Render();
    EXPECT_EQ(margins.host.scroll.width, 10);
    EXPECT_EQ(margins.host.scroll.height, 55);
}

// Found by fuzzing: margins, spaces and sizes come from the page as any int,
// and the pen's moves added to them overflowed.
TEST(PageText, NumbersBeyondAnyPageAreCutNotWrapped) {
    const std::string huge = "99999999999";
    const std::vector<std::string> pages = {
        "<body topmargin=\"" + huge + "\">a<br>b<p>c<wbr>d<h1>e</h1>",
        "<body topmargin=\"-" + huge + "\">a<br>b<p>c",
        "<body leftmargin=\"" + huge + "\">ab<h1>c</h1><hr>d<div align=\"center\">e",
        "<body leftmargin=\"-" + huge + "\"><div align=\"right\">ab<hr>",
        "<img width=\"" + huge + "\" height=\"" + huge + "\" align=\"bottom\" hspace=\"" + huge +
            "\" vspace=\"" + huge + "\">a<br>b",
        "<a href=\"x.htm\"><img width=\"" + huge + "\" height=\"" + huge + "\"></a>a<br>",
        "<img height=\"-" + huge + "\" width=\"-" + huge + "\" align=\"middle\" vspace=\"-" + huge +
            "\" hspace=\"-" + huge + "\">a<br>b",
        "<img width=\"" + huge + "%\" height=\"-" + huge + "%\" align=\"top\">a<br>b",
        "<hr width=\"-" + huge + "\" size=\"" + huge + "\"><hr width=\"" + huge + "\">",
    };
    for (const std::string& html : pages) {
        PageFixture f(html);
        f.Render();
        f.Render(false);
        EXPECT_LE(f.host.scroll.width, TokenList::kMaxPageWidth) << html;
        EXPECT_LE(f.host.scroll.height, TokenList::kMaxPageHeight) << html;
    }

    PageFixture below("<body topmargin=\"" + huge + "\">a<br>b");
    below.Render();
    EXPECT_GT(below.Run(0).y, 100000000);
    EXPECT_GE(below.Run(1).y, below.Run(0).y);
    PageFixture above("<body topmargin=\"-" + huge + "\">a<br>b");
    above.Render();
    EXPECT_LT(above.Run(0).y, -100000000);
    EXPECT_GE(above.Run(1).y, above.Run(0).y);
}

TEST(PageText, ARunWhoseFontCannotBeMadeIsDropped) {
    PageFixture f("ab<br>cd");
    f.canvas.failFonts = true;
    f.Render();
    EXPECT_TRUE(f.page.textRuns().empty());
    EXPECT_TRUE(Texts(f.canvas).empty());
    EXPECT_EQ(f.host.scroll.height, 50);
}

TEST(PageText, TagsOutsideTheTableAreDrawnAsText) {
    PageFixture f("<ul><tr>x");
    f.Render();
    EXPECT_EQ(Texts(f.canvas),
              (std::vector<std::string>{"text 0,0 <ul> #000000 h13", "text 28,0 <tr> #000000 h13",
                                        "text 56,0 x #000000 h13"}));
}

TEST(PageWalk, TitleTakesTheNextTokenWhateverItIs) {
    PageFixture f("<title>Page One</title>");
    f.Render();
    EXPECT_EQ(f.page.title(), "Page One");
    EXPECT_EQ(f.host.titles, std::vector<std::string>{"Page One - Brivane"});

    PageFixture closing("<title></title>");
    closing.Render();
    EXPECT_EQ(closing.page.title(), "</title>");

    PageFixture last("ab<title>");
    last.Render();
    EXPECT_EQ(last.page.title(), "");
    EXPECT_TRUE(last.host.titles.empty());
}

TEST(PageWalk, ProgressCountsEveryToken) {
    PageFixture f("<body>ab<br>");
    f.Render();
    EXPECT_EQ(f.host.progress, (std::vector<std::string>{"range 0 2", "advance 1", "advance 1",
                                                         "advance 1", "pos 3"}));
}

TEST(PageLinks, TextLinksTakeTheBoxOfTheirCharactersAndAreDrawnAtTheirEnd) {
    PageFixture f("<a href=\"Next.htm\">ab</a>");
    f.Render();
    ASSERT_EQ(f.page.links().size(), 1u);
    const LinkElement& link = f.Link(0);
    EXPECT_EQ(link.kind, LinkElement::kText);
    EXPECT_EQ(link.target, "next.htm");
    EXPECT_EQ(link.HitRect(), (Rect{0, 0, 14, 13}));
    EXPECT_TRUE(Texts(f.canvas).empty());  // not drawn during the run
    EXPECT_EQ(f.canvas.CallsOf("wrapped"),
              std::vector<std::string>{"wrapped 0,0-14,13 ab #ff0000 h13 underline"});

    PageFixture visited("<a href=\"Next.htm\">ab</a>");
    visited.host.visited = {"NEXT.HTM"};
    visited.Render();
    EXPECT_TRUE(visited.Link(0).visited);
    EXPECT_EQ(visited.canvas.CallsOf("wrapped"),
              std::vector<std::string>{"wrapped 0,0-14,13 ab #500050 h13 underline"});
}

TEST(PageLinks, ALinkOfTwoRunsShowsTheSecondOverTheBoxOfBoth) {
    PageFixture f("<a href=\"x.htm\">ab<b>cd</a>");
    f.Render();
    const LinkElement& link = f.Link(0);
    EXPECT_EQ(link.text, "cd");
    EXPECT_EQ(link.x, 14);
    EXPECT_EQ(link.bounds, (Rect{0, 0, 28, 13}));
    EXPECT_EQ(link.HitRect(), (Rect{14, 0, 42, 13}));
}

TEST(PageLinks, AnchorsWithoutTargetsAndNamedAnchors) {
    PageFixture none("<a>ab</a>cd");
    none.Render();
    EXPECT_EQ(none.Link(0).kind, LinkElement::kNone);
    EXPECT_EQ(Texts(none.canvas).front(), "text 0,0 ab #000000 h13");  // drawn as plain text
    EXPECT_EQ(none.page.HitTest({1, 1}), nullptr);

    PageFixture named("<a name=\"top\">ab</a>");
    named.Render();
    EXPECT_EQ(named.Link(0).kind, LinkElement::kAnchor);
    EXPECT_EQ(Texts(named.canvas), std::vector<std::string>{"text 0,0 ab #000000 h13"});
    EXPECT_EQ(named.page.HitTest({1, 1}), &named.Link(0));
}

TEST(PageLinks, HitTestTakesLeftAndTopEdgesAndTheEarlierOfTwoLinks) {
    PageFixture f(
        "<a href=\"a.htm\">ab</a><body leftmargin=\"0\" topmargin=\"0\"><a "
        "href=\"b.htm\">abcd</a>");
    f.Render();
    ASSERT_EQ(f.page.links().size(), 2u);
    EXPECT_EQ(f.page.HitTest({0, 0})->target, "a.htm");
    EXPECT_EQ(f.page.HitTest({13, 12})->target, "a.htm");
    EXPECT_EQ(f.page.HitTest({20, 5})->target, "b.htm");
    EXPECT_EQ(f.page.HitTest({28, 5}), nullptr);  // right edge of the second
    EXPECT_EQ(f.page.HitTest({5, 13}), nullptr);  // bottom edge
    EXPECT_EQ(f.page.HitTest({-1, 0}), nullptr);
}

class PagePictures : public ::testing::Test {
  protected:
    PagePictures() {
        f.host.AddPicture("p.bmp", SolidBmp(100, 50));
        f.host.AddPicture("logos.bmp", SolidBmp(10, 10));
        f.host.AddPicture("iconsm.bmp", SolidBmp(10, 10));
        f.host.AddPicture("logo.bmp", SolidBmp(10, 10));
        f.host.AddPicture("room.bmp", SolidBmp(20, 20));
        f.host.AddPicture("roomm.bmp", SolidBmp(30, 30));
        f.host.AddPicture("tile.bmp", SolidBmp(100, 1000));
    }
    PageFixture f;
};

TEST_F(PagePictures, ImageLinksGetAFourPixelFrameStartingAboveThePen) {
    f.Load("<a href=\"x.htm\"><img src=\"p.bmp\"></a>z");
    f.Render();
    const LinkElement& link = f.Link(0);
    EXPECT_EQ(link.kind, LinkElement::kImage);
    EXPECT_EQ(link.HitRect(), (Rect{0, -4, 104, 50}));
    EXPECT_EQ(f.canvas.CallsOf("fill").back(), "fill 0,-4-104,50 #ff0000");
    EXPECT_EQ(f.canvas.CallsOf("stretch"), std::vector<std::string>{"stretch p.bmp 2,-2-102,48"});
    EXPECT_EQ(f.Run(0).x, 104);

    f.Load("<a href=\"x.htm\"><img src=\"p.bmp\" width=\"60\" height=\"30\"></a>");
    f.canvas.calls.clear();
    f.Render();
    EXPECT_EQ(f.Link(0).HitRect(), (Rect{0, -4, 64, 30}));
    EXPECT_EQ(f.canvas.CallsOf("stretch"), std::vector<std::string>{"stretch p.bmp 2,-2-62,28"});
}

TEST_F(PagePictures, SizesArePixelsOrSharesOfTheClientArea) {
    f.host.client = {0, 0, 600, 400};
    f.Load(
        "<img src=\"p.bmp\" width=\"50%\" height=\"10\"><img src=\"p.bmp\" width=\"20\">"
        "<img src=\"p.bmp\" width=\"10\" height=\"25%\">");
    f.Render();
    EXPECT_EQ(
        f.canvas.CallsOf("stretch"),
        (std::vector<std::string>{"stretch p.bmp 0,0-300,10", "stretch p.bmp 400,0-410,100"}));
    // Only a width: drawn at its own size.
    EXPECT_EQ(f.canvas.CallsOf("copy"), std::vector<std::string>{"copy p.bmp 300,0-400,50"});
}

TEST_F(PagePictures, AlignmentMovesThePenAndTheNextRun) {
    f.Load("<img align=\"bottom\" height=\"40\">ab");
    f.Render();
    EXPECT_TRUE(f.canvas.CallsOf("copy").empty());
    EXPECT_EQ(f.Run(0).y, 40 - 13);  // ends level with the picture's bottom

    f.Load("<img src=\"p.bmp\" align=\"middle\">ab<br>cd");
    f.Render();
    EXPECT_EQ(f.Run(0).x, 100);
    EXPECT_EQ(f.Run(0).y, 25 - 13);
    EXPECT_EQ(f.Run(1).y, 50 + 13 - 13);  // every later run stands one line higher

    f.Load("<img src=\"p.bmp\" align=\"top\">ab<br>cd");
    f.Render();
    EXPECT_EQ(f.Run(0).y, 0);
    EXPECT_EQ(f.Run(1).y, 50 + 13);
}

TEST_F(PagePictures, TransparentNamesLeaveTheirKeyColourOut) {
    f.Load("<img src=\"logos.bmp\"><img src=\"iconsm.bmp\"><img src=\"logo.bmp\">");
    f.Render();
    EXPECT_EQ(f.canvas.CallsOf("transparent"),
              (std::vector<std::string>{"transparent logos.bmp 0,0-10,10",
                                        "transparent iconsm.bmp 10,0-20,10"}));
    EXPECT_EQ(f.canvas.CallsOf("copy"), std::vector<std::string>{"copy logo.bmp 20,0-30,10"});
}

TEST_F(PagePictures, SixtyFourSlotsAtMost) {
    std::string page;
    for (int i = 0; i < 70; ++i) {
        page += "<img src=\"logo.bmp\">";
    }
    f.Load(page);
    f.Render();
    EXPECT_EQ(f.host.loads.size(), 64u);
    EXPECT_EQ(f.canvas.CallsOf("copy").size(), 64u);
}

TEST_F(PagePictures, CapsLockWithThePluginDropsTheMOfAPictureName) {
    f.Load("<img src=\"roomm.bmp\">");
    f.host.plugin = true;
    f.host.capsLock = true;
    f.Render();
    EXPECT_EQ(f.host.loads, std::vector<std::string>{"room.bmp"});
    f.host.capsLock = false;
    f.Render();
    f.host.plugin = false;
    f.host.capsLock = true;
    f.Render();
    EXPECT_EQ(f.host.loads, (std::vector<std::string>{"room.bmp", "roomm.bmp", "roomm.bmp"}));
}

TEST_F(PagePictures, LaterWalksReuseTheSlotsAndTileLess) {
    f.Load("<body background=\"tile.bmp\"><img src=\"p.bmp\">");
    f.Render();
    EXPECT_EQ(f.canvas.CallsOf("copy").size(), 14u * 3 + 1);  // x up to 1399, y below 2600
    EXPECT_EQ(f.host.loads.size(), 2u);
    f.canvas.calls.clear();
    f.Render(false);  // the view's second walk keeps the pictures
    EXPECT_EQ(f.canvas.CallsOf("copy").size(), 20u * 2 + 1);  // x up to 1999, y below 2000
    EXPECT_EQ(f.host.loads.size(), 2u);
}

TEST_F(PagePictures, RulesAreCentredSunkenEdges) {
    f.Load("<body leftmargin=\"10\"><hr><hr width=\"100\" size=\"5\">");
    f.Render();
    EXPECT_EQ(f.canvas.CallsOf("edge"),
              (std::vector<std::string>{"edge 10,0-630,2 0", "edge 270,0-370,5 0"}));
}

}  // namespace
