#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "game/SaveFile.h"

namespace {

using Texts = std::vector<std::string>;

constexpr size_t kStateSize = 852;

std::string TextAt(const std::vector<uint8_t>& bytes, size_t offset) {
    return std::string(reinterpret_cast<const char*>(bytes.data() + offset));
}

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// Puts `text` and a zero byte at `offset`.
void PutText(std::vector<uint8_t>& bytes, size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<ptrdiff_t>(offset));
    bytes[offset + text.size()] = 0;
}

std::string Repeat(std::string_view piece, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

SaveData Sample() {
    SaveData data;
    data.state = GameState::NewGame();
    data.state.disclosureStage = 3;
    data.state.favouriteCount = 99;  // the lists decide the counts
    data.favourites = {{"トップページ", "", "otop.htm"}, {"検索: 日本", "日本", "search.htm"}};
    data.addresses = {"http://www.korvex.jp/", "http://例え.jp/", "x"};
    data.visited = {"otop.htm", "Search.htm"};
    return data;
}

std::optional<SaveData> Decode(const std::vector<uint8_t>& bytes) {
    return DecodeSaveFile(bytes.data(), bytes.size());
}

TEST(SaveFile, LayoutAndRoundTrip) {
    const SaveData data = Sample();
    const std::vector<uint8_t> bytes = EncodeSaveFile(data);
    ASSERT_EQ(bytes.size(), kStateSize + 2 * 532 + 3 * 256 + 2 * 20);
    EXPECT_EQ(bytes[840], 2);
    EXPECT_EQ(bytes[844], 3);
    EXPECT_EQ(bytes[848], 2);
    EXPECT_EQ(TextAt(bytes, kStateSize + 532), "検索: 日本");
    EXPECT_EQ(TextAt(bytes, kStateSize + 532 + 256), "日本");
    EXPECT_EQ(TextAt(bytes, kStateSize + 532 + 512), "search.htm");
    EXPECT_EQ(TextAt(bytes, kStateSize + 2 * 532 + 256), "http://例え.jp/");
    EXPECT_EQ(TextAt(bytes, kStateSize + 2 * 532 + 3 * 256 + 20), "Search.htm");
    EXPECT_EQ(bytes.back(), 0);

    const std::optional<SaveData> read = Decode(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->favourites, data.favourites);
    EXPECT_EQ(read->addresses, data.addresses);
    EXPECT_EQ(read->visited, data.visited);
    GameState expected = data.state;
    expected.favouriteCount = 2;
    expected.addressCount = 3;
    expected.visitedCount = 2;
    EXPECT_EQ(read->state, expected);
}

TEST(SaveFile, LongValuesAreCutWithoutHalfCharacters) {
    SaveData data;
    data.favourites = {{Repeat("あ", 150), "k" + Repeat("日", 200), "C:\\ゲーム\\ページ一覧.htm"}};
    data.addresses = {std::string(300, 'a')};
    data.visited = {"C:\\データ\\ページ.htm"};
    const std::optional<SaveData> read = Decode(EncodeSaveFile(data));
    ASSERT_TRUE(read);
    const Favourite expected{Repeat("あ", 127), "k" + Repeat("日", 127), "C:\\ゲーム\\ページ一"};
    EXPECT_EQ(read->favourites, std::vector<Favourite>{expected});
    EXPECT_EQ(read->addresses, Texts{std::string(255, 'a')});
    EXPECT_EQ(read->visited, Texts{"C:\\データ\\ページ.ht"});
}

TEST(SaveFile, ShortFilesKeepTheWholeRecordsBeforeTheCut) {
    const SaveData data = Sample();
    const std::vector<uint8_t> full = EncodeSaveFile(data);
    EXPECT_FALSE(DecodeSaveFile(nullptr, 0));
    EXPECT_FALSE(DecodeSaveFile(full.data(), kStateSize - 1));
    for (size_t size = kStateSize; size <= full.size(); ++size) {
        // A copy of just that size, so that the sanitizer sees any read past it.
        const std::vector<uint8_t> bytes(full.begin(), full.begin() + static_cast<ptrdiff_t>(size));
        const std::optional<SaveData> read = Decode(bytes);
        ASSERT_TRUE(read) << size;
        const size_t left = size - kStateSize - read->favourites.size() * 532 -
                            read->addresses.size() * 256 - read->visited.size() * 20;
        if (read->favourites.size() < 2) {
            EXPECT_LT(left, 532u) << size;
            EXPECT_TRUE(read->addresses.empty() && read->visited.empty()) << size;
        } else if (read->addresses.size() < 3) {
            EXPECT_LT(left, 256u) << size;
            EXPECT_TRUE(read->visited.empty()) << size;
        } else {
            EXPECT_LT(left, 20u) << size;
        }
        EXPECT_TRUE(
            std::equal(read->favourites.begin(), read->favourites.end(), data.favourites.begin()));
        EXPECT_TRUE(
            std::equal(read->addresses.begin(), read->addresses.end(), data.addresses.begin()));
        EXPECT_TRUE(std::equal(read->visited.begin(), read->visited.end(), data.visited.begin()));
        EXPECT_EQ(read->state.disclosureStage, 3u);
        EXPECT_EQ(read->state.favouriteCount, read->favourites.size());
    }
}

TEST(SaveFile, AbsurdCountsReadOnlyWhatTheFileHolds) {
    std::vector<uint8_t> bytes = EncodeSaveFile(Sample());
    PutU32(bytes, 840, 0xFFFFFFFF);
    PutU32(bytes, 844, 0xFFFFFFFF);
    PutU32(bytes, 848, 0xFFFFFFFF);
    std::optional<SaveData> read = Decode(bytes);
    ASSERT_TRUE(read);
    // The favourites run over the other lists' bytes; nothing is left for them.
    EXPECT_EQ(read->favourites.size(), (bytes.size() - kStateSize) / 532);
    EXPECT_TRUE(read->addresses.empty() && read->visited.empty());

    PutU32(bytes, 840, 0);
    PutU32(bytes, 844, 1);
    read = Decode(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->addresses, Texts{"トップページ"});
    // The visited names take all the 20-byte pieces of the rest; those that
    // can name no page (zeros, halves of characters) are left out.
    const SaveLists lists = LocateSaveLists(GameState::FromBytes(bytes.data()), bytes.size());
    EXPECT_EQ(lists.visited.read, (bytes.size() - kStateSize - 256) / 20);
    EXPECT_FALSE(read->visited.empty());
    EXPECT_TRUE(std::all_of(read->visited.begin(), read->visited.end(), IsPageName));
    EXPECT_EQ(read->state.visitedCount, read->visited.size());
}

TEST(SaveFile, FieldsWithoutTheirZeroByteAreCutBeforeTheirLastByte) {
    SaveData data;
    data.favourites = {{"t", "k", "f.htm"}};
    data.visited = {"v.htm"};
    std::vector<uint8_t> bytes = EncodeSaveFile(data);
    // Fill the title, keyword and file name fields and the visited name with
    // letters, leaving no zero byte in them.
    std::fill(bytes.begin() + kStateSize, bytes.end(), static_cast<uint8_t>('x'));
    const std::optional<SaveData> read = Decode(bytes);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->favourites.size(), 1u);
    EXPECT_EQ(read->favourites[0].title, std::string(255, 'x'));
    EXPECT_EQ(read->favourites[0].keyword, std::string(255, 'x'));
    EXPECT_EQ(read->favourites[0].fileName, std::string(19, 'x'));
    EXPECT_EQ(read->visited, Texts{std::string(19, 'x')});
}

TEST(SaveFile, DamagedValuesAreMendedAsTheyAreReadAndWrittenBackAsRead) {
    SaveData data = Sample();
    data.visited = {"otop.htm", "b.htm", "c.htm", "d.htm", "Search.htm"};
    std::vector<uint8_t> bytes = EncodeSaveFile(data);
    bytes[0] = 2;     // messageWait
    bytes[1] = 0;     // addressBarVisible: hidden stays hidden
    bytes[4] = 0xFF;  // pluginMissing
    bytes[5 + 3] = 2;
    bytes[297 + 14] = 0x80;
    PutText(bytes, 21, "http://a/\x82");  // half a character at the end
    PutText(bytes, 277, "\xFF\xFF\xFF");  // no page's name
    PutText(bytes, 312, "\x01.htm");
    PutText(bytes, 568, "");
    const size_t favourites = kStateSize;
    PutText(bytes, favourites, "title\x82");
    PutText(bytes, favourites + 532 + 512, "\xFF\xFF");
    const size_t visited = kStateSize + 2 * 532 + 3 * 256;
    PutText(bytes, visited + 20, "\xFF\xFF");
    PutText(bytes, visited + 40, "a\x01.htm");
    PutText(bytes, visited + 60, "");

    const std::optional<SaveData> read = Decode(bytes);
    ASSERT_TRUE(read);
    const GameState& state = read->state;
    EXPECT_EQ(state.messageWait, 1);
    EXPECT_EQ(state.addressBarVisible, 0);
    EXPECT_EQ(state.toolBarVisible, 1);
    EXPECT_EQ(state.pluginMissing, 1);
    EXPECT_EQ(state.passwordSolved[3], 1);
    EXPECT_EQ(state.passwordSolved[4], 0);
    EXPECT_EQ(state.notesRead[14], 1);
    EXPECT_EQ(state.homeAddress.view(), "http://a/");
    EXPECT_EQ(state.homePage.view(), "otop.htm");  // the new game's names
    EXPECT_EQ(state.umakerPage.view(), "umaker00.htm");
    EXPECT_EQ(state.kyoumakerPage.view(), "kyoumaker00.htm");
    EXPECT_EQ(read->favourites,
              (std::vector<Favourite>{{"title", "", "otop.htm"}, {"検索: 日本", "日本", ""}}));
    EXPECT_EQ(read->visited, (Texts{"otop.htm", "Search.htm"}));
    EXPECT_EQ(state.visitedCount, 2u);

    // Written back, the file reads the same and holds nothing left to mend.
    const std::vector<uint8_t> written = EncodeSaveFile(*read);
    const std::optional<SaveData> again = Decode(written);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->state, read->state);
    EXPECT_EQ(again->favourites, read->favourites);
    EXPECT_EQ(again->visited, read->visited);
    EXPECT_EQ(written[0], 1);
    EXPECT_EQ(written[8], 1);

    // What the game holds is written as it will be read.
    SaveData held = Sample();
    held.state.messageWait = 7;
    held.state.homePage = "a\tb.htm";
    held.favourites[0].fileName = "\xFF";
    held.favourites[0].title = "t\x82";
    held.visited = {"\x7F", "otop.htm", "", "x.htm\x82", "x.htm"};
    const std::vector<uint8_t> file = EncodeSaveFile(held);
    ASSERT_EQ(file.size(), kStateSize + 2 * 532 + 3 * 256 + 3 * 20);
    EXPECT_EQ(file[0], 1);
    EXPECT_EQ(TextAt(file, 277), "otop.htm");
    EXPECT_EQ(TextAt(file, kStateSize), "t");
    EXPECT_EQ(TextAt(file, kStateSize + 512), "");
    EXPECT_EQ(Decode(file)->visited, (Texts{"otop.htm", "x.htm", "x.htm"}));
}

TEST(SaveFile, EachListBringsInItsFirstRecordsUpToItsLimit) {
    // Counts beyond the limits, with every record there: the records past a
    // limit are passed over, and the next list is found after them.
    GameState state = GameState::NewGame();
    state.favouriteCount = kMaxSavedFavourites + 3;
    state.addressCount = 30;
    state.visitedCount = kMaxSavedVisited + 7;
    const GameState::Bytes head = state.ToBytes();
    std::vector<uint8_t> bytes(head.begin(), head.end());
    auto append = [&bytes](size_t width, const std::string& text) {
        bytes.resize(bytes.size() + width);
        PutText(bytes, bytes.size() - width, text);
    };
    auto name = [](char kind, size_t i) { return kind + std::to_string(i); };
    for (size_t i = 0; i < state.favouriteCount; ++i) {
        append(kFavouriteRecordSize, name('t', i));
    }
    for (size_t i = 0; i < state.addressCount; ++i) {
        append(kAddressFieldSize, name('a', i));
    }
    for (size_t i = 0; i < state.visitedCount; ++i) {
        append(kPageNameFieldSize, name('v', i));
    }

    const std::optional<SaveData> read = Decode(bytes);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->favourites.size(), kMaxSavedFavourites);
    EXPECT_EQ(read->favourites.back().title, name('t', kMaxSavedFavourites - 1));
    ASSERT_EQ(read->addresses.size(), kMaxSavedAddresses);
    EXPECT_EQ(read->addresses.front(), "a0");
    EXPECT_EQ(read->addresses.back(), name('a', kMaxSavedAddresses - 1));
    ASSERT_EQ(read->visited.size(), kMaxSavedVisited);
    EXPECT_EQ(read->visited.front(), "v0");
    EXPECT_EQ(read->visited.back(), name('v', kMaxSavedVisited - 1));
    EXPECT_EQ(read->state.visitedCount, kMaxSavedVisited);

    // The game never writes more than it would read back.
    const std::vector<uint8_t> written = EncodeSaveFile(*read);
    SaveData more = *read;
    more.favourites.push_back({"extra", "", "x.htm"});
    more.addresses.push_back("extra");
    more.visited.push_back("extra.htm");
    EXPECT_EQ(EncodeSaveFile(more), written);
}

}  // namespace
