#pragma once

#include <string>
#include <vector>

#include "framework/ControlBar.h"

// The address bar under the menu: a label and a combo box of addresses.
class CAddressBar : public CDialogBar {
  public:
    static constexpr UINT kTemplateId = 1002;
    static constexpr UINT kComboId = 1002;

    CAddressBar() : CDialogBar(kTemplateId) {}

    HWND combo() const { return GetDlgItem(GetSafeHwnd(), kComboId); }
    // Shows an address as the combo box's text.
    void ShowAddress(const std::string& cp932Address);

    // The addresses the combo box lists, as loaded from the save file.
    void SetEntries(const std::vector<std::string>& addresses);
    // The entries to save. They are taken from the combo box when the bar is
    // destroyed; before that the list is empty.
    const std::vector<std::string>& savedEntries() const { return savedEntries_; }
    void KeepEntries();

  private:
    std::vector<std::string> savedEntries_;
};
