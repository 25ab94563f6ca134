#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/TitleShow.h"
#include "picture/DibPicture.h"

namespace {

std::string Name(int index) {
    const std::string name = kTitlePictureNames[static_cast<size_t>(index)];
    return name.substr(0, name.size() - 4);
}

// Runs the show as the system's timers would, from the still title until the
// still title's timer is started again, and tells each fade on one line: its
// kind and pictures, then the timer started after its last step.
std::vector<std::string> RunOneCycle(TitleShow& show) {
    std::vector<std::string> fades;
    int running = kStillTimer;
    std::string current;
    int nextStep = 0;
    for (int tick = 0; tick < 1000; ++tick) {
        const TitleStep step = show.OnTimer(running);
        if (step.fade != TitleStep::Fade::None) {
            const std::string fade = (step.fade == TitleStep::Fade::Full ? "full " : "strip ") +
                                     Name(step.from) + ">" + Name(step.to);
            if (step.step == 0) {
                current = fade;
            }
            // Every step of a fade shows the same pair, one step further.
            EXPECT_EQ(fade, current);
            EXPECT_EQ(step.step, nextStep);
            nextStep = (nextStep + 1) % kTitleFadeSteps;
        }
        for (int stopped : step.stopTimers) {
            EXPECT_EQ(stopped, running) << "only the running timer is stopped";
            running = 0;
        }
        if (step.startTimer != 0) {
            running = step.startTimer;
            const std::string next =
                " then " + std::to_string(step.startTimer) + "@" + std::to_string(step.periodMs);
            if (step.fade != TitleStep::Fade::None && step.step == kTitleFadeSteps - 1) {
                fades.push_back(current + next);
            } else if (step.fade == TitleStep::Fade::Strip) {
                EXPECT_EQ(next, " then 4@1");  // the strip's later steps come quickly
            } else if (step.fade == TitleStep::Fade::None) {
                EXPECT_EQ(next, " then 2@0");  // the still title's or the pause's end
            }
            if (step.startTimer == kStillTimer) {
                EXPECT_TRUE(show.showingTitle());
                return fades;
            }
        }
        EXPECT_NE(running, 0);
        EXPECT_FALSE(show.showingTitle());
    }
    ADD_FAILURE() << "the show never came back to the title";
    return fades;
}

TEST(TitleShow, OneCycleFadesThroughTheFiveScenesAndBackToTheTitle) {
    TitleShow show;
    EXPECT_TRUE(show.showingTitle());
    const std::vector<std::string> expected = {
        "full title>dm00 then 4@1000",   "strip dm00>dm00a then 3@4000",
        "full dm00a>dm01 then 4@1000",   "strip dm01>dm01a then 3@4000",
        "full dm01a>dm02 then 4@1000",   "strip dm02>dm02a then 3@4000",
        "full dm02a>dm03 then 4@1000",   "strip dm03>dm03a then 3@4000",
        "full dm03a>dm04 then 4@1000",   "strip dm04>dm04a then 3@4000",
        "full dm04a>title then 1@12000",
    };
    EXPECT_EQ(RunOneCycle(show), expected);
    // The next cycle is the same.
    EXPECT_EQ(RunOneCycle(show), expected);
}

TEST(TitleShow, AClickReturnsToTheTitleAndTheNextShowStartsFromTheBeginning) {
    TitleShow show;
    show.OnTimer(kStillTimer);
    TitleStep last;
    for (int i = 0; i < 9 + 3; ++i) {  // the first fade, then into the strip
        last = show.OnTimer(i < 9 ? kFadeTimer : kStripTimer);
    }
    ASSERT_EQ(last.fade, TitleStep::Fade::Strip);
    ASSERT_EQ(last.from, 1);
    const TitleStep back = show.ReturnToTitle();
    EXPECT_EQ(back.stopTimers, (std::vector<int>{kFadeTimer, kPauseTimer, kStripTimer}));
    EXPECT_EQ(back.startTimer, kStillTimer);
    EXPECT_EQ(back.periodMs, 12000u);
    EXPECT_TRUE(show.showingTitle());
    // The next show is a whole cycle from the title, as if none had run.
    TitleShow fresh;
    EXPECT_EQ(RunOneCycle(show), RunOneCycle(fresh));
}

// A picture of one byte value everywhere.
void Fill(DibPicture& picture, int width, int height, int bits, uint8_t value) {
    BitmapInfoHeader h;
    h.width = width;
    h.height = height;
    h.bitCount = static_cast<uint16_t>(bits);
    h.imageSize = static_cast<uint32_t>(width * bits / 8 * std::abs(height));
    ASSERT_TRUE(picture.CreateBlank(h));
    const std::vector<uint8_t> bytes(h.imageSize, value);
    picture.CopyPixels(bytes.data(), bytes.size());
}

TEST(TitleFades, BlendOnlyTitlePicturesAndTheStripOnlyTheBottomRows) {
    std::array<DibPicture, kTitlePictureCount> pictures;
    for (int i = 0; i < kTitlePictureCount; ++i) {
        Fill(pictures[static_cast<size_t>(i)], 640, 480, 24, static_cast<uint8_t>(i * 20));
    }
    DibPicture screen;
    Fill(screen, 640, 480, 24, 0);
    const size_t stripBytes = 640 * 3 * 80;

    TitleStep strip{TitleStep::Fade::Strip, 1, 2, 4, {}, 0, 0};
    EXPECT_TRUE(ApplyTitleFade(strip, screen, pictures));
    EXPECT_EQ(screen.pixels()[0], 30);  // halfway from 20 to 40
    EXPECT_EQ(screen.pixels()[stripBytes - 1], 30);
    EXPECT_EQ(screen.pixels()[stripBytes], 0);  // the row above the strip is untouched

    TitleStep full{TitleStep::Fade::Full, 2, 3, 8, {}, 0, 0};
    EXPECT_TRUE(ApplyTitleFade(full, screen, pictures));
    EXPECT_EQ(screen.pixels()[0], 60);
    EXPECT_EQ(screen.pixels()[640 * 480 * 3 - 1], 60);

    // A missing picture, one of another size or depth, or a top-down one:
    // the step leaves the screen as it was.
    pictures[3].Unload();
    Fill(pictures[4], 320, 240, 24, 99);
    Fill(pictures[5], 640, 480, 32, 99);
    Fill(pictures[6], 640, -480, 24, 99);
    for (int broken : {3, 4, 5, 6}) {
        EXPECT_FALSE(
            ApplyTitleFade({TitleStep::Fade::Full, broken, 1, 4, {}, 0, 0}, screen, pictures));
        EXPECT_FALSE(
            ApplyTitleFade({TitleStep::Fade::Strip, 1, broken, 4, {}, 0, 0}, screen, pictures));
    }
    EXPECT_FALSE(ApplyTitleFade({TitleStep::Fade::Full, 1, 11, 4, {}, 0, 0}, screen, pictures));
    EXPECT_EQ(screen.pixels()[0], 60);

    // The still title comes back only from a picture 0 of the screen's size.
    EXPECT_TRUE(ShowStillTitle(screen, pictures[0]));
    EXPECT_EQ(screen.pixels()[0], 0);
    EXPECT_FALSE(ShowStillTitle(screen, pictures[4]));
    EXPECT_FALSE(ShowStillTitle(screen, pictures[3]));
    DibPicture small;
    Fill(small, 320, 240, 24, 1);
    EXPECT_FALSE(ShowStillTitle(small, pictures[0]));
    EXPECT_FALSE(ApplyTitleFade(full, small, pictures));
    EXPECT_EQ(small.pixels()[0], 1);
}

}  // namespace
