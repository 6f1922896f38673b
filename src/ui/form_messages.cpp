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
    // A box without any text helps nobody: name the message at least.
    if (request.text.isEmpty()) request.text = QStringLiteral("Trimora message %1").arg(number);
    request.position = position;
    request.buttons = buttons;
    request.parent = parent != nullptr ? parent->window() : nullptr;
    return Messages().Show(request);
}

QPoint FormPosition(const QWidget* control, int dx, int dy) {
    return control->window()->frameGeometry().topLeft() + control->pos() + QPoint(dx, dy);
}

}  // namespace trimora
