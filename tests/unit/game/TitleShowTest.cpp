#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/TitleShow.h"

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

TEST(TitleShow, TheStillTitlesTimerStartsTheFirstFadeAtOnce) {
    TitleShow show;
    const TitleStep start = show.OnTimer(kStillTimer);
    EXPECT_EQ(start.fade, TitleStep::Fade::None);
    EXPECT_EQ(start.stopTimers, std::vector<int>{kStillTimer});
    EXPECT_EQ(start.startTimer, kFadeTimer);
    EXPECT_EQ(start.periodMs, 0u);
    EXPECT_FALSE(show.showingTitle());
    for (int i = 0; i < kTitleFadeSteps; ++i) {
        const TitleStep step = show.OnTimer(kFadeTimer);
        EXPECT_EQ(step.fade, TitleStep::Fade::Full);
        EXPECT_EQ(step.step, i);
        EXPECT_EQ(step.startTimer, i == 8 ? kStripTimer : 0);
    }
}

TEST(TitleShow, AClickReturnsToTheTitleAndTheNextShowStartsFromTheBeginning) {
    TitleShow show;
    show.OnTimer(kStillTimer);
    for (int i = 0; i < 9 + 3; ++i) {  // the first fade, then into the strip
        show.OnTimer(i < 9 ? kFadeTimer : kStripTimer);
    }
    EXPECT_EQ(show.fromIndex(), 1);
    EXPECT_EQ(show.fadeStep(), 3);
    const TitleStep back = show.ReturnToTitle();
    EXPECT_EQ(back.stopTimers, (std::vector<int>{kFadeTimer, kPauseTimer, kStripTimer}));
    EXPECT_EQ(back.startTimer, kStillTimer);
    EXPECT_EQ(back.periodMs, 12000u);
    EXPECT_TRUE(show.showingTitle());
    EXPECT_EQ(show.fromIndex(), 1);  // kept until the show starts again
    show.OnTimer(kStillTimer);
    const TitleStep first = show.OnTimer(kFadeTimer);
    EXPECT_EQ(first.from, 0);
    EXPECT_EQ(first.to, 1);
    EXPECT_EQ(first.step, 0);
}

}  // namespace
