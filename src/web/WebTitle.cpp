#include "WebTitle.h"

#include "JsBridge.h"

std::string WebTitle::Start(const WorldArchives& world) {
    const PictureSources sources = world.pictures();
    screen_.Load(kTitleScreenPicture, sources);
    for (size_t i = 0; i < pictures_.size(); ++i) {
        pictures_[i].Load(kTitlePictureNames[i], sources);
    }
    Show();
    TitleStep first;
    first.startTimer = kStillTimer;
    first.periodMs = TitleShow::kStillMs;
    return Timers(first);
}

void WebTitle::Show() {
    const std::vector<uint8_t> rgba = screen_.ToRgba(false);
    if (!rgba.empty()) {
        js_title_frame(rgba.data(), screen_.width(), screen_.height());
    }
}

std::string WebTitle::Timers(const TitleStep& step) {
    std::string out = "stop";
    for (int id : step.stopTimers) {
        out += " " + std::to_string(id);
    }
    out += ";start";
    if (step.startTimer != 0) {
        out += " " + std::to_string(step.startTimer) + " " + std::to_string(step.periodMs);
    }
    return out;
}

std::string WebTitle::OnTimer(int id) {
    if (id < kStillTimer || id > kStripTimer) {
        return Timers({});
    }
    TitleStep step = show_.OnTimer(id);
    if (step.fade == TitleStep::Fade::Strip && step.startTimer == 0) {
        // The strip's quick steps are timed from each step, as on Windows.
        step.startTimer = kStripTimer;
        step.periodMs = TitleShow::kStripNextMs;
    }
    if (step.fade != TitleStep::Fade::None && ApplyTitleFade(step, screen_, pictures_)) {
        Show();
    }
    return Timers(step);
}

std::string WebTitle::OnClick() {
    if (show_.showingTitle()) {
        return "enter";
    }
    const TitleStep step = show_.ReturnToTitle();
    ShowStillTitle(screen_, pictures_[0]);
    Show();
    return Timers(step);
}
