#include <gtest/gtest.h>

#include "PageTestSupport.h"
#include "html/LayoutDump.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the dump ends with a line break";
    return lines;
}

}  // namespace

// The dump is what the page preview tool and the web edition compare box for
// box, so its lines must say where everything is, in page coordinates.
TEST(LayoutDump, EveryBoxOfThePageOneLineEachInPageCoordinates) {
    // "ソ" is 0x83 0x5C: its trail byte is a backslash that must not be escaped.
    PageFixture f(
        "<title>\x83\x5C\"q\\\x01</title><a href=\"next.htm\">ab</a><br>"
        "<table border=\"1\"><tr><td width=\"40\">c</td></tr></table><img src=\"p.bmp\">");
    f.host.visited.insert("next.htm");
    f.host.AddPicture("p.bmp", SolidBmp(30, 20));
    f.Render();
    const std::vector<DumpedControl> controls = {
        {"submit", Rect{5, 610, 55, 634}, "go\\", "\x83\x5C"}};
    const std::vector<std::string> lines = SplitLines(DumpLayout(f.page, Size{300, 700}, controls));
    const LinkElement& link = f.Link(0);
    ASSERT_EQ(lines.size(), 1 + f.page.links().size() + f.page.textRuns().size() + 1 + 1 + 1);
    EXPECT_EQ(lines[0],
              "{\"page\":{\"width\":300,\"height\":700,\"title\":\"\x83\x5C\\\"q\\\\\\u0001\"}}");
    EXPECT_EQ(lines[1], "{\"link\":{\"kind\":" + std::to_string(static_cast<int>(link.kind)) +
                            ",\"target\":\"next.htm\",\"x\":" + std::to_string(link.x) + ",\"y\":" +
                            std::to_string(link.y) + ",\"width\":" + std::to_string(link.width) +
                            ",\"height\":" + std::to_string(link.height) + ",\"visited\":true}}");
    EXPECT_NE(link.width, 0);
    const TableRecord& table = f.page.tables().at(0);
    const std::string tableLine = lines[lines.size() - 3];
    EXPECT_EQ(tableLine.rfind("{\"table\":{\"x\":0,\"y\":" + std::to_string(table.box.top) +
                                  ",\"width\":" + std::to_string(table.box.width()),
                              0),
              0u)
        << tableLine;
    EXPECT_NE(tableLine.find("\"border\":true,\"rows\":1,\"columns\":1,\"cells\":[[3," +
                             std::to_string(table.cells.at(0).top) + ",40,"),
              std::string::npos)
        << tableLine;
    EXPECT_EQ(lines.back(), "{\"picture\":{\"index\":0,\"name\":\"p.bmp\",\"width\":30,\"height\":20}}");
    EXPECT_EQ(lines[lines.size() - 2],
              "{\"control\":{\"kind\":\"submit\",\"x\":5,\"y\":610,\"width\":50,\"height\":24,"
              "\"name\":\"go\\\\\",\"value\":\"\x83\x5C\"}}");
}
