#pragma once

#include <string>
#include <string_view>
#include <vector>

// The names of the pages the player has seen, in the order first seen; they
// decide the colour of links. Names are compared ignoring ASCII case.
class VisitedList {
  public:
    // Appends `name` unless it is already there; true when it was appended.
    bool Add(std::string_view name);
    bool Contains(std::string_view name) const;
    void Clear() { names_.clear(); }

    const std::vector<std::string>& names() const { return names_; }
    size_t size() const { return names_.size(); }

  private:
    std::vector<std::string> names_;
};
