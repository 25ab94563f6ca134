// The view's share of saving: window places in the registry, everything else
// in "velmora.dat" (see SaveStore for where it lives), loaded once and saved
// after every page.

#include "app/BrApp.h"
#include "browser/BrView.h"
#include "browser/SessionSave.h"
#include "frame/MainFrame.h"
#include "resource.h"

namespace {

constexpr char kSection[] = "settings";

}  // namespace

void CBrView::LoadState() {
    CBrApp& app = TheApp();
    if (app.GetProfileInt(kSection, "mainx", -1) == -1) {
        ApplyDefaults();
        return;
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int x = app.GetProfileInt(kSection, "mainx", 0);
    const int y = app.GetProfileInt(kSection, "mainy", 0);
    const int w = app.GetProfileInt(kSection, "mainw", 0);
    const int h = app.GetProfileInt(kSection, "mainh", 0);
    // A place off the screen is not taken, nor is its size.
    if (x >= 0 && y >= 0 && x < screenWidth && y < screenHeight) {
        MoveWindow(frame_.GetSafeHwnd(), x, y, w, h, TRUE);
    }
    int likeX = app.GetProfileInt(kSection, "likex", 0);
    int likeY = app.GetProfileInt(kSection, "likey", 0);
    favouritesPosition_ = {likeX >= screenWidth ? 0 : likeX, likeY >= screenHeight ? 0 : likeY};

    const std::optional<SaveData> saved = saveStore_.Load();
    if (!saved) {
        ApplyDefaults();
        return;
    }
    app.settings = saved->state;
    if (!app.settings.addressBarVisible) {
        frame_.HideBarAtStartUp(ID_VIEW_ADDRESSBAR);
    }
    if (!app.settings.toolBarVisible) {
        frame_.HideBarAtStartUp(ID_VIEW_TOOLBAR);
    }
    if (!app.settings.statusBarVisible) {
        frame_.HideBarAtStartUp(ID_VIEW_STATUS_BAR);
    }
    bookmarks_.SetHome(app.settings.homeAddress.view(), app.settings.homePage.view());
    bookmarks_.SetFavourites(saved->favourites);
    frame_.RebuildFavouritesMenu();
    frame_.addressBar().SetEntries(saved->addresses);
    for (const std::string& name : saved->visited) {
        frame_.AddVisited(name);
    }
}

void CBrView::ApplyDefaults() {
    CBrApp& app = TheApp();
    // The frame in the middle of the screen.
    RECT window;
    GetWindowRect(frame_.GetSafeHwnd(), &window);
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    MoveWindow(frame_.GetSafeHwnd(), x, y, w, h, TRUE);
    app.WriteProfileInt(kSection, "mainx", x);
    app.WriteProfileInt(kSection, "mainy", y);
    app.WriteProfileInt(kSection, "mainw", w);
    app.WriteProfileInt(kSection, "mainh", h);
    RECT view;
    GetWindowRect(GetSafeHwnd(), &view);
    favouritesPosition_ = {view.left, view.top};
    app.WriteProfileInt(kSection, "likex", view.left);
    app.WriteProfileInt(kSection, "likey", view.top);
    app.settings = GameState::NewGame();
}

void CBrView::SaveState() {
    CBrApp& app = TheApp();
    RECT window;
    GetWindowRect(frame_.GetSafeHwnd(), &window);
    app.WriteProfileInt(kSection, "mainx", window.left);
    app.WriteProfileInt(kSection, "mainy", window.top);
    app.WriteProfileInt(kSection, "mainw", window.right - window.left);
    app.WriteProfileInt(kSection, "mainh", window.bottom - window.top);
    // Where the player left the favourites window, also while it closes.
    const Point favourites = favouritesPosition();
    app.WriteProfileInt(kSection, "likex", favourites.x);
    app.WriteProfileInt(kSection, "likey", favourites.y);

    app.settings.homeAddress = bookmarks_.homeAddress();
    app.settings.homePage = bookmarks_.homePage();
    // A failed write keeps the last save as it was.
    saveStore_.Save(GatherSaveData(app.settings, bookmarks_, frame_.addressBar().savedEntries(),
                                   frame_.visitedList()));
}
