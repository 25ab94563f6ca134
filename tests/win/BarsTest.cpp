#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>

#include <string>
#include <vector>

#include "BrowserFixture.h"
#include "bars/AddressBar.h"
#include "bars/ToolButton.h"
#include "framework/Text.h"
#include "game/SaveFile.h"
#include "resource.h"

namespace {

// Holds a modifier key (if any) down in the thread's keyboard state while it
// lives: accelerators read the modifiers from there.
class HeldKey {
  public:
    explicit HeldKey(int key) {
        GetKeyboardState(saved_);
        BYTE held[256];
        std::copy(std::begin(saved_), std::end(saved_), held);
        if (key != 0) {
            held[key] = 0x80;
        }
        SetKeyboardState(held);
    }
    ~HeldKey() { SetKeyboardState(saved_); }

  private:
    BYTE saved_[256];
};

constexpr char kPageTable[] =
    "□otop.htm\r\n△http://www.kirimi.net/\r\n☆Top\r\n□ＮＥＸＴ\r\n"
    "□a.htm\r\n△http://www.kirimi.net/a/\r\n☆Page A\r\n□ＮＥＸＴ\r\n"
    "□b.htm\r\n△http://www.kirimi.net/b.htm\r\n☆Page B\r\n□ＮＥＸＴ\r\n";

// The browser on a world whose pages have addresses, with the missing page
// and the search page.
class Bars : public Browser {
  protected:
    Bars() {
        WriteTextArchive({{"search.txt", Bytes(kPageTable)},
                          {"urlmiss.htm", Bytes("<title>Missing</title><body>x")},
                          {"search.htm", Bytes("<title>Search</title><body>s")}});
    }

    CAddressBar& bar() { return frame().addressBar(); }
    HWND box() { return bar().combo(); }
    HWND edit() {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(box(), &info);
        return info.hwndItem;
    }
    std::string BoxText() {
        wchar_t text[512] = {};
        GetWindowTextW(box(), text, 512);
        return Narrow(text);
    }
    void Type(const std::string& cp932) { SetWindowTextW(box(), Widen(cp932).c_str()); }

    // A key as the message loop gets it: offered to the windows' translation
    // first, as the program does, then dispatched.
    void PressKey(HWND target, UINT key, bool alt = false) {
        HeldKey menu(alt ? VK_MENU : 0);
        MSG message{};
        message.hwnd = target;
        message.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
        message.wParam = key;
        message.lParam = alt ? 0x20000001 : 1;
        if (!app_->PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        PumpMessages();
    }
    void Enter() { PressKey(edit(), VK_RETURN); }

    HWND Button(UINT command) { return GetDlgItem(frame().toolButton().GetSafeHwnd(), command); }
    bool Enabled(UINT command) { return IsWindowEnabled(Button(command)) != FALSE; }
    void Press(UINT command) {
        SendMessageW(Button(command), BM_CLICK, 0, 0);
        PumpMessages();
    }
    // Only the Back and Forward buttons' states, as "BF", "B-", "-F" or "--".
    std::string BackForward() {
        return std::string(Enabled(ID_GO_BACK) ? "B" : "-") + (Enabled(ID_GO_FORWARD) ? "F" : "-");
    }

    int Progress() { return static_cast<int>(SendMessageW(frame().progress(), PBM_GETPOS, 0, 0)); }
};

// Whether the frame's own translation takes key message `message` of `key`
// for the address box. Nothing is dispatched: a release of Alt that reached
// the system would open the menu bar's modal loop.
bool TakenByFrame(CMainFrame& frame, HWND box, UINT message, UINT key, LPARAM lParam) {
    MSG offered{};
    offered.hwnd = box;
    offered.message = message;
    offered.wParam = key;
    offered.lParam = lParam;
    return frame.PreTranslateMessage(offered);
}

TEST_F(Bars, AnAltShortcutKeepsTheReleaseOfAltFromSelectingTheMenuBar) {
    constexpr LPARAM kAltDown = 0x20380001;
    constexpr LPARAM kAltUp = static_cast<LPARAM>(0xC0380001);
    Open();
    Click("a.htm");
    SetFocus(edit());
    {
        HeldKey menu(VK_MENU);
        EXPECT_FALSE(TakenByFrame(frame(), edit(), WM_SYSKEYDOWN, VK_MENU, kAltDown));
        EXPECT_TRUE(TakenByFrame(frame(), edit(), WM_SYSKEYDOWN, VK_LEFT, 0x20000001));
    }
    PumpMessages();
    EXPECT_EQ(CurrentTitle(), "Top");
    // The system would select the menu bar on this release: it never sees it.
    EXPECT_TRUE(TakenByFrame(frame(), edit(), WM_KEYUP, VK_MENU, kAltUp));
    // Alt pressed and released alone still reaches the menu bar.
    EXPECT_FALSE(TakenByFrame(frame(), edit(), WM_SYSKEYDOWN, VK_MENU, kAltDown));
    EXPECT_FALSE(TakenByFrame(frame(), edit(), WM_KEYUP, VK_MENU, kAltUp));
    EXPECT_FALSE(TakenByFrame(frame(), view().GetSafeHwnd(), WM_SYSKEYUP, VK_MENU, kAltUp));
}

TEST_F(Bars, EnterAndEscapeInTheBarsNeverHideThem) {
    Open();
    SetFocus(edit());
    Type("http://www.kirimi.net/a/");
    Enter();
    EXPECT_EQ(CurrentTitle(), "Page A");
    PressKey(edit(), VK_ESCAPE);
    EXPECT_EQ(CurrentTitle(), "Page A");
    EXPECT_TRUE(IsWindowVisible(bar().GetSafeHwnd()));
    EXPECT_TRUE(frame().addressBarShown());
    EXPECT_EQ(app_->settings.addressBarVisible, 1);

    // The tool-button bar once a button has the focus.
    SetFocus(Button(ID_GO_BACK));
    PressKey(Button(ID_GO_BACK), VK_RETURN);
    PressKey(Button(ID_GO_BACK), VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(frame().toolButton().GetSafeHwnd()));
    EXPECT_TRUE(frame().toolBarShown());
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(Bars, TheFramesKeysWorkWhereverTheFocusIsAndAClickGivesTheViewTheFocus) {
    Open();
    Click("a.htm");
    SetFocus(edit());
    PressKey(edit(), VK_LEFT, true);
    EXPECT_EQ(CurrentTitle(), "Top");
    PressKey(edit(), VK_RIGHT, true);
    EXPECT_EQ(CurrentTitle(), "Page A");
    SetFocus(Button(ID_GO_BACK));
    PressKey(Button(ID_GO_BACK), VK_LEFT, true);
    EXPECT_EQ(CurrentTitle(), "Top");

    // Copy, cut, paste and undo stay with the box.
    HeldKey control(VK_CONTROL);
    MSG paste{};
    paste.hwnd = edit();
    paste.message = WM_KEYDOWN;
    paste.wParam = 'V';
    paste.lParam = 1;
    EXPECT_FALSE(frame().PreTranslateMessage(paste));
    paste.hwnd = view().GetSafeHwnd();
    EXPECT_TRUE(frame().PreTranslateMessage(paste));

    SetFocus(edit());
    SendMessageW(view().GetSafeHwnd(), WM_MOUSEACTIVATE,
                 reinterpret_cast<WPARAM>(frame().GetSafeHwnd()),
                 MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(GetFocus(), view().GetSafeHwnd());
}

TEST_F(Bars, EnterOnAKnownAddressOpensItsPageAndListsTheTextAsTyped) {
    Open();
    EXPECT_EQ(BoxText(), "http://www.kirimi.net/");
    Type("HTTP://WWW.KIRIMI.NET/a/");
    Enter();
    EXPECT_EQ(CurrentTitle(), "Page A");
    EXPECT_EQ(BoxText(), "http://www.kirimi.net/a/");
    EXPECT_EQ(bar().Entries(), std::vector<std::string>{"HTTP://WWW.KIRIMI.NET/a/"});
    EXPECT_TRUE(messages_.Messages().empty());
    // The save made by the page open keeps the list.
    const auto file = ReadBytes(std::filesystem::path(SaveFilePath()).string());
    const auto saved = DecodeSaveFile(file.data(), file.size());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->addresses, bar().Entries());
}

TEST_F(Bars, AnUnknownHtmAddressShowsTheMissingPageAfterTheFetch) {
    Open();
    Type("http://nowhere.kirimi.net/x.HTM");
    const DWORD start = timeGetTime();
    Enter();
    EXPECT_GE(timeGetTime() - start, 99u * 16u);
    EXPECT_EQ(CurrentName(), "urlmiss.htm");
    EXPECT_EQ(CurrentTitle(), "Missing");
    EXPECT_EQ(view().history().size(), 2u);
    EXPECT_EQ(Progress(), 0);
    // The missing page has no address: the box keeps the text.
    EXPECT_EQ(BoxText(), "http://nowhere.kirimi.net/x.HTM");
    EXPECT_EQ(bar().Entries(), std::vector<std::string>{"http://nowhere.kirimi.net/x.HTM"});
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(Bars, AnyOtherUnknownAddressIsRefusedAndTheBoxShowsThePageAgain) {
    Open();
    // 300 bytes, of which the first 255 are looked up and listed.
    const std::string typed = "http://nowhere.kirimi.net/" + std::string(274, 'x');
    Type(typed);
    const DWORD start = timeGetTime();
    Enter();
    EXPECT_GE(timeGetTime() - start, 99u * 26u);
    EXPECT_EQ(messages_.Messages(), std::vector<std::string>{"そのアドレスは見当たりません。"});
    EXPECT_EQ(BoxText(), "http://www.kirimi.net/");
    EXPECT_EQ(CurrentTitle(), "Top");
    EXPECT_EQ(view().history().size(), 1u);
    EXPECT_EQ(Progress(), 0);
    EXPECT_EQ(bar().Entries(), std::vector<std::string>{typed.substr(0, 255)});
}

TEST_F(Bars, PickingAnEntryOpensItUnlessItIsTheTextThereOrNamesNoPage) {
    Open();
    bar().SetEntries({"http://www.kirimi.net/", "http://www.kirimi.net/b.htm", "http://gone/"});
    const auto pick = [&](int index) {
        SendMessageW(box(), CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageW(box(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(box(), CB_SHOWDROPDOWN, FALSE, 0);
        PumpMessages();
    };
    pick(0);
    EXPECT_EQ(view().history().size(), 1u);
    pick(1);
    EXPECT_EQ(CurrentTitle(), "Page B");
    EXPECT_EQ(view().history().size(), 2u);
    pick(2);
    EXPECT_EQ(CurrentTitle(), "Page B");
    EXPECT_EQ(view().history().size(), 2u);
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(bar().Entries().size(), 3u);

    // A selection changed with the keyboard in the closed box opens the list,
    // not a page.
    SendMessageW(box(), CB_SETCURSEL, 0, 0);
    SendMessageW(bar().GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CAddressBar::kComboId, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(box()));
    SendMessageW(bar().GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(CAddressBar::kComboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box()));
    EXPECT_NE(SendMessageW(box(), CB_GETDROPPEDSTATE, 0, 0), 0);
    EXPECT_EQ(CurrentTitle(), "Page B");
    SendMessageW(box(), CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(Bars, TheListKeepsTwentyFourEntriesAndComesBackAfterARestart) {
    Open();
    // A damaged save's 30 entries, one of them too long for the box.
    std::vector<std::string> saved;
    for (int i = 0; i < 30; ++i) {
        saved.push_back("http://e" + std::to_string(i) + "/");
    }
    saved[29] = std::string(300, 'y');
    bar().SetEntries(saved);
    std::vector<std::string> entries = bar().Entries();
    ASSERT_EQ(entries.size(), 24u);
    EXPECT_EQ(entries.front(), "http://e6/");
    EXPECT_EQ(entries.back(), std::string(255, 'y'));

    // The 25th entry pushes out the one at the top.
    Type("http://www.kirimi.net/a/");
    Enter();
    entries = bar().Entries();
    ASSERT_EQ(entries.size(), 24u);
    EXPECT_EQ(entries.front(), "http://e7/");
    EXPECT_EQ(entries.back(), "http://www.kirimi.net/a/");

    Close();
    Open();
    EXPECT_EQ(bar().Entries(), entries);
}

TEST_F(Bars, OneKeyOrOneButtonMovesOnePageInTheHistory) {
    Open();
    Click("a.htm");
    Click("otop.htm");
    Click("b.htm");
    PressKey(view().GetSafeHwnd(), VK_LEFT, true);
    EXPECT_EQ(CurrentName(), "otop.htm");
    Press(ID_GO_BACK);
    EXPECT_EQ(CurrentName(), "a.htm");
    PressKey(view().GetSafeHwnd(), VK_RIGHT, true);
    EXPECT_EQ(CurrentName(), "otop.htm");
    Press(ID_GO_FORWARD);
    EXPECT_EQ(CurrentName(), "b.htm");
}

TEST_F(Bars, BackAndForwardAreEnabledOnlyWhileTheHistoryAllows) {
    Open();
    EXPECT_EQ(BackForward(), "--");
    EXPECT_TRUE(Enabled(ID_GO_HOME));
    EXPECT_TRUE(Enabled(ID_GO_SEARCH));
    EXPECT_TRUE(Enabled(ID_FAVOURITES_WINDOW));
    // Without a neighbour Back and Forward do nothing at all.
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_GO_BACK, 0);
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_GO_FORWARD, 0);
    EXPECT_EQ(CurrentTitle(), "Top");
    EXPECT_EQ(frame().visitedList().names(), std::vector<std::string>{"otop.htm"});

    Click("a.htm");
    EXPECT_EQ(BackForward(), "B-");
    Press(ID_GO_BACK);
    EXPECT_EQ(CurrentTitle(), "Top");
    EXPECT_EQ(BackForward(), "-F");
    Press(ID_GO_FORWARD);
    EXPECT_EQ(CurrentTitle(), "Page A");
    EXPECT_EQ(BackForward(), "B-");
    Press(ID_GO_BACK);
    Click("b.htm");  // a new page after Back drops the way forward
    EXPECT_EQ(BackForward(), "B-");
    EXPECT_EQ(view().history().size(), 2u);
}

TEST_F(Bars, HomeOpensTheHomePageUnlessItIsShownAndSearchAlwaysOpensTheSearchPage) {
    Open();
    Press(ID_GO_HOME);
    EXPECT_EQ(view().history().size(), 1u);
    Click("a.htm");
    Press(ID_GO_HOME);
    EXPECT_EQ(CurrentTitle(), "Top");
    EXPECT_EQ(view().history().size(), 3u);
    Press(ID_GO_SEARCH);
    Press(ID_GO_SEARCH);
    EXPECT_EQ(CurrentTitle(), "Search");
    EXPECT_EQ(view().history().size(), 5u);
    Press(ID_FAVOURITES_WINDOW);
    EXPECT_EQ(view().history().size(), 5u);
}

// Colours the system uses for buttons for as long as it lives.
class SystemColours {
  public:
    SystemColours(COLORREF highlight, COLORREF shadow, COLORREF border) {
        for (int i = 0; i < 3; ++i) {
            saved_[i] = GetSysColor(kElements[i]);
        }
        const COLORREF wanted[3] = {highlight, shadow, border};
        SetSysColors(3, kElements, wanted);
    }
    ~SystemColours() { SetSysColors(3, kElements, saved_); }

  private:
    static constexpr INT kElements[3] = {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_ACTIVEBORDER};
    COLORREF saved_[3];
};

TEST_F(Bars, TheFiveButtonsSitInARowInTheSystemsColours) {
    const COLORREF highlight = RGB(250, 240, 200);
    const COLORREF shadow = RGB(60, 70, 80);
    const COLORREF border = RGB(200, 210, 220);
    SystemColours colours(highlight, shadow, border);
    Open();
    const UINT commands[] = {ID_GO_BACK, ID_GO_FORWARD, ID_GO_HOME, ID_GO_SEARCH,
                             ID_FAVOURITES_WINDOW};
    const int lefts[] = {30, 82, 134, 196, 248};
    const int height = frame().toolButton().BarHeight();
    for (size_t i = 0; i < 5; ++i) {
        RECT rect;
        GetWindowRect(Button(commands[i]), &rect);
        MapWindowPoints(nullptr, frame().toolButton().GetSafeHwnd(),
                        reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, lefts[i]);
        EXPECT_EQ(rect.top, (height - 34) / 2 + 2);
        EXPECT_EQ(rect.right - rect.left, 34);
        EXPECT_EQ(rect.bottom - rect.top, 34);
        EXPECT_EQ(frame().toolButton().button(i).highlightKey, RGB(255, 255, 255));
        EXPECT_EQ(frame().toolButton().button(i).shadowKey, RGB(128, 128, 128));
        EXPECT_EQ(frame().toolButton().button(i).borderKey, RGB(192, 192, 192));
    }

    // Each face as the bar draws it: the frame's key colours are gone.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 34, 34);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const auto draw = [&](UINT state) {
        DRAWITEMSTRUCT item{ODT_BUTTON, ID_GO_HOME,         0,  ODA_DRAWENTIRE,
                            state,      Button(ID_GO_HOME), dc, {0, 0, 34, 34},
                            0};
        SendMessageW(frame().toolButton().GetSafeHwnd(), WM_DRAWITEM, ID_GO_HOME,
                     reinterpret_cast<LPARAM>(&item));
    };
    draw(0);
    EXPECT_EQ(GetPixel(dc, 0, 0), highlight);
    EXPECT_EQ(GetPixel(dc, 33, 33), shadow);
    EXPECT_EQ(GetPixel(dc, 1, 1), border);
    EXPECT_EQ(GetPixel(dc, 33, 0), border);
    draw(ODS_SELECTED);  // the pressed face, its bevel turned round
    EXPECT_EQ(GetPixel(dc, 0, 0), shadow);
    EXPECT_EQ(GetPixel(dc, 33, 33), highlight);
    draw(ODS_DISABLED);
    EXPECT_EQ(GetPixel(dc, 0, 0), highlight);
    EXPECT_EQ(GetPixel(dc, 2, 2), border);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace
