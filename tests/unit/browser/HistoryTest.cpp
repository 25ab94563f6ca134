#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browser/PageHistory.h"
#include "html/TokenList.h"

namespace {

using Names = std::vector<std::string>;

// A page object that records its destruction by name.
class CountedPage : public TokenList {
  public:
    CountedPage(const std::string& name, Names& destroyed) : destroyed_(destroyed) {
        SetAddress(name);
    }
    ~CountedPage() override { destroyed_.push_back(address()); }

  private:
    Names& destroyed_;
};

class HistoryTest : public ::testing::Test {
  protected:
    TokenList& Open(const std::string& name) {
        return history_.OpenNew(std::make_unique<CountedPage>(name, destroyed_));
    }

    // The pages oldest first, the current one in brackets.
    std::string Listing() const {
        std::string out;
        for (size_t i = 0; i < history_.size(); ++i) {
            const std::string& name = history_.At(i)->address();
            out += (i ? " " : "") + (history_.position() == i ? "[" + name + "]" : name);
        }
        return out;
    }

    static std::string Name(const TokenList* page) { return page ? page->address() : "null"; }

    Names destroyed_;  // declared first: outlives the history
    PageHistory history_;
};

TEST_F(HistoryTest, EmptyHistoryHasNoPosition) {
    EXPECT_EQ(history_.position(), std::nullopt);
    EXPECT_EQ(history_.current(), nullptr);
    EXPECT_EQ(history_.Back(), nullptr);
    EXPECT_EQ(history_.Forward(), nullptr);
    history_.TruncateAfterCurrent();
    EXPECT_EQ(history_.size(), 0u);

    TokenList& page = history_.OpenNew(nullptr);  // becomes an empty page
    EXPECT_EQ(history_.current(), &page);
}

TEST_F(HistoryTest, BackAndForwardStopAtTheEnds) {
    Open("a");
    Open("b");
    Open("c");
    EXPECT_EQ(Listing(), "a b [c]");
    EXPECT_EQ(history_.Forward(), nullptr);
    EXPECT_EQ(Name(history_.Back()), "b");
    EXPECT_TRUE(history_.CanGoBack() && history_.CanGoForward());
    EXPECT_EQ(Name(history_.previous()) + Name(history_.next()), "ac");
    EXPECT_EQ(Name(history_.Back()), "a");
    EXPECT_EQ(history_.Back(), nullptr);
    EXPECT_EQ(Listing(), "[a] b c");
    EXPECT_FALSE(history_.CanGoBack());
    EXPECT_EQ(Name(history_.previous()), "null");
    EXPECT_EQ(Name(history_.Forward()), "b");
    EXPECT_EQ(Name(history_.Forward()), "c");
    EXPECT_FALSE(history_.CanGoForward());
    EXPECT_EQ(Listing(), "a b [c]");
    EXPECT_TRUE(destroyed_.empty());
}

TEST_F(HistoryTest, OpeningAfterBackDropsAndDestroysTheForwardPages) {
    Open("a");
    Open("b");
    Open("c");
    history_.Back();
    history_.Back();
    Open("d");
    EXPECT_EQ(Listing(), "a [d]");
    EXPECT_EQ(destroyed_, (Names{"c", "b"}));  // the last first
    EXPECT_FALSE(history_.CanGoForward());

    // The same page twice is two entries.
    TokenList& first = Open("d");
    EXPECT_EQ(Listing(), "a d [d]");
    EXPECT_NE(history_.previous(), &first);
}

TEST_F(HistoryTest, TruncationDestroysOnlyThePagesAfterTheCurrentOne) {
    Open("a");
    Open("b");
    Open("c");
    Open("d");
    history_.TruncateAfterCurrent();
    EXPECT_TRUE(destroyed_.empty());
    history_.Back();
    history_.Back();
    history_.TruncateAfterCurrent();
    EXPECT_EQ(Listing(), "a [b]");
    EXPECT_EQ(destroyed_, (Names{"d", "c"}));
    EXPECT_FALSE(history_.CanGoForward());
    EXPECT_TRUE(history_.CanGoBack());
}

}  // namespace
