#include "ui/bands_dialog.h"

#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/string_grid.h"
#include "ui/table_models.h"

namespace trimora {

namespace {
constexpr int kBandColumns = 5;
}

TBands::TBands(std::filesystem::path bandFile, TextSource text, QWidget* parent)
    : QDialog(parent), bandFile_(std::move(bandFile)), text_(std::move(text)) {
    setObjectName("TBands");
    setWindowTitle("Bands");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);
    resize(520, 330);

    StringGrid1 = new StringGridView(this);
    StringGrid1->setObjectName("StringGrid1");
    model_ = new TextGridModel(grid_, bandRows_, this);
    model_->SetTextColumns(0, kBandColumns - 1);
    // Band entry 0 (an edge without band) stays as it is.
    model_->SetFirstEditableRow(2);
    model_->SetShowEmptyRow(false);
    StringGrid1->setModel(model_);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGrid1->canSelect = [this](const QModelIndex& index, bool byMouse) {
        return CanSelectCell(index, byMouse);
    };
    connect(StringGrid1, &StringGridView::currentCellChanged, this, &TBands::CellSelected);
    connect(model_, &TextGridModel::cellEdited, this, &TBands::CellEdited);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Newbandtype1 = PopupMenu1->addAction("New band type");
    Newbandtype1->setObjectName("Newbandtype1");
    Deleterow1 = PopupMenu1->addAction("Delete row");
    Deleterow1->setObjectName("Deleterow1");
    connect(Newbandtype1, &QAction::triggered, this, &TBands::Newbandtype1Click);
    connect(Deleterow1, &QAction::triggered, this, &TBands::Deleterow1Click);
    connect(StringGrid1, &StringGridView::rightClicked, this,
            [this](const QModelIndex& index, const QPoint& pos) {
                if (index.isValid()) StringGrid1->setCurrentIndex(index);
                UpdateCommands();
                PopupMenu1->popup(pos);
            });
    connect(StringGrid1, &StringGridView::emptyAreaClicked, this, [this] {
        UpdateCommands();
        PopupMenu1->popup(QCursor::pos());
    });

    btnBandSave = new QPushButton("OK", this);
    btnBandSave->setObjectName("btnBandSave");
    btnBandSave->setDefault(false);
    btnBandSave->setAutoDefault(false);
    connect(btnBandSave, &QPushButton::clicked, this, &TBands::btnBandSaveClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnBandSave);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(buttons);

    const QStringList headers = {"Name", "Thickness", "Mark", "Allowance", "Price"};
    for (int c = 0; c < kBandColumns; ++c)
        model_->setHeaderData(c, Qt::Horizontal, headers[c], Qt::DisplayRole);
    FillGrid();
}

void TBands::ApplyTexts() {
    if (!text_) return;
    for (int c = 0; c < kBandColumns; ++c)
        model_->setHeaderData(c, Qt::Horizontal, text_(190 + c), Qt::DisplayRole);
}

void TBands::FillGrid() {}

void TBands::UpdateCommands() {
    // Deleting needs at least three band types, and never removes band entry 0.
    const QModelIndex current = StringGrid1->currentIndex();
    const int row = current.isValid() ? TextGridModel::GridRow(current) : 0;
    Deleterow1->setEnabled(bandRows_ + 1 > 3 && row >= 2 && row <= bandRows_ &&
                           !grid_.Cell(0, row).empty());
}

bool TBands::CanSelectCell(const QModelIndex& index, bool byMouse) {
    return true;
}

void TBands::CellSelected(const QModelIndex& index) {
    if (!index.isValid()) return;
    rememberedText_ = grid_.Cell(index.column(), TextGridModel::GridRow(index));
}

void TBands::CellEdited(int column, int gridRow) {}

void TBands::Newbandtype1Click() {
    ++bandRows_;
    model_->Reload();
    StringGrid1->setFocus();
    StringGrid1->setCurrentIndex(model_->index(bandRows_ - 1, 0));
}

void TBands::Deleterow1Click() {}

void TBands::btnBandSaveClick() {}

MessageAnswer TBands::Show(MessageKind kind, int number, std::optional<QPoint> position,
                           MessageButtons buttons) {
    return ShowLanguageMessage(text_, kind, number, position, buttons, this);
}

}  // namespace trimora
