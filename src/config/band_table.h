// Edge band types: the table kept in Config/bands.trb and the band type dialog's grid.
// The file stores every value as text; lengths are texts in the current LengthUnit, so the
// file follows the unit the user works in (a unit change rewrites it).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/length_units.h"

namespace trimora {

inline constexpr int kBandColumns = 5;
inline constexpr int kMaxBandTypes = 50;

// Language texts used by the band types.
inline constexpr int kTextDeleteBandType = 305;      // confirmation before deleting a band type
inline constexpr int kTextTooManyBandTypes = 390;    // more than 50 band types
inline constexpr int kTextBandFileUnreadable = 391;  // the band file is missing or damaged
inline constexpr int kTextBandFileNotWritten = 392;  // the band file could not be written

struct BandRecord {
    std::string name;       // column 0: the choice shown in the band lists
    std::string thickness;  // column 1: a length
    std::string mark;       // column 2: the diagram mark
    std::string allowance;  // column 3: a length
    std::string price;      // column 4: price per unit of length

    // Columns 0..4 in file order; any other column reads as empty.
    const std::string& Column(int column) const;
    void SetColumn(int column, std::string text);

    bool operator==(const BandRecord&) const = default;
};

// The texts an edge without band gets when the table has no entry 0 (no band file).
const BandRecord& NoBandRecord();

struct BandTable {
    std::vector<BandRecord> records;  // records[0] is band entry 0, the edge without band

    int Count() const { return static_cast<int>(records.size()); }
    // Entry k, or NoBandRecord() when the table has no such entry.
    const BandRecord& EntryOrNone(int k) const;
    // The names for ComboBox1 and ComboBox2, in table order.
    std::vector<std::string> Names() const;
};

struct BandLoadResult {
    BandTable table;
    int error = 0;  // 0, kTextTooManyBandTypes (first 50 kept) or kTextBandFileUnreadable
};

// Config/bands.trb inside the program folder.
std::filesystem::path BandTypesFile(const std::filesystem::path& programFolder);

// Five lines per band type; an incomplete last record is ignored. Reads at most what the
// table can hold, so an oversized or hostile file costs no more than a valid one.
BandLoadResult LoadBandTypes(const std::filesystem::path& file);
BandLoadResult ParseBandTypes(std::string_view content);

// Five CR LF terminated lines per record.
std::string SerializeBandTypes(const BandTable& table);
// Writes a temporary file beside the target and then replaces it, so a failed save keeps the
// old table. Returns 0 or kTextBandFileNotWritten.
int SaveBandTypes(const std::filesystem::path& file, const BandTable& table);

// Unit change: columns 1 and 3 of every entry but entry 0 are parsed in the old unit and
// written in the new one. A value that does not parse keeps its text; the count of such
// cells is returned (the caller warns once for each, language text 295).
int ConvertBandLengths(BandTable& table, LengthUnit from, LengthUnit to);

struct BandCellCheck {
    int error = 0;          // 0, or the language text number of the length check
    bool restored = false;  // the cell got its remembered text back; keep the selection on it
};

// The grid of the band type dialog: row 0 the header, row 1 band entry 0 (fixed, neither
// editable nor deletable), rows 2.. the other band types.
class BandGrid {
public:
    BandGrid() = default;
    explicit BandGrid(const BandTable& table);

    // Band rows + 1, like the grid's own row count.
    int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
    const std::string& Cell(int column, int row) const;
    // The in-place editor's text; row 1 and the header are fixed and ignore it.
    void SetCell(int column, int row, std::string text);

    // Selecting a cell remembers its text for undoing a rejected edit.
    void SelectCell(int column, int row);
    // End of an edit: columns 1 and 3 must be lengths in the unit and are canonicalised.
    BandCellCheck ValidateCell(int column, int row, LengthUnit unit);

    // Newbandtype1: one more, empty row. Returns 0, or kTextTooManyBandTypes when the table
    // is full.
    int AddRow();
    // Deleterow1 is enabled only with at least three band types.
    bool DeleteEnabled() const { return RowCount() > 3; }
    // Only rows 2.. with a name can be deleted (after a Yes to kTextDeleteBandType).
    bool CanDeleteRow(int row) const;
    bool DeleteRow(int row);

    // What OK saves: row 1 and every other row whose columns 1 and 3 are both filled.
    BandTable ToTable() const;

private:
    std::vector<BandRecord> rows_;  // rows_[i] is grid row i + 1
    std::string remembered_;
};

}  // namespace trimora
