// velplay: plays a world's story without windows, from commands on standard
// input, and reports the game's state after each as one JSON line.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "FileBytes.h"
#include "StoryRunner.h"
#include "game/SaveFile.h"

namespace {

const char kUsage[] =
    "usage: velplay WORLD_DIR [--save FILE] [--capslock]\n"
    "\n"
    "Plays the story of the world in WORLD_DIR (its Text.arc) from the home page,\n"
    "reading commands from standard input, one a line, and writing one JSON\n"
    "object on one line after each. Text is UTF-8 both ways.\n"
    "\n"
    "  open NAME      open a page by name, as a typed address does\n"
    "  click NAME     click the current page's link to NAME\n"
    "  back, forward  move in the history\n"
    "  submit NAME    press a form button whose action is NAME\n"
    "  answer TEXT    type TEXT into the open password prompt and press OK\n"
    "  cancel         cancel the open password prompt\n"
    "  plugin         the plug-in set-up finishes\n"
    "  favourite add  add the page shown to the favourites\n"
    "  favourite open N, favourite delete N\n"
    "                 open or delete favourite N (from 0, as listed in favourites)\n"
    "  home current, home standard\n"
    "                 the home-page dialog's two buttons\n"
    "  home           the Home button\n"
    "\n"
    "  --save FILE    start from FILE when it exists (else a new game) and write\n"
    "                 it after every command, as the game's save file\n"
    "  --capslock     play with Caps Lock on (the plug-in's picture names)\n"
    "\n"
    "Exit status: 0 when the input has ended, 2 on a usage or file error.\n";

constexpr int kExitError = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "velplay: %s\n", message.c_str());
    return kExitError;
}

// Written beside the file and renamed over it, so that a reader never sees
// half a save.
bool WriteFileWhole(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::optional<std::filesystem::path> world;
    std::optional<std::filesystem::path> saveFile;
    bool capsLock = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--save" && i + 1 < argc) {
            saveFile = argv[++i];
        } else if (arg == "--capslock") {
            capsLock = true;
        } else if (!world && !arg.empty() && arg[0] != '-') {
            world = arg;
        } else {
            std::fputs(kUsage, stderr);
            return kExitError;
        }
    }
    if (!world) {
        std::fputs(kUsage, stderr);
        return kExitError;
    }

    StoryWorld loaded;
    std::string error;
    if (!OpenStoryWorld(world->string(), loaded, error)) {
        return Fail(error);
    }

    SaveData start;
    start.state = GameState::NewGame();
    if (saveFile && std::filesystem::exists(*saveFile)) {
        const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(*saveFile);
        std::optional<SaveData> saved =
            bytes ? DecodeSaveFile(bytes->data(), bytes->size()) : std::nullopt;
        if (!saved) {
            return Fail("cannot read the save file " + saveFile->string());
        }
        start = std::move(*saved);
    }

    bool saveFailed = false;
    StoryRunner runner(
        loaded.text, std::move(loaded.passwords), std::move(start),
        []() -> std::optional<std::string> {
            std::string line;
            if (!std::getline(std::cin, line)) {
                return std::nullopt;
            }
            return line;
        },
        [](const std::string& json) {
            std::fputs(json.c_str(), stdout);
            std::fputc('\n', stdout);
            std::fflush(stdout);
        },
        [&](const SaveData& data) {
            if (saveFile && !WriteFileWhole(*saveFile, EncodeSaveFile(data)) && !saveFailed) {
                saveFailed = true;
                std::fprintf(stderr, "velplay: cannot write %s\n", saveFile->string().c_str());
            }
        });
    runner.SetCapsLock(capsLock);
    runner.SetDownloadArchive(&loaded.ex);
    runner.Run();
    return saveFailed ? kExitError : 0;
}
