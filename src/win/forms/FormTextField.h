#pragma once

#include <memory>
#include <string>

#include "framework/Dialog.h"
#include "html/Forms.h"

class BrowserSession;

// A page's one-line text field: a modeless child dialog of the page view
// holding one edit control. Enter searches for its text; the input method
// is on while it has the focus.
class CFormTextField : public CDialog, public FormControlWindow {
  public:
    static constexpr UINT kTemplateId = 190;
    static constexpr UINT kEditId = 1012;

    CFormTextField(FormTextField& field, BrowserSession& session)
        : CDialog(kTemplateId), field_(field), session_(session) {}

    // The field's window as a child of `view`, shown at the field's place;
    // null when it cannot be made.
    static std::unique_ptr<FormControlWindow> Make(HWND view, FormTextField& field,
                                                   BrowserSession& session);

    HWND edit() const { return GetDlgItem(GetSafeHwnd(), kEditId); }

    // Keys with Alt are left to the frame (Back, Forward, the menu).
    bool PreTranslateMessage(MSG& message) override;

    // FormControlWindow
    void Move(const Rect& rect) override;
    void Show(bool shown) override;
    std::string Text() const override;
    void SetText(const std::string& text) override;

  protected:
    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    // Enter searches; neither Enter nor Escape ends the dialog.
    void OnOK() override;
    void OnCancel() override {}

  private:
    void OnChange();
    void OnSetFocus();
    void OnKillFocus();

    FormTextField& field_;
    BrowserSession& session_;
};
