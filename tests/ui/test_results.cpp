// The results side of the main window: the automatic run from Button4 to the statistics,
// the report, the bill and the diagram page; refused runs; the offcut re-split on screen.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <memory>

#include "config/memory_store.h"
#include "core/tables.h"
#include "optimiser/automatic_layout.h"
#include "output/diagram.h"
#include "program_folder_copy.h"
#include "ui/diagram_page.h"
#include "ui/input_page.h"
#include "ui/main_form.h"
#include "ui_test_support.h"

using namespace trimora;

namespace {

std::unique_ptr<MemoryStore> EnglishStore() {
    auto store = std::make_unique<MemoryStore>();
    store->Put("iLang", std::string("Finished"));
    store->Put("Jezik", std::string("English"));
    return store;
}

bool TabVisible(const TMainForm& form, const char* page) {
    auto* pages = form.findChild<QTabWidget*>("PageControl1");
    return pages->isTabVisible(pages->indexOf(form.findChild<QWidget*>(page)));
}

QString LabelText(const TMainForm& form, const char* name) {
    return form.findChild<QLabel*>(name)->text();
}

QString ViewText(const TMainForm& form, const char* name) {
    return form.findChild<QTextEdit*>(name)->toPlainText();
}

struct Sheet {
    const char* length;
    const char* width;
    const char* quantity;
};
struct Part {
    const char* initials;
    const char* length;
    const char* width;
    const char* quantity;
};

// Rows as the quick entry appends them (centimetres, the default unit).
void Enter(TMainForm& form, std::initializer_list<Sheet> sheets,
           std::initializer_list<Part> parts) {
    for (const Sheet& s : sheets)
        QVERIFY(AppendSheet(form.project(), {s.length, s.width, s.quantity, ""}, 1).Ok());
    for (const Part& p : parts)
        QVERIFY(AppendPart(form.project(), {p.initials, p.length, p.width, p.quantity, "", "", 0},
                           form.Bands(), false, 1)
                    .Ok());
    form.findChild<InputPage*>("pag1")->RefreshTables();
}

// A kitchen: carcass sides, bottoms, doors and shelves on two sheet sizes; 16 pieces.
void EnterKitchen(TMainForm& form) {
    Enter(form, {{"244", "122", "2"}, {"280", "207", "2"}},
          {{"SIDE", "72", "56", "4"},
           {"BOT", "80", "56", "2"},
           {"DOOR", "71.6", "39.6", "6"},
           {"SHELF", "76.4", "52", "4"}});
}

void ClickButton4(TMainForm& form) {
    auto* button = form.findChild<QPushButton*>("Button4");
    QVERIFY(button->isEnabled());
    button->click();
}

}  // namespace

class TestResults : public QObject {
    Q_OBJECT
private slots:
    void automaticRunFillsEveryView() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.show();
        EnterKitchen(form);
        ClickButton4(form);

        QVERIFY2(messages.Shown().isEmpty(), qPrintable(QString::number(messages.Shown().size())));
        QVERIFY(TabVisible(form, "pag3"));
        QVERIFY(TabVisible(form, "pag1"));
        QVERIFY(!TabVisible(form, "pag2"));
        QVERIFY(form.findChild<QAction*>("Print1")->isEnabled());
        QVERIFY(form.findChild<QPushButton*>("BitBtn15")->isEnabled());
        QVERIFY(form.findChild<QPushButton*>("TableMinus")->isEnabled());

        // The tables stand sorted: the smaller sheets first.
        QCOMPARE(form.project().sheets.Cell(1, 1), std::string("244"));

        // The progress window followed the candidates and is gone.
        auto* progress = form.findChild<QWidget*>("wndProgress");
        QVERIFY(progress != nullptr);
        QVERIFY(!progress->isVisible());
        QCOMPARE(progress->windowTitle(), form.LanguageText(17));
        QVERIFY(progress->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QPoint offCentre =
            progress->pos() + progress->rect().center() - form.frameGeometry().center();
        QVERIFY(offCentre.manhattanLength() <= 2);
        const int candidates = CandidateCountForAutoparam(form.settings().autoparam);
        QCOMPARE(form.findChild<QProgressBar*>("Bar1")->value(),
                 ProgressPosition(candidates - 1, candidates));

        // Statistics panel.
        QCOMPARE(LabelText(form, "Label34"), QString("16"));
        QCOMPARE(LabelText(form, "Label33"), QString("16"));
        const int sheetsUsed = LabelText(form, "Label32").toInt();
        QVERIFY(sheetsUsed >= 1 && sheetsUsed <= 4);
        for (const char* value : {"Label31", "Label30", "Label29", "Label41", "Label55"})
            QVERIFY2(!LabelText(form, value).isEmpty() && LabelText(form, value) != "---", value);
        QCOMPARE(LabelText(form, "Label26"),
                 form.LanguageText(53) + " (" +
                     QString::fromStdString(AreaUnitSuffix(form.settings().AreaStyle)) + ")");
        QVERIFY(LabelText(form, "Label40").startsWith(form.LanguageText(56) + " ("));
        QCOMPARE(LabelText(form, "Label29"), QString::fromStdString(form.LastRun().panel->Label29));

        // The report and the bill on their page.
        const QString report = ViewText(form, "RichEdit1");
        QVERIFY(report.startsWith("  " + form.LanguageText(39)));
        QVERIFY(report.contains("  " + form.LanguageText(50) + " 16"));
        QVERIFY(report.contains("  " + form.LanguageText(51) + " 16"));
        QVERIFY(report.contains("'SIDE'"));
        QCOMPARE(report + "\n", QString::fromStdString(form.Texts().report));
        QCOMPARE(LabelText(form, "Panel4"), form.LanguageText(155));
        QCOMPARE(LabelText(form, "Panel5"), form.LanguageText(156));
        const QString bill = ViewText(form, "RichEdit2");
        QVERIFY(bill.startsWith("  " + form.LanguageText(48)));
        QCOMPARE(form.findChild<QTextEdit*>("RichEdit1")->font().family(), QString("Courier New"));
        QVERIFY(form.findChild<QTextEdit*>("RichEdit1")->isReadOnly());

        // The diagram page: one scroll position per layout, the first one drawn.
        auto* bar = form.findChild<QScrollBar*>("ScrollBar2");
        const int layouts = static_cast<int>(form.LastRun().layouts.layouts.size());
        QVERIFY(layouts >= 1);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), layouts - 1);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(LabelText(form, "Label39"), QString("1"));
        QVERIFY(LabelText(form, "Label7").startsWith(form.LanguageText(70) + " "));
        QVERIFY(!form.findChild<QWidget*>("BitBtn8")->isEnabled());
    }

    void layoutsScrollAndResultsClear() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.show();
        // Four sheets of which every one gets a different set of parts.
        Enter(form, {{"100", "100", "4"}},
              {{"A", "90", "90", "1"}, {"B", "80", "80", "1"}, {"C", "70", "70", "1"}});
        ClickButton4(form);
        QVERIFY(messages.Shown().isEmpty());
        QCOMPARE(form.LastRun().layouts.layouts.size(), size_t{3});
        auto* bar = form.findChild<QScrollBar*>("ScrollBar2");
        QCOMPARE(bar->maximum(), 2);
        const QString first = LabelText(form, "Label7");
        bar->setValue(2);
        QCOMPARE(LabelText(form, "Label39"), QString("3"));

        // A second run starts at the first layout again.
        ClickButton4(form);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(LabelText(form, "Label39"), QString("1"));
        QCOMPARE(LabelText(form, "Label7"), first);

        // The clear buttons empty the views and the texts kept for the project file.
        QTest::mouseClick(form.findChild<QWidget*>("BitBtn9"), Qt::LeftButton);
        QVERIFY(ViewText(form, "RichEdit1").isEmpty());
        QVERIFY(form.Texts().report.empty());
        QVERIFY(!ViewText(form, "RichEdit2").isEmpty());
        QTest::mouseClick(form.findChild<QWidget*>("BitBtn19"), Qt::LeftButton);
        QVERIFY(ViewText(form, "RichEdit2").isEmpty());
        QVERIFY(form.Texts().bill.empty());
    }

    void partLargerThanEverySheet() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        Enter(form, {{"100", "50", "1"}}, {{"BIG", "120", "40", "1"}});
        ClickButton4(form);
        QCOMPARE(messages.ShownNumbers(), QList<int>{20});
        QVERIFY(!TabVisible(form, "pag3"));
        QVERIFY(!form.findChild<QAction*>("Print1")->isEnabled());
        // The report and the panel are written all the same.
        QCOMPARE(LabelText(form, "Label34"), QString("1"));
        QCOMPARE(LabelText(form, "Label33"), QString("0"));
        QVERIFY(ViewText(form, "RichEdit1").contains(form.LanguageText(50) + " 1"));
    }

    void emptyTableIsRefused_data() {
        QTest::addColumn<bool>("sheet");
        QTest::addColumn<bool>("part");
        QTest::newRow("no part") << true << false;
        QTest::newRow("no sheet") << false << true;
        QTest::newRow("nothing") << false << false;
    }
    void emptyTableIsRefused() {
        QFETCH(bool, sheet);
        QFETCH(bool, part);
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        if (sheet) Enter(form, {{"100", "50", "1"}}, {});
        if (part) Enter(form, {}, {{"P", "20", "10", "1"}});
        ClickButton4(form);
        QCOMPARE(messages.ShownNumbers(), QList<int>{19});
        const MessageRequest& shown = messages.Shown().front();
        QCOMPARE(shown.kind, MessageKind::Error);
        QVERIFY(shown.position.has_value());
        QCOMPARE(*shown.position, form.frameGeometry().center() - QPoint(200, 100));
        QVERIFY(!TabVisible(form, "pag3"));
        QVERIFY(!form.findChild<QWidget*>("wndProgress")->isVisible());
        QCOMPARE(LabelText(form, "Label34"), QString("---"));
    }

    void refusedRunKeepsThePreviousResult() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.show();
        EnterKitchen(form);
        ClickButton4(form);
        QVERIFY(messages.Shown().isEmpty());
        const RunResult before = form.project().result;
        const RichText report = form.LastRun().report;
        const QString shownReport = ViewText(form, "RichEdit1");
        const QString placed = LabelText(form, "Label33");

        // A quantity that is not a whole number stops the next run at its cell.
        form.project().parts.SetCell(3, 3, "x");
        form.findChild<InputPage*>("pag1")->RefreshTables();
        ClickButton4(form);
        QCOMPARE(messages.ShownNumbers(), QList<int>{207});
        QCOMPARE(messages.Shown().front().kind, MessageKind::Error);

        QCOMPARE(form.project().result.PlacedParts.size(), before.PlacedParts.size());
        QVERIFY(form.project().result.Offcuts == before.Offcuts);
        QVERIFY(form.LastRun().report == report);
        QCOMPARE(ViewText(form, "RichEdit1"), shownReport);
        QCOMPARE(LabelText(form, "Label33"), placed);
        QVERIFY(form.findChild<QAction*>("Print1")->isEnabled());

        // The faulty cell is selected, wherever the sort put its row.
        int faultyRow = 0;
        for (int r = 1; r <= form.project().PartRowCount; ++r)
            if (form.project().parts.Cell(3, r) == "x") faultyRow = r;
        QVERIFY(faultyRow > 0);
        const QModelIndex current =
            form.findChild<QAbstractItemView*>("StringGrid2")->currentIndex();
        QCOMPARE(current.row(), faultyRow - 1);
        QCOMPARE(current.column(), 3);
    }

    void resplitTwoOffcutsOnScreen() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Enter(form, {{"100", "100", "1"}}, {{"P", "50", "50", "1"}});
        ClickButton4(form);
        QVERIFY(messages.Shown().isEmpty());
        auto* pages = form.findChild<QTabWidget*>("PageControl1");
        auto* page = form.findChild<DiagramPage*>("pag3");
        pages->setCurrentWidget(page);
        QApplication::processEvents();

        // The piece takes 0..5004 with its kerf; the rest is cut into a full-height strip on
        // the right and a square above the piece.
        auto& offcuts = form.project().result.Offcuts;
        offcuts = {Offcut{1, 5004, 0, 10000, 10000}, Offcut{1, 0, 5004, 5004, 10000}};
        form.RebuildResults();
        const RichText reportBefore = form.LastRun().report;

        QWidget* surface = form.findChild<QWidget*>("Image5");
        const float s = ViewScale(10000, 10000, surface->width(), surface->height());
        QVERIFY(s > 0);
        const QPoint inRight(static_cast<int>(7500 / s), static_cast<int>(5000 / s));
        const QPoint inTop(static_cast<int>(2500 / s), static_cast<int>(7500 / s));

        QTest::mouseMove(surface, inTop);
        QCOMPARE(page->Pick().hoveredOffcut, 1);
        QVERIFY(LabelText(form, "Label44").startsWith(form.LanguageText(36)));
        // Entering the page control forgets the piece under the mouse; drawing the layout
        // anew drops a pick.
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(pages, &enter);
        QCOMPARE(page->Pick().hoveredOffcut, kNoOffcut);
        QTest::mouseMove(surface, inRight);
        QTest::mouseMove(surface, inTop);
        QTest::mouseClick(surface, Qt::LeftButton, {}, inTop);
        QCOMPARE(page->Pick().selectedOffcut, 1);
        page->ShowLayout(0);
        QCOMPARE(page->Pick().selectedOffcut, kNoOffcut);

        QTest::mouseMove(surface, inRight);
        QTest::mouseMove(surface, inTop);
        QTest::mouseClick(surface, Qt::LeftButton, {}, inTop);
        QCOMPARE(page->Pick().selectedOffcut, 1);
        QTest::mouseMove(surface, inRight);
        QCOMPARE(page->Pick().hoveredOffcut, 0);
        QTest::mouseClick(surface, Qt::LeftButton, {}, inRight);

        // The square became the strip along the whole length; the rest of the right strip
        // is what is left, and the report was written anew.
        QVERIFY((offcuts[1] == Offcut{1, 0, 5004, 10000, 10000}));
        QVERIFY((offcuts[0] == Offcut{1, 5004, 0, 10000, 5004}));
        QCOMPARE(page->Pick().selectedOffcut, kNoOffcut);
        QVERIFY(!(form.LastRun().report == reportBefore));
        QVERIFY(TabVisible(form, "pag3"));
        QCOMPARE(pages->currentWidget(), static_cast<QWidget*>(page));
        QVERIFY(messages.Shown().isEmpty());
    }

    void unreadableBandPriceStopsTheRun() {
        test::ProgramFolderCopy folder;
        QFile bands(folder.Path("Config/bands.trb"));
        QVERIFY(bands.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bands.write("-\r\n0\r\n\r\n0\r\n0\r\nPVC\r\n0.04\r\n*\r\n2\r\nabc\r\n");
        bands.close();
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        QCOMPARE(form.Bands().Count(), 2);
        EnterKitchen(form);
        ClickButton4(form);
        QVERIFY(messages.Shown().isEmpty());
        const QString placed = LabelText(form, "Label33");
        QCOMPARE(placed, QString("16"));

        // The next run meets a band whose price is no number while writing the bill.
        for (int r = 1; r <= form.project().PartRowCount; ++r)
            form.project().parts.SetCell(6, r, "PVC");
        form.findChild<InputPage*>("pag1")->SetStockButtonsEnabled(false);
        ClickButton4(form);
        QCOMPARE(messages.Shown().size(), 1);
        QCOMPARE(messages.Shown().front().kind, MessageKind::Error);
        QVERIFY(messages.Shown().front().text.contains("abc"));
        // The report stands as far as it was written; the panel keeps the last values and the
        // stock buttons stay off.
        QVERIFY(ViewText(form, "RichEdit1").contains("'SIDE'"));
        QCOMPARE(LabelText(form, "Label33"), placed);
        QVERIFY(!form.findChild<QPushButton*>("BitBtn15")->isEnabled());
    }

    void newProjectEmptiesTheReports() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        EnterKitchen(form);
        ClickButton4(form);
        messages.Answer(MessageAnswer::Yes);
        form.Pocninovo1Click();
        QVERIFY(ViewText(form, "RichEdit1").isEmpty());
        QVERIFY(ViewText(form, "RichEdit2").isEmpty());
        QVERIFY(form.LastRun().layouts.layouts.empty());
        QVERIFY(LabelText(form, "Label33").isEmpty());
    }
};

QTEST_MAIN(TestResults)
#include "test_results.moc"
