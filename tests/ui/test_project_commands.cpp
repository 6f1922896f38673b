// The project file commands of the main window: load, add, save, save as, XML export and
// import, the recent projects and the project named on the command line. File dialogs are
// answered by a scripted chooser, messages by the scripted message service.
#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "config/memory_store.h"
#include "core/tables.h"
#include "optimiser/automatic_layout.h"
#include "optimiser/run_preparation.h"
#include "program_folder_copy.h"
#include "ui/main_form.h"
#include "ui_test_support.h"

using namespace trimora;

namespace {

struct StoreOptions {
    int32_t unit = 1;  // cm
    bool loadSema = false;
    std::string projectPath;
};

std::unique_ptr<MemoryStore> Store(const StoreOptions& options = {}) {
    auto store = std::make_unique<MemoryStore>();
    store->Put("iLang", std::string("Finished"));
    store->Put("Jezik", std::string("English"));
    store->Put("JedMere", options.unit);
    store->Put("LoadSema", int32_t{options.loadSema ? 1 : 0});
    if (!options.projectPath.empty()) store->Put("ProjectPath", options.projectPath);
    return store;
}

// Answers the file dialogs in order; an empty answer is a cancelled dialog.
struct Chooser {
    QStringList answers;
    QList<FileDialogRequest> requests;
    void Install(TMainForm& form) {
        form.fileChooser = [this](const FileDialogRequest& request) {
            requests.append(request);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
    }
};

void AddSheet(TMainForm& form, const char* length, const char* width, const char* qty) {
    AppendSheet(form.project(), SheetEntry{length, width, qty, "board"}, form.settings().JedMere);
}

void AddPart(TMainForm& form, const char* initials, const char* length, const char* width,
             const char* qty) {
    AppendPart(form.project(), PartEntry{initials, length, width, qty}, form.Bands(), false,
               form.settings().JedMere);
}

// Two sheets and one part row, laid out by the automatic algorithm and finished as a run.
void RunSmallProject(TMainForm& form) {
    AddSheet(form, "280", "207", "2");
    AddPart(form, "A", "60", "40", "3");
    Project& project = form.project();
    QCOMPARE(
        PrepareOptimiserInput(project, form.settings().JedMere, form.settings().Testera).status, 0);
    RunAutomaticLayout(project.input, project.result, 3);
    form.FinishRun();
}

bool TabVisible(const TMainForm& form, const char* page) {
    auto* pages = form.findChild<QTabWidget*>("PageControl1");
    return pages->isTabVisible(pages->indexOf(form.findChild<QWidget*>(page)));
}

QString Label(const TMainForm& form, const char* name) {
    return form.findChild<QLabel*>(name)->text();
}

bool PrintEnabled(const TMainForm& form) {
    return form.findChild<QAction*>("Print1")->isEnabled();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QString Cell(const Project& project, InputTable table, int column, int row) {
    const TextGrid& grid = table == InputTable::Sheets ? project.sheets : project.parts;
    return QString::fromStdString(grid.Cell(column, row));
}

RecentProjects Recent(const std::initializer_list<QString>& names) {
    RecentProjects list;
    int i = 0;
    for (const QString& name : names) list[i++] = name.toStdString();
    return list;
}

}  // namespace

class TestProjectCommands : public QObject {
    Q_OBJECT
private slots:
    void saveThenLoadRestoresTablesStatisticsAndLayouts() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        const QString plan = dir.filePath("plan.trp");
        TMainForm form(QString(), Store());
        Chooser chooser;
        chooser.Install(form);
        RunSmallProject(form);
        QVERIFY(PrintEnabled(form));
        const Project saved = form.project();
        const StatisticsTexts statistics = form.Texts().statistics;
        QVERIFY(!statistics.usedSheets.empty());

        chooser.answers << dir.filePath("plan");
        form.SacuvajKao1Click();
        QVERIFY(QFile::exists(plan));
        QCOMPARE(chooser.requests.size(), 1);
        QVERIFY(chooser.requests[0].save);
        QCOMPARE(chooser.requests[0].title, form.LanguageText(168));
        QCOMPARE(chooser.requests[0].filter, QString("Trimora (*.trp)"));
        QCOMPARE(chooser.requests[0].defaultSuffix, QString("trp"));
        QCOMPARE(chooser.requests[0].folder, folder.Path("Projects"));
        QCOMPARE(form.windowTitle(), QString("Trimora - plan.trp"));
        QCOMPARE(QString::fromStdString(form.project().fileName), plan);
        QVERIFY(!PrintEnabled(form));
        QVERIFY(form.RecentList() == Recent({plan}));

        messages.Answer(MessageAnswer::Yes);
        form.Pocninovo1Click();
        QCOMPARE(form.project().SheetRowCount, 0);

        chooser.answers << plan;
        form.Ucitaj1Click();
        QCOMPARE(chooser.requests.size(), 2);
        QVERIFY(!chooser.requests[1].save);
        QCOMPARE(chooser.requests[1].title, form.LanguageText(167));
        QVERIFY(chooser.requests[1].filter.contains("*.trp"));
        QCOMPARE(messages.ShownNumbers(), QList<int>{244});
        const Project& loaded = form.project();
        QCOMPARE(loaded.SheetRowCount, saved.SheetRowCount);
        QCOMPARE(loaded.PartRowCount, saved.PartRowCount);
        for (int column = 1; column <= 4; ++column)
            QCOMPARE(Cell(loaded, InputTable::Sheets, column, 1),
                     Cell(saved, InputTable::Sheets, column, 1));
        for (int column = 1; column <= 17; ++column)
            QCOMPARE(Cell(loaded, InputTable::Parts, column, 1),
                     Cell(saved, InputTable::Parts, column, 1));
        QVERIFY(loaded.result.PlacedParts == saved.result.PlacedParts);
        QVERIFY(loaded.result.Offcuts == saved.result.Offcuts);
        QVERIFY(form.Texts().statistics == statistics);
        QCOMPARE(Label(form, "Label32"), QString::fromStdString(statistics.usedSheets));
        QCOMPARE(Label(form, "Label15"), form.LanguageText(130) + " (2)");
        // A load of a project file with layouts reopens the results.
        QVERIFY(TabVisible(form, "pag3"));
        QVERIFY(form.LastRun().layouts.LayoutCount() > 0);
        QVERIFY(PrintEnabled(form));
        QCOMPARE(form.windowTitle(), QString("Trimora - plan"));
        QVERIFY(form.RecentList() == Recent({plan}));
        // The loaded name is the project's own: a plain save writes it without asking.
        form.Sacuvaj1Click();
        QCOMPARE(chooser.requests.size(), 2);
        QCOMPARE(messages.ShownNumbers(), QList<int>{244});
    }

    void startUpWithAFileLoadsItInTheCurrentUnit() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        const QString plan = dir.filePath("plan.trp");
        StatisticsTexts statistics;
        {
            TMainForm writer(QString(), Store());
            Chooser chooser;
            chooser.Install(writer);
            RunSmallProject(writer);
            statistics = writer.Texts().statistics;
            chooser.answers << plan;
            writer.SacuvajKao1Click();
            QVERIFY(QFile::exists(plan));
        }
        // Millimetres now, and layouts are not reopened: the statistics come from the file.
        TMainForm form(plan, Store({.unit = 0, .loadSema = true}));
        QVERIFY(messages.Shown().isEmpty());
        QCOMPARE(form.windowTitle(), QString("Trimora - plan"));
        QCOMPARE(QString::fromStdString(form.project().fileName), plan);
        QCOMPARE(Cell(form.project(), InputTable::Sheets, 1, 1), QString("2800"));
        // The table on screen shows the re-expressed texts.
        auto* view = form.findChild<QAbstractItemView*>("StringGrid1");
        QCOMPARE(view->model()->index(0, 1).data().toString(), QString("2800"));
        QCOMPARE(Label(form, "Label15"), form.LanguageText(130) + " (2)");
        QCOMPARE(Label(form, "Label21"), form.LanguageText(131) + " (3)");
        QCOMPARE(Label(form, "Label34"), QString::fromStdString(statistics.parts));
        QCOMPARE(Label(form, "Label30"), QString::fromStdString(statistics.averageYield));
        QCOMPARE(Label(form, "Label26"),
                 form.LanguageText(53) + " (" + QString::fromStdString(AreaUnitSuffix(1)) + ")");
        QCOMPARE(Label(form, "Label40"), form.LanguageText(56) + " (" +
                                             QString::fromStdString(LengthUnitSuffix(0, false)) +
                                             ")");
        QVERIFY(!TabVisible(form, "pag3"));
        QVERIFY(form.project().result.PlacedParts.size() > 0);
        // Neither the recent list nor the print command are touched by a start-up load.
        QVERIFY(form.RecentList() == RecentProjects{});
        QVERIFY(!PrintEnabled(form));
    }

    void startUpWithAMissingFileSaysSo() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        TMainForm form(dir.filePath("gone.trp"), Store());
        QCOMPARE(messages.ShownNumbers(), QList<int>{31});
        QCOMPARE(form.windowTitle(), "Trimora - " + form.LanguageText(248));
        QCOMPARE(form.project().SheetRowCount, 0);
    }

    void plainSaveOfAnUnnamedProjectAsksForAName() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        // The name remembered from the last session is not this project's file.
        const QString old = dir.filePath("old.trp");
        Write(old, "keep");
        TMainForm form(QString(), Store({.projectPath = old.toStdString()}));
        Chooser chooser;
        chooser.Install(form);
        AddSheet(form, "280", "207", "1");

        form.Sacuvaj1Click();  // cancelled
        QCOMPARE(chooser.requests.size(), 1);
        QVERIFY(chooser.requests[0].save);
        QCOMPARE(chooser.requests[0].folder, dir.path());
        QCOMPARE(ReadAll(old), QByteArray("keep"));
        QVERIFY(messages.Shown().isEmpty());
        QVERIFY(form.RecentList() == RecentProjects{});

        const QString named = dir.filePath("named.trp");
        chooser.answers << named;
        form.Sacuvaj1Click();
        QCOMPARE(chooser.requests.size(), 2);
        QVERIFY(QFile::exists(named));
        QCOMPARE(form.windowTitle(), QString("Trimora - named.trp"));
        QVERIFY(form.RecentList() == Recent({named}));

        // Named now: the next plain save writes silently.
        AddPart(form, "B", "50", "30", "1");
        form.Sacuvaj1Click();
        QCOMPARE(chooser.requests.size(), 2);
        QVERIFY(ReadAll(named).contains("<tab_parts count=\"1\">"));
        QVERIFY(messages.Shown().isEmpty());
    }

    void nothingToSaveShows29() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        TMainForm form(QString(), Store());
        Chooser chooser;
        chooser.Install(form);
        form.SacuvajKao1Click();
        QCOMPARE(messages.ShownNumbers(), QList<int>{29});
        QVERIFY(chooser.requests.isEmpty());
    }

    void missingTemplateShows29AndWritesNothing() {
        test::ProgramFolderCopy folder({"Config"});
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        TMainForm form(QString(), Store());
        messages.Clear();  // the missing band file was reported at start
        Chooser chooser;
        chooser.Install(form);
        AddSheet(form, "280", "207", "1");
        const std::string name = form.project().fileName;
        chooser.answers << dir.filePath("plan.trp");
        form.SacuvajKao1Click();
        QCOMPARE(messages.ShownNumbers(), QList<int>{29});
        QVERIFY(QDir(dir.path()).isEmpty());
        QCOMPARE(form.project().fileName, name);
        QVERIFY(form.RecentList() == RecentProjects{});
    }

    void overwriteAnsweredNoLeavesTheFile() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        const QString plan = dir.filePath("plan.trp");
        Write(plan, "old");
        TMainForm form(QString(), Store());
        Chooser chooser;
        chooser.Install(form);
        AddSheet(form, "280", "207", "1");
        const std::string name = form.project().fileName;

        chooser.answers << plan;
        messages.Answer(MessageAnswer::No);
        form.SacuvajKao1Click();
        QCOMPARE(messages.ShownNumbers(), QList<int>{27});
        QCOMPARE(messages.Shown()[0].text, plan + " " + form.LanguageText(27));
        QCOMPARE(messages.Shown()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(ReadAll(plan), QByteArray("old"));
        QCOMPARE(form.project().fileName, name);
        QCOMPARE(form.windowTitle(), "Trimora - " + form.LanguageText(248));
        QVERIFY(form.RecentList() == RecentProjects{});

        chooser.answers << plan;
        messages.Answer(MessageAnswer::Yes);
        form.SacuvajKao1Click();
        QVERIFY(ReadAll(plan).contains("trmx_root"));
        QVERIFY(form.RecentList() == Recent({plan}));
        QCOMPARE(messages.UnansweredQuestions(), 0);
    }

    void damagedFileShows288AndLeavesTheProject() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        const QString bad = dir.filePath("bad.trp");
        Write(bad,
              "<trmx_root><job><measure>1</measure><data><tab_sheets count=\"3\">"
              "<sheet><len>100</len><wid>50</wid><qty>1</qty></sheet></tab_sheets>"
              "</data></job></trmx_root>");
        TMainForm form(QString(), Store());
        Chooser chooser;
        chooser.Install(form);
        AddSheet(form, "280", "207", "1");
        AddSheet(form, "250", "180", "2");
        const std::string name = form.project().fileName;

        chooser.answers << bad;
        form.Ucitaj1Click();
        QCOMPARE(messages.ShownNumbers(), QList<int>{288});
        QCOMPARE(messages.Shown()[0].kind, MessageKind::Error);
        QVERIFY(messages.Shown()[0].position.has_value());
        QCOMPARE(form.project().SheetRowCount, 2);
        QCOMPARE(Cell(form.project(), InputTable::Sheets, 1, 2), QString("250"));
        QCOMPARE(form.project().fileName, name);
        QCOMPARE(form.windowTitle(), "Trimora - " + form.LanguageText(248));
        QVERIFY(!PrintEnabled(form));
        QVERIFY(form.RecentList() == RecentProjects{});
    }

    void addAppendsRowsAndKeepsTheProjectName() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        const QString other = dir.filePath("other.trp");
        const QString mine = dir.filePath("mine.trp");
        TMainForm form(QString(), Store());
        Chooser chooser;
        chooser.Install(form);
        AddSheet(form, "100", "50", "4");
        AddPart(form, "X", "20", "10", "5");
        chooser.answers << other;
        form.SacuvajKao1Click();

        messages.Answer(MessageAnswer::Yes);
        form.Pocninovo1Click();
        AddSheet(form, "280", "207", "1");
        AddSheet(form, "250", "180", "2");
        chooser.answers << mine;
        form.SacuvajKao1Click();

        chooser.answers << other;
        form.Dodaj1Click();
        QCOMPARE(messages.ShownNumbers(), QList<int>{244});
        QCOMPARE(form.project().SheetRowCount, 3);
        QCOMPARE(Cell(form.project(), InputTable::Sheets, 1, 1), QString("280"));
        QCOMPARE(Cell(form.project(), InputTable::Sheets, 1, 3), QString("100"));
        QCOMPARE(form.project().PartRowCount, 1);
        QCOMPARE(form.project().SheetQuantityTotal, 7);
        QCOMPARE(Label(form, "Label15"), form.LanguageText(130) + " (7)");
        QCOMPARE(QString::fromStdString(form.project().fileName), mine);
        QCOMPARE(form.windowTitle(), QString("Trimora - mine.trp"));
        QVERIFY(form.RecentList() == Recent({mine, other}));
    }

    void xmlExportKeepsTheNameAndImportReplacesTheProject() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        const QString plan = dir.filePath("plan.trp");
        const QString exported = dir.filePath("plan.xml");
        TMainForm form(QString(), Store());
        Chooser chooser;
        chooser.Install(form);
        RunSmallProject(form);
        chooser.answers << plan;
        form.SacuvajKao1Click();

        chooser.answers << dir.filePath("plan.trp");  // the extension becomes .xml
        form.toXMLClick();
        QVERIFY(QFile::exists(exported));
        QCOMPARE(chooser.requests[1].filter, QString("Trimora XML (*.xml)"));
        QCOMPARE(chooser.requests[1].defaultSuffix, QString("xml"));
        QCOMPARE(chooser.requests[1].folder, dir.path());
        QCOMPARE(QString::fromStdString(form.project().fileName), plan);
        QCOMPARE(form.windowTitle(), QString("Trimora - plan.trp"));
        QVERIFY(form.RecentList() == Recent({plan}));

        AddSheet(form, "90", "90", "1");
        form.SetPreviewPageVisible(true);
        chooser.answers << exported;
        form.fromXMLClick();
        QVERIFY(chooser.requests[2].filter.contains("*.xml"));
        QCOMPARE(chooser.requests[2].defaultSuffix, QString("xml"));
        QVERIFY(messages.Shown().isEmpty());
        QCOMPARE(form.project().SheetRowCount, 1);
        QCOMPARE(Cell(form.project(), InputTable::Sheets, 1, 1), QString("280"));
        QVERIFY(!form.project().result.PlacedParts.empty());
        QCOMPARE(QString::fromStdString(form.project().fileName), exported);
        QCOMPARE(form.windowTitle(), QString("Trimora - plan"));
        // An import neither reopens the results nor goes to the recent list.
        QVERIFY(!TabVisible(form, "pag3"));
        QVERIFY(form.RecentList() == Recent({plan}));
    }

    void recentListOrderAndMissingFile() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        QTemporaryDir dir;
        const QString a = dir.filePath("a.trp");
        const QString b = dir.filePath("b.trp");
        const QString c = dir.filePath("c.trp");
        auto owned = Store();
        MemoryStore* store = owned.get();
        TMainForm form(QString(), std::move(owned));
        Chooser chooser;
        chooser.Install(form);
        QVERIFY(!form.findChild<QAction*>("N6")->isVisible());
        QVERIFY(!form.findChild<QAction*>("recent0")->isVisible());

        AddSheet(form, "280", "207", "1");
        for (const QString& name : {a, b, c}) {
            chooser.answers << name;
            form.SacuvajKao1Click();
        }
        QVERIFY(form.RecentList() == Recent({c, b, a}));
        chooser.answers << a;
        form.Ucitaj1Click();
        QVERIFY(form.RecentList() == Recent({a, c, b}));
        QVERIFY(form.findChild<QAction*>("N6")->isVisible());
        for (int i = 0; i < 5; ++i)
            QCOMPARE(form.findChild<QAction*>(QString("recent%1").arg(i))->isVisible(), i < 3);
        auto* first = form.findChild<QAction*>("recent0");
        QVERIFY(first->text().startsWith("&1 "));
        QVERIFY(first->text().endsWith("a"));

        // Opening an entry loads it and leaves the order alone.
        messages.Answer(MessageAnswer::Yes);
        form.Pocninovo1Click();
        form.findChild<QAction*>("recent2")->trigger();
        QCOMPARE(QString::fromStdString(form.project().fileName), b);
        QCOMPARE(form.project().SheetRowCount, 1);
        QCOMPARE(form.windowTitle(), QString("Trimora - b"));
        QVERIFY(PrintEnabled(form));
        QVERIFY(form.RecentList() == Recent({a, c, b}));

        // A deleted file is reported and stays listed.
        QVERIFY(QFile::remove(c));
        form.recent1Click();
        QCOMPARE(messages.ShownNumbers(), (QList<int>{244, 206}));
        QCOMPARE(messages.Shown().last().kind, MessageKind::Information);
        QCOMPARE(QString::fromStdString(form.project().fileName), b);
        QVERIFY(form.RecentList() == Recent({a, c, b}));
        QVERIFY(chooser.requests.size() == 4);

        form.close();
        const auto& values = store->Values();
        QCOMPARE(std::get<std::string>(values.at("rp1")), a.toStdString());
        QCOMPARE(std::get<std::string>(values.at("rp2")), c.toStdString());
        QCOMPARE(std::get<std::string>(values.at("rp3")), b.toStdString());
        QCOMPARE(std::get<std::string>(values.at("rp4")), std::string());
    }

    void recentEntriesFromTheSettingsAreShownAtStart() {
        test::ProgramFolderCopy folder;
        test::ScriptedMessageService messages;
        auto store = Store();
        store->Put("rp1", std::string("/p/first.trp"));
        store->Put("rp2", std::string("/p/R&D.trp"));
        TMainForm form(QString(), std::move(store));
        QVERIFY(form.findChild<QAction*>("N6")->isVisible());
        QCOMPARE(form.findChild<QAction*>("recent0")->text(), QString("&1 /p/first"));
        QCOMPARE(form.findChild<QAction*>("recent1")->text(), QString("&2 /p/R&&D"));
        QVERIFY(!form.findChild<QAction*>("recent2")->isVisible());
    }
};

QTEST_MAIN(TestProjectCommands)
#include "test_project_commands.moc"
