#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/TestFiles.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "game/PasswordTable.h"
#include "text/StringList.h"

namespace {

using Texts = std::vector<std::string>;

PasswordLists Parse(const Texts& lines) {
    StringList list;
    for (const std::string& line : lines) {
        list.AppendText(line);
    }
    return ParsePasswordLines(list);
}

// Slots that received anything, as "slot:text" in slot order.
Texts Accepted(const PasswordLists& lists) {
    Texts out;
    for (size_t slot = 0; slot < lists.size(); ++slot) {
        for (const std::string& text : lists[slot]) {
            out.push_back(std::to_string(slot) + ":" + text);
        }
    }
    return out;
}

TEST(PasswordTable, LinesAreClassifiedInFileOrder) {
    const PasswordLists lists = Parse({
        "// 最初のグループ",
        "□００　first",
        "□０３　open sesame",
        "□０３　second",
        "□１５　last slot",
        "□ＥＮＤ",
        "//□０１　commented out",
        "□１６　slot 16",
        "□９９　slot 99",
        "□０２ half-width space",
        "□０２",
        "plain line",
        "",
        "□０４　text □ＥＮＤ",
        "x//□０５　not a comment",
        "note □０６　after text",
        "□０７　　　spaced　out　",
        "□０８　",
        "□０９　unclosed last group",
    });
    EXPECT_EQ(Accepted(lists), (Texts{
                                   "0:first",
                                   "3:open sesame",
                                   "3:second",
                                   "5:not a comment",
                                   "6:after text",
                                   "7:　　spaced　out　",
                                   "8:",
                                   "9:unclosed last group",
                                   "15:last slot",
                               }));
}

TEST(PasswordTable, MarkersAreWholeCharacters) {
    // "ａ" is 82 81: its trail byte followed by 40 or A0 looks like a marker
    // byte-wise, but no such character stands there.
    const PasswordLists lists = Parse({
        "\x82\x81\xA0\x82\x4F\x82\x50\x81\x40x",  // ａ, A0, ０, １, full-width space, x
        "□０２ａ@y",                              // no full-width space behind the marker
        "□０３ａ@z　w",                           // the real space comes later
        // ａ, A0, ＥＮＤ: no END marker, so the entry before it counts.
        "□０４　pw\x82\x81\xA0\x82\x64\x82\x6D\x82\x63",
    });
    EXPECT_EQ(Accepted(lists), (Texts{"3:w", "4:pw\x82\x81\xA0\x82\x64\x82\x6D\x82\x63"}));
}

TEST(PasswordTable, ShortOrMalformedSlotsAddNothing) {
    const PasswordLists lists = Parse({
        "□",
        "abc□",
        "□０",
        "□０\x82",  // a lead byte cut off by the line's end
        "□\x82\x4F\x82",
        "□０１",
        "□ＡＢ　letters",
        "□0 1　ascii digits",
        "□０Ａ　half a number",
    });
    EXPECT_EQ(Accepted(lists), Texts{});
}

TEST(PasswordTable, LoadsFromTheTextArchive) {
    TempDir dir;
    const std::string path = dir.File("Text.arc");
    // The last line has no line end and is not read.
    const std::string file =
        "□０１　ｐｗ\r\n"
        "□ＥＮＤ\r\n"
        "□０１　ひらけ\r\n"
        "□０２　lost";
    WriteBytes(path, *BuildArchive({{"Password.TXT", Bytes(file)}}));
    Archive archive;
    archive.Open(path);
    ASSERT_TRUE(archive.loaded());

    PasswordLists lists;
    lists[5].push_back("stale");
    EXPECT_TRUE(LoadPasswordTable(archive, lists));
    EXPECT_EQ(Accepted(lists), (Texts{"1:ｐｗ", "1:ひらけ"}));

    Archive empty;
    EXPECT_FALSE(LoadPasswordTable(empty, lists));
    EXPECT_EQ(Accepted(lists), Texts{});
}

}  // namespace
