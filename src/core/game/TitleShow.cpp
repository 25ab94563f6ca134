#include "game/TitleShow.h"

#include <cstring>

#include "picture/DibPicture.h"

namespace {

constexpr uint32_t kTitlePixelBytes = kTitleWidth * 3 * kTitleHeight;

}  // namespace

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

bool IsTitlePicture(const DibPicture& picture) {
    return !picture.empty() && picture.header().width == kTitleWidth &&
           picture.header().height == kTitleHeight &&
           picture.header().bitCount == kTitleBitsPerPixel && picture.header().compression == 0 &&
           picture.pixelCapacity() >= kTitlePixelBytes;
}

bool ApplyTitleFade(const TitleStep& step, DibPicture& screen,
                    std::span<const DibPicture> pictures) {
    const auto valid = [&](int index) {
        return index >= 0 && static_cast<size_t>(index) < pictures.size() &&
               IsTitlePicture(pictures[static_cast<size_t>(index)]);
    };
    if (step.fade == TitleStep::Fade::None || !IsTitlePicture(screen) || !valid(step.from) ||
        !valid(step.to)) {
        return false;
    }
    const DibPicture& from = pictures[static_cast<size_t>(step.from)];
    const DibPicture& to = pictures[static_cast<size_t>(step.to)];
    if (step.fade == TitleStep::Fade::Full) {
        screen.Blend(step.step, from, to);
    } else {
        // Bottom-up rows: the strip at the foot of the picture comes first.
        screen.BlendRows(step.step, kTitleWidth, kTitleStripRows, from, to);
    }
    return true;
}

bool ShowStillTitle(DibPicture& screen, const DibPicture& title) {
    if (!IsTitlePicture(screen) || !IsTitlePicture(title)) {
        return false;
    }
    // All the rows, also the last two bytes a file's size leaves out.
    std::memcpy(screen.pixels(), title.pixels(), kTitlePixelBytes);
    return true;
}
