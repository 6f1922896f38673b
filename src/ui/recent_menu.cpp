// The recent projects at the end of the main window's File menu, kept in the settings rp1..rp5
// and written back with the other settings when the window closes.
#include <QAction>
#include <QFontMetrics>

#include "ui/form_messages.h"
#include "ui/main_form.h"

namespace trimora {

RecentProjects TMainForm::RecentList() const {
    return {settings_.rp1, settings_.rp2, settings_.rp3, settings_.rp4, settings_.rp5};
}

void TMainForm::SetRecentList(const RecentProjects& list) {
    settings_.rp1 = list[0];
    settings_.rp2 = list[1];
    settings_.rp3 = list[2];
    settings_.rp4 = list[3];
    settings_.rp5 = list[4];
}

void TMainForm::RefreshRecentMenu() {
    const QFontMetrics metrics(font());
    const RecentMenu menu = trimora::RefreshRecentMenu(RecentList(), [&](std::string_view text) {
        return metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    });
    for (int i = 0; i < kRecentProjectCount; ++i) {
        recent[i]->setText(QString::fromStdString(menu.items[i].caption));
        recent[i]->setVisible(menu.items[i].visible);
    }
    if (auto* n6 = findChild<QAction*>("N6")) n6->setVisible(menu.separatorVisible);
}

void TMainForm::AddToRecent(const std::string& fileName) {
    RecentProjects list = RecentList();
    if (!AddRecentProject(list, fileName)) return;
    SetRecentList(list);
    RefreshRecentMenu();
}

void TMainForm::OpenRecentProject(int index) {
    const RecentProjects list = RecentList();
    // A file that is gone stays listed: it may be on a drive that is not there right now.
    if (const int missing = CheckRecentEntry(list, index); missing != 0) {
        ShowLanguageMessage([this](int n) { return LanguageText(n); }, MessageKind::Information,
                            missing, std::nullopt, MessageButtons::Ok, this);
        return;
    }
    if (LoadProjectFile(false, LoadSource::RecentEntry, QString::fromStdString(list[index])))
        Print1->setEnabled(true);
}

}  // namespace trimora
