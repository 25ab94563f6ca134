#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/GameState.h"

// The file's records after the state, each string field zero-padded.
inline constexpr size_t kFavouriteRecordSize = 2 * kAddressFieldSize + kPageNameFieldSize;
static_assert(kFavouriteRecordSize == 532);

struct Favourite {
    std::string title;
    std::string keyword;  // empty for a favourite page
    std::string fileName;

    bool operator==(const Favourite&) const = default;
};

// Everything the save file holds, in its order: the state, the favourites,
// the address bar's entries and the names of visited pages.
struct SaveData {
    GameState state;
    std::vector<Favourite> favourites;
    std::vector<std::string> addresses;
    std::vector<std::string> visited;
};

// The most records of each list a save file brings in: its first ones, the
// rest passed over. Every favourite becomes a menu item and every visited
// name is looked up when it is added, so a damaged count must not hold the
// start-up. The game never writes more: the address bar keeps its newest 24
// entries, favourites are added one at a time by the player (and refused
// beyond the limit), and the visited names are pages of the world and
// "plugin", far fewer than 65536 in any world.
inline constexpr size_t kMaxSavedFavourites = 1000;
inline constexpr size_t kMaxSavedAddresses = 24;
inline constexpr size_t kMaxSavedVisited = 65536;

// Whether `name` can name a page: not empty, and whole printable characters.
// A visited name that cannot is left out of the list; a favourite's file name
// that cannot is kept empty; the state's page names that cannot are the new
// game's.
bool IsPageName(std::string_view name);

// The save file's bytes, as the game reads them back: the state's flags are
// written 0 or 1, and the lists are kept to the names and limits above. The
// state's three counts are written as the lengths of the lists; strings too
// long for their fields are cut at a character boundary.
std::vector<uint8_t> EncodeSaveFile(const SaveData& data);

// Reads a save file. A file shorter than the state holds no game and gives
// nothing. After the state it reads as many whole records as the counts ask
// for and the file holds; a record cut off by the end of the file, and
// everything after it, is left out. The state's counts then give what was
// read. What a damaged file holds is mended as it is read: any flag byte but
// 0 is set (1); strings lose a lead byte left without its trail byte; page
// names are taken as IsPageName says; each list keeps its first records up to
// its limit.
std::optional<SaveData> DecodeSaveFile(const uint8_t* bytes, size_t size);

// The parts of the reading, for the tools that show what the game makes of a
// file record by record.
Favourite ReadFavouriteRecord(const uint8_t* record);
std::optional<std::string> ReadVisitedRecord(const uint8_t* record);  // nothing: left out

// Where the lists' records lie in a file of `size` bytes (at least the
// state's) whose state is `raw`, as DecodeSaveFile reads them.
struct SaveList {
    uint32_t count = 0;  // the records the state promises
    size_t offset = 0;   // of the list's first record
    size_t whole = 0;    // whole records the file holds for it, at most `count`
    size_t read = 0;     // the first records read: `whole`, at most the list's limit
};
struct SaveLists {
    SaveList favourites;
    SaveList addresses;
    SaveList visited;
    bool cut = false;  // a list ran past the end of the file; the lists after it are empty
    size_t end = 0;    // where the records end, when none ran past the end of the file
};
SaveLists LocateSaveLists(const GameState& raw, size_t size);
