#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "WorldArchives.h"
#include "archive/Archive.h"
#include "browser/Bookmarks.h"
#include "browser/BrowserSession.h"
#include "browser/VisitedList.h"
#include "game/GameState.h"
#include "game/PasswordTable.h"
#include "game/SaveFile.h"
#include "html/Elements.h"
#include "html/PageHost.h"

class WebCanvas;

// The browser of the web edition: the session's host and the pages' host,
// over the web page's chrome. It decides nothing of its own: the session,
// the bookmarks and the save format are the core's; it passes the page's
// events in and the core's answers out.
class WebGame : public SessionHost, public PageHost {
  public:
    explicit WebGame(const WorldArchives& world);
    ~WebGame() override;

    // Goes on with the save the page kept, if any: the home page opens.
    void Start(const std::vector<uint8_t>& save);
    // A save file from elsewhere: false (and nothing changes) when it does
    // not decode.
    bool LoadSave(const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> SaveBytes() const;

    // The view's size, scroll bars left out, and where it is scrolled to.
    void SetView(int width, int height, int windowWidth);
    void SetScroll(int x, int y);
    // Page coordinates. The status text and whether the point is on a link.
    bool MouseMove(int x, int y);
    void MouseDown(int x, int y);
    void MouseUp(int x, int y);

    void TypedAddress(const std::string& text);
    void PickedAddress(const std::string& text);
    void Home();
    void Search();
    void SetTextSizeOffset(int offset);
    int textSizeOffset() const { return textSizeOffset_; }
    void ToggleSetting(int which);

    // Form controls by the number the page knows them by.
    void PressControl(int id);
    void EnterInControl(int id);
    void ControlChanged(int id);

    Bookmarks& bookmarks() { return bookmarks_; }
    BrowserSession& session() { return session_; }
    GameState& state() { return state_; }
    const VisitedList& visited() const { return visited_; }
    const std::vector<std::string>& addresses() const { return addresses_; }
    void FavouritesChanged();
    // The server no longer gives a file: the player hears of it once a run.
    void FetchFailed();
    // The layout of the page shown, as velrender --dump prints it.
    std::string DumpLayout() const;
    // Draws the page again and shows it.
    void Repaint();

    // SessionHost
    void SetStatusText(const std::string& text) override;
    void HidePageControls(TokenList& page) override;
    void LayoutDiscarded(TokenList& page) override;
    void HistoryChanged() override;
    void ShowCurrentPage() override;
    void ShowAddress(const std::string& address) override;
    void PlayPageSound(const std::string& fileName) override;
    void ScrollToTop() override;
    void SaveGame() override;
    void PlayScene(ScenarioKind kind, int number) override;
    bool AskPassword(int slot) override;
    void OfferDownload(const std::string& fileName) override;
    bool RunPluginSetup() override;

    // PageHost
    Rect ClientRect() const override;
    int ViewWindowWidth() const override;
    void SetScrollSizes(int width, int height) override;
    Point ScrollPosition() const override;
    void SetProgressRange(int lower, int upper) override;
    void SetProgressPos(int position) override;
    void AdvanceProgress(int delta) override;
    void SetWindowTitle(const std::string& text) override;
    bool IsVisited(std::string_view name) const override;
    int TextSizeOffset() const override;
    bool PluginInstalled() const override;
    bool CapsLockOn() const override;
    bool LoadPicture(std::string_view name, DibPicture& slot) override;
    std::string LastKeyword() const override;
    Size MeasureCaption(std::string_view text) override;
    std::unique_ptr<FormControlWindow> CreateTextField(FormTextField& field) override;
    std::unique_ptr<FormControlWindow> CreateButton(FormButton& button) override;

    // A control the page shows; the page tells which by its number.
    struct Control {
        FormTextField* field = nullptr;
        FormButton* button = nullptr;
    };
    void ForgetControl(int id) { controls_.erase(id); }

  private:
    void ApplySave(const SaveData& data);
    LinkElement* LinkAt(int x, int y) const;
    void AddAddress(const std::string& text);
    void RepaintLink(LinkElement& link);

    const WorldArchives& world_;
    GameState state_;
    PasswordLists passwordLists_;
    VisitedList visited_;
    BrowserSession session_;
    Bookmarks bookmarks_;
    std::vector<std::string> addresses_;
    std::map<int, Control> controls_;
    int nextControlId_ = 1;
    Size scrollSize_;
    Rect client_{0, 0, 800, 600};
    int windowWidth_ = 800;
    Point scroll_;
    int textSizeOffset_ = -3;
    LinkElement* hotLink_ = nullptr;
    bool started_ = false;
    bool toldSaveFailed_ = false;
    bool toldFetchFailed_ = false;
};
