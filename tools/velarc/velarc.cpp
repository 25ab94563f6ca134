// velarc: lists, extracts, packs and verifies the game's archives, and shows
// pages and data texts as the game reads them.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "Message.h"
#include "archive/Archive.h"
#include "archive/ArchiveWriter.h"
#include "game/PasswordTable.h"
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
    "  --help                   show this text\n"
    "\n"
    "Exit status: 0 on success, 1 when an entry is missing or damaged (or a\n"
    "page's tag too long, or a world has problems), 2 on a usage or file error.\n";

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

std::optional<std::vector<uint8_t>> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return data;
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
        std::optional<std::vector<uint8_t>> data = ReadFile(file);
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
    const bool known = command == "list" || command == "extract" || command == "pack" ||
                       command == "verify" || command == "tokens" || command == "lines" ||
                       command == "passwords" || command == "check";
    return Fail(kExitError, (known ? "wrong arguments for \"" + command + "\""
                                   : "unknown command \"" + command + "\"") +
                                "; see velarc --help");
}
