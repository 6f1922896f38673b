#include <exception>

#include "ui/application.h"
#include "ui/main_form.h"

int main(int argc, char* argv[]) {
    trimora::TrimoraApplication app(argc, argv);
    // The first argument names a project to open at start.
    const QStringList args = QCoreApplication::arguments();
    const QString projectFile = args.size() > 1 ? args.at(1) : QString();
    try {
        trimora::TMainForm form(projectFile);
        form.show();
        return app.exec();
    } catch (const std::exception& e) {
        trimora::ShowException(e.what());
    }
    return 1;
}
