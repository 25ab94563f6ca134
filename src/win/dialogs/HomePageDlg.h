#pragma once

#include <string>

#include "framework/Dialog.h"

class Bookmarks;

// Makes the page shown the home page, or the standard one again; each button
// takes effect at once. The edit box only shows the home address: what is
// typed there is never read. OK, Escape and the close box close it; Enter
// does nothing.
class CHomePageDlg : public CDialog {
  public:
    CHomePageDlg(HWND owner, Bookmarks& bookmarks);

    // The page shown, set before the dialog opens.
    std::string m_strCurrentFile;
    std::string m_strCurrentAddress;

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override {}

  private:
    void OnSetCurrent();
    void OnSetStandard();
    void ShowHomeAddress();

    Bookmarks& bookmarks_;
};
