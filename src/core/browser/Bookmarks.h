#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "game/SaveFile.h"

class BrowserSession;

// The player's own places in the world: the favourites, in the order of the
// menu and the lists, and the home page. The browser's menus and dialogs and
// the story runner both keep them here. Every text is held as the save file
// will hold it, so that nothing changes across a restart.
class Bookmarks {
  public:
    explicit Bookmarks(BrowserSession& session);

    const std::vector<Favourite>& favourites() const { return favourites_; }
    // The favourites of a save file.
    void SetFavourites(std::vector<Favourite> favourites);
    // Appends the page shown, with its title, its file name and the keyword
    // of the search that made it (also when the page is there already);
    // false when no page is shown or the list holds as many as a save file
    // takes back.
    bool AddCurrentPage();
    // A favourite with a keyword repeats its search; any other opens its
    // page. Either way the keyword becomes the last one searched for. False
    // when there is no favourite at `index`.
    bool OpenFavourite(size_t index);
    bool DeleteFavourite(size_t index);

    const std::string& homeAddress() const { return homeAddress_; }
    const std::string& homePage() const { return homePage_; }
    // A page name that can name no page (see IsPageName) becomes "otop.htm",
    // as the save file would bring it back.
    void SetHome(std::string_view address, std::string_view page);
    // The page shown becomes the home page, with its address as it stands;
    // false when no page is shown.
    bool SetHomeToCurrentPage();
    // The maker's site and "otop.htm".
    void SetHomeToStandard();
    // The Home button: the home page opens unless it is the page shown,
    // compared byte for byte. True when it opened.
    bool GoHome();

  private:
    BrowserSession& session_;
    std::vector<Favourite> favourites_;
    std::string homeAddress_;
    std::string homePage_;
};
