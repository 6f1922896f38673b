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
#include "core/tables.h"
#include "output/report.h"
#include "ui/glyphs.h"
#include "ui/string_grid.h"
#include "ui/table_models.h"

namespace trimora {

namespace {

constexpr int kEntryLeft = 6;  // left edge of the first quick-entry field in its panel

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

// A focus loss that is not a move to another control of the window (a message box, a menu,
// another window) does not count as leaving the field.
bool LeavesField(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
}

}  // namespace

InputPage::InputPage(Project& project, const BandTable& bands, TextSource text, QWidget* parent)
    : QWidget(parent), project_(project), bands_(bands), text_(std::move(text)) {
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
    // The manual run and the stock bookkeeping are not wired yet: shown but not pressable.
    // The stock buttons act once per result and wait for a run in any case.
    for (QPushButton* b : {Button4, Button1, BitBtn15, TableMinus}) {
        b->setEnabled(b == Button4);
        b->setMinimumHeight(30);
    }
    connect(Button4, &QPushButton::clicked, this, &InputPage::automaticRunRequested);
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
    // The captions are long; a slightly smaller font keeps them whole at the minimum width.
    QFont small = stats->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    stats->setFont(small);
    auto* grid = new QGridLayout(stats);
    grid->setContentsMargins(6, 0, 0, 0);
    grid->setHorizontalSpacing(6);
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
        value->setMinimumWidth(48);
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

void InputPage::RefreshBandLists() {
    QStringList names;
    for (const std::string& name : bands_.Names()) names.append(QString::fromStdString(name));
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
    Label15->setText(QString::fromStdString(SheetTableCaption(sheets.toStdString(), project_)));
    Label21->setText(QString::fromStdString(PartTableCaption(parts.toStdString(), project_)));
}

void InputPage::RefreshTables() {
    HideBandPicker();
    sheetModel_->Reload();
    partModel_->Reload();
    UpdateTitles();
}

void InputPage::SetStockButtonsEnabled(bool enabled) {
    BitBtn15->setEnabled(enabled);
    TableMinus->setEnabled(enabled);
}

void InputPage::ClearStatistics() {
    for (QLabel* value : statValues_) {
        // Label29..Label34, Label41, Label55.
        value->clear();
    }
}

void InputPage::ShowStatistics(const StatisticsPanel& panel) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"Label34", &panel.Label34}, {"Label33", &panel.Label33}, {"Label32", &panel.Label32},
        {"Label31", &panel.Label31}, {"Label30", &panel.Label30}, {"Label29", &panel.Label29},
        {"Label41", &panel.Label41}, {"Label55", &panel.Label55}, {"Label26", &panel.Label26},
        {"Label27", &panel.Label27}, {"Label28", &panel.Label28}, {"Label40", &panel.Label40},
        {"Label54", &panel.Label54},
    };
    for (const auto& [name, text] : texts) {
        for (QLabel* label : statValues_ + statCaptions_) {
            if (label->objectName() == QLatin1String(name)) {
                label->setText(QString::fromStdString(*text));
                break;
            }
        }
    }
}

void InputPage::FocusCell(InputTable table, int column, int row) {
    StringGridView* grid = table == InputTable::Sheets ? StringGrid1 : StringGrid2;
    const QModelIndex cell = ModelOf(grid)->index(row - 1, column);
    if (!cell.isValid()) return;
    grid->setCurrentIndex(cell);
    grid->setFocus(Qt::OtherFocusReason);
}

void InputPage::ResetGrainToggle() {
    project_.GrainToggleSetsOne = true;
    UpdateGrainButton(true);
}

void InputPage::HideBandPicker() {
    ComboBox1->hide();
}

void InputPage::Changed() {
    emit inputChanged();
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
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (event->type() == QEvent::ShortcutOverride) {
                // Ctrl+T commits a quick-entry field before any menu shortcut can take it.
                if (qobject_cast<QLineEdit*>(watched) != nullptr && key->key() == Qt::Key_T &&
                    key->modifiers() == Qt::ControlModifier)
                    event->accept();
                break;
            }
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

// ---- outcomes -----------------------------------------------------------------------------

MessageAnswer InputPage::ShowNotice(const Notice& notice) {
    MessageKind kind = MessageKind::Error;
    if (notice.kind == NoticeKind::Confirmation) kind = MessageKind::Confirmation;
    if (notice.kind == NoticeKind::Plain) kind = MessageKind::Plain;
    std::optional<QPoint> position;
    if (notice.anchor == NoticeAnchor::Mouse) {
        position = QCursor::pos() + QPoint(notice.dx, notice.dy);
    } else if (notice.anchor == NoticeAnchor::Control) {
        if (const auto* control =
                window()->findChild<QWidget*>(QString::fromStdString(notice.control)))
            position = FormPosition(control, notice.dx, notice.dy);
    }
    const MessageButtons buttons = notice.buttons == NoticeButtons::YesNoCancel
                                       ? MessageButtons::YesNoCancel
                                       : MessageButtons::Ok;
    return ShowLanguageMessage(text_, kind, notice.text, position, buttons, this);
}

void InputPage::CarryOut(const TableOutcome& outcome, bool deferFocus) {
    if (outcome.notice) ShowNotice(*outcome.notice);
    for (const FieldText& field : outcome.fields) {
        if (auto* edit = findChild<QLineEdit*>(QString::fromStdString(field.control)))
            edit->setText(QString::fromStdString(field.text));
    }
    if (!outcome.focus.empty()) {
        if (QWidget* target = findChild<QWidget*>(QString::fromStdString(outcome.focus))) {
            if (deferFocus) {
                // The focus is on its way elsewhere; take it once it has arrived.
                QTimer::singleShot(0, target, [target] { target->setFocus(Qt::OtherFocusReason); });
            } else {
                target->setFocus(Qt::TabFocusReason);
            }
        }
    }
    if (outcome.hidePreview) Changed();
}

// ---- quick entry --------------------------------------------------------------------------

namespace {

std::optional<QuickField> FieldOf(const QLineEdit* edit) {
    static const QuickField fields[] = {QuickField::Edit1, QuickField::Edit2, QuickField::Edit3,
                                        QuickField::Edit4, QuickField::Edit5, QuickField::Edit6,
                                        QuickField::Edit7, QuickField::Edit8, QuickField::Edit16,
                                        QuickField::Edit17};
    for (QuickField f : fields)
        if (edit->objectName() == QLatin1String(QuickFieldName(f))) return f;
    return std::nullopt;
}

// The character code a key press stands for: 13 Enter, 9 Tab, 20 Ctrl+T; 0 for others.
int KeyCode(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return 13;
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::NoModifier) return 9;
    if (event->text() == QString(QChar(20))) return 20;
    if (event->key() == Qt::Key_T && event->modifiers() == Qt::ControlModifier) return 20;
    return 0;
}

}  // namespace

bool InputPage::EntryKeyPress(QLineEdit* edit, QKeyEvent* event) {
    const std::optional<QuickField> field = FieldOf(edit);
    if (!field) return false;
    if ((*field == QuickField::Edit2 || *field == QuickField::Edit3) &&
        event->key() == Qt::Key_Down) {
        Edit5->setFocus(Qt::OtherFocusReason);
        return true;
    }
    const int code = KeyCode(event);
    if (code == 0 || !IsCommitKey(*field, code)) return false;
    switch (*field) {
        case QuickField::Edit4:
            AppendSheet();
            break;
        case QuickField::Edit8:
            AppendPart();
            break;
        case QuickField::Edit16:
        case QuickField::Edit17:
            CarryOut(CommitEdgeCount(*field, edit->text().toStdString()));
            break;
        default:
            if (QWidget* next = findChild<QWidget*>(
                    QString::fromStdString(NextQuickEntryFocus(*field, banding_))))
                next->setFocus(Qt::TabFocusReason);
            break;
    }
    return true;
}

void InputPage::LengthFieldExit(QLineEdit* edit) {
    const std::optional<QuickField> field = FieldOf(edit);
    if (!field) return;
    CarryOut(LeaveLengthField(*field, edit->text().toStdString(), lengthUnit_), true);
}

void InputPage::AppendSheet() {
    SheetEntry entry;
    entry.length = Edit2->text().toStdString();
    entry.width = Edit3->text().toStdString();
    entry.quantity = Edit4->text().toStdString();
    entry.description = Edit1->text().toStdString();
    const TableOutcome outcome = trimora::AppendSheet(project_, entry, lengthUnit_);
    if (outcome.Ok()) {
        sheetModel_->Reload();
        UpdateTitles();
    }
    CarryOut(outcome);
}

void InputPage::AppendPart() {
    PartEntry entry;
    entry.initials = Edit5->text().toStdString();
    entry.length = Edit6->text().toStdString();
    entry.width = Edit7->text().toStdString();
    entry.quantity = Edit8->text().toStdString();
    entry.lengthEdges = Edit16->text().toStdString();
    entry.widthEdges = Edit17->text().toStdString();
    entry.band = ComboBox2->currentIndex();
    const TableOutcome outcome =
        trimora::AppendPart(project_, entry, bands_, banding_, lengthUnit_);
    if (outcome.Ok()) {
        partModel_->Reload();
        UpdateTitles();
    }
    CarryOut(outcome);
}

// ---- tables -------------------------------------------------------------------------------

TextGridModel* InputPage::ModelOf(StringGridView* grid) const {
    return grid == StringGrid1 ? sheetModel_ : partModel_;
}

bool InputPage::CanSelectCell(StringGridView* grid, const QModelIndex& index, bool byMouse) {
    const InputTable table = grid == StringGrid1 ? InputTable::Sheets : InputTable::Parts;
    // The cell being edited is checked first; a rejected text keeps the selection on it.
    if (grid->IsEditing()) {
        lastEditError_ = 0;
        grid->CommitEditor();
        if (lastEditError_ != 0) return false;
    }
    const bool keyboardOnGrain =
        !byMouse && table == InputTable::Parts && index.column() == kGrainColumn;
    if (keyboardOnGrain && ModelOf(grid)->IsFilledRow(index)) {
        // Moving across the grain column with the keys does not flip it; Space does.
        return true;
    }
    const CellSelection selection =
        SelectCell(project_, table, index.column(), TextGridModel::GridRow(index), banding_);
    switch (selection.action) {
        case CellAction::Refuse:
            if (selection.notice) ShowNotice(*selection.notice);
            if (byMouse) {
                const std::string focus = EmptyTableClickFocus(project_, table);
                if (QWidget* target = findChild<QWidget*>(QString::fromStdString(focus)))
                    target->setFocus(Qt::MouseFocusReason);
            }
            return false;
        case CellAction::GrainFlipped:
            partModel_->Reload();
            if (selection.hidePreview) Changed();
            return false;
        case CellAction::BandPicker:
            pickerPending_ = true;
            return true;
        case CellAction::Select:
            return true;
    }
    return true;
}

void InputPage::CellSelected(StringGridView* grid, const QModelIndex& index) {
    HideBandPicker();
    const bool picker = pickerPending_;
    pickerPending_ = false;
    if (!index.isValid()) return;
    project_.RememberedCellText =
        ModelOf(grid)->CellText(index.column(), TextGridModel::GridRow(index)).toStdString();
    if (picker && grid == StringGrid2) ShowBandPicker(index);
}

void InputPage::CellEdited(StringGridView* grid, int column, int gridRow) {
    const TableOutcome outcome = grid == StringGrid1
                                     ? ValidateSheetCell(project_, column, gridRow, lengthUnit_)
                                     : ValidatePartCell(project_, column, gridRow, lengthUnit_);
    ModelOf(grid)->Reload();
    UpdateTitles();
    if (outcome.hidePreview) Changed();
    if (outcome.Ok()) return;
    lastEditError_ = outcome.error;
    // The editor is closing right now; the message and the way back to the cell wait until
    // it has gone.
    const QPersistentModelIndex cell = ModelOf(grid)->index(gridRow - 1, column);
    const std::optional<Notice> notice = outcome.notice;
    QTimer::singleShot(0, this, [this, grid, cell, notice] {
        if (notice) ShowNotice(*notice);
        if (cell.isValid()) grid->setCurrentIndex(cell);
        grid->setFocus(Qt::OtherFocusReason);
    });
}

void InputPage::ToggleGrain(int gridRow) {
    ToggleGrainCell(project_, gridRow);
    partModel_->Reload();
    Changed();
}

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

void InputPage::BandPicked(int entry) {
    const TableOutcome outcome =
        ChooseCellBand(project_, bands_, bandPickerColumn_, bandPickerRow_, entry);
    partModel_->Reload();
    CarryOut(outcome);
}

void InputPage::GridRightClick(StringGridView* grid, const QModelIndex& index,
                               const QPoint& globalPos) {
    const InputTable table = grid == StringGrid1 ? InputTable::Sheets : InputTable::Parts;
    if (RowCount(project_, table) == 0) return;
    if (ModelOf(grid)->IsFilledRow(index) && index != grid->currentIndex() &&
        CanSelectCell(grid, index, false))
        grid->setCurrentIndex(index);
    (grid == StringGrid2 ? PopupMenu1 : PopupMenu2)->popup(globalPos);
}

void InputPage::GridEmptyClick(StringGridView* grid) {
    const InputTable table = grid == StringGrid1 ? InputTable::Sheets : InputTable::Parts;
    const std::string focus = EmptyTableClickFocus(project_, table);
    if (QWidget* target = findChild<QWidget*>(QString::fromStdString(focus)))
        target->setFocus(Qt::MouseFocusReason);
}

void InputPage::Deleterow1Click() {
    DeleteRow(StringGrid2);
}

void InputPage::Deleterow2Click() {
    DeleteRow(StringGrid1);
}

void InputPage::DeleteRow(StringGridView* grid) {
    const InputTable table = grid == StringGrid1 ? InputTable::Sheets : InputTable::Parts;
    const QModelIndex current = grid->currentIndex();
    if (!current.isValid()) return;
    const int row = TextGridModel::GridRow(current);
    const std::optional<Notice> question = DeleteRowQuestion(project_, table, row);
    if (!question) return;
    if (ShowNotice(*question) != MessageAnswer::Yes) return;
    if (!DeleteTableRow(project_, table, row)) return;
    HideBandPicker();
    ModelOf(grid)->Reload();
    UpdateTitles();
    Changed();
}

void InputPage::BitBtn3Click() {
    if (ShowNotice(ClearTableQuestion(InputTable::Sheets)) != MessageAnswer::Yes) return;
    ClearTable(project_, InputTable::Sheets);
    sheetModel_->Reload();
    UpdateTitles();
    Changed();
}

void InputPage::BitBtn4Click() {
    if (ShowNotice(ClearTableQuestion(InputTable::Parts)) != MessageAnswer::Yes) return;
    ClearTable(project_, InputTable::Parts);
    HideBandPicker();
    partModel_->Reload();
    UpdateTitles();
    Changed();
}

void InputPage::BitBtn16Click() {
    const GrainToggle toggle = ToggleAllGrain(project_);
    UpdateGrainButton(toggle.buttonImage == kImageGrainButtonSetZero);
    partModel_->Reload();
    Changed();
}

void InputPage::UpdateGrainButton(bool setsOne) {
    // The button shows what its next press does.
    BitBtn16->setIcon(GrainIcon(setsOne));
}

}  // namespace trimora
