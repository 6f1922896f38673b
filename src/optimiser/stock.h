// Carrying a finished result back into the stock list: good offcuts become new one-off sheet
// rows, and the sheets the result used are subtracted from the sheet table.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/length_units.h"
#include "optimiser/run_records.h"

namespace trimora {

struct Project;

// Language text of the description given to a remnant row.
inline constexpr int kTextRemnant = 21;

// The two one-shot buttons of the input page: enabled by a run that placed every part,
// disabled again once used. The window reads this state.
struct StockActions {
    bool transferGoodOffcuts = false;  // BitBtn15
    bool subtractUsedSheets = false;   // TableMinus

    void EnableAfterRun() { transferGoodOffcuts = subtractUsedSheets = true; }
    void Disable() { transferGoodOffcuts = subtractUsedSheets = false; }
};

struct UsableSize {
    Tenths length = 0;
    Tenths width = 0;
    friend bool operator==(const UsableSize&, const UsableSize&) = default;
};

// A side that ends on the sheet's far edge needs no further cut; any other side is bounded
// by a part, whose cut costs one kerf. Negative for an offcut thinner than the kerf.
UsableSize OffcutUsableSize(const Offcut& offcut, const SheetInstance& referenceSheet, Tenths kerf);

struct GoodOffcutRules {
    Tenths kerf = 0;       // Testera
    Tenths minLength = 0;  // Visak
    Tenths minWidth = 0;   // Visak2
    LengthUnit unit = 0;
    std::string remnantText;  // language text 21
};

// BitBtn15: appends one sheet row per good offcut of the result. layoutSheets holds the
// representative sheet number of each layout of the layout list, in its order. Returns the
// number of rows added; refreshes SheetQuantityTotal and disables the button.
int32_t TransferGoodOffcuts(Project& project, std::span<const int32_t> layoutSheets,
                            const GoodOffcutRules& rules, StockActions& actions);

// TableMinus: lowers, for every sheet that carries a part, the quantity of the first table
// row of its size, then removes the rows that reached 0. Returns 0, or language text 272
// when a quantity cell is not a whole number (then nothing is changed). Refreshes
// SheetQuantityTotal and disables the button.
int SubtractUsedSheets(Project& project, LengthUnit unit, StockActions& actions);

}  // namespace trimora
