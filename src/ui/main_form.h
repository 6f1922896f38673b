#pragma once

#include <QMainWindow>

class QTabWidget;

namespace trimora {

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

private:
    QTabWidget* PageControl1 = nullptr;
};

}  // namespace trimora
