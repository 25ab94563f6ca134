#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "browser/PageHistory.h"
#include "browser/VisitedList.h"
#include "game/GameState.h"
#include "game/PageTable.h"
#include "game/PasswordTable.h"
#include "game/Scene.h"
#include "game/SearchRecord.h"
#include "game/StoryRules.h"

class Archive;
class PageHost;
class TokenList;
struct FormButton;
struct FormTextField;

// What a page change asks of the windows around the page, and the modal
// windows the story opens. The browser view answers with real windows; the
// story runner answers without any.
class SessionHost {
  public:
    virtual ~SessionHost() = default;

    virtual void SetStatusText(const std::string& text) = 0;
    // The page is being left: its form controls go out of sight.
    virtual void HidePageControls(TokenList& page) = 0;
    // The page's links and pictures are about to be dropped.
    virtual void LayoutDiscarded(TokenList& page) = 0;
    // Back or Forward may have become possible or impossible.
    virtual void HistoryChanged() = 0;
    // Lays out and paints the current page, and shows it.
    virtual void ShowCurrentPage() = 0;
    virtual void ShowAddress(const std::string& address) = 0;
    // The page sound: a loose wave file, looped.
    virtual void PlayPageSound(const std::string& fileName) = 0;
    virtual void ScrollToTop() = 0;
    virtual void SaveGame() = 0;

    // Plays a scene in the message window; returns when it has ended.
    virtual void PlayScene(ScenarioKind kind, int number) = 0;
    // Asks for the password of a slot; true when it was accepted (the slot is
    // then marked solved).
    virtual bool AskPassword(int slot) = 0;
    // Offers the player to save a file of "ex.arc".
    virtual void OfferDownload(const std::string& fileName) = 0;
    // Runs the plug-in set-up; true when the player saw it through.
    virtual bool RunPluginSetup() = 0;
};

// The browser's navigation and the story's page logic, shared by the view and
// the story runner: every page change goes through OpenPage, every link click
// through ClickLink.
class BrowserSession {
  public:
    enum class OpenMode { New = 0, Back = 1, Forward = 2 };
    // `pageHost` is given to every page object the session opens.
    BrowserSession(GameState& state, VisitedList& visited, const Archive& textArchive,
                   SessionHost& host, PageHost* pageHost);

    void OpenPage(std::string fileName, OpenMode mode);
    // Back and Forward with the name the neighbouring page holds; nothing
    // when there is no neighbour.
    void GoBack();
    void GoForward();

    // A click on a link to `target`: the special links (scenes, notes,
    // downloads and the plug-in) are
    // handled in place and give true; any other target opens as a page.
    bool ClickLink(const std::string& target);
    // Offers a target to the special handlers, all of them; true when one took it.
    bool OfferToSpecialHandlers(const std::string& target);
    bool HandleMessageLink(const std::string& target);
    bool HandleNoteLink(const std::string& target);
    bool HandlePluginLink(const std::string& target);
    bool HandleDownloadLink(const std::string& target);
    // A form's submit to protected page `index`.
    void OpenProtectedPage(int index);

    // Form controls of the current page. A reset button puts the fields of
    // its own form back to their first values; a submit button does what
    // DecideSubmit says of its action.
    void PressButton(const FormButton& button);
    void Submit(const std::string& action);
    // Enter in any text field searches for its text; an empty field does nothing.
    void EnterInField(FormTextField& field);
    // The search button: the first form of the page that has a keyword field
    // searches for that field's text, if it holds any.
    void StartSearch();

    // A search: the result page, a new history entry made from "Search.htm"
    // without the page rules, the page count, a sound, scrolling or saving.
    // Nothing happens for a text that cannot be split.
    void BuildSearchPage(const std::string& text);

    // The page table's record for the current page: its name and address, and
    // the address bar's text.
    void ShowPageAddress(const std::string& fileName);
    // The address of a page in the page table, or "nofile".
    std::string LookUpAddress(const std::string& fileName) const;

    // Exactly 300 slots; fewer are filled up with empty ones, more are cut.
    void SetSearchTable(std::vector<SearchRecord> table);
    const std::vector<SearchRecord>& searchTable() const { return searchTable_; }

    TokenList* currentPage() const { return history_.current(); }
    PageHistory& history() { return history_; }
    const PageHistory& history() const { return history_; }
    GameState& state() { return state_; }
    const std::string& lastKeyword() const { return lastKeyword_; }
    void SetLastKeyword(std::string keyword) { lastKeyword_ = std::move(keyword); }

  private:
    void LeavePage(TokenList* page);
    // Leaves the current page for a new, empty page object and returns it.
    TokenList& AppendNewPage(const std::string& name);

    GameState& state_;
    VisitedList& visited_;
    const Archive& textArchive_;
    SessionHost& host_;
    PageHost* pageHost_;
    PageHistory history_;
    std::vector<SearchRecord> searchTable_;
    std::string lastKeyword_;
};
