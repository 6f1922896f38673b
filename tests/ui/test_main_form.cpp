// The main window: its pages, commands, new project, help, about box, start-up and close.
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "config/memory_store.h"
#include "program_folder_copy.h"
#include "ui/about_box.h"
#include "ui/main_form.h"
#include "ui/qsettings_store.h"
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

void AddRows(TMainForm& form) {
    auto type = [&](const char* name, const char* text) {
        auto* edit = form.findChild<QLineEdit*>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    };
    type("Edit2", "280");
    type("Edit3", "207");
    type("Edit4", "2");
    type("Edit6", "60");
    type("Edit7", "40");
    type("Edit8", "3");
}

}  // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void pagesCaptionAndSize() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        QCOMPARE(form.minimumSize(), QSize(795, 590));
        QCOMPARE(form.windowTitle(), "Trimora - " + form.LanguageText(248));
        QVERIFY(!form.LanguageText(248).isEmpty());
        auto* pages = form.findChild<QTabWidget*>("PageControl1");
        QVERIFY(pages != nullptr);
        QCOMPARE(pages->count(), 5);
        for (const char* page : {"pag1", "pag4", "Arhiva"}) QVERIFY(TabVisible(form, page));
        for (const char* page : {"pag2", "pag3"}) QVERIFY(!TabVisible(form, page));
        QCOMPARE(pages->tabText(0), form.LanguageText(97));
        QVERIFY(messages.Shown().isEmpty());
    }

    void everyCommandIsThere_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<bool>("enabled");
        const QKeySequence none;
        QTest::newRow("new") << "Pocninovo1" << QKeySequence("Ctrl+N") << true;
        QTest::newRow("load") << "Ucitaj1" << QKeySequence("Ctrl+O") << true;
        QTest::newRow("add") << "Dodaj1" << none << true;
        QTest::newRow("save") << "Sacuvaj1" << QKeySequence("Ctrl+S") << true;
        QTest::newRow("save as") << "SacuvajKao1" << none << true;
        QTest::newRow("to xml") << "toXML" << none << true;
        QTest::newRow("to dxf") << "toDXF" << none << false;
        QTest::newRow("from excel") << "fromExcel" << none << false;
        QTest::newRow("from xml") << "fromXML" << none << true;
        QTest::newRow("details") << "Detalji1" << none << false;
        QTest::newRow("print") << "Print1" << QKeySequence("Ctrl+P") << false;
        QTest::newRow("printer setup") << "PrinterSetup1" << none << false;
        QTest::newRow("labels") << "Printlabels1" << none << false;
        QTest::newRow("exit") << "Exit1" << none << true;
        QTest::newRow("settings") << "Settings1" << none << false;
        QTest::newRow("bands") << "Kantiranje1" << none << true;
        QTest::newRow("help") << "Ref1" << QKeySequence("F1") << true;
        QTest::newRow("home page") << "Homepage1" << none << true;
        QTest::newRow("about") << "About1" << none << true;
    }
    void everyCommandIsThere() {
        QFETCH(QString, name);
        QFETCH(QKeySequence, shortcut);
        QFETCH(bool, enabled);
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        auto* action = form.findChild<QAction*>(name);
        QVERIFY(action != nullptr);
        QCOMPARE(action->shortcut(), shortcut);
        QCOMPARE(action->isEnabled(), enabled);
        QVERIFY(!action->text().isEmpty());
    }

    void toolButtonsFollowTheirCommands() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        for (const char* name :
             {"ToolButton1", "ToolButton2", "ToolButton4", "ToolButton5", "ToolButton7",
              "ToolButton8", "ToolButton10", "ToolButton13", "SpeedButton1"})
            QVERIFY2(form.findChild<QToolButton*>(name) != nullptr, name);
        auto* print = form.findChild<QToolButton*>("ToolButton8");
        QVERIFY(!print->isEnabled());
        form.findChild<QAction*>("Print1")->setEnabled(true);
        QVERIFY(print->isEnabled());
        // ToolButton1 runs the new-project command, question included.
        messages.Answer(MessageAnswer::No);
        form.findChild<QToolButton*>("ToolButton1")->click();
        QCOMPARE(messages.ShownNumbers(), QList<int>{244});
        QCOMPARE(print->toolTip(), form.LanguageText(89));
    }

    void newProjectAnsweredNoKeepsEverything() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        AddRows(form);
        form.SetPreviewPageVisible(true);
        messages.Answer(MessageAnswer::No);
        form.Pocninovo1Click();
        QCOMPARE(messages.ShownNumbers(), QList<int>{244});
        QCOMPARE(messages.Shown().first().buttons, MessageButtons::YesNo);
        QCOMPARE(*messages.Shown().first().position,
                 form.frameGeometry().center() - QPoint(200, 100));
        QCOMPARE(form.project().SheetRowCount, 1);
        QCOMPARE(form.project().PartRowCount, 1);
        QVERIFY(TabVisible(form, "pag3"));
    }

    void newProjectAnsweredYesClearsTheProjectOnly() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        AddRows(form);
        form.SetPreviewPageVisible(true);
        form.project().fileName = "a.trp";
        form.project().result.PlacedParts.resize(3);
        form.findChild<QAction*>("Print1")->setEnabled(true);
        const Settings settings = form.settings();
        const int bandTypes = form.Bands().Count();

        messages.Answer(MessageAnswer::Yes);
        form.Pocninovo1Click();
        QCOMPARE(form.project().SheetRowCount, 0);
        QCOMPARE(form.project().PartRowCount, 0);
        QCOMPARE(form.project().SheetQuantityTotal, 0);
        QVERIFY(form.project().result.PlacedParts.empty());
        QVERIFY(form.project().fileName.empty());
        QVERIFY(!TabVisible(form, "pag3"));
        QVERIFY(!form.findChild<QAction*>("Print1")->isEnabled());
        QVERIFY(!form.findChild<QToolButton*>("ToolButton8")->isEnabled());
        for (const char* value : {"Label29", "Label30", "Label31", "Label32", "Label33", "Label34",
                                  "Label41", "Label55"})
            QCOMPARE(form.findChild<QLabel*>(value)->text(), QString());
        QCOMPARE(form.findChild<QLabel*>("Label15")->text(), form.LanguageText(130) + " (0)");
        QVERIFY(form.settings() == settings);
        QCOMPARE(form.Bands().Count(), bandTypes);
    }

    void missingHelpFileIsReported() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.findChild<QAction*>("Ref1")->trigger();
        QCOMPARE(messages.ShownNumbers(), QList<int>{205});
        QCOMPARE(messages.Shown().first().text, form.LanguageText(205));
    }

    void aboutBox() {
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        form.show();
        QString title;
        QStringList texts;
        QTimer::singleShot(0, &form, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            title = box->windowTitle();
            for (auto* label : box->findChildren<QLabel*>()) texts << label->text();
            box->accept();
        });
        form.findChild<QAction*>("About1")->trigger();
        QCOMPARE(title, form.LanguageText(94));
        QVERIFY(texts.contains("Trimora v1.3.2.7"));
        QVERIFY(form.AboutBox()->windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void startUpAndCloseWriteTheSettings() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        const QString ini = dir.filePath("Trimora.ini");
        {
            auto store = std::make_unique<QSettingsStore>(ini);
            store->WriteString("iLang", "Finished");
            store->WriteString("Jezik", "English");
            store->WriteInteger("JedMere", 0);
            store->WriteInteger("DefSheetWidth", 28000);
            store->WriteInteger("frmwidth", 900);
            store->WriteInteger("frmheight", 650);
            store->WriteString("ProjectPath", "/p/a.trp");
            store->Sync();
        }
        {
            TMainForm form(QString(), std::make_unique<QSettingsStore>(ini));
            QCOMPARE(QString::fromStdString(form.ProgramFolder().string()), folder.Path());
            QCOMPARE(form.size(), QSize(900, 650));
            // The remembered project is the current file name, not loaded.
            QCOMPARE(QString::fromStdString(form.project().fileName), "/p/a.trp");
            QCOMPARE(form.project().SheetRowCount, 0);
            QCOMPARE(form.findChild<QLineEdit*>("Edit2")->text(), "2800");
            QCOMPARE(form.findChild<QLineEdit*>("Edit3")->text(), "19");
            form.show();
            form.resize(1000, 700);
            form.close();
        }
        QVERIFY(messages.Shown().isEmpty());
        QSettings written(ini, QSettings::IniFormat);
        written.beginGroup(QSettingsStore::kGroup);
        QCOMPARE(written.value("Jezik").toString(), "English");
        QCOMPARE(written.value("ProjectPath").toString(), "/p/a.trp");
        QCOMPARE(written.value("frmwidth").toInt(), 1000);
        QCOMPARE(written.value("frmheight").toInt(), 700);
        QCOMPARE(written.value("frmstate").toInt(), 0);
        QVERIFY(written.contains("autoparam"));
    }

    void closingWritesTheUsersSettingsFile() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        const QString file = QSettingsStore().FileName();
        QFile::remove(file);
        {
            TMainForm form;
            form.close();
        }
        QVERIFY(QFile::exists(file));
        QSettings written(file, QSettings::IniFormat);
        written.beginGroup(QSettingsStore::kGroup);
        QVERIFY(written.contains("frmleft"));
        QVERIFY(written.contains("Kantiranje"));
    }

    void missingLanguageFileFallsBackToBuiltInCaptions() {
        test::ProgramFolderCopy folder({"Lang"});
        test::ScriptedMessageService messages;
        TMainForm form(QString(), EnglishStore());
        QCOMPARE(messages.Shown().size(), 1);
        QCOMPARE(messages.Shown().first().kind, MessageKind::Warning);
        QVERIFY(messages.Shown().first().text.contains("English"));
        QCOMPARE(form.findChild<QAction*>("Pocninovo1")->text(), "Nov projekat");
        QCOMPARE(form.findChild<QTabWidget*>("PageControl1")->tabText(0), "Unos i statistike");
        QCOMPARE(form.findChild<QLabel*>("Label15")->text(), "TABLE (0)");
        QCOMPARE(form.AboutBox()->windowTitle(), "About");
    }
};

QTEST_MAIN(TestMainForm)
#include "test_main_form.moc"
