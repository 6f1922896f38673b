#include "ui/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "core/length_units.h"
#include "core/program_folder.h"
#include "core/tables.h"
#include "optimiser/automatic_layout.h"
#include "optimiser/run_preparation.h"
#include "ui/about_box.h"
#include "ui/bands_dialog.h"
#include "ui/diagram_page.h"
#include "ui/form_messages.h"
#include "ui/input_page.h"
#include "ui/language_applier.h"
#include "ui/manual_page.h"
#include "ui/progress_window.h"
#include "ui/qsettings_store.h"
#include "ui/report_page.h"
#include "ui/stock_commands.h"

namespace trimora {

namespace {

QWidget* NewPage(const char* name, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(name);
    return page;
}

}  // namespace

QString TMainForm::HomePageAddress() {
    return QStringLiteral("https://trimora.example.com");
}

TMainForm::TMainForm(const QString& projectFile, std::unique_ptr<KeyValueStore> store,
                     QWidget* parent)
    : QMainWindow(parent), store_(std::move(store)) {
    setObjectName("TMainForm");
    setMinimumSize(795, 590);
    // Numbers on the Qt side use the full stop whatever the user's locale says.
    QLocale::setDefault(QLocale::c());
    programFolder_ = ResolveProgramFolder(
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()));

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreatePages();
    PageControl1->setTabVisible(PageControl1->indexOf(pag2), false);
    PageControl1->setTabVisible(PageControl1->indexOf(pag3), false);

    if (!store_) store_ = std::make_unique<QSettingsStore>();
    LoadSettingsAndLanguage();
    ApplySettings();
    RestorePlacement();

    // The tables and the result start empty; the project holds only the remembered file name.
    pag1->RefreshTables();
    SetCaption();

    PageControl1->setTabVisible(PageControl1->indexOf(pag4), true);
    PageControl1->setTabVisible(PageControl1->indexOf(Arhiva), true);
    pag1->ResetGrainToggle();

    // The band types come first: reopening the results of the project builds its bill.
    LoadBandTypes();
    if (!projectFile.isEmpty()) OpenCommandLineProject(projectFile);
    RefreshRecentMenu();
    pag1->PanMainPartResize();

    pag1->SetDefaultSheetSize(
        QString::fromStdString(FormatLength(settings_.DefSheetWidth, settings_.JedMere)),
        QString::fromStdString(FormatLength(settings_.DefSheetHeight, settings_.JedMere)));

    // The dialogs come after the pages, so looking up the main window's elements by name
    // finds the page controls before any control of a dialog.
    const std::string language = languageName_.toStdString();
    aboutBox_ = new TAboutBox(this);
    trimora::LoadLanguage(aboutBox_, kFormAbout, programFolder_, language, language_);
    bandsDialog_ = new TBands(
        BandTypesFile(programFolder_), [this](int n) { return LanguageText(n); }, this);
    trimora::LoadLanguage(bandsDialog_, kFormBands, programFolder_, language, language_);
    bandsDialog_->SetLengthUnit(settings_.JedMere);
    bandsDialog_->onSaved = [this] { LoadBandTypes(); };
    wndProgress = new TwndProgress(this);
}

TMainForm::~TMainForm() = default;

QString TMainForm::LanguageText(int number) const {
    return LanguageQText(language_, number);
}

// ---- construction -------------------------------------------------------------------------

QAction* TMainForm::NewAction(const char* name, const char* caption, QKeySequence shortcut) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

void TMainForm::CreateActions() {
    Pocninovo1 = NewAction("Pocninovo1", "Nov projekat", QKeySequence(Qt::CTRL | Qt::Key_N));
    Ucitaj1 = NewAction("Ucitaj1", "Ucitaj projekat", QKeySequence(Qt::CTRL | Qt::Key_O));
    Dodaj1 = NewAction("Dodaj1", "Dodaj projekat");
    Sacuvaj1 = NewAction("Sacuvaj1", "Sacuvaj projekat", QKeySequence(Qt::CTRL | Qt::Key_S));
    SacuvajKao1 = NewAction("SacuvajKao1", "Sacuvaj projekat kao..");
    toXML = NewAction("toXML", "XML file");
    toDXF = NewAction("toDXF", "DXF file");
    fromExcel = NewAction("fromExcel", "Excel file");
    fromXML = NewAction("fromXML", "XML file");
    Detalji1 = NewAction("Detalji1", "Detalji o projektu");
    Print1 = NewAction("Print1", "Print...", QKeySequence(Qt::CTRL | Qt::Key_P));
    PrinterSetup1 = NewAction("PrinterSetup1", "Printer Setup");
    Printlabels1 = NewAction("Printlabels1", "Print labels");
    for (int i = 0; i < 5; ++i) {
        recent[i] = NewAction(qPrintable(QStringLiteral("recent%1").arg(i)), "");
        recent[i]->setVisible(false);
    }
    Exit1 = NewAction("Exit1", "Exit");
    Settings1 = NewAction("Settings1", "Settings");
    Kantiranje1 = NewAction("Kantiranje1", "Kantiranje");
    Ref1 = NewAction("Ref1", "Trimora reference", QKeySequence(Qt::Key_F1));
    Homepage1 = NewAction("Homepage1", "Trimora homepage");
    About1 = NewAction("About1", "About");

    // Commands whose features are not in the program yet are shown but cannot be chosen.
    for (QAction* a : {toDXF, fromExcel, Detalji1, Print1, PrinterSetup1, Printlabels1, Settings1})
        a->setEnabled(false);
    ConnectProjectCommands();

    connect(Pocninovo1, &QAction::triggered, this, &TMainForm::Pocninovo1Click);
    connect(Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
    connect(Kantiranje1, &QAction::triggered, this, &TMainForm::Kantiranje1Click);
    connect(Ref1, &QAction::triggered, this, &TMainForm::Ref1Click);
    connect(Homepage1, &QAction::triggered, this, &TMainForm::Homepage1Click);
    connect(About1, &QAction::triggered, this, &TMainForm::About1Click);
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    File1 = bar->addMenu("File");
    File1->setObjectName("File1");
    File1->addAction(Pocninovo1);
    File1->addAction(Ucitaj1);
    File1->addAction(Dodaj1);
    File1->addAction(Sacuvaj1);
    File1->addAction(SacuvajKao1);
    File1->addSeparator();
    Export1 = File1->addMenu("Export to");
    Export1->setObjectName("Export1");
    Export1->addAction(toXML);
    Export1->addAction(toDXF);
    Import1 = File1->addMenu("Import from");
    Import1->setObjectName("Import1");
    Import1->addAction(fromExcel);
    Import1->addAction(fromXML);
    File1->addAction(Detalji1);
    File1->addSeparator();
    File1->addAction(Print1);
    File1->addAction(PrinterSetup1);
    File1->addAction(Printlabels1);
    File1->addSeparator();
    File1->addAction(Exit1);
    // The recent projects close the File menu, below the separator N6.
    QAction* n6 = File1->addSeparator();
    n6->setObjectName("N6");
    n6->setVisible(false);
    for (QAction* a : recent) File1->addAction(a);

    Options1 = bar->addMenu("Options");
    Options1->setObjectName("Options1");
    Options1->addAction(Settings1);
    Options1->addAction(Kantiranje1);

    Help1 = bar->addMenu("Help");
    Help1->setObjectName("Help1");
    Help1->addAction(Ref1);
    Help1->addAction(Homepage1);
    Help1->addSeparator();
    Help1->addAction(About1);
}

QToolButton* TMainForm::NewToolButton(const char* name, QAction* action, const QIcon& icon) {
    // Own buttons rather than the tool bar's action buttons: their hints are separate
    // language texts and must not follow the menu captions.
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setEnabled(action->isEnabled());
    connect(button, &QToolButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::enabledChanged, button, &QToolButton::setEnabled);
    ToolBar1->addWidget(button);
    return button;
}

void TMainForm::CreateToolBar() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(20, 20));
    QStyle* s = style();
    NewToolButton("ToolButton1", Pocninovo1, s->standardIcon(QStyle::SP_FileIcon));
    NewToolButton("ToolButton2", Ucitaj1, s->standardIcon(QStyle::SP_DialogOpenButton));
    NewToolButton("ToolButton7", Dodaj1, s->standardIcon(QStyle::SP_FileDialogNewFolder));
    NewToolButton("ToolButton4", Sacuvaj1, s->standardIcon(QStyle::SP_DialogSaveButton));
    NewToolButton("ToolButton5", SacuvajKao1, s->standardIcon(QStyle::SP_DriveFDIcon));
    ToolBar1->addSeparator();
    NewToolButton("ToolButton8", Print1, s->standardIcon(QStyle::SP_FileDialogDetailedView));
    NewToolButton("ToolButton13", Detalji1, s->standardIcon(QStyle::SP_FileDialogInfoView));
    NewToolButton("ToolButton10", Settings1, s->standardIcon(QStyle::SP_ComputerIcon));
    ToolBar1->addSeparator();
    NewToolButton("SpeedButton1", fromExcel, s->standardIcon(QStyle::SP_FileDialogListView));
}

void TMainForm::CreatePages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    setCentralWidget(PageControl1);

    pag1 = new InputPage(
        project_, bandTable_, [this](int n) { return LanguageText(n); }, PageControl1);
    pag2 = manualPage_ = new ManualPage(*this, PageControl1);
    DiagramPage::Sources sources;
    sources.layouts = [this]() -> const LayoutList& { return lastRun_.layouts; };
    sources.options = [this] { return DiagramOptionsFrom(settings_); };
    sources.text = [this](int n) { return LanguageText(n).toStdString(); };
    pag3 = new DiagramPage(project_, std::move(sources), PageControl1);
    pag3->WatchEnter(PageControl1);
    pag4 = new ReportPage(PageControl1);
    Arhiva = NewPage("Arhiva", PageControl1);
    PageControl1->addTab(pag1, "Unos i statistike");
    PageControl1->addTab(pag2, "Manuelni alg.");
    PageControl1->addTab(pag3, "Pregled i stampanje");
    PageControl1->addTab(pag4, "Izvestaji");
    PageControl1->addTab(Arhiva, "Arhiva");

    connect(pag1, &InputPage::inputChanged, this, [this] { SetPreviewPageVisible(false); });
    connect(pag1, &InputPage::automaticRunRequested, this, &TMainForm::Button4Click);
    connect(this, &TMainForm::resultsChanged, this, &TMainForm::ShowResults);
    connect(pag3, &DiagramPage::offcutsResplit, this, &TMainForm::RebuildResults);
    connect(pag4, &ReportPage::reportCleared, this, [this] { texts_.report.clear(); });
    connect(pag4, &ReportPage::billCleared, this, [this] { texts_.bill.clear(); });
    if (auto* start = pag1->findChild<QPushButton*>("Button1")) {
        start->setEnabled(true);
        connect(start, &QPushButton::clicked, manualPage_, &ManualPage::Button1Click);
    }
    ConnectStockButtons(*this);
}

// ---- start-up -----------------------------------------------------------------------------

void TMainForm::LoadSettingsAndLanguage() {
    const LoadedSettings loaded =
        LoadSettings(*store_, programFolder_, QLocale::system().name().toStdString());
    settings_ = loaded.settings;
    languageName_ = QString::fromStdString(loaded.language);
    project_.fileName = loaded.currentFileName;
    trimora::LoadLanguage(this, kFormMain, programFolder_, loaded.language, language_);
    pag1->ApplyTexts();
}

void TMainForm::ApplySettings() {
    pag4->SetFontSize(settings_.StatFontSize);
    pag1->SetLengthUnit(settings_.JedMere);
    pag1->SetBanding(settings_.Kantiranje);
}

void TMainForm::RestorePlacement() {
    resize(minimumSize());
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!settings_.frmpos) {
        // First shown centred on the screen.
        if (screen != nullptr) move(screen->availableGeometry().center() - rect().center());
        return;
    }
    if (settings_.frmstate != 2) {
        const QRect bounds(settings_.frmleft, settings_.frmtop, std::max(settings_.frmwidth, 795),
                           std::max(settings_.frmheight, 590));
        // A place on a screen that is no longer there would hide the window.
        if (QGuiApplication::screenAt(bounds.center()) != nullptr || screen == nullptr) {
            move(bounds.topLeft());
            resize(bounds.size());
        } else {
            resize(bounds.size());
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    if (settings_.frmstate == 1) setWindowState(Qt::WindowMinimized);
    if (settings_.frmstate == 2) setWindowState(Qt::WindowMaximized);
}

void TMainForm::OpenCommandLineProject(const QString& fileName) {
    LoadProjectFile(false, LoadSource::CommandLine, fileName);
}

void TMainForm::SetCaption() {
    setWindowTitle("Trimora - " + LanguageText(248));
}

void TMainForm::SetPreviewPageVisible(bool visible) {
    PageControl1->setTabVisible(PageControl1->indexOf(pag3), visible);
}

void TMainForm::LoadBandTypes() {
    BandLoadResult loaded = trimora::LoadBandTypes(BandTypesFile(programFolder_));
    bandTable_ = std::move(loaded.table);
    pag1->RefreshBandLists();
    if (loaded.error != 0)
        ShowLanguageMessage([this](int n) { return LanguageText(n); }, MessageKind::Error,
                            loaded.error, std::nullopt, MessageButtons::Ok, this);
}

// ---- commands -----------------------------------------------------------------------------

void TMainForm::Pocninovo1Click() {
    const QPoint centre = frameGeometry().center();
    const MessageAnswer answer =
        ShowLanguageMessage([this](int n) { return LanguageText(n); }, MessageKind::Confirmation,
                            244, centre - QPoint(200, 100), MessageButtons::YesNo, this);
    if (answer != MessageAnswer::Yes) return;
    // A manual run in progress belongs to the project that goes.
    manualPage_->AbandonRun();
    // Only the project data goes; settings and band types stay.
    ClearTable(project_, InputTable::Sheets);
    ClearTable(project_, InputTable::Parts);
    project_.result.PlacedParts.clear();
    project_.result.Offcuts.clear();
    SetPreviewPageVisible(false);
    lastRun_ = FinishedRun{};
    texts_ = ProjectTexts{};
    emit resultsChanged();
    pag1->ClearStatistics();
    pag1->RefreshTables();
    SetCaption();
    project_.fileName.clear();
    ownFileName_.clear();
    Print1->setEnabled(false);
    pag1->SetStockButtonsEnabled(false);
}

void TMainForm::RebuildResults() {
    lastRun_ = FinishRunReport(project_, MakeReportOptions(settings_, bandTable_),
                               [this](int n) { return LanguageText(n).toStdString(); });
    // A bill that stopped at a text it could not read leaves the statistics as they were.
    if (lastRun_.panel) texts_.statistics = StatisticsTextsOf(*lastRun_.panel);
    texts_.report = PlainText(lastRun_.report);
    texts_.bill = PlainText(lastRun_.bill);
    emit resultsChanged();
}

void TMainForm::ShowResults() {
    if (lastRun_.panel) pag1->ShowStatistics(*lastRun_.panel);
    pag4->SetReport(lastRun_.report);
    pag4->SetBill(lastRun_.bill);
    pag3->Refresh();
}

void TMainForm::Button4Click() {
    auto text = [this](int n) { return LanguageText(n); };
    const Preparation preparation =
        PrepareOptimiserInput(project_, settings_.JedMere, settings_.Testera);
    // The tables stand sorted now, whether the run goes on or not.
    pag1->HideBandPicker();
    pag1->RefreshTables();
    if (!preparation.Ready()) {
        // A refused run leaves the last result, its report and its pages as they were.
        ShowLanguageMessage(text, MessageKind::Error, preparation.text,
                            frameGeometry().center() - QPoint(200, 100), MessageButtons::Ok, this);
        if (preparation.row > 0)
            pag1->FocusCell(preparation.table, preparation.column, preparation.row);
        return;
    }
    const int candidates = CandidateCountForAutoparam(settings_.autoparam);
    wndProgress->Start(LanguageText(17), this);
    RunAutomaticLayout(project_.input, project_.result, candidates, DefaultLayoutRandom(),
                       [this, candidates](int candidate) {
                           wndProgress->SetPosition(ProgressPosition(candidate, candidates));
                       });
    wndProgress->Finish();
    pag3->Rewind();
    FinishRun();
}

void TMainForm::FinishRun() {
    RebuildResults();
    if (!lastRun_.conversionError.empty()) {
        // The report stops at the text it could not read, and so does the run: its result
        // is not offered for printing or stock as if it were complete.
        MessageRequest request;
        request.kind = MessageKind::Error;
        request.text = QString::fromStdString(lastRun_.conversionError);
        request.parent = this;
        Messages().Show(request);
        return;
    }
    if (!lastRun_.allPlaced) {
        ShowLanguageMessage([this](int n) { return LanguageText(n); }, MessageKind::Plain,
                            lastRun_.messageText, std::nullopt, MessageButtons::Ok, this);
        return;
    }
    PageControl1->setTabVisible(PageControl1->indexOf(pag1), true);
    PageControl1->setTabVisible(PageControl1->indexOf(pag2), false);
    SetPreviewPageVisible(true);
    pag1->SetStockButtonsEnabled(true);
    Print1->setEnabled(true);
}

void TMainForm::ShowManualPageOnly() {
    PageControl1->setTabVisible(PageControl1->indexOf(pag2), true);
    PageControl1->setCurrentWidget(pag2);
    PageControl1->setTabVisible(PageControl1->indexOf(pag1), false);
    SetPreviewPageVisible(false);
}

void TMainForm::LeaveManualPage(bool abandoned) {
    PageControl1->setTabVisible(PageControl1->indexOf(pag1), true);
    PageControl1->setCurrentWidget(pag1);
    PageControl1->setTabVisible(PageControl1->indexOf(pag2), false);
    if (!abandoned) return;
    // Sheets accepted before the run was given up are no result: nothing of them is left to
    // print, save or carry into stock.
    project_.result.PlacedParts.clear();
    project_.result.Offcuts.clear();
    SetPreviewPageVisible(false);
    Print1->setEnabled(false);
    pag1->SetStockButtonsEnabled(false);
    pag1->ClearStatistics();
    lastRun_ = FinishedRun{};
    texts_.report.clear();
    texts_.bill.clear();
    texts_.statistics = StatisticsTexts{};
    emit resultsChanged();
}

void TMainForm::Exit1Click() {
    close();
}

void TMainForm::Kantiranje1Click() {
    bandsDialog_->SetLengthUnit(settings_.JedMere);
    bandsDialog_->FillGrid();
    bandsDialog_->exec();
    LoadBandTypes();
}

bool TMainForm::OpenWithSystem(const QUrl& url) {
    if (QDesktopServices::openUrl(url)) return true;
    ShowLanguageMessage([this](int n) { return LanguageText(n); }, MessageKind::Error, 205,
                        std::nullopt, MessageButtons::Ok, this);
    return false;
}

void TMainForm::Ref1Click() {
    const char* name =
        languageName_ == QString::fromUtf8("Español") ? "trmx_help_esp.chm" : "trmx_help_eng.chm";
    const std::filesystem::path file = programFolder_ / "Help" / name;
    const QString path = QString::fromStdString(file.string());
    // A missing file is a failure to open, whatever the desktop's handler would say.
    if (!QFileInfo::exists(path)) {
        ShowLanguageMessage([this](int n) { return LanguageText(n); }, MessageKind::Error, 205,
                            std::nullopt, MessageButtons::Ok, this);
        return;
    }
    OpenWithSystem(QUrl::fromLocalFile(path));
}

void TMainForm::Homepage1Click() {
    OpenWithSystem(QUrl(HomePageAddress()));
}

void TMainForm::About1Click() {
    // Centred on the main window.
    aboutBox_->adjustSize();
    aboutBox_->move(frameGeometry().center() - aboutBox_->rect().center());
    aboutBox_->exec();
}

// ---- closing ------------------------------------------------------------------------------

void TMainForm::WriteSettings() {
    WindowPlacement placement;
    placement.left = x();
    placement.top = y();
    placement.width = width();
    placement.height = height();
    placement.state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    SaveSettings(*store_, settings_, languageName_.toStdString(), project_.fileName, placement);
    // Failures to write are ignored: there is nothing the user could do about them now.
    if (auto* file = dynamic_cast<QSettingsStore*>(store_.get())) file->Sync();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    WriteSettings();
    event->accept();
}

}  // namespace trimora
