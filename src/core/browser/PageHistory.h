#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

class TokenList;

// The view's back-and-forward history: every page object opened, oldest
// first, each kept whole (tokens and layout) while it is in the list, and the
// position of the page shown. There is no position before the first page.
class PageHistory {
  public:
    PageHistory();
    PageHistory(const PageHistory&) = delete;
    PageHistory& operator=(const PageHistory&) = delete;
    ~PageHistory();

    // Drops every page after the current one, appends `page` and shows it.
    // A null page is replaced by an empty page object.
    TokenList& OpenNew(std::unique_ptr<TokenList> page);

    // Move one page back or forward and give the page now shown; null, and
    // no move, when there is no page on that side.
    TokenList* Back();
    TokenList* Forward();
    bool CanGoBack() const;
    bool CanGoForward() const;

    // The page shown, and its neighbours, or null.
    TokenList* current() const;
    TokenList* previous() const;
    TokenList* next() const;

    // Drops (and destroys) the pages after the current one, last first;
    // nothing when no page is shown.
    void TruncateAfterCurrent();

    size_t size() const { return pages_.size(); }
    // Page `index`, oldest first, or null past the end.
    TokenList* At(size_t index) const;
    std::optional<size_t> position() const { return position_; }

  private:
    std::vector<std::unique_ptr<TokenList>> pages_;
    std::optional<size_t> position_;
};
