// The project file commands of the main window: load, add, save, save as, XML export and
// import, and the load of a project named on the command line.
#include "ui/project_commands.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <filesystem>
#include <system_error>

#include "core/length_units.h"
#include "ui/form_messages.h"
#include "ui/input_page.h"
#include "ui/main_form.h"
#include "ui/manual_page.h"

namespace trimora {

QString ChooseFileWithDialog(const FileDialogRequest& request, QWidget* parent) {
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString LoadedFileCaption(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return "Trimora - " + name.left(std::max<qsizetype>(0, name.size() - 4));
}

QString SavedFileCaption(const QString& path) {
    return "Trimora - " + QFileInfo(path).fileName();
}

// ---- the main window's commands -----------------------------------------------------------

void TMainForm::ConnectProjectCommands() {
    connect(Ucitaj1, &QAction::triggered, this, &TMainForm::Ucitaj1Click);
    connect(Dodaj1, &QAction::triggered, this, &TMainForm::Dodaj1Click);
    connect(Sacuvaj1, &QAction::triggered, this, &TMainForm::Sacuvaj1Click);
    connect(SacuvajKao1, &QAction::triggered, this, &TMainForm::SacuvajKao1Click);
    connect(toXML, &QAction::triggered, this, &TMainForm::toXMLClick);
    connect(fromXML, &QAction::triggered, this, &TMainForm::fromXMLClick);
    connect(recent[0], &QAction::triggered, this, &TMainForm::recent0Click);
    connect(recent[1], &QAction::triggered, this, &TMainForm::recent1Click);
    connect(recent[2], &QAction::triggered, this, &TMainForm::recent2Click);
    connect(recent[3], &QAction::triggered, this, &TMainForm::recent3Click);
    connect(recent[4], &QAction::triggered, this, &TMainForm::recent4Click);
}

ProjectDocumentSettings TMainForm::DocumentSettings() const {
    return DocumentSettingsOf(settings_);
}

QString TMainForm::ChooseFile(bool save, bool asXml) {
    FileDialogRequest request;
    request.save = save;
    request.title = LanguageText(save ? 168 : 167);
    // The dialogs start beside the current file. The name remembered from the last session
    // may be a folder (the Projects folder at a first start): then they start in it.
    std::filesystem::path folder = ProjectDialogFolder(project_, programFolder_);
    std::error_code error;
    if (!project_.fileName.empty() && std::filesystem::is_directory(project_.fileName, error))
        folder = project_.fileName;
    request.folder = QDir::cleanPath(QString::fromStdString(folder.string()));
    if (save) {
        request.filter = asXml ? kXmlSaveFilter : kProjectSaveFilter;
        request.defaultSuffix = asXml ? "xml" : "trp";
    } else {
        request.filter = asXml ? kXmlOpenFilter : kProjectOpenFilter;
        request.defaultSuffix = asXml ? "xml" : "";
    }
    if (fileChooser) return fileChooser(request);
    return ChooseFileWithDialog(request, this);
}

void TMainForm::Ucitaj1Click() {
    if (!LoadProjectFile(false, LoadSource::OpenDialog)) return;
    Print1->setEnabled(true);
}

void TMainForm::Dodaj1Click() {
    LoadProjectFile(true, LoadSource::OpenDialog);
}

void TMainForm::fromXMLClick() {
    LoadProjectFile(false, LoadSource::XmlDialog);
}

void TMainForm::Sacuvaj1Click() {
    SaveProjectFile(false, false);
}

void TMainForm::SacuvajKao1Click() {
    SaveProjectFile(true, false);
    Print1->setEnabled(false);
}

void TMainForm::toXMLClick() {
    SaveProjectFile(true, true);
}

bool TMainForm::LoadProjectFile(bool add, LoadSource source, const QString& givenPath) {
    QString path = givenPath;
    if (source == LoadSource::OpenDialog || source == LoadSource::XmlDialog)
        path = ChooseFile(false, source == LoadSource::XmlDialog);
    if (path.trimmed().isEmpty()) return false;

    // A manual run in progress works on the tables a load replaces: it is given up first.
    manualPage_->AbandonRun();

    LoadOptions options;
    options.path = path.toStdString();
    options.add = add;
    options.source = source;
    const LoadOutcome outcome = LoadProject(project_, texts_, DocumentSettings(), options);
    if (outcome.messageText != 0) {
        // A damaged document is reported where the user is looking: at the mouse.
        std::optional<QPoint> position;
        if (outcome.messageText == 288) position = QCursor::pos();
        ShowLanguageMessage([this](int n) { return LanguageText(n); }, MessageKind::Error,
                            outcome.messageText, position, MessageButtons::Ok, this);
    }
    if (outcome.status != LoadStatus::Loaded) return false;
    // Appending rows keeps the project's own name and caption.
    if (project_.fileName == options.path) {
        ownFileName_ = project_.fileName;
        setWindowTitle(LoadedFileCaption(path));
    }
    // The tables are new: the last run's views belong to another project now.
    lastRun_ = FinishedRun{};
    SetPreviewPageVisible(false);
    pag1->SetStockButtonsEnabled(false);
    pag1->RefreshTables();
    emit resultsChanged();
    if (outcome.showResults) FinishRun();
    ShowDocumentStatistics();
    if (outcome.addToRecent) AddToRecent(project_.fileName);
    return true;
}

void TMainForm::ShowDocumentStatistics() {
    // The captions name the current units: the lengths were re-expressed.
    pag1->ShowStatistics(
        StatisticsPanelOf(texts_.statistics, settings_.JedMere, settings_.AreaStyle,
                          [this](int n) { return LanguageText(n).toStdString(); }));
}

bool TMainForm::SaveProjectFile(bool saveAs, bool asXml) {
    const auto message = [this](int number) {
        ShowLanguageMessage([this](int n) { return LanguageText(n); }, MessageKind::Error, number,
                            std::nullopt, MessageButtons::Ok, this);
    };
    if (project_.SheetRowCount <= 0 && project_.PartRowCount <= 0) {
        message(29);
        return false;
    }
    // The name remembered from the last session is not this project's file: ask for one.
    const bool named = !project_.fileName.empty() && project_.fileName == ownFileName_;
    const bool dialog = SaveNeedsDialog(project_, saveAs || !named, asXml);

    SaveOptions options;
    options.saveAs = saveAs || !named;
    options.asXml = asXml;
    options.templatePath = ProjectTemplatePath(programFolder_);
    if (dialog) {
        const QString chosen = ChooseFile(true, asXml);
        if (chosen.trimmed().isEmpty()) return false;
        options.chosenPath = chosen.toStdString();
        // Ask about the file that will really be written.
        const QString target = QString::fromStdString(SaveTargetName(options.chosenPath, asXml));
        if (QFileInfo::exists(target)) {
            MessageRequest request;
            request.kind = MessageKind::Confirmation;
            request.textNumber = 27;
            request.text = target + " " + LanguageText(27);
            request.buttons = MessageButtons::YesNo;
            request.parent = this;
            if (Messages().Show(request) != MessageAnswer::Yes) return false;
        }
    }

    const SaveOutcome outcome = SaveProject(project_, DocumentSettings(), texts_, options);
    if (outcome.messageText != 0) {
        message(outcome.messageText);
        return false;
    }
    if (outcome.cancelled) return false;
    if (!asXml) {
        ownFileName_ = project_.fileName;
        if (dialog) setWindowTitle(SavedFileCaption(QString::fromStdString(outcome.writtenPath)));
    }
    if (outcome.addToRecent) AddToRecent(project_.fileName);
    return true;
}

}  // namespace trimora
