#pragma once

#include <string>
#include <vector>

#include "framework/ControlBar.h"

class CBrView;

// The address bar under the menu: a label and a combo box in which the player
// types an address or picks one typed before. Enter opens the address's page,
// or, for an address the world does not know, runs a simulated fetch on the
// status bar's progress control and then shows "urlmiss.htm" or a message.
class CAddressBar : public CDialogBar {
  public:
    static constexpr UINT kTemplateId = 1002;
    static constexpr UINT kComboId = 1002;

    CAddressBar() : CDialogBar(kTemplateId) {}

    HWND combo() const { return GetDlgItem(GetSafeHwnd(), kComboId); }
    // Shows an address as the combo box's text.
    void ShowAddress(const std::string& cp932Address);

    // Adds the addresses of a save file to the list: the newest 24, each cut
    // to what the box takes.
    void SetEntries(const std::vector<std::string>& addresses);
    // The list's entries in order.
    std::vector<std::string> Entries() const;
    // The entries to save: the list's own while the bar exists, then those it
    // kept when its window was destroyed.
    std::vector<std::string> savedEntries() const;
    int savedEntryCount() const { return savedEntryCount_; }

    // Enter in the box.
    void GoToTypedAddress();

  protected:
    const MessageMap* GetMessageMap() const override;
    // Every command with a notification code up to 10 is the bar's own.
    bool RouteCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    void OnDestroy();
    CBrView* ActiveView() const;
    void AddEntry(const std::string& text);
    void TrimEntries();
    // The simulated fetch on the progress control, each step more than
    // `stepMs` after the one before; no message is handled meanwhile.
    void RunFetch(uint32_t stepMs);
    void SetProgress(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowCurrentAddress();
    std::string BoxText() const;

    std::vector<std::string> savedEntries_;
    int savedEntryCount_ = 0;
};
