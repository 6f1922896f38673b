// The main window: page control, menu, tool bar and the commands that route to the rest of
// the program. It owns the project and everything that lives as long as the program.
#pragma once

#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <memory>

#include "config/band_table.h"
#include "config/language.h"
#include "config/settings.h"
#include "core/project.h"
#include "files/project_document.h"
#include "files/recent_projects.h"
#include "output/diagram.h"
#include "output/run_finish.h"
#include "ui/project_commands.h"

class QAction;
class QMenu;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace trimora {

class DiagramPage;
class InputPage;
class ReportPage;
class ManualPage;
class TAboutBox;
class TBands;
class TwndProgress;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // projectFile: a project named on the command line, opened before the window is shown.
    // store: where the settings live; the user's INI file when none is given.
    explicit TMainForm(const QString& projectFile = QString(),
                       std::unique_ptr<KeyValueStore> store = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    Project& project() { return project_; }
    const Settings& settings() const { return settings_; }
    const QString& LanguageName() const { return languageName_; }
    const std::filesystem::path& ProgramFolder() const { return programFolder_; }
    QString LanguageText(int number) const;

    // Command handlers, named after their menu items.
    void Pocninovo1Click();
    void Exit1Click();
    void Kantiranje1Click();
    void Ref1Click();
    void Homepage1Click();
    void About1Click();

    // Reads the band file and refills the band lists.
    void LoadBandTypes();
    void SetCaption();
    // The preview page is shown after a complete run and hidden by any change of the input.
    void SetPreviewPageVisible(bool visible);

    TBands* BandsDialog() const { return bandsDialog_; }
    const BandTable& Bands() const { return bandTable_; }
    TAboutBox* AboutBox() const { return aboutBox_; }

    static QString HomePageAddress();

    // The step after every run (automatic or manual) and after a load that reopens the
    // results: builds the layout list, report, bill and statistics, then either tells the
    // user that not every piece was placed or opens the result pages.
    void FinishRun();
    // The report, the bill, the statistics and the layout list built anew from the current
    // result, without opening or closing pages (after a re-split of two offcuts).
    void RebuildResults();
    // The automatic run (Button4 of the input page).
    void Button4Click();
    // A manual run shows its page instead of the input page and the preview page until it
    // finishes or is abandoned. Leaving an abandoned run empties the result and its views.
    void ShowManualPageOnly();
    void LeaveManualPage(bool abandoned);
    InputPage* Input() const { return pag1; }
    ManualPage* Manual() const { return manualPage_; }

    // The last run's layout list, rich report and bill, statistics panel.
    const FinishedRun& LastRun() const { return lastRun_; }
    // The result texts as the project document stores them.
    ProjectTexts& Texts() { return texts_; }

    // ---- project files and recent projects (project_commands.cpp, recent_menu.cpp) ----
    void Ucitaj1Click();
    void Dodaj1Click();
    void Sacuvaj1Click();
    void SacuvajKao1Click();
    void toXMLClick();
    void fromXMLClick();
    void recent0Click() { OpenRecentProject(0); }
    void recent1Click() { OpenRecentProject(1); }
    void recent2Click() { OpenRecentProject(2); }
    void recent3Click() { OpenRecentProject(3); }
    void recent4Click() { OpenRecentProject(4); }
    // Sets the recent items of the File menu from the list.
    void RefreshRecentMenu();
    RecentProjects RecentList() const;
    // Chooses the file of the open and save dialogs; a real file dialog unless replaced.
    FileChooser fileChooser;

signals:
    // The report, the bill, the statistics or the layouts changed: the views refresh.
    void resultsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreatePages();
    void LoadSettingsAndLanguage();
    void ApplySettings();
    void RestorePlacement();
    void OpenCommandLineProject(const QString& fileName);
    void WriteSettings();
    void ShowResults();
    QAction* NewAction(const char* name, const char* caption, QKeySequence shortcut = {});
    QToolButton* NewToolButton(const char* name, QAction* action, const QIcon& icon);
    bool OpenWithSystem(const QUrl& url);
    // Project files: a load from any source, the three saves, the recent entries.
    bool LoadProjectFile(bool add, LoadSource source, const QString& path = QString());
    bool SaveProjectFile(bool saveAs, bool asXml);
    void OpenRecentProject(int index);
    void AddToRecent(const std::string& fileName);
    void SetRecentList(const RecentProjects& list);
    void ShowDocumentStatistics();
    ProjectDocumentSettings DocumentSettings() const;
    QString ChooseFile(bool save, bool asXml);
    void ConnectProjectCommands();

    Project project_;
    std::filesystem::path programFolder_;
    std::unique_ptr<KeyValueStore> store_;
    Settings settings_;
    LanguageTable language_;
    QString languageName_;
    BandTable bandTable_;
    FinishedRun lastRun_;
    ProjectTexts texts_;
    // The file this session loaded or saved the project as. The name remembered from the
    // last session only guides the dialogs: a plain save never writes over it unasked.
    std::string ownFileName_;

    QTabWidget* PageControl1 = nullptr;
    InputPage* pag1 = nullptr;
    QWidget* pag2 = nullptr;
    ManualPage* manualPage_ = nullptr;
    DiagramPage* pag3 = nullptr;
    ReportPage* pag4 = nullptr;
    QWidget* Arhiva = nullptr;

    QMenu* File1 = nullptr;
    QMenu* Options1 = nullptr;
    QMenu* Help1 = nullptr;
    QMenu* Export1 = nullptr;
    QMenu* Import1 = nullptr;
    QToolBar* ToolBar1 = nullptr;

    QAction* Pocninovo1 = nullptr;
    QAction* Ucitaj1 = nullptr;
    QAction* Dodaj1 = nullptr;
    QAction* Sacuvaj1 = nullptr;
    QAction* SacuvajKao1 = nullptr;
    QAction* toXML = nullptr;
    QAction* toDXF = nullptr;
    QAction* fromExcel = nullptr;
    QAction* fromXML = nullptr;
    QAction* Detalji1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* PrinterSetup1 = nullptr;
    QAction* Printlabels1 = nullptr;
    QAction* recent[5] = {};
    QAction* Exit1 = nullptr;
    QAction* Settings1 = nullptr;
    QAction* Kantiranje1 = nullptr;
    QAction* Ref1 = nullptr;
    QAction* Homepage1 = nullptr;
    QAction* About1 = nullptr;

    TwndProgress* wndProgress = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    TBands* bandsDialog_ = nullptr;
};

}  // namespace trimora
