#include "core/text_grid.h"

#include <utility>

namespace trimora {

namespace {
const std::string kEmpty;
}

TextGrid::TextGrid(int columns, int rows) : columns_(columns) {
    cells_.resize(rows < 1 ? 1 : rows, std::vector<std::string>(columns));
}

const std::string& TextGrid::Cell(int column, int row) const {
    if (column < 0 || column >= columns_ || row < 0 || row >= RowCount()) return kEmpty;
    return cells_[row][column];
}

void TextGrid::SetCell(int column, int row, std::string text) {
    if (column < 0 || column >= columns_ || row < 0) return;
    EnsureRow(row);
    cells_[row][column] = std::move(text);
}

void TextGrid::SwapRows(int a, int b) {
    if (a < 0 || b < 0 || a == b) return;
    EnsureRow(a > b ? a : b);
    for (int c = 1; c < columns_; ++c) std::swap(cells_[a][c], cells_[b][c]);
}

void TextGrid::ClearRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    for (int c = 1; c < columns_; ++c) cells_[row][c].clear();
}

void TextGrid::RemoveRow(int row) {
    if (row < 1 || row >= RowCount()) return;
    for (int r = row; r + 1 < RowCount(); ++r)
        for (int c = 1; c < columns_; ++c) cells_[r][c] = std::move(cells_[r + 1][c]);
    ClearRow(RowCount() - 1);
}

void TextGrid::ClearBody() {
    cells_.resize(1);
}

void TextGrid::EnsureRow(int row) {
    if (row >= RowCount()) cells_.resize(row + 1, std::vector<std::string>(columns_));
}

}  // namespace trimora
