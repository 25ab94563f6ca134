// The save-file loader on arbitrary files: the state record alone, then the
// whole file with its lists. What it reads must be written back as a file
// that reads the same.

#include <optional>
#include <vector>

#include "FuzzSupport.h"
#include "game/GameState.h"
#include "game/SaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<SaveData> save = DecodeSaveFile(data, size);
    if (size < GameState::kSize) {
        FUZZ_CHECK(!save);
        return 0;
    }
    FUZZ_CHECK(save.has_value());

    const GameState state = GameState::FromBytes(data);
    FUZZ_CHECK(GameState::FromBytes(state.ToBytes()) == state);
    FUZZ_CHECK(state.homeAddress.view().size() < kAddressFieldSize);
    FUZZ_CHECK(state.homePage.view().size() < kPageNameFieldSize);

    FUZZ_CHECK(save->state.favouriteCount == save->favourites.size());
    FUZZ_CHECK(save->state.addressCount == save->addresses.size());
    FUZZ_CHECK(save->state.visitedCount == save->visited.size());
    // Only whole records that the file holds are read.
    const size_t records = save->favourites.size() * kFavouriteRecordSize +
                           save->addresses.size() * kAddressFieldSize +
                           save->visited.size() * kPageNameFieldSize;
    FUZZ_CHECK(GameState::kSize + records <= size);

    const std::vector<uint8_t> written = EncodeSaveFile(*save);
    FUZZ_CHECK(written.size() == GameState::kSize + records);
    const std::optional<SaveData> again = DecodeSaveFile(written.data(), written.size());
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->state == save->state);
    FUZZ_CHECK(again->favourites == save->favourites);
    FUZZ_CHECK(again->addresses == save->addresses);
    FUZZ_CHECK(again->visited == save->visited);
    return 0;
}
