#pragma once

#include <string>
#include <string_view>
#include <vector>

class StringList;

// What a page's tags point at, read without a layout the way the page walk
// reads them: for the tools that look at a whole world rather than one view.

// An "<input" as the form engine takes it: the words after "type" decide, in
// this order; anything else (a check box, an input without type) is no control.
enum class InputKind { None, Text, Password, Submit, Reset };
InputKind ReadInputKind(std::string_view token);

struct PageInput {
    InputKind kind = InputKind::None;
    std::string name;  // a field's name, a button's action
};

struct PageReferences {
    // The text after the last "<title" tag, as the window's caption shows it;
    // empty without one.
    std::string title;
    // The targets of the "<a href=" tags in page order, as a click hands them on.
    std::vector<std::string> links;
    // Every form control in page order.
    std::vector<PageInput> inputs;
};

PageReferences ReadPageReferences(const StringList& tokens);
