#include "browser/VisitedList.h"

#include "text/ShiftJis.h"

bool VisitedList::Add(std::string_view name) {
    if (!folded_.insert(FoldedAsciiCase(name)).second) {
        return false;
    }
    names_.emplace_back(name);
    return true;
}

bool VisitedList::Contains(std::string_view name) const {
    return folded_.contains(FoldedAsciiCase(name));
}
