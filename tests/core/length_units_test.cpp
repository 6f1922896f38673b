#include "core/length_units.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace trimora {
namespace {

TEST(RoundToDigits, HalvesUpAndBinaryShortfall) {
    EXPECT_DOUBLE_EQ(RoundToDigits(2.5, 0), 3);
    EXPECT_DOUBLE_EQ(RoundToDigits(2.49, 0), 2);
    EXPECT_DOUBLE_EQ(RoundToDigits(12.34, -1), 12.3);
    EXPECT_DOUBLE_EQ(RoundToDigits(12.346, -2), 12.35);
    EXPECT_DOUBLE_EQ(RoundToDigits(1234.0, 2), 1200);
    EXPECT_DOUBLE_EQ(RoundToDigits(1250.0, 2), 1300);
    // Decimal halves that binary stores a little low round down.
    EXPECT_DOUBLE_EQ(RoundToDigits(1.005, -2), 1.0);
    EXPECT_DOUBLE_EQ(RoundToDigits(0.15, -1), 0.1);
    EXPECT_DOUBLE_EQ(RoundToDigits(12.345, -2), 12.35);
}

struct ParseCase {
    LengthUnit unit;
    const char* text;
    Tenths tenths;
};

TEST(ParseLength, AllUnits) {
    const ParseCase cases[] = {
        {0, "0", 0},
        {0, "12.34", 123},
        {0, "2800", 28000},
        {0, "12.35", 124},
        {0, " 3.2 ", 32},
        {0, "1e3", 10000},
        {1, "12.346", 1235},
        {1, "280", 28000},
        {2, "2.8", 28000},
        {2, "1.23456", 12346},
        {3, "1", 254},
        {3, "0.5", 127},
        {3, "12.5", 3175},
        {4, "0", 0},
        {4, "12 1/2\"", 3175},
        {4, "1/2\"", 127},
        {4, "7", 1778},
        {4, "5'6\"", 16764},
        {5, "0", 0},
        {5, "5'6\"", 16764},
        {5, "5' 6\"", 16764},
        {5, "5 6", 16764},
        {5, "66\"", 16764},
        {5, "5 6 1/2", 16891},
        {5, "6 1/2", 1651},
        {5, "1/3", 85},
        {5, "7/4", 445},
        {5, "1'", 3048},
        // errors collapse to -1
        {0, "abc", -1},
        {0, "", -1},
        {0, "1,5", -1},
        {0, "-5", -1},
        {3, "-0.1", -1},
        {0, "1e12", -1},
        {4, "5.5", -1},
        {4, "", -1},
        {4, "1/0", -1},
        {5, "1 2 3", -1},
        {5, "5 1/", -1},
        // unknown units
        {6, "12", 0},
        {-1, "12", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLength(c.unit, c.text), c.tenths)
            << "unit " << c.unit << " '" << c.text << "'";
}

struct NormalizeCase {
    LengthUnit unit;
    const char* text;
    int error;
    const char* canonical;
};

TEST(NormalizeLengthText, CanonicalTextsAndErrors) {
    const NormalizeCase cases[] = {
        // "0" is valid in every unit
        {0, "0", 0, "0"},
        {1, "0", 0, "0"},
        {2, "0", 0, "0"},
        {3, "0", 0, "0"},
        {4, "0", 0, "0"},
        {5, "0", 0, "0"},
        // decimal units keep 1, 2, 4 and 3 decimals
        {0, "12.34", 0, "12.3"},
        {0, "12.35", 0, "12.3"},  // 12.35 is held just below the half
        {0, "12.36", 0, "12.4"},
        {0, "2800.00", 0, "2800"},
        {0, " 7 ", 0, "7"},
        {1, "12.346", 0, "12.35"},
        {1, "1.005", 0, "1"},  // held just below the half
        {2, "1.23456", 0, "1.2346"},
        {2, "2.80", 0, "2.8"},
        {3, "1.23456", 0, "1.235"},
        {3, "0.0004", 0, "0"},
        {0, "-0", 0, "0"},
        // fractional inch: feet are folded into the inches
        {4, "5'6\"", 0, "66\""},
        {4, "5 6", 0, "66\""},
        {4, "12 3/8\"", 0, "12 3/8\""},
        {4, "12  3/8", 0, "12 3/8\""},
        {4, "1/2", 0, "1/2\""},
        {4, "1/3", 0, "21/64\""},
        {4, "7/4", 0, "7/4\""},
        {4, "2 3/6", 0, "2 1/2\""},
        {4, "12 127/128", 0, "13\""},  // rounds to 2/2: carried
        {4, "12 1/200", 0, "12\""},    // rounds to 0/2: dropped
        {4, "2/2", 0, "1\""},
        {4, "0/4", 0, "0"},
        {4, "00", 0, "0"},
        // feet and inches: inches are not carried into feet
        {5, "5'6\"", 0, "5' 6\""},
        {5, "5' 6\"", 0, "5' 6\""},
        {5, "5 6", 0, "5' 6\""},
        {5, "5 6 1/2", 0, "5' 6 1/2\""},
        {5, "14\"", 0, "14\""},
        {5, "66\"", 0, "66\""},
        {5, "3'", 0, "3' "},
        {5, "3' 1/3", 0, "3' 21/64\""},
        {5, "5\" 6", 0, "5' 6\""},  // the first of two plain-or-inch numbers is the feet
        // errors, decimal units
        {0, "abc", 272, ""},
        {1, "", 272, ""},
        {2, "1,5", 272, ""},
        {3, "-1", 272, ""},
        {0, "-0.5", 272, ""},
        {0, "99999999999", 272, ""},
        {0, "nan", 272, ""},
        // errors, inch units
        {4, "", 273, ""},
        {4, "5.5", 274, ""},
        {5, "5.5", 274, ""},
        {5, "-1", 274, ""},
        {5, "5a", 274, ""},
        {5, "\"", 275, ""},
        {5, " ", 275, ""},
        {5, "1 2 3 1/2", 275, ""},
        {5, "5 1/", 276, ""},
        {4, "1/", 276, ""},
        {5, "1 2 3", 277, ""},
        {5, "1/2 3", 279, ""},
        {5, "1/2 3/4", 279, ""},
        {5, "1/2'", 280, ""},
        {5, "5' 6'", 281, ""},
        {5, "5 6'", 281, ""},
        {5, "5\" 6\"", 282, ""},
        {5, "5 6\"", 282, ""},
        {5, "1/2/3", 283, ""},
        {5, "1/0", 283, ""},
        {4, "5 1/0\"", 283, ""},
        {5, "5 1/2'", 283, ""},
        {5, "99999999999", 283, ""},
        {4, "9999999'", 283, ""},  // beyond the range of a length
        // unknown unit
        {6, "12", 0, ""},
    };
    for (const auto& c : cases) {
        const NormalizedLength n = NormalizeLengthText(c.text, c.unit);
        EXPECT_EQ(n.error, c.error) << "unit " << c.unit << " '" << c.text << "'";
        if (c.error == 0) {
            EXPECT_EQ(n.text, c.canonical) << "unit " << c.unit << " '" << c.text << "'";
        }
    }
}

TEST(NormalizeLengthText, CanonicalTextParsesToTheSameLength) {
    const std::pair<LengthUnit, const char*> cases[] = {
        {0, "12.34"}, {1, "12.346"},  {2, "1.23456"}, {3, "1.23456"},
        {4, "5'6\""}, {5, "5 6 1/2"}, {4, "7/4"},     {5, "3' 1/2"},
    };
    for (const auto& [unit, text] : cases) {
        const NormalizedLength n = NormalizeLengthText(text, unit);
        ASSERT_EQ(n.error, 0) << text;
        EXPECT_EQ(ParseLength(unit, n.text), ParseLength(unit, text)) << text;
    }
}

struct FeetInchesCase {
    const char* text;
    int error, feet, inches, numerator, denominator;
};

TEST(ParseFeetInches, AssignsTokens) {
    const FeetInchesCase cases[] = {
        {"7", 0, 0, 7, 0, 1},         {"5 6", 0, 5, 6, 0, 1},
        {"6 1/2", 0, 0, 6, 1, 2},     {"5 6 1/2", 0, 5, 6, 1, 2},
        {"5'6\"", 0, 5, 6, 0, 1},     {"5' 6\"", 0, 5, 6, 0, 1},
        {"1/2", 0, 0, 0, 1, 2},       {"1/2\"", 0, 0, 0, 1, 2},
        {"5'", 0, 5, 0, 0, 1},        {"  12   3/8\" ", 0, 0, 12, 3, 8},
        {"/4", 0, 0, 0, 0, 4},        {"5' 6 1/2\"", 0, 5, 6, 1, 2},
        {"1/0", 0, 0, 0, 1, 0},       {"", 273, 0, 0, 0, 1},
        {"1.5", 274, 0, 0, 0, 1},     {"'\" ", 275, 0, 0, 0, 1},
        {"1 2 3 4", 275, 0, 0, 0, 1}, {"3 1/", 276, 0, 0, 0, 1},
        {"1 2 3", 277, 0, 0, 0, 1},   {"1/2 3", 279, 0, 0, 0, 1},
        {"1/2'", 280, 0, 0, 0, 1},    {"1' 2' 3/4", 281, 0, 0, 0, 1},
        {"1\" 2\"", 282, 0, 0, 0, 1}, {"1/2/4", 283, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        const FeetInches r = ParseFeetInches(c.text);
        EXPECT_EQ(r.error, c.error) << "'" << c.text << "'";
        if (c.error != 0) continue;
        EXPECT_EQ(r.feet, c.feet) << c.text;
        EXPECT_EQ(r.inches, c.inches) << c.text;
        EXPECT_EQ(r.numerator, c.numerator) << c.text;
        EXPECT_EQ(r.denominator, c.denominator) << c.text;
    }
}

TEST(NearestBinaryFraction, LowestTermsAndSmallestDenominatorOnTies) {
    const std::tuple<double, int, int> cases[] = {
        {0.5, 1, 2},  {0.75, 3, 4},  {0.625, 5, 8}, {1.0 / 3.0, 21, 64}, {0.3, 19, 64},
        {1.75, 7, 4}, {0.004, 0, 2}, {0.996, 2, 2}, {1.0 / 64.0, 1, 64}, {0.0, 0, 2},
    };
    for (const auto& [f, n, d] : cases) {
        const BinaryFraction b = NearestBinaryFraction(f);
        EXPECT_EQ(b.numerator, n) << f;
        EXPECT_EQ(b.denominator, d) << f;
    }
}

struct FormatCase {
    Tenths value;
    LengthUnit unit;
    const char* text;
};

TEST(FormatLength, AllUnits) {
    const FormatCase cases[] = {
        {0, 0, "0"},
        {0, 4, "0"},
        {0, 5, "0"},
        {123, 0, "12.3"},
        {28000, 0, "2800"},
        {1235, 1, "12.35"},
        {28000, 1, "280"},
        {12346, 2, "1.2346"},
        {28000, 2, "2.8"},
        {1, 2, "0.0001"},
        {254, 3, "1"},
        {3175, 3, "12.5"},
        {1000, 3, "3.937"},
        {3175, 4, "12 1/2\""},
        {127, 4, "1/2\""},
        {254, 4, "1\""},
        {16764, 4, "66\""},
        {16764, 5, "5' 6\""},
        {3048, 5, "1' "},
        {3175, 5, "1' 1/2\""},
        {16891, 5, "5' 6 1/2\""},
        {85, 4, "21/64\""},
        // a fraction within 1/128 inch of a whole inch is carried or dropped
        {3301, 4, "13\""},
        {3049, 4, "12\""},
        {3047, 5, "1' "},
        {3049, 5, "1' "},
        {1, 4, "0"},
        {-123, 0, "-12.3"},
        {123, 6, ""},
        {123, -1, ""},
        {2147483647, 0, "214748364.7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatLength(c.value, c.unit), c.text) << c.value << " unit " << c.unit;
}

TEST(FormatLength, RoundTripsThroughParse) {
    for (LengthUnit unit = 0; unit <= 3; ++unit) {
        for (Tenths v : {0, 1, 10, 127, 254, 3175, 16764, 28000, 20700}) {
            EXPECT_EQ(ParseLength(unit, FormatLength(v, unit)), v) << v << " unit " << unit;
        }
    }
    // The inch fractions keep 1/64 inch: lengths on that grid come back unchanged, others
    // within half a step.
    for (LengthUnit unit = 4; unit <= 5; ++unit) {
        for (Tenths v : {0, 127, 254, 3175, 16764, 30861}) {
            EXPECT_EQ(ParseLength(unit, FormatLength(v, unit)), v) << v << " unit " << unit;
        }
        for (Tenths v : {1, 10, 999, 20700, 28000}) {
            EXPECT_LE(std::abs(ParseLength(unit, FormatLength(v, unit)) - v), 2) << v;
        }
    }
}

TEST(UnitSuffixes, LengthAndArea) {
    const char* bare[] = {"mm", "cm", "m", "in", "", ""};
    const char* full[] = {"mm", "cm", "m", "in", "in", "in"};
    for (int u = 0; u <= 5; ++u) {
        EXPECT_EQ(LengthUnitSuffix(u, true), bare[u]);
        EXPECT_EQ(LengthUnitSuffix(u, false), full[u]);
    }
    EXPECT_EQ(LengthUnitSuffix(6, false), "");
    EXPECT_EQ(AreaUnitSuffix(0), "mm\xC2\xB2");
    EXPECT_EQ(AreaUnitSuffix(2), "m\xC2\xB2");
    EXPECT_EQ(AreaUnitSuffix(5), "yd\xC2\xB2");
    EXPECT_EQ(AreaUnitSuffix(6), "");
    EXPECT_EQ(AreaUnitSuffix(-1), "");
}

TEST(FormatArea, StylesAndSinglePrecision) {
    const std::tuple<AreaTenths, AreaStyle, bool, const char*> cases[] = {
        {579600000, 2, false, "5.796"},
        {579600000, 2, true, "5.796 m\xC2\xB2"},
        {579600000, 0, true, "5796000 mm\xC2\xB2"},
        {579600000, 1, false, "57960"},
        {123456, 0, false, "1234.56"},
        {123456, 1, false, "12.35"},
        {64516, 3, true, "1 in\xC2\xB2"},
        {9290304, 4, true, "1 ft\xC2\xB2"},
        {83612736, 5, true, "1 yd\xC2\xB2"},
        {579600000, 4, false, "62.39"},
        // 1234567.89 mm2 held in single precision is 1234567.875
        {123456789, 0, false, "1234567.88"},
        {0, 2, false, "0"},
        {123, 6, true, ""},
    };
    for (const auto& [area, style, suffix, text] : cases)
        EXPECT_EQ(FormatArea(area, style, suffix), text) << area << " style " << style;
}

TEST(LengthInUnit, NotRounded) {
    EXPECT_DOUBLE_EQ(LengthInUnit(123, 0), 12.3);
    EXPECT_DOUBLE_EQ(LengthInUnit(1235, 1), 12.35);
    EXPECT_DOUBLE_EQ(LengthInUnit(12346, 2), 1.2346);
    EXPECT_DOUBLE_EQ(LengthInUnit(1000, 3), 1000.0 / 254.0);
    EXPECT_DOUBLE_EQ(LengthInUnit(1000, 5), 1000.0 / 254.0);
    EXPECT_DOUBLE_EQ(LengthInUnit(1000, 7), 0);
}

}  // namespace
}  // namespace trimora
