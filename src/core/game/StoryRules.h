#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/GameState.h"
#include "game/PasswordTable.h"

// The story: page names the game takes over or replaces as the stage rises,
// the counters behind them, and the page sounds. Page names are compared
// ignoring ASCII case.

constexpr int kMessagePageCount = 16;    // "tou0000.htm" .. "tou1500.htm": a scene
constexpr int kNotePageCount = 15;       // "suga00.htm" .. "suga14.htm": a note
constexpr int kProtectedPageCount = 16;  // "tou0001.htm" .. "tou1501.htm": behind a password
static_assert(kProtectedPageCount == kPasswordSlots);
static_assert(kProtectedPageCount == GameState::kProtectedPages);
static_assert(kNotePageCount == GameState::kNotePages);

// The index of a message, note or protected page name; -1 for any other name.
int MessagePageIndex(std::string_view name);
int NotePageIndex(std::string_view name);
int ProtectedPageIndex(std::string_view name);
// "tou%02d01.htm"
std::string ProtectedPageName(int index);

// The file of "ex.arc" a download link saves: a target beginning "icon"
// becomes its name before the first "." with ".ico", then one beginning
// "wall" the same with ".bmp" (so an icon never becomes a wallpaper).
// Nothing for any other target. The name is at most 255 bytes.
std::optional<std::string> DownloadFileName(std::string_view target);
bool IsPluginLink(std::string_view target);

// What a click on a link to `target` does, as the browser tests the kinds:
// a scene, a note, the plug-in set-up, a download, or else a page (also a
// protected page, whose password a plain link skips). `index` is the scene's,
// note's or protected page's number, else -1.
struct LinkAction {
    enum class Kind { Message, Note, Plugin, Download, ProtectedPage, Page };
    Kind kind = Kind::Page;
    int index = -1;
    std::string downloadFile;  // Download: the file of "ex.arc"
};
LinkAction ClassifyLink(std::string_view target);

// What a form's submit button does with its action, tested in this order: a
// protected page "touNN01.htm" asks for its password, an action holding
// "検索ボタン" searches, one without "□" opens as a page; the rest do nothing.
struct SubmitDecision {
    enum class Kind { ProtectedPage, Search, OpenPage, Nothing };
    Kind kind = Kind::Nothing;
    int protectedPage = -1;
};
SubmitDecision DecideSubmit(std::string_view action);

// The rules every page open runs first: the killer page, the stage advance by
// page count, the stage-1 pages, the maker pages and the old laboratory.
// Returns the page to show instead of `fileName` (often `fileName` itself).
std::string ApplyNameRules(GameState& state, std::string fileName);

// A page the name rules put in place of another, found by running the rules
// on every name given in the states a game passes through: the earliest stage
// it happens at (0 when any stage will do), whether the plug-in must be
// installed, and how many opens in a row it takes.
struct StoryReplacement {
    std::string from;  // as given
    std::string to;    // as the rules name it
    uint32_t stage = 0;
    bool plugin = false;
    int visit = 1;
};
std::vector<StoryReplacement> FindStoryReplacements(const std::vector<std::string>& names);
// "stage 3", "plug-in, third visit"; "always" when nothing is needed.
std::string DescribeReplacement(const StoryReplacement& replacement);

// A page read with mode New counts from stage 2 on.
void CountPageLoad(GameState& state);

// A note link was clicked: its flag is set, and at stage 0 or 1 the stage
// becomes 1 once all notes are read. An index outside the notes does nothing.
void MarkNoteRead(GameState& state, int index);

// The plug-in set-up ended with OK: the plug-in counts as installed, and the
// opens of the photo page that lead to the killer page count afresh.
void InstallPlugin(GameState& state);

inline constexpr std::string_view kPluginInstalledText = "プラグインが組み込まれました。";
inline constexpr std::string_view kPluginAlreadyInstalledText =
    "プラグインはすでに組み込まれています。";

int SolvedPasswordCount(const GameState& state);

// A password prompt of a scene has just been accepted (its flag already set):
// 16 solved lead to stage 9, 15 to stage 7, 12 at stage 4 to stage 5; any
// change resets the page counter.
void ApplyScenePasswordStage(GameState& state);

// The loose sound file a page plays in a loop.
std::string_view PageSoundFile(std::string_view fileName);

inline constexpr std::string_view kPasswordAcceptedText =
    "パスワードを確認しました。今後はパスワードの入力は不要です。";
inline constexpr std::string_view kPasswordRefusedText = "パスワードが違います。";

// Whether `text` is, byte for byte, one of the slot's accepted texts. A slot
// outside 0..15 accepts nothing.
bool IsAcceptedPassword(const PasswordLists& lists, int slot, std::string_view text);

// The password prompt's OK: a match tells the player so and marks the slot
// solved before it returns true; anything else tells the player it is wrong.
bool SubmitPassword(GameState& state, const PasswordLists& lists, int slot, std::string_view text);
