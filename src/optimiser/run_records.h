// The optimiser's input records, derived from the tables at every run, and the result
// records that every output reads. Sheet numbers and rows are 1-based.
#pragma once

#include <cstdint>
#include <vector>

namespace trimora {

struct SheetInstance {
    int32_t length = 0;
    int32_t width = 0;
    int32_t quantity = 0;  // quantity of its table row
    int32_t number = 0;    // 1-based position in SheetInstances
    int32_t row = 0;       // row of the sheet table
    friend bool operator==(const SheetInstance&, const SheetInstance&) = default;
};

// One part-table row as the optimiser sees it: prepared sizes include the kerf and exclude
// the band thicknesses. In PartWork the quantity is the remaining quantity.
struct PartInput {
    int32_t length = 0;
    int32_t width = 0;
    int32_t quantity = 0;
    int32_t row = 0;
    int32_t grain = 0;  // 1 keeps its orientation, 0 may be turned
    friend bool operator==(const PartInput&, const PartInput&) = default;
};
using PartWork = PartInput;

struct PlacedPart {
    int32_t sheet = 0;  // SheetInstance number
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int32_t rotated = 0;
    int32_t row = 0;  // part-table row
    friend bool operator==(const PlacedPart&, const PlacedPart&) = default;
};

struct Offcut {
    int32_t sheet = 0;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    friend bool operator==(const Offcut&, const Offcut&) = default;
};

struct OptimiserInput {
    std::vector<SheetInstance> SheetInstances;
    std::vector<PartInput> PartInputs;  // indexed by row - 1
    std::vector<PartWork> PartWorks;    // indexed by row - 1
    int32_t TotalPieces = 0;
};

struct RunResult {
    std::vector<PlacedPart> PlacedParts;
    std::vector<Offcut> Offcuts;
};

}  // namespace trimora
