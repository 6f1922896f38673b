#include "ui/language_applier.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include "ui/message_service.h"

namespace trimora {

namespace {

// Like findChild (direct children first, then each child's tree in order), but a dialog the
// window owns is not searched: it takes its own form's texts, and several of its controls share
// names with the window's own (StringGrid1, Deleterow1, Label10, ...).
QObject* FindDescendant(const QObject* parent, const QString& objectName) {
    const QObjectList& children = parent->children();
    for (QObject* child : children)
        if (child->objectName() == objectName) return child;
    for (QObject* child : children) {
        if (qobject_cast<QDialog*>(child) != nullptr) continue;
        if (QObject* found = FindDescendant(child, objectName)) return found;
    }
    return nullptr;
}

QObject* FindElement(QWidget* window, std::string_view name) {
    const QString objectName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (window->objectName() == objectName) return window;
    return FindDescendant(window, objectName);
}

QTabWidget* TabWidgetOfPage(QWidget* page) {
    QWidget* stack = page->parentWidget();
    if (stack == nullptr) return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    if (tabs == nullptr || tabs->indexOf(page) < 0) return nullptr;
    return tabs;
}

void SetCaption(QObject* object, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(text);
        return;
    }
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (QTabWidget* tabs = TabWidgetOfPage(widget)) {
            tabs->setTabText(tabs->indexOf(widget), text);
            widget->setWindowTitle(text);
            return;
        }
    }
    if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->setTitle(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        group->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(text);
    } else if (object->metaObject()->indexOfProperty("text") >= 0) {
        object->setProperty("text", text);
    } else if (object->metaObject()->indexOfProperty("title") >= 0) {
        object->setProperty("title", text);
    }
}

void SetHint(QObject* object, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(object))
        action->setToolTip(text);
    else if (auto* widget = qobject_cast<QWidget*>(object))
        widget->setToolTip(text);
}

void SetHeaderCell(QObject* object, int column, const QString& text) {
    if (auto* table = qobject_cast<QTableWidget*>(object)) {
        if (column >= table->columnCount()) return;
        QTableWidgetItem* item = table->horizontalHeaderItem(column);
        if (item == nullptr) {
            table->setHorizontalHeaderItem(column, new QTableWidgetItem(text));
        } else {
            item->setText(text);
        }
        return;
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(object)) {
        QAbstractItemModel* model = view->model();
        if (model == nullptr || column >= model->columnCount()) return;
        model->setHeaderData(column, Qt::Horizontal, text, Qt::DisplayRole);
    }
}

void SetItemText(QObject* object, int index, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(object)) {
        while (combo->count() <= index) combo->addItem(QString());
        combo->setItemText(index, text);
    } else if (auto* list = qobject_cast<QListWidget*>(object)) {
        while (list->count() <= index) list->addItem(QString());
        list->item(index)->setText(text);
    } else if (auto* buttons = qobject_cast<QButtonGroup*>(object)) {
        QAbstractButton* button = buttons->button(index);
        if (button == nullptr && index < buttons->buttons().size())
            button = buttons->buttons().at(index);
        if (button != nullptr) button->setText(text);
    } else if (auto* view = qobject_cast<QAbstractItemView*>(object)) {
        QAbstractItemModel* model = view->model();
        if (model != nullptr && index < model->rowCount())
            model->setData(model->index(index, 0), text, Qt::DisplayRole);
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        const QList<QRadioButton*> radios = widget->findChildren<QRadioButton*>();
        if (index < radios.size()) radios.at(index)->setText(text);
    }
}

void SetElement(QWidget* window, const FormElement& element, const QString& text) {
    switch (element.property) {
        case ElementProperty::WindowTitle:
            window->setWindowTitle(text);
            return;
        case ElementProperty::PrinterFontName:
            window->setProperty("printerFontName", text);
            return;
        default:
            break;
    }
    QObject* object = FindElement(window, element.objectName);
    if (object == nullptr) return;
    switch (element.property) {
        case ElementProperty::Caption:
            SetCaption(object, text);
            break;
        case ElementProperty::Hint:
            SetHint(object, text);
            break;
        case ElementProperty::DialogTitle:
            if (auto* widget = qobject_cast<QWidget*>(object))
                widget->setWindowTitle(text);
            else
                object->setProperty("dialogTitle", text);
            break;
        case ElementProperty::HeaderCell:
            SetHeaderCell(object, element.index, text);
            break;
        case ElementProperty::ItemText:
            SetItemText(object, element.index, text);
            break;
        case ElementProperty::FontName:
            if (auto* widget = qobject_cast<QWidget*>(object)) {
                QFont font = widget->font();
                font.setFamily(text);
                widget->setFont(font);
            }
            break;
        case ElementProperty::WindowTitle:
        case ElementProperty::PrinterFontName:
            break;
    }
}

}  // namespace

void ApplyLanguage(QWidget* window, int formNumber, const LanguageTable& table) {
    if (window == nullptr) return;
    for (const FormElement& element : FormElements(formNumber))
        SetElement(window, element, QString::fromStdString(ElementText(element, table)));
}

void ApplyBuiltInDefaults(QWidget* window, int formNumber) {
    if (window == nullptr) return;
    for (const FormElement& element : FormElements(formNumber)) {
        if (element.defaultText.empty()) continue;
        SetElement(window, element,
                   QString::fromUtf8(element.defaultText.data(),
                                     static_cast<qsizetype>(element.defaultText.size())) +
                       QString::fromUtf8(element.suffix.data(),
                                         static_cast<qsizetype>(element.suffix.size())));
    }
}

LanguageLoadStatus LoadLanguage(QWidget* window, int formNumber,
                                const std::filesystem::path& programFolder, const std::string& name,
                                LanguageTable& table, LanguageProblemReport report) {
    const LanguageLoadResult result = LoadLanguageFile(programFolder, name, table);
    const bool tell = report == LanguageProblemReport::Always ||
                      (report == LanguageProblemReport::MainFormOnly && formNumber == kFormMain);
    switch (result.status) {
        case LanguageLoadStatus::Ok:
            ApplyLanguage(window, formNumber, table);
            break;
        case LanguageLoadStatus::SyntaxError:
            if (tell) {
                MessageRequest request;
                request.kind = MessageKind::Error;
                request.text =
                    QString::fromUtf8(kLanguageFileErrorText.data(),
                                      static_cast<qsizetype>(kLanguageFileErrorText.size()));
                request.parent = window;
                Messages().Show(request);
            }
            break;
        case LanguageLoadStatus::MissingFile: {
            if (tell) {
                MessageRequest request;
                request.kind = MessageKind::Warning;
                request.text = QStringLiteral(
                                   "The language file \"%1\" was not found. The program shows its "
                                   "built-in captions until a language is chosen in the settings.")
                                   .arg(QString::fromStdString(result.path.string()));
                request.parent = window;
                Messages().Show(request);
            }
            // Composed captions and the other windows read the table, so give it the same
            // built-in captions where it has nothing yet.
            const LanguageTable defaults = BuiltInDefaultsTable(formNumber);
            for (int n = 0; n < kLanguageTextCount; ++n) {
                if (table.LanguageText(n).empty() && !defaults.LanguageText(n).empty())
                    table.SetText(n, defaults.LanguageText(n));
            }
            ApplyBuiltInDefaults(window, formNumber);
            break;
        }
    }
    return result.status;
}

}  // namespace trimora
