#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/language_applier.h"
#include "ui_test_support.h"

using namespace trimora;

namespace {

// A few elements of the main window, built the way a Qt window would hold them.
struct MainWindowTree {
    QMainWindow window;
    QMenu* file = nullptr;
    QAction* newProject = nullptr;
    QToolButton* newProjectButton = nullptr;
    QTabWidget* pages = nullptr;
    QWidget* pag1 = nullptr;
    QWidget* pag4 = nullptr;
    QLabel* label23 = nullptr;
    QPushButton* button4 = nullptr;
    QTableWidget* sheets = nullptr;
    QTableView* parts = nullptr;
    QStandardItemModel* partModel = nullptr;
    QLabel* image5 = nullptr;

    MainWindowTree() {
        window.setObjectName("TMainForm");
        file = window.menuBar()->addMenu("x");
        file->setObjectName("File1");
        newProject = file->addAction("x");
        newProject->setObjectName("Pocninovo1");
        newProjectButton = new QToolButton(&window);
        newProjectButton->setObjectName("ToolButton1");
        pages = new QTabWidget(&window);
        window.setCentralWidget(pages);
        pag1 = new QWidget;
        pag1->setObjectName("pag1");
        pag4 = new QWidget;
        pag4->setObjectName("pag4");
        pages->addTab(pag1, "x");
        pages->addTab(pag4, "x");
        auto* layout = new QVBoxLayout(pag1);
        label23 = new QLabel("x");
        label23->setObjectName("Label23");
        button4 = new QPushButton("x");
        button4->setObjectName("Button4");
        sheets = new QTableWidget(3, 5);
        sheets->setObjectName("StringGrid1");
        parts = new QTableView;
        parts->setObjectName("StringGrid2");
        partModel = new QStandardItemModel(3, 18, parts);
        parts->setModel(partModel);
        image5 = new QLabel;
        image5->setObjectName("Image5");
        for (QWidget* w : {static_cast<QWidget*>(label23), static_cast<QWidget*>(button4),
                           static_cast<QWidget*>(sheets), static_cast<QWidget*>(parts),
                           static_cast<QWidget*>(image5)})
            layout->addWidget(w);
    }
};

// Part of the settings dialog: a radio group, a combo with items, a group box.
struct SettingsTree {
    QDialog dialog;
    QGroupBox* unitGroup = nullptr;
    QList<QRadioButton*> units;
    QComboBox* areaStyles = nullptr;
    QGroupBox* kerf = nullptr;

    SettingsTree() {
        dialog.setObjectName("TFSettings");
        auto* layout = new QVBoxLayout(&dialog);
        unitGroup = new QGroupBox("x");
        unitGroup->setObjectName("RadioGroup2");
        auto* unitLayout = new QVBoxLayout(unitGroup);
        for (int i = 0; i < 6; ++i) {
            auto* radio = new QRadioButton("x");
            unitLayout->addWidget(radio);
            units.append(radio);
        }
        areaStyles = new QComboBox;
        areaStyles->setObjectName("areastyle_combo");
        areaStyles->addItems({"a", "b", "c"});
        kerf = new QGroupBox("x");
        kerf->setObjectName("GroupBox10");
        layout->addWidget(unitGroup);
        layout->addWidget(areaStyles);
        layout->addWidget(kerf);
    }
};

LanguageTable SampleTable() {
    LanguageTable table;
    table.SetText(50, "Parts entered");
    table.SetText(74, "&File");
    table.SetText(77, "New project");
    table.SetText(78, "Start a new project");
    table.SetText(97, "Input");
    table.SetText(100, "Reports");
    table.SetText(102, "Length");
    table.SetText(105, "Description");
    table.SetText(106, "Length");
    table.SetText(187, "Band W2");
    table.SetText(114, "Courier New");
    table.SetText(113, "Times New Roman");
    table.SetText(91, "Settings");
    table.SetText(136, "Saw kerf");
    table.SetText(297, "Millimetres");
    table.SetText(302, "Feet and inches");
    table.SetText(311, "Square yards");
    table.SetText(254, "Cover title");
    return table;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class TestLanguageApplier : public QObject {
    Q_OBJECT
private slots:
    void setsMainWindowElementsOfEveryKind() {
        MainWindowTree tree;
        ApplyLanguage(&tree.window, kFormMain, SampleTable());
        QCOMPARE(tree.label23->text(), QString("Parts entered"));
        QCOMPARE(tree.file->title(), QString("&File"));
        QCOMPARE(tree.newProject->text(), QString("New project"));
        QCOMPARE(tree.newProjectButton->toolTip(), QString("Start a new project"));
        QCOMPARE(tree.pages->tabText(0), QString("Input"));
        QCOMPARE(tree.pages->tabText(1), QString("Reports"));
        QCOMPARE(tree.sheets->horizontalHeaderItem(1)->text(), QString("Length"));
        QCOMPARE(tree.sheets->horizontalHeaderItem(4)->text(), QString("Description"));
        QCOMPARE(tree.partModel->headerData(1, Qt::Horizontal).toString(), QString("Length"));
        QCOMPARE(tree.partModel->headerData(9, Qt::Horizontal).toString(), QString("Band W2"));
        QCOMPARE(tree.image5->font().family(), QString("Courier New"));
        QCOMPARE(tree.window.property("printerFontName").toString(), QString("Times New Roman"));
        // Text 132 is not in the table: the element is set, to the empty text.
        QCOMPARE(tree.button4->text(), QString());
    }

    void setsItemsTitlesAndSuffixes() {
        SettingsTree tree;
        ApplyLanguage(&tree.dialog, kFormSettings, SampleTable());
        QCOMPARE(tree.dialog.windowTitle(), QString("Settings"));
        QCOMPARE(tree.kerf->title(), QString("Saw kerf"));
        QCOMPARE(tree.units.at(0)->text(), QString("Millimetres"));
        QCOMPARE(tree.units.at(5)->text(), QString("Feet and inches"));
        QCOMPARE(tree.areaStyles->count(), 6);
        QCOMPARE(tree.areaStyles->itemText(5), QString("Square yards"));

        QDialog details;
        auto* title = new QLabel("x", &details);
        title->setObjectName("lbl_title");
        ApplyLanguage(&details, kFormProjectDetails, SampleTable());
        QCOMPARE(title->text(), QString("Cover title:"));
    }

    void missingElementsAndUnknownFormsAreSkipped() {
        QWidget empty;
        ApplyLanguage(&empty, kFormMain, SampleTable());
        ApplyLanguage(&empty, 4, SampleTable());
        ApplyLanguage(nullptr, kFormMain, SampleTable());
        QVERIFY(empty.windowTitle().isEmpty());
    }

    void languageFileIsLoadedAndApplied() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("Lang"));
        WriteFile(folder.filePath("Lang/Test.trl"),
                  "#50# \"Delovi\"\r\n#136# \"Testera \xC5\xA1\"\r\n#FINISH LINE#\r\n");
        test::ScriptedMessageService messages;
        LanguageTable table;
        MainWindowTree tree;
        QCOMPARE(LoadLanguage(&tree.window, kFormMain, folder.path().toStdString(), "Test", table),
                 LanguageLoadStatus::Ok);
        QCOMPARE(tree.label23->text(), QString("Delovi"));
        SettingsTree settings;
        LoadLanguage(&settings.dialog, kFormSettings, folder.path().toStdString(), "Test", table);
        QCOMPARE(settings.kerf->title(), QString::fromUtf8("Testera \xC5\xA1"));
        QVERIFY(messages.Shown().isEmpty());
    }

    void damagedFileReportsOnceAndLeavesTheWindow() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("Lang"));
        WriteFile(folder.filePath("Lang/Bad.trl"), "#50# \"Delovi\"\r\n#x# \"y\"\r\n");
        test::ScriptedMessageService messages;
        LanguageTable table;
        MainWindowTree tree;
        QCOMPARE(LoadLanguage(&tree.window, kFormMain, folder.path().toStdString(), "Bad", table),
                 LanguageLoadStatus::SyntaxError);
        QCOMPARE(tree.label23->text(), QString("x"));
        QCOMPARE(QString::fromStdString(table.LanguageText(50)), QString("Delovi"));
        SettingsTree settings;
        LoadLanguage(&settings.dialog, kFormSettings, folder.path().toStdString(), "Bad", table);
        QCOMPARE(settings.kerf->title(), QString("x"));
        QCOMPARE(messages.Shown().size(), 1);
        QCOMPARE(messages.Shown().at(0).kind, MessageKind::Error);
        QCOMPARE(messages.Shown().at(0).text, QString("Language file has error"));
        QCOMPARE(messages.Shown().at(0).textNumber, -1);
    }

    void missingFileFallsBackToBuiltInCaptions() {
        QTemporaryDir folder;
        test::ScriptedMessageService messages;
        LanguageTable table;
        MainWindowTree tree;
        tree.newProjectButton->setToolTip("designer hint");
        QCOMPARE(
            LoadLanguage(&tree.window, kFormMain, folder.path().toStdString(), "Nowhere", table),
            LanguageLoadStatus::MissingFile);
        QCOMPARE(tree.label23->text(), QString("BROJ UNETIH ELEMENATA"));
        QCOMPARE(tree.button4->text(), QString("AUTOMATSKI "));
        QCOMPARE(tree.pages->tabText(0), QString("Unos i statistike"));
        // Elements without a built-in caption keep what they have.
        QCOMPARE(tree.newProjectButton->toolTip(), QString("designer hint"));
        QCOMPARE(QString::fromStdString(table.LanguageText(130)), QString("TABLE"));
        QCOMPARE(messages.Shown().size(), 1);
        QCOMPARE(messages.Shown().at(0).kind, MessageKind::Warning);
        QVERIFY(messages.Shown().at(0).text.contains("Nowhere.trl"));

        SettingsTree settings;
        LoadLanguage(&settings.dialog, kFormSettings, folder.path().toStdString(), "Nowhere",
                     table);
        QCOMPARE(settings.dialog.windowTitle(), QString("Opcije"));
        QCOMPARE(settings.units.at(1)->text(), QString("cm"));
        QCOMPARE(messages.Shown().size(), 1);
    }

    void dialogsOwnedByTheWindowKeepTheirControls() {
        // A dialog created before the window's own controls, holding controls with the same
        // names as form 1 elements (the band dialog's grid) or names the window lacks.
        QMainWindow window;
        auto* dialog = new QDialog(&window);
        auto* dialogGrid = new QTableWidget(3, 5, dialog);
        dialogGrid->setObjectName("StringGrid1");
        dialogGrid->setHorizontalHeaderLabels({"a", "b", "c", "d", "e"});
        auto* dialogLabel = new QLabel("Kerf", dialog);
        dialogLabel->setObjectName("Label42");
        auto* grid = new QTableWidget(3, 5);
        grid->setObjectName("StringGrid1");
        window.setCentralWidget(grid);

        LanguageTable table = SampleTable();
        table.SetText(223, "Band");
        ApplyLanguage(&window, kFormMain, table);
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QString("Length"));
        QCOMPARE(dialogGrid->horizontalHeaderItem(1)->text(), QString("b"));
        QCOMPARE(dialogLabel->text(), QString("Kerf"));
    }

    void shippedFilesLoadIntoTheMainWindow() {
        const QString home = qEnvironmentVariable("TRIMORA_HOME");
        if (home.isEmpty()) QSKIP("no program folder");
        test::ScriptedMessageService messages;
        LanguageTable table;
        MainWindowTree tree;
        QCOMPARE(LoadLanguage(&tree.window, kFormMain, home.toStdString(), "English", table),
                 LanguageLoadStatus::Ok);
        QCOMPARE(tree.button4->text(), QString("AUTOMATIC"));
        QCOMPARE(LoadLanguage(&tree.window, kFormMain, home.toStdString(), "Srpski", table),
                 LanguageLoadStatus::Ok);
        QCOMPARE(tree.button4->text(), QString("AUTOMATSKI "));
        QVERIFY(messages.Shown().isEmpty());
    }
};

QTEST_MAIN(TestLanguageApplier)
#include "test_language_applier.moc"
