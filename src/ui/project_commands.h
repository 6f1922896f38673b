// The file dialogs of the project commands (load, add, save, save as, XML export and
// import), kept behind a replaceable chooser so the commands can run without a modal dialog.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace trimora {

struct FileDialogRequest {
    bool save = false;  // a save dialog; otherwise an open dialog that wants an existing file
    QString title;
    QString folder;  // where the dialog starts
    QString filter;  // Qt filter text, entries separated by ";;"
    QString defaultSuffix;
};

// Returns the chosen path, or an empty text when the dialog was cancelled.
using FileChooser = std::function<QString(const FileDialogRequest& request)>;

// Shows a real QFileDialog. It never asks before overwriting: the save commands ask
// themselves, about the file they will really write.
QString ChooseFileWithDialog(const FileDialogRequest& request, QWidget* parent);

// The filters of the dialogs. The open filters list both letter cases because the file
// systems the program runs on may tell them apart.
inline constexpr char kProjectSaveFilter[] = "Trimora (*.trp)";
inline constexpr char kXmlSaveFilter[] = "Trimora XML (*.xml)";
inline constexpr char kProjectOpenFilter[] =
    "Trimora (*.trp *.TRP);;Bodrix (*.bdx *.BDX);;"
    "All Supported File Types (*.trp *.bdx *.TRP *.BDX)";
inline constexpr char kXmlOpenFilter[] = "Trimora XML file (*.xml *.XML)";

// The caption after a load names the file without its extension ("plan" for plan.trp);
// after a save through the dialog it names the file with it.
QString LoadedFileCaption(const QString& path);
QString SavedFileCaption(const QString& path);

}  // namespace trimora
