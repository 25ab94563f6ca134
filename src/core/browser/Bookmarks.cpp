#include "browser/Bookmarks.h"

#include "browser/BrowserSession.h"
#include "html/TokenList.h"

namespace {

template <size_t N>
std::string Fit(std::string_view value) {
    FixedString<N> field;
    field = value;
    return field.str();
}

// A name that can name no page is saved empty.
std::string FitPageName(std::string_view name) {
    std::string fitted = Fit<kPageNameFieldSize>(name);
    return IsPageName(fitted) ? fitted : std::string();
}

Favourite Fit(const Favourite& favourite) {
    return {Fit<kAddressFieldSize>(favourite.title), Fit<kAddressFieldSize>(favourite.keyword),
            FitPageName(favourite.fileName)};
}

}  // namespace

Bookmarks::Bookmarks(BrowserSession& session) : session_(session) {
    SetHomeToStandard();
}

void Bookmarks::SetFavourites(std::vector<Favourite> favourites) {
    favourites_.clear();
    for (const Favourite& favourite : favourites) {
        favourites_.push_back(Fit(favourite));
    }
}

bool Bookmarks::AddCurrentPage() {
    const TokenList* page = session_.currentPage();
    if (page == nullptr || favourites_.size() >= kMaxSavedFavourites) {
        return false;
    }
    favourites_.push_back(Fit(Favourite{page->title(), session_.lastKeyword(), page->name()}));
    return true;
}

bool Bookmarks::OpenFavourite(size_t index) {
    if (index >= favourites_.size()) {
        return false;
    }
    // A copy: the list is not ours to hold on to while a page opens.
    const Favourite favourite = favourites_[index];
    if (favourite.keyword.empty()) {
        session_.OpenPage(favourite.fileName, BrowserSession::OpenMode::New);
    } else {
        session_.BuildSearchPage(favourite.keyword);
    }
    // Opening a page forgets the last keyword; the favourite's is kept.
    session_.SetLastKeyword(favourite.keyword);
    return true;
}

bool Bookmarks::DeleteFavourite(size_t index) {
    if (index >= favourites_.size()) {
        return false;
    }
    favourites_.erase(favourites_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void Bookmarks::SetHome(std::string_view address, std::string_view page) {
    homeAddress_ = Fit<kAddressFieldSize>(address);
    homePage_ = FitPageName(page);
    if (homePage_.empty()) {
        homePage_ = GameState::NewGame().homePage.str();
    }
}

bool Bookmarks::SetHomeToCurrentPage() {
    const TokenList* page = session_.currentPage();
    if (page == nullptr) {
        return false;
    }
    SetHome(page->address(), page->name());
    return true;
}

void Bookmarks::SetHomeToStandard() {
    SetHome(kMakerHomeAddress, "otop.htm");
}

bool Bookmarks::GoHome() {
    const TokenList* page = session_.currentPage();
    if (page != nullptr && page->name() == homePage_) {
        return false;
    }
    session_.OpenPage(homePage_, BrowserSession::OpenMode::New);
    return true;
}
