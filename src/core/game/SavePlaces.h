#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "game/SaveFile.h"

// A game no place can take: the message starts so, and the Windows edition
// names the folder after it.
inline constexpr char kSaveImpossibleText[] =
    "ゲームを保存できません。保存するには、次のフォルダに書き込めるようにしてください。\n";
// A save file brought in from elsewhere that does not decode; the game goes
// on as it was.
inline constexpr char kSaveNotLoadedText[] =
    "このファイルはセーブデータとして読み込めません。ゲームはそのまま続きます。";
// The web edition's storage refused a save.
inline constexpr char kBrowserSaveFailedText[] =
    "ゲームを保存できません。ブラウザの保存領域に書き込めるようにしてください。";

// The save file lives in the Windows directory wherever the player may write
// there; where not, in the player's own application-data folder.
enum class SavePlace { WindowsDirectory, UserFolder };

// What one place holds at start-up: the file's bytes, or nothing when there
// is no readable file, and the time it was last written (larger is newer).
struct StoredSave {
    std::optional<std::vector<uint8_t>> bytes;
    uint64_t writeTime = 0;
};

struct ChosenSave {
    SaveData data;
    SavePlace place;
};

// The game to go on with: the newer of the two files that decode, the
// Windows directory's when both were written at the same time; nothing when
// neither decodes, which starts a new game.
std::optional<ChosenSave> ChooseSave(const StoredSave& windowsDirectory,
                                     const StoredSave& userFolder);

// Where the saves of one run go. The Windows directory first; once a save
// could not be written there, the user folder until the game ends.
class SaveRoute {
  public:
    // The places to try for the next save, in order.
    std::vector<SavePlace> PlacesToTry() const;

    // The outcome of one save: the place that took it, or nothing when none
    // did. True when the player must be told now that the game cannot be
    // saved: the first time in the run.
    bool Record(std::optional<SavePlace> tookIt);

  private:
    bool userFolder_ = false;
    bool told_ = false;
};
