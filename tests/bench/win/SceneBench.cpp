// The message window's two animations on real GDI under Wine, through the
// window's own timer handling: one cross-fade step of a 640 x 480 x 24
// picture (blend and repaint of the picture window) and one typewriter tick
// (measure, draw and repaint of the message window). Each is set against its
// timer period: the 1 ms fade timer as the system really delivers it, and the
// typewriter's 40 ms. Run with `make bench`, on a display.

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "story/MessageWnd.h"
#include "story/SceneHost.h"

namespace {

// A .bmp of 640 x 480 x 24 whose bytes run through every value.
std::vector<uint8_t> Picture(uint8_t seed) {
    const size_t pixels = 640 * 480 * 3;
    std::vector<uint8_t> file(54 + pixels, 0);
    const auto put32 = [&file](size_t at, uint32_t value) {
        for (size_t i = 0; i < 4; ++i) {
            file[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 640);
    put32(22, 480);
    file[26] = 1;
    file[28] = 24;
    for (size_t i = 0; i < pixels; ++i) {
        file[54 + i] = static_cast<uint8_t>(i * 7 + seed);
    }
    return file;
}

class Host : public SceneHost {
  public:
    std::string PictureName(const std::string& name) override { return name; }
    bool LoadPicture(std::string_view name, DibPicture& picture) override {
        const std::vector<uint8_t>& file = name == "pict0100.bmp" ? white_ : scene_;
        return picture.LoadFromBytes(file.data(), file.size());
    }
    void OpenPage(const std::string&) override {}

  private:
    std::vector<uint8_t> white_ = Picture(0);
    std::vector<uint8_t> scene_ = Picture(99);
};

template <typename Done>
void PumpUntil(const Done& done) {
    const double deadline = Now() + 60;
    while (!done() && Now() < deadline) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
}

}  // namespace

int main() {
    constexpr int kPictures = 20;
    // Picture lines, then one long line: "□００００" and "あいう...".
    std::string text;
    for (int i = 0; i < kPictures; ++i) {
        text += "□００００\r\n";
    }
    std::string line;
    for (int i = 0; i < 1000; ++i) {
        line += "霧の町の記録";
    }
    text += line + "\r\n";
    const auto archive =
        BuildArchive({{"tous00.txt", std::vector<uint8_t>(text.begin(), text.end())}});
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "velmora-scene-bench.arc";
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr || !archive) {
        return 1;
    }
    std::fwrite(archive->data(), 1, archive->size(), out);
    std::fclose(out);
    Archive texts;
    texts.Open(path);

    Host host;
    GameState state = GameState::NewGame();
    PasswordLists passwords;
    CMessageWnd window(nullptr, state, passwords, host);
    window.LoadTousText(texts, 0);
    if (!window.Create()) {
        std::printf("no window: run it on a display\n");
        return 1;
    }
    HWND hwnd = window.GetSafeHwnd();
    ShowWindow(hwnd, SW_SHOW);
    SetActiveWindow(hwnd);

    // The first fade on the real 1 ms timer: the period the system keeps.
    PumpUntil([&] { return window.fading(); });
    double start = Now();
    PumpUntil([&] { return !window.fading(); });
    const double period = (Now() - start) / (CMessageWnd::kFadeSteps + 1);

    // The other fades step by step: each tick is blend and repaint.
    double fading = 0;
    int steps = 0;
    for (int picture = 1; picture < kPictures; ++picture) {
        PumpUntil([&] { return window.fading(); });
        while (window.fading()) {
            start = Now();
            SendMessageW(hwnd, WM_TIMER, CMessageWnd::kFadeTimer, 0);
            GdiFlush();
            fading += Now() - start;
            ++steps;
        }
    }
    if (steps == 0) {
        std::fprintf(stderr, "scene bench: measured no fade step\n");
        return 1;
    }
    const double step = fading / steps;
    std::printf(
        "fade step (blend + repaint, 640 x 480 x 24): %.3f ms; the 1 ms timer comes every "
        "%.1f ms: %.0f%% of it busy\n",
        step * 1000, period * 1000, step / period * 100);

    // The long line, a character a tick.
    PumpUntil([&] { return window.typewriter().typing(); });
    constexpr int kTicks = 2000;
    start = Now();
    for (int i = 0; i < kTicks; ++i) {
        SendMessageW(hwnd, WM_TIMER, CMessageWnd::kTypeTimer, 0);
    }
    GdiFlush();
    const double tick = (Now() - start) / kTicks;
    std::printf("typewriter tick (measure + draw + repaint): %.3f ms: %.1f%% of its 40 ms\n",
                tick * 1000, tick / (CMessageWnd::kTypeInterval / 1000.0) * 100);

    window.DestroyWindow();
    DeleteFileA(path.c_str());
    return 0;
}
