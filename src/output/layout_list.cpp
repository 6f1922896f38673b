#include "output/layout_list.h"

#include <algorithm>
#include <utility>

namespace trimora {

namespace {

// Pieces per part row of one sheet, as (row, count) sorted by row; zero counts are absent,
// so two sheets hold the same parts exactly when these vectors are equal.
using PartCounts = std::vector<std::pair<int32_t, int32_t>>;

PartCounts CountPerRow(std::vector<int32_t> rows) {
    std::sort(rows.begin(), rows.end());
    PartCounts counts;
    for (int32_t row : rows) {
        if (!counts.empty() && counts.back().first == row)
            ++counts.back().second;
        else
            counts.emplace_back(row, 1);
    }
    return counts;
}

}  // namespace

LayoutList BuildLayoutList(const std::vector<SheetInstance>& sheets,
                           const std::vector<PlacedPart>& placements, bool printDuplicate,
                           int32_t sheetRowCount) {
    LayoutList list;
    list.usedCounts.assign(static_cast<size_t>(std::max(sheetRowCount, 0)) + 1, 0);

    // One pass over the placements instead of one per sheet.
    std::vector<std::vector<int32_t>> rowsOnSheet(sheets.size());
    for (const PlacedPart& p : placements) {
        if (p.sheet >= 1 && static_cast<size_t>(p.sheet) <= sheets.size())
            rowsOnSheet[p.sheet - 1].push_back(p.row);
    }

    struct Signature {
        int32_t length, width;
        PartCounts counts;
    };
    std::vector<Signature> signatures;  // parallel to list.layouts, only with printDuplicate

    for (size_t i = 0; i < sheets.size(); ++i) {
        if (rowsOnSheet[i].empty()) continue;
        const SheetInstance& sheet = sheets[i];
        const int32_t number = static_cast<int32_t>(i) + 1;
        if (sheet.row >= 1) {
            if (static_cast<size_t>(sheet.row) >= list.usedCounts.size())
                list.usedCounts.resize(static_cast<size_t>(sheet.row) + 1, 0);
            ++list.usedCounts[sheet.row];
        }
        if (!printDuplicate) {
            list.layouts.push_back({number, 1});
            continue;
        }
        Signature signature{sheet.length, sheet.width, CountPerRow(std::move(rowsOnSheet[i]))};
        bool matched = false;
        for (size_t k = 0; k < signatures.size(); ++k) {
            const Signature& other = signatures[k];
            if (other.length == signature.length && other.width == signature.width &&
                other.counts == signature.counts) {
                ++list.layouts[k].repeatCount;
                matched = true;
                break;
            }
        }
        if (!matched) {
            list.layouts.push_back({number, 1});
            signatures.push_back(std::move(signature));
        }
    }
    return list;
}

}  // namespace trimora
