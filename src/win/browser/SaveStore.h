#pragma once

#include <optional>
#include <string>

#include "game/SaveFile.h"
#include "game/SavePlaces.h"

// "velmora.dat" in its two places: the Windows directory, where the game has
// always kept it, and the player's own application-data folder for systems
// where a normal user may not write the Windows directory.
class SaveStore {
  public:
    // The game to go on with, from the newer of the two files that decode;
    // nothing for a new game.
    std::optional<SaveData> Load() const;

    // Writes the save to the first place that takes it. When none does, the
    // player is told once in the run, with the folder the game wants to
    // write; the game goes on. True when the save was written.
    bool Save(const SaveData& data);

    // The full path of the save file in `place`; empty when the system names
    // no such place.
    static std::wstring PathOf(SavePlace place);
    // The folder of the user folder's save: %LOCALAPPDATA%\Velmora.
    static std::wstring UserFolder();

  private:
    SaveRoute route_;
};
