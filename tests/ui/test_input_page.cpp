// The input page driven the way a user drives it: keys in the quick-entry fields, clicks and
// edits in the tables, the table buttons and pop-up commands.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "config/memory_store.h"
#include "program_folder_copy.h"
#include "ui/main_form.h"
#include "ui_test_support.h"

using namespace trimora;

namespace {

struct Fixture {
    explicit Fixture(int unit = 1, bool banding = false) {
        auto store = std::make_unique<MemoryStore>();
        store->Put("iLang", std::string("Finished"));
        store->Put("Jezik", std::string("English"));
        store->Put("JedMere", int32_t{unit});
        store->Put("Kantiranje", int32_t{banding ? 1 : 0});
        form = std::make_unique<TMainForm>(QString(), std::move(store));
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    template <class T>
    T* Find(const char* name) const {
        T* found = form->findChild<T*>(name);
        if (found == nullptr) qFatal("no %s", name);
        return found;
    }
    QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(name); }
    QTableView* Grid(const char* name) const { return Find<QTableView>(name); }
    QString Text(int n) const { return form->LanguageText(n); }
    Project& project() const { return form->project(); }

    // Types into a field as the user does: focus, replace the text, optionally commit.
    void Type(const char* field, const QString& text, Qt::Key commit = Qt::Key_Return) {
        QLineEdit* edit = Edit(field);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        if (commit != Qt::Key_unknown) QTest::keyClick(edit, commit);
    }
    void AddSheet(const QString& length, const QString& width, const QString& quantity) {
        Type("Edit2", length);
        Type("Edit3", width);
        Type("Edit4", quantity);
    }
    void AddPart(const QString& name, const QString& length, const QString& width,
                 const QString& quantity) {
        Type("Edit5", name);
        Type("Edit6", length);
        Type("Edit7", width);
        Type("Edit8", quantity, Qt::Key_Tab);
    }
    bool PreviewVisible() const {
        auto* pages = Find<QTabWidget>("PageControl1");
        return pages->isTabVisible(pages->indexOf(Find<QWidget>("pag3")));
    }
    void ClickCell(const char* grid, int row, int column, Qt::MouseButton button = Qt::LeftButton) {
        QTableView* view = Grid(grid);
        const QRect rect = view->visualRect(view->model()->index(row, column));
        QTest::mouseClick(view->viewport(), button, {}, rect.center());
    }

    test::ProgramFolderCopy folder;
    test::ScriptedMessageService messages;
    std::unique_ptr<TMainForm> form;
};

}  // namespace

class TestInputPage : public QObject {
    Q_OBJECT
private slots:
    void sheetsEnteredByKeyboard() {
        Fixture f;
        f.form->SetPreviewPageVisible(true);
        f.Type("Edit1", "Board");
        QCOMPARE(QApplication::focusWidget(), f.Edit("Edit2"));
        f.AddSheet("280", "207.004", "3");
        QVERIFY(f.messages.Shown().isEmpty());
        QCOMPARE(f.project().SheetRowCount, 1);
        QCOMPARE(f.project().sheets.Cell(1, 1), "280");
        QCOMPARE(f.project().sheets.Cell(2, 1), "207");  // canonical in cm
        QCOMPARE(f.project().sheets.Cell(3, 1), "3");
        QCOMPARE(f.project().sheets.Cell(4, 1), "Board");
        QCOMPARE(f.Edit("Edit4")->text(), "1");
        QCOMPARE(QApplication::focusWidget(), f.Edit("Edit2"));
        QVERIFY(!f.PreviewVisible());

        f.AddSheet("100", "50", "2");
        QCOMPARE(f.Find<QLabel>("Label15")->text(), f.Text(130) + " (5)");
        // The filled rows and one empty row below them.
        QCOMPARE(f.Grid("StringGrid1")->model()->rowCount(), 3);
        QCOMPARE(f.Grid("StringGrid1")->model()->index(1, 1).data().toString(), "100");
    }

    void quickEntryRefusals_data() {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<int>("message");
        QTest::newRow("fraction") << "1.5" << 207;
        QTest::newRow("zero") << "0" << 2;
        QTest::newRow("letters") << "x" << 207;
    }
    void quickEntryRefusals() {
        QFETCH(QString, quantity);
        QFETCH(int, message);
        Fixture f;
        f.AddSheet("280", "207", quantity);
        QCOMPARE(f.messages.ShownNumbers(), QList<int>{message});
        QCOMPARE(f.messages.Shown().first().kind, MessageKind::Error);
        QCOMPARE(f.project().SheetRowCount, 0);
        QCOMPARE(f.Find<QLabel>("Label15")->text(), f.Text(130) + " (0)");
    }

    void partsEnteredByKeyboard() {
        Fixture f;
        f.form->SetPreviewPageVisible(true);
        f.AddPart("A", "60", "40", "4");
        f.AddPart("B", "30", "20", "2");
        QVERIFY(f.messages.Shown().isEmpty());
        QCOMPARE(f.project().PartRowCount, 2);
        QCOMPARE(f.project().parts.Cell(4, 1), "A");
        QCOMPARE(f.project().parts.Cell(5, 1), "0");
        // Banding off: every edge is band entry 0.
        const std::string none = f.form->Bands().EntryOrNone(0).name;
        for (int c = 6; c <= 9; ++c) QCOMPARE(f.project().parts.Cell(c, 2), none);
        QCOMPARE(f.Find<QLabel>("Label21")->text(), f.Text(131) + " (6)");
        QCOMPARE(f.Edit("Edit8")->text(), "1");
        QCOMPARE(QApplication::focusWidget(), f.Edit("Edit6"));
        QVERIFY(!f.PreviewVisible());
    }

    void invalidLengthFieldIsClearedAndKeepsFocus() {
        Fixture f(5);
        f.Type("Edit6", "5 6 7");
        QCOMPARE(f.messages.ShownNumbers(), QList<int>{277});
        QCOMPARE(f.Edit("Edit6")->text(), QString());
        QTRY_COMPARE(QApplication::focusWidget(), f.Edit("Edit6"));
    }

    void rejectedCellEditGetsItsTextBack() {
        Fixture f(5);
        f.AddSheet("96", "48", "1");
        const std::string before = f.project().sheets.Cell(1, 1);
        QTableView* grid = f.Grid("StringGrid1");
        const QModelIndex cell = grid->model()->index(0, 1);
        f.ClickCell("StringGrid1", 0, 1);
        QCOMPARE(grid->currentIndex(), cell);
        grid->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "5 6 7");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(f.messages.ShownNumbers(), QList<int>{277});
        QCOMPARE(f.project().sheets.Cell(1, 1), before);
        QCOMPARE(cell.data().toString().toStdString(), before);
        QCOMPARE(grid->currentIndex(), cell);

        // An accepted edit is stored canonically and a quantity edit renews the total.
        grid->edit(grid->model()->index(0, 3));
        editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "7");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(f.project().sheets.Cell(3, 1), "7");
        QCOMPARE(f.Find<QLabel>("Label15")->text(), f.Text(130) + " (7)");
    }

    void selectingBelowTheFilledRowsIsRefused() {
        Fixture f;
        f.AddSheet("280", "207", "1");
        f.AddSheet("100", "50", "1");
        QTableView* grid = f.Grid("StringGrid1");
        f.ClickCell("StringGrid1", 1, 2);
        const QModelIndex selected = grid->currentIndex();
        f.ClickCell("StringGrid1", 2, 2);  // grid row 3, below the two filled rows
        QCOMPARE(f.messages.ShownNumbers(), QList<int>{13});
        QCOMPARE(grid->currentIndex(), selected);
    }

    void rowDeletionAsksFirst() {
        Fixture f;
        f.AddSheet("280", "207", "3");
        f.AddSheet("100", "50", "2");
        f.ClickCell("StringGrid1", 0, 1);
        auto* deleteRow = f.Find<QAction>("Deleterow2");

        f.messages.Answer(MessageAnswer::No);
        deleteRow->trigger();
        QCOMPARE(f.project().SheetRowCount, 2);

        f.messages.Answer(MessageAnswer::Yes);
        deleteRow->trigger();
        QCOMPARE(f.messages.ShownNumbers(), (QList<int>{14, 14}));
        QCOMPARE(f.project().SheetRowCount, 1);
        QCOMPARE(f.project().sheets.Cell(1, 1), "100");
        QCOMPARE(f.Find<QLabel>("Label15")->text(), f.Text(130) + " (2)");

        f.messages.Answer(MessageAnswer::Yes);
        deleteRow->trigger();
        QCOMPARE(f.project().SheetRowCount, 0);
        QCOMPARE(f.Find<QLabel>("Label15")->text(), f.Text(130) + " (0)");
        QCOMPARE(f.Grid("StringGrid1")->model()->rowCount(), 1);
        QCOMPARE(f.messages.UnansweredQuestions(), 0);
    }

    void clearingTablesAsksFirst() {
        Fixture f;
        f.AddSheet("280", "207", "3");
        f.AddPart("A", "60", "40", "4");
        f.messages.Answer(MessageAnswer::No);
        f.Find<QToolButton>("BitBtn4")->click();
        QCOMPARE(f.project().PartRowCount, 1);
        f.messages.Answer(MessageAnswer::Yes);
        f.Find<QToolButton>("BitBtn3")->click();
        QCOMPARE(f.messages.ShownNumbers(), (QList<int>{290, 289}));
        QCOMPARE(f.project().SheetRowCount, 0);
        QCOMPARE(f.Find<QLabel>("Label15")->text(), f.Text(130) + " (0)");
    }

    void grainFlags() {
        Fixture f;
        f.AddPart("A", "60", "40", "1");
        f.AddPart("B", "30", "20", "1");
        QTableView* grid = f.Grid("StringGrid2");
        f.ClickCell("StringGrid2", 0, 1);
        f.ClickCell("StringGrid2", 0, 5);
        QCOMPARE(f.project().parts.Cell(5, 1), "1");
        QCOMPARE(grid->currentIndex().column(), 1);  // the grain cell is not selected
        f.ClickCell("StringGrid2", 0, 5);
        QCOMPARE(f.project().parts.Cell(5, 1), "0");

        auto* toggle = f.Find<QToolButton>("BitBtn16");
        toggle->click();
        QCOMPARE(f.project().parts.Cell(5, 1), "1");
        QCOMPARE(f.project().parts.Cell(5, 2), "1");
        toggle->click();
        QCOMPARE(f.project().parts.Cell(5, 2), "0");
        QVERIFY(f.messages.Shown().isEmpty());
    }

    void bandingEntryAndPicker() {
        Fixture f(1, true);
        const BandTable& bands = f.form->Bands();
        QVERIFY(bands.Count() >= 3);
        QVERIFY(f.Edit("Edit16")->isVisible());

        f.Type("Edit16", "3");
        QCOMPARE(f.messages.ShownNumbers(), QList<int>{18});
        QCOMPARE(f.messages.Shown().first().kind, MessageKind::Plain);
        QCOMPARE(f.Edit("Edit16")->text(), QString());

        f.Find<QComboBox>("ComboBox2")->setCurrentIndex(1);
        f.Type("Edit5", "A");
        f.Type("Edit6", "60");
        f.Type("Edit16", "2");
        QCOMPARE(QApplication::focusWidget(), f.Edit("Edit7"));
        f.Type("Edit7", "40");
        f.Type("Edit17", "1");
        f.Type("Edit8", "1");
        QCOMPARE(f.project().PartRowCount, 1);
        const BandRecord& chosen = bands.records[1];
        QCOMPARE(f.project().parts.Cell(6, 1), chosen.name);
        QCOMPARE(f.project().parts.Cell(7, 1), chosen.name);
        QCOMPARE(f.project().parts.Cell(8, 1), chosen.name);
        QCOMPARE(f.project().parts.Cell(9, 1), bands.records[0].name);
        QCOMPARE(f.project().parts.Cell(10, 1), chosen.thickness);

        f.ClickCell("StringGrid2", 0, 9);
        auto* picker = f.Find<QComboBox>("ComboBox1");
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->geometry(),
                 f.Grid("StringGrid2")->visualRect(f.Grid("StringGrid2")->model()->index(0, 9)));
        emit picker->activated(2);
        QCOMPARE(f.project().parts.Cell(9, 1), bands.records[2].name);
        QCOMPARE(f.project().parts.Cell(13, 1), bands.records[2].thickness);
        QCOMPARE(f.project().parts.Cell(17, 1), bands.records[2].mark);
    }

    void partPanelLayout_data() {
        QTest::addColumn<bool>("banding");
        QTest::newRow("banding off") << false;
        QTest::newRow("banding on") << true;
    }
    void partPanelLayout() {
        QFETCH(bool, banding);
        Fixture f(1, banding);
        f.form->resize(1100, 700);
        QTest::qWait(20);
        QTableView* grid = f.Grid("StringGrid2");
        QHeaderView* header = grid->horizontalHeader();
        const int g = grid->width() - 28;
        QCOMPARE(header->sectionSize(1), static_cast<int>((banding ? 0.18 : 0.3) * g));
        QCOMPARE(header->sectionSize(3), static_cast<int>((banding ? 0.06 : 0.1) * g));
        for (int c = 6; c <= 9; ++c) QCOMPARE(grid->isColumnHidden(c), !banding);
        for (int c = 10; c <= 17; ++c) QVERIFY(grid->isColumnHidden(c));
        QCOMPARE(f.Edit("Edit17")->isVisible(), banding);
        QCOMPARE(f.Find<QComboBox>("ComboBox2")->isVisible(), banding);
        QLineEdit* edit5 = f.Edit("Edit5");
        const int panel = edit5->parentWidget()->width();
        const int b = panel - edit5->x() - (banding ? 60 : 30);
        QCOMPARE(edit5->width(), static_cast<int>((banding ? 0.15 : 0.2) * b));
        QCOMPARE(f.Edit("Edit6")->width(), static_cast<int>((banding ? 0.25 : 0.3) * b));
        // Each label stands over its field.
        QCOMPARE(f.Find<QLabel>("Label11")->x(), f.Edit("Edit6")->x());
    }
};

QTEST_MAIN(TestInputPage)
#include "test_input_page.moc"
