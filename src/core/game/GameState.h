#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The maker's site, the home address of a new game.
inline constexpr std::string_view kMakerHomeAddress = "http://www.korvex.jp/";

// Widths of the save file's string fields, terminator included.
inline constexpr size_t kAddressFieldSize = 256;  // addresses, favourite titles and keywords
inline constexpr size_t kPageNameFieldSize = 20;  // page file names

// What a field of `width` bytes keeps of `value`: the text before its first
// zero byte, cut to width - 1 bytes without splitting a double-byte
// character; a lead byte that ends the text without its trail byte is left
// out too. Writing and reading a field both keep this much, so what the game
// writes reads back unchanged.
std::string_view FitField(std::string_view value, size_t width);

// Writes FitField(value, width) into a field of `width` bytes, ended by a
// zero byte and padded with zeros.
void WriteFixedString(uint8_t* field, size_t width, std::string_view value);

// The text of a field of `width` bytes as FitField keeps it: a field without
// a zero byte (a damaged file) gives at most its first width - 1 bytes.
std::string ReadFixedString(const uint8_t* field, size_t width);

// A string field of N bytes. Whatever is set, it always holds a terminated
// string of at most N - 1 bytes of whole characters, as FitField keeps it.
template <size_t N>
class FixedString {
  public:
    static_assert(N > 0);
    static constexpr size_t kCapacity = N - 1;

    FixedString& operator=(std::string_view value) {
        Set(value);
        return *this;
    }

    void Set(std::string_view value) {
        WriteFixedString(reinterpret_cast<uint8_t*>(bytes_.data()), N, value);
    }
    // Takes the field's N bytes as a file holds them.
    void Load(const uint8_t* field) { Set(ReadFixedString(field, N)); }
    void Store(uint8_t* field) const {
        for (size_t i = 0; i < N; ++i) {
            field[i] = static_cast<uint8_t>(bytes_[i]);
        }
    }

    std::string_view view() const { return std::string_view(bytes_.data()); }
    std::string str() const { return std::string(view()); }

    bool operator==(const FixedString&) const = default;

  private:
    // Zero after the text, always, so equal texts are equal fields.
    std::array<char, N> bytes_{};
};

// The saved game: the 852-byte record at the start of the save file. The
// members are the record's fields in file order; ToBytes and FromBytes give
// and take the file form (integers little-endian) whatever the host is.
struct GameState {
    static constexpr size_t kSize = 852;
    static constexpr size_t kProtectedPages = 16;
    static constexpr size_t kNotePages = 15;
    using Bytes = std::array<uint8_t, kSize>;

    uint8_t messageWait = 0;        // the message window shows text step by step
    uint8_t addressBarVisible = 0;  // the bars: 0 hidden
    uint8_t toolBarVisible = 0;
    uint8_t statusBarVisible = 0;
    uint8_t pluginMissing = 0;  // the plug-in is not installed yet
    std::array<uint8_t, kProtectedPages> passwordSolved{};
    FixedString<kAddressFieldSize> homeAddress;
    FixedString<kPageNameFieldSize> homePage;
    std::array<uint8_t, kNotePages> notesRead{};
    FixedString<256> umakerPage;
    FixedString<256> kyoumakerPage;
    uint32_t disclosureStage = 0;
    uint32_t pageCounter = 0;
    uint32_t killerCounter = 0;
    uint32_t reserved = 0;
    uint32_t favouriteCount = 0;  // records that follow the state in the file
    uint32_t addressCount = 0;
    uint32_t visitedCount = 0;

    // The state a new game starts from. A default GameState is all zeros.
    static GameState NewGame();

    Bytes ToBytes() const;
    static GameState FromBytes(const Bytes& bytes);
    // The same from the first kSize bytes at `bytes`.
    static GameState FromBytes(const uint8_t* bytes);

    bool operator==(const GameState&) const = default;
};
