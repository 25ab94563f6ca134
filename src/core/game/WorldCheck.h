#pragma once

#include <array>
#include <string>
#include <vector>

class Archive;

// One problem in a world: the file it was found in (an archive entry's name,
// an archive, or a path below the world folder such as "wave/0000.wav") and
// why the game would stumble over it.
struct WorldFinding {
    std::string file;
    std::string reason;
};

// Reads a world folder as the game would find it beside the program (the four
// archives and the wave folder) and lists everything the game could not show
// or play: links and pictures that lead nowhere, page-table records without
// their page, scenario texts and pictures that are missing or malformed,
// password slots without an accepted text, title pictures of the wrong
// format, names too long for an entry, tags the engine does not know. Empty
// when the world is sound. Texts in the findings keep the world's code page
// 932 bytes.
std::vector<WorldFinding> CheckWorld(const std::string& worldDir);

// The pages the browser opens by itself, whatever links there are.
struct BrowserPage {
    const char* name;
    const char* role;
};
extern const std::array<BrowserPage, 3> kBrowserPages;

// The pages of a text archive (its ".htm" entries) in table order.
std::vector<std::string> WorldPageNames(const Archive& textArchive);
