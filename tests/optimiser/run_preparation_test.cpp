#include "optimiser/run_preparation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "optimiser/automatic_layout.h"

namespace trimora {
namespace {

constexpr LengthUnit kMm = 0;

void AddSheet(Project& p, std::string length, std::string width, std::string quantity,
              std::string description = "") {
    const int r = ++p.SheetRowCount;
    p.sheets.SetCell(1, r, std::move(length));
    p.sheets.SetCell(2, r, std::move(width));
    p.sheets.SetCell(3, r, std::move(quantity));
    p.sheets.SetCell(4, r, std::move(description));
}

void AddPart(Project& p, std::string length, std::string width, std::string quantity,
             std::string initials = "", std::string grain = "0") {
    const int r = ++p.PartRowCount;
    p.parts.SetCell(1, r, std::move(length));
    p.parts.SetCell(2, r, std::move(width));
    p.parts.SetCell(3, r, std::move(quantity));
    p.parts.SetCell(4, r, std::move(initials));
    p.parts.SetCell(5, r, std::move(grain));
    for (int c = 10; c <= 13; ++c) p.parts.SetCell(c, r, "0");
}

std::vector<std::string> Column(const TextGrid& grid, int column, int rows) {
    std::vector<std::string> out;
    for (int r = 1; r <= rows; ++r) out.push_back(grid.Cell(column, r));
    return out;
}

using Strings = std::vector<std::string>;

TEST(SortTables, SheetsAscendingAndNotStable) {
    Project p;
    AddSheet(p, "5", "1", "1", "A");
    AddSheet(p, "1", "5", "1", "B");
    AddSheet(p, "3", "1", "1", "C");
    for (int r = 1; r <= 3; ++r) p.sheets.SetCell(0, r, "h" + std::to_string(r));
    SortSheetTable(p, kMm);
    EXPECT_EQ(Column(p.sheets, 4, 3), (Strings{"C", "B", "A"}));
    EXPECT_EQ(Column(p.sheets, 1, 3), (Strings{"3", "1", "5"}));
    EXPECT_EQ(Column(p.sheets, 0, 3), (Strings{"h1", "h2", "h3"}));  // column 0 stays
}

TEST(SortTables, PartsDescendingAndNotStable) {
    Project p;
    AddPart(p, "3", "1", "1", "A");
    AddPart(p, "1", "3", "2", "B");
    AddPart(p, "5", "1", "3", "C");
    p.parts.SetCell(12, 3, "0.5");
    SortPartTable(p, kMm);
    EXPECT_EQ(Column(p.parts, 4, 3), (Strings{"C", "B", "A"}));
    EXPECT_EQ(Column(p.parts, 3, 3), (Strings{"3", "2", "1"}));
    EXPECT_EQ(p.parts.Cell(12, 1), "0.5");  // every column travels with its row
}

TEST(SortTables, AreasAreUnsigned32BitProducts) {
    Project p;
    AddSheet(p, "1000", "1000", "1", "plain");
    // 65536 x 65536 tenths is 2^32, which wraps to 0 and so sorts as the smallest sheet.
    AddSheet(p, "6553.6", "6553.6", "1", "wrapped");
    SortSheetTable(p, kMm);
    EXPECT_EQ(Column(p.sheets, 4, 2), (Strings{"wrapped", "plain"}));
}

TEST(PrepareOptimiserInput, EmptyTableRefusesWithoutChanges) {
    Project p;
    AddSheet(p, "10", "10", "1");
    AddSheet(p, "5", "5", "1");
    p.result.Offcuts.push_back({1, 0, 0, 1, 1});
    const Preparation prep = PrepareOptimiserInput(p, kMm, 40);
    EXPECT_EQ(prep.status, 1);
    EXPECT_EQ(prep.text, 19);
    EXPECT_EQ(Column(p.sheets, 1, 2), (Strings{"10", "5"}));  // not sorted
    EXPECT_EQ(p.result.Offcuts.size(), 1u);
}

TEST(PrepareOptimiserInput, ExpandsSheetRowsIntoInstances) {
    Project p;
    AddSheet(p, "2800", "2070", "3");
    AddSheet(p, "1000", "500", "1");
    AddSheet(p, "900", "400", "0");
    AddPart(p, "100", "100", "2");
    ASSERT_TRUE(PrepareOptimiserInput(p, kMm, 40).Ready());
    // Sorted: 900 x 400 (none), 1000 x 500, then the three full sheets of row 3.
    const std::vector<SheetInstance> expected = {{10000, 5000, 1, 1, 2},
                                                 {28000, 20700, 3, 2, 3},
                                                 {28000, 20700, 3, 3, 3},
                                                 {28000, 20700, 3, 4, 3}};
    EXPECT_EQ(p.input.SheetInstances, expected);
}

TEST(PrepareOptimiserInput, PreparedSizesAddKerfAndSubtractBands) {
    Project p;
    AddSheet(p, "2800", "2070", "1");
    AddPart(p, "1000", "500", "2", "P", "1");
    p.parts.SetCell(10, 1, "2");  // edges along the length make it narrower
    p.parts.SetCell(11, 1, "0.5");
    p.parts.SetCell(12, 1, "1");  // edges along the width make it shorter
    p.parts.SetCell(13, 1, "");   // banding off: empty subtracts nothing
    AddPart(p, "300", "200", "5");
    ASSERT_TRUE(PrepareOptimiserInput(p, kMm, 40).Ready());
    const std::vector<PartInput> expected = {{10000 + 40 - 10, 5000 + 40 - 20 - 5, 2, 1, 1},
                                             {3000 + 40, 2000 + 40, 5, 2, 0}};
    EXPECT_EQ(p.input.PartInputs, expected);
    EXPECT_EQ(p.input.PartWorks, expected);
    EXPECT_EQ(p.input.TotalPieces, 7);
}

TEST(PrepareOptimiserInput, SuccessEmptiesThePreviousResult) {
    Project p;
    AddSheet(p, "100", "100", "1");
    AddPart(p, "10", "10", "1");
    p.result.PlacedParts.push_back({1, 0, 0, 1, 1, 0, 1});
    p.result.Offcuts.push_back({1, 0, 0, 1, 1});
    ASSERT_TRUE(PrepareOptimiserInput(p, kMm, 0).Ready());
    EXPECT_TRUE(p.result.PlacedParts.empty());
    EXPECT_TRUE(p.result.Offcuts.empty());
}

TEST(PrepareOptimiserInput, UnreadableCellsStopTheRunAndKeepThePreviousResult) {
    struct Case {
        const char* name;
        bool partTable;
        int column;
        const char* text;
        int expectedText;
    };
    const Case cases[] = {
        {"sheet quantity 1.5", false, 3, "1.5", 207},
        {"part quantity x", true, 3, "x", 207},
        {"negative part quantity", true, 3, "-2", 2},
        {"sheet length unreadable", false, 1, "abc", 272},
        {"part width unreadable", true, 2, "", 272},
        {"grain flag not a number", true, 5, "?", 272},
        {"a quantity beyond the limit", true, 3, "100000", 272},
    };
    for (const Case& c : cases) {
        Project p;
        AddSheet(p, "100", "100", "1");
        AddSheet(p, "50", "50", "1");
        AddPart(p, "10", "10", "1");
        (c.partTable ? p.parts : p.sheets).SetCell(c.column, 1, c.text);
        p.input.TotalPieces = 99;
        p.result.PlacedParts.push_back({1, 0, 0, 1, 1, 0, 1});
        const Preparation prep = PrepareOptimiserInput(p, kMm, 40);
        EXPECT_EQ(prep.status, 1) << c.name;
        EXPECT_EQ(prep.text, c.expectedText) << c.name;
        EXPECT_EQ(prep.table, c.partTable ? InputTable::Parts : InputTable::Sheets) << c.name;
        EXPECT_EQ(prep.column, c.column) << c.name;
        EXPECT_EQ(p.input.TotalPieces, 99) << c.name;
        EXPECT_EQ(p.result.PlacedParts.size(), 1u) << c.name;
    }
}

TEST(PrepareOptimiserInput, TheSortComesBeforeTheCellChecks) {
    Project p;
    AddSheet(p, "100", "100", "1.5");
    AddSheet(p, "50", "50", "1");
    AddPart(p, "10", "10", "1");
    const Preparation prep = PrepareOptimiserInput(p, kMm, 0);
    EXPECT_EQ(prep.text, 207);
    EXPECT_EQ(prep.row, 2);  // the faulty row, after sorting
    EXPECT_EQ(Column(p.sheets, 1, 2), (Strings{"50", "100"}));
}

TEST(PrepareOptimiserInput, TooManyPiecesAreRefused) {
    Project p;
    AddSheet(p, "100", "100", "1");
    for (int i = 0; i < 11; ++i) AddPart(p, "10", "10", "99999");
    const Preparation prep = PrepareOptimiserInput(p, kMm, 0);
    EXPECT_EQ(prep.status, 1);
    EXPECT_EQ(prep.text, 272);
    EXPECT_EQ(prep.row, 11);
}

// A part as long as the sheet fits exactly without kerf, and not with one.
TEST(PrepareOptimiserInput, ExactFitWithAndWithoutKerf) {
    for (Tenths kerf : {0, 40}) {
        Project p;
        AddSheet(p, "2800", "2070", "1");
        AddPart(p, "2800", "500", "1", "", "1");
        ASSERT_TRUE(PrepareOptimiserInput(p, kMm, kerf).Ready());
        LayoutRandom random;
        RunAutomaticLayout(p.input, p.result, 100, random);
        if (kerf == 0) {
            ASSERT_EQ(p.result.PlacedParts.size(), 1u);
            EXPECT_EQ(p.result.PlacedParts[0], (PlacedPart{1, 0, 0, 28000, 5000, 0, 1}));
            EXPECT_EQ(p.input.PartWorks[0].quantity, 0);
        } else {
            EXPECT_TRUE(p.result.PlacedParts.empty());
            EXPECT_EQ(p.input.PartWorks[0].quantity, 1);
        }
    }
}

}  // namespace
}  // namespace trimora

namespace trimora {
namespace {

// Beyond the old fixed capacities (5,000 sheets, 10,000 pieces) the records simply grow.
TEST(RunPreparation, RunsBeyondTheOldCapacities) {
    Project p;
    AddSheet(p, "200", "100", "6000");
    AddPart(p, "100", "100", "12000", "Q");
    ASSERT_TRUE(PrepareOptimiserInput(p, kMm, 0).Ready());
    EXPECT_EQ(p.input.SheetInstances.size(), 6000u);
    EXPECT_EQ(p.input.TotalPieces, 12000);
    LayoutRandom random;
    RunAutomaticLayout(p.input, p.result, 2, random);
    ASSERT_EQ(p.result.PlacedParts.size(), 12000u);
    EXPECT_EQ(p.result.PlacedParts.back().sheet, 6000);
    EXPECT_EQ(p.input.PartWorks[0].quantity, 0);
}

}  // namespace
}  // namespace trimora
