#pragma once

#include <string>
#include <vector>

#include "game/SaveFile.h"

class Bookmarks;
class VisitedList;
struct GameState;

// What a save file keeps of a session: the game state with the home page the
// bookmarks hold, the favourites, the address list and the visited pages.
SaveData GatherSaveData(const GameState& state, const Bookmarks& bookmarks,
                        std::vector<std::string> addresses, const VisitedList& visited);
