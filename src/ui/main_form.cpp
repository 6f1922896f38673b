#include "ui/main_form.h"

#include <QTabWidget>

namespace trimora {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("TMainForm");
    setMinimumSize(795, 590);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    setCentralWidget(PageControl1);
}

}  // namespace trimora
