// The view's side of a page's form controls: it makes their windows as its
// own children and hides them when the page is left.

#include "browser/BrView.h"
#include "forms/FormButton.h"
#include "forms/FormTextField.h"
#include "text/FontFaces.h"

Size CBrView::MeasureCaption(std::string_view text) {
    // The cells of a Japanese system's system font, whatever face this
    // system realises it in (Wine takes one IPA face or another from start
    // to start), so that a page lays out alike everywhere.
    return {SystemFontTextWidth(text), kSystemFontHeight};
}

std::unique_ptr<FormControlWindow> CBrView::CreateTextField(FormTextField& field) {
    return CFormTextField::Make(GetSafeHwnd(), field, session_);
}

std::unique_ptr<FormControlWindow> CBrView::CreateButton(FormButton& button) {
    return CFormButton::Make(GetSafeHwnd(), button, session_);
}

void CBrView::HidePageControls(TokenList& page) {
    page.HideFormControls();
}
