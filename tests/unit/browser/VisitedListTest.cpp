#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/VisitedList.h"

namespace {

using Names = std::vector<std::string>;

TEST(VisitedList, NamesAreKeptOnceIgnoringAsciiCase) {
    VisitedList list;
    EXPECT_TRUE(list.Add("otop.htm"));
    EXPECT_FALSE(list.Add("OTop.HTM"));
    EXPECT_TRUE(list.Add("search.htm"));
    EXPECT_EQ(list.names(), (Names{"otop.htm", "search.htm"}));  // first spelling, first order
    EXPECT_TRUE(list.Contains("SEARCH.htm"));
    EXPECT_FALSE(list.Contains("search.ht"));
    // ア is 83 41 and ヂ is 83 61: trail bytes that look like "A" and "a".
    EXPECT_TRUE(list.Add("ア.htm"));
    EXPECT_FALSE(list.Contains("ヂ.htm"));

    list.Clear();
    EXPECT_FALSE(list.Contains("otop.htm"));
    EXPECT_TRUE(list.Add("OTOP.htm"));  // nothing of the cleared list is left to refuse it
    EXPECT_EQ(list.names(), Names{"OTOP.htm"});
}

TEST(VisitedList, ASaveFilesWorthOfNamesKeepsItsOrderAndItsCaseRule) {
    VisitedList list;
    Names added;
    for (int i = 0; i < 5000; ++i) {
        // Names that differ only in a letter's case or a trail byte's value.
        added.push_back("Page" + std::to_string(i) + (i % 2 ? "アB.htm" : "ヂb.htm"));
        ASSERT_TRUE(list.Add(added.back())) << i;
    }
    for (int i = 0; i < 5000; ++i) {
        const std::string lower = "page" + std::to_string(i) + (i % 2 ? "アb.HTM" : "ヂB.HTM");
        const std::string other = "page" + std::to_string(i) + (i % 2 ? "ヂb.HTM" : "アB.HTM");
        EXPECT_FALSE(list.Add(lower)) << i;
        EXPECT_TRUE(list.Contains(lower)) << i;
        EXPECT_FALSE(list.Contains(other)) << i;
    }
    EXPECT_EQ(list.names(), added);
}

}  // namespace
