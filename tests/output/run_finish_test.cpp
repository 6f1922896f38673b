#include "output/run_finish.h"

#include <gtest/gtest.h>

#include <string>

namespace trimora {
namespace {

TEST(StatisticsPanelOf, StoredValuesWithCaptionsOfTheCurrentUnits) {
    const StatisticsTexts stored{"16", "15", "3", "5.796", "58.45", "20.56", "2593.9", "0"};
    const auto text = [](int n) { return "T" + std::to_string(n); };
    const StatisticsPanel panel = StatisticsPanelOf(stored, 0, 2, text);
    // The values come back as the document holds them.
    EXPECT_EQ(StatisticsTextsOf(panel), stored);
    EXPECT_EQ(panel.Label26, "T53 (m²)");
    EXPECT_EQ(panel.Label27, "T54 (%)");
    EXPECT_EQ(panel.Label28, "T55 (%)");
    EXPECT_EQ(panel.Label40, "T56 (mm)");
    EXPECT_EQ(panel.Label54, "T57 (mm)");
}

}  // namespace
}  // namespace trimora
