#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The favourites' items at the end of the browser's favourites menu, after
// its three fixed items. Favourite i has command kFirstFavouriteCommand + i;
// only the first kFavouriteCommands have an item, the others stay in the list
// and the save file. The range lies apart from every other command of the
// browser, so that no favourite can be taken for Back or Forward.
constexpr uint32_t kFirstFavouriteCommand = 40000;
constexpr size_t kFavouriteCommands = 257;

struct FavouriteMenuItem {
    size_t index = 0;  // in the favourites list
    uint32_t command = 0;
    bool newColumn = false;  // starts a new column of the menu

    bool operator==(const FavouriteMenuItem&) const = default;
};

// The first column holds the fixed items and 20 favourites, every further
// column 23.
std::vector<FavouriteMenuItem> PlanFavouritesMenu(size_t favourites);

// The favourite a menu command opens; nothing for a command outside the
// favourites' range or one without a favourite.
std::optional<size_t> FavouriteForCommand(uint32_t command, size_t favourites);
