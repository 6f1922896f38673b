// The input page of the main window: quick entry of sheets and parts, the two tables, the
// run buttons and the statistics panel.
#pragma once

#include <QWidget>

#include "ui/form_messages.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QToolButton;

namespace trimora {

struct BandTable;
struct Notice;
struct StatisticsPanel;
struct Project;
struct TableOutcome;
class StringGridView;
class TextGridModel;
enum class InputTable;

class InputPage : public QWidget {
    Q_OBJECT
public:
    // bands: the main window's band table, read whenever a band is written into a part.
    InputPage(Project& project, const BandTable& bands, TextSource text, QWidget* parent = nullptr);

    // Settings the page works with; the main window passes them on whenever they change.
    void SetLengthUnit(int unit) { lengthUnit_ = unit; }
    void SetBanding(bool on);
    bool Banding() const { return banding_; }
    // Refills the band lists from the band table.
    void RefreshBandLists();

    void SetDefaultSheetSize(const QString& length, const QString& width);

    // Sets the composed captions (table titles with totals) and the table headers from the
    // language texts; called after the language is applied.
    void ApplyTexts();
    // Re-reads the tables from the project (after the core replaced or emptied them).
    void RefreshTables();
    // Empties the statistics values.
    void ClearStatistics();
    // Shows the values of the last run and the captions that carry its units.
    void ShowStatistics(const StatisticsPanel& panel);
    // Selects a cell of a table (grid row from 1), e.g. the one that stopped a run.
    void FocusCell(InputTable table, int column, int row);
    // The first press of the grain toggle after this sets every grain flag to "1".
    void ResetGrainToggle();
    // Good offcuts to stock and subtracting used sheets act once per result.
    void SetStockButtonsEnabled(bool enabled);
    void HideBandPicker();

    void PanMainPartResize();

signals:
    // Any change of the input; the result shown on the preview page is stale now.
    void inputChanged();
    // Button4: the automatic run.
    void automaticRunRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildSheetPanel(QWidget* panel);
    void BuildPartPanel(QWidget* panel);
    void BuildBottomPanel(QWidget* panel);
    void SetDefaultCaptions();
    void SetTabOrder();
    void LayoutSheetColumns();

    // Key handling of the quick-entry fields; true when the key was used.
    bool EntryKeyPress(QLineEdit* edit, QKeyEvent* event);
    void LengthFieldExit(QLineEdit* edit);
    void AppendSheet();
    void AppendPart();

    bool CanSelectCell(StringGridView* grid, const QModelIndex& index, bool byMouse);
    void CellSelected(StringGridView* grid, const QModelIndex& index);
    void CellEdited(StringGridView* grid, int column, int gridRow);
    void ToggleGrain(int gridRow);
    void ShowBandPicker(const QModelIndex& index);
    void BandPicked(int entry);

    // Carries out what a table operation asks for: its message, the new field texts, the
    // focus and hiding the preview page. deferFocus when the focus is moving right now.
    void CarryOut(const TableOutcome& outcome, bool deferFocus = false);
    MessageAnswer ShowNotice(const Notice& notice);
    void GridRightClick(StringGridView* grid, const QModelIndex& index, const QPoint& globalPos);
    void GridEmptyClick(StringGridView* grid);

public:
    // Handlers with the controls' names.
    void Deleterow1Click();  // part table
    void Deleterow2Click();  // sheet table
    void BitBtn3Click();     // clear the sheet table
    void BitBtn4Click();     // clear the part table
    void BitBtn16Click();    // grain flags of all parts

private:
    void DeleteRow(StringGridView* grid);
    void UpdateTitles();
    void UpdateGrainButton(bool setsOne);
    void Changed();
    TextGridModel* ModelOf(StringGridView* grid) const;

    Project& project_;
    const BandTable& bands_;
    TextSource text_;
    int lengthUnit_ = 1;
    bool banding_ = false;
    int lastEditError_ = 0;
    bool pickerPending_ = false;

    TextGridModel* sheetModel_ = nullptr;
    TextGridModel* partModel_ = nullptr;

    QWidget* panMainSheet = nullptr;
    QWidget* panMainPart = nullptr;
    QWidget* partEntry_ = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label48 = nullptr;
    QLabel* Label52 = nullptr;
    QLabel* Label53 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label42 = nullptr;
    QLabel* Image13 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit16 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit17 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    StringGridView* StringGrid1 = nullptr;
    StringGridView* StringGrid2 = nullptr;
    QToolButton* BitBtn1 = nullptr;
    QToolButton* BitBtn2 = nullptr;
    QToolButton* BitBtn3 = nullptr;
    QToolButton* BitBtn4 = nullptr;
    QToolButton* BitBtn16 = nullptr;
    QMenu* PopupMenu1 = nullptr;  // part table
    QMenu* PopupMenu2 = nullptr;  // sheet table
    QAction* Deleterow1 = nullptr;
    QAction* Deleterow2 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* BitBtn15 = nullptr;
    QPushButton* TableMinus = nullptr;
    QList<QLabel*> statCaptions_;
    QList<QLabel*> statValues_;
    int bandPickerColumn_ = 0;
    int bandPickerRow_ = 0;
};

}  // namespace trimora
