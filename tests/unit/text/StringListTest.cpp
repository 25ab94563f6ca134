#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "text/ShiftJis.h"
#include "text/StringList.h"

namespace {

using Texts = std::vector<std::string>;

void Fill(StringList& list, const Texts& texts) {
    for (const std::string& text : texts) {
        list.AppendText(text);
    }
}

// Walks the links both ways and checks them against the count.
void ExpectConsistentLinks(const StringList& list) {
    int forward = 0;
    const StringNode* node = list.first();
    EXPECT_EQ(node->previous(), nullptr);
    for (; !node->IsSentinel(); node = node->next()) {
        ASSERT_NE(node->text(), nullptr);
        EXPECT_EQ(node->next()->previous(), node);
        ++forward;
    }
    EXPECT_EQ(node, list.tail());
    EXPECT_EQ(node->text(), nullptr);
    EXPECT_EQ(forward, list.count());
}

TEST(StringList, NewListIsTheSentinelAlone) {
    StringList list;
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.first(), list.tail());
    EXPECT_TRUE(list.tail()->IsSentinel());
    EXPECT_EQ(list.tail()->text(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.name(), "");
}

TEST(StringList, AppendDropsTheLastByteAndEndsAtAZero) {
    StringList list;
    list.Append("abc", 3);
    list.Append("x", 0);  // nothing to store, not even the dropped byte
    list.Append("y", 1);
    const char withZero[] = {'d', 'e', '\0', 'f', 'g', '!'};
    list.Append(withZero, sizeof withZero);
    EXPECT_EQ(list.Texts(), (Texts{"ab", "", "", "de"}));
    EXPECT_EQ(*list.Last()->text(), "de");
    ExpectConsistentLinks(list);
}

TEST(StringList, InsertAfterSplicesExactBytesOrAppendsAtTheSentinel) {
    StringList list;
    Fill(list, {"<html>", "<!>", "</html>"});
    StringNode* mark = list.Find("<!>");
    ASSERT_NE(mark, nullptr);
    StringNode* br = list.InsertAfter(mark, "<br>", 5);  // the terminator is counted
    StringNode* text = list.InsertAfter(br, "ab", 2);    // no terminator: both bytes stay
    EXPECT_EQ(*text->text(), "ab");
    EXPECT_EQ(text->previous(), br);
    EXPECT_EQ(list.count(), 5);
    // At the sentinel the last byte is dropped, as Append does.
    StringNode* appended = list.InsertAfter(list.tail(), "end!", 4);
    EXPECT_EQ(appended, list.Last());
    EXPECT_EQ(list.Texts(), (Texts{"<html>", "<!>", "<br>", "ab", "</html>", "end"}));
    ExpectConsistentLinks(list);
}

TEST(StringList, ClearKeepsTheFirstNodeAsTheSentinel) {
    StringList list;
    Fill(list, {"a", "b", "c"});
    StringNode* first = list.first();
    list.Clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.first(), first);
    EXPECT_EQ(list.tail(), first);
    EXPECT_TRUE(first->IsSentinel());
    EXPECT_EQ(first->text(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    list.AppendText("again");
    EXPECT_EQ(list.Texts(), (Texts{"again"}));
    ExpectConsistentLinks(list);
}

TEST(StringList, FindIgnoresAsciiCaseOnlyAndNeverGivesTheSentinel) {
    StringList list;
    EXPECT_EQ(list.Find(""), nullptr);
    // "ア" is 83 41; its trail byte is an ASCII capital that must not fold.
    Fill(list, {"<b>", "<!>", "\x83\x41", "<a href=\"page.htm\">", ""});
    EXPECT_EQ(list.Find("<!>"), list.NodeAt(1));
    EXPECT_EQ(list.Find("<B>"), list.first());
    EXPECT_EQ(list.Find("<A HREF=\"PAGE.HTM\">"), list.NodeAt(3));
    EXPECT_EQ(list.Find("\x83\x61"), nullptr);
    EXPECT_EQ(list.Find(""), list.NodeAt(4));
    EXPECT_EQ(list.Find("<!"), nullptr);
}

// The pointers are taken as the list grows, so this also checks that nodes
// keep their addresses.
TEST(StringList, NodeAtWalksFromEitherEnd) {
    for (int count : {0, 1, 2, 5, 6}) {
        StringList list;
        std::vector<StringNode*> nodes;
        for (int i = 0; i < count; ++i) {
            list.AppendText(std::to_string(i));
            nodes.push_back(list.Last());
        }
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(list.NodeAt(i), nodes[static_cast<size_t>(i)]) << count << " " << i;
        }
        EXPECT_EQ(list.NodeAt(count), list.tail()) << count;
        EXPECT_EQ(list.NodeAt(count + 1), list.tail()) << count;
        EXPECT_EQ(list.NodeAt(1000), list.tail()) << count;
        EXPECT_EQ(list.NodeAt(-1), list.first()) << count;
    }
}

TEST(StringList, SortOrdersTextsIgnoringAsciiCase) {
    const std::vector<std::pair<Texts, Texts>> cases = {
        {{}, {}},
        {{"only"}, {"only"}},
        {{"b", "A", "c"}, {"A", "b", "c"}},
        // Letters compare as small letters, so '_' (between 'Z' and 'a') comes first.
        {{"Z", "_", "a"}, {"_", "a", "Z"}},
        {{"abc", "ab", "", "ABD"}, {"", "ab", "abc", "ABD"}},
        // Double-byte characters after ASCII, by their bytes.
        {{"\x82\xa2", "z", "\x82\xa0"}, {"z", "\x82\xa0", "\x82\xa2"}},
    };
    for (const auto& [input, sorted] : cases) {
        StringList list;
        Fill(list, input);
        list.Sort();
        EXPECT_EQ(list.Texts(), sorted);
    }
}

TEST(StringList, SortMovesTextsNotNodes) {
    // Enough entries for several gaps (40, 13, 4, 1).
    Texts input;
    for (int i = 0; i < 400; ++i) {
        input.push_back((i % 3 ? "K" : "k") + std::to_string((i * 7919) % 400));
    }
    StringList list;
    Fill(list, input);
    std::vector<StringNode*> nodes;
    for (StringNode* node = list.first(); node; node = node->next()) {
        nodes.push_back(node);
    }
    list.Sort();

    Texts expected = input;
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return CompareIgnoringAsciiCase(a, b) < 0;
    });
    EXPECT_EQ(list.Texts(), expected);
    size_t i = 0;
    for (StringNode* node = list.first(); node; node = node->next()) {
        EXPECT_EQ(node, nodes[i++]);
    }
    ExpectConsistentLinks(list);
}

TEST(StringList, LongListsAreFreedWithoutDeepRecursion) {
    StringList list;
    for (int i = 0; i < 300000; ++i) {
        list.Append("x", 2);
    }
    EXPECT_EQ(list.count(), 300000);
    list.Clear();
    for (int i = 0; i < 300000; ++i) {
        list.Append("y", 2);
    }
}

TEST(SplitLines, EveryCrEndsALineAndTheByteAfterItIsSkipped) {
    const std::vector<std::pair<std::string, Texts>> cases = {
        {"", {}},
        {"no line end", {}},
        {"a\r\nb\r\nc", {"a", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\r", {"a"}},  // the CR is the last byte: nothing after it is read
        {"a\r\n", {"a"}},
        {"a\rxb\r\n", {"a", "b"}},  // whatever follows a CR is dropped with it
        {"a\r\r\nb\r\n", {"a", "\nb"}},
        {"\r\n\r\n", {"", ""}},
        {"\x82\xa0\x82\xa2\r\n", {"\x82\xa0\x82\xa2"}},
        {"tab\there \r\n", {"tab\there "}},
    };
    for (const auto& [bytes, lines] : cases) {
        // An exact-size copy, so that a read past the end is caught.
        std::vector<uint8_t> exact(bytes.begin(), bytes.end());
        StringList list;
        SplitLines(exact.data(), exact.size(), list);
        EXPECT_EQ(list.Texts(), lines) << bytes;
    }
}

class LoadLinesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteBytes(
            path, *BuildArchive({{"search.txt", Bytes("one\r\ntwo\r\nthree")}, {"empty.txt", {}}}));
        archive.Open(path);
        ASSERT_TRUE(archive.loaded());
    }

    TempDir dir;
    std::string path = dir.File("Text.arc");
    Archive archive;
};

TEST_F(LoadLinesTest, ReplacesTheListWithTheEntrysLines) {
    StringList list;
    list.AppendText("stale");
    EXPECT_TRUE(list.LoadLines("SEARCH.TXT", archive));
    EXPECT_EQ(list.Texts(), (Texts{"one", "two"}));
    ExpectConsistentLinks(list);

    EXPECT_TRUE(list.LoadLines("empty.txt", archive));
    EXPECT_EQ(list.count(), 0);
}

TEST_F(LoadLinesTest, MissingNameGivesNoLines) {
    StringList list;
    list.AppendText("stale");
    EXPECT_FALSE(list.LoadLines("ero.txt", archive));
    EXPECT_EQ(list.count(), 0);

    Archive unopened;
    EXPECT_FALSE(list.LoadLines("search.txt", unopened));
    EXPECT_EQ(list.count(), 0);
}

}  // namespace
