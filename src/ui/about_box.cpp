#include "ui/about_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace trimora {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("TAboutBox");
    setWindowTitle("About");
    setWindowFlags((windowFlags() | Qt::WindowStaysOnTopHint) & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setObjectName("ProgramIcon");
    QIcon programIcon = QApplication::windowIcon();
    if (programIcon.isNull()) programIcon = style()->standardIcon(QStyle::SP_ComputerIcon);
    icon->setPixmap(programIcon.pixmap(48, 48));

    auto* product = new QLabel("Trimora v1.3.2.7", this);
    product->setObjectName("ProductName");
    QFont font = product->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    product->setFont(font);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addWidget(product, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->addLayout(top);
    layout->addSpacing(16);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(300, 140)));
}

}  // namespace trimora
