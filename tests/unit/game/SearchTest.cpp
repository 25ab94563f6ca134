#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/MessageRecorder.h"
#include "game/PageTable.h"
#include "game/Search.h"
#include "html/TokenList.h"
#include "text/StringList.h"

namespace {

using Texts = std::vector<std::string>;

void Fill(StringList& list, const Texts& lines) {
    for (const std::string& line : lines) {
        list.AppendText(line);
    }
}

// A record as "file|address|title|word,word".
std::string Show(const SearchRecord& record) {
    std::string words;
    for (const std::string& word : record.keywords) {
        words += (words.empty() ? "" : ",") + word;
    }
    return record.fileName + "|" + record.address + "|" + record.title + "|" + words;
}

Texts Records(const Texts& lines) {
    StringList list;
    Fill(list, lines);
    Texts out;
    for (const SearchRecord& record : ReadPageTableRecords(list).records) {
        out.push_back(Show(record));
    }
    return out;
}

TEST(PageTable, MarkersCommentsAndEmptyRecords) {
    EXPECT_EQ(Records({
                  "// the harbour",
                  "□harbour.htm",
                  "△http://kirimi.net/harbour.htm",
                  "○港",
                  "○fog☆Title on the same line",
                  "□ＮＥＸＴ",
                  "□ＮＥＸＴ",  // where a record begins: an empty one
                  "☆Only a title",
                  "□ＮＥＸＴ anything after is ignored",
              }),
              (Texts{"harbour.htm|http://kirimi.net/harbour.htm|Title on the same line|港,fog☆"
                     "Title on the same line",
                     "|||", "||Only a title|"}));
}

TEST(PageTable, TheLastNameAddressAndTitleOfARecordWin) {
    EXPECT_EQ(Records({
                  "□first.htm",
                  "△http://first/",
                  "☆First",
                  "○one",
                  "□second.htm",
                  "// a comment between lines of a record",
                  "△http://second/",
                  "☆Second",
                  "○two",
                  "□ＮＥＸＴ",
              }),
              (Texts{"second.htm|http://second/|Second|one,two"}));
    // Each marker sets its own field only, in whatever order the lines come.
    EXPECT_EQ(Records({"☆Title", "△http://a/", "□a.htm", "○word", "□ＮＥＸＴ"}),
              (Texts{"a.htm|http://a/|Title|word"}));
}

TEST(PageTable, EmptyRecordsAndCommentsAtTheEndOfTheFile) {
    EXPECT_EQ(Records({"□a.htm", "□ＮＥＸＴ", "□ＮＥＸＴ", "□ＮＥＸＴ"}),
              (Texts{"a.htm|||", "|||", "|||"}));
    EXPECT_EQ(Records({"□a.htm", "// the end", "// of the file"}), (Texts{"a.htm|||"}));
}

TEST(PageTable, ExactlyThreeHundredSlotsAndAnUnterminatedEnd) {
    StringList list;
    for (int i = 0; i < 305; ++i) {
        Fill(list, {"□p" + std::to_string(i) + ".htm", "□ＮＥＸＴ"});
    }
    Fill(list, {"□last.htm", "△http://last/"});
    const PageTableReading reading = ReadPageTableRecords(list);
    EXPECT_EQ(reading.records.size(), 306u);
    EXPECT_FALSE(reading.lastRecordTerminated);
    EXPECT_EQ(reading.records.back().address, "http://last/");

    const std::vector<SearchRecord> table = ParsePageTable(list);
    ASSERT_EQ(table.size(), kPageTableSlots);
    EXPECT_EQ(table[299].fileName, "p299.htm");

    StringList few;
    Fill(few, {"□a.htm", "□ＮＥＸＴ"});
    const std::vector<SearchRecord> small = ParsePageTable(few);
    ASSERT_EQ(small.size(), kPageTableSlots);
    EXPECT_EQ(small[1].fileName, "");
}

Texts Split(const std::string& text) {
    Texts words;
    const int count = SplitKeywords(text, words);
    EXPECT_EQ(count, static_cast<int>(words.size()));
    return words;
}

TEST(Search, KeywordsSplitAtEverySeparator) {
    EXPECT_EQ(Split("霧 港　灯台｜岬|坂"), (Texts{"霧", "港", "灯台", "岬", "坂"}));
    EXPECT_EQ(Split("Fog  fog FOG harbour"), (Texts{"Fog", "harbour"}));
    EXPECT_EQ(Split("  霧"), (Texts{"", "霧"}));
    EXPECT_EQ(Split("霧  "), (Texts{"霧"}));
    EXPECT_EQ(Split(""), (Texts{""}));
    // "ポ" ends in the byte of "|" and is one character; "メ" ends in a byte
    // that could start one, yet a "|" after it still separates.
    EXPECT_EQ(Split("ポ|メ|a"), (Texts{"ポ", "メ", "a"}));
}

TEST(Search, AtMostThirtyKeywords) {
    std::string text;
    for (int i = 0; i < 31; ++i) {
        text += "w" + std::to_string(i) + " ";
    }
    const Texts words = Split(text);
    ASSERT_EQ(words.size(), 30u);
    EXPECT_EQ(words.back(), "w29");

    MessageRecorder messages;
    Texts none;
    EXPECT_EQ(SplitKeywords(std::string(kMaxSearchText + 1, 'a'), none), -1);
    EXPECT_EQ(MessageRecorder::Messages(), Texts{std::string(kKeywordsTooLongText)});
}

class SearchPageTest : public ::testing::Test {
  protected:
    SearchPageTest() : table_(kPageTableSlots) {
        table_[0] = {"http://a/", "a.htm", {"霧", "港"}, "Harbour"};
        table_[4] = {"http://b/", "b.htm", {"fog"}, "Fog night"};
        table_[7] = {"http://c/", "c.htm", {"FOG", "fog"}, "Station"};
    }

    // The result tokens after the template's "<!>", up to "<end>".
    Texts Results(const Texts& words, bool blocked = false) {
        TokenList page;
        Fill(page, {"<html>", "<!>", "<end>"});
        InsertSearchResults(page, words, blocked, table_);
        Texts all = page.Texts();
        return Texts(all.begin() + 2, all.end());
    }

    std::vector<SearchRecord> table_;
};

TEST_F(SearchPageTest, ResultsInKeywordThenTableOrder) {
    EXPECT_EQ(Results({"Fog", "霧"}), (Texts{"<br>",
                                             "<br>",
                                             "　　検索結果：  3 件",
                                             "<br>",
                                             "<br>",
                                             "　　　　　　",
                                             "<a href=\"b.htm\">",
                                             " 1. Fog night",
                                             "</a>",
                                             "<br>",
                                             "<br>",
                                             "　　　　　　",
                                             "<a href=\"c.htm\">",
                                             " 2. Station",
                                             "</a>",
                                             "<br>",
                                             "<br>",
                                             "　　　　　　",
                                             "<a href=\"a.htm\">",
                                             " 3. Harbour",
                                             "</a>",
                                             "<br>",
                                             "<br>",
                                             "<end>",
                                             "</html>"}));
}

TEST_F(SearchPageTest, APageUnderTwoKeywordsIsListedTwice) {
    const Texts results = Results({"港", "霧"});
    EXPECT_EQ(results[2], "　　検索結果：  2 件");
    EXPECT_EQ(results[7], " 1. Harbour");
    EXPECT_EQ(results[13], " 2. Harbour");
}

TEST_F(SearchPageTest, NothingFoundAndRefusedSearchesHaveNoEnd) {
    const Texts none = Results({"lighthouse"});
    EXPECT_EQ(none.size(), 12u);
    EXPECT_EQ(none[2], "　　検索結果：  0 件");
    EXPECT_EQ(none[5], "　　　　　検索キーワードに対する該当ページが見つかりませんでした。");
    EXPECT_EQ(none.back(), "<end>");

    const Texts refused = Results({"fog"}, true);
    EXPECT_EQ(refused.size(), 9u);
    EXPECT_EQ(refused[5], "　　　　　恐れ多くて見つかりませんでした。");
    EXPECT_EQ(refused.back(), "<end>");

    StringList ero;
    Fill(ero, {"ERO", "nsfw"});
    EXPECT_TRUE(IsBlocked({"a", "Nsfw"}, ero));
    EXPECT_FALSE(IsBlocked({"nsfw2"}, ero));
}

TEST_F(SearchPageTest, ATemplateWithoutItsMarkGetsTheResultsAtTheEnd) {
    TokenList page;
    Fill(page, {"<html>", "<body>"});
    EXPECT_EQ(InsertSearchResults(page, {"fog"}, false, table_), 2);
    const Texts all = page.Texts();
    EXPECT_EQ(all[1], "<body>");
    EXPECT_EQ(all[5], "　　検索結果：  2 件");
    EXPECT_EQ(all.back(), "</html>");

    TokenList empty;
    EXPECT_EQ(InsertSearchResults(empty, {"none"}, false, table_), 0);
    EXPECT_EQ(empty.Texts()[3], "　　検索結果：  0 件");
}

}  // namespace
