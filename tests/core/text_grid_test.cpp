#include "core/text_grid.h"

#include <gtest/gtest.h>

namespace trimora {
namespace {

TEST(TextGrid, GrowsOnWriteAndReadsEmptyBeyond) {
    TextGrid grid(5);
    EXPECT_EQ(grid.Cell(1, 700), "");
    grid.SetCell(1, 700, "2800");
    EXPECT_EQ(grid.Cell(1, 700), "2800");
    EXPECT_EQ(grid.RowCount(), 701);
    grid.SetCell(5, 1, "out of range");
    EXPECT_EQ(grid.Cell(5, 1), "");
}

TEST(TextGrid, SwapAndRemoveKeepColumnZero) {
    TextGrid grid(3);
    for (int r = 1; r <= 3; ++r) {
        grid.SetCell(0, r, "h" + std::to_string(r));
        grid.SetCell(1, r, "a" + std::to_string(r));
        grid.SetCell(2, r, "b" + std::to_string(r));
    }
    grid.SwapRows(1, 3);
    EXPECT_EQ(grid.Cell(0, 1), "h1");
    EXPECT_EQ(grid.Cell(1, 1), "a3");
    EXPECT_EQ(grid.Cell(2, 3), "b1");
    grid.RemoveRow(1);
    EXPECT_EQ(grid.Cell(1, 1), "a2");
    EXPECT_EQ(grid.Cell(1, 2), "a1");
    EXPECT_EQ(grid.Cell(1, 3), "");
    EXPECT_EQ(grid.Cell(0, 3), "h3");
}

}  // namespace
}  // namespace trimora
