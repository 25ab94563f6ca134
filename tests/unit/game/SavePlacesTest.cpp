#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "game/SavePlaces.h"

namespace {

// A save of the given stage written at `time`.
StoredSave Stored(uint32_t stage, uint64_t time) {
    SaveData data;
    data.state = GameState::NewGame();
    data.state.disclosureStage = stage;
    return StoredSave{EncodeSaveFile(data), time};
}

StoredSave Damaged(uint64_t time) {
    std::vector<uint8_t> bytes = *Stored(9, 0).bytes;
    bytes.resize(GameState::kSize - 1);  // too short to hold a game
    return StoredSave{bytes, time};
}

// The stage of the chosen game and where it came from, or -1 for a new game.
std::pair<int, std::optional<SavePlace>> Chosen(const StoredSave& windows, const StoredSave& user) {
    const std::optional<ChosenSave> chosen = ChooseSave(windows, user);
    if (!chosen) {
        return {-1, std::nullopt};
    }
    return {static_cast<int>(chosen->data.state.disclosureStage), chosen->place};
}

constexpr SavePlace kWindows = SavePlace::WindowsDirectory;
constexpr SavePlace kUser = SavePlace::UserFolder;

}  // namespace

TEST(SavePlaces, TheNewerFileThatDecodesGoesOn) {
    using Result = std::pair<int, std::optional<SavePlace>>;
    EXPECT_EQ(Chosen(Stored(1, 100), Stored(2, 101)), Result(2, kUser));
    EXPECT_EQ(Chosen(Stored(1, 101), Stored(2, 100)), Result(1, kWindows));
    // Written at the same moment: the Windows directory's.
    EXPECT_EQ(Chosen(Stored(1, 100), Stored(2, 100)), Result(1, kWindows));
    // Only one place holds a file, whatever its time.
    EXPECT_EQ(Chosen(Stored(1, 0), StoredSave{}), Result(1, kWindows));
    EXPECT_EQ(Chosen(StoredSave{}, Stored(2, 0)), Result(2, kUser));
    // A damaged file loses to a good one even when it is newer.
    EXPECT_EQ(Chosen(Stored(1, 100), Damaged(200)), Result(1, kWindows));
    EXPECT_EQ(Chosen(Damaged(200), Stored(2, 100)), Result(2, kUser));
    // Nothing that decodes: a new game.
    EXPECT_EQ(Chosen(StoredSave{}, StoredSave{}), Result(-1, std::nullopt));
    EXPECT_EQ(Chosen(Damaged(1), StoredSave{std::vector<uint8_t>{}, 2}), Result(-1, std::nullopt));
}

TEST(SavePlaces, SavesMoveToTheUserFolderForTheRestOfTheRunAndFailuresAreToldOnce) {
    const std::vector<SavePlace> both = {kWindows, kUser};
    const std::vector<SavePlace> userOnly = {kUser};
    SaveRoute route;
    EXPECT_EQ(route.PlacesToTry(), both);
    EXPECT_FALSE(route.Record(kWindows));
    EXPECT_EQ(route.PlacesToTry(), both);
    EXPECT_FALSE(route.Record(kUser));
    EXPECT_EQ(route.PlacesToTry(), userOnly);
    // Even when the Windows directory could take a save again.
    EXPECT_FALSE(route.Record(kUser));
    EXPECT_EQ(route.PlacesToTry(), userOnly);

    // Neither place took it: told the first time only.
    EXPECT_TRUE(route.Record(std::nullopt));
    EXPECT_FALSE(route.Record(std::nullopt));
    EXPECT_FALSE(route.Record(kUser));
    EXPECT_FALSE(route.Record(std::nullopt));

    SaveRoute failing;
    EXPECT_TRUE(failing.Record(std::nullopt));
    EXPECT_EQ(failing.PlacesToTry(), userOnly);
}
