#include "output/alignment.h"

#include <gtest/gtest.h>

namespace trimora {
namespace {

using Texts = std::vector<std::string>;

TEST(AlignDecimals, SizeColumns) {
    struct Case {
        Texts in;
        Texts out;
    };
    const Case cases[] = {
        // maxLen 4, maxDec 1: width 6.
        {{"2750", "27.5"}, {"2750.0", "  27.5"}},
        // No decimals anywhere: only right-aligned, one column of slack.
        {{"12", "7", "100"}, {"  12", "   7", " 100"}},
        // Fractional inches carry no full stop.
        {{"12 1/2\"", "3\""}, {" 12 1/2\"", "      3\""}},
        // maxLen 4, maxDec 2: width 7.
        {{"1.25", "3.5", "10"}, {"   1.25", "   3.50", "  10.00"}},
        {{}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(AlignDecimals(c.in), c.out);
}

TEST(AlignDecimals, AreaColumnWidthIgnoresAddedZeros) {
    // Longest text 5 gives width 6; "12" becomes "12.000", already 6 wide.
    EXPECT_EQ(AlignDecimals({"5.796", "12", "0.5"}, ColumnWidthRule::kLongestPlusOne),
              (Texts{" 5.796", "12.000", " 0.500"}));
    // A padded text wider than the column stays unpadded.
    EXPECT_EQ(AlignDecimals({"1.25", "1000"}, ColumnWidthRule::kLongestPlusOne),
              (Texts{" 1.25", "1000.00"}));
}

}  // namespace
}  // namespace trimora
