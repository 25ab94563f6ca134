#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "game/GameState.h"

namespace {

std::string TextAt(const GameState::Bytes& bytes, size_t offset) {
    return std::string(reinterpret_cast<const char*>(bytes.data() + offset));
}

std::string Repeat(std::string_view piece, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

TEST(GameState, NewGameRecord) {
    const GameState::Bytes bytes = GameState::NewGame().ToBytes();
    GameState::Bytes expected{};
    std::fill_n(expected.begin(), 5, 1);  // the message wait, the three bars, plug-in missing
    const auto put = [&](size_t offset, std::string_view text) {
        std::copy(text.begin(), text.end(), expected.begin() + static_cast<ptrdiff_t>(offset));
    };
    put(21, "http://www.korvex.jp/");
    put(277, "otop.htm");
    put(312, "umaker00.htm");
    put(568, "kyoumaker00.htm");
    EXPECT_EQ(bytes, expected);
}

TEST(GameState, FieldsSitAtTheirOffsets) {
    GameState state;
    state.messageWait = 0x11;
    state.addressBarVisible = 0x12;
    state.toolBarVisible = 0x13;
    state.statusBarVisible = 0x14;
    state.pluginMissing = 0x15;
    state.passwordSolved[0] = 0x21;
    state.passwordSolved[15] = 0x22;
    state.homeAddress = "http://a/";
    state.homePage = "home.htm";
    state.notesRead[0] = 0x31;
    state.notesRead[14] = 0x32;
    state.umakerPage = "umaker07.htm";
    state.kyoumakerPage = "kyoumaker03.htm";
    state.disclosureStage = 0x04030201;
    state.pageCounter = 0x08070605;
    state.killerCounter = 0xFFFFFFFE;
    state.favouriteCount = 7;
    state.addressCount = 0x0100;
    state.visitedCount = 0x00010000;

    const GameState::Bytes bytes = state.ToBytes();
    const std::vector<std::pair<size_t, uint8_t>> expected = {
        {0, 0x11},   {1, 0x12},   {2, 0x13},   {3, 0x14},   {4, 0x15},   {5, 0x21},
        {20, 0x22},  {297, 0x31}, {311, 0x32}, {824, 0x01}, {827, 0x04}, {828, 0x05},
        {831, 0x08}, {832, 0xFE}, {835, 0xFF}, {840, 7},    {845, 1},    {850, 1},
    };
    for (const auto& [offset, value] : expected) {
        EXPECT_EQ(bytes[offset], value) << offset;
    }
    EXPECT_EQ(TextAt(bytes, 21), "http://a/");
    EXPECT_EQ(TextAt(bytes, 277), "home.htm");
    EXPECT_EQ(TextAt(bytes, 312), "umaker07.htm");
    EXPECT_EQ(TextAt(bytes, 568), "kyoumaker03.htm");
    EXPECT_EQ(GameState::FromBytes(bytes), state);
}

TEST(GameState, StringsStayInsideTheirFieldsAndWholeCharacters) {
    GameState state;
    state.homePage = Repeat("あ", 10);  // 20 bytes; the 10th character would end at 20
    EXPECT_EQ(state.homePage.view(), Repeat("あ", 9));
    state.homePage = "a" + Repeat("あ", 10);
    EXPECT_EQ(state.homePage.view(), "a" + Repeat("あ", 9));
    state.homeAddress = std::string(256, 'x');
    EXPECT_EQ(state.homeAddress.view(), std::string(255, 'x'));
    state.homeAddress = std::string("ab\0cd", 5);
    EXPECT_EQ(state.homeAddress.view(), "ab");
    state.homePage = "ab\x82";  // a lead byte without its trail byte
    EXPECT_EQ(state.homePage.view(), "ab");
    EXPECT_EQ(FitField("abc", 0), "");
    // A shorter value leaves nothing of a longer one behind it.
    state.homePage = "short";
    const GameState::Bytes bytes = state.ToBytes();
    EXPECT_TRUE(std::all_of(bytes.begin() + 277 + 5, bytes.begin() + 297,
                            [](uint8_t byte) { return byte == 0; }));

    // Fields without a terminator, as in a damaged file.
    GameState::Bytes damaged{};
    std::fill(damaged.begin() + 277, damaged.begin() + 297, 'p');
    std::fill(damaged.begin() + 568, damaged.begin() + 822, 'k');
    damaged[822] = 0x82;  // "あ" in the field's last two bytes
    damaged[823] = 0xA0;
    const GameState read = GameState::FromBytes(damaged);
    EXPECT_EQ(read.homePage.view(), std::string(19, 'p'));
    EXPECT_EQ(read.kyoumakerPage.view(), std::string(254, 'k'));
    EXPECT_EQ(read.notesRead[0], 0);
}

TEST(GameState, AnyRecordReadsAndWritesBackStably) {
    std::mt19937 random(852);
    for (int round = 0; round < 200; ++round) {
        GameState::Bytes bytes;
        for (uint8_t& byte : bytes) {
            // Every other round only lead bytes and letters, so that no field
            // is terminated and cuts fall on either half of a character.
            const uint32_t value = random();
            byte = static_cast<uint8_t>(round % 2 ? value : (value % 2 ? 0x82 : 'A'));
        }
        const GameState state = GameState::FromBytes(bytes);
        const GameState::Bytes written = state.ToBytes();
        EXPECT_EQ(GameState::FromBytes(written), state);
        EXPECT_EQ(written[276], 0);  // the home address and page are terminated
        EXPECT_EQ(written[296], 0);
    }
}

}  // namespace
