#include "text/StringList.h"

#include <algorithm>

#include "archive/Archive.h"
#include "text/ShiftJis.h"

namespace {

// Texts are terminated strings wherever they go, so a zero byte ends one.
std::string_view UpToZero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::string_view View(const char* bytes, size_t length) {
    return length == 0 ? std::string_view() : std::string_view(bytes, length);
}

}  // namespace

StringList::StringList() : first_(std::make_unique<StringNode>()), tail_(first_.get()) {}

StringList::~StringList() {
    FreeChain(std::move(first_));
}

void StringList::FreeChain(std::unique_ptr<StringNode> node) {
    while (node) {
        node = std::move(node->next_);
    }
}

void StringList::Append(const char* bytes, size_t length) {
    AppendText(View(bytes, length > 0 ? length - 1 : 0));
}

void StringList::AppendText(std::string_view text) {
    auto sentinel = std::make_unique<StringNode>();
    sentinel->previous_ = tail_;
    tail_->text_.emplace(UpToZero(text));
    tail_->next_ = std::move(sentinel);
    tail_ = tail_->next_.get();
    ++count_;
}

StringNode* StringList::InsertAfter(StringNode* node, const char* bytes, size_t length) {
    if (node->IsSentinel()) {
        Append(bytes, length);
        return Last();
    }
    auto fresh = std::make_unique<StringNode>();
    fresh->text_.emplace(UpToZero(View(bytes, length)));
    fresh->previous_ = node;
    fresh->next_ = std::move(node->next_);
    fresh->next_->previous_ = fresh.get();
    node->next_ = std::move(fresh);
    ++count_;
    return node->next_.get();
}

void StringList::Clear() {
    FreeChain(std::move(first_->next_));
    first_->text_.reset();
    tail_ = first_.get();
    count_ = 0;
}

StringNode* StringList::Find(std::string_view text) {
    for (StringNode* node = first(); !node->IsSentinel(); node = node->next()) {
        if (EqualsIgnoringAsciiCase(*node->text_, text)) {
            return node;
        }
    }
    return nullptr;
}

StringNode* StringList::NodeAt(int index) const {
    if (index >= count_) {
        return tail_;
    }
    StringNode* node = nullptr;
    if (index < count_ / 2) {
        node = first();
        for (int i = 0; i < index; ++i) {
            node = node->next();
        }
    } else {
        node = tail_;
        for (int steps = count_ - index; steps > 0; --steps) {
            node = node->previous_;
        }
    }
    return node;
}

void StringList::Sort() {
    if (count_ == 0) {
        return;
    }
    std::vector<StringNode*> nodes;
    nodes.reserve(static_cast<size_t>(count_));
    for (StringNode* node = first(); !node->IsSentinel(); node = node->next()) {
        nodes.push_back(node);
    }
    auto text = [&nodes](size_t i) -> std::string& { return *nodes[i]->text_; };

    // Gaps 1, 4, 13, 40, ...: start two terms below the first that exceeds count.
    int64_t gap = 1;
    while (gap <= count_) {
        gap = 3 * gap + 1;
    }
    gap = std::max<int64_t>(gap / 9, 1);

    const size_t n = nodes.size();
    for (auto h = static_cast<size_t>(gap); h > 0; h /= 3) {
        for (size_t i = h; i < n; ++i) {
            std::string v = std::move(text(i));
            size_t j = i;
            while (j >= h && CompareIgnoringAsciiCase(text(j - h), v) > 0) {
                text(j) = std::move(text(j - h));
                j -= h;
            }
            text(j) = std::move(v);
        }
    }
}

bool StringList::LoadLines(std::string_view name, const Archive& archive) {
    Clear();
    std::optional<EntryData> entry = archive.ReadEntry(name, kPageReaderBuffers);
    if (!entry) {
        return false;
    }
    SplitLines(entry->bytes.data(), std::min<size_t>(entry->size, entry->bytes.size()), *this);
    return true;
}

std::vector<std::string> StringList::Texts() const {
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(count_));
    for (const StringNode* node = first(); !node->IsSentinel(); node = node->next()) {
        texts.push_back(*node->text());
    }
    return texts;
}

void SplitLines(const uint8_t* bytes, size_t size, StringList& out) {
    const char* text = reinterpret_cast<const char*>(bytes);
    size_t start = 0;
    size_t i = 0;
    while (i < size) {
        if (text[i] != '\r') {
            ++i;
            continue;
        }
        out.AppendText(std::string_view(text + start, i - start));
        // The byte after the CR is passed over unseen, so a CR at the very end
        // reads nothing beyond it.
        start = i + 2;
        i = start;
    }
}
