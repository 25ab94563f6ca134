#include "game/StoryRules.h"

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
