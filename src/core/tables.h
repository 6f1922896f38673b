// Operations on the sheet table and the part table: quick entry, cell selection and
// validation, row deletion, clearing, the grain flags and the edge band cells. The window
// passes in the texts of its controls and carries out the returned outcome: it shows the
// message (if any) where the notice says, writes the returned field texts, moves the focus
// and hides the preview page when asked. The table captions follow SheetQuantityTotal and
// PartQuantityTotal, so the window renews them after every operation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/band_table.h"
#include "core/length_units.h"
#include "core/project.h"

namespace trimora {

// Language texts used by the tables.
inline constexpr int kTextSizeOrQuantity = 2;           // size missing or quantity not above 0
inline constexpr int kTextRowNotFilled = 13;            // a cell below the filled rows
inline constexpr int kTextDeleteRow = 14;               // confirmation before deleting a row
inline constexpr int kTextEdgeCount = 18;               // banded-edge count not 0, 1 or 2
inline constexpr int kTextSheetTableTitle = 130;        // Label15
inline constexpr int kTextPartTableTitle = 131;         // Label21
inline constexpr int kTextQuantityNotInteger = 207;     // quick-entry quantity not an integer
inline constexpr int kTextQuantityCell = 272;           // a quantity cell is not an integer
inline constexpr int kTextClearSheets = 289;            // confirmation before clearing sheets
inline constexpr int kTextClearParts = 290;             // confirmation before clearing parts
inline constexpr int kTextSheetCellNotConverted = 293;  // unit change, sheet table
inline constexpr int kTextPartCellNotConverted = 294;   // unit change, part table

// Part table columns.
inline constexpr int kGrainColumn = 5;
inline constexpr int kFirstBandColumn = 6;  // 6, 7 edges along the length; 8, 9 along the width
inline constexpr int kLastBandColumn = 9;
inline constexpr int kBandThicknessOffset = 4;  // columns 10..13
inline constexpr int kBandMarkOffset = 8;       // columns 14..17

// Grain images of the program's image list.
inline constexpr int kImageGrainFree = 15;           // cell "0"
inline constexpr int kImageGrainKept = 14;           // cell "1"
inline constexpr int kImageGrainButtonSetOne = 11;   // BitBtn16 after setting every flag to 1
inline constexpr int kImageGrainButtonSetZero = 10;  // BitBtn16 after setting every flag to 0

enum class InputTable { Sheets, Parts };  // StringGrid1, StringGrid2

enum class QuickField { Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit16, Edit17 };
// The control's objectName.
std::string_view QuickFieldName(QuickField field);

// How and where a message box is shown.
enum class NoticeKind { Error, Confirmation, Plain };
enum class NoticeButtons { Ok, YesNoCancel };
enum class NoticeAnchor {
    Centred,  // the box's ordinary place
    Control,  // top-left = main window's top-left + the control's top-left in it + (dx, dy)
    Mouse,    // top-left = mouse position + (dx, dy)
};

struct Notice {
    int text = 0;  // language text number
    NoticeKind kind = NoticeKind::Error;
    NoticeButtons buttons = NoticeButtons::Ok;
    NoticeAnchor anchor = NoticeAnchor::Centred;
    std::string control;  // objectName, for NoticeAnchor::Control
    int dx = 0;
    int dy = 0;

    bool operator==(const Notice&) const = default;
};

struct FieldText {
    std::string control;  // objectName
    std::string text;

    bool operator==(const FieldText&) const = default;
};

// What the window does after an operation.
struct TableOutcome {
    int error = 0;                  // 0, or the language text number of the message
    std::optional<Notice> notice;   // the message box to show, when there is one
    std::vector<FieldText> fields;  // new texts of quick-entry controls
    std::string focus;              // objectName that gets the focus; empty: leave it
    bool hidePreview = false;       // the input changed, so the result page pag3 is stale

    bool Ok() const { return error == 0; }
};

// ---- quick entry ------------------------------------------------------------------------

// Enter (13) and character 20 commit every quick-entry field; Edit8 also takes Tab (9).
bool IsCommitKey(QuickField field, int key);
// The field that follows a committed one; empty after Edit4 and Edit8, whose commit appends
// a row (the outcome then names the focus).
std::string NextQuickEntryFocus(QuickField field, bool banding);

// Exit of Edit2, Edit3, Edit6 or Edit7: a non-empty text is canonicalised in the unit. A
// rejected one clears the field and takes the focus back.
TableOutcome LeaveLengthField(QuickField field, std::string_view text, LengthUnit unit);

// Commit of Edit16 or Edit17: "0", "1" or "2" move the focus on (Edit7, Edit8); anything else
// clears the field with language text 18.
TableOutcome CommitEdgeCount(QuickField field, std::string_view text);

struct SheetEntry {
    std::string length;       // Edit2
    std::string width;        // Edit3
    std::string quantity;     // Edit4
    std::string description;  // Edit1
};

// Commit of Edit4: appends a sheet row, or refuses with 2 or 207 (nothing changes).
TableOutcome AppendSheet(Project& project, const SheetEntry& entry, LengthUnit unit);

struct PartEntry {
    std::string initials;     // Edit5
    std::string length;       // Edit6
    std::string width;        // Edit7
    std::string quantity;     // Edit8
    std::string lengthEdges;  // Edit16: banded edges along the length
    std::string widthEdges;   // Edit17: banded edges along the width
    int band = 0;             // ComboBox2's item index
};

// Commit of Edit8: appends a part row with its grain flag "0" and its edge band cells, or
// refuses with 2, 207 or 18 (nothing changes). With banding off every edge gets entry 0.
TableOutcome AppendPart(Project& project, const PartEntry& entry, const BandTable& bands,
                        bool banding, LengthUnit unit);

// ---- cells ------------------------------------------------------------------------------

// Writes band entry `entry` into the edge cells of column `column` (6..9) of `row`: its name,
// its thickness four columns right and its diagram mark eight columns right. An entry the
// table does not have writes the texts of an edge without band.
void SetBandCells(TextGrid& parts, const BandTable& bands, int column, int entry, int row);

enum class CellAction {
    Select,        // the cell is selected; its text is now RememberedCellText
    Refuse,        // keep the previous selection; show the notice
    GrainFlipped,  // column 5 was toggled; the cell is not selected
    BandPicker,    // select, and show ComboBox1 over the cell with the cell's text
};

struct CellSelection {
    CellAction action = CellAction::Select;
    std::optional<Notice> notice;
    bool hidePreview = false;
};

// A cell of the table is selected (click or keys).
CellSelection SelectCell(Project& project, InputTable table, int column, int row, bool banding);

// End of an in-place edit of a cell (or selection of column 1 or 2 while the editor is open:
// a failed check then refuses that selection). Lengths are canonicalised, quantities must be
// whole numbers not below 0; a rejected text is replaced by RememberedCellText.
TableOutcome ValidateSheetCell(Project& project, int column, int row, LengthUnit unit);
TableOutcome ValidatePartCell(Project& project, int column, int row, LengthUnit unit);

// An entry chosen in the band picker ComboBox1 over an edge cell.
TableOutcome ChooseCellBand(Project& project, const BandTable& bands, int column, int row,
                            int entry);

// Column 5: "0" becomes "1", anything else "0".
void ToggleGrainCell(Project& project, int row);
// The image drawn for a grain cell: kImageGrainFree, kImageGrainKept, or -1 (nothing).
int GrainImageIndex(std::string_view cell);

struct GrainToggle {
    std::string value;  // what every flag was set to
    int buttonImage;    // BitBtn16's new icon
};
// BitBtn16: every filled part row gets "1" on the first press, "0" on the next, and so on.
GrainToggle ToggleAllGrain(Project& project);

// ---- rows and totals --------------------------------------------------------------------

int32_t RowCount(const Project& project, InputTable table);

// A click on a table without rows moves the focus to its first size field (Edit2, Edit6);
// empty when the table has rows.
std::string EmptyTableClickFocus(const Project& project, InputTable table);

// Deleterow2 / Deleterow1 on `row`: the question to ask (language text 14), or nothing when
// the row is not a filled one.
std::optional<Notice> DeleteRowQuestion(const Project& project, InputTable table, int row);
// After a Yes: the following rows move up and the total is recomputed.
bool DeleteTableRow(Project& project, InputTable table, int row);

// BitBtn3 / BitBtn4: the question (289, 290) and, after a Yes, the clearing.
Notice ClearTableQuestion(InputTable table);
void ClearTable(Project& project, InputTable table);

// Whole-number text of a quantity: an optional minus sign and digits, within 32 bits.
std::optional<int32_t> ParseQuantity(std::string_view text);

// Sum of column 3 over the filled rows; a cell that is not a whole number adds nothing.
int32_t QuantityTotal(const TextGrid& grid, int32_t rows);
void RecomputeQuantityTotals(Project& project);

// language text + " (" + total + ")".
std::string TableCaption(std::string_view languageText, int32_t total);
// Label15 from language text 130, Label21 from language text 131.
std::string SheetTableCaption(std::string_view text130, const Project& project);
std::string PartTableCaption(std::string_view text131, const Project& project);

// Unit change: the length cells of the filled rows (sheets 1, 2; parts 1, 2, 10..13) are
// parsed in the old unit and written in the new one. A cell that does not parse keeps its
// text; the count of such cells is returned (one warning each: 293 sheets, 294 parts).
int ConvertLengthCells(Project& project, InputTable table, LengthUnit from, LengthUnit to);

}  // namespace trimora
