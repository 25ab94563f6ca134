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
    // The visited names take all the 20-byte pieces of the rest.
    EXPECT_EQ(read->visited.size(), (bytes.size() - kStateSize - 256) / 20);
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

}  // namespace
