#pragma once

#include <array>
#include <cstdint>

#include "browser/ChromeLayout.h"
#include "framework/BitmapButton.h"
#include "framework/ControlBar.h"

class PageHistory;

// A bitmap button whose pictures take the user's system colours in place of
// the three key colours drawn into their frames.
class CSysColorButton : public CBitmapButton {
  public:
    // Once, after the bitmaps are loaded; later changes of the system colours
    // do not reach the button.
    void RecolorToSystem();

    uint32_t borderKey = 0;
    uint32_t shadowKey = 0;
    uint32_t highlightKey = 0;
};

// The bar of picture buttons under the address bar: Back, Forward, Home,
// Search and Favourites. Back and Forward are enabled only while the history
// allows them. It also keeps the text size offset that every page font's
// height includes.
class CToolButton : public CDialogBar {
  public:
    static constexpr UINT kTemplateId = 155;
    static constexpr int kButtonSize = chrome::kToolButtonSize;

    CToolButton() : CDialogBar(kTemplateId) {}

    // The bar and its five buttons, disabled until the first page is open.
    bool Create(HWND parent, UINT id);

    // Back and Forward as the history allows, the others enabled.
    void UpdateButtonStates(const PageHistory& history);

    int textSizeOffset() const { return textSizeOffset_; }
    // In table order: Back, Forward, Home, Search, Favourites.
    const CSysColorButton& button(size_t index) const { return buttons_[index]; }
    static constexpr size_t kButtonCount = chrome::kToolButtonCount;

  protected:
    const MessageMap* GetMessageMap() const override;

  private:
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    void OnBack();
    void OnForward();
    void OnHome();
    void OnSearch();
    void OnFavourites();
    void OnNoButton() {}

    std::array<CSysColorButton, kButtonCount> buttons_;
    int textSizeOffset_ = -3;
};
