#include <gtest/gtest.h>

#include "browser/PrintPlan.h"

namespace {

TEST(PrintPlan, APageFillsThePaperWidthAndRunsOnOverSheets) {
    // 800 pixels onto 4000 dots: five dots a pixel, so 1000 rows a sheet of 5000.
    const std::vector<PrintSheet> sheets = PlanPrint(800, 2600, 4000, 5000);
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0].sourceTop, 0);
    EXPECT_EQ(sheets[0].sourceHeight, 1000);
    EXPECT_EQ(sheets[0].paperHeight, 5000);
    EXPECT_EQ(sheets[2].sourceTop, 2000);
    EXPECT_EQ(sheets[2].sourceHeight, 600);
    EXPECT_EQ(sheets[2].paperHeight, 3000);

    const std::vector<PrintSheet> one = PlanPrint(640, 480, 4000, 5000);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].paperHeight, 3000);

    EXPECT_TRUE(PlanPrint(0, 480, 4000, 5000).empty());
    EXPECT_TRUE(PlanPrint(640, 480, 4000, 0).empty());
    // Paper less than one page row high still advances a row a sheet.
    EXPECT_EQ(PlanPrint(1, 3, 10, 1).size(), 3u);
}

}  // namespace
