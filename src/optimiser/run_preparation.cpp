#include "optimiser/run_preparation.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trimora {

namespace {

// The exchange sort on precomputed areas, then one reordering of the grid. `swapWhen`
// says whether rows i < j exchange.
template <typename SwapWhen>
void ExchangeSort(TextGrid& grid, int32_t rows, LengthUnit unit, SwapWhen swapWhen) {
    if (rows < 2) return;
    std::vector<uint32_t> area(rows + 1);
    std::vector<int32_t> from(rows + 1);
    for (int32_t r = 1; r <= rows; ++r) {
        const uint32_t length = static_cast<uint32_t>(ParseLength(unit, grid.Cell(1, r)));
        const uint32_t width = static_cast<uint32_t>(ParseLength(unit, grid.Cell(2, r)));
        area[r] = length * width;
        from[r] = r;
    }
    bool moved = false;
    for (int32_t i = 1; i <= rows; ++i)
        for (int32_t j = i + 1; j <= rows; ++j)
            if (swapWhen(area[i], area[j])) {
                std::swap(area[i], area[j]);
                std::swap(from[i], from[j]);
                moved = true;
            }
    if (!moved) return;
    std::vector<std::vector<std::string>> texts(rows + 1);
    for (int32_t r = 1; r <= rows; ++r)
        for (int c = 1; c < grid.ColumnCount(); ++c) texts[r].push_back(grid.Cell(c, r));
    for (int32_t r = 1; r <= rows; ++r)
        for (int c = 1; c < grid.ColumnCount(); ++c)
            grid.SetCell(c, r, std::move(texts[from[r]][c - 1]));
}

Preparation Refused(int text, InputTable table, int column, int row) {
    Preparation p;
    p.status = 1;
    p.text = text;
    p.table = table;
    p.column = column;
    p.row = row;
    return p;
}

// Quantity (column 3) of a row: a whole number from 0 to kMaxRowQuantity.
std::optional<Preparation> CheckQuantity(const TextGrid& grid, InputTable table, int row,
                                         int32_t& quantity) {
    const std::optional<int32_t> q = ParseQuantity(grid.Cell(3, row));
    if (!q) return Refused(kTextRunQuantity, table, 3, row);
    if (*q < 0) return Refused(kTextRunNegativeQuantity, table, 3, row);
    if (*q > kMaxRowQuantity) return Refused(kTextRunNumber, table, 3, row);
    quantity = *q;
    return std::nullopt;
}

std::optional<Preparation> CheckSize(const TextGrid& grid, InputTable table, int column, int row,
                                     LengthUnit unit, Tenths& size) {
    size = ParseLength(unit, grid.Cell(column, row));
    if (size < 0) return Refused(kTextRunNumber, table, column, row);
    return std::nullopt;
}

// A band thickness cell: empty, unreadable or negative cells subtract nothing.
Tenths BandThickness(const TextGrid& grid, int column, int row, LengthUnit unit) {
    const std::string& text = grid.Cell(column, row);
    if (text.empty()) return 0;
    return std::max<Tenths>(ParseLength(unit, text), 0);
}

Tenths Prepared(Tenths size, int64_t kerf, Tenths bandA, Tenths bandB) {
    const int64_t value = int64_t{size} + kerf - bandA - bandB;
    return static_cast<Tenths>(std::clamp<int64_t>(value, std::numeric_limits<Tenths>::min(),
                                                   std::numeric_limits<Tenths>::max()));
}

}  // namespace

void SortSheetTable(Project& project, LengthUnit unit) {
    ExchangeSort(project.sheets, project.SheetRowCount, unit,
                 [](uint32_t a, uint32_t b) { return a > b; });
}

void SortPartTable(Project& project, LengthUnit unit) {
    ExchangeSort(project.parts, project.PartRowCount, unit,
                 [](uint32_t a, uint32_t b) { return a < b; });
}

Preparation PrepareOptimiserInput(Project& project, LengthUnit unit, Tenths kerf) {
    if (project.SheetRowCount <= 0 || project.PartRowCount <= 0) {
        Preparation p;
        p.status = 1;
        p.text = kTextNothingToCut;
        return p;
    }
    SortSheetTable(project, unit);
    SortPartTable(project, unit);

    // The kerf setting is a 16-bit unsigned value.
    const int64_t saw = std::clamp<int64_t>(kerf, 0, 65535);
    OptimiserInput input;

    const TextGrid& sheets = project.sheets;
    int64_t instances = 0;
    for (int32_t r = 1; r <= project.SheetRowCount; ++r) {
        int32_t q = 0;
        Tenths length = 0, width = 0;
        if (auto refused = CheckQuantity(sheets, InputTable::Sheets, r, q)) return *refused;
        if (auto refused = CheckSize(sheets, InputTable::Sheets, 1, r, unit, length))
            return *refused;
        if (auto refused = CheckSize(sheets, InputTable::Sheets, 2, r, unit, width))
            return *refused;
        instances += q;
        if (instances > kMaxSheetInstances)
            return Refused(kTextRunNumber, InputTable::Sheets, 3, r);
        for (int32_t k = 0; k < q; ++k) {
            const int32_t number = static_cast<int32_t>(input.SheetInstances.size()) + 1;
            input.SheetInstances.push_back({length, width, q, number, r});
        }
    }

    const TextGrid& parts = project.parts;
    int64_t pieces = 0;
    for (int32_t r = 1; r <= project.PartRowCount; ++r) {
        int32_t q = 0;
        Tenths length = 0, width = 0;
        if (auto refused = CheckQuantity(parts, InputTable::Parts, r, q)) return *refused;
        if (auto refused = CheckSize(parts, InputTable::Parts, 1, r, unit, length)) return *refused;
        if (auto refused = CheckSize(parts, InputTable::Parts, 2, r, unit, width)) return *refused;
        const std::optional<int32_t> grain = ParseQuantity(parts.Cell(kGrainColumn, r));
        if (!grain) return Refused(kTextRunNumber, InputTable::Parts, kGrainColumn, r);
        pieces += q;
        if (pieces > kMaxPieces) return Refused(kTextRunNumber, InputTable::Parts, 3, r);
        // Columns 10, 11 hold the bands of the edges along the length, which make the part
        // narrower; columns 12, 13 those along the width, which make it shorter.
        PartInput part;
        part.length = Prepared(length, saw, BandThickness(parts, 12, r, unit),
                               BandThickness(parts, 13, r, unit));
        part.width = Prepared(width, saw, BandThickness(parts, 10, r, unit),
                              BandThickness(parts, 11, r, unit));
        part.quantity = q;
        part.row = r;
        part.grain = *grain;
        input.PartInputs.push_back(part);
    }
    input.PartWorks = input.PartInputs;
    input.TotalPieces = static_cast<int32_t>(pieces);

    project.input = std::move(input);
    project.result = RunResult{};
    return Preparation{};
}

}  // namespace trimora
