#pragma once

#include <memory>

#include "framework/Dialog.h"
#include "html/Forms.h"

class BrowserSession;

// A page's submit or reset button: a modeless child dialog of the page view
// holding one push button. A click goes to the session, which resets the
// button's form or submits its action.
class CFormButton : public CDialog, public FormControlWindow {
  public:
    static constexpr UINT kTemplateId = 191;
    static constexpr UINT kButtonId = 1042;

    CFormButton(FormButton& button, BrowserSession& session)
        : CDialog(kTemplateId), button_(button), session_(session) {}

    // The button's window as a child of `view`, shown at the button's place;
    // null when it cannot be made.
    static std::unique_ptr<FormControlWindow> Make(HWND view, FormButton& button,
                                                   BrowserSession& session);

    HWND button() const { return GetDlgItem(GetSafeHwnd(), kButtonId); }

    // Keys with Alt are left to the frame (Back, Forward, the menu).
    bool PreTranslateMessage(MSG& message) override;

    // FormControlWindow; a button has no text to read or set.
    void Move(const Rect& rect) override;
    void Show(bool shown) override;
    std::string Text() const override { return {}; }
    void SetText(const std::string&) override {}

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    // Neither Enter nor Escape ends the dialog.
    void OnOK() override {}
    void OnCancel() override {}

  private:
    void OnClicked();

    FormButton& button_;
    BrowserSession& session_;
};
