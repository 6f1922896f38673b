#include "core/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace trimora {
namespace {

struct GeneralCase {
    double value;
    int digits;
    const char* text;
};

TEST(FormatGeneral, FixedScientificAndRounding) {
    const GeneralCase cases[] = {
        {0.0, 15, "0"},
        {-0.0, 15, "0"},
        {12.5, 4, "12.5"},
        {87.1234, 4, "87.12"},
        {100.0, 4, "100"},
        {1234.0, 4, "1234"},
        {-3.5, 15, "-3.5"},
        {0.125, 2, "0.13"},  // exact binary half: rounded away from zero
        {2.5, 1, "3"},
        {-2.5, 1, "-3"},
        {0.1 + 0.2, 15, "0.3"},
        {1.0 / 3.0, 15, "0.333333333333333"},
        {2.0 / 3.0, 4, "0.6667"},
        {123456789012345.0, 15, "123456789012345"},
        {1e15, 15, "1E0015"},
        {12345.0, 4, "1.235E0004"},  // more integer digits than the precision
        {99999.5, 4, "1E0005"},      // rounding carries into a new digit
        {-123456.0, 4, "-1.235E0005"},
        {1.5e20, 8, "1.5E0020"},
        {1e100, 15, "1E0100"},
        {0.00001, 15, "0.00001"},
        {0.0000123, 15, "0.0000123"},
        {0.000001, 15, "1E-0006"},
        {-0.0000025, 2, "-2.5E-0006"},
        {1e-300, 15, "1E-0300"},
        {9.99999, 3, "10"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatGeneral(c.value, c.digits), c.text) << c.value << " p=" << c.digits;
}

TEST(FormatGeneral, NonFiniteAndPrecisionLimits) {
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::quiet_NaN(), 15), "NAN");
    EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::infinity(), 15), "INF");
    EXPECT_EQ(FormatGeneral(-std::numeric_limits<double>::infinity(), 15), "-INF");
    EXPECT_EQ(FormatGeneral(1.25, 0), "1");                    // clamped to one digit
    EXPECT_EQ(FormatGeneral(0.1, 40), "0.10000000000000001");  // clamped to 17 digits
    EXPECT_EQ(FloatToText(1234567.875), "1234567.875");
    EXPECT_EQ(FloatToText(1e15), "1E0015");
}

TEST(ParseDecimal, AcceptsPlainDecimalsOnly) {
    const std::pair<const char*, double> valid[] = {
        {"12.5", 12.5}, {" 12.5 ", 12.5}, {"+3", 3},     {"-3", -3},     {".5", 0.5},
        {"-.5", -0.5},  {"5.", 5},        {"1e3", 1000}, {"1E-2", 0.01}, {"007", 7},
    };
    for (const auto& [text, value] : valid) {
        const auto parsed = ParseDecimal(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_DOUBLE_EQ(*parsed, value) << text;
    }
    const char* invalid[] = {"",      " ",   "abc", "1,5", "inf", "nan",   "0x10", "1e",
                             "1.2.3", "--1", ".",   "+",   "1 2", "1e999", "5a",   "e5"};
    for (const char* text : invalid) EXPECT_FALSE(ParseDecimal(text).has_value()) << text;
}

}  // namespace
}  // namespace trimora
