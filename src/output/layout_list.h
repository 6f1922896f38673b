// The layout list: the used sheets of a result, identical sheets optionally grouped into one
// layout with a repeat count. The report, the diagram view, printing, DXF and labels walk it.
#pragma once

#include <cstdint>
#include <vector>

#include "optimiser/run_records.h"

namespace trimora {

struct Layout {
    int32_t sheet = 0;        // number of the representative sheet, 1-based
    int32_t repeatCount = 1;  // identical sheets this layout stands for, at least 1
    friend bool operator==(const Layout&, const Layout&) = default;
};

struct LayoutList {
    std::vector<Layout> layouts;
    // How many used sheets came from each sheet table row; indexed by row, entry 0 unused.
    std::vector<int32_t> usedCounts;

    int32_t LayoutCount() const { return static_cast<int32_t>(layouts.size()); }
    int32_t UsedCount(int32_t row) const {
        return row >= 0 && row < static_cast<int32_t>(usedCounts.size()) ? usedCounts[row] : 0;
    }
};

// Sheets without placements are not used and make no layout. With printDuplicate, a sheet
// joins the first earlier layout of the same size holding the same number of pieces of every
// part row (positions are not compared); otherwise every used sheet is its own layout.
// sheetRowCount sizes the used counts; rows of instances beyond it are counted too.
LayoutList BuildLayoutList(const std::vector<SheetInstance>& sheets,
                           const std::vector<PlacedPart>& placements, bool printDuplicate,
                           int32_t sheetRowCount);

}  // namespace trimora
