// The view's side of a page's form controls: it makes their windows as its
// own children and hides them when the page is left.

#include "browser/BrView.h"
#include "forms/FormButton.h"
#include "forms/FormTextField.h"
#include "framework/Fonts.h"
#include "framework/Gdi.h"
#include "framework/Text.h"

Size CBrView::MeasureCaption(std::string_view text) {
    // In the view's own device context, as it stands on a Japanese system.
    WindowDC dc(GetSafeHwnd());
    SelectInto font(dc.get(), JapaneseSystemFontFor(dc.get()));
    const std::wstring wide = Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
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
