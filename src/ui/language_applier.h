// Puts the language texts on a window's widgets. Elements are found by objectName among the
// window's descendants (widgets, menus, actions, button groups, models' views); an element
// that does not exist is skipped, so a window may build only some of them.
//
// How each kind of element is set:
// - caption: QAction and QLabel/QAbstractButton text, QGroupBox and QMenu title; a page of a
//   QTabWidget gets the tab text (and keeps it as its windowTitle for tabs added later);
//   other objects get their "text" or "title" property when they have one.
// - hint: toolTip of the widget or action.
// - window caption: windowTitle of the window itself; file dialog title: windowTitle of a
//   QFileDialog widget, or the dynamic property "dialogTitle" of a plain object.
// - header cell i: the horizontal header of column i (the tables keep their column 0):
//   a QTableWidget header item, otherwise model()->setHeaderData of an item view.
// - item i: QComboBox and QListWidget items (grown when there are fewer), the i-th button of a
//   QButtonGroup, or the i-th QRadioButton inside a group widget.
// - font name: the widget's font family; the printer font goes into the window's dynamic
//   property "printerFontName".
#pragma once

#include <QString>
#include <filesystem>
#include <string>

#include "config/language.h"

class QWidget;

namespace trimora {

inline QString LanguageQText(const LanguageTable& table, int number) {
    return QString::fromStdString(table.LanguageText(number));
}

// Sets every element of the form from the table, empty texts included.
void ApplyLanguage(QWidget* window, int formNumber, const LanguageTable& table);

// Sets the elements of the form that have a built-in caption, for running without a file.
void ApplyBuiltInDefaults(QWidget* window, int formNumber);

enum class LanguageProblemReport {
    MainFormOnly,  // a language load always starts with the main window: report once
    Always,
    Never,
};

// Loads the language file and sets the window's texts. A damaged file shows "Language file has
// error" and leaves the window as it is (texts read before the damage stay in the table). A
// missing file shows a warning, fills the table's still-empty entries with the form's built-in
// captions and puts them on the window.
LanguageLoadStatus LoadLanguage(QWidget* window, int formNumber,
                                const std::filesystem::path& programFolder, const std::string& name,
                                LanguageTable& table,
                                LanguageProblemReport report = LanguageProblemReport::MainFormOnly);

}  // namespace trimora
