#include "game/Favourites.h"

#include <algorithm>

std::vector<FavouriteMenuItem> PlanFavouritesMenu(size_t favourites) {
    std::vector<FavouriteMenuItem> items;
    size_t column = 0;
    size_t limit = 20;
    for (size_t i = 0; i < std::min(favourites, kFavouriteCommands); ++i) {
        const bool newColumn = column == limit;
        if (newColumn) {
            column = 0;
            limit = 23;
        }
        items.push_back({i, kFirstFavouriteCommand + static_cast<uint32_t>(i), newColumn});
        ++column;
    }
    return items;
}

std::optional<size_t> FavouriteForCommand(uint32_t command, size_t favourites) {
    if (command < kFirstFavouriteCommand ||
        command >= kFirstFavouriteCommand + kFavouriteCommands) {
        return std::nullopt;
    }
    const size_t index = command - kFirstFavouriteCommand;
    return index < favourites ? std::optional<size_t>(index) : std::nullopt;
}
