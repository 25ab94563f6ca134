#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BrowserFixture.h"
#include "dialogs/DownloadDlg.h"
#include "dialogs/FavouriteDlgs.h"
#include "dialogs/PluginSetupDlg.h"
#include "framework/Text.h"
#include "game/Download.h"
#include "game/Favourites.h"
#include "game/StoryRules.h"
#include "resource.h"

namespace {

// The shown top-level dialog titled `title`, or owned by `owner`; waits up
// to 30 seconds, then gives null.
HWND WaitForDialog(const wchar_t* title, HWND owner = nullptr) {
    struct Search {
        const wchar_t* title;
        HWND owner;
        HWND found;
    } search{title, owner, nullptr};
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        EnumWindows(
            [](HWND hwnd, LPARAM lParam) CALLBACK -> BOOL {
                auto* s = reinterpret_cast<Search*>(lParam);
                wchar_t text[256] = {};
                wchar_t kind[32] = {};
                GetWindowTextW(hwnd, text, 256);
                GetClassNameW(hwnd, kind, 32);
                const bool matches = s->title != nullptr ? std::wstring(text) == s->title
                                                         : GetWindow(hwnd, GW_OWNER) == s->owner;
                if (matches && std::wstring(kind) == L"#32770" && IsWindowVisible(hwnd)) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        Sleep(20);
    }
    return nullptr;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

// A button press as the dialog manager passes it on.
void Press(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Plays the player's part on another thread while the test's thread runs a
// modal loop; what it saw is read after Finish.
class Player {
  public:
    explicit Player(std::function<void()> part) : thread_(std::move(part)) {}
    ~Player() { Finish(); }
    void Finish() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

  private:
    std::thread thread_;
};

// Types `path` into the save dialog owned by `owner` and confirms it.
bool SaveAs(HWND owner, const std::wstring& path) {
    HWND save = WaitForDialog(nullptr, owner);
    if (save == nullptr) {
        return false;
    }
    // The file name box: a combo box's edit in the Explorer style, or an edit.
    for (int id : {1148, 1152}) {
        if (HWND box = GetDlgItem(save, id)) {
            SetWindowTextW(box, path.c_str());
        }
    }
    PostMessageW(save, WM_COMMAND, IDOK, 0);
    return true;
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files.push_back(entry.path().filename());
    }
    return files;
}

// The browser on a world with a page of downloads and the plug-in link.
class Keepsakes : public Browser {
  protected:
    Keepsakes() {
        WriteTextArchive({{"dl.htm", Bytes("<title>Downloads</title><body>"
                                           "<a href=\"wall01.htm\">wall one</a><br>"
                                           "<a href=\"wall02.htm\">wall two</a><br>"
                                           "<a href=\"plugin\">plug-in</a><br>")}});
        WriteBytes(dir_.File("ex.arc"), *BuildArchive({{"wall01.bmp", wallpaper_}}));
        std::filesystem::create_directory(dir_.File("out"));
    }

    std::wstring OutPath(const std::string& name) { return Widen(dir_.File("out\\" + name)); }

    const std::vector<uint8_t> wallpaper_ = RandomBytes(70000, 3, 7);
};

TEST_F(Keepsakes, AWallpaperIsSavedWhereThePlayerSaysWithTheArchivesBytes) {
    Open();
    view().OpenPage("dl.htm", CBrView::OpenMode::New);
    std::wstring shown;
    std::wstring done;
    bool typed = false;
    Player player([&] {
        HWND download = WaitForDialog(L"ファイルのダウンロード");
        if (download == nullptr) {
            return;
        }
        shown = TextOf(GetDlgItem(download, IDC_DOWNLOAD_FILE));
        PostMessageW(download, WM_COMMAND, MAKEWPARAM(IDC_DOWNLOAD_OK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(download, IDC_DOWNLOAD_OK)));
        typed = SaveAs(download, OutPath("saved.bmp"));
        // Told only once the file is whole, in a box of the download dialog.
        HWND box = WaitForDialog(L"Brivane");
        if (box != nullptr && GetWindow(box, GW_OWNER) == download) {
            done = TextOf(GetDlgItem(box, 0xFFFF));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    Click("wall01.htm");
    player.Finish();
    EXPECT_EQ(shown, L"wall01.bmp");
    EXPECT_TRUE(typed);
    EXPECT_EQ(done, Widen(kDownloadDoneText));
    EXPECT_EQ(ReadBytes(dir_.File("out\\saved.bmp")), wallpaper_);
    EXPECT_EQ(FilesIn(dir_.File("out")), std::vector<std::filesystem::path>{"saved.bmp"});
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_EQ(CurrentName(), "dl.htm");
    EXPECT_EQ(view().history().size(), 2u);
}

TEST_F(Keepsakes, AFailedDownloadIsToldAndLeavesNoFileBehind) {
    Open();
    view().OpenPage("dl.htm", CBrView::OpenMode::New);
    // An entry ex.arc does not hold, then a place no file can be written to
    // (the root of the system's process table), then a cancelled save dialog.
    const std::vector<std::pair<std::string, std::wstring>> tries = {
        {"wall02.htm", OutPath("missing.bmp")},
        {"wall01.htm", L"Z:\\proc\\velmora-wall01.bmp"},
        {"wall01.htm", L""}};
    for (const auto& [link, path] : tries) {
        bool closed = false;
        Player player([&, path = path] {
            HWND download = WaitForDialog(L"ファイルのダウンロード");
            if (download == nullptr) {
                return;
            }
            PostMessageW(download, WM_COMMAND, IDOK, 0);  // Enter
            if (path.empty()) {
                if (HWND save = WaitForDialog(nullptr, download)) {
                    PostMessageW(save, WM_COMMAND, IDCANCEL, 0);
                }
            } else {
                SaveAs(download, path);
            }
            const DWORD start = GetTickCount();
            while (IsWindow(download) && GetTickCount() - start < 30000) {
                Sleep(20);
            }
            closed = !IsWindow(download);
        });
        Click(link);
        player.Finish();
        EXPECT_TRUE(closed) << link;
    }
    EXPECT_EQ(messages_.Messages(),
              (std::vector<std::string>(2, std::string(kDownloadFailedText))));
    EXPECT_TRUE(FilesIn(dir_.File("out")).empty());
    EXPECT_FALSE(std::filesystem::exists("Z:\\proc\\velmora-wall01.bmp"));
}

// The folder the save dialog `save` shows, as it names it.
std::wstring FolderShown(HWND save) {
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(save, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return folder;
}

// Waits up to 30 seconds for `save` to show a folder whose name ends in `tail`.
bool WaitForFolder(HWND save, const std::wstring& tail) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        const std::wstring folder = FolderShown(save);
        if (folder.size() >= tail.size() &&
            folder.compare(folder.size() - tail.size(), tail.size(), tail) == 0) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

// The edit of the save dialog's name box.
HWND NameEdit(HWND save) {
    return reinterpret_cast<HWND>(SendDlgItemMessageW(save, cmb13, CBEM_GETEDITCONTROL, 0, 0));
}

// Selects the first entry of the save dialog's file list, as a click does.
bool SelectFirstEntry(HWND save) {
    HWND list = FindWindowExW(GetDlgItem(save, lst2), nullptr, WC_LISTVIEWW, nullptr);
    const DWORD start = GetTickCount();
    while (list != nullptr && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0 &&
           GetTickCount() - start < 30000) {
        Sleep(20);
    }
    if (list == nullptr || SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0) {
        return false;
    }
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    return SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

TEST(DownloadFolder, TheWindowsDirectoryOnlyWhereAFileCanBeMadeThereElsePictures) {
    EXPECT_EQ(InitialDownloadFolder(L"C:\\windows", true, L"C:\\p\\Pictures"), L"C:\\windows");
    EXPECT_EQ(InitialDownloadFolder(L"C:\\windows", false, L"C:\\p\\Pictures"), L"C:\\p\\Pictures");
    EXPECT_EQ(InitialDownloadFolder(L"C:\\windows", false, L""), L"");
    // The dialog's path holds the folder, a backslash unless it ends in one,
    // the name and the terminating zero: 260 characters.
    EXPECT_EQ(DownloadNameRoom(L"C:\\windows"), 248u);
    EXPECT_EQ(DownloadNameRoom(L"C:\\"), 256u);
    EXPECT_EQ(DownloadNameRoom(std::wstring(258, L'x')), 1u);  // never 0: no limit at all
}

TEST_F(Keepsakes, ANameTooLongForTheSaveDialogsPathIsCutToWhatItsFolderLeaves) {
    Open();
    view().OpenPage("dl.htm", CBrView::OpenMode::New);
    std::filesystem::create_directory(dir_.File("out\\deeper"));
    std::wstring first;
    std::wstring out;
    std::wstring deeper;
    size_t typedInOut = 0;
    size_t leftInDeeper = 0;
    std::wstring done;
    Player player([&] {
        HWND download = WaitForDialog(L"ファイルのダウンロード");
        if (download == nullptr) {
            return;
        }
        PostMessageW(download, WM_COMMAND, IDOK, 0);
        HWND save = WaitForDialog(nullptr, download);
        if (save == nullptr) {
            return;
        }
        // Each step waits for the one before; one that fails cancels, which
        // ends both dialogs.
        const auto walk = [&] {
            first = FolderShown(save);
            // A folder's path typed and confirmed takes the dialog there.
            SetDlgItemTextW(save, cmb13, OutPath("").c_str());
            PostMessageW(save, WM_COMMAND, IDOK, 0);
            if (!WaitForFolder(save, L"\\out")) {
                return false;
            }
            out = FolderShown(save);
            HWND edit = NameEdit(save);
            for (int i = 0; i < 300; ++i) {
                SendMessageW(edit, WM_CHAR, L'a', 1);
            }
            typedInOut = static_cast<size_t>(GetWindowTextLengthW(edit));
            // Into the folder picked from the list: the name stays, cut to fit.
            if (!SelectFirstEntry(save)) {
                return false;
            }
            PostMessageW(save, WM_COMMAND, IDOK, 0);
            if (!WaitForFolder(save, L"\\deeper")) {
                return false;
            }
            deeper = FolderShown(save);
            leftInDeeper = static_cast<size_t>(GetWindowTextLengthW(edit));
            return true;
        };
        if (!walk()) {
            PostMessageW(save, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        PostMessageW(save, WM_COMMAND, IDOK, 0);
        if (HWND box = WaitForDialog(L"Brivane")) {
            done = TextOf(GetDlgItem(box, 0xFFFF));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    Click("wall01.htm");
    player.Finish();
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(lstrcmpiW(first.c_str(), windows), 0) << Narrow(first);
    ASSERT_FALSE(deeper.empty());
    EXPECT_EQ(out.size() + 1 + typedInOut + 1, size_t{MAX_PATH});
    EXPECT_EQ(deeper.size() + 1 + leftInDeeper + 1, size_t{MAX_PATH});
    EXPECT_EQ(done, Widen(kDownloadDoneText));
    EXPECT_EQ(ReadBytes(dir_.File("out\\deeper\\" + std::string(leftInDeeper, 'a'))), wallpaper_);
}

TEST_F(Keepsakes, ThePlugInSetUpRunsToNinetyNineOnceAndOnlyOKInstallsIt) {
    Open();
    view().OpenPage("dl.htm", CBrView::OpenMode::New);
    // The dialog alone: a second OK while it runs does nothing.
    uint32_t now = 0;
    int waits = 0;
    std::atomic<HWND> running = nullptr;
    std::vector<int> seen;
    CPluginSetupDlg dialog(frame().GetSafeHwnd(),
                           {[&] { return now; },
                            [&] {
                                ++now;
                                if (++waits == 500) {
                                    SendMessageW(running, WM_COMMAND, IDOK, 0);
                                }
                                seen.push_back(static_cast<int>(SendDlgItemMessageW(
                                    running, IDC_PLUGIN_PROGRESS, PBM_GETPOS, 0, 0)));
                            }});
    {
        Player player([&] {
            running = WaitForDialog(L"プラグインセットアップ");
            PostMessageW(running, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_EQ(dialog.position(), 99);
    EXPECT_EQ(now, 30u * 51 + 70u * 71);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(messages_.Messages(), std::vector<std::string>{std::string(kPluginInstalledText)});
    messages_.Messages().clear();

    // Through the link: Cancel installs nothing but counts as a visit; OK
    // installs it; then the link only says so.
    uint32_t clock = 0;
    view().SetPluginPacing({[&] { return clock; }, [&] { clock += 10; }});
    app_->settings.killerCounter = 2;
    for (int answer : {IDCANCEL, IDOK}) {
        Player player([answer] {
            PostMessageW(WaitForDialog(L"プラグインセットアップ"), WM_COMMAND, answer, 0);
        });
        Click("plugin");
        player.Finish();
        EXPECT_EQ(app_->settings.pluginMissing, answer == IDOK ? 0 : 1);
        EXPECT_TRUE(frame().IsVisited("plugin"));
    }
    EXPECT_EQ(app_->settings.killerCounter, 0u);
    Click("plugin");
    EXPECT_EQ(messages_.Messages(),
              (std::vector<std::string>{std::string(kPluginInstalledText),
                                        std::string(kPluginAlreadyInstalledText)}));
    EXPECT_EQ(CurrentName(), "dl.htm");
}

// The messages a plain window received, by kind.
struct Received {
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            ++asked;
        } else if (message == WM_LBUTTONDOWN || message == WM_KEYDOWN) {
            ++input;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static inline int asked = 0;
    static inline int input = 0;
};

TEST_F(Keepsakes, ThePlugInSetUpLetsWindowsPaintAndAnswerButKeepsThePlayersInputOut) {
    Open();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Received::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VelmoraReceived";
    RegisterClassW(&windowClass);
    HWND other = CreateWindowW(L"VelmoraReceived", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
    ASSERT_NE(other, nullptr);
    Received::asked = Received::input = 0;
    HWND browser = view().GetSafeHwnd();

    uint32_t now = 0;
    int waits = 0;
    bool painted = false;
    int askedWhileRunning = -1;
    std::atomic<HWND> running = nullptr;
    CPluginSetupDlg dialog(frame().GetSafeHwnd(),
                           {[&] { return now; },
                            [&] {
                                ++now;
                                ++waits;
                                if (waits == 10) {
                                    InvalidateRect(browser, nullptr, FALSE);
                                    PostMessageW(other, WM_APP, 0, 0);
                                    PostMessageW(other, WM_LBUTTONDOWN, 0, 0);
                                    PostMessageW(other, WM_KEYDOWN, 'A', 0);
                                } else if (waits == 20) {
                                    painted = !GetUpdateRect(browser, nullptr, FALSE);
                                    askedWhileRunning = Received::asked;
                                }
                            }});
    {
        Player player([&] {
            running = WaitForDialog(L"プラグインセットアップ");
            PostMessageW(running, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_TRUE(painted);
    EXPECT_EQ(askedWhileRunning, 1);
    PumpMessages();
    EXPECT_EQ(Received::input, 0);
    EXPECT_EQ(dialog.position(), 99);
    DestroyWindow(other);
}

// The favourites menu's items after its three fixed ones: title and command.
std::vector<std::pair<std::wstring, UINT>> FavouriteItems(HWND frame) {
    HMENU menu = GetSubMenu(GetMenu(frame), 3);
    std::vector<std::pair<std::wstring, UINT>> items;
    for (int i = 3; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[300] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 300, MF_BYPOSITION);
        items.emplace_back(text, GetMenuItemID(menu, i));
    }
    return items;
}

bool StartsColumn(HWND frame, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(GetSubMenu(GetMenu(frame), 3), static_cast<UINT>(position), TRUE, &info);
    return (info.fType & MFT_MENUBARBREAK) != 0;
}

TEST_F(Keepsakes, FavouritesAreAddedOpenedFromTheMenuAndDeleted) {
    Open();
    HWND hwnd = frame().GetSafeHwnd();
    Click("a.htm");
    for (int answer : {IDCANCEL, IDOK, IDOK}) {
        Player player(
            [answer] { PostMessageW(WaitForDialog(L"お気に入りに追加"), WM_COMMAND, answer, 0); });
        SendMessageW(hwnd, WM_COMMAND, ID_FAVOURITES_ADD, 0);
    }
    const std::vector<Favourite> pageA(2, Favourite{"Page A", "", "a.htm"});
    EXPECT_EQ(view().favourites(), pageA);
    using Items = std::vector<std::pair<std::wstring, UINT>>;
    EXPECT_EQ(FavouriteItems(hwnd), (Items{{L"Page A", kFirstFavouriteCommand},
                                           {L"Page A", kFirstFavouriteCommand + 1}}));

    // Favourite 2 and Back are different commands.
    view().bookmarks().SetFavourites(
        {{"Top", "", "otop.htm"}, {"A", "", "a.htm"}, {"B", "", "b.htm"}});
    frame().RebuildFavouritesMenu();
    SendMessageW(hwnd, WM_COMMAND, kFirstFavouriteCommand + 2, 0);
    EXPECT_EQ(CurrentName(), "b.htm");
    SendMessageW(hwnd, WM_COMMAND, ID_GO_BACK, 0);
    EXPECT_EQ(CurrentName(), "a.htm");
    SendMessageW(hwnd, WM_COMMAND, kFirstFavouriteCommand + 3, 0);  // no fourth favourite
    EXPECT_EQ(CurrentName(), "a.htm");

    // Columns break at 20 and 43; past 257 favourites get no item.
    std::vector<Favourite> many;
    for (int i = 0; i < 300; ++i) {
        many.push_back({"B&" + std::to_string(i), "", "b.htm"});
    }
    view().bookmarks().SetFavourites(many);
    frame().RebuildFavouritesMenu();
    const Items items = FavouriteItems(hwnd);
    ASSERT_EQ(items.size(), kFavouriteCommands);
    EXPECT_EQ(items[7].first, L"B&&7");  // "&" shows as itself
    for (int i = 0; i < 257; ++i) {
        EXPECT_EQ(StartsColumn(hwnd, 3 + i), i == 20 || i == 43 || i == 66) << i;
        if (i == 66) {
            break;
        }
    }
    SendMessageW(hwnd, WM_COMMAND, kFirstFavouriteCommand + 256, 0);
    EXPECT_EQ(CurrentName(), "b.htm");

    // The delete dialog: one at a time, nothing without a selection, the
    // button disabled when none is left; the menu follows each deletion.
    view().bookmarks().SetFavourites({{"Top", "", "otop.htm"}, {"A", "", "a.htm"}});
    frame().RebuildFavouritesMenu();
    std::vector<size_t> menuSizes;
    bool disabledAtEnd = false;
    Player player([&] {
        HWND dialog = WaitForDialog(L"お気に入りの削除");
        HWND list = GetDlgItem(dialog, IDC_FAVOURITE_LIST);
        Press(dialog, IDC_FAVOURITE_DELETE);  // nothing selected
        menuSizes.push_back(static_cast<size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
        for (int i = 0; i < 2; ++i) {
            SendMessageW(list, LB_SETCURSEL, 1 - i, 0);
            Press(dialog, IDC_FAVOURITE_DELETE);
            menuSizes.push_back(static_cast<size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
        }
        disabledAtEnd = !IsWindowEnabled(GetDlgItem(dialog, IDC_FAVOURITE_DELETE));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageW(hwnd, WM_COMMAND, ID_FAVOURITES_DELETE, 0);
    player.Finish();
    EXPECT_EQ(menuSizes, (std::vector<size_t>{2, 1, 0}));
    EXPECT_TRUE(disabledAtEnd);
    EXPECT_TRUE(view().favourites().empty());
    EXPECT_TRUE(FavouriteItems(hwnd).empty());
}

TEST_F(Keepsakes, TheFavouritesWindowOpensWhatIsThereAndKeepsItsPlaceAcrossARestart) {
    Open();
    HWND hwnd = frame().GetSafeHwnd();
    CFavouritesWnd& window = *view().favouritesWindow();
    EXPECT_FALSE(IsWindowVisible(window.GetSafeHwnd()));
    view().bookmarks().SetFavourites({{"A", "", "a.htm"}, {"B", "", "b.htm"}});
    SendMessageW(hwnd, WM_COMMAND, ID_FAVOURITES_WINDOW, 0);
    ASSERT_TRUE(IsWindowVisible(window.GetSafeHwnd()));
    EXPECT_EQ(SendMessageW(window.list(), LB_GETCOUNT, 0, 0), 2);

    auto doubleClick = [&](int index) {
        SendMessageW(window.list(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(window.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_FAVOURITE_LIST, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(window.list()));
    };
    doubleClick(1);
    EXPECT_EQ(CurrentName(), "b.htm");
    // A list out of date never opens past the end of the favourites.
    view().bookmarks().DeleteFavourite(1);
    doubleClick(1);
    EXPECT_EQ(CurrentName(), "b.htm");
    // Nothing opens while a modal window runs.
    std::string during;
    Player player([&] {
        HWND add = WaitForDialog(L"お気に入りに追加");
        doubleClick(0);
        PostMessageW(add, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageW(hwnd, WM_COMMAND, ID_FAVOURITES_ADD, 0);
    player.Finish();
    EXPECT_EQ(CurrentName(), "b.htm");
    doubleClick(0);
    EXPECT_EQ(CurrentName(), "a.htm");
    EXPECT_TRUE(IsWindowVisible(window.GetSafeHwnd()));

    // Escape hides it; the button shows it again with a fresh list.
    view().bookmarks().SetFavourites(
        {{"A", "", "a.htm"}, {"B", "", "b.htm"}, {"T", "", "otop.htm"}});
    SendMessageW(window.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindowVisible(window.GetSafeHwnd()));
    SendMessageW(hwnd, WM_COMMAND, ID_FAVOURITES_WINDOW, 0);
    EXPECT_EQ(SendMessageW(window.list(), LB_GETCOUNT, 0, 0), 3);

    // Left somewhere just before the program ends: it is there next time.
    SetWindowPos(window.GetSafeHwnd(), nullptr, 123, 145, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Close();
    Open();
    EXPECT_EQ(view().favourites().size(), 3u);
    EXPECT_EQ(FavouriteItems(frame().GetSafeHwnd()).size(), 3u);
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_FAVOURITES_WINDOW, 0);
    RECT place;
    GetWindowRect(view().favouritesWindow()->GetSafeHwnd(), &place);
    EXPECT_EQ(place.left, 123);
    EXPECT_EQ(place.top, 145);
}

TEST_F(Keepsakes, TheHomePageDialogsButtonsTakeEffectAtOnceAndTypingChangesNothing) {
    Open();
    HWND hwnd = frame().GetSafeHwnd();
    Click("a.htm");
    const std::string address = view().currentPage()->address();
    std::wstring before;
    std::wstring afterCurrent;
    bool stayedOnEnter = false;
    Player player([&] {
        HWND dialog = WaitForDialog(L"ホームに登録");
        HWND edit = GetDlgItem(dialog, IDC_HOME_ADDRESS);
        before = TextOf(edit);
        SetWindowTextW(edit, L"http://typed.example/");
        Press(dialog, IDC_HOME_CURRENT);
        afterCurrent = TextOf(edit);
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);  // Enter
        stayedOnEnter = IsWindowVisible(dialog) != FALSE;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // the ＯＫ button
    });
    SendMessageW(hwnd, WM_COMMAND, ID_EDIT_REGISTER_HOME, 0);
    player.Finish();
    EXPECT_EQ(before, Widen(kMakerHomeAddress));
    EXPECT_EQ(afterCurrent, Widen(address));
    EXPECT_TRUE(stayedOnEnter);
    EXPECT_EQ(view().homePage(), "a.htm");

    // The Home button opens the new home page, also after a restart.
    Click("otop.htm");
    SendMessageW(hwnd, WM_COMMAND, ID_GO_HOME, 0);
    EXPECT_EQ(CurrentName(), "a.htm");
    Close();
    Open();
    EXPECT_EQ(CurrentName(), "a.htm");

    std::wstring afterStandard;
    Player standard([&] {
        HWND dialog = WaitForDialog(L"ホームに登録");
        Press(dialog, IDC_HOME_STANDARD);
        afterStandard = TextOf(GetDlgItem(dialog, IDC_HOME_ADDRESS));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    SendMessageW(frame().GetSafeHwnd(), WM_COMMAND, ID_EDIT_REGISTER_HOME, 0);
    standard.Finish();
    EXPECT_EQ(afterStandard, Widen(kMakerHomeAddress));
    EXPECT_EQ(view().homePage(), "otop.htm");
}

}  // namespace
