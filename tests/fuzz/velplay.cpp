// velplay scripts played by the story runner on a built world: the folder
// VELMORA_WORLD names, else the build's own demo world (make data). Every
// command is answered by one report, one line of JSON with velplay's keys in
// their order; what the runner keeps after each reads back from the save
// file it makes, and a game started again from that file keeps the player's
// favourites, address entries and home page.
//
// Input: command lines as velplay reads them from standard input (UTF-8, one
// a line). Only the first 128 lines are played, each cut to 512 bytes, so that
// one input stays quick (a few milliseconds a command) while the whole demo
// story, about a hundred commands, still fits in one.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "StoryRunner.h"
#include "game/SaveFile.h"
#include "support/VelplayReportKeys.h"

#ifndef VELMORA_FUZZ_WORLD
#error "VELMORA_FUZZ_WORLD names the world played when VELMORA_WORLD is not set"
#endif

namespace {

constexpr size_t kMaxLines = 128;
constexpr size_t kMaxLineBytes = 512;

const StoryWorld& World() {
    static const StoryWorld world = [] {
        const char* named = std::getenv("VELMORA_WORLD");
        const std::string folder = named != nullptr && *named != '\0' ? named : VELMORA_FUZZ_WORLD;
        StoryWorld opened;
        std::string error;
        if (!OpenStoryWorld(folder, opened, error)) {
            std::fprintf(stderr, "fuzz_velplay: %s (make data builds the demo world)\n",
                         error.c_str());
            std::exit(1);
        }
        return opened;
    }();
    return world;
}

// The lines std::getline gives: a last line without its end counts, an input
// ending in a line end has no empty line after it.
std::vector<std::string> ScriptLines(std::string_view input) {
    std::vector<std::string> lines;
    while (!input.empty() && lines.size() < kMaxLines) {
        const size_t end = input.find('\n');
        lines.emplace_back(input.substr(0, std::min(end, kMaxLineBytes)));
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    }
    return lines;
}

// A strict reader of JSON text (RFC 8259), strings in well-formed UTF-8.
class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    // The keys of the one object the text holds, in order; nothing when the
    // text is anything else.
    std::optional<std::vector<std::string>> ObjectKeys() {
        std::vector<std::string> keys;
        Space();
        if (!Object(0, &keys)) {
            return std::nullopt;
        }
        Space();
        if (at_ != text_.size()) {
            return std::nullopt;
        }
        return keys;
    }

  private:
    static constexpr int kMaxDepth = 8;

    int Peek() const { return at_ < text_.size() ? static_cast<uint8_t>(text_[at_]) : -1; }
    bool Take(char c) {
        if (Peek() != static_cast<uint8_t>(c)) {
            return false;
        }
        ++at_;
        return true;
    }
    void Space() {
        while (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r') {
            ++at_;
        }
    }
    bool Digits() {
        const size_t start = at_;
        while (Peek() >= '0' && Peek() <= '9') {
            ++at_;
        }
        return at_ > start;
    }

    bool Value(int depth) {
        if (depth > kMaxDepth) {
            return false;
        }
        switch (Peek()) {
            case '{':
                return Object(depth, nullptr);
            case '[':
                return Array(depth);
            case '"':
                return String(nullptr);
            case 't':
                return Word("true");
            case 'f':
                return Word("false");
            case 'n':
                return Word("null");
            default:
                return Number();
        }
    }

    bool Object(int depth, std::vector<std::string>* keys) {
        if (!Take('{')) {
            return false;
        }
        Space();
        if (Take('}')) {
            return true;
        }
        do {
            Space();
            std::string key;
            if (!String(&key)) {
                return false;
            }
            if (keys != nullptr) {
                keys->push_back(key);
            }
            Space();
            if (!Take(':')) {
                return false;
            }
            Space();
            if (!Value(depth + 1)) {
                return false;
            }
            Space();
        } while (Take(','));
        return Take('}');
    }

    bool Array(int depth) {
        if (!Take('[')) {
            return false;
        }
        Space();
        if (Take(']')) {
            return true;
        }
        do {
            Space();
            if (!Value(depth + 1)) {
                return false;
            }
            Space();
        } while (Take(','));
        return Take(']');
    }

    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) {
            return false;
        }
        at_ += word.size();
        return true;
    }

    bool Number() {
        Take('-');
        if (!Take('0') && !Digits()) {
            return false;
        }
        if (Take('.') && !Digits()) {
            return false;
        }
        if (Take('e') || Take('E')) {
            if (!Take('+')) {
                Take('-');
            }
            return Digits();
        }
        return true;
    }

    // Raw bytes of the string into `out` (escapes as written).
    bool String(std::string* out) {
        if (!Take('"')) {
            return false;
        }
        for (;;) {
            const int c = Peek();
            if (c < 0x20) {  // the end of the text, or a control character
                return false;
            }
            const size_t start = at_++;
            if (c == '"') {
                return true;
            }
            if (c == '\\') {
                if (!Escape()) {
                    return false;
                }
            } else if (c >= 0x80 && !Utf8Tail(c)) {
                return false;
            }
            if (out != nullptr) {
                out->append(text_.substr(start, at_ - start));
            }
        }
    }

    bool Escape() {
        const int c = Peek();
        ++at_;
        if (c == 'u') {
            unsigned value = 0;
            for (int i = 0; i < 4; ++i) {
                const int h = Peek();
                ++at_;
                const int digit = h >= '0' && h <= '9'   ? h - '0'
                                  : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                  : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                         : -1;
                if (digit < 0) {
                    return false;
                }
                value = value * 16 + static_cast<unsigned>(digit);
            }
            // Reports escape control characters only; a surrogate would need its pair.
            return value < 0xD800 || value > 0xDFFF;
        }
        return c == '"' || c == '\\' || c == '/' || c == 'b' || c == 'f' || c == 'n' || c == 'r' ||
               c == 't';
    }

    // The rest of a UTF-8 character whose first byte, `lead`, is taken:
    // shortest form, no surrogates, nothing past U+10FFFF.
    bool Utf8Tail(int lead) {
        int more = 0;
        int low = 0x80;
        int high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        for (int i = 0; i < more; ++i) {
            const int c = Peek();
            if (c < low || c > high) {
                return false;
            }
            ++at_;
            low = 0x80;
            high = 0xBF;
        }
        return true;
    }

    std::string_view text_;
    size_t at_ = 0;
};

void CheckReport(const std::string& json) {
    // One line: a line break would start the next report early.
    FUZZ_CHECK(json.find_first_of("\r\n") == std::string::npos);
    const std::optional<std::vector<std::string>> keys = JsonReader(json).ObjectKeys();
    FUZZ_CHECK(keys.has_value());
    FUZZ_CHECK(std::equal(keys->begin(), keys->end(), kVelplayReportKeys.begin(),
                          kVelplayReportKeys.end()));
}

template <size_t N>
std::string Fit(const std::string& value) {
    FixedString<N> field;
    field = value;
    return field.str();
}

// What the runner keeps must come back from its save file as it was, but for
// what the file's fields cut (at the field's width or a zero byte), and
// written again give the same bytes.
void CheckKept(const SaveData& kept) {
    FUZZ_CHECK(kept.state.disclosureStage <= 10);
    const std::vector<uint8_t> bytes = EncodeSaveFile(kept);
    const std::optional<SaveData> read = DecodeSaveFile(bytes.data(), bytes.size());
    FUZZ_CHECK(read.has_value());
    FUZZ_CHECK(EncodeSaveFile(*read) == bytes);

    GameState state = kept.state;
    state.favouriteCount = static_cast<uint32_t>(kept.favourites.size());
    state.addressCount = static_cast<uint32_t>(kept.addresses.size());
    // The file leaves out visited names that can name no page (an address
    // typed with control characters opens, and is visited, as a missing page).
    std::vector<std::string> visited;
    for (const std::string& name : kept.visited) {
        if (IsPageName(FitField(name, kPageNameFieldSize)) && visited.size() < kMaxSavedVisited) {
            visited.push_back(Fit<kPageNameFieldSize>(name));
        }
    }
    state.visitedCount = static_cast<uint32_t>(visited.size());
    FUZZ_CHECK(read->state == state);
    FUZZ_CHECK(read->favourites.size() == kept.favourites.size());
    for (size_t i = 0; i < kept.favourites.size(); ++i) {
        const Favourite& favourite = kept.favourites[i];
        FUZZ_CHECK(read->favourites[i] == (Favourite{Fit<kAddressFieldSize>(favourite.title),
                                                     Fit<kAddressFieldSize>(favourite.keyword),
                                                     Fit<kPageNameFieldSize>(favourite.fileName)}));
    }
    FUZZ_CHECK(read->addresses.size() == kept.addresses.size());
    for (size_t i = 0; i < kept.addresses.size(); ++i) {
        FUZZ_CHECK(read->addresses[i] == Fit<kAddressFieldSize>(kept.addresses[i]));
    }
    FUZZ_CHECK(read->visited == visited);
}

// What one play gave: its reports, the times the game was kept, and the last.
struct Played {
    size_t reports = 0;
    size_t keeps = 0;
    SaveData last;
};

Played Play(const StoryWorld& world, SaveData start, const std::vector<std::string>& lines) {
    // VELMORA_FUZZ_SHOW=1 prints the reports, to see what a seed reaches.
    static const bool show = std::getenv("VELMORA_FUZZ_SHOW") != nullptr;
    Played played;
    size_t read = 0;
    StoryRunner runner(
        world.text, world.passwords, std::move(start),
        [&]() -> std::optional<std::string> {
            if (read == lines.size()) {
                return std::nullopt;
            }
            return lines[read++];
        },
        [&](const std::string& json) {
            ++played.reports;
            if (show) {
                std::fprintf(stderr, "%s\n", json.c_str());
            }
            CheckReport(json);
        },
        [&](const SaveData& kept) {
            ++played.keeps;
            CheckKept(kept);
            played.last = kept;
        });
    runner.SetDownloadArchive(&world.ex);
    runner.Run();
    FUZZ_CHECK(read == lines.size());
    return played;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const StoryWorld& world = World();
    const std::vector<std::string> lines =
        ScriptLines(std::string_view(reinterpret_cast<const char*>(data), size));

    SaveData start;
    start.state = GameState::NewGame();
    const Played played = Play(world, std::move(start), lines);
    // Each command is answered once, at once or when its prompt opens; and the
    // game is kept after the first page and before every report.
    FUZZ_CHECK(played.reports == lines.size());
    FUZZ_CHECK(played.keeps == played.reports + 1);

    // The game goes on from its save file with the player's favourites, address
    // entries and home page.
    const std::vector<uint8_t> bytes = EncodeSaveFile(played.last);
    const std::optional<SaveData> saved = DecodeSaveFile(bytes.data(), bytes.size());
    FUZZ_CHECK(saved.has_value());
    const Played again = Play(world, *saved, {});
    FUZZ_CHECK(again.keeps >= 1);
    FUZZ_CHECK(again.last.favourites == saved->favourites);
    FUZZ_CHECK(again.last.addresses == saved->addresses);
    FUZZ_CHECK(again.last.state.homeAddress == saved->state.homeAddress);
    FUZZ_CHECK(again.last.state.homePage == saved->state.homePage);
    return 0;
}
