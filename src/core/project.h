// The project state: everything the main window holds as data. One object, owned by the
// main window; tests build it directly.
#pragma once

#include <cstdint>
#include <string>

#include "core/text_grid.h"
#include "optimiser/run_records.h"

namespace trimora {

inline constexpr int kSheetColumns = 5;
inline constexpr int kPartColumns = 18;

struct ProjectDetails {
    std::string coverTitle;
    std::string author;
    std::string clientName;
    std::string clientSurname;
    std::string address1, address2, address3;
    std::string clientPhone;
    std::string clientNote;
};

struct Project {
    TextGrid sheets{kSheetColumns};  // StringGrid1
    TextGrid parts{kPartColumns};    // StringGrid2
    int32_t SheetRowCount = 0;
    int32_t PartRowCount = 0;
    int32_t SheetQuantityTotal = 0;
    int32_t PartQuantityTotal = 0;
    std::string RememberedCellText;
    // BitBtn16 sets every grain flag alternately to "1" and "0", starting with "1".
    bool GrainToggleSetsOne = true;

    ProjectDetails details;
    std::string fileName;  // the current project file name

    OptimiserInput input;
    RunResult result;
};

}  // namespace trimora
