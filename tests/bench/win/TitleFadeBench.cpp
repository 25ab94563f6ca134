// The title screen's fades on real GDI under Wine: one step of a full-picture
// fade and one of a strip fade, as the dialog does them (blend, repaint, paint),
// against the time a step stays on the screen, the period the system's timer
// really gives a 0 ms and a 1 ms timer. Run in a world's folder (its cg.arc);
// with a folder as argument it also writes the window at the still title, in
// the middle of the first full fade and of the first strip fade there as .bmp.
// Run with `make bench`.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "BenchClock.h"
#include "app/BrApp.h"
#include "app/TitleDialog.h"

namespace {

// The application object without its start-up: only the archives.
class BenchApp : public CBrApp {};

class SilentMedia : public MediaControl {
  public:
    MCIERROR Send(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR) override {
        return MCIERR_FILE_NOT_FOUND;
    }
};

// The title screen with its timers driven from outside: it only tells which
// timer it would run next.
class DrivenTitle : public CTitleDialog {
  public:
    explicit DrivenTitle(MediaControl& media) : CTitleDialog(media) {}
    std::atomic<UINT> next{0};

  protected:
    void StartTimer(UINT id, UINT) override { next = id; }
    void StopTimer(UINT) override {}
};

// The mean interval of a thread timer of `periodMs`, in milliseconds.
double TimerInterval(UINT periodMs) {
    const UINT_PTR timer = SetTimer(nullptr, 0, periodMs, nullptr);
    MSG message;
    int ticks = 0;
    double first = 0;
    double last = 0;
    const double start = Now();
    while (Now() - start < 1.0 && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) {
            last = Now();
            if (ticks++ == 0) {
                first = last;
            }
        }
    }
    KillTimer(nullptr, timer);
    return ticks > 1 ? (last - first) * 1000 / (ticks - 1) : 0;
}

// The window's client area as a 24-bit .bmp file.
void SaveClient(HWND window, const std::string& path) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD pixelBytes = rowBytes * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + pixelBytes;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), pixelBytes);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(copy);
    ReleaseDC(window, screen);
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string shots = argc > 1 ? argv[1] : "";
    BenchApp app;
    for (size_t i = 0; i < app.archives.size(); ++i) {
        app.archives[i].Open(CBrApp::kArchiveNames[i]);
    }
    const double fadeTimer = TimerInterval(0);
    const double stripTimer = TimerInterval(1);

    SilentMedia media;
    DrivenTitle dialog(media);
    std::vector<double> full;
    std::vector<double> strip;
    double messaging = 0;
    std::thread driver([&] {
        HWND window = nullptr;
        for (int i = 0; i < 1500 && window == nullptr; ++i) {
            window = FindWindowW(L"#32770", nullptr);
            if (window == nullptr || !IsWindowVisible(window)) {
                window = nullptr;
                Sleep(20);
            }
        }
        if (window == nullptr) {
            return;
        }
        // A message there and back, without any work, is not the step's.
        std::vector<double> empty;
        for (int i = 0; i < 200; ++i) {
            const double start = Now();
            SendMessageW(window, WM_NULL, 0, 0);
            empty.push_back(Now() - start);
        }
        messaging = Median(empty);
        if (!shots.empty()) {
            SaveClient(window, shots + "\\title-still.bmp");
        }
        // Three whole cycles, each timer as the dialog would have it run next.
        int fullSteps = 0;
        int stripSteps = 0;
        for (int tick = 0; tick < 3 * (1 + 11 * 9 + 5); ++tick) {
            const UINT id = dialog.next;
            const double start = Now();
            SendMessageW(window, WM_TIMER, id, 0);
            const double took = Now() - start - messaging;
            if (id == kFadeTimer) {
                full.push_back(took);
                if (++fullSteps == 5 && !shots.empty()) {
                    SaveClient(window, shots + "\\title-mid-full-fade.bmp");
                }
            } else if (id == kStripTimer) {
                strip.push_back(took);
                if (++stripSteps == 5 && !shots.empty()) {
                    SaveClient(window, shots + "\\title-mid-strip-fade.bmp");
                }
            }
        }
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.DoModal();
    driver.join();

    // A run that measured nothing must not pass for a fast one.
    if (dialog.screen().empty()) {
        std::fprintf(stderr, "title bench: no title pictures here: run it in a world's folder\n");
        return 1;
    }
    if (full.empty() || strip.empty()) {
        std::fprintf(stderr, "title bench: measured no %s fade step (no title screen seen)\n",
                     full.empty() ? "full-picture" : "strip");
        return 1;
    }
    const double fullMs = Median(full) * 1000;
    const double stripMs = Median(strip) * 1000;
    std::printf("timers: a 0 ms timer fires every %.1f ms, a 1 ms timer every %.1f ms\n", fadeTimer,
                stripTimer);
    std::printf(
        "full-picture fade step: %.2f ms (median of %zu), %.0f%% of the %.1f ms it is shown\n",
        fullMs, full.size(), fadeTimer > 0 ? fullMs / fadeTimer * 100 : 0, fadeTimer);
    std::printf(
        "strip fade step:        %.2f ms (median of %zu), %.0f%% of the %.1f ms it is shown\n",
        stripMs, strip.size(), stripTimer > 0 ? stripMs / stripTimer * 100 : 0, stripTimer);
    return 0;
}
