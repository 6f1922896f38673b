#include "optimiser/stock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/project.h"
#include "core/tables.h"

namespace trimora {
namespace {

struct SheetRow {
    std::string length, width, quantity, description;
};

// Sheet rows in millimetres, expanded into one instance per sheet as a run does.
Project MakeProject(const std::vector<SheetRow>& rows) {
    Project project;
    for (const SheetRow& row : rows) {
        const int32_t r = ++project.SheetRowCount;
        project.sheets.SetCell(1, r, row.length);
        project.sheets.SetCell(2, r, row.width);
        project.sheets.SetCell(3, r, row.quantity);
        project.sheets.SetCell(4, r, row.description);
        const int32_t q = std::stoi(row.quantity);
        for (int32_t k = 0; k < q; ++k) {
            const auto number = static_cast<int32_t>(project.input.SheetInstances.size()) + 1;
            project.input.SheetInstances.push_back(
                {std::stoi(row.length) * 10, std::stoi(row.width) * 10, q, number, r});
        }
    }
    project.SheetQuantityTotal = QuantityTotal(project.sheets, project.SheetRowCount);
    return project;
}

std::vector<SheetRow> Rows(const Project& project) {
    std::vector<SheetRow> rows;
    for (int32_t r = 1; r <= project.SheetRowCount; ++r) {
        rows.push_back({project.sheets.Cell(1, r), project.sheets.Cell(2, r),
                        project.sheets.Cell(3, r), project.sheets.Cell(4, r)});
    }
    return rows;
}

bool operator==(const SheetRow& a, const SheetRow& b) {
    return a.length == b.length && a.width == b.width && a.quantity == b.quantity &&
           a.description == b.description;
}

void PrintTo(const SheetRow& row, std::ostream* out) {
    *out << row.length << " x " << row.width << " x" << row.quantity << " '" << row.description
         << "'";
}

TEST(Stock, UsableSizeGainsTheKerfBackOnlyAtTheFarEdges) {
    const SheetInstance sheet{28000, 20700, 1, 1, 1};
    struct Case {
        Offcut offcut;
        UsableSize size;
    };
    const Case cases[] = {
        {{1, 20000, 15000, 28000, 20700}, {8000, 5700}},  // far corner: full size
        {{1, 1000, 1000, 5000, 3000}, {3960, 1960}},      // enclosed by parts
        {{1, 20000, 0, 28000, 15000}, {8000, 14960}},     // at the far end only
        {{1, 1000, 0, 1030, 20700}, {-10, 20700}},        // thinner than the kerf
    };
    for (const Case& c : cases) EXPECT_EQ(OffcutUsableSize(c.offcut, sheet, 40), c.size);
}

TEST(Stock, GoodOffcutsBecomeRemnantRows) {
    Project project = MakeProject({{"2800", "2070", "2", "Iverica"}});
    project.result.Offcuts = {
        {1, 20000, 0, 28000, 20700},      // 800 x 2070 at the sheet's end
        {1, 0, 18000, 19960, 20000},      // 1992 x 196: too narrow
        {1, 0, 10000, 3040, 12040},       // exactly 300 x 200 usable
        {2, 25000, 18700, 28000, 20700},  // repeat of layout 1, far corner: 300 x 200
        {1, 1000, 0, 1039, 20700},        // thinner than the kerf
    };
    StockActions actions;
    actions.EnableAfterRun();
    const int32_t layoutSheets[] = {1};
    const GoodOffcutRules rules{40, 3000, 2000, 0, "Ostatak"};
    EXPECT_EQ(TransferGoodOffcuts(project, layoutSheets, rules, actions), 3);
    EXPECT_EQ(Rows(project), (std::vector<SheetRow>{{"2800", "2070", "2", "Iverica"},
                                                    {"800", "2070", "1", "Ostatak"},
                                                    {"300", "200", "1", "Ostatak"},
                                                    {"300", "200", "1", "Ostatak"}}));
    EXPECT_EQ(project.SheetQuantityTotal, 5);
    EXPECT_FALSE(actions.transferGoodOffcuts);
    EXPECT_TRUE(actions.subtractUsedSheets);
}

TEST(Stock, GoodOffcutSizesFollowTheLengthUnit) {
    Project project = MakeProject({{"2800", "2070", "1", ""}});
    project.result.Offcuts = {{1, 20000, 0, 28000, 20700}};
    StockActions actions;
    const int32_t layoutSheets[] = {1};
    TransferGoodOffcuts(project, layoutSheets, {40, 0, 0, 1, "R"}, actions);
    EXPECT_EQ(Rows(project).back(), (SheetRow{"80", "207", "1", "R"}));
}

TEST(Stock, SubtractUsedSheetsTakesTheFirstRowOfTheSizeAndDropsEmptyRows) {
    Project project = MakeProject({{"1000", "500", "1", "A"},
                                   {"2800", "2070", "2", "B"},
                                   {"2800", "2070", "3", "C"},
                                   {"500", "500", "4", "D"}});
    // Sheets 1 to 4 carry parts: row A once, row B twice (then empty), row C once.
    for (int32_t s : {1, 2, 2, 3, 4}) project.result.PlacedParts.push_back({s, 0, 0, 10, 10, 0, 1});
    // A sheet of a size no row has any more changes nothing.
    project.input.SheetInstances.push_back({9990, 9990, 1, 11, 5});
    project.result.PlacedParts.push_back({11, 0, 0, 10, 10, 0, 1});
    StockActions actions;
    actions.EnableAfterRun();
    EXPECT_EQ(SubtractUsedSheets(project, 0, actions), 0);
    EXPECT_EQ(Rows(project),
              (std::vector<SheetRow>{{"2800", "2070", "2", "C"}, {"500", "500", "4", "D"}}));
    EXPECT_EQ(project.SheetQuantityTotal, 6);
    EXPECT_FALSE(actions.subtractUsedSheets);
    EXPECT_TRUE(actions.transferGoodOffcuts);
}

TEST(Stock, SubtractUsedSheetsRefusesAQuantityThatIsNoWholeNumber) {
    Project project = MakeProject({{"1000", "500", "1", "A"}, {"2800", "2070", "2", "B"}});
    project.sheets.SetCell(3, 2, "2.5");
    project.result.PlacedParts.push_back({1, 0, 0, 10, 10, 0, 1});
    StockActions actions;
    actions.EnableAfterRun();
    EXPECT_EQ(SubtractUsedSheets(project, 0, actions), kTextQuantityCell);
    EXPECT_EQ(Rows(project),
              (std::vector<SheetRow>{{"1000", "500", "1", "A"}, {"2800", "2070", "2.5", "B"}}));
    EXPECT_TRUE(actions.subtractUsedSheets);
}

}  // namespace
}  // namespace trimora
