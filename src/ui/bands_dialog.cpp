#include "ui/bands_dialog.h"

#include <QBrush>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/string_grid.h"

namespace trimora {

// ---- model --------------------------------------------------------------------------------

BandGridModel::BandGridModel(BandGrid& grid, QObject* parent)
    : CaptionedGridModel(kBandColumns, parent), grid_(grid) {}

int BandGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.RowCount() - 1;
}

int BandGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kBandColumns;
}

QVariant BandGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(grid_.Cell(index.column(), GridRow(index)));
    // Band entry 0 is a fixed row.
    if (role == Qt::BackgroundRole && GridRow(index) == 1)
        return QPalette().brush(QPalette::Button);
    return {};
}

bool BandGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || GridRow(index) < 2) return false;
    const std::string text = value.toString().toStdString();
    if (grid_.Cell(index.column(), GridRow(index)) == text) return true;
    grid_.SetCell(index.column(), GridRow(index), text);
    emit dataChanged(index, index);
    emit cellEdited(index.column(), GridRow(index));
    return true;
}

Qt::ItemFlags BandGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (GridRow(index) >= 2) f |= Qt::ItemIsEditable;
    return f;
}

void BandGridModel::Reload() {
    beginResetModel();
    endResetModel();
}

// ---- dialog -------------------------------------------------------------------------------

TBands::TBands(std::filesystem::path bandFile, TextSource text, QWidget* parent)
    : QDialog(parent), bandFile_(std::move(bandFile)), text_(std::move(text)) {
    setObjectName("TBands");
    setWindowTitle("Bands");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);
    resize(520, 330);

    StringGrid1 = new StringGridView(this);
    StringGrid1->setObjectName("StringGrid1");
    model_ = new BandGridModel(grid_, this);
    StringGrid1->setModel(model_);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(StringGrid1, &StringGridView::currentCellChanged, this, &TBands::CellSelected);
    connect(model_, &BandGridModel::cellEdited, this, &TBands::CellEdited);
    StringGrid1->canSelect = [this](const QModelIndex&, bool) {
        // A rejected edit keeps the selection on its cell.
        if (!StringGrid1->IsEditing()) return true;
        editRejected_ = false;
        StringGrid1->CommitEditor();
        return !editRejected_;
    };

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Newbandtype1 = PopupMenu1->addAction("New band type");
    Newbandtype1->setObjectName("Newbandtype1");
    Deleterow1 = PopupMenu1->addAction("Delete row");
    Deleterow1->setObjectName("Deleterow1");
    connect(Newbandtype1, &QAction::triggered, this, &TBands::Newbandtype1Click);
    connect(Deleterow1, &QAction::triggered, this, &TBands::Deleterow1Click);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TBands::UpdateCommands);
    connect(StringGrid1, &StringGridView::rightClicked, this,
            [this](const QModelIndex& index, const QPoint& pos) {
                if (index.isValid() && index != StringGrid1->currentIndex())
                    StringGrid1->setCurrentIndex(index);
                PopupMenu1->popup(pos);
            });

    btnBandSave = new QPushButton("OK", this);
    btnBandSave->setObjectName("btnBandSave");
    btnBandSave->setAutoDefault(false);
    connect(btnBandSave, &QPushButton::clicked, this, &TBands::btnBandSaveClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnBandSave);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(buttons);

    FillGrid();
}

void TBands::FillGrid() {
    // The main window reports a missing or damaged band file; here it only shows less.
    grid_ = BandGrid(LoadBandTypes(bandFile_).table);
    model_->Reload();
    UpdateCommands();
}

void TBands::UpdateCommands() {
    const QModelIndex current = StringGrid1->currentIndex();
    const int row = current.isValid() ? BandGridModel::GridRow(current) : 0;
    Deleterow1->setEnabled(grid_.DeleteEnabled() && grid_.CanDeleteRow(row));
}

void TBands::CellSelected(const QModelIndex& index) {
    if (!index.isValid()) return;
    grid_.SelectCell(index.column(), BandGridModel::GridRow(index));
    UpdateCommands();
}

void TBands::CellEdited(int column, int gridRow) {
    const BandCellCheck check = grid_.ValidateCell(column, gridRow, lengthUnit_);
    const QModelIndex cell = model_->index(gridRow - 1, column);
    emit model_->dataChanged(cell, cell);
    editRejected_ = check.error != 0;
    if (!editRejected_) return;
    // The editor is closing right now; the message and the way back to the cell wait until
    // it has gone.
    const QPersistentModelIndex back(cell);
    const int error = check.error;
    QTimer::singleShot(0, this, [this, back, error] {
        Show(MessageKind::Error, error, std::nullopt);
        if (back.isValid()) StringGrid1->setCurrentIndex(back);
        StringGrid1->setFocus(Qt::OtherFocusReason);
    });
}

void TBands::Newbandtype1Click() {
    if (const int error = grid_.AddRow(); error != 0) {
        Show(MessageKind::Error, error, std::nullopt);
        return;
    }
    model_->Reload();
    StringGrid1->setFocus(Qt::OtherFocusReason);
    StringGrid1->setCurrentIndex(model_->index(model_->rowCount() - 1, 0));
}

void TBands::Deleterow1Click() {
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid()) return;
    const int row = BandGridModel::GridRow(current);
    if (!grid_.CanDeleteRow(row)) return;
    if (Show(MessageKind::Confirmation, kTextDeleteBandType, QCursor::pos(),
             MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    grid_.DeleteRow(row);
    model_->Reload();
    const int rows = model_->rowCount();
    StringGrid1->setCurrentIndex(model_->index(std::min(row - 1, rows - 1), current.column()));
    UpdateCommands();
}

void TBands::btnBandSaveClick() {
    editRejected_ = false;
    StringGrid1->CommitEditor();
    if (editRejected_) return;
    if (const int error = SaveBandTypes(bandFile_, grid_.ToTable()); error != 0) {
        // The old file is still there; the user's rows stay in the grid for another try.
        Show(MessageKind::Error, error, std::nullopt);
        return;
    }
    FillGrid();
    if (onSaved) onSaved();
    accept();
}

MessageAnswer TBands::Show(MessageKind kind, int number, std::optional<QPoint> position,
                           MessageButtons buttons) {
    return ShowLanguageMessage(text_, kind, number, position, buttons, this);
}

}  // namespace trimora
