#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// Waits on another thread for a top-level window of `className` titled
// `title`, then acts on it the way a player would. The modal loop under test
// keeps running on the test's own thread meanwhile.
class WindowWatcher {
  public:
    WindowWatcher(std::wstring className, std::wstring title, std::function<void(HWND)> act)
        : thread_([this, className = std::move(className), title = std::move(title),
                   act = std::move(act)] {
              const DWORD deadline = GetTickCount() + 30000;
              while (GetTickCount() < deadline && !stopped_) {
                  HWND window = FindWindowW(className.c_str(), title.c_str());
                  if (window != nullptr && IsWindowVisible(window)) {
                      found_ = true;
                      act(window);
                      return;
                  }
                  Sleep(20);
              }
          }) {}
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;
    ~WindowWatcher() { Finish(); }

    // Stops looking for a window that has not appeared yet.
    void Stop() { stopped_ = true; }

    // Whether the window appeared (waits for the watcher to end).
    bool Finish() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return found_;
    }

  private:
    std::atomic<bool> found_ = false;
    std::atomic<bool> stopped_ = false;
    std::thread thread_;
};
