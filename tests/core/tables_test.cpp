#include "core/tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

namespace trimora {
namespace {

constexpr LengthUnit kMm = 0;
constexpr LengthUnit kCm = 1;
constexpr LengthUnit kFeetInches = 5;

BandTable ThreeBands() {
    BandTable bands;
    bands.records = {{"-", "0", "", "0", "0"},
                     {"PVC1", "0.1", "+", "3", "0.6"},
                     {"ABS2", "0.2", "=", "3", "1.2"}};
    return bands;
}

Notice At(NoticeAnchor anchor, int text, std::string control = "", int dx = 0, int dy = 0) {
    Notice notice;
    notice.text = text;
    notice.anchor = anchor;
    notice.control = std::move(control);
    notice.dx = dx;
    notice.dy = dy;
    return notice;
}

Notice Question(Notice notice) {
    notice.kind = NoticeKind::Confirmation;
    notice.buttons = NoticeButtons::YesNoCancel;
    return notice;
}

void AddSheet(Project& project, const std::string& length, const std::string& width,
              const std::string& quantity) {
    ASSERT_TRUE(AppendSheet(project, {length, width, quantity, "d"}, kMm).Ok());
}

void AddPart(Project& project, const std::string& length, const std::string& width,
             const std::string& quantity, const std::string& initials = "P") {
    ASSERT_TRUE(AppendPart(project, {initials, length, width, quantity, "0", "0", 0}, ThreeBands(),
                           true, kMm)
                    .Ok());
}

// ---- quick entry ----------------------------------------------------------------------

TEST(AppendSheet, WritesTheRowAndMovesOn) {
    Project project;
    const TableOutcome outcome = AppendSheet(project, {"2800", "2070.04", "3", "MDF 18"}, kMm);
    ASSERT_TRUE(outcome.Ok());
    EXPECT_FALSE(outcome.notice);
    EXPECT_EQ(project.SheetRowCount, 1);
    EXPECT_EQ(project.SheetQuantityTotal, 3);
    EXPECT_EQ(project.sheets.Cell(1, 1), "2800");
    EXPECT_EQ(project.sheets.Cell(2, 1), "2070");  // canonical in mm
    EXPECT_EQ(project.sheets.Cell(3, 1), "3");
    EXPECT_EQ(project.sheets.Cell(4, 1), "MDF 18");
    EXPECT_EQ(outcome.fields, (std::vector<FieldText>{{"Edit4", "1"}}));
    EXPECT_EQ(outcome.focus, "Edit2");
    EXPECT_TRUE(outcome.hidePreview);

    ASSERT_TRUE(AppendSheet(project, {"1000", "500", "2", ""}, kMm).Ok());
    EXPECT_EQ(project.SheetRowCount, 2);
    EXPECT_EQ(project.SheetQuantityTotal, 5);
}

struct EntryCase {
    const char* length;
    const char* width;
    const char* quantity;
    int error;
};

const EntryCase kRefusedEntries[] = {
    {"", "2070", "1", 2},         {"2800", "", "1", 2},
    {"2800", "2070", "0", 2},     {"2800", "2070", "-3", 2},
    {"2800", "2070", "1.5", 207}, {"2800", "2070", "abc", 207},
    {"2800", "2070", "", 207},    {"2800", "2070", "99999999999", 207},
    {"2800", "2070", " 2", 207},  {"28x0", "2070", "1", 272},
    {"2800", "-20", "1", 272},
};

TEST(AppendSheet, SizesAreStoredCanonical) {
    Project project;
    ASSERT_TRUE(AppendSheet(project, {"12 1/3\"", "1' 2\"", "1", ""}, 4).Ok());
    EXPECT_EQ(project.sheets.Cell(1, 1), "12 21/64\"");
    EXPECT_EQ(project.sheets.Cell(2, 1), "14\"");
}

TEST(AppendSheet, RefusesWithoutChangingAnything) {
    for (const EntryCase& c : kRefusedEntries) {
        SCOPED_TRACE(std::string(c.length) + " | " + c.width + " | " + c.quantity);
        Project project;
        AddSheet(project, "100", "100", "4");
        const TableOutcome outcome =
            AppendSheet(project, {c.length, c.width, c.quantity, "x"}, kMm);
        EXPECT_EQ(outcome.error, c.error);
        ASSERT_TRUE(outcome.notice);
        EXPECT_EQ(*outcome.notice, At(NoticeAnchor::Control, c.error, "Edit4", -80, 120));
        EXPECT_TRUE(outcome.fields.empty());
        EXPECT_FALSE(outcome.hidePreview);
        EXPECT_EQ(project.SheetRowCount, 1);
        EXPECT_EQ(project.SheetQuantityTotal, 4);
        EXPECT_EQ(project.sheets.Cell(1, 2), "");
    }
}

TEST(AppendPart, WritesTheRowWithGrainAndNoBand) {
    Project project;
    const TableOutcome outcome =
        AppendPart(project, {"AB", "600", "450.55", "2", "0", "0", 1}, ThreeBands(), true, kMm);
    ASSERT_TRUE(outcome.Ok());
    EXPECT_EQ(project.PartRowCount, 1);
    EXPECT_EQ(project.PartQuantityTotal, 2);
    const std::vector<std::string> expected = {"",  "600", "450.6", "2", "AB", "0", "-", "-", "-",
                                               "-", "0",   "0",     "0", "0",  "",  "",  "",  ""};
    for (int column = 0; column < kPartColumns; ++column)
        EXPECT_EQ(project.parts.Cell(column, 1), expected[column]) << "column " << column;
    EXPECT_EQ(outcome.fields, (std::vector<FieldText>{{"Edit8", "1"}}));
    EXPECT_EQ(outcome.focus, "Edit6");
    EXPECT_TRUE(outcome.hidePreview);
}

TEST(AppendPart, RefusesAtTheMouseWithoutChangingAnything) {
    for (const EntryCase& c : kRefusedEntries) {
        SCOPED_TRACE(std::string(c.length) + " | " + c.width + " | " + c.quantity);
        Project project;
        AddPart(project, "100", "100", "4");
        const TableOutcome outcome = AppendPart(
            project, {"X", c.length, c.width, c.quantity, "0", "0", 0}, ThreeBands(), true, kMm);
        EXPECT_EQ(outcome.error, c.error);
        ASSERT_TRUE(outcome.notice);
        EXPECT_EQ(*outcome.notice, At(NoticeAnchor::Mouse, c.error, "", -200, 0));
        EXPECT_EQ(project.PartRowCount, 1);
        EXPECT_EQ(project.PartQuantityTotal, 4);
        EXPECT_EQ(project.parts.Cell(1, 2), "");
    }
}

TEST(AppendPart, EdgeCountsChooseTheBandOfEachEdge) {
    struct Case {
        const char* lengthEdges;
        const char* widthEdges;
        std::vector<std::string> names;  // columns 6..9
    };
    const Case cases[] = {
        {"0", "0", {"-", "-", "-", "-"}},
        {"1", "0", {"ABS2", "-", "-", "-"}},
        {"2", "0", {"ABS2", "ABS2", "-", "-"}},
        {"0", "1", {"-", "-", "ABS2", "-"}},
        {"2", "2", {"ABS2", "ABS2", "ABS2", "ABS2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.lengthEdges) + "/" + c.widthEdges);
        Project project;
        ASSERT_TRUE(AppendPart(project, {"", "600", "400", "1", c.lengthEdges, c.widthEdges, 2},
                               ThreeBands(), true, kMm)
                        .Ok());
        for (int k = 0; k < 4; ++k) {
            const bool banded = c.names[k] == "ABS2";
            EXPECT_EQ(project.parts.Cell(6 + k, 1), c.names[k]);
            EXPECT_EQ(project.parts.Cell(10 + k, 1), banded ? "0.2" : "0");
            EXPECT_EQ(project.parts.Cell(14 + k, 1), banded ? "=" : "");
        }
    }
}

TEST(AppendPart, WithoutBandingEveryEdgeGetsEntryZero) {
    Project project;
    ASSERT_TRUE(
        AppendPart(project, {"", "600", "400", "1", "2", "7", 2}, ThreeBands(), false, kMm).Ok());
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(project.parts.Cell(6 + k, 1), "-");
        EXPECT_EQ(project.parts.Cell(10 + k, 1), "0");
    }
}

TEST(AppendPart, UncommittedEdgeCountIsRefused) {
    for (auto [lengthEdges, widthEdges, field] :
         {std::tuple{"3", "0", "Edit16"}, std::tuple{"", "0", "Edit16"},
          std::tuple{"1", "x", "Edit17"}}) {
        Project project;
        const TableOutcome outcome = AppendPart(
            project, {"", "600", "400", "1", lengthEdges, widthEdges, 1}, ThreeBands(), true, kMm);
        EXPECT_EQ(outcome.error, 18);
        ASSERT_TRUE(outcome.notice);
        EXPECT_EQ(outcome.notice->kind, NoticeKind::Plain);
        EXPECT_EQ(outcome.focus, field);
        EXPECT_EQ(project.PartRowCount, 0);
    }
}

TEST(AppendPart, WithoutABandFileEdgesStillGetNoBandTexts) {
    Project project;
    ASSERT_TRUE(
        AppendPart(project, {"", "600", "400", "1", "2", "2", -1}, BandTable{}, true, kMm).Ok());
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(project.parts.Cell(6 + k, 1), "-");
        EXPECT_EQ(project.parts.Cell(10 + k, 1), "0");
    }
}

TEST(QuickEntry, LengthFieldsAreCanonicalisedWhenLeft) {
    struct Case {
        QuickField field;
        const char* text;
        LengthUnit unit;
        int error;
        const char* canonical;
    };
    const Case cases[] = {
        {QuickField::Edit2, "12.34", kMm, 0, "12.3"},
        {QuickField::Edit7, "12.346", kCm, 0, "12.35"},
        {QuickField::Edit3, "abc", kMm, 272, ""},
        {QuickField::Edit2, "-5", kMm, 272, ""},
        {QuickField::Edit6, "5 6 7", kFeetInches, 277, ""},
        {QuickField::Edit7, "5.5", kFeetInches, 274, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string name(QuickFieldName(c.field));
        const TableOutcome outcome = LeaveLengthField(c.field, c.text, c.unit);
        EXPECT_EQ(outcome.fields, (std::vector<FieldText>{{name, c.canonical}}));
        if (c.error == 0) {
            EXPECT_TRUE(outcome.Ok());
            EXPECT_FALSE(outcome.notice);
            EXPECT_EQ(outcome.focus, "");
            continue;
        }
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(outcome.focus, name);
        const bool sheetField = c.field == QuickField::Edit2 || c.field == QuickField::Edit3;
        ASSERT_TRUE(outcome.notice);
        EXPECT_EQ(*outcome.notice, sheetField ? At(NoticeAnchor::Control, c.error, name, -80, 120)
                                              : At(NoticeAnchor::Mouse, c.error));
    }
}

TEST(QuickEntry, EmptyOrOtherFieldsAreLeftAlone) {
    EXPECT_TRUE(LeaveLengthField(QuickField::Edit6, "", kMm).fields.empty());
    EXPECT_TRUE(LeaveLengthField(QuickField::Edit4, "abc", kMm).fields.empty());
    EXPECT_TRUE(LeaveLengthField(QuickField::Edit4, "abc", kMm).Ok());
}

TEST(QuickEntry, EdgeCountCommit) {
    EXPECT_EQ(CommitEdgeCount(QuickField::Edit16, "0").focus, "Edit7");
    EXPECT_EQ(CommitEdgeCount(QuickField::Edit16, "2").focus, "Edit7");
    EXPECT_EQ(CommitEdgeCount(QuickField::Edit17, "1").focus, "Edit8");
    for (const char* text : {"3", "", "01", " 1", "-1"}) {
        SCOPED_TRACE(text);
        const TableOutcome outcome = CommitEdgeCount(QuickField::Edit17, text);
        EXPECT_EQ(outcome.error, 18);
        ASSERT_TRUE(outcome.notice);
        EXPECT_EQ(outcome.notice->kind, NoticeKind::Plain);
        EXPECT_EQ(outcome.notice->anchor, NoticeAnchor::Centred);
        EXPECT_EQ(outcome.fields, (std::vector<FieldText>{{"Edit17", ""}}));
        EXPECT_EQ(outcome.focus, "");
    }
}

TEST(QuickEntry, CommitKeysAndFocusOrder) {
    EXPECT_TRUE(IsCommitKey(QuickField::Edit2, 13));
    EXPECT_TRUE(IsCommitKey(QuickField::Edit1, 20));
    EXPECT_FALSE(IsCommitKey(QuickField::Edit4, 9));
    EXPECT_TRUE(IsCommitKey(QuickField::Edit8, 9));
    EXPECT_FALSE(IsCommitKey(QuickField::Edit8, 32));

    const std::vector<std::pair<QuickField, std::string>> banded = {
        {QuickField::Edit1, "Edit2"},  {QuickField::Edit2, "Edit3"},  {QuickField::Edit3, "Edit4"},
        {QuickField::Edit4, ""},       {QuickField::Edit5, "Edit6"},  {QuickField::Edit6, "Edit16"},
        {QuickField::Edit16, "Edit7"}, {QuickField::Edit7, "Edit17"}, {QuickField::Edit17, "Edit8"},
        {QuickField::Edit8, ""}};
    for (const auto& [field, next] : banded) EXPECT_EQ(NextQuickEntryFocus(field, true), next);
    EXPECT_EQ(NextQuickEntryFocus(QuickField::Edit6, false), "Edit7");
    EXPECT_EQ(NextQuickEntryFocus(QuickField::Edit7, false), "Edit8");
}

// ---- cells ------------------------------------------------------------------------------

class FilledTables : public ::testing::Test {
protected:
    void SetUp() override {
        AddSheet(project, "2800", "2070", "2");
        AddSheet(project, "1000", "500", "3");
        AddPart(project, "600", "400", "4", "A");
        AddPart(project, "300", "200", "5", "B");
    }
    Project project;
};

TEST_F(FilledTables, SelectingBelowTheFilledRowsIsRefused) {
    for (InputTable table : {InputTable::Sheets, InputTable::Parts}) {
        project.RememberedCellText = "kept";
        const std::string grid = table == InputTable::Sheets ? "StringGrid1" : "StringGrid2";
        for (int row : {3, 0}) {
            const CellSelection selection = SelectCell(project, table, 1, row, true);
            EXPECT_EQ(selection.action, CellAction::Refuse);
            ASSERT_TRUE(selection.notice);
            EXPECT_EQ(*selection.notice, At(NoticeAnchor::Control, 13, grid, 100, 150));
        }
        EXPECT_EQ(project.RememberedCellText, "kept");
    }
    Project empty;
    EXPECT_EQ(SelectCell(empty, InputTable::Parts, 1, 1, false).action, CellAction::Refuse);
}

TEST_F(FilledTables, SelectingRemembersTheCellText) {
    EXPECT_EQ(SelectCell(project, InputTable::Sheets, 2, 2, false).action, CellAction::Select);
    EXPECT_EQ(project.RememberedCellText, "500");
    EXPECT_EQ(SelectCell(project, InputTable::Parts, 4, 1, false).action, CellAction::Select);
    EXPECT_EQ(project.RememberedCellText, "A");
}

TEST_F(FilledTables, GrainColumnTogglesInsteadOfSelecting) {
    project.RememberedCellText = "kept";
    const CellSelection first = SelectCell(project, InputTable::Parts, 5, 2, false);
    EXPECT_EQ(first.action, CellAction::GrainFlipped);
    EXPECT_TRUE(first.hidePreview);
    EXPECT_EQ(project.parts.Cell(5, 2), "1");
    SelectCell(project, InputTable::Parts, 5, 2, false);
    EXPECT_EQ(project.parts.Cell(5, 2), "0");
    EXPECT_EQ(project.parts.Cell(5, 1), "0");
    EXPECT_EQ(project.RememberedCellText, "kept");

    project.parts.SetCell(5, 1, "x");
    ToggleGrainCell(project, 1);
    EXPECT_EQ(project.parts.Cell(5, 1), "0");
    // Column 5 of the sheet table is nothing special.
    EXPECT_EQ(SelectCell(project, InputTable::Sheets, 4, 1, false).action, CellAction::Select);
}

TEST(GrainImages, ZeroOneOrNothing) {
    EXPECT_EQ(GrainImageIndex("0"), 15);
    EXPECT_EQ(GrainImageIndex("1"), 14);
    EXPECT_EQ(GrainImageIndex(""), -1);
}

TEST_F(FilledTables, BandPickerOnlyOverEdgeCellsWithBanding) {
    EXPECT_EQ(SelectCell(project, InputTable::Parts, 6, 1, true).action, CellAction::BandPicker);
    EXPECT_EQ(project.RememberedCellText, "-");
    EXPECT_EQ(SelectCell(project, InputTable::Parts, 9, 2, true).action, CellAction::BandPicker);
    EXPECT_EQ(SelectCell(project, InputTable::Parts, 6, 1, false).action, CellAction::Select);
    EXPECT_EQ(SelectCell(project, InputTable::Parts, 10, 1, true).action, CellAction::Select);
    EXPECT_EQ(SelectCell(project, InputTable::Sheets, 4, 1, true).action, CellAction::Select);
}

TEST_F(FilledTables, ChoosingABandWritesItsThreeCells) {
    const TableOutcome outcome = ChooseCellBand(project, ThreeBands(), 8, 2, 1);
    EXPECT_TRUE(outcome.hidePreview);
    EXPECT_EQ(project.parts.Cell(8, 2), "PVC1");
    EXPECT_EQ(project.parts.Cell(12, 2), "0.1");
    EXPECT_EQ(project.parts.Cell(16, 2), "+");
    EXPECT_EQ(project.parts.Cell(9, 2), "-");
    // Outside the edge columns or the filled rows nothing is written.
    ChooseCellBand(project, ThreeBands(), 10, 2, 1);
    ChooseCellBand(project, ThreeBands(), 6, 3, 1);
    EXPECT_EQ(project.parts.Cell(10, 2), "0");
    EXPECT_EQ(project.parts.Cell(6, 3), "");
}

TEST(SetBandCells, WritesNameThicknessAndMark) {
    TextGrid parts(kPartColumns);
    SetBandCells(parts, ThreeBands(), 7, 2, 4);
    EXPECT_EQ(parts.Cell(7, 4), "ABS2");
    EXPECT_EQ(parts.Cell(11, 4), "0.2");
    EXPECT_EQ(parts.Cell(15, 4), "=");
    SetBandCells(parts, ThreeBands(), 7, 9, 4);  // an entry the table lacks: no band
    EXPECT_EQ(parts.Cell(7, 4), "-");
    EXPECT_EQ(parts.Cell(11, 4), "0");
    EXPECT_EQ(parts.Cell(15, 4), "");
    SetBandCells(parts, ThreeBands(), 5, 1, 4);  // not an edge column
    SetBandCells(parts, ThreeBands(), 10, 1, 4);
    EXPECT_EQ(parts.Cell(5, 4), "");
    EXPECT_EQ(parts.Cell(14, 4), "");
}

TEST_F(FilledTables, CellEditsAreValidatedPerColumn) {
    struct Case {
        InputTable table;
        int column;
        LengthUnit unit;
        const char* typed;
        int error;
        const char* stored;  // the cell afterwards
    };
    const Case cases[] = {
        {InputTable::Sheets, 1, kMm, "2750.06", 0, "2750.1"},
        {InputTable::Sheets, 2, kMm, "wide", 272, "REMEMBERED"},
        {InputTable::Sheets, 2, kMm, "", 272, "REMEMBERED"},
        {InputTable::Parts, 1, kFeetInches, "5 6 7", 277, "REMEMBERED"},
        {InputTable::Parts, 2, kFeetInches, "5' 6\"", 0, "5' 6\""},
        {InputTable::Sheets, 3, kMm, "1.5", 272, "REMEMBERED"},
        {InputTable::Parts, 3, kMm, "-2", 272, "REMEMBERED"},
        {InputTable::Parts, 3, kMm, "x", 272, "REMEMBERED"},
        {InputTable::Parts, 3, kMm, "0", 0, "0"},
        {InputTable::Sheets, 4, kMm, "any text", 0, "any text"},
        {InputTable::Parts, 4, kMm, "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " in column " + std::to_string(c.column));
        Project copy = project;
        TextGrid& grid = c.table == InputTable::Sheets ? copy.sheets : copy.parts;
        copy.RememberedCellText = "REMEMBERED";
        grid.SetCell(c.column, 2, c.typed);
        const TableOutcome outcome = c.table == InputTable::Sheets
                                         ? ValidateSheetCell(copy, c.column, 2, c.unit)
                                         : ValidatePartCell(copy, c.column, 2, c.unit);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(grid.Cell(c.column, 2), c.stored);
        EXPECT_TRUE(outcome.hidePreview);
        if (c.error != 0) {
            ASSERT_TRUE(outcome.notice);
            EXPECT_EQ(*outcome.notice, At(NoticeAnchor::Mouse, c.error));
        } else {
            EXPECT_FALSE(outcome.notice);
        }
    }
}

TEST_F(FilledTables, AnAcceptedQuantityRenewsTheTotal) {
    project.parts.SetCell(3, 1, "10");
    EXPECT_TRUE(ValidatePartCell(project, 3, 1, kMm).Ok());
    EXPECT_EQ(project.PartQuantityTotal, 15);
    EXPECT_EQ(PartTableCaption("Parts", project), "Parts (15)");
    project.sheets.SetCell(3, 2, "7");
    EXPECT_TRUE(ValidateSheetCell(project, 3, 2, kMm).Ok());
    EXPECT_EQ(project.SheetQuantityTotal, 9);
    EXPECT_EQ(SheetTableCaption("Sheets", project), "Sheets (9)");
}

TEST_F(FilledTables, ARejectedEditOfThePreviousTextComesBackWhole) {
    // Select, type, leave: the whole cycle restores what the cell had on selection.
    SelectCell(project, InputTable::Sheets, 1, 1, false);
    project.sheets.SetCell(1, 1, "5 6 7");
    EXPECT_EQ(ValidateSheetCell(project, 1, 1, kMm).error, 272);
    EXPECT_EQ(project.sheets.Cell(1, 1), "2800");
}

// ---- rows and totals --------------------------------------------------------------------

TEST_F(FilledTables, DeletingARowMovesTheRestUp) {
    AddPart(project, "100", "50", "6", "C");
    const auto question = DeleteRowQuestion(project, InputTable::Parts, 2);
    ASSERT_TRUE(question);
    EXPECT_EQ(*question, Question(At(NoticeAnchor::Mouse, 14)));
    ASSERT_TRUE(DeleteTableRow(project, InputTable::Parts, 2));
    EXPECT_EQ(project.PartRowCount, 2);
    EXPECT_EQ(project.PartQuantityTotal, 10);
    EXPECT_EQ(project.parts.Cell(4, 1), "A");
    EXPECT_EQ(project.parts.Cell(4, 2), "C");
    EXPECT_EQ(project.parts.Cell(6, 2), "-");
    for (int column = 1; column < kPartColumns; ++column)
        EXPECT_EQ(project.parts.Cell(column, 3), "") << column;
}

TEST_F(FilledTables, DeletingIsOnlyForFilledRows) {
    EXPECT_FALSE(DeleteRowQuestion(project, InputTable::Sheets, 3));
    EXPECT_FALSE(DeleteRowQuestion(project, InputTable::Sheets, 0));
    EXPECT_FALSE(DeleteTableRow(project, InputTable::Sheets, 3));
    EXPECT_EQ(project.SheetRowCount, 2);
}

TEST(DeleteRow, TheOnlyRowLeavesAnEmptyTable) {
    Project project;
    AddSheet(project, "2800", "2070", "4");
    ASSERT_TRUE(DeleteTableRow(project, InputTable::Sheets, 1));
    EXPECT_EQ(project.SheetRowCount, 0);
    EXPECT_EQ(project.SheetQuantityTotal, 0);
    EXPECT_EQ(SheetTableCaption("Ploce", project), "Ploce (0)");
    EXPECT_EQ(project.sheets.Cell(1, 1), "");
    EXPECT_EQ(EmptyTableClickFocus(project, InputTable::Sheets), "Edit2");
    EXPECT_EQ(EmptyTableClickFocus(project, InputTable::Parts), "Edit6");
    AddPart(project, "1", "1", "1");
    EXPECT_EQ(EmptyTableClickFocus(project, InputTable::Parts), "");
}

TEST_F(FilledTables, ClearingTheTables) {
    EXPECT_EQ(ClearTableQuestion(InputTable::Sheets),
              Question(At(NoticeAnchor::Control, 289, "BitBtn3", -200, 80)));
    EXPECT_EQ(ClearTableQuestion(InputTable::Parts),
              Question(At(NoticeAnchor::Mouse, 290, "", -220, 0)));

    ClearTable(project, InputTable::Sheets);
    EXPECT_EQ(project.SheetRowCount, 0);
    EXPECT_EQ(project.SheetQuantityTotal, 0);
    for (int column = 0; column < kSheetColumns; ++column)
        EXPECT_EQ(project.sheets.Cell(column, 2), " ");
    EXPECT_EQ(project.PartRowCount, 2);

    ClearTable(project, InputTable::Parts);
    EXPECT_EQ(project.PartRowCount, 0);
    EXPECT_EQ(project.PartQuantityTotal, 0);
    for (int column = 1; column < kPartColumns; ++column)
        EXPECT_EQ(project.parts.Cell(column, 1), "");

    // A cleared table fills from row 1 again, and a deleted last row is empty, not blanked.
    AddSheet(project, "500", "500", "1");
    EXPECT_EQ(project.sheets.Cell(1, 1), "500");
    EXPECT_EQ(project.SheetQuantityTotal, 1);
    ASSERT_TRUE(DeleteTableRow(project, InputTable::Sheets, 1));
    for (int column = 1; column < kSheetColumns; ++column)
        EXPECT_EQ(project.sheets.Cell(column, 1), "") << column;
}

TEST_F(FilledTables, GrainButtonAlternatesStartingWithOne) {
    const GrainToggle first = ToggleAllGrain(project);
    EXPECT_EQ(first.value, "1");
    EXPECT_EQ(first.buttonImage, 11);
    EXPECT_EQ(project.parts.Cell(5, 1), "1");
    EXPECT_EQ(project.parts.Cell(5, 2), "1");
    EXPECT_EQ(project.parts.Cell(5, 3), "");  // rows below stay empty
    const GrainToggle second = ToggleAllGrain(project);
    EXPECT_EQ(second.value, "0");
    EXPECT_EQ(second.buttonImage, 10);
    EXPECT_EQ(project.parts.Cell(5, 2), "0");
    EXPECT_EQ(ToggleAllGrain(project).value, "1");
}

TEST(Quantities, ParseWholeNumbersOnly) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"0", 0},
        {"17", 17},
        {"-4", -4},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483648", INT32_MIN},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1.0", std::nullopt},
        {"+3", std::nullopt},
        {"3 ", std::nullopt},
        {"1e3", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseQuantity(text), value) << text;
}

TEST(Quantities, TotalSkipsBadCellsAndSaturates) {
    TextGrid grid(kSheetColumns);
    grid.SetCell(3, 1, "5");
    grid.SetCell(3, 2, "x");
    grid.SetCell(3, 3, "7");
    grid.SetCell(3, 4, "100");  // below the filled rows
    EXPECT_EQ(QuantityTotal(grid, 3), 12);
    grid.SetCell(3, 1, "2147483647");
    EXPECT_EQ(QuantityTotal(grid, 3), INT32_MAX);
}

TEST(Captions, LanguageTextAndTotal) {
    EXPECT_EQ(TableCaption("Sheets", 0), "Sheets (0)");
    EXPECT_EQ(TableCaption("", 12), " (12)");
    Project project;
    project.PartQuantityTotal = 42;
    EXPECT_EQ(PartTableCaption("Delovi", project), "Delovi (42)");
}

TEST(UnitChange, LengthCellsAreRewrittenAndBadOnesCounted) {
    Project project;
    AddSheet(project, "2750", "1830", "1");
    AddPart(project, "600", "400", "1");
    project.parts.SetCell(10, 1, "1");
    project.parts.SetCell(12, 1, "junk");

    EXPECT_EQ(ConvertLengthCells(project, InputTable::Sheets, kMm, kCm), 0);
    EXPECT_EQ(project.sheets.Cell(1, 1), "275");
    EXPECT_EQ(project.sheets.Cell(2, 1), "183");
    EXPECT_EQ(project.sheets.Cell(3, 1), "1");

    EXPECT_EQ(ConvertLengthCells(project, InputTable::Parts, kMm, kCm), 1);
    EXPECT_EQ(project.parts.Cell(1, 1), "60");
    EXPECT_EQ(project.parts.Cell(10, 1), "0.1");
    EXPECT_EQ(project.parts.Cell(11, 1), "0");
    EXPECT_EQ(project.parts.Cell(12, 1), "junk");
}

}  // namespace
}  // namespace trimora
