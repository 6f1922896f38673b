#include <QTabWidget>
#include <QTest>

#include "ui/main_form.h"
#include "ui_test_support.h"

using namespace trimora;

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void hasPageControlAndMinimumSize() {
        TMainForm form;
        QVERIFY(form.findChild<QTabWidget*>("PageControl1") != nullptr);
        QCOMPARE(form.minimumSize(), QSize(795, 590));
    }
};

QTEST_MAIN(TestMainForm)
#include "test_main_form.moc"
