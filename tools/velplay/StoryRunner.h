#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "browser/Bookmarks.h"
#include "browser/BrowserSession.h"
#include "browser/VisitedList.h"
#include "game/PageTable.h"
#include "game/PasswordTable.h"
#include "game/SaveFile.h"
#include "html/PageHost.h"

// What the runner plays from a world's folder: Text.arc with the password
// table read from it, and ex.arc, where downloads come from.
struct StoryWorld {
    Archive text;
    PasswordLists passwords;
    Archive ex;  // empty when the world has none: downloads then fail, as in the game
};

// Opens the world in `folder`; false, with why in `error`, when its Text.arc
// cannot be read.
bool OpenStoryWorld(const std::string& folder, StoryWorld& world, std::string& error);

// Plays a world's story without windows: the browser session of the game,
// driven by commands, one a line, each answered by one report, a JSON object
// on one line. Scenes run to their end at once; a password prompt of a scene
// or of a protected page waits, as the game's modal dialog does, for the
// commands that answer or cancel it.
class StoryRunner : private SessionHost, private PageHost {
  public:
    // A command line without its line end, in UTF-8; nothing at the end of input.
    using ReadLine = std::function<std::optional<std::string>()>;
    using WriteLine = std::function<void(const std::string&)>;
    // Keeps the game after each command (for example as a save file).
    using Keep = std::function<void(const SaveData&)>;

    StoryRunner(const Archive& textArchive, PasswordLists passwords, SaveData start, ReadLine read,
                WriteLine write, Keep keep);
    ~StoryRunner() override;

    // The picture-name rule's Caps Lock; off unless set.
    void SetCapsLock(bool on) { capsLock_ = on; }
    // The archive downloads come from ("ex.arc"); without one every download fails.
    void SetDownloadArchive(const Archive* ex) { exArchive_ = ex; }

    // Opens the home page as the game's first page, then plays every command.
    void Run();

    SaveData Saved() const;

  private:
    struct Command {
        std::string verb;
        std::string argument;  // code page 932
        std::string error;     // why the line is no command
    };

    // What a download link saved: the file and its size, or no size when
    // the download failed.
    struct Download {
        std::string file;
        std::optional<size_t> bytes;
    };

    std::optional<Command> ReadCommand();
    void Execute(const Command& command);
    void TypeAddress(const std::string& text);
    void FavouriteCommand(const std::string& argument);
    void HomeCommand(const std::string& argument);
    // A prompt for `slot` waits for answer or cancel; true when answered right.
    bool WaitForPassword(int slot);
    void Report();
    static void CaptureMessage(const std::string& text);

    // SessionHost
    void SetStatusText(const std::string&) override {}
    void HidePageControls(TokenList&) override {}
    void LayoutDiscarded(TokenList&) override {}
    void HistoryChanged() override {}
    // Walks the page as the view does, on a canvas that draws nothing, so
    // that its title is known.
    void ShowCurrentPage() override;
    void ShowAddress(const std::string& address) override { address_ = address; }
    void PlayPageSound(const std::string& fileName) override { sound_ = fileName; }
    void ScrollToTop() override {}
    void SaveGame() override {}
    void PlayScene(ScenarioKind kind, int number) override;
    bool AskPassword(int slot) override;
    void OfferDownload(const std::string& fileName) override;
    // The set-up runs to its end and is accepted.
    bool RunPluginSetup() override;

    // PageHost: pages are read, never laid out.
    Rect ClientRect() const override { return {0, 0, 800, 600}; }
    int ViewWindowWidth() const override { return 800; }
    void SetScrollSizes(int, int) override {}
    void SetProgressRange(int, int) override {}
    void SetProgressPos(int) override {}
    void AdvanceProgress(int) override {}
    void SetWindowTitle(const std::string&) override {}
    bool IsVisited(std::string_view name) const override { return visited_.Contains(name); }
    int TextSizeOffset() const override { return 0; }
    bool PluginInstalled() const override { return state_.pluginMissing == 0; }
    bool CapsLockOn() const override { return capsLock_; }
    bool LoadPicture(std::string_view, DibPicture&) override { return false; }

    const Archive& textArchive_;
    PasswordLists passwords_;
    GameState state_;
    VisitedList visited_;
    std::vector<std::string> addresses_;
    ReadLine read_;
    WriteLine write_;
    Keep keep_;
    BrowserSession session_;
    Bookmarks bookmarks_;
    const Archive* exArchive_ = nullptr;
    bool capsLock_ = false;
    bool inputEnded_ = false;

    // What the player sees now, and what the command being played showed.
    std::string sound_;
    std::string address_;  // the address bar's text
    int prompt_ = -1;
    std::string playingScene_;
    std::optional<std::string> scene_;
    std::vector<std::string> pictures_;
    std::optional<std::string> message_;
    std::optional<std::string> error_;
    std::optional<Download> download_;
};
