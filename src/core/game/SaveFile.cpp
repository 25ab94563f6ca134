#include "game/SaveFile.h"

#include <algorithm>

namespace {

// Appends one zero-padded field of `width` bytes.
void AppendField(std::vector<uint8_t>& out, size_t width, std::string_view value) {
    out.resize(out.size() + width);
    WriteFixedString(out.data() + out.size() - width, width, value);
}

uint32_t Count(size_t size) {
    return static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX));
}

// Reads the records of one list in turn. Once a list runs past the end of
// the file nothing after it can be found, so later lists stay empty.
class RecordReader {
  public:
    RecordReader(const uint8_t* bytes, size_t size, size_t position)
        : bytes_(bytes), size_(size), position_(position) {}

    // Calls read(record) for each whole record of `width` bytes, at most `count`.
    template <typename Read>
    void ReadList(uint32_t count, size_t width, Read read) {
        const size_t whole = ended_ ? 0 : (size_ - position_) / width;
        if (count > whole) {
            ended_ = true;
        }
        const size_t n = std::min<size_t>(count, whole);
        for (size_t i = 0; i < n; ++i) {
            read(bytes_ + position_);
            position_ += width;
        }
    }

  private:
    const uint8_t* bytes_;
    size_t size_;
    size_t position_;
    bool ended_ = false;
};

}  // namespace

std::vector<uint8_t> EncodeSaveFile(const SaveData& data) {
    GameState state = data.state;
    state.favouriteCount = Count(data.favourites.size());
    state.addressCount = Count(data.addresses.size());
    state.visitedCount = Count(data.visited.size());

    const GameState::Bytes head = state.ToBytes();
    std::vector<uint8_t> out(head.begin(), head.end());
    out.reserve(out.size() + data.favourites.size() * kFavouriteRecordSize +
                data.addresses.size() * kAddressFieldSize +
                data.visited.size() * kPageNameFieldSize);
    for (size_t i = 0; i < state.favouriteCount; ++i) {
        const Favourite& favourite = data.favourites[i];
        AppendField(out, kAddressFieldSize, favourite.title);
        AppendField(out, kAddressFieldSize, favourite.keyword);
        AppendField(out, kPageNameFieldSize, favourite.fileName);
    }
    for (size_t i = 0; i < state.addressCount; ++i) {
        AppendField(out, kAddressFieldSize, data.addresses[i]);
    }
    for (size_t i = 0; i < state.visitedCount; ++i) {
        AppendField(out, kPageNameFieldSize, data.visited[i]);
    }
    return out;
}

std::optional<SaveData> DecodeSaveFile(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < GameState::kSize) {
        return std::nullopt;
    }
    SaveData data;
    data.state = GameState::FromBytes(bytes);
    RecordReader reader(bytes, size, GameState::kSize);
    reader.ReadList(data.state.favouriteCount, kFavouriteRecordSize, [&](const uint8_t* record) {
        data.favourites.push_back(Favourite{
            ReadFixedString(record, kAddressFieldSize),
            ReadFixedString(record + kAddressFieldSize, kAddressFieldSize),
            ReadFixedString(record + 2 * kAddressFieldSize, kPageNameFieldSize),
        });
    });
    reader.ReadList(data.state.addressCount, kAddressFieldSize, [&](const uint8_t* record) {
        data.addresses.push_back(ReadFixedString(record, kAddressFieldSize));
    });
    reader.ReadList(data.state.visitedCount, kPageNameFieldSize, [&](const uint8_t* record) {
        data.visited.push_back(ReadFixedString(record, kPageNameFieldSize));
    });
    data.state.favouriteCount = Count(data.favourites.size());
    data.state.addressCount = Count(data.addresses.size());
    data.state.visitedCount = Count(data.visited.size());
    return data;
}
