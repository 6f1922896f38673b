// A table of text cells addressed as (column, row), row 0 being the header. Rows grow on
// demand, so the tables have no fixed row limit.
#pragma once

#include <string>
#include <vector>

namespace trimora {

class TextGrid {
public:
    explicit TextGrid(int columns, int rows = 1);

    int ColumnCount() const { return columns_; }
    // Rows that hold storage (header included); cells beyond read as empty.
    int RowCount() const { return static_cast<int>(cells_.size()); }

    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);

    // Exchanges the texts of all columns except column 0.
    void SwapRows(int a, int b);
    // Empties every cell of the row except column 0.
    void ClearRow(int row);
    // Moves rows row+1.. up by one and empties the last stored row.
    void RemoveRow(int row);
    // Empties every row below the header.
    void ClearBody();

private:
    void EnsureRow(int row);

    int columns_;
    std::vector<std::vector<std::string>> cells_;
};

}  // namespace trimora
