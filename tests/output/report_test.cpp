#include "output/report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trimora {
namespace {

// Language texts read back as "T<number>", so every line shows which text it used.
std::string Text(int number) {
    return "T" + std::to_string(number);
}

const std::string kM2 = AreaUnitSuffix(2);

void SetRow(TextGrid& grid, int row, const std::vector<std::string>& cells) {
    for (size_t c = 0; c < cells.size(); ++c) grid.SetCell(static_cast<int>(c) + 1, row, cells[c]);
}

// Millimetres, square metres. Sheet rows: 1 (2800 x 2070, three sheets), 2 (never used),
// 3 (1200 x 600, two sheets). Part rows: 1 (1000 x 500, "A", bands 101 along the length and
// 202 along the width, 2 and 1 mm thick), 2 (300.5 x 200, no initials, empty thicknesses).
// Sheets 1 and 2 hold the same parts and form one layout of two; sheet 3 and sheet 6 are
// empty; sheet 5 holds one piece of row 1.
struct ReportFixture {
    Project project;
    ReportOptions options;

    ReportFixture() {
        project.SheetRowCount = 3;
        SetRow(project.sheets, 1, {"2800", "2070", "3", "Iverica"});
        SetRow(project.sheets, 2, {"1000", "500.5", "1", ""});
        SetRow(project.sheets, 3, {"1200", "600", "2", ""});
        project.PartRowCount = 2;
        SetRow(project.parts, 1,
               {"1000", "500", "5", "A", "0", "101", "-", "202", "-", "2", "0", "1", "0"});
        SetRow(project.parts, 2,
               {"300.5", "200", "2", "", "0", "404", "505", "-", "101", "", "", "", ""});
        auto& sheets = project.input.SheetInstances;
        sheets = {{28000, 20700, 3, 1, 1}, {28000, 20700, 3, 2, 1}, {28000, 20700, 3, 3, 1},
                  {10000, 5005, 1, 4, 2},  {12000, 6000, 2, 5, 3},  {12000, 6000, 2, 6, 3}};
        project.input.TotalPieces = 7;
        project.result.PlacedParts = {
            {1, 0, 0, 10000, 5000, 0, 1},     {1, 0, 5000, 10000, 10000, 0, 1},
            {1, 10000, 0, 13005, 2000, 0, 2}, {2, 10000, 0, 13005, 2000, 0, 2},
            {2, 0, 0, 10000, 5000, 0, 1},     {2, 0, 5000, 10000, 10000, 0, 1},
            {5, 0, 0, 10000, 5000, 0, 1},
        };
        project.result.Offcuts = {
            {1, 20010, 0, 28000, 20700},  // 799 x 2070: good
            {1, 0, 0, 60, 60},            // exactly the minimum: good
            {1, 0, 0, 59, 1000},          // too narrow
            {2, 0, 0, 5000, 5000},        // sheet 2 is not the representative: not listed
            {5, 0, 5000, 12000, 6000},    // 1200 x 100
            {5, 10000, 0, 12000, 5000},   // 200 x 500
        };
        options.lengthUnit = 0;
        options.areaStyle = 2;
        options.CENA1 = 12.5f;
        options.Visak = 60;
        options.PrintDuplicate = true;
        options.bands = {{"-", "0", "0"},    {"101", "20", "0.5"},  {"202", "0", "0.7407"},
                         {"303", "0", "x"},  {"404", "0", "0.083"}, {"", "", ""},
                         {"505", "0", "100"}};
    }

    Stat Run() {
        Stat stat(project, options, Text);
        stat.InitReport();
        EXPECT_TRUE(stat.RunReport()) << stat.ConversionError();
        return stat;
    }
};

std::vector<std::string> Texts(const RichText& lines) {
    std::vector<std::string> texts;
    for (const RichLine& line : lines) texts.push_back(line.text);
    return texts;
}

TEST(Report, WholeReportLineByLine) {
    ReportFixture f;
    const Stat stat = f.Run();
    // Layout 1 (x2): parts 2 x (999 x 498) + 300.5 x 200, each doubled: 211020800 of
    // 1159200000 = 18.204%. Layout 2: 999 x 498 on 1200 x 600 = 69.097%.
    const std::vector<std::string> expected = {
        "  T39",
        " ",
        "  T52",
        "  ----------------",
        "    1. 2800 x  2070 mm (x2)  'Iverica'",
        "    2. 1200 x   600 mm (x1) ",
        " ",
        " ",
        "  T314 1 (x2) ",
        "  ----------------",
        "  2800 mm x 2070 mm = 5.796 " + kM2 + ", T34= 18.2% 'Iverica'",
        " ",
        "  T41",
        "      1. 1000.0 x 500 mm (x2)      'A'",
        "      2.  300.5 x 200 mm (x1)         ",
        " ",
        "  T45",
        "      1.799.0 x 2070 mm = 1.654 " + kM2 + "T44",
        "      2.  6.0 x    6 mm = 0.000 " + kM2 + "T44",
        "      3.  5.9 x  100 mm = 0.001 " + kM2,
        " ",
        "  T314 2 (x1) ",
        "  ----------------",
        "  1200 mm x 600 mm = 0.72 " + kM2 + ", T34= 69.1%",
        " ",
        "  T41",
        "      1. 1000 x 500 mm (x1)      'A'",
        " ",
        "  T45",
        "      1. 1200 x 100 mm = 0.12 " + kM2 + "T44",
        "      2.  200 x 500 mm = 0.10 " + kM2 + "T44",
        " ",
        "  T46:",
        "  ---------------------------------------------------",
        "  T50 7",
        "  T51 7",
        "  T52 3",
        "  T53 2.608 " + kM2,
        "  T54 43.65 %",
        "  T55 69.1 %",
        "  T56 4919.8 mm",
        "  T57 8641 mm",
    };
    EXPECT_EQ(Texts(stat.Report()), expected);
}

TEST(Report, BillPricesSheetsAndBandsRoundedToHundreds) {
    ReportFixture f;
    const Stat stat = f.Run();
    // Sheets 12.312 m2, good offcuts 3.528 m2: 8.784 x 12.5 = 109.8. Band 101: (1000 + 20)
    // x 5 along row 1 plus (200 + 20) x 2 across row 2 = 5540 mm, x 0.5 = 2770 -> 2800.
    // Band 202: 500 x 5 = 2500 mm, x 0.7407 = 1851.75 -> 1900. Band 303 is unused, so its
    // bad price is never read; 404: 300.5 x 2 = 601 mm, x 0.083 = 49.9 -> 0. The table ends
    // at the empty name: 505 is not priced.
    const std::vector<std::string> expected = {
        "  T48",
        "  -------------------",
        "  (12.312 " + kM2 + " - 3.528 " + kM2 + ") * 12.5 = 109.8",
        " ",
        "  T57",
        "  -------------------",
        "  T190: 101 5540 * 0.5 = 2800",
        "  T190: 202 2500 * 0.7407 = 1900",
        "  T190: 404 601 * 0.083 = 0",
    };
    EXPECT_EQ(Texts(stat.Bill()), expected);
    for (const RichLine& line : stat.Bill()) {
        EXPECT_FALSE(line.bold);
        EXPECT_EQ(line.sizeStep, 0);
    }
}

TEST(Report, BoldFromTheTitleOnAndRaisedHeadings) {
    ReportFixture f;
    const Stat stat = f.Run();
    const RichText& report = stat.Report();
    ASSERT_GT(report.size(), 10u);
    for (const RichLine& line : report) {
        EXPECT_TRUE(line.bold) << line.text;
        const bool title = line.text == "  T39";
        const bool heading = line.text == "  T52" || line.text.rfind("  T314 ", 0) == 0;
        EXPECT_EQ(line.sizeStep, title ? 3 : heading ? 2 : 0) << line.text;
    }
}

TEST(Report, StatisticsPanel) {
    ReportFixture f;
    const Stat stat = f.Run();
    StatisticsPanel expected;
    expected.Label34 = "7";
    expected.Label33 = "7";
    expected.Label32 = "3";
    expected.Label31 = "2.608";
    expected.Label30 = "43.65";
    expected.Label29 = "69.1";
    expected.Label41 = "4919.8";
    expected.Label55 = "8641";
    expected.Label26 = "T53 (" + kM2 + ")";
    expected.Label27 = "T54 (%)";
    expected.Label28 = "T55 (%)";
    expected.Label40 = "T56 (mm)";
    expected.Label54 = "T57 (mm)";
    ASSERT_TRUE(stat.Panel().has_value());
    EXPECT_EQ(*stat.Panel(), expected);
    EXPECT_EQ(stat.PartsPlaced(), 7);
    EXPECT_EQ(stat.Layouts().layouts, (std::vector<Layout>{{1, 2}, {5, 1}}));
}

TEST(Report, WithoutGroupingEveryUsedSheetIsALayout) {
    ReportFixture f;
    f.options.PrintDuplicate = false;
    const Stat stat = f.Run();
    const std::vector<std::string> report = Texts(stat.Report());
    EXPECT_EQ(stat.Layouts().LayoutCount(), 3);
    EXPECT_EQ(std::count(report.begin(), report.end(), "  T314 2 (x1) "), 1);
    EXPECT_EQ(std::count(report.begin(), report.end(), "  T314 3 (x1) "), 1);
    EXPECT_EQ(std::count(report.begin(), report.end(), "  T52 3"), 1);
    EXPECT_EQ(stat.PartsPlaced(), 7);
    // Sheet 2 is now listed itself, with its own offcut.
    EXPECT_EQ(
        std::count(report.begin(), report.end(), "      1. 500 x 500 mm = 0.25 " + kM2 + "T44"), 1);
}

TEST(Report, LastYieldIsThatOfOneSheetOfARepeatedLayout) {
    // Two identical sheets, each half covered.
    Project project;
    project.SheetRowCount = 1;
    SetRow(project.sheets, 1, {"1000", "500", "2", ""});
    project.PartRowCount = 1;
    SetRow(project.parts, 1, {"500", "500", "2", "", "0", "-", "-", "-", "-", "0", "0", "0", "0"});
    project.input.SheetInstances = {{10000, 5000, 2, 1, 1}, {10000, 5000, 2, 2, 1}};
    project.input.TotalPieces = 2;
    project.result.PlacedParts = {{1, 0, 0, 5000, 5000, 0, 1}, {2, 0, 0, 5000, 5000, 0, 1}};
    ReportOptions options;
    options.lengthUnit = 0;
    Stat stat(project, options, Text);
    stat.InitReport();
    ASSERT_TRUE(stat.RunReport());
    EXPECT_EQ(stat.Panel()->Label29, "50");
    EXPECT_EQ(stat.Panel()->Label30, "50");
    EXPECT_EQ(stat.SheetsUsed(), 2);
}

TEST(Report, FullSheetHasYield100AndListNumbersKeepThreeColumns) {
    // Ten part rows of 100 x 500 fill a 1000 x 500 sheet exactly.
    Project project;
    project.SheetRowCount = 1;
    SetRow(project.sheets, 1, {"1000", "500", "1", ""});
    project.PartRowCount = 10;
    for (int r = 1; r <= 10; ++r) {
        SetRow(project.parts, r, {"100", "500", "1", "P" + std::to_string(r)});
        project.result.PlacedParts.push_back({1, (r - 1) * 1000, 0, r * 1000, 5000, 0, r});
    }
    project.input.SheetInstances = {{10000, 5000, 1, 1, 1}};
    project.input.TotalPieces = 10;
    ReportOptions options;
    options.lengthUnit = 0;
    Stat stat(project, options, Text);
    stat.InitReport();
    ASSERT_TRUE(stat.RunReport());
    const std::vector<std::string> report = Texts(stat.Report());
    EXPECT_EQ(std::count(report.begin(), report.end(), "      9. 100 x 500 mm (x1)     'P9'"), 1);
    EXPECT_EQ(std::count(report.begin(), report.end(), "     10. 100 x 500 mm (x1)    'P10'"), 1);
    EXPECT_EQ(stat.Panel()->Label29, "100");
    // Ten strips: nine inner cuts of 500 mm.
    EXPECT_EQ(stat.Panel()->Label41, "4500");
}

TEST(Report, NoLayoutsShowZeroYields) {
    ReportFixture f;
    f.project.result = {};
    const Stat stat = f.Run();
    const std::vector<std::string> expected = {
        "  T39",      " ",
        "  T52",      "  ----------------",
        " ",          " ",
        "  T46:",     "  ---------------------------------------------------",
        "  T50 7",    "  T51 0",
        "  T52 0",    "  T53 0 " + kM2,
        "  T54 0 %",  "  T55 0 %",
        "  T56 0 mm", "  T57 8641 mm",
    };
    EXPECT_EQ(Texts(stat.Report()), expected);
    ASSERT_TRUE(stat.Panel().has_value());
    EXPECT_EQ(stat.Panel()->Label30, "0");
    EXPECT_EQ(stat.Panel()->Label29, "0");
    EXPECT_EQ(stat.Panel()->Label32, "0");
    EXPECT_EQ(Texts(stat.Bill())[2], "  (0 " + kM2 + " - 0 " + kM2 + ") * 12.5 = 0");
}

TEST(Report, ConversionErrorStopsTheBill) {
    struct Case {
        const char* quantity;
        const char* price;
        const char* error;
        size_t billLines;
    };
    const Case cases[] = {
        // A bad quantity on a banded row stops before the first band line.
        {"5x", "0.5", "'5x' is not a valid integer value", 4},
        // A bad price is read only for a band in use, after its heading.
        {"5", "abc", "'abc' is not a valid floating point value", 6},
    };
    for (const Case& c : cases) {
        ReportFixture f;
        f.project.parts.SetCell(3, 1, c.quantity);
        f.options.bands[1].price = c.price;
        Stat stat(f.project, f.options, Text);
        stat.InitReport();
        EXPECT_FALSE(stat.RunReport());
        EXPECT_EQ(stat.ConversionError(), c.error);
        EXPECT_FALSE(stat.Panel().has_value());
        EXPECT_EQ(stat.Bill().size(), c.billLines);
        // The layout sections were written, the totals were not.
        EXPECT_EQ(Texts(stat.Report()).back(), "      2.  200 x 500 mm = 0.10 " + kM2 + "T44");
    }
}

TEST(Report, NoBandingHeadingWhenNoBandIsUsed) {
    ReportFixture f;
    for (int r = 1; r <= 2; ++r)
        for (int c = 6; c <= 9; ++c) f.project.parts.SetCell(c, r, "-");
    const Stat stat = f.Run();
    EXPECT_EQ(stat.Bill().size(), 4u);
    EXPECT_EQ(stat.Panel()->Label55, "0");
}

TEST(Report, OptionsFromTheSettings) {
    Settings settings;
    settings.JedMere = 3;
    settings.AreaStyle = 4;
    settings.CENA1 = 7.5f;
    settings.Visak = 120;
    settings.PrintDuplicate = false;
    const ReportOptions options = ReportOptionsFrom(settings, {{"-", "0", "0"}, {"101", "2", "1"}});
    EXPECT_EQ(options.lengthUnit, 3);
    EXPECT_EQ(options.areaStyle, 4);
    EXPECT_EQ(options.CENA1, 7.5f);
    EXPECT_EQ(options.Visak, 120);
    EXPECT_FALSE(options.PrintDuplicate);
    ASSERT_EQ(options.bands.size(), 2u);
    EXPECT_EQ(options.bands[1].name, "101");
}

}  // namespace
}  // namespace trimora
