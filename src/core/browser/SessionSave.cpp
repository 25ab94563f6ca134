#include "browser/SessionSave.h"

#include "browser/Bookmarks.h"
#include "browser/VisitedList.h"

SaveData GatherSaveData(const GameState& state, const Bookmarks& bookmarks,
                        std::vector<std::string> addresses, const VisitedList& visited) {
    SaveData data;
    data.state = state;
    data.state.homeAddress = bookmarks.homeAddress();
    data.state.homePage = bookmarks.homePage();
    data.favourites = bookmarks.favourites();
    data.addresses = std::move(addresses);
    data.visited = visited.names();
    return data;
}
