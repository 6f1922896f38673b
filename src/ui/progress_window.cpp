#include "ui/progress_window.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>

namespace trimora {

TwndProgress::TwndProgress(QWidget* parent) : QDialog(parent) {
    setObjectName("wndProgress");
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint);
    setModal(false);
    Bar1 = new QProgressBar(this);
    Bar1->setObjectName("Bar1");
    Bar1->setRange(0, 100);
    Bar1->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(Bar1);
    setFixedSize(360, 60);
}

void TwndProgress::Start(const QString& caption, const QWidget* owner) {
    setWindowTitle(caption);
    Bar1->setValue(0);
    if (owner != nullptr) move(owner->frameGeometry().center() - rect().center());
    show();
    QCoreApplication::processEvents();
}

void TwndProgress::SetPosition(int position) {
    if (Bar1->value() == position) return;
    Bar1->setValue(position);
    Bar1->repaint();
}

void TwndProgress::Finish() {
    hide();
}

}  // namespace trimora
