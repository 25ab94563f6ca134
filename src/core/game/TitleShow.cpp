#include "game/TitleShow.h"

bool TitleShow::Advance() {
    fromIndex_ = (fromIndex_ + 1) % kTitlePictureCount;
    toIndex_ = (toIndex_ + 1) % kTitlePictureCount;
    return fromIndex_ == 0;
}

TitleStep TitleShow::OnTimer(int id) {
    TitleStep step;
    switch (id) {
        case kStillTimer:
            showingTitle_ = false;
            step.stopTimers = {kStillTimer};
            fromIndex_ = 0;
            toIndex_ = 1;
            step.startTimer = kFadeTimer;
            step.periodMs = kFadeMs;
            fadeStep_ = 0;
            break;
        case kFadeTimer:
        case kStripTimer: {
            const bool strip = id == kStripTimer;
            if (strip) {
                step.startTimer = kStripTimer;
                step.periodMs = kStripNextMs;
            }
            step.fade = strip ? TitleStep::Fade::Strip : TitleStep::Fade::Full;
            step.from = fromIndex_;
            step.to = toIndex_;
            step.step = fadeStep_;
            ++fadeStep_;
            if (fadeStep_ == kTitleFadeSteps) {
                step.stopTimers = {id};
                if (Advance()) {
                    step.startTimer = kStillTimer;
                    step.periodMs = kStillMs;
                    showingTitle_ = true;
                } else {
                    step.startTimer = strip ? kPauseTimer : kStripTimer;
                    step.periodMs = strip ? kPauseMs : kStripFirstMs;
                }
                fadeStep_ = 0;
            }
            break;
        }
        case kPauseTimer:
            step.stopTimers = {kPauseTimer};
            step.startTimer = kFadeTimer;
            step.periodMs = kFadeMs;
            break;
        default:
            break;
    }
    return step;
}

TitleStep TitleShow::ReturnToTitle() {
    TitleStep step;
    step.stopTimers = {kFadeTimer, kPauseTimer, kStripTimer};
    showingTitle_ = true;
    step.startTimer = kStillTimer;
    step.periodMs = kStillMs;
    return step;
}
