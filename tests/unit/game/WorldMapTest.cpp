#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../../support/TestFiles.h"
#include "archive/ArchiveWriter.h"
#include "game/WorldMap.h"

namespace {

using Texts = std::vector<std::string>;
using Pages = std::vector<std::pair<std::string, std::string>>;

// A world of one "Text.arc": the pages in this order, then "search.txt".
class WorldMapTest : public ::testing::Test {
  protected:
    WorldMap Map(const Pages& pages, const Texts& table) {
        std::vector<ArchiveInput> inputs;
        for (const auto& [name, source] : pages) {
            inputs.push_back({name, Bytes(source)});
        }
        std::string lines;
        for (const std::string& line : table) {
            lines += line + "\r\n";
        }
        inputs.push_back({"search.txt", Bytes(lines)});
        WriteBytes(dir.File("Text.arc"), *BuildArchive(inputs));
        const std::optional<WorldMap> map = ReadWorldMap(dir.path().string());
        EXPECT_TRUE(map);
        return map.value_or(WorldMap{});
    }

    TempDir dir;
};

TEST_F(WorldMapTest, ReachedFromWhatTheBrowserOpensAndEveryWayOn) {
    const WorldMap map = Map(
        {
            {"otop.htm", "<a href=\"a.htm\">a</a><input type=\"submit\" name=\"tou0301.htm\">"},
            {"search.htm", ""},
            {"urlmiss.htm", ""},
            {"a.htm", "<a href=\"umaker00.htm\">maker</a>"},
            {"tou0301.htm", ""},
            {"umaker00.htm", ""},
            {"umaker01.htm", ""},  // only the story's rule leads here
            {"word.htm", ""},
            {"Addr.htm", ""},
            {"dup.htm", ""},     // its address opens the first record's page
            {"listed.htm", ""},  // a record without a word or an address
            {"island.htm", "<input type=\"submit\" name=\"tou0501.htm\">"},
            {"tou0501.htm", ""},
        },
        {"○word", "□WORD.HTM", "□ＮＥＸＴ", "△http://c.jp/", "□addr.htm", "□ＮＥＸＴ",
         "△HTTP://C.JP/", "□dup.htm", "□ＮＥＸＴ", "□listed.htm", "□ＮＥＸＴ", "○lost",
         "□ＮＥＸＴ"});
    EXPECT_EQ(map.home, "otop.htm");
    Texts reached;
    for (const MapPage& page : map.pages) {
        if (page.reached) {
            reached.push_back(page.name);
        }
    }
    EXPECT_EQ(reached, (Texts{"otop.htm", "search.htm", "urlmiss.htm", "a.htm", "tou0301.htm",
                              "umaker00.htm", "umaker01.htm", "word.htm", "addr.htm"}));
    EXPECT_EQ(map.unreachable, 4);
}

TEST_F(WorldMapTest, PagesTakeTheFirstRecordAndTheSiteInSmallLetters) {
    const WorldMap map = Map(
        {
            {"otop.htm", "<title>own</title>"},
            {"x.htm", ""},
            {"y.htm", ""},
            {"z.htm", ""},
            {"bare.htm", "<title>素</title>"},
        },
        {"△http://www.a.jp/", "□otop.htm", "☆トップ", "□ＮＥＸＴ", "△HTTP://WWW.A.JP/x.htm",
         "□X.htm", "☆エックス", "□ＮＥＸＴ", "△www.b.jp/y", "□y.htm", "□ＮＥＸＴ", "△http://c.jp",
         "□z.htm", "☆ゼット", "□ＮＥＸＴ", "△http://d.jp/", "□z.htm", "☆二番目", "□ＮＥＸＴ"});
    Texts pages;
    for (const MapPage& page : map.pages) {
        pages.push_back(page.name + "|" + page.title + "|" + page.address + "|" + page.host +
                        (page.listed ? "|listed" : ""));
    }
    EXPECT_EQ(pages, (Texts{"otop.htm|トップ|http://www.a.jp/|www.a.jp|listed",
                            "x.htm|エックス|HTTP://WWW.A.JP/x.htm|www.a.jp|listed",
                            "y.htm||www.b.jp/y|www.b.jp|listed",
                            "z.htm|ゼット|http://c.jp|c.jp|listed", "bare.htm|素||"}));
}

TEST_F(WorldMapTest, EdgesByPageOnceEachWithTheirConditions) {
    const WorldMap map = Map(
        {
            {"ipan52.htm",
             "<a href=\"b.htm\">b</a><input type=\"submit\" name=\"b.htm\"><a href=\"B.htm\">b</a>"
             "<input type=\"submit\" name=\"tou1501.htm\"><input type=\"submit\" "
             "name=\"検索ボタン\"><input type=\"submit\" name=\"検索ボタン\">"},
            {"b.htm",
             "<a href=\"tou0200.htm\">scene</a><a href=\"suga03.htm\">note</a>"
             "<input type=\"submit\" name=\"tou0001.htm\">"},
            {"killerd.htm", ""},
        },
        {});
    Texts edges;
    for (const MapEdge& edge : map.edges) {
        edges.push_back(edge.from + " " + std::string(EdgeKindName(edge.kind)) + " " + edge.to +
                        " " + edge.condition);
    }
    EXPECT_EQ(
        edges,
        (Texts{"ipan52.htm link b.htm ", "ipan52.htm form b.htm ",
               "ipan52.htm protected tou1501.htm password 15", "ipan52.htm form search.htm search",
               "ipan52.htm rule killerd.htm plug-in, third visit", "b.htm message tous02.txt ",
               "b.htm note suga03.txt ", "b.htm protected tou0001.htm password 0"}));
}

TEST(WorldMap, NothingWithoutAReadableTextArchive) {
    TempDir dir;
    EXPECT_FALSE(ReadWorldMap(dir.path().string()));
    WriteBytes(dir.File("Text.arc"), {0xff, 0xff, 0xff, 0xff, 1, 2, 3});
    EXPECT_FALSE(ReadWorldMap(dir.path().string()));
    EXPECT_FALSE(ReadWorldMap(dir.File("missing")));
}

}  // namespace
