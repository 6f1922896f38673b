#pragma once

#include <QDialog>

class QPushButton;

namespace trimora {

// The about box: program icon, product name and version, and an OK button.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace trimora
