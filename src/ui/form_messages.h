// A short way for the windows to show a language text through the message service.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

#include "ui/message_service.h"

class QWidget;

namespace trimora {

// The language text of a number, as the windows read it.
using TextSource = std::function<QString(int number)>;

MessageAnswer ShowLanguageMessage(const TextSource& text, MessageKind kind, int number,
                                  std::optional<QPoint> position, MessageButtons buttons,
                                  QWidget* parent);

// The main window's screen position plus the control's position in its parent, moved by
// (dx, dy): how the message positions near a control are given.
QPoint FormPosition(const QWidget* control, int dx, int dy);

}  // namespace trimora
