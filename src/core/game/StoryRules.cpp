#include "game/StoryRules.h"

#include <algorithm>
#include <cstdio>

#include "Message.h"
#include "text/ShiftJis.h"

namespace {

std::string Numbered(const char* pattern, int n) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, pattern, n);
    return buffer;
}

// The index of a name among those `pattern` makes for 0 .. count - 1; -1 if none.
int NumberedIndex(std::string_view name, const char* pattern, int count) {
    for (int i = 0; i < count; ++i) {
        if (EqualsIgnoringAsciiCase(name, Numbered(pattern, i))) {
            return i;
        }
    }
    return -1;
}

bool Is(std::string_view name, std::string_view page) {
    return EqualsIgnoringAsciiCase(name, page);
}

// A new stage always starts counting pages afresh.
void EnterStage(GameState& state, uint32_t stage) {
    state.disclosureStage = stage;
    state.pageCounter = 0;
}

void AdvanceByPageCount(GameState& state) {
    if (state.pageCounter < 5) {
        return;
    }
    switch (state.disclosureStage) {
        case 9:
            EnterStage(state, 10);
            state.umakerPage = "umaker06.htm";
            state.kyoumakerPage = "kyoumaker01.htm";
            break;
        case 7:
            EnterStage(state, 8);
            state.umakerPage = "umaker05.htm";
            break;
        case 5:
            EnterStage(state, 6);
            state.umakerPage = "umaker04.htm";
            break;
        case 3:
            EnterStage(state, 4);
            state.umakerPage = "umaker03.htm";
            break;
        case 0:
        case 1:
        case 2:
            EnterStage(state, 3);
            state.umakerPage = "umaker02.htm";
            break;
        default:
            // Stages 4, 6, 8 and 10 wait for a password or are the end.
            break;
    }
}

}  // namespace

int MessagePageIndex(std::string_view name) {
    return NumberedIndex(name, "tou%02d00.htm", kMessagePageCount);
}

int NotePageIndex(std::string_view name) {
    return NumberedIndex(name, "suga%02d.htm", kNotePageCount);
}

int ProtectedPageIndex(std::string_view name) {
    return NumberedIndex(name, "tou%02d01.htm", kProtectedPageCount);
}

std::string ProtectedPageName(int index) {
    return Numbered("tou%02d01.htm", index);
}

std::optional<std::string> DownloadFileName(std::string_view target) {
    std::string name(target);
    bool download = false;
    if (StartsWithIgnoringAsciiCase(name, "icon")) {
        name = name.substr(0, name.find('.')) + ".ico";
        download = true;
    }
    if (StartsWithIgnoringAsciiCase(name, "wall")) {
        name = name.substr(0, name.find('.')) + ".bmp";
        download = true;
    }
    if (!download) {
        return std::nullopt;
    }
    return std::string(CutAtCharacter(name, 255));
}

bool IsPluginLink(std::string_view target) {
    return EqualsIgnoringAsciiCase(target, "plugin");
}

std::string ApplyNameRules(GameState& state, std::string fileName) {
    if (state.pluginMissing == 0 && Is(fileName, "ipan52.htm")) {
        ++state.killerCounter;
        if (state.killerCounter >= 3) {
            fileName = "killerd.htm";
        }
    }
    AdvanceByPageCount(state);
    if (state.disclosureStage == 1) {
        state.umakerPage = "umaker01.htm";
        if (Is(fileName, "omaker00.htm")) {
            fileName = "omaker01.htm";
        }
    }
    if (Is(fileName, "umaker00.htm")) {
        fileName = state.umakerPage.str();
    }
    if (Is(fileName, "kyoumaker00.htm")) {
        fileName = state.kyoumakerPage.str();
    }
    if (Is(fileName, "usyo.htm") && state.disclosureStage <= 1) {
        EnterStage(state, 2);
    }
    return fileName;
}

SubmitDecision DecideSubmit(std::string_view action) {
    if (const int index = ProtectedPageIndex(action); index >= 0) {
        return {SubmitDecision::Kind::ProtectedPage, index};
    }
    if (action.find("検索ボタン") != std::string_view::npos) {
        return {SubmitDecision::Kind::Search};
    }
    if (action.find("□") == std::string_view::npos) {
        return {SubmitDecision::Kind::OpenPage};
    }
    return {};
}

LinkAction ClassifyLink(std::string_view target) {
    if (const int i = MessagePageIndex(target); i >= 0) {
        return {LinkAction::Kind::Message, i, {}};
    }
    if (const int i = NotePageIndex(target); i >= 0) {
        return {LinkAction::Kind::Note, i, {}};
    }
    if (IsPluginLink(target)) {
        return {LinkAction::Kind::Plugin, -1, {}};
    }
    if (std::optional<std::string> file = DownloadFileName(target)) {
        return {LinkAction::Kind::Download, -1, std::move(*file)};
    }
    if (const int i = ProtectedPageIndex(target); i >= 0) {
        return {LinkAction::Kind::ProtectedPage, i, {}};
    }
    return {};
}

namespace {

constexpr uint32_t kLastStage = 10;
// Opens of one page in a row that a probe tries.
constexpr int kProbeVisits = 5;
// A page counter past any the stages wait for.
constexpr uint32_t kFullPageCounter = 1000;

// Earlier is simpler: no plug-in, fewer visits, an earlier stage.
bool Simpler(const StoryReplacement& a, const StoryReplacement& b) {
    if (a.plugin != b.plugin) {
        return !a.plugin;
    }
    if (a.visit != b.visit) {
        return a.visit < b.visit;
    }
    return a.stage < b.stage;
}

}  // namespace

std::vector<StoryReplacement> FindStoryReplacements(const std::vector<std::string>& names) {
    std::vector<StoryReplacement> found;
    for (const std::string& name : names) {
        const size_t first = found.size();
        for (const bool plugin : {false, true}) {
            for (uint32_t stage = 0; stage <= kLastStage; ++stage) {
                for (const uint32_t counter : {0u, kFullPageCounter}) {
                    GameState state = GameState::NewGame();
                    state.pluginMissing = plugin ? 0 : 1;
                    state.disclosureStage = stage;
                    state.pageCounter = counter;
                    for (int visit = 1; visit <= kProbeVisits; ++visit) {
                        const std::string shown = ApplyNameRules(state, name);
                        if (Is(shown, name)) {
                            continue;
                        }
                        StoryReplacement candidate{name, shown, state.disclosureStage, plugin,
                                                   visit};
                        auto same = std::find_if(
                            found.begin() + static_cast<ptrdiff_t>(first), found.end(),
                            [&](const StoryReplacement& r) { return Is(r.to, shown); });
                        if (same == found.end()) {
                            found.push_back(std::move(candidate));
                        } else if (Simpler(candidate, *same)) {
                            *same = std::move(candidate);
                        }
                        break;
                    }
                }
            }
        }
        // The name's replacements as the story reaches them.
        std::stable_sort(
            found.begin() + static_cast<ptrdiff_t>(first), found.end(),
            [](const StoryReplacement& a, const StoryReplacement& b) { return a.stage < b.stage; });
    }
    return found;
}

std::string DescribeReplacement(const StoryReplacement& replacement) {
    static constexpr const char* kOrdinals[] = {"first", "second", "third", "fourth", "fifth"};
    std::string text;
    // Stage 0 is a new game's: a replacement it sees needs no stage.
    auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (replacement.stage > 0) {
        add("stage " + std::to_string(replacement.stage));
    }
    if (replacement.plugin) {
        add("plug-in");
    }
    if (replacement.visit > 1) {
        add(replacement.visit <= 5 ? std::string(kOrdinals[replacement.visit - 1]) + " visit"
                                   : "visit " + std::to_string(replacement.visit));
    }
    return text.empty() ? "always" : text;
}

void CountPageLoad(GameState& state) {
    if (state.disclosureStage >= 2) {
        ++state.pageCounter;
    }
}

void MarkNoteRead(GameState& state, int index) {
    if (index < 0 || index >= kNotePageCount) {
        return;
    }
    state.notesRead[static_cast<size_t>(index)] = 1;
    bool all = true;
    for (uint8_t flag : state.notesRead) {
        all = all && flag != 0;
    }
    if (all && state.disclosureStage <= 1) {
        state.disclosureStage = 1;
    }
}

void InstallPlugin(GameState& state) {
    state.killerCounter = 0;
    state.pluginMissing = 0;
}

int SolvedPasswordCount(const GameState& state) {
    int solved = 0;
    for (uint8_t flag : state.passwordSolved) {
        solved += flag != 0 ? 1 : 0;
    }
    return solved;
}

void ApplyScenePasswordStage(GameState& state) {
    const int solved = SolvedPasswordCount(state);
    if (solved == 16) {
        EnterStage(state, 9);
    } else if (solved == 15) {
        EnterStage(state, 7);
    } else if (solved == 12 && state.disclosureStage == 4) {
        EnterStage(state, 5);
    }
}

std::string_view PageSoundFile(std::string_view fileName) {
    if (Is(fileName, "osyo.htm")) {
        return "wave\\0001.wav";
    }
    if (Is(fileName, "usyo.htm") || Is(fileName, "kyousyo.htm")) {
        return "wave\\0002.wav";
    }
    return "wave\\0000.wav";
}

bool IsAcceptedPassword(const PasswordLists& lists, int slot, std::string_view text) {
    if (slot < 0 || slot >= kPasswordSlots) {
        return false;
    }
    for (const std::string& accepted : lists[static_cast<size_t>(slot)]) {
        if (accepted == text) {
            return true;
        }
    }
    return false;
}

bool SubmitPassword(GameState& state, const PasswordLists& lists, int slot, std::string_view text) {
    if (!IsAcceptedPassword(lists, slot, text)) {
        ShowMessage(std::string(kPasswordRefusedText));
        return false;
    }
    ShowMessage(std::string(kPasswordAcceptedText));
    state.passwordSolved[static_cast<size_t>(slot)] = 1;
    return true;
}
