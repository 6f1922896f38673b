#include "ui/form_messages.h"

#include <QWidget>

namespace trimora {

MessageAnswer ShowLanguageMessage(const TextSource& text, MessageKind kind, int number,
                                  std::optional<QPoint> position, MessageButtons buttons,
                                  QWidget* parent) {
    MessageRequest request;
    request.kind = kind;
    request.textNumber = number;
    request.text = text ? text(number) : QString();
    request.position = position;
    request.buttons = buttons;
    request.parent = parent != nullptr ? parent->window() : nullptr;
    return Messages().Show(request);
}

QPoint ScreenPosition(const QWidget* widget, int dx, int dy) {
    return widget->mapToGlobal(QPoint(0, 0)) + QPoint(dx, dy);
}

}  // namespace trimora
