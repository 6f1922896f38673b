#include "optimiser/stock.h"

#include <optional>
#include <set>
#include <vector>

#include "core/project.h"
#include "core/tables.h"

namespace trimora {

namespace {

constexpr int kLengthColumn = 1;
constexpr int kWidthColumn = 2;
constexpr int kQuantityColumn = 3;
constexpr int kDescriptionColumn = 4;

const SheetInstance* InstanceByNumber(const Project& project, int32_t number) {
    const auto& sheets = project.input.SheetInstances;
    if (number < 1 || number > static_cast<int32_t>(sheets.size())) return nullptr;
    return &sheets[number - 1];
}

}  // namespace

UsableSize OffcutUsableSize(const Offcut& offcut, const SheetInstance& referenceSheet,
                            Tenths kerf) {
    UsableSize size{offcut.x2 - offcut.x1 - kerf, offcut.y2 - offcut.y1 - kerf};
    if (offcut.x2 == referenceSheet.length) size.length += kerf;
    if (offcut.y2 == referenceSheet.width) size.width += kerf;
    return size;
}

int32_t TransferGoodOffcuts(Project& project, std::span<const int32_t> layoutSheets,
                            const GoodOffcutRules& rules, StockActions& actions) {
    // The reference sheet of an offcut is the representative sheet of its layout; an offcut
    // on a sheet that is only a repeat of a layout keeps the one found before it.
    int32_t reference = layoutSheets.empty() ? 0 : layoutSheets.front();
    int32_t added = 0;
    for (const Offcut& offcut : project.result.Offcuts) {
        for (int32_t number : layoutSheets)
            if (number == offcut.sheet) reference = number;
        const SheetInstance* sheet = InstanceByNumber(project, reference);
        if (sheet == nullptr) sheet = InstanceByNumber(project, offcut.sheet);
        const UsableSize size =
            OffcutUsableSize(offcut, sheet != nullptr ? *sheet : SheetInstance{}, rules.kerf);
        if (size.length < rules.minLength || size.width < rules.minWidth) continue;
        const int32_t row = ++project.SheetRowCount;
        project.sheets.SetCell(0, row, "");
        project.sheets.SetCell(kLengthColumn, row, FormatLength(size.length, rules.unit));
        project.sheets.SetCell(kWidthColumn, row, FormatLength(size.width, rules.unit));
        project.sheets.SetCell(kQuantityColumn, row, "1");
        project.sheets.SetCell(kDescriptionColumn, row, rules.remnantText);
        ++added;
    }
    project.SheetQuantityTotal = QuantityTotal(project.sheets, project.SheetRowCount);
    actions.transferGoodOffcuts = false;
    return added;
}

int SubtractUsedSheets(Project& project, LengthUnit unit, StockActions& actions) {
    TextGrid& grid = project.sheets;
    const int32_t rows = project.SheetRowCount;
    std::vector<int32_t> quantity(static_cast<size_t>(rows) + 1, 0);
    std::vector<Tenths> length(quantity.size(), 0), width(quantity.size(), 0);
    // Every quantity is read before anything changes, so a bad cell leaves the table whole.
    for (int32_t r = 1; r <= rows; ++r) {
        const std::optional<int32_t> q = ParseQuantity(grid.Cell(kQuantityColumn, r));
        if (!q) return kTextQuantityCell;
        quantity[r] = *q;
        length[r] = ParseLength(unit, grid.Cell(kLengthColumn, r));
        width[r] = ParseLength(unit, grid.Cell(kWidthColumn, r));
    }
    std::set<int32_t> used;
    for (const PlacedPart& p : project.result.PlacedParts) used.insert(p.sheet);
    for (const SheetInstance& sheet : project.input.SheetInstances) {
        if (!used.contains(sheet.number)) continue;
        for (int32_t r = 1; r <= rows; ++r) {
            if (length[r] == sheet.length && width[r] == sheet.width && quantity[r] > 0) {
                --quantity[r];
                grid.SetCell(kQuantityColumn, r, std::to_string(quantity[r]));
                break;
            }
        }
    }
    for (int32_t r = 1; r <= project.SheetRowCount;) {
        if (quantity[r] == 0) {
            grid.RemoveRow(r);
            quantity.erase(quantity.begin() + r);
            --project.SheetRowCount;
        } else {
            ++r;
        }
    }
    project.SheetQuantityTotal = QuantityTotal(project.sheets, project.SheetRowCount);
    actions.subtractUsedSheets = false;
    return 0;
}

}  // namespace trimora
