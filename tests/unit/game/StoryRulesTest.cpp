#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/MessageRecorder.h"
#include "game/StoryRules.h"

namespace {

GameState AtStage(uint32_t stage, uint32_t pages = 0) {
    GameState state = GameState::NewGame();
    state.disclosureStage = stage;
    state.pageCounter = pages;
    return state;
}

void Solve(GameState& state, int count) {
    for (int i = 0; i < count; ++i) {
        state.passwordSolved[static_cast<size_t>(i)] = 1;
    }
}

TEST(StoryRules, SpecialPageNamesAndTheirIndices) {
    EXPECT_EQ(MessagePageIndex("tou0000.htm"), 0);
    EXPECT_EQ(MessagePageIndex("TOU1500.HTM"), 15);
    EXPECT_EQ(MessagePageIndex("tou1600.htm"), -1);
    EXPECT_EQ(MessagePageIndex("tou0001.htm"), -1);
    EXPECT_EQ(NotePageIndex("suga14.htm"), 14);
    EXPECT_EQ(NotePageIndex("suga15.htm"), -1);
    EXPECT_EQ(ProtectedPageIndex("Tou0701.htm"), 7);
    EXPECT_EQ(ProtectedPageIndex("tou1601.htm"), -1);
    EXPECT_EQ(ProtectedPageName(9), "tou0901.htm");
}

// Every row of the stage table that a page open drives, with the maker page
// it sets; the counter must have reached 5.
TEST(StoryRules, StageAdvancesByPageCount) {
    struct Row {
        uint32_t from, to;
        const char* umaker;
    };
    for (const Row& row :
         {Row{0, 3, "umaker02.htm"}, Row{1, 3, "umaker02.htm"}, Row{2, 3, "umaker02.htm"},
          Row{3, 4, "umaker03.htm"}, Row{5, 6, "umaker04.htm"}, Row{7, 8, "umaker05.htm"},
          Row{9, 10, "umaker06.htm"}}) {
        GameState waiting = AtStage(row.from, 4);
        ApplyNameRules(waiting, "otop.htm");
        EXPECT_EQ(waiting.disclosureStage, row.from) << "four pages are not enough at " << row.from;

        GameState state = AtStage(row.from, 5);
        ApplyNameRules(state, "otop.htm");
        EXPECT_EQ(state.disclosureStage, row.to) << row.from;
        EXPECT_EQ(state.pageCounter, 0u);
        EXPECT_EQ(state.umakerPage.view(), row.umaker) << row.from;
    }
    GameState ten = AtStage(9, 7);
    ApplyNameRules(ten, "otop.htm");
    EXPECT_EQ(ten.kyoumakerPage.view(), "kyoumaker01.htm");
    // Stages 4, 6, 8 and 10 wait for something else; one step per open at most.
    for (uint32_t stage : {4u, 6u, 8u, 10u}) {
        GameState state = AtStage(stage, 50);
        ApplyNameRules(state, "otop.htm");
        EXPECT_EQ(state.disclosureStage, stage);
        EXPECT_EQ(state.pageCounter, 50u);
    }
}

TEST(StoryRules, StageOneReplacesTheMakerPages) {
    GameState state = AtStage(1);
    EXPECT_EQ(ApplyNameRules(state, "OMAKER00.htm"), "omaker01.htm");
    EXPECT_EQ(state.umakerPage.view(), "umaker01.htm");
    EXPECT_EQ(ApplyNameRules(state, "umaker00.htm"), "umaker01.htm");

    GameState fresh = GameState::NewGame();
    EXPECT_EQ(ApplyNameRules(fresh, "umaker00.htm"), "umaker00.htm");
    EXPECT_EQ(ApplyNameRules(fresh, "omaker00.htm"), "omaker00.htm");
    EXPECT_EQ(ApplyNameRules(fresh, "kyoumaker00.htm"), "kyoumaker00.htm");
}

TEST(StoryRules, StageAdvanceAndReplacementHappenInTheSameOpen) {
    GameState state = AtStage(3, 5);
    EXPECT_EQ(ApplyNameRules(state, "umaker00.htm"), "umaker03.htm");
    EXPECT_EQ(state.disclosureStage, 4u);

    GameState last = AtStage(9, 5);
    EXPECT_EQ(ApplyNameRules(last, "kyoumaker00.htm"), "kyoumaker01.htm");
}

TEST(StoryRules, OldLaboratoryJumpsToStageTwoOnlyUpToStageOne) {
    for (uint32_t stage : {0u, 1u}) {
        GameState state = AtStage(stage, 3);
        EXPECT_EQ(ApplyNameRules(state, "USYO.htm"), "USYO.htm");
        EXPECT_EQ(state.disclosureStage, 2u) << stage;
        EXPECT_EQ(state.pageCounter, 0u) << stage;
    }
    GameState later = AtStage(2, 3);
    ApplyNameRules(later, "usyo.htm");
    EXPECT_EQ(later.disclosureStage, 2u);
    EXPECT_EQ(later.pageCounter, 3u);
}

// The rules run in a fixed order within one open; each case below comes out
// differently when two neighbouring rules swap places.
TEST(StoryRules, NameRulesRunInTheirOrder) {
    // The page count moves stage 1 on before the stage-one rule looks at it.
    GameState counted = AtStage(1, 5);
    EXPECT_EQ(ApplyNameRules(counted, "omaker00.htm"), "omaker00.htm");
    EXPECT_EQ(counted.disclosureStage, 3u);
    EXPECT_EQ(counted.umakerPage.view(), "umaker02.htm");

    // The stage-one rule sets the maker page before "umaker00.htm" is replaced.
    GameState one = AtStage(1);
    ASSERT_EQ(one.umakerPage.view(), "umaker00.htm");
    EXPECT_EQ(ApplyNameRules(one, "umaker00.htm"), "umaker01.htm");

    // The old laboratory is looked at after the page count: a count of five
    // at stage 0 reaches stage 3, not 2.
    GameState lab = AtStage(0, 5);
    ApplyNameRules(lab, "usyo.htm");
    EXPECT_EQ(lab.disclosureStage, 3u);
    EXPECT_EQ(lab.umakerPage.view(), "umaker02.htm");
}

TEST(StoryRules, KillerPageOnTheThirdOpenAfterInstallation) {
    GameState state = GameState::NewGame();
    ASSERT_EQ(state.pluginMissing, 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ApplyNameRules(state, "ipan52.htm"), "ipan52.htm");
    }
    EXPECT_EQ(state.killerCounter, 0u);

    state.pluginMissing = 0;
    EXPECT_EQ(ApplyNameRules(state, "ipan52.htm"), "ipan52.htm");
    EXPECT_EQ(ApplyNameRules(state, "IPAN52.HTM"), "IPAN52.HTM");
    EXPECT_EQ(ApplyNameRules(state, "ipan52.htm"), "killerd.htm");
    EXPECT_EQ(ApplyNameRules(state, "ipan52.htm"), "killerd.htm");
    EXPECT_EQ(ApplyNameRules(state, "otop.htm"), "otop.htm");
    EXPECT_EQ(state.killerCounter, 4u);
}

TEST(StoryRules, PagesCountFromStageTwo) {
    GameState state = AtStage(1);
    CountPageLoad(state);
    EXPECT_EQ(state.pageCounter, 0u);
    state.disclosureStage = 2;
    CountPageLoad(state);
    CountPageLoad(state);
    EXPECT_EQ(state.pageCounter, 2u);
}

TEST(StoryRules, AllNotesReadLeadToStageOne) {
    GameState state = GameState::NewGame();
    for (int i = 0; i < kNotePageCount - 1; ++i) {
        MarkNoteRead(state, i);
    }
    MarkNoteRead(state, 0);  // again: nothing new
    EXPECT_EQ(state.disclosureStage, 0u);
    MarkNoteRead(state, kNotePageCount - 1);
    EXPECT_EQ(state.disclosureStage, 1u);

    GameState later = AtStage(3);
    for (int i = 0; i < kNotePageCount; ++i) {
        MarkNoteRead(later, i);
    }
    EXPECT_EQ(later.disclosureStage, 3u);
}

TEST(StoryRules, NoteNumbersOutsideTheNotesChangeNothing) {
    // Fourteen notes read: a fifteenth flag from anywhere would reach stage 1.
    GameState state = GameState::NewGame();
    for (int i = 0; i < kNotePageCount - 1; ++i) {
        MarkNoteRead(state, i);
    }
    GameState zeroed;
    for (GameState* s : {&state, &zeroed}) {
        const GameState before = *s;
        for (int index : {-1, kNotePageCount, kNotePageCount + 1, -100}) {
            MarkNoteRead(*s, index);
            EXPECT_EQ(*s, before) << index;
        }
    }
}

// The stage a scene's accepted password leads to from `stage` with the
// first `solved` slots solved, and whether the page count started afresh.
std::string AfterScenePassword(uint32_t stage, int solved) {
    GameState state = AtStage(stage, 3);
    Solve(state, solved);
    ApplyScenePasswordStage(state);
    return std::to_string(state.disclosureStage) + (state.pageCounter == 0 ? " afresh" : "");
}

TEST(StoryRules, ScenePasswordsMoveTheStageByTheirCount) {
    // Exactly twelve, and only from stage 4.
    EXPECT_EQ(AfterScenePassword(4, 12), "5 afresh");
    EXPECT_EQ(AfterScenePassword(4, 11), "4");
    EXPECT_EQ(AfterScenePassword(4, 13), "4");
    EXPECT_EQ(AfterScenePassword(3, 12), "3");
    EXPECT_EQ(AfterScenePassword(5, 12), "5");
    // Fifteen and sixteen from any stage.
    EXPECT_EQ(AfterScenePassword(2, 15), "7 afresh");
    EXPECT_EQ(AfterScenePassword(4, 15), "7 afresh");
    EXPECT_EQ(AfterScenePassword(4, 14), "4");
    EXPECT_EQ(AfterScenePassword(8, 16), "9 afresh");
    EXPECT_EQ(AfterScenePassword(0, 16), "9 afresh");
    // The slots are counted, not their order: twelve from the end.
    GameState state = AtStage(4, 3);
    for (size_t i = 4; i < 16; ++i) {
        state.passwordSolved[i] = 2;
    }
    ApplyScenePasswordStage(state);
    EXPECT_EQ(state.disclosureStage, 5u);
}

TEST(StoryRules, DownloadNames) {
    EXPECT_EQ(DownloadFileName("wall03.htm"), "wall03.bmp");
    EXPECT_EQ(DownloadFileName("Wallpaper.htm"), "Wallpaper.bmp");
    EXPECT_EQ(DownloadFileName("icon1.htm"), "icon1.ico");
    EXPECT_EQ(DownloadFileName("ICONwall.x.htm"), "ICONwall.ico");
    EXPECT_EQ(DownloadFileName("wall"), "wall.bmp");
    EXPECT_EQ(DownloadFileName("wal.htm"), std::nullopt);
    EXPECT_EQ(DownloadFileName("mywall.htm"), std::nullopt);
    EXPECT_EQ(DownloadFileName("wall" + std::string(300, 'x'))->size(), 255u);
    // Both tests ignore case and keep the target's own letters; a name
    // without "." is taken whole; an icon never turns into a wallpaper.
    EXPECT_EQ(DownloadFileName("ICON1.HTM"), "ICON1.ico");
    EXPECT_EQ(DownloadFileName("iconwall"), "iconwall.ico");
    EXPECT_EQ(DownloadFileName("WALL.01.htm"), "WALL.bmp");
    EXPECT_EQ(DownloadFileName("plugin"), std::nullopt);
    // The bound never splits a double-byte character.
    std::string wide = "wall";
    for (int i = 0; i < 200; ++i) {
        wide += "霧";
    }
    EXPECT_EQ(*DownloadFileName(wide), wide.substr(0, 254));
}

TEST(StoryRules, PageSounds) {
    EXPECT_EQ(PageSoundFile("OSYO.htm"), "wave\\0001.wav");
    EXPECT_EQ(PageSoundFile("usyo.htm"), "wave\\0002.wav");
    EXPECT_EQ(PageSoundFile("kyousyo.htm"), "wave\\0002.wav");
    EXPECT_EQ(PageSoundFile("osyo.html"), "wave\\0000.wav");
}

TEST(StoryRules, PasswordsAreComparedByteForByte) {
    PasswordLists lists;
    lists[3] = {"Kiri", "きりみん"};
    lists[5] = {""};
    EXPECT_TRUE(IsAcceptedPassword(lists, 3, "Kiri"));
    EXPECT_TRUE(IsAcceptedPassword(lists, 3, "きりみん"));
    EXPECT_FALSE(IsAcceptedPassword(lists, 3, "kiri"));
    EXPECT_FALSE(IsAcceptedPassword(lists, 3, "Kiri "));
    EXPECT_FALSE(IsAcceptedPassword(lists, 3, ""));
    EXPECT_TRUE(IsAcceptedPassword(lists, 5, ""));
    EXPECT_FALSE(IsAcceptedPassword(lists, 4, ""));
    EXPECT_FALSE(IsAcceptedPassword(lists, 16, "Kiri"));
    EXPECT_FALSE(IsAcceptedPassword(lists, -1, "Kiri"));
}

TEST(StoryRules, SubmittingAPasswordTellsThePlayerAndMarksTheSlot) {
    MessageRecorder messages;
    PasswordLists lists;
    lists[2] = {"goro"};
    GameState state = GameState::NewGame();
    EXPECT_FALSE(SubmitPassword(state, lists, 2, "Goro"));
    EXPECT_EQ(state.passwordSolved[2], 0);
    EXPECT_TRUE(SubmitPassword(state, lists, 2, "goro"));
    EXPECT_EQ(state.passwordSolved[2], 1);
    EXPECT_EQ(MessageRecorder::Messages(),
              (std::vector<std::string>{std::string(kPasswordRefusedText),
                                        std::string(kPasswordAcceptedText)}));
}

}  // namespace
