#include "ui/stock_commands.h"

#include <QPushButton>
#include <vector>

#include "optimiser/stock.h"
#include "ui/form_messages.h"
#include "ui/input_page.h"
#include "ui/main_form.h"

namespace trimora {

namespace {

QPushButton* Button(TMainForm& form, const char* name) {
    return form.Input()->findChild<QPushButton*>(name);
}

}  // namespace

void BitBtn15Click(TMainForm& form) {
    QPushButton* button = Button(form, "BitBtn15");
    if (button == nullptr || !button->isEnabled()) return;
    StockActions actions;
    actions.transferGoodOffcuts = true;
    std::vector<int32_t> layoutSheets;
    for (const Layout& layout : form.LastRun().layouts.layouts)
        layoutSheets.push_back(layout.sheet);
    const Settings& settings = form.settings();
    GoodOffcutRules rules;
    rules.kerf = settings.Testera;
    rules.minLength = settings.Visak;
    rules.minWidth = settings.Visak2;
    rules.unit = settings.JedMere;
    rules.remnantText = form.LanguageText(kTextRemnant).toStdString();
    TransferGoodOffcuts(form.project(), layoutSheets, rules, actions);
    button->setEnabled(actions.transferGoodOffcuts);
    // The result itself is unchanged, so the diagrams stay; only the table and its title move.
    form.Input()->RefreshTables();
}

void TableMinusClick(TMainForm& form) {
    QPushButton* button = Button(form, "TableMinus");
    if (button == nullptr || !button->isEnabled()) return;
    StockActions actions;
    actions.subtractUsedSheets = true;
    const int refused = SubtractUsedSheets(form.project(), form.settings().JedMere, actions);
    if (refused != 0) {
        // Nothing was changed; the user corrects the quantity and presses again.
        ShowLanguageMessage([&form](int n) { return form.LanguageText(n); }, MessageKind::Error,
                            refused, form.frameGeometry().center() - QPoint(200, 100),
                            MessageButtons::Ok, &form);
        return;
    }
    button->setEnabled(actions.subtractUsedSheets);
    form.Input()->RefreshTables();
}

void ConnectStockButtons(TMainForm& form) {
    if (QPushButton* b = Button(form, "BitBtn15"))
        QObject::connect(b, &QPushButton::clicked, &form, [&form] { BitBtn15Click(form); });
    if (QPushButton* b = Button(form, "TableMinus"))
        QObject::connect(b, &QPushButton::clicked, &form, [&form] { TableMinusClick(form); });
}

}  // namespace trimora
