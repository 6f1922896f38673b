// The manual layout run in the main window: start, search, O.K. per sheet, the end of the
// run, abandoning, refusals, and the stock buttons after a run.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "config/memory_store.h"
#include "core/project.h"
#include "core/tables.h"
#include "files/project_document.h"
#include "program_folder_copy.h"
#include "ui/input_page.h"
#include "ui/main_form.h"
#include "ui/manual_page.h"
#include "ui_test_support.h"

using namespace trimora;

namespace {

std::unique_ptr<MemoryStore> Store(bool manualDuplicate = false) {
    auto store = std::make_unique<MemoryStore>();
    store->Put("iLang", std::string("Finished"));
    store->Put("Jezik", std::string("English"));
    store->Put("JedMere", int32_t{0});
    store->Put("manparam", int32_t{0});
    store->Put("Zvuk", int32_t{0});
    store->Put("ManualDuplicate", int32_t{manualDuplicate ? 1 : 0});
    return store;
}

void AddSheet(TMainForm& form, const char* length, const char* width, const char* quantity) {
    Project& p = form.project();
    const int r = ++p.SheetRowCount;
    p.sheets.SetCell(1, r, length);
    p.sheets.SetCell(2, r, width);
    p.sheets.SetCell(3, r, quantity);
    p.sheets.SetCell(4, r, "board");
    RecomputeQuantityTotals(p);
    form.Input()->RefreshTables();
}

void AddPart(TMainForm& form, const char* length, const char* width, const char* quantity,
             const char* grain) {
    Project& p = form.project();
    const int r = ++p.PartRowCount;
    p.parts.SetCell(1, r, length);
    p.parts.SetCell(2, r, width);
    p.parts.SetCell(3, r, quantity);
    p.parts.SetCell(4, r, "P");
    p.parts.SetCell(5, r, grain);
    for (int edge = 0; edge < 4; ++edge) {
        p.parts.SetCell(6 + edge, r, "-");
        p.parts.SetCell(10 + edge, r, "0");
    }
    RecomputeQuantityTotals(p);
    form.Input()->RefreshTables();
}

bool TabVisible(const TMainForm& form, const char* page) {
    auto* pages = form.findChild<QTabWidget*>("PageControl1");
    return pages->isTabVisible(pages->indexOf(form.findChild<QWidget*>(page)));
}

QWidget* CurrentPage(const TMainForm& form) {
    return form.findChild<QTabWidget*>("PageControl1")->currentWidget();
}

void Click(const TMainForm& form, const char* button) {
    auto* b = form.findChild<QPushButton*>(button);
    QVERIFY2(b != nullptr, button);
    QVERIFY2(b->isEnabled(), button);
    b->click();
}

// Start, wait for the search to end, O.K.; per sheet until the manual page closes.
// Returns the number of sheets accepted.
int RunToEnd(TMainForm& form) {
    ManualPage* page = form.Manual();
    int accepted = 0;
    while (TabVisible(form, "pag2") && accepted < 10) {
        Click(form, "BitBtn5");
        if (!QTest::qWaitFor([page] { return !page->Searching(); }, 30000)) return -1;
        Click(form, "BitBtn7");
        ++accepted;
    }
    return accepted;
}

}  // namespace

class TestManualPage : public QObject {
    Q_OBJECT
private slots:
    void threeSheetsRunToTheEndAndOpenTheResults() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        // One large part per sheet; the small ones go wherever the search puts them.
        AddSheet(form, "1000", "600", "3");
        AddPart(form, "100", "100", "3", "0");
        AddPart(form, "600", "500", "3", "1");

        Click(form, "Button1");
        QVERIFY(messages.Shown().isEmpty());
        QVERIFY(TabVisible(form, "pag2"));
        QVERIFY(!TabVisible(form, "pag1"));
        QVERIFY(!TabVisible(form, "pag3"));
        QCOMPARE(CurrentPage(form), form.findChild<QWidget*>("pag2"));
        // The sort put the large part first.
        QCOMPARE(form.project().parts.Cell(1, 1), "600");
        QCOMPARE(form.findChild<QLabel*>("Label37")->text(), "1");
        QCOMPARE(form.findChild<QLabel*>("Label38")->text(), "1000");
        QCOMPARE(form.findChild<QLabel*>("Label4")->text(), "600");
        QVERIFY(!form.findChild<QPushButton*>("BitBtn7")->isEnabled());
        // Joining a small part to the large one leaves a gap: a tolerance for it.
        form.findChild<QLineEdit*>("Edit12")->setText("0.3");

        // The first sheet shows its search on the status bar before it is accepted.
        Click(form, "BitBtn5");
        QVERIFY(!form.findChild<QPushButton*>("BitBtn5")->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return !form.Manual()->Searching(); }, 30000));
        QVERIFY(form.findChild<QPushButton*>("BitBtn5")->isEnabled());
        QCOMPARE(form.Manual()->StatusText(4), form.LanguageText(7));
        QVERIFY(form.Manual()->StatusText(3).startsWith("T("));
        QVERIFY(form.Manual()->StatusText(0).startsWith(form.LanguageText(34)));
        QVERIFY(form.Manual()->StatusText(1).startsWith(form.LanguageText(35)));
        QVERIFY(!form.findChild<QWidget*>("Panel3")->isHidden());
        Click(form, "BitBtn7");
        QCOMPARE(form.findChild<QLabel*>("Label37")->text(), "2");
        QVERIFY(!form.findChild<QPushButton*>("BitBtn7")->isEnabled());

        QCOMPARE(RunToEnd(form), 2);
        QCOMPARE(messages.ShownNumbers(), QList<int>{10});
        QCOMPARE(form.project().result.PlacedParts.size(), size_t{6});
        for (const PlacedPart& placed : form.project().result.PlacedParts) {
            QVERIFY(placed.sheet >= 1 && placed.sheet <= 3);
            QVERIFY(placed.x2 <= 10000 && placed.y2 <= 6000);
        }
        QVERIFY(TabVisible(form, "pag1"));
        QVERIFY(TabVisible(form, "pag3"));
        QVERIFY(!TabVisible(form, "pag2"));
        QCOMPARE(CurrentPage(form), form.findChild<QWidget*>("pag1"));
        QVERIFY(form.LastRun().allPlaced);
        QVERIFY(!form.LastRun().report.empty());
        QVERIFY(!form.Texts().report.empty());
        QVERIFY(form.findChild<QAction*>("Print1")->isEnabled());
        QVERIFY(form.findChild<QPushButton*>("BitBtn15")->isEnabled());
        QVERIFY(form.findChild<QPushButton*>("TableMinus")->isEnabled());
        QCOMPARE(form.findChild<QLineEdit*>("Edit12")->text(), "0.001");
    }

    void endNoticeGoesAtTheSecondTimerTick() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        AddSheet(form, "1000", "600", "1");
        AddPart(form, "300", "200", "2", "1");
        Click(form, "Button1");
        QCOMPARE(form.findChild<QPushButton*>("BitBtn5")->text(), form.LanguageText(63));
        QCOMPARE(form.findChild<QLabel*>("Label66")->text(), form.LanguageText(71));
        Click(form, "BitBtn5");
        QVERIFY(QTest::qWaitFor([&] { return !form.Manual()->Searching(); }, 30000));
        auto* notice = form.findChild<QWidget*>("Panel3");
        auto* timer = form.findChild<QTimer*>("Timer1");
        QVERIFY(!notice->isHidden());
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        QTRY_VERIFY_WITH_TIMEOUT(notice->isHidden(), 10000);
        QVERIFY(!timer->isActive());
    }

    void newProjectAbandonsTheManualRun() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        AddSheet(form, "1000", "600", "1");
        AddPart(form, "300", "200", "2", "1");
        Click(form, "Button1");
        Click(form, "BitBtn5");
        messages.Answer(MessageAnswer::Yes);
        form.Pocninovo1Click();
        QVERIFY(!form.Manual()->Searching());
        QVERIFY(!form.Manual()->Run().Active());
        QVERIFY(TabVisible(form, "pag1"));
        QVERIFY(!TabVisible(form, "pag2"));
        QCOMPARE(form.project().SheetRowCount, 0);
    }

    void loadingAProjectAbandonsTheManualRun() {
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        Project other;
        AppendSheet(other, SheetEntry{"2000", "1000", "1", "other"}, 0);
        const QString path = dir.filePath("other.trp");
        ProjectDocumentSettings settings;
        QCOMPARE(WriteProjectDocument(
                     path.toStdString(),
                     ProjectTemplatePath(qEnvironmentVariable("TRIMORA_HOME").toStdString()), other,
                     settings, ProjectTexts{}),
                 0);

        TMainForm form(QString(), Store());
        AddSheet(form, "1000", "600", "1");
        AddPart(form, "300", "200", "2", "1");
        Click(form, "Button1");
        Click(form, "BitBtn5");
        form.fileChooser = [path](const FileDialogRequest&) { return path; };
        form.Ucitaj1Click();
        QVERIFY(!form.Manual()->Searching());
        QVERIFY(!form.Manual()->Run().Active());
        QVERIFY(TabVisible(form, "pag1"));
        QVERIFY(!TabVisible(form, "pag2"));
        QCOMPARE(form.project().SheetRowCount, 1);
        QCOMPARE(form.project().PartRowCount, 0);
        QCOMPARE(QString::fromStdString(form.project().sheets.Cell(4, 1)), QString("other"));
    }

    void runThatCannotPlaceEveryPieceReportsItAndClosesThePage() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        AddSheet(form, "1000", "600", "2");
        AddPart(form, "100", "100", "3", "0");
        AddPart(form, "600", "500", "2", "1");
        Click(form, "Button1");
        // With the smallest tolerance the small parts join each other but not the large one.
        QCOMPARE(RunToEnd(form), 2);
        QCOMPARE(messages.ShownNumbers(), (QList<int>{10, 20}));
        QCOMPARE(form.project().result.PlacedParts.size(), size_t{2});
        QVERIFY(TabVisible(form, "pag1"));
        QVERIFY(!TabVisible(form, "pag2"));
        QVERIFY(!TabVisible(form, "pag3"));
        QVERIFY(!form.findChild<QAction*>("Print1")->isEnabled());
        QVERIFY(!form.findChild<QPushButton*>("BitBtn15")->isEnabled());
    }

    void stopEndsTheSearchAfterTheGenerationInProgress() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        AddSheet(form, "2800", "2070", "1");
        AddPart(form, "300", "200", "20", "0");
        AddPart(form, "150", "120", "20", "0");
        Click(form, "Button1");
        Click(form, "BitBtn5");
        // Pressed before the first generation ran: the search ends after it.
        Click(form, "BitBtn6");
        QVERIFY(QTest::qWaitFor([&] { return !form.Manual()->Searching(); }, 30000));
        QCOMPARE(form.Manual()->Run().Search().Generation(), 1);
        QCOMPARE(form.Manual()->StatusText(4), form.LanguageText(6));
        QVERIFY(form.findChild<QPushButton*>("BitBtn7")->isEnabled());
        QVERIFY(form.findChild<QScrollBar*>("ScrollBar1")->maximum() > 0);
    }

    void prekiniAbandonsTheRunAndLeavesNoHalfResult() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        AddSheet(form, "1000", "600", "3");
        AddPart(form, "600", "500", "3", "1");
        Click(form, "Button1");
        Click(form, "BitBtn5");
        QVERIFY(QTest::qWaitFor([&] { return !form.Manual()->Searching(); }, 30000));
        Click(form, "BitBtn7");
        QCOMPARE(form.project().result.PlacedParts.size(), size_t{1});

        // Abandoned in the middle of the second sheet's search.
        Click(form, "BitBtn5");
        QVERIFY(form.Manual()->Searching());
        Click(form, "Prekini");
        QVERIFY(!form.Manual()->Searching());
        QTest::qWait(20);  // a generation queued for the abandoned search does nothing
        QVERIFY(form.project().result.PlacedParts.empty());
        QVERIFY(form.project().result.Offcuts.empty());
        QVERIFY(!form.Manual()->Run().Active());
        QVERIFY(TabVisible(form, "pag1"));
        QVERIFY(!TabVisible(form, "pag2"));
        QVERIFY(!TabVisible(form, "pag3"));
        QCOMPARE(CurrentPage(form), form.findChild<QWidget*>("pag1"));
        QVERIFY(!form.findChild<QAction*>("Print1")->isEnabled());
        QVERIFY(!form.findChild<QPushButton*>("BitBtn15")->isEnabled());
        QVERIFY(form.Texts().report.empty());
        QVERIFY(form.LastRun().report.empty());
        QVERIFY(messages.Shown().isEmpty());

        // A new manual run starts from the first sheet again.
        Click(form, "Button1");
        QCOMPARE(form.findChild<QLabel*>("Label37")->text(), "1");
        QVERIFY(form.findChild<QPushButton*>("BitBtn5")->isEnabled());
    }

    void refusedStarts() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        // Nothing to cut: text 19 at the window's centre, moved up and left.
        Click(form, "Button1");
        QCOMPARE(messages.ShownNumbers(), QList<int>{19});
        QCOMPARE(messages.Shown().first().kind, MessageKind::Error);
        QCOMPARE(messages.Shown().first().position,
                 std::optional<QPoint>(form.frameGeometry().center() - QPoint(200, 100)));
        // No sheet can hold a part: text 3, the manual page stays closed.
        AddSheet(form, "500", "400", "2");
        AddPart(form, "600", "300", "1", "1");
        messages.Clear();
        Click(form, "Button1");
        QCOMPARE(messages.ShownNumbers(), QList<int>{3});
        QCOMPARE(messages.Shown().first().kind, MessageKind::Plain);
        QVERIFY(!TabVisible(form, "pag2"));
        QVERIFY(TabVisible(form, "pag1"));
    }

    void fieldThatIsNotANumberStartsNoSearch_data() {
        QTest::addColumn<QString>("alpha");
        QTest::addColumn<QString>("target");
        QTest::newRow("alpha") << "0,002"
                               << "92";
        QTest::newRow("empty alpha") << ""
                                     << "92";
        QTest::newRow("target") << "0.001"
                                << "9x";
    }
    void fieldThatIsNotANumberStartsNoSearch() {
        QFETCH(QString, alpha);
        QFETCH(QString, target);
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        AddSheet(form, "1000", "600", "1");
        AddPart(form, "300", "200", "2", "1");
        Click(form, "Button1");
        form.findChild<QLineEdit*>("Edit12")->setText(alpha);
        form.findChild<QLineEdit*>("Edit15")->setText(target);
        Click(form, "BitBtn5");
        QCOMPARE(messages.ShownNumbers(), QList<int>{272});
        QVERIFY(!form.Manual()->Searching());
        QVERIFY(!form.Manual()->Run().Search().HasData());
        QVERIFY(form.findChild<QPushButton*>("BitBtn5")->isEnabled());
        QVERIFY(!form.findChild<QPushButton*>("BitBtn7")->isEnabled());
    }

    void alphaButtonsStepTheField() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        auto* alpha = form.findChild<QLineEdit*>("Edit12");
        QCOMPARE(alpha->text(), "0.001");
        form.findChild<QPushButton*>("BitBtn13")->click();
        QCOMPARE(alpha->text(), "0.006");
        form.findChild<QPushButton*>("BitBtn14")->click();
        QCOMPARE(alpha->text(), "0.016");
        alpha->setText("x");
        form.findChild<QPushButton*>("BitBtn12")->click();
        QCOMPARE(alpha->text(), "x");
        QCOMPARE(messages.ShownNumbers(), QList<int>{272});
    }

    void stockButtonsActOncePerResult() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store(true));
        AddSheet(form, "1000", "600", "2");
        AddPart(form, "600", "500", "1", "1");
        Click(form, "Button1");
        QCOMPARE(RunToEnd(form), 1);
        QVERIFY(messages.Shown().isEmpty());
        Project& p = form.project();
        QCOMPARE(p.SheetRowCount, 1);

        // The piece (600.4 x 500.4 with the kerf) leaves a strip beside it and one above.
        Click(form, "BitBtn15");
        QCOMPARE(p.SheetRowCount, 3);
        QCOMPARE(p.sheets.Cell(1, 2), "399.6");
        QCOMPARE(p.sheets.Cell(2, 2), "500");
        QCOMPARE(p.sheets.Cell(1, 3), "1000");
        QCOMPARE(p.sheets.Cell(2, 3), "99.6");
        QCOMPARE(QString::fromStdString(p.sheets.Cell(4, 3)), form.LanguageText(21));
        QVERIFY(!form.findChild<QPushButton*>("BitBtn15")->isEnabled());
        QVERIFY(form.findChild<QLabel*>("Label15")->text().endsWith("(4)"));
        BitBtn15Press(form);
        QCOMPARE(p.SheetRowCount, 3);
        // The result and its views stay.
        QVERIFY(TabVisible(form, "pag3"));

        Click(form, "TableMinus");
        QCOMPARE(p.sheets.Cell(3, 1), "1");
        QCOMPARE(p.SheetRowCount, 3);
        QVERIFY(!form.findChild<QPushButton*>("TableMinus")->isEnabled());
        QVERIFY(form.findChild<QLabel*>("Label15")->text().endsWith("(3)"));
        QVERIFY(messages.Shown().isEmpty());
    }

    void soundThatCannotPlayIsSwitchedOff() {
        test::ProgramFolderCopy folder;  // holds no sound.wav
        test::ScriptedMessageService messages;
        auto store = Store();
        store->Put("SoundPath", std::string("/nonexistent/trimora/end.wav"));
        TMainForm form(QString(), std::move(store));
        form.Manual()->PlayEndSound();
        QCOMPARE(messages.ShownNumbers(), (QList<int>{8}));
        QVERIFY(form.Manual()->SoundSwitchedOff());
        form.Manual()->PlayEndSound();
        QCOMPARE(messages.Shown().size(), 1);
    }

private:
    static void BitBtn15Press(TMainForm& form) {
        // A disabled button ignores the click; the handler itself refuses a second use too.
        form.findChild<QPushButton*>("BitBtn15")->click();
    }
};

QTEST_MAIN(TestManualPage)
#include "test_manual_page.moc"
