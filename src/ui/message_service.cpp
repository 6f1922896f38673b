#include "ui/message_service.h"

#include <QMessageBox>

namespace trimora {

namespace {

QMessageBox::Icon IconFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Confirmation:
            return QMessageBox::Question;
        case MessageKind::Plain:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsFor(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QtMessageService& QtService() {
    static QtMessageService service;
    return service;
}

MessageService* g_service = nullptr;

}  // namespace

MessageAnswer QtMessageService::Show(const MessageRequest& request) {
    QMessageBox box(IconFor(request.kind), QStringLiteral("Trimora"), request.text,
                    ButtonsFor(request.buttons), request.parent);
    if (request.position) {
        box.adjustSize();
        box.move(*request.position);
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            return request.buttons == MessageButtons::OkCancel ||
                           request.buttons == MessageButtons::Ok
                       ? MessageAnswer::Ok
                       : MessageAnswer::Cancel;
    }
}

MessageService& Messages() {
    return g_service != nullptr ? *g_service : QtService();
}

void SetMessageService(MessageService* service) {
    g_service = service;
}

}  // namespace trimora
