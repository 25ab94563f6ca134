// velarc: lists, extracts, packs and verifies the game's archives, shows
// pages and data texts as the game reads them, and shows a save file.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "Cp932Text.h"
#include "FileBytes.h"
#include "MapCommand.h"
#include "Message.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "game/PageTable.h"
#include "game/PasswordTable.h"
#include "game/SaveFile.h"
#include "game/Search.h"
#include "game/WorldCheck.h"
#include "html/TokenList.h"
#include "text/ShiftJis.h"
#include "text/StringList.h"

namespace {

const char kUsage[] =
    "usage: velarc COMMAND ARGS...\n"
    "\n"
    "  list ARC                 one line per entry, in table order:\n"
    "                           NAME<TAB>UNPACKED<TAB>PACKED<TAB>OFFSET\n"
    "  extract ARC NAME [OUT]   write the decoded entry to OUT (standard output\n"
    "                           without OUT); NAME is looked up as the game does,\n"
    "                           ignoring the case of ASCII letters\n"
    "  pack ARC FILE...         make ARC from the files, each entry named by the\n"
    "                           file's base name (at most 19 bytes)\n"
    "  verify ARC               decode every entry and report each whose size\n"
    "                           differs from its table record\n"
    "  tokens ARC NAME          the page's tokens as the game reads them, one a\n"
    "                           line: tags in small letters, text without line\n"
    "                           breaks; status 1 when a tag is too long and the\n"
    "                           page ends before it\n"
    "  lines ARC NAME           the lines of a data text as the game reads them,\n"
    "                           one a line (text after the last CR LF is not one)\n"
    "  passwords ARC            the accepted texts of password.txt, one a line:\n"
    "                           SLOT<TAB>TEXT, slots in order\n"
    "  check WORLD_DIR          read a world folder (the four archives and the\n"
    "                           wave folder) as the game would and list, one a\n"
    "                           line as FILE: REASON, everything it would stumble\n"
    "                           over; status 1 when anything is wrong\n"
    "  save FILE                every field of a save file's state, one a line\n"
    "                           as NAME: VALUE, then its favourites, address\n"
    "                           entries and visited pages, as the game reads\n"
    "                           them; text as UTF-8; status 1 when the game reads\n"
    "                           anything differently from what the file holds\n"
    "                           (what it reads is shown, and what differs is told)\n"
    "  pages WORLD_DIR          the page table of a world, one line a slot that\n"
    "                           holds a record: SLOT<TAB>FILE<TAB>ADDRESS<TAB>\n"
    "                           TITLE<TAB>KEYWORDS (joined with |)\n"
    "  search WORLD_DIR WORD... the result page the game builds for the words\n"
    "                           (UTF-8, joined with spaces), as its tokens, one a\n"
    "                           line like tokens\n"
    "  map WORLD_DIR OUT        the world as a graph: every page of Text.arc by\n"
    "                           site, every link, form button and story rule;\n"
    "                           OUT ending in .svg or .png is drawn with\n"
    "                           Graphviz's dot, .dot is the graph's source\n"
    "  map --text WORLD_DIR     the same edges, one a line: FROM<TAB>KIND<TAB>TO\n"
    "                           <TAB>CONDITION in UTF-8, then unreachable<TAB>N,\n"
    "                           the number of pages nothing reaches\n"
    "  --help                   show this text\n"
    "\n"
    "Exit status: 0 on success, 1 when an entry is missing or damaged (or a\n"
    "page's tag too long, a world has problems, or a save file is damaged), 2 on\n"
    "a usage or file error.\n";

constexpr int kExitDamaged = 1;
constexpr int kExitError = 2;

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "velarc: %s\n", message.c_str());
    return status;
}

// Archive::Open tells the player through a message box; here the tool says it.
bool g_openFailed = false;
void NoteOpenFailure(const std::string&) {
    g_openFailed = true;
}

std::optional<Archive> OpenArchive(const std::string& path) {
    g_openFailed = false;
    MessageHandler previous = SetMessageHandler(NoteOpenFailure);
    std::optional<Archive> archive;
    archive.emplace();
    archive->Open(path);
    SetMessageHandler(previous);
    if (g_openFailed || !archive->loaded()) {
        std::fprintf(stderr,
                     "velarc: cannot read %s: it is missing, or its table does not fit in the "
                     "file\n",
                     path.c_str());
        return std::nullopt;
    }
    return archive;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(size));
    out.close();
    return static_cast<bool>(out);
}

// Entries hold bytes, not the platform's text: no line ends are added.
void UseBinaryOutput() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

bool WriteStandardOutput(const std::vector<uint8_t>& data, size_t size) {
    UseBinaryOutput();
    return std::fwrite(data.data(), 1, size, stdout) == size && std::fflush(stdout) == 0;
}

// Each text as it stands, followed by LF.
bool PrintTexts(const std::vector<std::string>& texts) {
    UseBinaryOutput();
    for (const std::string& text : texts) {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
            std::fputc('\n', stdout) == EOF) {
            return false;
        }
    }
    return std::fflush(stdout) == 0;
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Decodes entry `index` into a buffer one byte larger than its unpacked size,
// so that a stream that runs long shows as such. Nothing when its data cannot
// be read.
std::optional<std::vector<uint8_t>> DecodeEntry(const Archive& archive, uint32_t index,
                                                size_t& decoded) {
    const ArchiveEntry& entry = archive.entry(index);
    std::optional<std::vector<uint8_t>> packed = archive.ReadPacked(index);
    if (!packed) {
        return std::nullopt;
    }
    std::vector<uint8_t> out(size_t{entry.unpackedSize} + 1);
    decoded = Archive::Decompress(packed->data(), packed->size(), out.data(), out.size());
    return out;
}

std::string SizeProblem(const ArchiveEntry& entry, size_t decoded) {
    if (decoded > entry.unpackedSize) {
        return "decodes to more than its " + std::to_string(entry.unpackedSize) + " bytes";
    }
    return "decodes to " + std::to_string(decoded) + " of its " +
           std::to_string(entry.unpackedSize) + " bytes";
}

int List(const std::string& path) {
    std::optional<Archive> archive = OpenArchive(path);
    if (!archive) {
        return kExitError;
    }
    for (uint32_t i = 0; i < archive->entryCount(); ++i) {
        const ArchiveEntry& e = archive->entry(i);
        std::printf("%s\t%u\t%u\t%u\n", e.name.c_str(), e.unpackedSize, e.packedSize, e.dataOffset);
    }
    return 0;
}

int Extract(const std::string& path, const std::string& name, const char* outPath) {
    std::optional<Archive> archive = OpenArchive(path);
    if (!archive) {
        return kExitError;
    }
    uint32_t index = 0;
    if (!archive->Find(name, index)) {
        return Fail(kExitDamaged, "no entry \"" + name + "\" in " + path);
    }
    const ArchiveEntry& entry = archive->entry(index);
    size_t decoded = 0;
    std::optional<std::vector<uint8_t>> data = DecodeEntry(*archive, index, decoded);
    if (!data) {
        return Fail(kExitDamaged,
                    "entry \"" + entry.name + "\": its data lies beyond the end of " + path);
    }
    const size_t size = std::min(decoded, size_t{entry.unpackedSize});
    const bool written =
        outPath ? WriteFile(outPath, *data, size) : WriteStandardOutput(*data, size);
    if (!written) {
        return Fail(kExitError,
                    std::string("cannot write ") + (outPath ? outPath : "standard output"));
    }
    if (decoded != entry.unpackedSize) {
        return Fail(kExitDamaged, "entry \"" + entry.name + "\" " + SizeProblem(entry, decoded));
    }
    return 0;
}

int Pack(const std::string& path, const std::vector<std::string>& files) {
    std::vector<ArchiveInput> inputs;
    for (const std::string& file : files) {
        ArchiveInput input;
        input.name = BaseName(file);
        std::string why;
        if (!IsValidEntryName(input.name, why)) {
            return Fail(kExitError, file + ": " + why);
        }
        for (const ArchiveInput& earlier : inputs) {
            if (EqualsIgnoringAsciiCase(earlier.name, input.name)) {
                return Fail(kExitError, file + ": the game could not tell it from \"" +
                                            earlier.name + "\"; entry names must differ");
            }
        }
        std::optional<std::vector<uint8_t>> data = ReadFileBytes(file);
        if (!data) {
            return Fail(kExitError, "cannot read " + file);
        }
        input.data = std::move(*data);
        inputs.push_back(std::move(input));
    }
    std::optional<std::vector<uint8_t>> archive = BuildArchive(inputs);
    if (!archive) {
        return Fail(kExitError, "the files do not fit in one archive (4 GiB at most)");
    }
    if (!WriteFile(path, *archive, archive->size())) {
        return Fail(kExitError, "cannot write " + path);
    }
    return 0;
}

int Verify(const std::string& path) {
    std::optional<Archive> archive = OpenArchive(path);
    if (!archive) {
        return kExitError;
    }
    int damaged = 0;
    for (uint32_t i = 0; i < archive->entryCount(); ++i) {
        const ArchiveEntry& entry = archive->entry(i);
        size_t decoded = 0;
        if (!DecodeEntry(*archive, i, decoded)) {
            std::printf("%s: its data lies beyond the end of the archive\n", entry.name.c_str());
            ++damaged;
        } else if (decoded != entry.unpackedSize) {
            std::printf("%s: %s\n", entry.name.c_str(), SizeProblem(entry, decoded).c_str());
            ++damaged;
        }
    }
    std::printf("%u entries, %d damaged\n", archive->entryCount(), damaged);
    return damaged ? kExitDamaged : 0;
}

// Entry `name` as the game's page and line readers receive it; says why not
// when it is missing or cannot be read.
std::optional<EntryData> ReadForGame(const Archive& archive, const std::string& path,
                                     const std::string& name) {
    uint32_t index = 0;
    if (!archive.Find(name, index)) {
        Fail(kExitDamaged, "no entry \"" + name + "\" in " + path);
        return std::nullopt;
    }
    std::optional<EntryData> data = archive.ReadEntry(name, kPageReaderBuffers);
    if (!data) {
        Fail(kExitDamaged, "entry \"" + archive.entry(index).name +
                               "\" is damaged: its data lies beyond the end of " + path +
                               ", or its packed data cannot give its size");
    }
    return data;
}

int Tokens(const std::string& path, const std::string& name) {
    std::optional<Archive> archive = OpenArchive(path);
    if (!archive) {
        return kExitError;
    }
    std::optional<EntryData> data = ReadForGame(*archive, path, name);
    if (!data) {
        return kExitDamaged;
    }
    StringList tokens;
    const bool whole = TokenizePage(data->bytes.data(), data->size, tokens);
    if (!PrintTexts(tokens.Texts())) {
        return Fail(kExitError, "cannot write standard output");
    }
    if (!whole) {
        return Fail(kExitDamaged, "after token " + std::to_string(tokens.count()) +
                                      " a tag has no \">\" within " +
                                      std::to_string(kMaxTagLength) +
                                      " bytes; the game shows the page only up to there");
    }
    return 0;
}

int Lines(const std::string& path, const std::string& name) {
    std::optional<Archive> archive = OpenArchive(path);
    if (!archive) {
        return kExitError;
    }
    std::optional<EntryData> data = ReadForGame(*archive, path, name);
    if (!data) {
        return kExitDamaged;
    }
    StringList lines;
    SplitLines(data->bytes.data(), data->size, lines);
    if (!PrintTexts(lines.Texts())) {
        return Fail(kExitError, "cannot write standard output");
    }
    return 0;
}

int Passwords(const std::string& path) {
    std::optional<Archive> archive = OpenArchive(path);
    if (!archive) {
        return kExitError;
    }
    std::optional<EntryData> data = ReadForGame(*archive, path, "password.txt");
    if (!data) {
        return kExitDamaged;
    }
    StringList lines;
    SplitLines(data->bytes.data(), data->size, lines);
    const PasswordLists lists = ParsePasswordLines(lines);
    std::vector<std::string> rows;
    for (size_t slot = 0; slot < lists.size(); ++slot) {
        for (const std::string& text : lists[slot]) {
            rows.push_back(std::to_string(slot) + "\t" + text);
        }
    }
    if (!PrintTexts(rows)) {
        return Fail(kExitError, "cannot write standard output");
    }
    return 0;
}

// The text archive of a world folder.
std::optional<Archive> OpenWorldText(const std::string& worldDir) {
    return OpenArchive((std::filesystem::path(worldDir) / "Text.arc").string());
}

int Pages(const std::string& worldDir) {
    std::optional<Archive> text = OpenWorldText(worldDir);
    if (!text) {
        return kExitError;
    }
    const std::vector<SearchRecord> table = LoadPageTable(*text);
    std::vector<std::string> rows;
    for (size_t slot = 0; slot < table.size(); ++slot) {
        const SearchRecord& record = table[slot];
        std::string keywords;
        for (const std::string& keyword : record.keywords) {
            keywords += (keywords.empty() ? "" : "|") + keyword;
        }
        if (record.fileName.empty() && record.address.empty() && record.title.empty() &&
            keywords.empty()) {
            continue;
        }
        rows.push_back(std::to_string(slot) + "\t" + record.fileName + "\t" + record.address +
                       "\t" + record.title + "\t" + keywords);
    }
    if (!PrintTexts(rows)) {
        return Fail(kExitError, "cannot write standard output");
    }
    return 0;
}

int Search(const std::string& worldDir, const std::vector<std::string>& utf8Words) {
    std::string joined;
    for (const std::string& word : utf8Words) {
        joined += (joined.empty() ? "" : " ") + word;
    }
    const std::optional<std::string> text = Utf8ToCp932(joined);
    if (!text) {
        return Fail(kExitError, "the words are not UTF-8, or hold a character code page 932 lacks");
    }
    std::optional<Archive> archive = OpenWorldText(worldDir);
    if (!archive) {
        return kExitError;
    }
    std::vector<std::string> words;
    if (SplitKeywords(*text, words) < 0) {
        return Fail(kExitDamaged, "the search text is too long or has too many words");
    }
    TokenList page;
    FillSearchPage(*archive, LoadPageTable(*archive), words, page);
    if (!PrintTexts(page.Texts())) {
        return Fail(kExitError, "cannot write standard output");
    }
    return 0;
}

int Check(const std::string& worldDir) {
    std::error_code error;
    if (!std::filesystem::is_directory(worldDir, error)) {
        return Fail(kExitError, worldDir + " is not a folder");
    }
    const std::vector<WorldFinding> findings = CheckWorld(worldDir);
    UseBinaryOutput();
    for (const WorldFinding& finding : findings) {
        std::printf("%s: %s\n", finding.file.c_str(), finding.reason.c_str());
    }
    if (findings.empty()) {
        std::printf("%s: no problems found\n", worldDir.c_str());
        return 0;
    }
    std::printf("%s: %zu problem%s found\n", worldDir.c_str(), findings.size(),
                findings.size() == 1 ? "" : "s");
    return kExitDamaged;
}

std::string Number(uint32_t value) {
    return std::to_string(value);
}

// Flags, slot 0 first: any byte but 0 counts as set.
template <size_t N>
std::string FlagString(const std::array<uint8_t, N>& flags) {
    std::string out;
    for (uint8_t flag : flags) {
        out += flag != 0 ? '1' : '0';
    }
    return out;
}

std::string Text(std::string_view cp932) {
    return Cp932ToUtf8Line(cp932);
}

// The state's fields in file order, with their widths in the file.
struct StateField {
    enum Kind { kFlags, kText, kPageName, kNumber, kCount };
    const char* name;
    size_t size;
    Kind kind;
    std::string (*show)(const GameState&);
};

constexpr StateField kStateFields[] = {
    {"messageWait", 1, StateField::kFlags,
     [](const GameState& s) { return Number(s.messageWait); }},
    {"addressBarVisible", 1, StateField::kFlags,
     [](const GameState& s) { return Number(s.addressBarVisible); }},
    {"toolBarVisible", 1, StateField::kFlags,
     [](const GameState& s) { return Number(s.toolBarVisible); }},
    {"statusBarVisible", 1, StateField::kFlags,
     [](const GameState& s) { return Number(s.statusBarVisible); }},
    {"pluginMissing", 1, StateField::kFlags,
     [](const GameState& s) { return Number(s.pluginMissing); }},
    {"passwordSolved", GameState::kProtectedPages, StateField::kFlags,
     [](const GameState& s) { return FlagString(s.passwordSolved); }},
    {"homeAddress", kAddressFieldSize, StateField::kText,
     [](const GameState& s) { return Text(s.homeAddress.view()); }},
    {"homePage", kPageNameFieldSize, StateField::kPageName,
     [](const GameState& s) { return Text(s.homePage.view()); }},
    {"notesRead", GameState::kNotePages, StateField::kFlags,
     [](const GameState& s) { return FlagString(s.notesRead); }},
    {"umakerPage", 256, StateField::kPageName,
     [](const GameState& s) { return Text(s.umakerPage.view()); }},
    {"kyoumakerPage", 256, StateField::kPageName,
     [](const GameState& s) { return Text(s.kyoumakerPage.view()); }},
    {"disclosureStage", 4, StateField::kNumber,
     [](const GameState& s) { return Number(s.disclosureStage); }},
    {"pageCounter", 4, StateField::kNumber,
     [](const GameState& s) { return Number(s.pageCounter); }},
    {"killerCounter", 4, StateField::kNumber,
     [](const GameState& s) { return Number(s.killerCounter); }},
    {"reserved", 4, StateField::kNumber, [](const GameState& s) { return Number(s.reserved); }},
    {"favouriteCount", 4, StateField::kCount,
     [](const GameState& s) { return Number(s.favouriteCount); }},
    {"addressCount", 4, StateField::kCount,
     [](const GameState& s) { return Number(s.addressCount); }},
    {"visitedCount", 4, StateField::kCount,
     [](const GameState& s) { return Number(s.visitedCount); }},
};

constexpr size_t StateFieldsSize() {
    size_t size = 0;
    for (const StateField& field : kStateFields) {
        size += field.size;
    }
    return size;
}
static_assert(StateFieldsSize() == GameState::kSize);

// A string field's text as the file holds it: up to its first zero byte, or
// all of it when it has none.
std::string_view RawText(const uint8_t* field, size_t width) {
    const auto* text = reinterpret_cast<const char*>(field);
    return {text, static_cast<size_t>(std::find(text, text + width, '\0') - text)};
}

// Prints a save file as the game reads it; says on standard error what the
// game reads differently from what the file holds. Everything is found by
// comparing the file's bytes with what the game's own reading makes of them,
// so the two cannot disagree, and a file the game wrote passes.
class SavePrinter {
  public:
    SavePrinter(const std::string& path, const std::vector<uint8_t>& bytes)
        : path_(path), bytes_(bytes) {}

    int Print() {
        UseBinaryOutput();
        if (bytes_.size() < GameState::kSize) {
            PrintShortState();
        } else {
            PrintState();
            PrintRecords();
        }
        for (const std::string& problem : problems_) {
            std::fprintf(stderr, "velarc: %s: %s\n", path_.c_str(), problem.c_str());
        }
        if (std::fflush(stdout) != 0) {
            return Fail(kExitError, "cannot write standard output");
        }
        return problems_.empty() ? 0 : kExitDamaged;
    }

  private:
    void Line(const std::string& name, const std::string& value) {
        std::printf("%s: %s\n", name.c_str(), value.c_str());
    }

    // A string field of `width` bytes at `raw` that the game reads as `read`.
    void CheckText(const std::string& name, const uint8_t* raw, size_t width,
                   std::string_view read) {
        const std::string_view text = RawText(raw, width);
        const std::string_view fitted = FitField(text, width);
        if (text.size() == width) {
            problems_.push_back(name + " has no zero byte within its " + std::to_string(width) +
                                " bytes; shown as the game reads it, cut to " +
                                std::to_string(width - 1) + " bytes at most");
        } else if (fitted != text) {
            problems_.push_back(name + " ends in the first byte of a double-byte character, " +
                                "which the game leaves out");
        }
        if (read != fitted) {
            problems_.push_back(name + " \"" + Text(fitted) +
                                "\" can name no page; the game reads " +
                                (read.empty() ? "it empty" : "\"" + Text(read) + "\""));
        }
    }

    void CheckFlags(const StateField& field, const uint8_t* raw, const uint8_t* read) {
        for (size_t i = 0; i < field.size; ++i) {
            if (raw[i] != read[i]) {
                const std::string index = field.size > 1 ? "[" + std::to_string(i) + "]" : "";
                problems_.push_back(std::string(field.name) + index + " holds " +
                                    std::to_string(raw[i]) + ", not 0 or 1; the game reads it as " +
                                    std::to_string(read[i]));
            }
        }
    }

    // A file shorter than the state holds no game: the fields wholly inside it.
    void PrintShortState() {
        GameState::Bytes head{};
        std::copy(bytes_.begin(), bytes_.end(), head.begin());
        const GameState state = GameState::FromBytes(head);
        size_t offset = 0;
        for (const StateField& field : kStateFields) {
            if (offset + field.size > bytes_.size()) {
                problems_.push_back(std::to_string(bytes_.size()) + " bytes, shorter than the " +
                                    std::to_string(GameState::kSize) +
                                    "-byte state: the fields from " + field.name +
                                    " on are missing, and the game starts a new game");
                return;
            }
            Line(field.name, field.show(state));
            offset += field.size;
        }
    }

    // Each field as the game reads it, the counts as the file promises them.
    void PrintState() {
        const std::optional<SaveData> data = DecodeSaveFile(bytes_.data(), bytes_.size());
        raw_ = GameState::FromBytes(bytes_.data());
        GameState shown = data->state;
        shown.favouriteCount = raw_.favouriteCount;
        shown.addressCount = raw_.addressCount;
        shown.visitedCount = raw_.visitedCount;
        const GameState::Bytes read = data->state.ToBytes();
        size_t offset = 0;
        for (const StateField& field : kStateFields) {
            Line(field.name, field.show(shown));
            const uint8_t* raw = bytes_.data() + offset;
            const uint8_t* mended = read.data() + offset;
            switch (field.kind) {
                case StateField::kFlags:
                    CheckFlags(field, raw, mended);
                    break;
                case StateField::kText:
                case StateField::kPageName:
                    CheckText(field.name, raw, field.size, RawText(mended, field.size));
                    break;
                case StateField::kNumber:
                case StateField::kCount:
                    // Numbers are read as they stand; the counts are told with the lists.
                    break;
            }
            offset += field.size;
        }
    }

    void PrintRecords() {
        const SaveLists lists = LocateSaveLists(raw_, bytes_.size());
        std::printf("# favourites\n");
        for (size_t i = 0; i < lists.favourites.read; ++i) {
            const uint8_t* record =
                bytes_.data() + lists.favourites.offset + i * kFavouriteRecordSize;
            const Favourite favourite = ReadFavouriteRecord(record);
            const std::string name = "favourite[" + std::to_string(i) + "]";
            Line(name + ".title", Text(favourite.title));
            Line(name + ".keyword", Text(favourite.keyword));
            Line(name + ".fileName", Text(favourite.fileName));
            CheckText(name + ".title", record, kAddressFieldSize, favourite.title);
            CheckText(name + ".keyword", record + kAddressFieldSize, kAddressFieldSize,
                      favourite.keyword);
            CheckText(name + ".fileName", record + 2 * kAddressFieldSize, kPageNameFieldSize,
                      favourite.fileName);
        }
        std::printf("# addresses\n");
        for (size_t i = 0; i < lists.addresses.read; ++i) {
            const uint8_t* record = bytes_.data() + lists.addresses.offset + i * kAddressFieldSize;
            const std::string name = "address[" + std::to_string(i) + "]";
            const std::string address = ReadFixedString(record, kAddressFieldSize);
            Line(name, Text(address));
            CheckText(name, record, kAddressFieldSize, address);
        }
        // Numbered as the file's records: a name the game leaves out leaves a gap.
        std::printf("# visited\n");
        for (size_t i = 0; i < lists.visited.read; ++i) {
            const uint8_t* record = bytes_.data() + lists.visited.offset + i * kPageNameFieldSize;
            const std::string name = "visited[" + std::to_string(i) + "]";
            if (const std::optional<std::string> visited = ReadVisitedRecord(record)) {
                Line(name, Text(*visited));
                CheckText(name, record, kPageNameFieldSize, *visited);
            } else {
                problems_.push_back(name + " \"" + Text(RawText(record, kPageNameFieldSize)) +
                                    "\" can name no page; the game leaves it out");
            }
        }

        CheckCount("favouriteCount", lists.favourites, "favourite");
        CheckCount("addressCount", lists.addresses, "address");
        CheckCount("visitedCount", lists.visited, "visited");
        if (!lists.cut && lists.end < bytes_.size()) {
            problems_.push_back(std::to_string(bytes_.size() - lists.end) +
                                " bytes after the last record, which the game ignores");
        }
    }

    // The count the file promised against the records the game reads. It
    // reads no list after one that runs past the end of the file.
    void CheckCount(const char* name, const SaveList& list, const char* record) {
        const std::string records = std::string(" ") + record + " record";
        if (list.whole < list.count) {
            if (listCut_) {
                problems_.push_back(std::string(name) + " is " + std::to_string(list.count) +
                                    ", but no" + records +
                                    " is read after a list that runs past the end of the file");
            } else {
                problems_.push_back(std::string(name) + " is " + std::to_string(list.count) +
                                    ", but the file holds only " + std::to_string(list.whole) +
                                    " whole" + records + (list.whole == 1 ? "" : "s"));
            }
            listCut_ = true;
        }
        if (list.read < list.whole) {
            problems_.push_back(std::string(name) + " is " + std::to_string(list.count) +
                                ", but the game reads only the first " + std::to_string(list.read) +
                                records + "s");
        }
    }

    const std::string& path_;
    const std::vector<uint8_t>& bytes_;
    GameState raw_;  // the state as the file holds it
    std::vector<std::string> problems_;
    bool listCut_ = false;  // a list ran past the end of the file
};

int Save(const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path);
    if (!bytes) {
        return Fail(kExitError, "cannot read " + path);
    }
    return SavePrinter(path, *bytes).Print();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return kExitError;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "list" && args.size() == 2) {
        return List(args[1]);
    }
    if (command == "extract" && (args.size() == 3 || args.size() == 4)) {
        return Extract(args[1], args[2], args.size() == 4 ? args[3].c_str() : nullptr);
    }
    if (command == "pack" && args.size() >= 2) {
        return Pack(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    }
    if (command == "verify" && args.size() == 2) {
        return Verify(args[1]);
    }
    if (command == "tokens" && args.size() == 3) {
        return Tokens(args[1], args[2]);
    }
    if (command == "lines" && args.size() == 3) {
        return Lines(args[1], args[2]);
    }
    if (command == "passwords" && args.size() == 2) {
        return Passwords(args[1]);
    }
    if (command == "check" && args.size() == 2) {
        return Check(args[1]);
    }
    if (command == "save" && args.size() == 2) {
        return Save(args[1]);
    }
    if (command == "pages" && args.size() == 2) {
        return Pages(args[1]);
    }
    if (command == "search" && args.size() >= 3) {
        return Search(args[1], std::vector<std::string>(args.begin() + 2, args.end()));
    }
    if (command == "map" && args.size() == 3) {
        return args[1] == "--text" ? MapText(args[2]) : MapDraw(args[1], args[2]);
    }
    const bool known = command == "list" || command == "extract" || command == "pack" ||
                       command == "verify" || command == "tokens" || command == "lines" ||
                       command == "passwords" || command == "check" || command == "save" ||
                       command == "pages" || command == "search" || command == "map";
    return Fail(kExitError, (known ? "wrong arguments for \"" + command + "\""
                                   : "unknown command \"" + command + "\"") +
                                "; see velarc --help");
}
