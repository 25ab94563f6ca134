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
}

}  // namespace
