#include "core/tables.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace trimora {

namespace {

int32_t Clamp32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

TextGrid& Grid(Project& project, InputTable table) {
    return table == InputTable::Sheets ? project.sheets : project.parts;
}

int32_t& CountOf(Project& project, InputTable table) {
    return table == InputTable::Sheets ? project.SheetRowCount : project.PartRowCount;
}

int32_t& TotalOf(Project& project, InputTable table) {
    return table == InputTable::Sheets ? project.SheetQuantityTotal : project.PartQuantityTotal;
}

std::string GridName(InputTable table) {
    return table == InputTable::Sheets ? "StringGrid1" : "StringGrid2";
}

bool IsFilledRow(const Project& project, InputTable table, int row) {
    return row >= 1 && row <= RowCount(project, table);
}

TableOutcome Refused(int text, Notice notice) {
    TableOutcome outcome;
    outcome.error = text;
    notice.text = text;
    outcome.notice = std::move(notice);
    return outcome;
}

Notice ErrorAtControl(std::string control, int dx, int dy) {
    Notice notice;
    notice.anchor = NoticeAnchor::Control;
    notice.control = std::move(control);
    notice.dx = dx;
    notice.dy = dy;
    return notice;
}

Notice ErrorAtMouse(int dx = 0) {
    Notice notice;
    notice.anchor = NoticeAnchor::Mouse;
    notice.dx = dx;
    return notice;
}

// The checks shared by both quick entries, in the order the user sees their messages: sizes
// present, quantity a whole number, quantity above 0, sizes valid lengths. The canonical size
// texts are returned in `length` and `width`.
int CheckEntry(std::string& length, std::string& width, const std::string& quantity,
               LengthUnit unit, int32_t& count) {
    if (length.empty() || width.empty()) return kTextSizeOrQuantity;
    const std::optional<int32_t> parsed = ParseQuantity(quantity);
    if (!parsed) return kTextQuantityNotInteger;
    if (*parsed <= 0) return kTextSizeOrQuantity;
    // The fields are canonicalised when left; a text that slipped past that is still not
    // stored as a length.
    for (std::string* size : {&length, &width}) {
        NormalizedLength normal = NormalizeLengthText(*size, unit);
        if (normal.error != 0) return normal.error;
        // A length whose parts are all zero has an empty canonical text: no size at all.
        if (normal.text.empty()) return kTextSizeOrQuantity;
        *size = std::move(normal.text);
    }
    count = *parsed;
    return 0;
}

bool IsEdgeCount(std::string_view text) {
    return text == "0" || text == "1" || text == "2";
}

// Edit16 / Edit17 of a new part: "0" no banded edge, "1" the first edge, "2" both edges.
void WriteEdges(TextGrid& parts, const BandTable& bands, std::string_view count, int first,
                int band, int row) {
    const int firstEntry = count == "0" ? 0 : band;
    const int secondEntry = count == "2" ? band : 0;
    SetBandCells(parts, bands, first, firstEntry, row);
    SetBandCells(parts, bands, first + 1, secondEntry, row);
}

TableOutcome ValidateCell(Project& project, InputTable table, int column, int row,
                          LengthUnit unit) {
    TableOutcome outcome;
    if (!IsFilledRow(project, table, row)) return outcome;
    TextGrid& grid = Grid(project, table);
    outcome.hidePreview = true;
    if (column == 1 || column == 2) {
        NormalizedLength normal = NormalizeLengthText(grid.Cell(column, row), unit);
        if (normal.error != 0) {
            grid.SetCell(column, row, project.RememberedCellText);
            TableOutcome refused = Refused(normal.error, ErrorAtMouse());
            refused.hidePreview = true;
            return refused;
        }
        grid.SetCell(column, row, std::move(normal.text));
    } else if (column == 3) {
        // A negative quantity would make the totals and the run's piece count wrong.
        const std::optional<int32_t> quantity = ParseQuantity(grid.Cell(column, row));
        if (!quantity || *quantity < 0) {
            grid.SetCell(column, row, project.RememberedCellText);
            TableOutcome refused = Refused(kTextQuantityCell, ErrorAtMouse());
            refused.hidePreview = true;
            return refused;
        }
        TotalOf(project, table) = QuantityTotal(grid, CountOf(project, table));
    }
    return outcome;
}

}  // namespace

std::string_view QuickFieldName(QuickField field) {
    switch (field) {
        case QuickField::Edit1:
            return "Edit1";
        case QuickField::Edit2:
            return "Edit2";
        case QuickField::Edit3:
            return "Edit3";
        case QuickField::Edit4:
            return "Edit4";
        case QuickField::Edit5:
            return "Edit5";
        case QuickField::Edit6:
            return "Edit6";
        case QuickField::Edit7:
            return "Edit7";
        case QuickField::Edit8:
            return "Edit8";
        case QuickField::Edit16:
            return "Edit16";
        case QuickField::Edit17:
            return "Edit17";
    }
    return {};
}

bool IsCommitKey(QuickField field, int key) {
    return key == 13 || key == 20 || (field == QuickField::Edit8 && key == 9);
}

std::string NextQuickEntryFocus(QuickField field, bool banding) {
    switch (field) {
        case QuickField::Edit1:
            return "Edit2";
        case QuickField::Edit2:
            return "Edit3";
        case QuickField::Edit3:
            return "Edit4";
        case QuickField::Edit5:
            return "Edit6";
        case QuickField::Edit6:
            return banding ? "Edit16" : "Edit7";
        case QuickField::Edit16:
            return "Edit7";
        case QuickField::Edit7:
            return banding ? "Edit17" : "Edit8";
        case QuickField::Edit17:
            return "Edit8";
        case QuickField::Edit4:
        case QuickField::Edit8:
            return {};
    }
    return {};
}

TableOutcome LeaveLengthField(QuickField field, std::string_view text, LengthUnit unit) {
    TableOutcome outcome;
    const bool sheetField = field == QuickField::Edit2 || field == QuickField::Edit3;
    const bool partField = field == QuickField::Edit6 || field == QuickField::Edit7;
    if ((!sheetField && !partField) || text.empty()) return outcome;
    const std::string name(QuickFieldName(field));
    NormalizedLength normal = NormalizeLengthText(text, unit);
    if (normal.error == 0) {
        outcome.fields.push_back({name, std::move(normal.text)});
        return outcome;
    }
    outcome = Refused(normal.error, sheetField ? ErrorAtControl(name, -80, 120) : ErrorAtMouse());
    outcome.fields.push_back({name, ""});
    outcome.focus = name;
    return outcome;
}

TableOutcome CommitEdgeCount(QuickField field, std::string_view text) {
    TableOutcome outcome;
    if (field != QuickField::Edit16 && field != QuickField::Edit17) return outcome;
    if (IsEdgeCount(text)) {
        outcome.focus = field == QuickField::Edit16 ? "Edit7" : "Edit8";
        return outcome;
    }
    Notice plain;
    plain.kind = NoticeKind::Plain;
    outcome = Refused(kTextEdgeCount, plain);
    outcome.fields.push_back({std::string(QuickFieldName(field)), ""});
    return outcome;
}

TableOutcome AppendSheet(Project& project, const SheetEntry& entry, LengthUnit unit) {
    std::string length = entry.length;
    std::string width = entry.width;
    int32_t quantity = 0;
    if (const int error = CheckEntry(length, width, entry.quantity, unit, quantity); error != 0)
        return Refused(error, ErrorAtControl("Edit4", -80, 120));

    const int32_t row = ++project.SheetRowCount;
    project.SheetQuantityTotal = Clamp32(int64_t{project.SheetQuantityTotal} + quantity);
    project.sheets.SetCell(1, row, std::move(length));
    project.sheets.SetCell(2, row, std::move(width));
    project.sheets.SetCell(3, row, entry.quantity);
    project.sheets.SetCell(4, row, entry.description);

    TableOutcome outcome;
    outcome.fields.push_back({"Edit4", "1"});
    outcome.focus = "Edit2";
    outcome.hidePreview = true;
    return outcome;
}

TableOutcome AppendPart(Project& project, const PartEntry& entry, const BandTable& bands,
                        bool banding, LengthUnit unit) {
    std::string length = entry.length;
    std::string width = entry.width;
    int32_t quantity = 0;
    if (const int error = CheckEntry(length, width, entry.quantity, unit, quantity); error != 0)
        return Refused(error, ErrorAtMouse(-200));
    // A part whose edge cells stayed empty would have no band thickness to subtract, so an
    // edge count left uncommitted is refused here as well.
    if (banding) {
        for (auto [text, field] :
             {std::pair{&entry.lengthEdges, "Edit16"}, std::pair{&entry.widthEdges, "Edit17"}}) {
            if (IsEdgeCount(*text)) continue;
            Notice plain;
            plain.kind = NoticeKind::Plain;
            TableOutcome refused = Refused(kTextEdgeCount, plain);
            refused.focus = field;
            return refused;
        }
    }

    const int32_t row = ++project.PartRowCount;
    project.PartQuantityTotal = Clamp32(int64_t{project.PartQuantityTotal} + quantity);
    TextGrid& parts = project.parts;
    parts.SetCell(1, row, std::move(length));
    parts.SetCell(2, row, std::move(width));
    parts.SetCell(3, row, entry.quantity);
    parts.SetCell(4, row, entry.initials);
    parts.SetCell(kGrainColumn, row, "0");
    // Without banding the count fields are hidden and every edge is an edge without band.
    WriteEdges(parts, bands, banding ? std::string_view(entry.lengthEdges) : "0", 6, entry.band,
               row);
    WriteEdges(parts, bands, banding ? std::string_view(entry.widthEdges) : "0", 8, entry.band,
               row);

    TableOutcome outcome;
    outcome.fields.push_back({"Edit8", "1"});
    outcome.focus = "Edit6";
    outcome.hidePreview = true;
    return outcome;
}

void SetBandCells(TextGrid& parts, const BandTable& bands, int column, int entry, int row) {
    if (column < kFirstBandColumn || column > kLastBandColumn || row < 1) return;
    const BandRecord& record = bands.EntryOrNone(entry);
    parts.SetCell(column, row, record.name);
    parts.SetCell(column + kBandThicknessOffset, row, record.thickness);
    parts.SetCell(column + kBandMarkOffset, row, record.mark);
}

CellSelection SelectCell(Project& project, InputTable table, int column, int row, bool banding) {
    CellSelection selection;
    if (!IsFilledRow(project, table, row)) {
        selection.action = CellAction::Refuse;
        Notice notice = ErrorAtControl(GridName(table), 100, 150);
        notice.text = kTextRowNotFilled;
        selection.notice = std::move(notice);
        return selection;
    }
    if (table == InputTable::Parts && column == kGrainColumn) {
        ToggleGrainCell(project, row);
        selection.action = CellAction::GrainFlipped;
        selection.hidePreview = true;
        return selection;
    }
    project.RememberedCellText = Grid(project, table).Cell(column, row);
    if (table == InputTable::Parts && banding && column >= kFirstBandColumn &&
        column <= kLastBandColumn)
        selection.action = CellAction::BandPicker;
    return selection;
}

TableOutcome ValidateSheetCell(Project& project, int column, int row, LengthUnit unit) {
    return ValidateCell(project, InputTable::Sheets, column, row, unit);
}

TableOutcome ValidatePartCell(Project& project, int column, int row, LengthUnit unit) {
    return ValidateCell(project, InputTable::Parts, column, row, unit);
}

TableOutcome ChooseCellBand(Project& project, const BandTable& bands, int column, int row,
                            int entry) {
    TableOutcome outcome;
    if (!IsFilledRow(project, InputTable::Parts, row) || column < kFirstBandColumn ||
        column > kLastBandColumn)
        return outcome;
    SetBandCells(project.parts, bands, column, entry, row);
    outcome.hidePreview = true;
    return outcome;
}

void ToggleGrainCell(Project& project, int row) {
    if (!IsFilledRow(project, InputTable::Parts, row)) return;
    const bool free = project.parts.Cell(kGrainColumn, row) == "0";
    project.parts.SetCell(kGrainColumn, row, free ? "1" : "0");
}

int GrainImageIndex(std::string_view cell) {
    if (cell == "0") return kImageGrainFree;
    if (cell == "1") return kImageGrainKept;
    return -1;
}

GrainToggle ToggleAllGrain(Project& project) {
    const bool one = project.GrainToggleSetsOne;
    GrainToggle toggle{one ? "1" : "0", one ? kImageGrainButtonSetOne : kImageGrainButtonSetZero};
    for (int32_t row = 1; row <= project.PartRowCount; ++row)
        project.parts.SetCell(kGrainColumn, row, toggle.value);
    project.GrainToggleSetsOne = !one;
    return toggle;
}

int32_t RowCount(const Project& project, InputTable table) {
    return table == InputTable::Sheets ? project.SheetRowCount : project.PartRowCount;
}

std::string EmptyTableClickFocus(const Project& project, InputTable table) {
    if (RowCount(project, table) > 0) return {};
    return table == InputTable::Sheets ? "Edit2" : "Edit6";
}

std::optional<Notice> DeleteRowQuestion(const Project& project, InputTable table, int row) {
    if (!IsFilledRow(project, table, row)) return std::nullopt;
    Notice notice = ErrorAtMouse();
    notice.text = kTextDeleteRow;
    notice.kind = NoticeKind::Confirmation;
    notice.buttons = NoticeButtons::YesNoCancel;
    return notice;
}

bool DeleteTableRow(Project& project, InputTable table, int row) {
    if (!IsFilledRow(project, table, row)) return false;
    TextGrid& grid = Grid(project, table);
    int32_t& count = CountOf(project, table);
    grid.RemoveRow(row);
    grid.ClearRow(count);
    --count;
    TotalOf(project, table) = QuantityTotal(grid, count);
    return true;
}

Notice ClearTableQuestion(InputTable table) {
    Notice notice =
        table == InputTable::Sheets ? ErrorAtControl("BitBtn3", -200, 80) : ErrorAtMouse(-220);
    notice.text = table == InputTable::Sheets ? kTextClearSheets : kTextClearParts;
    notice.kind = NoticeKind::Confirmation;
    notice.buttons = NoticeButtons::YesNoCancel;
    return notice;
}

void ClearTable(Project& project, InputTable table) {
    if (table == InputTable::Sheets) {
        // The sheet rows are blanked to a single space in every column, as they always were.
        for (int32_t row = 1; row <= project.SheetRowCount; ++row)
            for (int column = 0; column < kSheetColumns; ++column)
                project.sheets.SetCell(column, row, " ");
        project.SheetRowCount = 0;
        project.SheetQuantityTotal = 0;
    } else {
        for (int32_t row = 1; row <= project.PartRowCount; ++row) project.parts.ClearRow(row);
        project.PartRowCount = 0;
        project.PartQuantityTotal = 0;
    }
}

std::optional<int32_t> ParseQuantity(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t QuantityTotal(const TextGrid& grid, int32_t rows) {
    int64_t sum = 0;
    for (int32_t row = 1; row <= rows; ++row)
        if (const std::optional<int32_t> quantity = ParseQuantity(grid.Cell(3, row)))
            sum += *quantity;
    return Clamp32(sum);
}

void RecomputeQuantityTotals(Project& project) {
    project.SheetQuantityTotal = QuantityTotal(project.sheets, project.SheetRowCount);
    project.PartQuantityTotal = QuantityTotal(project.parts, project.PartRowCount);
}

std::string TableCaption(std::string_view languageText, int32_t total) {
    std::string caption(languageText);
    caption += " (";
    caption += std::to_string(total);
    caption += ")";
    return caption;
}

std::string SheetTableCaption(std::string_view text130, const Project& project) {
    return TableCaption(text130, project.SheetQuantityTotal);
}

std::string PartTableCaption(std::string_view text131, const Project& project) {
    return TableCaption(text131, project.PartQuantityTotal);
}

int ConvertLengthCells(Project& project, InputTable table, LengthUnit from, LengthUnit to) {
    const std::vector<int> columns = table == InputTable::Sheets
                                         ? std::vector<int>{1, 2}
                                         : std::vector<int>{1, 2, 10, 11, 12, 13};
    TextGrid& grid = Grid(project, table);
    int failures = 0;
    for (int32_t row = 1; row <= RowCount(project, table); ++row) {
        for (int column : columns) {
            const Tenths value = ParseLength(from, grid.Cell(column, row));
            if (value < 0) {
                ++failures;
                continue;
            }
            grid.SetCell(column, row, FormatLength(value, to));
        }
    }
    return failures;
}

}  // namespace trimora
