#include <QApplication>

#include "ui/main_form.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trimora");
    trimora::TMainForm form;
    form.show();
    return app.exec();
}
