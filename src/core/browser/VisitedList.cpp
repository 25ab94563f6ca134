#include "browser/VisitedList.h"

#include <algorithm>

#include "text/ShiftJis.h"

bool VisitedList::Add(std::string_view name) {
    if (Contains(name)) {
        return false;
    }
    names_.emplace_back(name);
    return true;
}

bool VisitedList::Contains(std::string_view name) const {
    return std::any_of(names_.begin(), names_.end(), [name](const std::string& entry) {
        return EqualsIgnoringAsciiCase(entry, name);
    });
}
