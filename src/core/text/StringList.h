#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class Archive;

// One element of a StringList. The last node of every list is its sentinel,
// the only node without a text and without a successor.
class StringNode {
  public:
    StringNode() = default;
    StringNode(const StringNode&) = delete;
    StringNode& operator=(const StringNode&) = delete;

    // The node's code page 932 text; null only in the sentinel.
    const std::string* text() const { return text_ ? &*text_ : nullptr; }
    std::string* text() { return text_ ? &*text_ : nullptr; }

    StringNode* previous() const { return previous_; }  // null for the first node
    StringNode* next() const { return next_.get(); }    // null for the sentinel
    bool IsSentinel() const { return !next_; }

  private:
    friend class StringList;

    std::optional<std::string> text_;
    StringNode* previous_ = nullptr;
    std::unique_ptr<StringNode> next_;
};

// A doubly linked list of texts that ends in one sentinel node. Appending
// writes into the sentinel and hangs a fresh one behind it, so a node keeps
// its address for as long as it is in the list: callers hold node pointers
// across later appends and insertions.
class StringList {
  public:
    StringList();
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;
    virtual ~StringList();

    // Stores the first length - 1 bytes as a new last text: callers pass the
    // text's length plus one, as for a terminated string, and the last byte is
    // never read. Texts end at their first zero byte. A length of 0 appends an
    // empty text.
    void Append(const char* bytes, size_t length);
    void AppendText(std::string_view text);

    // Links a new node holding `length` bytes (up to a zero byte among them)
    // behind `node`, which must belong to this list; the sentinel appends
    // instead, with Append's length rule. Returns the new node.
    StringNode* InsertAfter(StringNode* node, const char* bytes, size_t length);

    // The most recently appended node; null when the list is empty.
    StringNode* Last() const { return tail_->previous_; }

    // Frees every text and node but the first, which becomes the sentinel.
    void Clear();

    // The first node whose text equals `text`, ignoring the case of ASCII
    // letters; null when none does. Never the sentinel.
    virtual StringNode* Find(std::string_view text);

    // Index 0 is the first node, `count` (or anything above) the sentinel. The
    // walk starts from whichever end is nearer. A negative index gives the
    // first node, as walking that many steps forward goes nowhere.
    StringNode* NodeAt(int index) const;

    // Shell sort of the texts, ascending, ignoring the case of ASCII letters.
    // Only texts move; nodes stay where they are.
    virtual void Sort();

    // Replaces the list's contents with the lines of entry `name` of `archive`;
    // see SplitLines. A missing or unreadable entry leaves the list empty and
    // returns false.
    bool LoadLines(std::string_view name, const Archive& archive);

    // Every text in order, without the sentinel.
    std::vector<std::string> Texts() const;

    const std::string& name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    int count() const { return count_; }
    StringNode* first() const { return first_.get(); }
    StringNode* tail() const { return tail_; }

  private:
    // Frees nodes one by one: letting each node free its successor would
    // recurse once per node.
    static void FreeChain(std::unique_ptr<StringNode> node);

    std::string name_;
    int count_ = 0;
    std::unique_ptr<StringNode> first_;
    StringNode* tail_ = nullptr;
};

// Appends the lines of `size` bytes to `out`. Every CR ends a line and the
// byte after it (the LF of a CR LF pair) is skipped; text after the last CR is
// not a line. An empty line gives an empty text.
void SplitLines(const uint8_t* bytes, size_t size, StringList& out);
