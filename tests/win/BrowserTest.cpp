#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/TestFiles.h"
#include "../unit/html/PageTestSupport.h"
#include "BrowserFixture.h"
#include "WindowWatcher.h"
#include "app/BrApp.h"
#include "archive/ArchiveWriter.h"
#include "browser/BrView.h"
#include "forms/FormButton.h"
#include "forms/FormTextField.h"
#include "frame/MainFrame.h"
#include "framework/FrameLayout.h"
#include "framework/Gdi.h"
#include "framework/GdiCanvas.h"
#include "framework/ScrollView.h"
#include "framework/Text.h"
#include "game/SaveFile.h"
#include "html/PageHost.h"
#include "resource.h"

namespace {

// A key pressed in a window, taken as the program's message loop takes it:
// the window and its parents see it first (a dialog's Enter and Escape).
void PressKey(HWND window, UINT key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        bool taken = false;
        for (HWND hwnd = message.hwnd; hwnd != nullptr && !taken; hwnd = GetParent(hwnd)) {
            CWnd* owner = CWnd::FromHandle(hwnd);
            taken = owner != nullptr && owner->PreTranslateMessage(message);
        }
        if (!taken) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool Shown(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The browser on a world with forms: two forms of a text field and a reset
// button each, and the search page with its template.
class Forms : public Browser {
  protected:
    Forms() {
        WriteTextArchive(
            {{"form.htm", Bytes("<title>Form</title><body><a href=\"b.htm\">bbbb</a><br>"
                                "<form><input type=\"text\" name=\"keyword\" value=\"k1\">"
                                "<input type=\"reset\"></form>"
                                "<form><input type=\"text\" name=\"other\" value=\"o1\">"
                                "<input type=\"reset\"></form>")},
             {"Search.htm", Bytes("<title>Search</title><body>"
                                  "<form><input type=\"text\" name=\"keyword\"></form><!>")},
             {"search.txt", Bytes("△http://b.example/\r\n□b.htm\r\n○fog\r\n☆B\r\n□ＮＥＸＴ\r\n")}});
    }

    // The windows of the current page's controls: form `group`, its
    // `index`th text field or button.
    CFormTextField& Field(size_t group, size_t index) {
        const FormTextField& field = *view().currentPage()->forms().at(group)->fields.at(index);
        return static_cast<CFormTextField&>(*field.window);
    }
    CFormButton& Button(size_t group, size_t index) {
        const FormButton& button = *view().currentPage()->forms().at(group)->buttons.at(index);
        return static_cast<CFormButton&>(*button.window);
    }
};

TEST(FrameLayoutArithmetic, BarsPeelOffTheClientAreaInTheirOrder) {
    const std::vector<DockedBar> bars = {{DockedBar::Edge::Bottom, 20, true},
                                         {DockedBar::Edge::Top, 25, true},
                                         {DockedBar::Edge::Top, 40, false},
                                         {DockedBar::Edge::Top, 30, true}};
    const FrameLayout layout = LayoutFrame({0, 0, 800, 600}, bars);
    EXPECT_EQ(layout.bars[0], (Rect{0, 580, 800, 600}));
    EXPECT_EQ(layout.bars[1], (Rect{0, 0, 800, 25}));
    EXPECT_TRUE(layout.bars[2].IsEmpty());
    EXPECT_EQ(layout.bars[3], (Rect{0, 25, 800, 55}));
    EXPECT_EQ(layout.view, (Rect{0, 55, 800, 580}));
    // Bars never take more than there is.
    const FrameLayout tiny = LayoutFrame({0, 0, 100, 30}, bars);
    EXPECT_EQ(tiny.view.height(), 0);
    EXPECT_GE(tiny.view.top, 0);
}

TEST_F(Browser, OpensTheHomePageAndSavesAtOnce) {
    Open();
    EXPECT_EQ(CurrentTitle(), "Top");
    EXPECT_TRUE(view().pageReady());
    EXPECT_EQ(frame().statusText(), "ページが表示されました。");
    wchar_t title[256];
    GetWindowTextW(frame().GetSafeHwnd(), title, 256);
    EXPECT_EQ(std::wstring(title), L"Top - Brivane");
    EXPECT_TRUE(frame().IsVisited("OTOP.HTM"));
    EXPECT_TRUE(messages_.Messages().empty());
    // The first run wrote the window places and a save file.
    EXPECT_NE(app_->GetProfileInt("settings", "mainx", -1), -1);
    EXPECT_NE(app_->GetProfileInt("settings", "likey", -12345), -12345);
    const auto file = ReadBytes(std::filesystem::path(SaveFilePath()).string());
    ASSERT_GE(file.size(), GameState::kSize);
    const auto saved = DecodeSaveFile(file.data(), file.size());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->state.homePage.str(), "otop.htm");
    EXPECT_EQ(saved->visited, std::vector<std::string>{"otop.htm"});
}

TEST_F(Browser, AMissingPageIsWhiteAndEveryPageHasItsSound) {
    Open();
    EXPECT_EQ(view().soundPlayer().fileName(), "wave\\0000.wav");
    const auto pixel = [&] {
        RedrawWindow(view().GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetDC(view().GetSafeHwnd());
        const COLORREF colour = GetPixel(dc, 300, 300);
        ReleaseDC(view().GetSafeHwnd(), dc);
        return colour;
    };
    view().OpenPage("osyo.htm", CBrView::OpenMode::New);
    EXPECT_EQ(view().soundPlayer().fileName(), "wave\\0001.wav");
    EXPECT_EQ(pixel(), RGB(0, 0, 0));
    // Not the dark page's pixels: a page the archive lacks is empty and white.
    view().OpenPage("nowhere.htm", CBrView::OpenMode::New);
    EXPECT_EQ(pixel(), RGB(255, 255, 255));
    EXPECT_EQ(CurrentName(), "nowhere.htm");
    EXPECT_EQ(view().soundPlayer().fileName(), "wave\\0000.wav");
}

TEST_F(Browser, WithoutAPageBitmapPagesAreStillLaidOutAndTheirLinksWork) {
    Open();
    view().DiscardPageBitmap();
    view().OpenPage("otop.htm", CBrView::OpenMode::New);
    EXPECT_EQ(CurrentTitle(), "Top");
    ASSERT_EQ(view().currentPage()->links().size(), 2u);
    Click("b.htm");
    EXPECT_EQ(CurrentTitle(), "Page B");
}

// velrender lays pages out for an inside of a given width; rules measure
// the view's window, edges and bars included, so the two must agree.
TEST_F(Browser, TheViewWindowIsItsInsidePlusItsEdgesAsThePreviewAssumes) {
    Open();
    view().OpenPage("otop.htm", CBrView::OpenMode::New);
    const bool bar = (GetWindowLongPtrW(view().GetSafeHwnd(), GWL_STYLE) & WS_VSCROLL) != 0;
    const int inside = view().ClientRect().right + (bar ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    EXPECT_EQ(view().ViewWindowWidth(), CScrollView::WindowWidthFor(inside));
    EXPECT_GT(view().ViewWindowWidth(), inside);
}

TEST_F(Browser, PrintingAsksThePlatformAndTheBrowserGoesOn) {
    Open();
    // Without a printer the platform says so; the player's OK ends it.
    WindowWatcher noPrinter(L"#32770", L"印刷",
                            [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); });
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_FILE_PRINT, 0);
    noPrinter.Stop();
    noPrinter.Finish();
    // New, preview and the two reserved commands do nothing at all.
    for (UINT command :
         {ID_FILE_NEW, ID_FILE_PRINT_PREVIEW, ID_VIEW_RESERVED_A, ID_VIEW_RESERVED_B}) {
        SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, command, 0);
    }
    EXPECT_EQ(view().history().size(), 1u);
    Click("a.htm");
    EXPECT_EQ(CurrentTitle(), "Page A");
}

TEST_F(Browser, ClicksFollowLinksAndTheHistoryGoesBackAndForth) {
    Open();
    Click("a.htm");
    EXPECT_EQ(CurrentTitle(), "Page A");
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_GO_BACK, 0);
    EXPECT_EQ(CurrentTitle(), "Top");
    EXPECT_EQ(view().history().size(), 2u);
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_GO_FORWARD, 0);
    EXPECT_EQ(CurrentTitle(), "Page A");
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_GO_BACK, 0);
    // A new page after going back drops the forward entry.
    Click("b.htm");
    EXPECT_EQ(CurrentTitle(), "Page B");
    EXPECT_EQ(view().history().size(), 2u);
    EXPECT_FALSE(view().history().CanGoForward());
    // Opening a page twice appends twice.
    view().OpenPage("b.htm", CBrView::OpenMode::New);
    EXPECT_EQ(view().history().size(), 3u);
    EXPECT_TRUE(frame().IsVisited("A.HTM"));
    EXPECT_TRUE(frame().IsVisited("b.htm"));
}

TEST_F(Browser, ALinkIsActivatedOnlyWhereThePressStartedOrTheLastHoverWas) {
    Open();
    // Press on one link, release on another: the move made the second one hot.
    Mouse(WM_MOUSEMOVE, "a.htm");
    Mouse(WM_LBUTTONDOWN, "a.htm");
    Mouse(WM_MOUSEMOVE, "b.htm");
    Mouse(WM_LBUTTONUP, "b.htm");
    EXPECT_EQ(CurrentTitle(), "Page B");

    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_GO_BACK, 0);
    // A release on a link other than the hot one does nothing.
    Mouse(WM_LBUTTONDOWN, "a.htm");
    Mouse(WM_LBUTTONUP, "b.htm");
    EXPECT_EQ(CurrentTitle(), "Top");
    // Pressing outside any link keeps the link last hovered hot.
    Mouse(WM_MOUSEMOVE, "a.htm");
    SendMessageW(view().GetSafeHwnd(), WM_LBUTTONDOWN, 0, MAKELPARAM(600, 400));
    Mouse(WM_LBUTTONUP, "a.htm");
    EXPECT_EQ(CurrentTitle(), "Page A");
}

TEST_F(Browser, ThePointerOverALinkShowsItsAddress) {
    Open();
    Mouse(WM_MOUSEMOVE, "a.htm");
    EXPECT_EQ(frame().statusText(), "nofile");  // no page table yet
    SendMessageW(view().GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(700, 500));
    EXPECT_EQ(frame().statusText(), "");
}

TEST_F(Browser, BarsToggleWithTheirSettingsAndCheckMarks) {
    Open();
    GameState& settings = app_->settings;
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    EXPECT_FALSE(frame().statusBarShown());
    EXPECT_EQ(settings.statusBarVisible, 0);
    HMENU view = GetSubMenu(GetMenu(frame().GetSafeHwnd()), 2);
    SendMessageW(frame().GetSafeHwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 2);
    EXPECT_FALSE(GetMenuState(view, ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(view, ID_VIEW_ADDRESSBAR, MF_BYCOMMAND) & MF_CHECKED);
    // Progress calls do nothing while the status bar is hidden.
    frame().EnableProgress(true);
    frame().SetProgressRange(0, 10);
    frame().SetProgressPos(7);
    EXPECT_EQ(SendMessageW(frame().progress(), PBM_GETPOS, 0, 0), 0);
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    EXPECT_EQ(settings.statusBarVisible, 1);
    frame().SetProgressRange(0, 10);
    frame().SetProgressPos(7);
    EXPECT_EQ(SendMessageW(frame().progress(), PBM_GETPOS, 0, 0), 7);
    frame().EnableProgress(false);

    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_VIEW_ADDRESSBAR, 0);
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_VIEW_ADDRESSBAR, 0);
    EXPECT_TRUE(frame().addressBarShown());
    EXPECT_EQ(settings.addressBarVisible, 1);
}

TEST_F(Browser, TheProgressControlStaysCentredAndAtZeroInANarrowFrame) {
    Open();
    frame().EnableProgress(true);
    MoveWindow(frame().GetSafeHwnd(), 0, 0, 600, 400, TRUE);
    frame().SetProgressPos(1);
    RECT progress;
    GetWindowRect(frame().progress(), &progress);
    RECT window;
    GetWindowRect(frame().GetSafeHwnd(), &window);
    POINT at{progress.left, progress.top};
    ScreenToClient(GetParent(frame().progress()), &at);
    EXPECT_EQ(at.x, (600 - 180) / 2);
    EXPECT_EQ(progress.right - progress.left, 180);
    MoveWindow(frame().GetSafeHwnd(), 0, 0, 150, 300, TRUE);
    frame().SetProgressPos(2);
    GetWindowRect(frame().progress(), &progress);
    at = {progress.left, progress.top};
    ScreenToClient(GetParent(frame().progress()), &at);
    EXPECT_EQ(at.x, 0);
    frame().EnableProgress(false);
}

TEST_F(Browser, MenuPromptsShowInTheStatusBar) {
    Open();
    HMENU menu = GetMenu(frame().GetSafeHwnd());
    SendMessageW(frame().GetSafeHwnd(), WM_MENUSELECT, MAKEWPARAM(ID_VIEW_ADDRESSBAR, MF_STRING),
                 reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(frame().statusText(), "ｱﾄﾞﾚｽ ﾊﾞｰの表示/非表示");
    SendMessageW(frame().GetSafeHwnd(), WM_MENUSELECT, MAKEWPARAM(ID_VIEW_TOOLBAR, MF_STRING),
                 reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(frame().statusText(), "ﾂｰﾙ ﾊﾞｰの表示/非表示");
    SendMessageW(frame().GetSafeHwnd(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(frame().statusText(), "");
}

TEST_F(Browser, TheLogoShowsFortySevenFramesInTurn) {
    Open();
    const int start = CMainFrame::nextLogoFrame();
    for (int i = 0; i < 47; ++i) {
        frame().DrawLogoFrame();
        EXPECT_LT(CMainFrame::nextLogoFrame(), 47);
    }
    EXPECT_EQ(CMainFrame::nextLogoFrame(), start);
    EXPECT_EQ(frame().GetTextSizeOffset(), -3);
}

TEST_F(Browser, EverythingComesBackAfterARestart) {
    Open();
    Click("a.htm");
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_VIEW_STATUS_BAR, 0);
    MoveWindow(frame().GetSafeHwnd(), 40, 30, 500, 400, TRUE);
    app_->settings.killerCounter = 7;
    Close();  // saves on the way out

    Open();
    EXPECT_FALSE(frame().statusBarShown());
    EXPECT_TRUE(frame().IsVisited("a.htm"));
    EXPECT_EQ(app_->settings.killerCounter, 7u);
    RECT window;
    GetWindowRect(frame().GetSafeHwnd(), &window);
    EXPECT_EQ(window.left, 40);
    EXPECT_EQ(window.right - window.left, 500);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(SaveFilePath() + L".new")));
}

// The stage of the save file at `path`, or -1 when it does not decode.
int SavedStage(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path.string());
    const std::optional<SaveData> saved = DecodeSaveFile(bytes.data(), bytes.size());
    return saved ? static_cast<int>(saved->state.disclosureStage) : -1;
}

// Dates the file at `path` an hour before the one at `other` was written.
void WriteAnHourBefore(const std::filesystem::path& path, const std::filesystem::path& other) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(other.c_str(), GetFileExInfoStandard, &data));
    ULARGE_INTEGER time{};
    time.LowPart = data.ftLastWriteTime.dwLowDateTime;
    time.HighPart = data.ftLastWriteTime.dwHighDateTime;
    time.QuadPart -= 36'000'000'000ULL;  // in 100-nanosecond steps
    const FILETIME earlier{time.LowPart, time.HighPart};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &earlier));
    CloseHandle(file);
}

TEST_F(Browser, WhereTheWindowsDirectoryTakesNoSaveTheGameGoesOnFromTheUserFolder) {
    const std::filesystem::path windowsSave(SaveFilePath());
    const std::filesystem::path userSave = UserSaveFolder() / "velmora.dat";
    // A folder in the save file's place: nothing can be written there.
    std::filesystem::create_directory(windowsSave);
    Open();
    Click("a.htm");
    view().bookmarks().AddCurrentPage();
    app_->settings.disclosureStage = 3;
    Close();
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(SavedStage(userSave), 3);
    // The save written beside the blocked one went again.
    EXPECT_FALSE(std::filesystem::exists(windowsSave.parent_path() / "velmora.tmp"));

    Open();
    EXPECT_EQ(app_->settings.disclosureStage, 3u);
    EXPECT_TRUE(frame().IsVisited("a.htm"));
    ASSERT_EQ(view().favourites().size(), 1u);
    EXPECT_EQ(view().favourites()[0].fileName, "a.htm");
    app_->settings.disclosureStage = 4;
    Click("a.htm");
    EXPECT_EQ(SavedStage(userSave), 4);
    Close();

    // The Windows directory takes saves again, but holds an older game: the
    // newer one in the user folder goes on, and the next save goes back to
    // the Windows directory.
    std::filesystem::remove(windowsSave);
    SaveData older;
    older.state = GameState::NewGame();
    older.state.disclosureStage = 1;
    WriteBytes(windowsSave.string(), EncodeSaveFile(older));
    WriteAnHourBefore(windowsSave, userSave);
    Open();
    EXPECT_EQ(app_->settings.disclosureStage, 4u);
    EXPECT_EQ(SavedStage(windowsSave), 4);
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(Browser, WhenNoPlaceTakesTheSaveThePlayerIsToldOnceWithTheFolderAndPlayGoesOn) {
    const std::filesystem::path userSave = UserSaveFolder() / "velmora.dat";
    // A last good save in the user folder, then both places blocked: the
    // Windows directory by a folder in the file's place, the user folder by a
    // folder where its saves are written first.
    std::filesystem::create_directory(std::filesystem::path(SaveFilePath()));
    Open();
    app_->settings.disclosureStage = 2;
    Close();
    ASSERT_EQ(SavedStage(userSave), 2);
    const std::vector<uint8_t> lastGood = ReadBytes(userSave.string());
    std::filesystem::create_directory(UserSaveFolder() / "velmora.tmp");

    Open();
    ASSERT_EQ(messages_.Messages().size(), 1u);
    const std::string& told = messages_.Messages()[0];
    EXPECT_NE(told.find(Narrow(UserSaveFolder().wstring())), std::string::npos) << told;
    app_->settings.disclosureStage = 3;
    Click("a.htm");
    Click("otop.htm");
    EXPECT_EQ(CurrentName(), "otop.htm");
    EXPECT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(ReadBytes(userSave.string()), lastGood);
    Close();
    EXPECT_EQ(messages_.Messages().size(), 1u);

    // The next run tells it again.
    Open();
    EXPECT_EQ(messages_.Messages().size(), 2u);
    EXPECT_EQ(app_->settings.disclosureStage, 2u);
}

TEST_F(Browser, ASaveCutShortByAKillIsClearedAwayByTheNextSave) {
    const std::filesystem::path windows = std::filesystem::path(SaveFilePath()).parent_path();
    WriteBytes((windows / "velmora.tmp").string(), std::vector<uint8_t>(100, 0xEE));
    Open();
    EXPECT_FALSE(std::filesystem::exists(windows / "velmora.tmp"));
    EXPECT_EQ(SavedStage(windows / "velmora.dat"), 0);
    EXPECT_FALSE(std::filesystem::exists(UserSaveFolder() / "velmora.dat"));
}

TEST_F(Browser, APlaceOffTheScreenIsIgnoredAndADamagedSaveFileStillStarts) {
    Open();
    Close();
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Korvex\\Ｖｅｌｍｏｒａ\\settings", 0,
                            KEY_WRITE, &key),
              ERROR_SUCCESS);
    const DWORD offScreen = static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN));
    RegSetValueExW(key, L"mainx", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&offScreen), 4);
    RegSetValueExW(key, L"likex", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&offScreen), 4);
    RegCloseKey(key);
    // A save file whose counts promise far more than it holds.
    SaveData data;
    data.state = GameState::NewGame();
    data.visited = {"a.htm"};
    std::vector<uint8_t> bytes = EncodeSaveFile(data);
    bytes[848] = bytes[849] = bytes[850] = bytes[851] = 0xFF;
    bytes[840] = bytes[841] = bytes[842] = bytes[843] = 0xFF;
    WriteBytes(std::filesystem::path(SaveFilePath()).string(), bytes);

    Open();
    EXPECT_EQ(CurrentTitle(), "Top");
    EXPECT_EQ(view().favouritesPosition().x, 0);
    RECT window;
    GetWindowRect(frame().GetSafeHwnd(), &window);
    EXPECT_LT(window.left, GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(Forms, EnterInATextFieldSearchesItsTextAndAnEmptyFieldDoesNothing) {
    Open();
    view().OpenPage("form.htm", CBrView::OpenMode::New);
    HWND edit = Field(1, 0).edit();
    // Not the page's value: the words of the last search, here none.
    EXPECT_EQ(TextOf(edit), L"");
    PressKey(edit, VK_RETURN);
    PressKey(edit, VK_ESCAPE);
    EXPECT_EQ(CurrentName(), "form.htm");
    EXPECT_TRUE(Shown(Field(1, 0).GetSafeHwnd()));

    // The input method is on while a field has the focus.
    SetFocus(edit);
    HIMC context = ImmGetContext(edit);
    EXPECT_TRUE(ImmGetOpenStatus(context));
    SetFocus(view().GetSafeHwnd());
    EXPECT_FALSE(ImmGetOpenStatus(context));
    ImmReleaseContext(edit, context);

    // Any field searches, whatever its name.
    SetWindowTextW(edit, L"fog");
    PressKey(edit, VK_RETURN);
    EXPECT_EQ(CurrentName(), "Search.htm");
    EXPECT_EQ(view().lastKeyword(), "fog");
    EXPECT_EQ(TextOf(Field(0, 0).edit()), L"fog");
    EXPECT_EQ(view().currentPage()->LinkTargets(), std::vector<std::string>{"b.htm"});
    EXPECT_FALSE(Shown(GetParent(edit)));  // the page left
}

TEST_F(Forms, AResetButtonRestoresItsOwnFormOnly) {
    Open();
    view().OpenPage("form.htm", CBrView::OpenMode::New);
    SetWindowTextW(Field(0, 0).edit(), L"typed");
    SetWindowTextW(Field(1, 0).edit(), L"typed too");
    SendMessageW(Button(1, 0).button(), BM_CLICK, 0, 0);
    EXPECT_EQ(TextOf(Field(1, 0).edit()), L"o1");
    EXPECT_EQ(TextOf(Field(0, 0).edit()), L"typed");
    EXPECT_EQ(TextOf(Button(1, 0).button()), L"リセット");
    EXPECT_EQ(CurrentName(), "form.htm");
}

TEST_F(Forms, ControlsHideWhenThePageIsLeftAndComeBackWithIt) {
    Open();
    view().OpenPage("form.htm", CBrView::OpenMode::New);
    const HWND field = Field(0, 0).GetSafeHwnd();
    const HWND button = Button(1, 0).GetSafeHwnd();
    RECT before;
    GetWindowRect(field, &before);
    EXPECT_TRUE(Shown(field));
    EXPECT_EQ(GetParent(field), view().GetSafeHwnd());
    Click("b.htm");
    EXPECT_EQ(CurrentName(), "b.htm");
    EXPECT_FALSE(Shown(field));
    EXPECT_FALSE(Shown(button));
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_GO_BACK, 0);
    EXPECT_EQ(CurrentName(), "form.htm");
    EXPECT_EQ(Field(0, 0).GetSafeHwnd(), field);  // the same windows, not new ones
    EXPECT_TRUE(Shown(field));
    EXPECT_TRUE(Shown(button));
    RECT after;
    GetWindowRect(field, &after);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.left, before.left);
    // As tall as the template's edit control, as wide as 20 characters.
    const Rect& place = view().currentPage()->forms().at(0)->fields.at(0)->rect;
    EXPECT_EQ(after.bottom - after.top, place.height());
    EXPECT_EQ(after.right - after.left, 160);
}

// A session of its own with real form controls in a window, whose host
// answers the password prompt: the password dialog stands in for it.
class FormSubmit : public ::testing::Test, public SessionHost, public FakeHost {
  protected:
    FormSubmit() {
        WriteBytes(dir_.File("Text.arc"),
                   *BuildArchive({{"p.htm", Bytes("<form><input type=\"submit\" "
                                                  "name=\"tou0301.htm\" value=\"go\"></form>")},
                                  {"tou0301.htm", Bytes("<title>record</title>")}}));
        text_.Open(dir_.File("Text.arc"));
        parent_.CreateEx(0, L"forms", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr);
        session_.OpenPage("p.htm", BrowserSession::OpenMode::New);
    }

    // SessionHost
    void SetStatusText(const std::string&) override {}
    void HidePageControls(TokenList& page) override { page.HideFormControls(); }
    void LayoutDiscarded(TokenList&) override {}
    void HistoryChanged() override {}
    void ShowCurrentPage() override {
        MemoryDC dc(nullptr);
        GdiCanvas canvas(dc.get());
        session_.currentPage()->ResetLayout();
        session_.currentPage()->RenderPage(canvas);
    }
    void ShowAddress(const std::string&) override {}
    void PlayPageSound(const std::string&) override {}
    void ScrollToTop() override {}
    void SaveGame() override {}
    void PlayScene(ScenarioKind, int) override {}
    bool AskPassword(int slot) override {
        asked_.push_back(slot);
        return accept_;
    }
    void OfferDownload(const std::string&) override {}
    bool RunPluginSetup() override { return false; }

    // PageHost: real buttons in the window.
    std::unique_ptr<FormControlWindow> CreateButton(FormButton& button) override {
        return CFormButton::Make(parent_.GetSafeHwnd(), button, session_);
    }

    HWND SubmitButton() {
        const FormButton& button = *session_.currentPage()->forms().at(0)->buttons.at(0);
        return static_cast<CFormButton&>(*button.window).button();
    }

    TempDir dir_;
    Archive text_;
    CWnd parent_;
    GameState state_ = GameState::NewGame();
    VisitedList visited_;
    BrowserSession session_{state_, visited_, text_, *this, this};
    std::vector<int> asked_;
    bool accept_ = false;
};

TEST_F(FormSubmit, ASubmitToAProtectedPageAsksForItsPassword) {
    SendMessageW(SubmitButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(asked_, std::vector<int>{3});
    EXPECT_EQ(session_.currentPage()->name(), "p.htm");
    accept_ = true;
    SendMessageW(SubmitButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(asked_, (std::vector<int>{3, 3}));
    EXPECT_EQ(session_.currentPage()->name(), "tou0301.htm");
}

}  // namespace
