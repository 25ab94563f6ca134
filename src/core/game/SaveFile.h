#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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

// The save file's bytes. The state's three counts are written as the lengths
// of the lists; strings too long for their fields are cut at a character
// boundary.
std::vector<uint8_t> EncodeSaveFile(const SaveData& data);

// Reads a save file. A file shorter than the state holds no game and gives
// nothing. After the state it reads as many whole records as the counts ask
// for and the file holds; a record cut off by the end of the file, and
// everything after it, is left out. The state's counts then give what was
// read.
std::optional<SaveData> DecodeSaveFile(const uint8_t* bytes, size_t size);
