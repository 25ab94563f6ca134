#include <gtest/gtest.h>

#include <vector>

#include "game/Favourites.h"

namespace {

// The indices of the favourites that start a new menu column.
std::vector<size_t> Breaks(size_t count) {
    std::vector<size_t> breaks;
    for (const FavouriteMenuItem& item : PlanFavouritesMenu(count)) {
        if (item.newColumn) {
            breaks.push_back(item.index);
        }
    }
    return breaks;
}

TEST(Favourites, MenuColumnsBreakAtTwentyThenEveryTwentyThree) {
    EXPECT_TRUE(PlanFavouritesMenu(0).empty());
    EXPECT_EQ(Breaks(1), std::vector<size_t>{});
    EXPECT_EQ(Breaks(20), std::vector<size_t>{});
    EXPECT_EQ(Breaks(21), std::vector<size_t>{20});
    EXPECT_EQ(Breaks(43), std::vector<size_t>{20});
    EXPECT_EQ(Breaks(44), (std::vector<size_t>{20, 43}));
    EXPECT_EQ(Breaks(257),
              (std::vector<size_t>{20, 43, 66, 89, 112, 135, 158, 181, 204, 227, 250}));

    const std::vector<FavouriteMenuItem> all = PlanFavouritesMenu(300);
    ASSERT_EQ(all.size(), kFavouriteCommands);
    EXPECT_EQ(all.back().command, kFirstFavouriteCommand + 256);
}

TEST(Favourites, CommandsOpenOnlyFavouritesThatExist) {
    EXPECT_EQ(FavouriteForCommand(kFirstFavouriteCommand + 2, 3), 2u);
    EXPECT_EQ(FavouriteForCommand(kFirstFavouriteCommand + 3, 3), std::nullopt);
    EXPECT_EQ(FavouriteForCommand(kFirstFavouriteCommand - 1, 3), std::nullopt);
    EXPECT_EQ(FavouriteForCommand(kFirstFavouriteCommand + 257, 1000), std::nullopt);
    EXPECT_EQ(FavouriteForCommand(kFirstFavouriteCommand + 256, 1000), 256u);
    EXPECT_EQ(FavouriteForCommand(61460, 1000), std::nullopt);  // Back is never a favourite
}

}  // namespace
