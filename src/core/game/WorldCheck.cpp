#include "game/WorldCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "LittleEndian.h"
#include "Message.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "game/PageTable.h"
#include "game/PasswordTable.h"
#include "game/StoryRules.h"
#include "html/Attributes.h"
#include "html/PageReferences.h"
#include "html/TagTable.h"
#include "html/TokenList.h"
#include "text/ShiftJis.h"
#include "text/StringList.h"

namespace {

// The archives in the order the game opens them.
enum ArchiveIndex { kCg, kEx, kText, kParts, kArchiveCount };
constexpr std::array<const char*, kArchiveCount> kArchiveNames = {"cg.arc", "ex.arc", "Text.arc",
                                                                  "parts.arc"};
// Pictures are looked for in this order.
constexpr std::array<ArchiveIndex, 3> kPictureArchives = {kCg, kEx, kParts};

constexpr int kPictureSlots = 64;

// Scene and title pictures: 640 x 480, 24 bits, bottom-up.
constexpr int32_t kSceneWidth = 640;
constexpr int32_t kSceneHeight = 480;
constexpr size_t kSceneRowBytes = kSceneWidth * 3;
constexpr int32_t kTitleStripRows = 80;

std::string Format(const char* pattern, int n) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, pattern, n);
    return buffer;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(FoldAsciiCase(static_cast<uint8_t>(c)));
    }
    return out;
}

bool Contains(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

// Page pictures may be named .jpg or .gif; the game loads the .bmp instead.
std::optional<std::string> PictureEntryName(std::string name) {
    if (name.ends_with("bmp")) {
        return name;
    }
    size_t at = name.find("jpg");
    if (at == std::string::npos) {
        at = name.find("gif");
    }
    if (at == std::string::npos) {
        return std::nullopt;
    }
    name.replace(at, 3, "bmp");
    return name;
}

// With the plug-in installed and Caps Lock on, "...m.bmp" is shown as "....bmp".
std::optional<std::string> PluginPictureName(std::string_view name) {
    if (!EndsWithIgnoringAsciiCase(name, "m.bmp")) {
        return std::nullopt;
    }
    return std::string(name.substr(0, name.size() - 5)) + ".bmp";
}

void IgnoreMessage(const std::string&) {}

struct PictureInfo {
    bool found = false;
    ArchiveIndex archive = kCg;
    uint32_t index = 0;
    bool bitmap = false;  // a .bmp with an information header
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bits = 0;
    uint32_t compression = 0;
    bool reported = false;  // its own problems were listed once
};

// Lines of a scenario text as the message window plays them, with their line
// numbers in the file for the reader of a finding.
struct ScenarioLine {
    int number = 0;
    std::string text;
};

std::vector<ScenarioLine> ScenarioLines(const EntryData& data) {
    std::vector<ScenarioLine> lines;
    int number = 1;
    std::string current;
    auto finish = [&]() {
        if (!current.empty() && IsLeadByte(static_cast<uint8_t>(current[0]))) {
            lines.push_back({number, current});
        }
        current.clear();
    };
    for (uint32_t i = 0; i < data.size; ++i) {
        const auto byte = static_cast<char>(data.bytes[i]);
        if (byte == '\r' || byte == '\n') {
            finish();
            if (byte == '\n' || i + 1 >= data.size || data.bytes[i + 1] != '\n') {
                ++number;
            }
        } else if (byte == '\0') {
            // The window reads each line as a zero-terminated string.
            finish();
        } else {
            current += byte;
        }
    }
    finish();
    return lines;
}

class WorldChecker {
  public:
    explicit WorldChecker(const std::string& worldDir) : dir_(worldDir) {}

    std::vector<WorldFinding> Run() {
        OpenArchives();
        CheckRequiredPages();
        CheckPages();
        CheckPageTable();
        CheckScenarios();
        CheckPasswords();
        CheckTitlePictures();
        CheckWaves();
        return std::move(findings_);
    }

  private:
    void Add(std::string file, std::string reason) {
        findings_.push_back({std::move(file), std::move(reason)});
    }

    const Archive& Text() const { return archives_[kText]; }

    bool HasPage(std::string_view name) const {
        uint32_t index = 0;
        return Text().Find(name, index);
    }

    void OpenArchives() {
        const MessageHandler previous = SetMessageHandler(IgnoreMessage);
        for (int i = 0; i < kArchiveCount; ++i) {
            const std::filesystem::path path = dir_ / kArchiveNames[i];
            std::error_code error;
            if (!std::filesystem::is_regular_file(path, error)) {
                Add(kArchiveNames[i], "is missing");
                continue;
            }
            archives_[i].Open(path.string());
            if (!archives_[i].loaded()) {
                Add(kArchiveNames[i], "cannot be read: its entry table does not fit in the file");
            }
            CheckEntryNames(archives_[i], kArchiveNames[i]);
        }
        SetMessageHandler(previous);
    }

    void CheckEntryNames(const Archive& archive, const char* archiveName) {
        std::set<std::string> seen;
        for (uint32_t i = 0; i < archive.entryCount(); ++i) {
            const std::string& name = archive.entry(i).name;
            if (name.size() > kMaxEntryName) {
                Add(name, std::string("in ") + archiveName +
                              ": the name is longer than 19 bytes and has no closing zero");
            }
            if (!seen.insert(FoldCase(name)).second) {
                Add(name, std::string("appears twice in ") + archiveName +
                              "; the game only ever finds the first");
            }
        }
    }

    void CheckRequiredPages() {
        for (const auto& [name, role] : kBrowserPages) {
            if (!HasPage(name)) {
                Add(name, std::string("is missing from Text.arc; it is ") + role);
            }
        }
        // Pages the story puts in place of others as it goes on.
        for (const StoryReplacement& r : FindStoryReplacements(PageNames())) {
            if (!HasPage(r.to)) {
                Add(r.from, "is replaced by " + Quoted(r.to) +
                                " as the story goes on, but Text.arc does not hold it");
            }
        }
    }

    std::vector<std::string> PageNames() const { return WorldPageNames(Text()); }

    // ---- pages ----

    struct SearchTemplate {
        bool mark = false;
        bool keywordField = false;
        bool searchButton = false;
    };

    void CheckPages() {
        for (const std::string& name : PageNames()) {
            CheckPage(name);
        }
    }

    void CheckPage(const std::string& page) {
        const std::optional<EntryData> data = Text().ReadEntry(page, kPageReaderBuffers);
        if (!data) {
            Add(page, "cannot be read: its entry is damaged");
            return;
        }
        StringList tokens;
        if (!TokenizePage(data->bytes.data(), data->size, tokens)) {
            Add(page, "has a tag without its \">\" within 256 bytes; the page ends there");
        }
        SearchTemplate search;
        int pictures = 0;
        int tableDepth = 0;
        int deepestTable = 0;
        for (const StringNode* node = tokens.first(); !node->IsSentinel(); node = node->next()) {
            const std::string& token = *node->text();
            if (token.empty() || token[0] != '<') {
                continue;
            }
            const Tag tag = FindTag(token);
            if (tag == Tag::None) {
                Add(page, "uses the tag " + std::string(CutAtCharacter(token, 60)) +
                              ", which the engine does not know and draws as text");
                continue;
            }
            if (tag == Tag::Comment) {
                search.mark = search.mark || token == "<!>";
                continue;
            }
            CheckQuotes(page, token);
            switch (tag) {
                case Tag::Image:
                    if (HasAttribute(token, "src")) {
                        ++pictures;
                        CheckPagePicture(page, AttributeValue(token, "src"), true);
                    }
                    break;
                case Tag::Body:
                    if (HasAttribute(token, "background")) {
                        ++pictures;
                        CheckPagePicture(page, AttributeValue(token, "background"), false);
                    }
                    break;
                case Tag::Table:
                    deepestTable = std::max(deepestTable, ++tableDepth);
                    break;
                case Tag::TableEnd:
                    tableDepth = std::max(0, tableDepth - 1);
                    break;
                default:
                    break;
            }
        }
        // Links and form controls as the page engine reads them.
        const PageReferences references = ReadPageReferences(tokens);
        for (const std::string& target : references.links) {
            CheckLink(page, target);
        }
        for (const PageInput& input : references.inputs) {
            CheckInput(page, input, search);
        }
        if (deepestTable > TokenList::kMaxTableDepth) {
            Add(page, "nests tables " + std::to_string(deepestTable) + " deep; the game lays out " +
                          std::to_string(TokenList::kMaxTableDepth) +
                          " levels and leaves the content of deeper tables in the enclosing cell");
        }
        if (pictures > kPictureSlots) {
            Add(page, "shows " + std::to_string(pictures) +
                          " pictures; the game draws only the first 64");
        }
        if (EqualsIgnoringAsciiCase(page, "search.htm")) {
            CheckSearchTemplate(page, search);
        }
    }

    // The engine sees a value only between double quotes after its name.
    void CheckQuotes(const std::string& page, const std::string& token) {
        bool quoted = false;
        for (size_t i = 0; i < token.size(); ++i) {
            if (token[i] == '"') {
                quoted = !quoted;
            } else if (token[i] == '=' && !quoted) {
                size_t next = i + 1;
                while (next < token.size() && token[next] == ' ') {
                    ++next;
                }
                if (next < token.size() && token[next] == '"') {
                    continue;
                }
                size_t start = i;
                while (start > 0 && token[start - 1] != ' ' && token[start - 1] != '<') {
                    --start;
                }
                Add(page, "writes the value of " + Quoted(token.substr(start, i - start)) +
                              " without double quotes; the engine does not see it");
            }
        }
    }

    void CheckLink(const std::string& page, std::string_view target) {
        const LinkAction action = ClassifyLink(target);
        switch (action.kind) {
            case LinkAction::Kind::Message:
                CheckScenarioReference(page, target, Format("tous%02d.txt", action.index));
                break;
            case LinkAction::Kind::Note:
                CheckScenarioReference(page, target, Format("suga%02d.txt", action.index));
                break;
            case LinkAction::Kind::Plugin:
                // The plug-in set-up needs nothing from the archives.
                break;
            case LinkAction::Kind::Download: {
                uint32_t index = 0;
                if (!archives_[kEx].Find(action.downloadFile, index)) {
                    Add(page, "offers the download " + Quoted(target) + ", but ex.arc has no " +
                                  Quoted(action.downloadFile));
                }
                break;
            }
            case LinkAction::Kind::ProtectedPage:
                Add(page, "links straight to the protected page " + Quoted(target) +
                              ", which skips its password; a submit button named after the page "
                              "asks for it");
                break;
            case LinkAction::Kind::Page:
                CheckPageTarget(page, target, "links to");
                break;
        }
    }

    void CheckScenarioReference(const std::string& page, std::string_view target,
                                const std::string& scenario) {
        if (!HasPage(scenario)) {
            Add(page, "links to " + Quoted(target) + ", but Text.arc has no scenario text " +
                          Quoted(scenario));
        }
    }

    void CheckPageTarget(const std::string& page, std::string_view target, const char* verb) {
        if (target.empty()) {
            Add(page, std::string(verb) + " a page without a name");
        } else if (target.size() > kMaxEntryName) {
            Add(page, std::string(verb) + " " + Quoted(target) +
                          ", a name longer than 19 bytes that no entry can hold");
        } else if (!HasPage(target)) {
            Add(page, std::string(verb) + " " + Quoted(target) + ", which Text.arc does not hold");
        }
    }

    void CheckInput(const std::string& page, const PageInput& input, SearchTemplate& search) {
        const std::string& name = input.name;
        if (input.kind == InputKind::Text) {
            search.keywordField = search.keywordField || Contains(name, "keyword");
            return;
        }
        if (input.kind != InputKind::Submit) {
            return;
        }
        const SubmitDecision decision = DecideSubmit(name);
        switch (decision.kind) {
            case SubmitDecision::Kind::ProtectedPage:
                NoteSlot(decision.protectedPage, page);
                if (!HasPage(name)) {
                    Add(page, "has a button for the protected page " + Quoted(name) +
                                  ", which Text.arc does not hold");
                }
                break;
            case SubmitDecision::Kind::Search:
                search.searchButton = true;
                break;
            case SubmitDecision::Kind::OpenPage:
                CheckPageTarget(page, name, "has a submit button that opens");
                break;
            case SubmitDecision::Kind::Nothing:
                break;
        }
    }

    void CheckSearchTemplate(const std::string& page, const SearchTemplate& search) {
        if (!search.mark) {
            Add(page, "has no insertion mark <!>: search results have nowhere to go");
        }
        if (!search.keywordField) {
            Add(page, "has no text field whose name contains \"keyword\"");
        }
        if (!search.searchButton) {
            Add(page, "has no submit button whose name contains \"検索ボタン\"");
        }
    }

    // ---- pictures ----

    PictureInfo& Picture(const std::string& name) {
        const std::string key = FoldCase(name);
        auto it = pictures_.find(key);
        if (it != pictures_.end()) {
            return it->second;
        }
        PictureInfo info;
        for (ArchiveIndex archive : kPictureArchives) {
            if (archives_[archive].Find(name, info.index)) {
                info.found = true;
                info.archive = archive;
                ReadBitmapHeader(info);
                break;
            }
        }
        return pictures_.emplace(key, info).first->second;
    }

    void ReadBitmapHeader(PictureInfo& info) const {
        const Archive& archive = archives_[info.archive];
        const std::optional<std::vector<uint8_t>> packed = archive.ReadPacked(info.index);
        if (!packed) {
            return;
        }
        uint8_t header[54] = {};
        const size_t got =
            Archive::Decompress(packed->data(), packed->size(), header, sizeof header);
        if (got < sizeof header || header[0] != 'B' || header[1] != 'M' ||
            ReadLe32(header + 14) < 40) {
            return;
        }
        info.bitmap = true;
        info.width = static_cast<int32_t>(ReadLe32(header + 18));
        info.height = static_cast<int32_t>(ReadLe32(header + 22));
        info.bits = static_cast<uint16_t>(header[28] | (header[29] << 8));
        info.compression = ReadLe32(header + 30);
    }

    // Whether `name` is in a picture archive and is a .bmp; lists what is not.
    bool CheckPicture(const std::string& from, const std::string& name, const std::string& what) {
        PictureInfo& info = Picture(name);
        if (!info.found) {
            Add(from, what + " " + Quoted(name) +
                          ", which is in no picture archive (cg.arc, ex.arc, parts.arc)");
            return false;
        }
        if (!info.bitmap) {
            if (!info.reported) {
                Add(name, "is not a .bmp picture with a 40-byte information header");
                info.reported = true;
            }
            return false;
        }
        return true;
    }

    void CheckSceneFormat(const std::string& name) {
        PictureInfo& info = Picture(name);
        if (info.reported || (info.width == kSceneWidth && info.height == kSceneHeight &&
                              info.bits == 24 && info.compression == 0)) {
            return;
        }
        info.reported = true;
        Add(name, "must be 640 x 480 pixels, 24 bits, uncompressed and bottom-up; it is " +
                      std::to_string(info.width) + " x " + std::to_string(info.height) + " x " +
                      std::to_string(info.bits) + (info.height < 0 ? " top-down" : "") +
                      (info.compression != 0 ? " compressed" : ""));
    }

    void CheckPagePicture(const std::string& page, std::string_view src, bool nameRule) {
        const std::optional<std::string> name = PictureEntryName(std::string(src));
        if (!name) {
            Add(page, "shows the picture " + Quoted(src) +
                          ", a name the game cannot load: it must end in bmp or hold jpg or gif");
            return;
        }
        CheckPicture(page, *name, "shows the picture");
        if (nameRule) {
            CheckPluginPicture(page, *name);
        }
    }

    void CheckPluginPicture(const std::string& from, const std::string& name) {
        const std::optional<std::string> alternative = PluginPictureName(name);
        if (alternative && !Picture(*alternative).found) {
            Add(from, "shows " + Quoted(name) + ", which becomes " + Quoted(*alternative) +
                          " with the plug-in installed and Caps Lock on, but that is in no "
                          "picture archive");
        }
    }

    // ---- page table ----

    void CheckPageTable() {
        StringList lines;
        if (!lines.LoadLines("search.txt", Text())) {
            Add("search.txt", "is missing: pages get no address and searches find nothing");
            return;
        }
        PageTableReading reading = ReadPageTableRecords(lines);
        std::vector<SearchRecord>& records = reading.records;
        if (!reading.lastRecordTerminated) {
            Add("search.txt", "its last record has no □ＮＥＸＴ line");
        }
        if (records.size() > kPageTableSlots) {
            Add("search.txt", "has " + std::to_string(records.size()) +
                                  " records; the game reads only the first 300");
            records.resize(kPageTableSlots);
        }
        for (size_t i = 0; i < records.size(); ++i) {
            const SearchRecord& record = records[i];
            const std::string which = "record " + std::to_string(i + 1);
            if (record.fileName.empty() && record.address.empty() && record.title.empty() &&
                record.keywords.empty()) {
                continue;
            }
            if (record.fileName.empty()) {
                Add("search.txt", which + " has no file name (□)");
            } else if (!HasPage(record.fileName)) {
                Add("search.txt", which + " names the page " + Quoted(record.fileName) +
                                      ", which Text.arc does not hold");
            } else if (record.address.empty()) {
                Add("search.txt", which + " (" + record.fileName + ") has no address (△)");
            }
        }
        CheckPagesHaveRecords(records);
    }

    // A page opened without a record keeps no file name: the address bar
    // shows nothing for it and Back and Forward cannot return to it.
    void CheckPagesHaveRecords(const std::vector<SearchRecord>& records) {
        const Archive& text = Text();
        for (uint32_t i = 0; i < text.entryCount(); ++i) {
            const std::string& name = text.entry(i).name;
            if (!EndsWithIgnoringAsciiCase(name, ".htm") ||
                EqualsIgnoringAsciiCase(name, "urlmiss.htm")) {
                continue;
            }
            bool listed = false;
            for (const SearchRecord& record : records) {
                listed = listed || EqualsIgnoringAsciiCase(record.fileName, name);
            }
            if (!listed) {
                Add(name,
                    "has no record in search.txt: it shows no address, and Back and "
                    "Forward cannot return to it");
            }
        }
    }

    // ---- scenario texts ----

    void NoteSlot(int slot, const std::string& who) { slotUsers_[slot].insert(who); }

    void CheckScenarios() {
        bool any = false;
        for (int i = 0; i < kMessagePageCount; ++i) {
            any = CheckScenario(Format("tous%02d.txt", i), true, i) || any;
        }
        for (int i = 0; i < kNotePageCount; ++i) {
            any = CheckScenario(Format("suga%02d.txt", i), false, i) || any;
        }
        // The picture window takes the format of its picture from this one.
        if (any && CheckPicture("pict0100.bmp", "pict0100.bmp",
                                "the picture window needs its format picture")) {
            CheckSceneFormat("pict0100.bmp");
        }
    }

    bool CheckScenario(const std::string& name, bool message, int number) {
        if (!HasPage(name)) {
            return false;
        }
        const std::optional<EntryData> data = Text().ReadEntry(name, kScenarioReaderBuffers);
        if (!data) {
            Add(name, "cannot be read: its entry is damaged");
            return true;
        }
        for (const ScenarioLine& line : ScenarioLines(*data)) {
            const std::string where = "line " + std::to_string(line.number);
            if (Contains(line.text, "□ＰＡＳＳＷＯＲＤ")) {
                NoteSlot(number, name);
            } else if (Contains(line.text, "□")) {
                CheckPictureLine(name, where, line.text, message);
            } else if (!Contains(line.text, "［")) {
                CheckTypedLine(name, where, line.text);
            }
        }
        return true;
    }

    void CheckPictureLine(const std::string& scenario, const std::string& where,
                          const std::string& line, bool message) {
        // The number is read from fixed places: "□" and then four full-width digits.
        const auto byte = [&](size_t i) { return static_cast<uint8_t>(line[i]); };
        bool valid = line.size() >= 10 && line.starts_with("□");
        int number = 0;
        for (size_t k = 0; valid && k < 4; ++k) {
            const uint8_t lead = byte(2 + 2 * k);
            const uint8_t digit = byte(3 + 2 * k);
            valid = lead == 0x82 && digit >= 0x4F && digit <= 0x58;
            number = number * 10 + (digit - 0x4F);
        }
        if (!valid) {
            Add(scenario,
                where + ": a picture line is □ and four full-width digits, nothing before");
            return;
        }
        const std::string picture = Format(message ? "pict%04dm.bmp" : "pict%04d.bmp", number);
        if (CheckPicture(scenario, picture, where + " shows the picture")) {
            CheckSceneFormat(picture);
        }
        if (const std::optional<std::string> alternative = PluginPictureName(picture)) {
            if (!Picture(*alternative).found) {
                Add(scenario, where + " shows " + Quoted(picture) + ", which becomes " +
                                  Quoted(*alternative) +
                                  " with the plug-in installed and Caps Lock on, but that is in "
                                  "no picture archive");
            } else if (Picture(*alternative).bitmap) {
                CheckSceneFormat(*alternative);
            }
        }
    }

    // The message window types two bytes at a time.
    void CheckTypedLine(const std::string& scenario, const std::string& where,
                        const std::string& line) {
        for (size_t i = 0; i < line.size(); i += 2) {
            if (!IsLeadByte(static_cast<uint8_t>(line[i])) || i + 1 >= line.size()) {
                Add(scenario, where + " holds a single-byte character at byte " +
                                  std::to_string(i) +
                                  "; the message window types double-byte characters only");
                return;
            }
        }
    }

    // ---- passwords ----

    void CheckPasswords() {
        if (slotUsers_.empty()) {
            return;
        }
        PasswordLists lists;
        if (!LoadPasswordTable(Text(), lists)) {
            Add("password.txt", "is missing, so no password is ever accepted");
            return;
        }
        for (const auto& [slot, users] : slotUsers_) {
            if (!lists[static_cast<size_t>(slot)].empty()) {
                continue;
            }
            std::string who;
            for (const std::string& user : users) {
                who += (who.empty() ? "" : ", ") + user;
            }
            Add("password.txt", "slot " + std::to_string(slot) + " has no accepted text, but " +
                                    who + " asks for it");
        }
    }

    // ---- title screen ----

    void CheckTitlePictures() {
        std::vector<std::string> names = {"title.bmp"};
        for (int i = 0; i <= 4; ++i) {
            names.push_back(Format("dm%02d.bmp", i));
            names.push_back(Format("dm%02da.bmp", i));
        }
        for (size_t i = 0; i < names.size(); ++i) {
            if (!CheckPicture(names[i], names[i], "the title screen needs the picture")) {
                continue;
            }
            CheckSceneFormat(names[i]);
            // Each "a" picture only changes the strip that the title screen fades alone.
            if (names[i].ends_with("a.bmp")) {
                CheckTitleStrip(names[i - 1], names[i]);
            }
        }
    }

    std::optional<std::vector<uint8_t>> ScenePixels(const std::string& name) {
        PictureInfo& info = Picture(name);
        if (!info.bitmap || info.width != kSceneWidth || info.height != kSceneHeight ||
            info.bits != 24) {
            return std::nullopt;
        }
        const Archive& archive = archives_[info.archive];
        std::optional<EntryData> data =
            archive.ReadEntry(archive.entry(info.index).name, kPlainReaderBuffers);
        if (!data || data->size < 14) {
            return std::nullopt;
        }
        const uint32_t offset = ReadLe32(data->bytes.data() + 10);
        const size_t pixelBytes = kSceneRowBytes * kSceneHeight;
        if (offset > data->size || data->size - offset < pixelBytes) {
            Add(name, "holds less pixel data than 640 x 480 x 24 bits need");
            return std::nullopt;
        }
        return std::vector<uint8_t>(data->bytes.begin() + offset,
                                    data->bytes.begin() + offset + pixelBytes);
    }

    void CheckTitleStrip(const std::string& before, const std::string& strip) {
        const std::optional<std::vector<uint8_t>> a = ScenePixels(before);
        const std::optional<std::vector<uint8_t>> b = ScenePixels(strip);
        if (!a || !b) {
            return;
        }
        // Rows are stored bottom-up: the strip is the first 80 rows of the data.
        const size_t stripBytes = kSceneRowBytes * kTitleStripRows;
        if (!std::equal(a->begin() + stripBytes, a->end(), b->begin() + stripBytes)) {
            Add(strip, "differs from " + Quoted(before) +
                           " above its bottom 80 rows; the title screen would jump there");
        }
    }

    // ---- sounds ----

    void CheckWaves() {
        for (const char* name : {"title", "0000", "0001", "0002"}) {
            const std::string file = std::string("wave/") + name + ".wav";
            std::ifstream in(dir_ / "wave" / (std::string(name) + ".wav"), std::ios::binary);
            if (!in) {
                Add(file, "is missing");
                continue;
            }
            char header[12] = {};
            in.read(header, sizeof header);
            if (!in || std::string_view(header, 4) != "RIFF" ||
                std::string_view(header + 8, 4) != "WAVE") {
                Add(file, "is not a RIFF wave file");
            }
        }
    }

    std::filesystem::path dir_;
    std::array<Archive, kArchiveCount> archives_;
    std::vector<WorldFinding> findings_;
    std::map<std::string, PictureInfo> pictures_;
    std::map<int, std::set<std::string>> slotUsers_;
};

}  // namespace

const std::array<BrowserPage, 3> kBrowserPages = {{
    {"otop.htm", "the home page of a new game"},
    {"search.htm", "the Search button's page and the template of search results"},
    {"urlmiss.htm", "the page shown for an unknown address"},
}};

std::vector<std::string> WorldPageNames(const Archive& textArchive) {
    std::vector<std::string> names;
    for (uint32_t i = 0; i < textArchive.entryCount(); ++i) {
        if (EndsWithIgnoringAsciiCase(textArchive.entry(i).name, ".htm")) {
            names.push_back(textArchive.entry(i).name);
        }
    }
    return names;
}

std::vector<WorldFinding> CheckWorld(const std::string& worldDir) {
    return WorldChecker(worldDir).Run();
}
