#include "game/SaveFile.h"

#include <algorithm>

#include "text/ShiftJis.h"

namespace {

// Appends one zero-padded field of `width` bytes.
void AppendField(std::vector<uint8_t>& out, size_t width, std::string_view value) {
    out.resize(out.size() + width);
    WriteFixedString(out.data() + out.size() - width, width, value);
}

uint32_t Count(size_t size) {
    return static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX));
}

// The game counts any flag byte but 0 as set.
uint8_t Flag(uint8_t byte) {
    return byte != 0 ? 1 : 0;
}

template <size_t N>
void KeepPageName(FixedString<N>& field, const FixedString<N>& newGame) {
    if (!IsPageName(field.view())) {
        field = newGame;
    }
}

// The state with its flags 0 or 1 and its page names ones a page can have.
GameState Mended(GameState state) {
    for (uint8_t* flag : {&state.messageWait, &state.addressBarVisible, &state.toolBarVisible,
                          &state.statusBarVisible, &state.pluginMissing}) {
        *flag = Flag(*flag);
    }
    std::transform(state.passwordSolved.begin(), state.passwordSolved.end(),
                   state.passwordSolved.begin(), Flag);
    std::transform(state.notesRead.begin(), state.notesRead.end(), state.notesRead.begin(), Flag);
    const GameState newGame = GameState::NewGame();
    KeepPageName(state.homePage, newGame.homePage);
    KeepPageName(state.umakerPage, newGame.umakerPage);
    KeepPageName(state.kyoumakerPage, newGame.kyoumakerPage);
    return state;
}

bool IsSavedPageName(std::string_view name) {
    return IsPageName(FitField(name, kPageNameFieldSize));
}

// The part of a list the file takes: every record, but no more than `limit`.
template <typename T>
size_t Kept(const std::vector<T>& list, size_t limit) {
    return std::min(list.size(), limit);
}

}  // namespace

bool IsPageName(std::string_view name) {
    return !name.empty() && IsPrintableText(name);
}

std::vector<uint8_t> EncodeSaveFile(const SaveData& data) {
    // What the game would leave out when reading is not written.
    std::vector<const std::string*> visited;
    for (const std::string& name : data.visited) {
        if (visited.size() == kMaxSavedVisited) {
            break;
        }
        if (IsSavedPageName(name)) {
            visited.push_back(&name);
        }
    }
    GameState state = Mended(data.state);
    state.favouriteCount = Count(Kept(data.favourites, kMaxSavedFavourites));
    state.addressCount = Count(Kept(data.addresses, kMaxSavedAddresses));
    state.visitedCount = Count(visited.size());

    const GameState::Bytes head = state.ToBytes();
    std::vector<uint8_t> out(head.begin(), head.end());
    out.reserve(out.size() + state.favouriteCount * kFavouriteRecordSize +
                state.addressCount * kAddressFieldSize + state.visitedCount * kPageNameFieldSize);
    for (size_t i = 0; i < state.favouriteCount; ++i) {
        const Favourite& favourite = data.favourites[i];
        AppendField(out, kAddressFieldSize, favourite.title);
        AppendField(out, kAddressFieldSize, favourite.keyword);
        AppendField(out, kPageNameFieldSize,
                    IsSavedPageName(favourite.fileName) ? favourite.fileName : std::string());
    }
    for (size_t i = 0; i < state.addressCount; ++i) {
        AppendField(out, kAddressFieldSize, data.addresses[i]);
    }
    for (const std::string* name : visited) {
        AppendField(out, kPageNameFieldSize, *name);
    }
    return out;
}

Favourite ReadFavouriteRecord(const uint8_t* record) {
    Favourite favourite{
        ReadFixedString(record, kAddressFieldSize),
        ReadFixedString(record + kAddressFieldSize, kAddressFieldSize),
        ReadFixedString(record + 2 * kAddressFieldSize, kPageNameFieldSize),
    };
    if (!IsPageName(favourite.fileName)) {
        favourite.fileName.clear();
    }
    return favourite;
}

std::optional<std::string> ReadVisitedRecord(const uint8_t* record) {
    std::string name = ReadFixedString(record, kPageNameFieldSize);
    if (!IsPageName(name)) {
        return std::nullopt;
    }
    return name;
}

SaveLists LocateSaveLists(const GameState& raw, size_t size) {
    SaveLists lists;
    size_t position = GameState::kSize;
    // Once a list runs past the end of the file nothing after it can be
    // found, so the lists after it stay empty.
    auto locate = [&](SaveList& list, uint32_t count, size_t width, size_t limit) {
        list.count = count;
        list.offset = position;
        list.whole = lists.cut ? 0 : std::min<size_t>(count, (size - position) / width);
        lists.cut = lists.cut || list.whole < count;
        list.read = std::min(list.whole, limit);
        position += list.whole * width;
    };
    locate(lists.favourites, raw.favouriteCount, kFavouriteRecordSize, kMaxSavedFavourites);
    locate(lists.addresses, raw.addressCount, kAddressFieldSize, kMaxSavedAddresses);
    locate(lists.visited, raw.visitedCount, kPageNameFieldSize, kMaxSavedVisited);
    lists.end = position;
    return lists;
}

std::optional<SaveData> DecodeSaveFile(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < GameState::kSize) {
        return std::nullopt;
    }
    const GameState raw = GameState::FromBytes(bytes);
    const SaveLists lists = LocateSaveLists(raw, size);
    SaveData data;
    data.state = Mended(raw);
    for (size_t i = 0; i < lists.favourites.read; ++i) {
        data.favourites.push_back(
            ReadFavouriteRecord(bytes + lists.favourites.offset + i * kFavouriteRecordSize));
    }
    for (size_t i = 0; i < lists.addresses.read; ++i) {
        data.addresses.push_back(ReadFixedString(
            bytes + lists.addresses.offset + i * kAddressFieldSize, kAddressFieldSize));
    }
    for (size_t i = 0; i < lists.visited.read; ++i) {
        if (std::optional<std::string> name =
                ReadVisitedRecord(bytes + lists.visited.offset + i * kPageNameFieldSize)) {
            data.visited.push_back(std::move(*name));
        }
    }
    data.state.favouriteCount = Count(data.favourites.size());
    data.state.addressCount = Count(data.addresses.size());
    data.state.visitedCount = Count(data.visited.size());
    return data;
}
