// The edge band types dialog: a grid of the band file's records, edited in place, with
// commands to add and delete band types; OK writes the band file.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <filesystem>
#include <functional>

#include "config/band_table.h"
#include "ui/form_messages.h"
#include "ui/table_models.h"

class QAction;
class QMenu;
class QPushButton;

namespace trimora {

class StringGridView;

// Shows a BandGrid: model row r is grid row r + 1, so model row 0 is band entry 0.
class BandGridModel : public CaptionedGridModel {
    Q_OBJECT
public:
    explicit BandGridModel(BandGrid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static int GridRow(const QModelIndex& index) { return index.row() + 1; }
    // Call after the grid was replaced or changed its rows.
    void Reload();

signals:
    void cellEdited(int column, int gridRow);

private:
    BandGrid& grid_;
};

class TBands : public QDialog {
    Q_OBJECT
public:
    TBands(std::filesystem::path bandFile, TextSource text, QWidget* parent = nullptr);

    void SetLengthUnit(LengthUnit unit) { lengthUnit_ = unit; }
    // Called after OK has written the band file (the main window reloads its band lists).
    std::function<void()> onSaved;

    // Fills the grid from the band file.
    void FillGrid();
    const BandGrid& Grid() const { return grid_; }

    void Newbandtype1Click();
    void Deleterow1Click();
    void btnBandSaveClick();

private:
    void CellSelected(const QModelIndex& index);
    void CellEdited(int column, int gridRow);
    void UpdateCommands();
    MessageAnswer Show(MessageKind kind, int number, std::optional<QPoint> position,
                       MessageButtons buttons = MessageButtons::Ok);

    std::filesystem::path bandFile_;
    TextSource text_;
    LengthUnit lengthUnit_ = 1;
    BandGrid grid_;
    bool editRejected_ = false;

    BandGridModel* model_ = nullptr;
    StringGridView* StringGrid1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Newbandtype1 = nullptr;
    QAction* Deleterow1 = nullptr;
    QPushButton* btnBandSave = nullptr;
};

}  // namespace trimora
