// The world checker on worlds made from the input: archives built from its
// entries, or whole archive files as damaged as it likes, and wave files.
//
// Input: sections, each a line "@@ PATH" and then its bytes up to the next
// line break followed by "@@ ", or to the end. PATH is "Text/NAME" (also cg,
// ex, parts) for an entry of that archive, "Text.arc" (and the others) for a
// whole archive file in place of the one built from entries, or
// "wave/NAME" for a file of the wave folder. An archive with neither is
// missing from the world.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "archive/ArchiveWriter.h"
#include "game/WorldCheck.h"

namespace {

constexpr std::array<std::string_view, 4> kArchives = {"cg", "ex", "Text", "parts"};
constexpr std::string_view kMark = "@@ ";

struct World {
    std::map<std::string_view, std::vector<ArchiveInput>> entries;
    std::map<std::string_view, std::string_view> files;  // archive -> whole file
    std::vector<std::pair<std::string, std::string_view>> waves;
};

bool IsArchive(std::string_view name) {
    for (std::string_view archive : kArchives) {
        if (name == archive) {
            return true;
        }
    }
    return false;
}

void AddSection(World& world, std::string_view path, std::string_view bytes) {
    const size_t slash = path.find('/');
    const std::string_view folder = path.substr(0, slash);
    const std::string_view name =
        slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    std::string why;
    if (slash == std::string_view::npos && path.ends_with(".arc")) {
        const std::string_view stem = path.substr(0, path.size() - 4);
        for (std::string_view archive : kArchives) {
            if (stem == archive) {
                world.files[archive] = bytes;
            }
        }
    } else if (IsArchive(folder) && IsValidEntryName(std::string(name), why)) {
        for (std::string_view archive : kArchives) {
            if (folder == archive) {
                world.entries[archive].push_back({std::string(name), {bytes.begin(), bytes.end()}});
            }
        }
    } else if (folder == "wave" && !name.empty() && name.size() <= 64 && name != "." &&
               name != ".." &&
               name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos) {
        world.waves.emplace_back(std::string(name), bytes);
    }
}

World ReadSections(std::string_view input) {
    World world;
    if (!input.starts_with(kMark)) {
        return world;
    }
    size_t at = kMark.size();
    while (at <= input.size()) {
        const size_t lineEnd = input.find('\n', at);
        if (lineEnd == std::string_view::npos) {
            break;
        }
        const std::string_view path = input.substr(at, lineEnd - at);
        const size_t next = input.find("\n@@ ", lineEnd);
        const size_t end = next == std::string_view::npos ? input.size() : next;
        AddSection(world, path, input.substr(lineEnd + 1, end - (lineEnd + 1)));
        if (next == std::string_view::npos) {
            break;
        }
        at = next + 1 + kMark.size();
    }
    return world;
}

void Write(const std::filesystem::path& path, std::string_view bytes) {
    WriteFile(path.string(), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const World world = ReadSections({reinterpret_cast<const char*>(data), size});

    const std::filesystem::path dir = Scratch().path() / "world";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (std::string_view archive : kArchives) {
        const std::filesystem::path file = dir / (std::string(archive) + ".arc");
        if (const auto whole = world.files.find(archive); whole != world.files.end()) {
            Write(file, whole->second);
        } else if (const auto built = world.entries.find(archive); built != world.entries.end()) {
            WriteFile(file.string(), *BuildArchive(built->second));
        }
    }
    if (!world.waves.empty()) {
        std::filesystem::create_directories(dir / "wave");
        for (const auto& [name, bytes] : world.waves) {
            Write(dir / "wave" / name, bytes);
        }
    }

    // VELMORA_FUZZ_SHOW=1 lists what the checker says, to see what a seed reaches.
    static const bool show = std::getenv("VELMORA_FUZZ_SHOW") != nullptr;
    for (const WorldFinding& finding : CheckWorld(dir.string())) {
        if (show) {
            std::fprintf(stderr, "%s: %s\n", finding.file.c_str(), finding.reason.c_str());
        }
        // The file may be empty: an entry's name can be.
        FUZZ_CHECK(!finding.reason.empty());
    }
    return 0;
}
