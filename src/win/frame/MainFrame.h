#pragma once

#include <memory>
#include <string>

#include "app/AnimationTarget.h"
#include "bars/AddressBar.h"
#include "bars/ToolButton.h"
#include "browser/ChromeLayout.h"
#include "browser/VisitedList.h"
#include "framework/ControlBar.h"
#include "framework/FrameWnd.h"
#include "framework/Gdi.h"

class CBrView;

// The browser's top-level window: the menu, the address bar and the
// tool-button bar at the top, the status bar with its progress control at the
// bottom, the page view in between, and the animated logo at the right end of
// the menu bar. Other parts reach shared browser state through it.
class CMainFrame : public CFrameWnd, public AnimationTarget {
  public:
    static constexpr int kLogoFrameWidth = chrome::kLogoFrameWidth;
    static constexpr int kLogoFramesShown = chrome::kLogoFramesShown;
    static constexpr int kProgressWidth = chrome::kProgressWidth;
    static constexpr UINT kProgressId = 1000;

    CMainFrame();
    ~CMainFrame() override;

    bool Create();
    CBrView& view() { return *view_; }

    void DrawLogoFrame() override;
    // The logo frame the next DrawLogoFrame shows.
    static int nextLogoFrame();
    void SetStatusText(const std::string& text);
    std::string statusText() const { return m_wndStatusBar.GetText(); }
    // The address of a page file name in the page table, or "nofile".
    std::string LookUpAddress(const std::string& fileName) const;
    void AddVisited(const std::string& name) { m_visitedList.Add(name); }
    bool IsVisited(std::string_view name) const { return m_visitedList.Contains(name); }
    VisitedList& visitedList() { return m_visitedList; }
    void SetProgressRange(int lower, int upper);
    void SetProgressPos(int position);
    void AdvanceProgress(int delta);
    int GetTextSizeOffset() const { return m_wndToolButton.textSizeOffset(); }

    // Shows or hides a bar as its menu command does, keeping the setting.
    void ToggleAddressBar();
    void ToggleToolBar();
    void ToggleStatusBar();
    // The message window's text at once, or a character at a time (the save
    // file's text-wait byte).
    void ToggleFastText();
    // Hides a bar at start-up without touching the setting.
    void HideBarAtStartUp(UINT command);

    CAddressBar& addressBar() { return m_wndAddressBar; }
    CToolButton& toolButton() { return m_wndToolButton; }
    HWND progress() const { return m_wndProgress; }

    bool addressBarShown() const { return m_bAddressBarVisible != 0; }
    bool toolBarShown() const { return m_bToolBarVisible != 0; }
    bool statusBarShown() const { return m_bStatusBarVisible != 0; }
    // The progress control follows page drawing only while enabled.
    void EnableProgress(bool enabled) { m_bProgressEnabled = enabled ? 1 : 0; }

  protected:
    const MessageMap* GetMessageMap() const override;
    void ShowPrompt(const std::string& text) override { SetStatusText(text); }
    bool IsCommandChecked(UINT id, bool& checked) override;
    // The view first, then the tool-button bar: the Back and Forward keys
    // do what its buttons do.
    bool RouteCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    int OnCreate(const CREATESTRUCTW& cs);
    void OnPaint();
    void OnSize(UINT type, SIZE size);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    void OnExit();
    void PlaceProgressBar();
    void LayoutAddressCombo();
    bool ProgressShown() const;
    void ToggleBar(CControlBar& bar, int& flag, uint8_t& setting);

    CAddressBar m_wndAddressBar;
    CToolButton m_wndToolButton;
    CStatusBar m_wndStatusBar;
    HWND m_wndProgress = nullptr;
    VisitedList m_visitedList;
    BitmapHandle m_bmpLogo;
    std::unique_ptr<CBrView> view_;
    int m_bAddressBarVisible = 1;
    int m_bToolBarVisible = 1;
    int m_bStatusBarVisible = 1;
    int m_bProgressEnabled = 0;

    // The favourites menu and the home page.
  public:
    // The favourites' items after the menu's three fixed ones, from the
    // view's favourites: the first 257 get one, in columns.
    void RebuildFavouritesMenu();

  private:
    // A favourite's menu command opens it; true when the command was one.
    bool OnFavouriteCommand(WPARAM wParam);
    void OnAddFavourite();
    void OnDeleteFavourites();
    void OnRegisterHome();
    // The favourites window and the menu after the favourites changed.
    void FavouritesChanged();
};
