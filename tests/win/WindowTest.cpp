#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Window.h"
#include "resource.h"

namespace {

// A window whose handlers note what reached them.
class ProbeWindow : public CWnd {
  public:
    std::vector<std::string> seen;
    SIZE lastSize{};
    POINT lastPoint{};

    bool Create() {
        return CreateEx(0, L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr);
    }

  protected:
    const MessageMap* GetMessageMap() const override {
        static constexpr MessageEntry kEntries[] = {
            OnMessage<&ProbeWindow::OnCreate>(WM_CREATE),
            OnMessage<&ProbeWindow::OnSize>(WM_SIZE),
            OnMessage<&ProbeWindow::OnMouseMove>(WM_MOUSEMOVE),
            OnCommand<&ProbeWindow::OnFirst>(100),
            OnCommand<&ProbeWindow::OnNotified>(200, EN_CHANGE),
            OnMessage<&ProbeWindow::OnRaw>(WM_USER + 5),
        };
        static const MessageMap map{CWnd::GetMessageMap(), kEntries};
        return &map;
    }
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER + 6) {
            seen.push_back("default");
        }
        return CWnd::DefaultProc(message, wParam, lParam);
    }

  private:
    int OnCreate(const CREATESTRUCTW& cs) {
        seen.push_back("create " + std::to_string(cs.cx));
        return static_cast<int>(Default());
    }
    void OnSize(UINT, SIZE size) { lastSize = size; }
    void OnMouseMove(UINT, POINT at) { lastPoint = at; }
    void OnFirst() { seen.push_back("command 100"); }
    void OnNotified() { seen.push_back("change 200"); }
    LRESULT OnRaw(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
};

// A second class adds to the first: its own entries first, then the base's.
class DerivedProbe : public ProbeWindow {
  protected:
    const MessageMap* GetMessageMap() const override {
        static constexpr MessageEntry kEntries[] = {OnCommand<&DerivedProbe::OnOverride>(100)};
        static const MessageMap map{ProbeWindow::GetMessageMap(), kEntries};
        return &map;
    }

  private:
    void OnOverride() { seen.push_back("derived 100"); }
};

TEST(Window, MessagesReachTheirHandlersWithDecodedArguments) {
    ProbeWindow w;
    ASSERT_TRUE(w.Create());
    HWND hwnd = w.GetSafeHwnd();
    EXPECT_EQ(CWnd::FromHandle(hwnd), &w);
    ASSERT_FALSE(w.seen.empty());
    EXPECT_EQ(w.seen[0], "create 300");

    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_EQ(w.lastSize.cx, 123);
    EXPECT_EQ(w.lastSize.cy, 45);
    SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(-3, 7));  // coordinates are signed
    EXPECT_EQ(w.lastPoint.x, -3);
    EXPECT_EQ(w.lastPoint.y, 7);
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 5, 40, 2), 42);

    w.seen.clear();
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(100, 0), 0);  // menu
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(100, 1), 0);  // accelerator
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(200, EN_CHANGE), 0);
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(200, EN_SETFOCUS), 0);  // no entry
    SendMessageW(hwnd, WM_USER + 6, 0, 0);
    EXPECT_EQ(w.seen,
              (std::vector<std::string>{"command 100", "command 100", "change 200", "default"}));

    w.DestroyWindow();
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
    EXPECT_FALSE(w.HasWindow());
}

TEST(Window, DerivedTablesComeBeforeTheirBase) {
    DerivedProbe w;
    ASSERT_TRUE(w.Create());
    SendMessageW(w.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(100, 0), 0);
    SendMessageW(w.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(200, EN_CHANGE), 0);
    EXPECT_EQ(w.seen.back(), "change 200");
    EXPECT_EQ(w.seen[w.seen.size() - 2], "derived 100");
}

TEST(Window, DestroyingTheObjectDestroysItsWindow) {
    HWND hwnd = nullptr;
    {
        ProbeWindow w;
        ASSERT_TRUE(w.Create());
        hwnd = w.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(Dialog, ModelessDialogHidesOnOkAndStays) {
    CDialog about(IDD_ABOUTBOX);
    ASSERT_TRUE(about.Create());
    HWND hwnd = about.GetSafeHwnd();
    ShowWindow(hwnd, SW_SHOW);
    SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

}  // namespace
