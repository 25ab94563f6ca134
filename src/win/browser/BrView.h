#pragma once

#include <memory>
#include <string>
#include <vector>

#include "browser/PageHistory.h"
#include "framework/Gdi.h"
#include "framework/ScrollView.h"
#include "game/SaveFile.h"
#include "game/SearchRecord.h"
#include "html/PageHost.h"
#include "html/TokenList.h"

class CMainFrame;

// The page view: the page now shown, painted once into a 1400 x 2600 page
// bitmap and copied to the screen at the scroll position; the history of
// pages; link activation; and the game's state, loaded at the start and saved
// after every page.
class CBrView : public CScrollView, public PageHost {
  public:
    enum class OpenMode { New = 0, Back = 1, Forward = 2 };
    static constexpr UINT kRelayoutMessage = WM_USER + 10;

    explicit CBrView(CMainFrame& frame);
    ~CBrView() override;

    // Loads the state, opens the home page and marks the view ready.
    void OnInitialUpdate();

    // Every page change goes through here.
    void OpenPage(std::string fileName, OpenMode mode);
    void PaintBackBuffer();
    void TruncateHistory() { history_.TruncateAfterCurrent(); }
    void ShowPageAddress(const std::string& fileName);
    void HidePageControls(TokenList& page);

    void LoadState();
    void SaveState();

    TokenList* currentPage() const { return history_.current(); }
    const PageHistory& history() const { return history_; }
    const std::vector<SearchRecord>& searchTable() const { return searchTable_; }
    const std::vector<Favourite>& favourites() const { return favourites_; }
    const std::string& homePage() const { return homePage_; }
    const std::string& lastKeyword() const { return lastKeyword_; }
    bool pageReady() const { return pageReady_; }
    // The window of the favourites list stands here until it exists.
    Point favouritesPosition() const { return favouritesPosition_; }

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

  protected:
    const MessageMap* GetMessageMap() const override;
    void OnDraw(HDC dc) override;

  private:
    BOOL OnEraseBackground(HDC dc);
    void OnMouseMove(UINT flags, POINT at);
    void OnLeftButtonDown(UINT flags, POINT at);
    void OnLeftButtonUp(UINT flags, POINT at);
    void OnFileOpen();
    void OnBack();
    void OnForward();
    LRESULT OnRelayout(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    LinkElement* LinkAt(POINT clientPoint) const;
    // The special links: message, note, plug-in and download targets.
    bool OfferToSpecialHandlers(const std::string& target);
    void RepaintLink(LinkElement& link);
    template <typename Draw>
    bool DrawOnBackBuffer(const Draw& draw);
    void ApplyDefaults();

    CMainFrame& frame_;
    std::string lastKeyword_;
    std::vector<SearchRecord> searchTable_;
    BitmapHandle backBuffer_;
    std::vector<Favourite> favourites_;
    LinkElement* hotLink_ = nullptr;
    PageHistory history_;
    bool pageReady_ = false;
    std::string homeAddress_;
    std::string homePage_;
    std::vector<std::string> savedAddresses_;
    Point favouritesPosition_;
};
