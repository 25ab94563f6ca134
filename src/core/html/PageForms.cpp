// Forms: text fields and buttons are windows of their own over the view,
// placed where the pen stands. The first walk of a page makes them; every
// later walk finds the same controls in the same order and moves them to
// where the pen is now.

#include <algorithm>

#include "html/PageReferences.h"
#include "html/TokenList.h"

namespace {

constexpr int kDefaultFieldCharacters = 20;

int Sum(int64_t a, int64_t b) {
    return TokenList::Bounded(a + b);
}
constexpr const char* kSubmitCaption = "送信";
constexpr const char* kResetCaption = "リセット";

// Sizes and places stay on the page's drawing area, however damaged the page.
int OnPage(int value, int limit) {
    return std::clamp(value, 0, limit);
}

void MoveControl(FormControl& control, Point at) {
    control.rect = Rect::FromSize(at.x, at.y, control.rect.width(), control.rect.height());
    if (control.window) {
        control.window->Move(control.rect);
        control.window->Show(true);
    }
}

}  // namespace

void FormTextField::Place(int x, int y, int characters) {
    rect = {x, y, x + kCharacterWidth * characters, y + kDefaultHeight};
}

void FormButton::Place(int x, int y, int width, int height) {
    rect = {x, y, x + width, y + height + 6};
}

FormTextField* FormGroup::FindKeywordField() const {
    for (const auto& field : fields) {
        if (field->name.find("keyword") != std::string::npos) {
            return field.get();
        }
    }
    return nullptr;
}

void TokenList::HideFormControls() {
    for (const auto& group : forms_) {
        for (const auto& button : group->buttons) {
            if (button->window) {
                button->window->Show(false);
            }
        }
        for (const auto& field : group->fields) {
            if (field->window) {
                field->window->Show(false);
            }
        }
    }
}

FormGroup* TokenList::NextForm() {
    Layout& l = layout_;
    l.buttonCursor = 0;
    l.fieldCursor = 0;
    if (!laidOut_) {
        // A group joins the page's forms when it is made, so that one whose
        // "</form" is missing is still there, and in document order.
        forms_.push_back(std::make_unique<FormGroup>());
        return forms_.back().get();
    }
    if (l.formCursor >= forms_.size()) {
        return nullptr;
    }
    return forms_[l.formCursor++].get();
}

void TokenList::FormStart(std::optional<int> cellLeft) {
    Layout& l = layout_;
    l.penY = Sum(l.penY, l.lineHeight);
    l.pageHeight = std::max(l.pageHeight, l.penY);
    if (cellLeft) {
        l.penX = *cellLeft;
    } else if (l.divisionCentre) {
        l.lineStart = false;
        l.penX = Client().width() / 2;
    } else {
        l.penX = l.leftMargin;
    }
    l.currentForm = NextForm();
    l.looseInputs = false;
}

void TokenList::FormEnd(std::optional<int> cellLeft) {
    Layout& l = layout_;
    l.penY = Sum(l.penY, Sum(l.lineHeight, l.lineHeight));
    l.penX = cellLeft.value_or(l.leftMargin);
    l.pageHeight = std::max(l.pageHeight, l.penY);
    // Inputs after it are outside any form.
    l.currentForm = nullptr;
    l.looseInputs = false;
}

FormControl* TokenList::InputTag(std::string_view token) {
    const InputKind kind = ReadInputKind(token);
    if (kind == InputKind::None) {
        return nullptr;
    }
    Layout& l = layout_;
    if (l.currentForm == nullptr && !l.looseInputs) {
        // Inputs outside any form share a group of their own up to the next
        // form tag.
        l.currentForm = NextForm();
        l.looseInputs = true;
    }
    if (l.currentForm == nullptr) {
        return nullptr;  // a later walk that meets more forms than the first
    }
    const Point scroll = host_->ScrollPosition();
    const Point at{OnPage(l.penX, kMaxPageWidth) - scroll.x,
                   OnPage(l.penY, kMaxPageHeight) - scroll.y};
    switch (kind) {
        case InputKind::Text:
        case InputKind::Password:
            return PlaceTextField(token, kind == InputKind::Password, at);
        case InputKind::Submit:
        case InputKind::Reset:
            return PlaceButton(token, kind == InputKind::Submit, at);
        case InputKind::None:
            break;
    }
    return nullptr;
}

FormControl* TokenList::PlaceTextField(std::string_view token, bool password, Point at) {
    Layout& l = layout_;
    FormGroup& group = *l.currentForm;
    FormTextField* field = nullptr;
    if (!laidOut_) {
        auto made = std::make_unique<FormTextField>();
        field = made.get();
        field->group = &group;
        field->password = password;
        field->name = AttributeValue(token, "name");
        field->initialValue = AttributeValue(token, "value");
        const int characters = HasAttribute(token, "size")
                                   ? AttributeNumber(AttributeValue(token, "size"))
                                   : kDefaultFieldCharacters;
        field->Place(at.x, at.y,
                     std::clamp(characters, 1, kMaxPageWidth / FormTextField::kCharacterWidth));
        group.fields.push_back(std::move(made));
        field->window = host_->CreateTextField(*field);
        field->rect.bottom = field->rect.top + OnPage(field->rect.height(), kMaxPageHeight);
        // A result page's fields show the words searched; a password never.
        if (!password && field->window) {
            field->window->SetText(host_->LastKeyword());
        }
    } else {
        // A page whose tags no longer match its controls leaves the rest be.
        if (l.fieldCursor >= group.fields.size()) {
            return nullptr;
        }
        field = group.fields[l.fieldCursor++].get();
        MoveControl(*field, at);
    }
    l.penX = Sum(l.penX, field->rect.width());
    l.lineHeight = Sum(field->rect.height(), 2);
    return field;
}

FormControl* TokenList::PlaceButton(std::string_view token, bool submit, Point at) {
    Layout& l = layout_;
    FormGroup& group = *l.currentForm;
    FormButton* button = nullptr;
    if (!laidOut_) {
        auto made = std::make_unique<FormButton>();
        button = made.get();
        button->group = &group;
        button->submit = submit;
        button->action = AttributeValue(token, "name");
        button->caption = HasAttribute(token, "value") ? std::string(AttributeValue(token, "value"))
                          : submit                     ? kSubmitCaption
                                                       : kResetCaption;
        const Size size = host_->MeasureCaption(button->caption);
        button->Place(at.x, at.y, OnPage(size.width, kMaxPageWidth),
                      OnPage(size.height, kMaxPageHeight));
        group.buttons.push_back(std::move(made));
        button->window = host_->CreateButton(*button);
    } else {
        if (l.buttonCursor >= group.buttons.size()) {
            return nullptr;
        }
        button = group.buttons[l.buttonCursor++].get();
        MoveControl(*button, at);
    }
    l.penX = Sum(l.penX, button->rect.width());
    l.lineHeight = button->rect.height();
    return button;
}
