#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The names of the pages the player has seen, in the order first seen; they
// decide the colour of links. Names are compared ignoring ASCII case. A save
// file brings in tens of thousands of names, each looked up before it is
// added, so the look-up goes through a set of the names with their case
// folded, not along the list.
class VisitedList {
  public:
    // Appends `name` unless it is already there; true when it was appended.
    bool Add(std::string_view name);
    bool Contains(std::string_view name) const;
    void Clear() {
        names_.clear();
        folded_.clear();
    }

    const std::vector<std::string>& names() const { return names_; }
    size_t size() const { return names_.size(); }

  private:
    std::vector<std::string> names_;
    std::unordered_set<std::string> folded_;
};
