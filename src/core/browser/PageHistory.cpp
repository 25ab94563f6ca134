#include "browser/PageHistory.h"

#include "html/TokenList.h"

PageHistory::PageHistory() = default;
PageHistory::~PageHistory() = default;

TokenList& PageHistory::OpenNew(std::unique_ptr<TokenList> page) {
    if (!page) {
        page = std::make_unique<TokenList>();
    }
    TruncateAfterCurrent();
    pages_.push_back(std::move(page));
    position_ = pages_.size() - 1;
    return *pages_.back();
}

TokenList* PageHistory::Back() {
    if (!CanGoBack()) {
        return nullptr;
    }
    --*position_;
    return current();
}

TokenList* PageHistory::Forward() {
    if (!CanGoForward()) {
        return nullptr;
    }
    ++*position_;
    return current();
}

bool PageHistory::CanGoBack() const {
    return position_ && *position_ > 0;
}

bool PageHistory::CanGoForward() const {
    return position_ && *position_ + 1 < pages_.size();
}

TokenList* PageHistory::current() const {
    return position_ ? At(*position_) : nullptr;
}

TokenList* PageHistory::previous() const {
    return CanGoBack() ? At(*position_ - 1) : nullptr;
}

TokenList* PageHistory::next() const {
    return CanGoForward() ? At(*position_ + 1) : nullptr;
}

void PageHistory::TruncateAfterCurrent() {
    if (!position_) {
        return;
    }
    while (pages_.size() > *position_ + 1) {
        pages_.pop_back();
    }
}

TokenList* PageHistory::At(size_t index) const {
    return index < pages_.size() ? pages_[index].get() : nullptr;
}
