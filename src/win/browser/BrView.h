#pragma once

#include <memory>
#include <string>
#include <vector>

#include "browser/Bookmarks.h"
#include "browser/BrowserSession.h"
#include "browser/PageHistory.h"
#include "browser/PagePrinter.h"
#include "browser/SaveStore.h"
#include "framework/Gdi.h"
#include "framework/ScrollView.h"
#include "framework/SoundPlayer.h"
#include "game/PluginSetup.h"
#include "game/SaveFile.h"
#include "game/SearchRecord.h"
#include "html/PageHost.h"
#include "html/TokenList.h"

class CFavouritesWnd;
class CMainFrame;

// The page view: the page now shown, painted once into a 1400 x 2600 page
// bitmap and copied to the screen at the scroll position; the history of
// pages; link activation; and the game's state, loaded at the start and saved
// after every page.
class CBrView : public CScrollView, public PageHost, public SessionHost {
  public:
    using OpenMode = BrowserSession::OpenMode;
    static constexpr UINT kRelayoutMessage = WM_USER + 10;

    explicit CBrView(CMainFrame& frame);
    ~CBrView() override;

    // Loads the state, opens the home page and marks the view ready.
    void OnInitialUpdate();

    // Every page change goes through here.
    void OpenPage(std::string fileName, OpenMode mode) {
        session_.OpenPage(std::move(fileName), mode);
    }
    void PaintBackBuffer();
    // Drops the page bitmap, as when it could not be made: pages are then
    // laid out without being painted.
    void DiscardPageBitmap() { backBuffer_.reset(); }
    void TruncateHistory() { session_.history().TruncateAfterCurrent(); }
    void ShowPageAddress(const std::string& fileName) { session_.ShowPageAddress(fileName); }

    void LoadState();
    void SaveState();

    BrowserSession& session() { return session_; }
    const BrowserSession& session() const { return session_; }
    TokenList* currentPage() const { return session_.currentPage(); }
    const PageHistory& history() const { return session_.history(); }
    const std::vector<SearchRecord>& searchTable() const { return session_.searchTable(); }
    const std::vector<Favourite>& favourites() const { return bookmarks_.favourites(); }
    const std::string& homePage() const { return bookmarks_.homePage(); }
    const std::string& lastKeyword() const { return session_.lastKeyword(); }
    bool pageReady() const { return pageReady_; }
    const CSoundPlayer& soundPlayer() const { return soundPlayer_; }
    // Where the favourites window stands, or stood when it last existed.
    Point favouritesPosition() const;

    // PageHost
    Rect ClientRect() const override;
    int ViewWindowWidth() const override;
    void SetScrollSizes(int width, int height) override {
        CScrollView::SetScrollSizes(width, height);
    }
    void SetProgressRange(int lower, int upper) override;
    void SetProgressPos(int position) override;
    void AdvanceProgress(int delta) override;
    void SetWindowTitle(const std::string& text) override;
    bool IsVisited(std::string_view name) const override;
    int TextSizeOffset() const override;
    bool PluginInstalled() const override;
    bool CapsLockOn() const override;
    bool LoadPicture(std::string_view name, DibPicture& slot) override;
    Point ScrollPosition() const override { return GetScrollPosition(); }
    std::string LastKeyword() const override { return session_.lastKeyword(); }
    Size MeasureCaption(std::string_view text) override;
    std::unique_ptr<FormControlWindow> CreateTextField(FormTextField& field) override;
    std::unique_ptr<FormControlWindow> CreateButton(FormButton& button) override;

    // SessionHost
    void SetStatusText(const std::string& text) override;
    void HidePageControls(TokenList& page) override;
    void LayoutDiscarded(TokenList& page) override;
    void HistoryChanged() override;
    void ShowCurrentPage() override;
    void ShowAddress(const std::string& address) override;
    void PlayPageSound(const std::string& fileName) override;
    void ScrollToTop() override;
    void SaveGame() override { SaveState(); }
    void PlayScene(ScenarioKind kind, int number) override;
    bool AskPassword(int slot) override;
    void OfferDownload(const std::string& fileName) override;
    bool RunPluginSetup() override;

  protected:
    const MessageMap* GetMessageMap() const override;
    void OnDraw(HDC dc) override;

  private:
    BOOL OnEraseBackground(HDC dc);
    void OnMouseMove(UINT flags, POINT at);
    void OnLeftButtonDown(UINT flags, POINT at);
    void OnLeftButtonUp(UINT flags, POINT at);
    void OnFileOpen();
    void OnFilePrint();
    void OnFilePrintSetup();
    void OnNothing() {}
    LRESULT OnRelayout(WPARAM wParam, LPARAM lParam);
    LRESULT OnSoundEnded(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    LinkElement* LinkAt(POINT clientPoint) const;
    void RepaintLink(LinkElement& link);
    template <typename Draw>
    bool DrawOnBackBuffer(const Draw& draw);
    void ApplyDefaults();

    CMainFrame& frame_;
    CSoundPlayer soundPlayer_;
    CPagePrinter printer_;
    BitmapHandle backBuffer_;
    LinkElement* hotLink_ = nullptr;
    BrowserSession session_;
    bool pageReady_ = false;
    std::vector<std::string> savedAddresses_;
    Point favouritesPosition_;
    SaveStore saveStore_;

    // The favourites, the home page and the favourites window.
  public:
    Bookmarks& bookmarks() { return bookmarks_; }
    // Null until the view's first update has made it.
    CFavouritesWnd* favouritesWindow() { return favouritesWnd_.get(); }
    // The plug-in set-up's clock and waits; tests drive them.
    void SetPluginPacing(SetupPacing pacing) { pluginPacing_ = std::move(pacing); }

  private:
    Bookmarks bookmarks_{session_};
    std::unique_ptr<CFavouritesWnd> favouritesWnd_;
    SetupPacing pluginPacing_;
};
