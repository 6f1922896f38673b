#include "ui/input_page.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/length_units.h"
#include "core/project.h"
#include "ui/glyphs.h"
#include "ui/string_grid.h"
#include "ui/table_models.h"

namespace trimora {

namespace {

constexpr int kEntryLeft = 6;  // left edge of the first quick-entry field in its panel
constexpr int kGrainColumn = 5;
constexpr int kFirstBandColumn = 6;
constexpr int kLastBandColumn = 9;

QLabel* NewLabel(const char* name, const char* caption, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* NewEdit(const char* name, int maxLength, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

QToolButton* NewToolButton(const char* name, const QIcon& icon, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setAutoRaise(true);
    return button;
}

bool IsCommitKey(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return true;
    // Character 20 (Ctrl+T) commits as well.
    if (event->text() == QString(QChar(20))) return true;
    return event->key() == Qt::Key_T && event->modifiers() == Qt::ControlModifier;
}

// A focus loss that is not a move to another control of the window (a message box, a menu,
// another window) does not count as leaving the field.
bool LeavesField(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
}

}  // namespace

InputPage::InputPage(Project& project, TextSource text, QWidget* parent)
    : QWidget(parent), project_(project), text_(std::move(text)) {
    setObjectName("pag1");

    panMainSheet = new QWidget(this);
    panMainSheet->setObjectName("panMainSheet");
    panMainPart = new QWidget(this);
    panMainPart->setObjectName("panMainPart");
    auto* bottom = new QWidget(this);
    bottom->setObjectName("panMainAlg");

    BuildSheetPanel(panMainSheet);
    BuildPartPanel(panMainPart);
    BuildBottomPanel(bottom);

    auto* tables = new QHBoxLayout;
    tables->setContentsMargins(0, 0, 0, 0);
    tables->addWidget(panMainSheet, 36);
    tables->addWidget(panMainPart, 64);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addLayout(tables, 1);
    page->addWidget(bottom);

    SetDefaultCaptions();
    SetTabOrder();
    SetBanding(false);
    ResetGrainToggle();
}

void InputPage::BuildSheetPanel(QWidget* panel) {
    Label15 = NewLabel("Label15", "TABLE", panel);
    QFont bold = Label15->font();
    bold.setBold(true);
    Label15->setFont(bold);
    BitBtn1 = NewToolButton("BitBtn1", style()->standardIcon(QStyle::SP_FileIcon), panel);
    BitBtn3 = NewToolButton("BitBtn3", style()->standardIcon(QStyle::SP_TrashIcon), panel);
    // Printing the list arrives with the table printouts.
    BitBtn1->setEnabled(false);
    connect(BitBtn3, &QToolButton::clicked, this, &InputPage::BitBtn3Click);

    auto* title = new QHBoxLayout;
    title->addWidget(Label15, 1);
    title->addWidget(BitBtn1);
    title->addWidget(BitBtn3);

    Label1 = NewLabel("Label1", "OPIS", panel);
    Label2 = NewLabel("Label2", "DUZINA", panel);
    Label6 = NewLabel("Label6", "VISINA", panel);
    Label3 = NewLabel("Label3", "KOM", panel);
    Edit1 = NewEdit("Edit1", 20, QString(), panel);
    Edit2 = NewEdit("Edit2", 20, QString(), panel);
    Edit3 = NewEdit("Edit3", 20, QString(), panel);
    Edit4 = NewEdit("Edit4", 4, "1", panel);
    // Letters typed into the sheet length are shown in capitals.
    connect(Edit2, &QLineEdit::textEdited, this, [this](const QString& t) {
        const QString upper = t.toUpper();
        if (upper == t) return;
        const int cursor = Edit2->cursorPosition();
        Edit2->setText(upper);
        Edit2->setCursorPosition(cursor);
    });

    auto* entry = new QGridLayout;
    entry->setHorizontalSpacing(6);
    entry->setVerticalSpacing(1);
    const QList<QPair<QLabel*, QLineEdit*>> fields = {
        {Label1, Edit1}, {Label2, Edit2}, {Label6, Edit3}, {Label3, Edit4}};
    const int stretch[] = {30, 25, 25, 12};
    for (int i = 0; i < fields.size(); ++i) {
        entry->addWidget(fields[i].first, 0, i);
        entry->addWidget(fields[i].second, 1, i);
        entry->setColumnStretch(i, stretch[i]);
    }

    StringGrid1 = new StringGridView(panel);
    StringGrid1->setObjectName("StringGrid1");
    sheetModel_ = new TextGridModel(project_.sheets, project_.SheetRowCount, this);
    sheetModel_->SetTextColumns(1, kSheetColumns - 1);
    StringGrid1->setModel(sheetModel_);
    StringGrid1->setColumnHidden(0, true);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    PopupMenu2 = new QMenu(StringGrid1);
    PopupMenu2->setObjectName("PopupMenu2");
    Deleterow2 = PopupMenu2->addAction("Delete row");
    Deleterow2->setObjectName("Deleterow2");
    connect(Deleterow2, &QAction::triggered, this, &InputPage::Deleterow2Click);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);
    layout->addLayout(title);
    layout->addLayout(entry);
    layout->addWidget(StringGrid1, 1);

    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4}) edit->installEventFilter(this);
    StringGrid1->installEventFilter(this);
}

void InputPage::BuildPartPanel(QWidget* panel) {
    Label21 = NewLabel("Label21", "ELEMENTI", panel);
    QFont bold = Label21->font();
    bold.setBold(true);
    Label21->setFont(bold);
    BitBtn2 = NewToolButton("BitBtn2", style()->standardIcon(QStyle::SP_FileIcon), panel);
    BitBtn16 = NewToolButton("BitBtn16", GrainIcon(true), panel);
    BitBtn4 = NewToolButton("BitBtn4", style()->standardIcon(QStyle::SP_TrashIcon), panel);
    BitBtn2->setEnabled(false);
    connect(BitBtn4, &QToolButton::clicked, this, &InputPage::BitBtn4Click);
    connect(BitBtn16, &QToolButton::clicked, this, &InputPage::BitBtn16Click);

    auto* title = new QHBoxLayout;
    title->addWidget(Label21, 1);
    title->addWidget(BitBtn2);
    title->addWidget(BitBtn16);
    title->addWidget(BitBtn4);

    // The entry fields are placed by PanMainPartResize, proportional to the panel's width.
    partEntry_ = new QWidget(panel);
    partEntry_->setObjectName("panMainPartEntry");
    Label10 = NewLabel("Label10", "INICIJALI ELEM.", partEntry_);
    Label11 = NewLabel("Label11", "DUZINA", partEntry_);
    Label48 = NewLabel("Label48", "KD", partEntry_);
    Label52 = NewLabel("Label52", "VISINA", partEntry_);
    Label53 = NewLabel("Label53", "KV", partEntry_);
    Label12 = NewLabel("Label12", "KOM", partEntry_);
    Label42 = NewLabel("Label42", "Band", partEntry_);
    Image13 = new QLabel(partEntry_);
    Image13->setObjectName("Image13");
    Image13->setPixmap(TimesPixmap(10));
    Image13->setAlignment(Qt::AlignCenter);
    Edit5 = NewEdit("Edit5", 6, " ", partEntry_);
    Edit6 = NewEdit("Edit6", 20, QString(), partEntry_);
    Edit16 = NewEdit("Edit16", 2, "0", partEntry_);
    Edit7 = NewEdit("Edit7", 20, QString(), partEntry_);
    Edit17 = NewEdit("Edit17", 2, "0", partEntry_);
    Edit8 = NewEdit("Edit8", 4, "1", partEntry_);
    ComboBox2 = new QComboBox(partEntry_);
    ComboBox2->setObjectName("ComboBox2");
    const int labelHeight = Label10->sizeHint().height();
    const int editHeight = Edit5->sizeHint().height();
    partEntry_->setFixedHeight(labelHeight + 1 +
                               std::max(editHeight, ComboBox2->sizeHint().height()));

    StringGrid2 = new StringGridView(panel);
    StringGrid2->setObjectName("StringGrid2");
    partModel_ = new TextGridModel(project_.parts, project_.PartRowCount, this);
    partModel_->SetTextColumns(1, 4);
    partModel_->SetGrainColumn(kGrainColumn);
    StringGrid2->setModel(partModel_);
    StringGrid2->setItemDelegateForColumn(kGrainColumn, new GrainDelegate(StringGrid2));
    StringGrid2->setColumnHidden(0, true);
    for (int c = 10; c < kPartColumns; ++c) StringGrid2->setColumnHidden(c, true);
    // The leftmost visible column is always column 1.
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid2->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    ComboBox1 = new QComboBox(StringGrid2->viewport());
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->hide();
    connect(ComboBox1, &QComboBox::activated, this, &InputPage::BandPicked);
    connect(StringGrid2->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &InputPage::HideBandPicker);

    PopupMenu1 = new QMenu(StringGrid2);
    PopupMenu1->setObjectName("PopupMenu1");
    Deleterow1 = PopupMenu1->addAction("Delete row");
    Deleterow1->setObjectName("Deleterow1");
    connect(Deleterow1, &QAction::triggered, this, &InputPage::Deleterow1Click);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);
    layout->addLayout(title);
    layout->addWidget(partEntry_);
    layout->addWidget(StringGrid2, 1);

    for (QLineEdit* edit : {Edit5, Edit6, Edit16, Edit7, Edit17, Edit8})
        edit->installEventFilter(this);
    partEntry_->installEventFilter(this);
    StringGrid2->installEventFilter(this);
    ComboBox1->installEventFilter(this);

    for (StringGridView* grid : {StringGrid1, StringGrid2}) {
        grid->canSelect = [this, grid](const QModelIndex& index, bool byMouse) {
            return CanSelectCell(grid, index, byMouse);
        };
        connect(grid, &StringGridView::currentCellChanged, this,
                [this, grid](const QModelIndex& index) { CellSelected(grid, index); });
        connect(grid, &StringGridView::rightClicked, this,
                [this, grid](const QModelIndex& index, const QPoint& pos) {
                    GridRightClick(grid, index, pos);
                });
        connect(grid, &StringGridView::emptyAreaClicked, this,
                [this, grid] { GridEmptyClick(grid); });
    }
    connect(sheetModel_, &TextGridModel::cellEdited, this,
            [this](int column, int row) { CellEdited(StringGrid1, column, row); });
    connect(partModel_, &TextGridModel::cellEdited, this,
            [this](int column, int row) { CellEdited(StringGrid2, column, row); });
}

void InputPage::BuildBottomPanel(QWidget* panel) {
    auto* algorithm = new QWidget(panel);
    algorithm->setObjectName("panMainStart");
    Button4 = new QPushButton("AUTOMATSKI ", algorithm);
    Button4->setObjectName("Button4");
    Button1 = new QPushButton("MANUELNI", algorithm);
    Button1->setObjectName("Button1");
    BitBtn15 = new QPushButton("DOBAR VISAK", algorithm);
    BitBtn15->setObjectName("BitBtn15");
    TableMinus = new QPushButton("ODUZIMANJE TABLI", algorithm);
    TableMinus->setObjectName("TableMinus");
    // The runs and the stock bookkeeping are wired by the optimiser; until then the
    // buttons are shown but cannot be pressed.
    for (QPushButton* b : {Button4, Button1, BitBtn15, TableMinus}) {
        b->setEnabled(false);
        b->setMinimumHeight(30);
    }
    QFont big = Button4->font();
    big.setBold(true);
    Button4->setFont(big);
    Button1->setFont(big);
    auto* buttons = new QGridLayout(algorithm);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(Button4, 0, 0);
    buttons->addWidget(Button1, 0, 1);
    buttons->addWidget(BitBtn15, 1, 0);
    buttons->addWidget(TableMinus, 1, 1);

    auto* stats = new QWidget(panel);
    stats->setObjectName("panMainStat");
    auto* grid = new QGridLayout(stats);
    grid->setContentsMargins(6, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    // Caption label, value label: the value labels are right-aligned.
    const struct {
        const char* caption;
        const char* captionText;
        const char* value;
    } rows[] = {
        {"Label23", "BROJ UNETIH ELEMENATA", "Label34"},
        {"Label24", "BROJ ISKORISTENIH ELEMENATA->", "Label33"},
        {"Label25", "BROJ ISKORISTENIH TABLI->", "Label32"},
        {"Label26", "POVRSINA ISKORISTENIH ELEMENATA->", "Label31"},
        {"Label27", "PROSECAN STEPEN ISKORISTENOSTI(%)->", "Label30"},
        {"Label28", "STEPEN  ISKOR. POSLEDNJE TABLE (%)->", "Label29"},
        {"Label40", "REZANJE U DUZINSKIM METRIMA (m)", "Label41"},
        {"Label54", "DUZINA KANTOVANJA (m) ->", "Label55"},
    };
    int i = 0;
    for (const auto& row : rows) {
        QLabel* caption = NewLabel(row.caption, row.captionText, stats);
        QLabel* value = NewLabel(row.value, "---", stats);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(70);
        // Two columns of four caption/value pairs.
        const int r = i % 4;
        const int c = (i / 4) * 2;
        grid->addWidget(caption, r, c);
        grid->addWidget(value, r, c + 1);
        statCaptions_.append(caption);
        statValues_.append(value);
        ++i;
    }
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(2, 3);

    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(2, 4, 2, 2);
    layout->addWidget(algorithm, 0);
    layout->addWidget(stats, 1);
}

void InputPage::SetDefaultCaptions() {
    const QStringList sheetHeaders = {"", "DUZINA", "VISINA", "KOM", "OPIS"};
    for (int c = 0; c < sheetHeaders.size(); ++c)
        sheetModel_->setHeaderData(c, Qt::Horizontal, sheetHeaders[c], Qt::DisplayRole);
    const QStringList partHeaders = {"", "DUZINA", "VISINA", "KOM", "INICIJALI",
                                     "", "KD",     "KD",     "KV",  "KV"};
    for (int c = 0; c < partHeaders.size(); ++c)
        partModel_->setHeaderData(c, Qt::Horizontal, partHeaders[c], Qt::DisplayRole);
}

void InputPage::SetTabOrder() {
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, StringGrid1);
    setTabOrder(StringGrid1, Edit5);
    setTabOrder(Edit5, Edit6);
    setTabOrder(Edit6, Edit16);
    setTabOrder(Edit16, Edit7);
    setTabOrder(Edit7, Edit17);
    setTabOrder(Edit17, Edit8);
    setTabOrder(Edit8, ComboBox2);
    setTabOrder(ComboBox2, StringGrid2);
}

void InputPage::SetBanding(bool on) {
    banding_ = on;
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label48, Edit16, Label53, Edit17, Label42, ComboBox2}) {
        w->setVisible(on);
        w->setEnabled(on);
    }
    PanMainPartResize();
}

void InputPage::SetBandNames(const QStringList& names) {
    bandNames_ = names;
    ComboBox2->clear();
    ComboBox2->addItems(names);
    if (!names.isEmpty()) ComboBox2->setCurrentIndex(0);
    ComboBox1->clear();
    ComboBox1->addItems(names);
}

void InputPage::SetDefaultSheetSize(const QString& length, const QString& width) {
    Edit2->setText(length);
    Edit3->setText(width);
}

void InputPage::ApplyTexts() {
    UpdateTitles();
}

void InputPage::UpdateTitles() {
    const QString sheets = text_ ? text_(130) : QString();
    const QString parts = text_ ? text_(131) : QString();
    Label15->setText(sheets + " (" + QString::number(project_.SheetQuantityTotal) + ")");
    Label21->setText(parts + " (" + QString::number(project_.PartQuantityTotal) + ")");
}

void InputPage::RefreshTables() {
    HideBandPicker();
    sheetModel_->Reload();
    partModel_->Reload();
    UpdateTitles();
}

void InputPage::ClearStatistics() {
    for (QLabel* value : statValues_) {
        // Label29..Label34, Label41, Label55.
        value->clear();
    }
}

void InputPage::ResetGrainToggle() {
    grainNextKeep_ = true;
    BitBtn16->setIcon(GrainIcon(true));
}

void InputPage::HideBandPicker() {
    ComboBox1->hide();
}

void InputPage::Changed() {
    emit inputChanged();
}

MessageAnswer InputPage::Show(MessageKind kind, int number, std::optional<QPoint> position,
                              MessageButtons buttons) {
    return ShowLanguageMessage(text_, kind, number, position, buttons, this);
}

// ---- layout -------------------------------------------------------------------------------

void InputPage::PanMainPartResize() {
    if (partEntry_ == nullptr) return;
    const int labelHeight = Label10->sizeHint().height();
    const int fieldTop = labelHeight + 1;
    const int fieldHeight = partEntry_->height() - fieldTop;
    int x = kEntryLeft;
    auto place = [&](QWidget* field, QLabel* label, int width, int gapAfter) {
        field->setGeometry(x, fieldTop, width, fieldHeight);
        if (label != nullptr) label->setGeometry(x, 0, width, labelHeight);
        x += width + gapAfter;
    };
    const double panelWidth = partEntry_->width();
    if (banding_) {
        const double b = panelWidth - kEntryLeft - 60;
        place(Edit5, Label10, static_cast<int>(0.15 * b), 10);
        place(Edit6, Label11, static_cast<int>(0.25 * b), 10);
        place(Edit16, Label48, static_cast<int>(0.05 * b), 0);
        Image13->setGeometry(x, fieldTop, 10, fieldHeight);
        x += 10;
        place(Edit7, Label52, static_cast<int>(0.25 * b), 10);
        place(Edit17, Label53, static_cast<int>(0.05 * b), 10);
        place(Edit8, Label12, static_cast<int>(0.1 * b), 10);
        place(ComboBox2, Label42, static_cast<int>(0.1 * b), 10);
    } else {
        const double b = panelWidth - kEntryLeft - 30;
        place(Edit5, Label10, static_cast<int>(0.2 * b), 10);
        place(Edit6, Label11, static_cast<int>(0.3 * b), 0);
        Image13->setGeometry(x, fieldTop, 10, fieldHeight);
        x += 10;
        place(Edit7, Label52, static_cast<int>(0.3 * b), 10);
        place(Edit8, Label12, static_cast<int>(0.15 * b), 10);
    }

    const double g = StringGrid2->width() - 28;
    QHeaderView* header = StringGrid2->horizontalHeader();
    auto width = [g](double f) { return static_cast<int>(f * g); };
    int column5;
    if (banding_) {
        header->resizeSection(1, width(0.18));
        header->resizeSection(2, width(0.18));
        header->resizeSection(3, width(0.06));
        header->resizeSection(4, width(0.06));
        column5 = width(0.06);
        for (int c = 6; c <= 8; ++c) header->resizeSection(c, width(0.115));
        header->resizeSection(9, width(0.114));
    } else {
        header->resizeSection(1, width(0.3));
        header->resizeSection(2, width(0.3));
        header->resizeSection(3, width(0.1));
        header->resizeSection(4, width(0.2));
        column5 = width(0.1);
    }
    const int extra =
        static_cast<int>(g) - (2 * width(0.3) + width(0.1) + width(0.2) + width(0.1) + 1);
    if (extra > 0) column5 += extra;
    header->resizeSection(kGrainColumn, column5);
    for (int c = kFirstBandColumn; c <= kLastBandColumn; ++c)
        StringGrid2->setColumnHidden(c, !banding_);
    HideBandPicker();
}

void InputPage::LayoutSheetColumns() {
    const double g = StringGrid1->width() - 28;
    QHeaderView* header = StringGrid1->horizontalHeader();
    header->resizeSection(1, static_cast<int>(0.25 * g));
    header->resizeSection(2, static_cast<int>(0.25 * g));
    header->resizeSection(3, static_cast<int>(0.15 * g));
    header->resizeSection(4, static_cast<int>(0.35 * g));
}

bool InputPage::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Resize:
            if (watched == partEntry_ || watched == StringGrid2) PanMainPartResize();
            if (watched == StringGrid1) LayoutSheetColumns();
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (auto* edit = qobject_cast<QLineEdit*>(watched)) return EntryKeyPress(edit, key);
            if (watched == StringGrid2 && key->key() == Qt::Key_Space) {
                const QModelIndex current = StringGrid2->currentIndex();
                if (current.column() == kGrainColumn && partModel_->IsFilledRow(current) &&
                    !StringGrid2->IsEditing()) {
                    ToggleGrain(TextGridModel::GridRow(current));
                    return true;
                }
            }
            break;
        }
        case QEvent::FocusOut: {
            auto* focus = static_cast<QFocusEvent*>(event);
            if (watched == Edit2 || watched == Edit3 || watched == Edit6 || watched == Edit7) {
                if (LeavesField(focus)) LengthFieldExit(static_cast<QLineEdit*>(watched));
            } else if (watched == ComboBox1 && focus->reason() != Qt::PopupFocusReason) {
                HideBandPicker();
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- quick entry --------------------------------------------------------------------------

bool InputPage::EntryKeyPress(QLineEdit* edit, QKeyEvent* event) {
    const bool commit = IsCommitKey(event);
    if ((edit == Edit2 || edit == Edit3) && event->key() == Qt::Key_Down) {
        Edit5->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (edit == Edit8 && event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) {
        AppendPart();
        return true;
    }
    if (!commit) return false;
    if (edit == Edit1) {
        Edit2->setFocus(Qt::TabFocusReason);
    } else if (edit == Edit2) {
        Edit3->setFocus(Qt::TabFocusReason);
    } else if (edit == Edit3) {
        Edit4->setFocus(Qt::TabFocusReason);
    } else if (edit == Edit4) {
        AppendSheet();
    } else if (edit == Edit5) {
        Edit6->setFocus(Qt::TabFocusReason);
    } else if (edit == Edit6) {
        (banding_ ? Edit16 : Edit7)->setFocus(Qt::TabFocusReason);
    } else if (edit == Edit16) {
        BandCountCommit(Edit16, Edit7);
    } else if (edit == Edit7) {
        (banding_ ? Edit17 : Edit8)->setFocus(Qt::TabFocusReason);
    } else if (edit == Edit17) {
        BandCountCommit(Edit17, Edit8);
    } else if (edit == Edit8) {
        AppendPart();
    }
    return true;
}

void InputPage::BandCountCommit(QLineEdit* edit, QWidget* next) {
    const QString t = edit->text();
    if (t == "0" || t == "1" || t == "2") {
        next->setFocus(Qt::TabFocusReason);
        return;
    }
    Show(MessageKind::Plain, 18, std::nullopt);
    edit->clear();
}

void InputPage::LengthFieldExit(QLineEdit* edit) {
    if (edit->text().isEmpty()) return;
    const NormalizedLength result = NormalizeLengthText(edit->text().toStdString(), lengthUnit_);
    if (result.error == 0) {
        edit->setText(QString::fromStdString(result.text));
        return;
    }
    const QPoint position =
        (edit == Edit2 || edit == Edit3) ? FormPosition(edit, -80, 120) : QCursor::pos();
    Show(MessageKind::Error, result.error, position);
    edit->clear();
    // The focus is moving elsewhere right now; take it back once that has happened.
    QTimer::singleShot(0, edit, [edit] { edit->setFocus(Qt::OtherFocusReason); });
}

void InputPage::AppendSheet() {}

void InputPage::AppendPart() {}

// ---- tables -------------------------------------------------------------------------------

bool InputPage::CanSelectCell(StringGridView* grid, const QModelIndex& index, bool byMouse) {
    auto* model = static_cast<TextGridModel*>(grid->model());
    if (!model->IsFilledRow(index)) {
        Show(MessageKind::Error, 13, FormPosition(grid, 100, 150));
        if (byMouse && model->FilledRows() == 0)
            (grid == StringGrid1 ? Edit2 : Edit6)->setFocus(Qt::MouseFocusReason);
        return false;
    }
    if (grid == StringGrid2 && index.column() == kGrainColumn && byMouse) {
        ToggleGrain(TextGridModel::GridRow(index));
        return false;
    }
    return true;
}

void InputPage::CellSelected(StringGridView* grid, const QModelIndex& index) {
    HideBandPicker();
    if (!index.isValid()) return;
    auto* model = static_cast<TextGridModel*>(grid->model());
    project_.RememberedCellText =
        model->CellText(index.column(), TextGridModel::GridRow(index)).toStdString();
    if (grid == StringGrid2 && banding_ && index.column() >= kFirstBandColumn &&
        index.column() <= kLastBandColumn && model->IsFilledRow(index))
        ShowBandPicker(index);
}

void InputPage::CellEdited(StringGridView* grid, int column, int gridRow) {}

void InputPage::ToggleGrain(int gridRow) {}

void InputPage::ShowBandPicker(const QModelIndex& index) {
    bandPickerColumn_ = index.column();
    bandPickerRow_ = TextGridModel::GridRow(index);
    ComboBox1->setGeometry(StringGrid2->visualRect(index));
    ComboBox1->setCurrentIndex(
        ComboBox1->findText(partModel_->CellText(bandPickerColumn_, bandPickerRow_)));
    ComboBox1->show();
    ComboBox1->raise();
    ComboBox1->setFocus(Qt::MouseFocusReason);
}

void InputPage::BandPicked(int entry) {}

void InputPage::GridRightClick(StringGridView* grid, const QModelIndex& index,
                               const QPoint& globalPos) {
    auto* model = static_cast<TextGridModel*>(grid->model());
    if (model->FilledRows() == 0) return;
    if (model->IsFilledRow(index) && !(grid == StringGrid2 && index.column() == kGrainColumn))
        grid->setCurrentIndex(index);
    (grid == StringGrid2 ? PopupMenu1 : PopupMenu2)->popup(globalPos);
}

void InputPage::GridEmptyClick(StringGridView* grid) {
    auto* model = static_cast<TextGridModel*>(grid->model());
    if (model->FilledRows() == 0)
        (grid == StringGrid1 ? Edit2 : Edit6)->setFocus(Qt::MouseFocusReason);
}

void InputPage::Deleterow1Click() {
    DeleteRow(StringGrid2);
}

void InputPage::Deleterow2Click() {
    DeleteRow(StringGrid1);
}

void InputPage::DeleteRow(StringGridView* grid) {}

void InputPage::BitBtn3Click() {}

void InputPage::BitBtn4Click() {}

void InputPage::BitBtn16Click() {}

}  // namespace trimora
