// Turns the two input tables into the optimiser's input: checks that there is something to
// cut, sorts both tables in place (the rows of every later result refer to the sorted
// order) and expands the rows into sheet instances and prepared part rows.
#pragma once

#include <cstdint>

#include "core/length_units.h"
#include "core/project.h"
#include "core/tables.h"

namespace trimora {

// Language texts of the preparation.
inline constexpr int kTextNothingToCut = 19;        // the sheet or the part table is empty
inline constexpr int kTextNotAllPlaced = 20;        // a run placed fewer pieces than entered
inline constexpr int kTextRunQuantity = 207;        // a quantity cell is not a whole number
inline constexpr int kTextRunNegativeQuantity = 2;  // a quantity cell is below 0
inline constexpr int kTextRunNumber = 272;          // a size or grain cell cannot be read

// Beyond these the input is refused: they keep a damaged or hostile table from asking for
// unbounded memory.
inline constexpr int64_t kMaxSheetInstances = 1000000;
inline constexpr int64_t kMaxPieces = 1000000;
inline constexpr int32_t kMaxRowQuantity = 99999;

// Exchange sort of the sheet rows ascending by area (remnants first) and of the part rows
// descending by area (largest first). Areas are the products of the length and width cells
// read with ParseLength, taken as unsigned 32-bit numbers. Rows swap the texts of every
// column except column 0. Neither sort is stable: sheet areas 5 (A), 5 (B), 3 end as 3, B, A.
void SortSheetTable(Project& project, LengthUnit unit);
void SortPartTable(Project& project, LengthUnit unit);

struct Preparation {
    int status = 0;  // 0 ready, 1 the run must not start
    int text = 0;    // the language text to show when refused
    // The cell at fault, when a cell is (not for an empty table).
    InputTable table = InputTable::Sheets;
    int column = 0;
    int row = 0;

    bool Ready() const { return status == 0; }
};

// Checks the tables, sorts them, and on success replaces project.input with one sheet
// instance per physical sheet and one prepared row per part row (typed size + kerf - the
// band thicknesses of the edges crossing it), and empties the previous result. A refused
// run changes nothing but the order of the rows (the sort comes first, as the user sees the
// tables sorted even when a cell then stops the run). The kerf is the Testera setting.
Preparation PrepareOptimiserInput(Project& project, LengthUnit unit, Tenths kerf);

}  // namespace trimora
