#include "output/layout_list.h"

#include <gtest/gtest.h>

namespace trimora {
namespace {

SheetInstance Sheet(int32_t number, int32_t length, int32_t width, int32_t row) {
    return {length, width, 1, number, row};
}

PlacedPart Piece(int32_t sheet, int32_t x1, int32_t row) {
    return {sheet, x1, 0, x1 + 100, 100, 0, row};
}

// Sheets 1-3 of row 1 (same size) hold two pieces of part row 1 and one of row 2, in different
// positions; sheet 4 (row 1) holds nothing; sheet 5 (row 2, same size as row 1) holds the same
// parts; sheet 6 (row 2) holds a different mix; sheet 7 (row 3, other size) the first mix.
struct Fixture {
    std::vector<SheetInstance> sheets{Sheet(1, 2800, 2070, 1), Sheet(2, 2800, 2070, 1),
                                      Sheet(3, 2800, 2070, 1), Sheet(4, 2800, 2070, 1),
                                      Sheet(5, 2800, 2070, 2), Sheet(6, 2800, 2070, 2),
                                      Sheet(7, 2070, 2800, 3)};
    std::vector<PlacedPart> placements{
        Piece(1, 0, 1),   Piece(1, 100, 1), Piece(1, 200, 2),  //
        Piece(2, 0, 2),   Piece(2, 300, 1), Piece(2, 500, 1),  //
        Piece(3, 900, 1), Piece(3, 0, 2),   Piece(3, 400, 1),  //
        Piece(5, 0, 1),   Piece(5, 100, 2), Piece(5, 200, 1),  //
        Piece(6, 0, 1),   Piece(6, 100, 2), Piece(6, 200, 2),  //
        Piece(7, 0, 1),   Piece(7, 100, 1), Piece(7, 200, 2),
    };
};

TEST(BuildLayoutList, GroupsIdenticalSheets) {
    Fixture f;
    const LayoutList list = BuildLayoutList(f.sheets, f.placements, true, 3);
    EXPECT_EQ(list.layouts, (std::vector<Layout>{{1, 4}, {6, 1}, {7, 1}}));
    EXPECT_EQ(list.usedCounts, (std::vector<int32_t>{0, 3, 2, 1}));
}

TEST(BuildLayoutList, EveryUsedSheetWithoutGrouping) {
    Fixture f;
    const LayoutList list = BuildLayoutList(f.sheets, f.placements, false, 3);
    EXPECT_EQ(list.layouts, (std::vector<Layout>{{1, 1}, {2, 1}, {3, 1}, {5, 1}, {6, 1}, {7, 1}}));
    EXPECT_EQ(list.usedCounts, (std::vector<int32_t>{0, 3, 2, 1}));
}

TEST(BuildLayoutList, FirstMatchingLayoutWinsAndCountsMustAgreeExactly) {
    // Sheet 2 holds a subset of sheet 1's parts: no match. Sheet 3 matches sheet 1.
    std::vector<SheetInstance> sheets{Sheet(1, 1000, 500, 1), Sheet(2, 1000, 500, 1),
                                      Sheet(3, 1000, 500, 1)};
    std::vector<PlacedPart> placements{Piece(1, 0, 1), Piece(1, 100, 1), Piece(2, 0, 1),
                                       Piece(3, 100, 1), Piece(3, 0, 1)};
    const LayoutList list = BuildLayoutList(sheets, placements, true, 1);
    EXPECT_EQ(list.layouts, (std::vector<Layout>{{1, 2}, {2, 1}}));
    EXPECT_EQ(list.UsedCount(1), 3);
}

TEST(BuildLayoutList, EmptyResultAndStrayRecords) {
    std::vector<SheetInstance> sheets{Sheet(1, 1000, 500, 1)};
    EXPECT_EQ(BuildLayoutList(sheets, {}, true, 2).LayoutCount(), 0);
    EXPECT_EQ(BuildLayoutList(sheets, {}, true, 2).usedCounts, (std::vector<int32_t>{0, 0, 0}));
    // Placements on sheets that do not exist are ignored.
    const LayoutList list = BuildLayoutList(sheets, {Piece(0, 0, 1), Piece(9, 0, 1)}, true, 1);
    EXPECT_EQ(list.LayoutCount(), 0);
    EXPECT_EQ(list.UsedCount(5), 0);
}

}  // namespace
}  // namespace trimora
