// The band type dialog: editing, adding, deleting, and OK writing the file the main window
// then reloads.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <memory>

#include "config/memory_store.h"
#include "program_folder_copy.h"
#include "ui/bands_dialog.h"
#include "ui/main_form.h"
#include "ui_test_support.h"

using namespace trimora;

namespace {

std::unique_ptr<MemoryStore> EnglishStore() {
    auto store = std::make_unique<MemoryStore>();
    store->Put("iLang", std::string("Finished"));
    store->Put("Jezik", std::string("English"));
    store->Put("JedMere", int32_t{0});
    return store;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

void SetCell(QTableView* grid, int row, int column, const QString& text) {
    QVERIFY(grid->model()->setData(grid->model()->index(row, column), text, Qt::EditRole));
}

}  // namespace

class TestBandsDialog : public QObject {
    Q_OBJECT
private slots:
    void roundTripThroughTheMenu() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.show();
        const int before = form.Bands().Count();
        bool driven = false;
        QTimer::singleShot(0, &form, [&] {
            auto* dialog = qobject_cast<TBands*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            auto* grid = dialog->findChild<QTableView*>("StringGrid1");
            QCOMPARE(grid->model()->rowCount(), before);
            dialog->findChild<QAction*>("Newbandtype1")->trigger();
            const int row = grid->model()->rowCount() - 1;
            SetCell(grid, row, 0, "OAK");
            SetCell(grid, row, 1, "2.04");
            SetCell(grid, row, 2, "o");
            SetCell(grid, row, 3, "1");
            SetCell(grid, row, 4, "0.5");
            // A new row whose allowance stays empty is not saved.
            dialog->findChild<QAction*>("Newbandtype1")->trigger();
            SetCell(grid, row + 1, 0, "HALF");
            SetCell(grid, row + 1, 1, "1");
            driven = true;
            dialog->findChild<QPushButton*>("btnBandSave")->click();
        });
        form.findChild<QAction*>("Kantiranje1")->trigger();
        QVERIFY(driven);
        QVERIFY(messages.Shown().isEmpty());
        QCOMPARE(form.Bands().Count(), before + 1);
        const BandRecord& added = form.Bands().records.back();
        QCOMPARE(QString::fromStdString(added.name), "OAK");
        QCOMPARE(QString::fromStdString(added.thickness), "2");  // canonical in mm
        auto* list = form.findChild<QComboBox*>("ComboBox2");
        QCOMPARE(list->count(), before + 1);
        QCOMPARE(list->itemText(before), "OAK");
        QCOMPARE(list->currentIndex(), 0);
        const QByteArray file = ReadFile(folder.Path("Config/bands.trb"));
        QVERIFY(file.endsWith("OAK\r\n2\r\no\r\n1\r\n0.5\r\n"));
        QVERIFY(!file.contains("HALF"));
    }

    void rejectedLengthGetsItsTextBack() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        TBands* dialog = form.BandsDialog();
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* grid = dialog->findChild<QTableView*>("StringGrid1");
        const QModelIndex cell = grid->model()->index(1, 3);
        const QString before = cell.data().toString();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        QCOMPARE(grid->currentIndex(), cell);
        grid->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "thick");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(messages.ShownNumbers(), QList<int>{272});
        QCOMPARE(cell.data().toString(), before);
        QCOMPARE(grid->currentIndex(), cell);
        // Band entry 0 is not edited in place.
        QVERIFY(!(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsEditable));
    }

    void deletingAsksAndNeedsThreeBandTypes() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        WriteFile(folder.Path("Config/bands.trb"),
                  "-\r\n0\r\n\r\n0\r\n0\r\nA\r\n1\r\na\r\n1\r\n1\r\nB\r\n2\r\nb\r\n2\r\n2\r\n");
        TMainForm form(QString(), EnglishStore());
        TBands* dialog = form.BandsDialog();
        dialog->FillGrid();
        auto* grid = dialog->findChild<QTableView*>("StringGrid1");
        auto* deleteRow = dialog->findChild<QAction*>("Deleterow1");
        QCOMPARE(grid->model()->rowCount(), 3);

        grid->setCurrentIndex(grid->model()->index(0, 0));
        QVERIFY(!deleteRow->isEnabled());  // band entry 0 stays
        grid->setCurrentIndex(grid->model()->index(1, 0));
        QVERIFY(deleteRow->isEnabled());
        messages.Answer(MessageAnswer::No);
        deleteRow->trigger();
        QCOMPARE(grid->model()->rowCount(), 3);
        messages.Answer(MessageAnswer::Yes);
        deleteRow->trigger();
        QCOMPARE(messages.ShownNumbers(), (QList<int>{305, 305}));
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(grid->model()->index(1, 0).data().toString(), "B");

        // With two band types the command is disabled.
        grid->setCurrentIndex(grid->model()->index(1, 0));
        QVERIFY(!deleteRow->isEnabled());
        // Nothing is written until OK.
        QVERIFY(ReadFile(folder.Path("Config/bands.trb")).contains("A\r\n"));
    }
};

QTEST_MAIN(TestBandsDialog)
#include "test_bands_dialog.moc"
