// Every message box and question of the program goes through one service, so tests can
// answer questions and see which text was shown.
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

class QWidget;

namespace trimora {

enum class MessageKind { Error, Warning, Information, Confirmation, Plain };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    MessageKind kind = MessageKind::Plain;
    int textNumber = -1;             // language text number, -1 for a built-in text
    QString text;                    // the text shown
    std::optional<QPoint> position;  // top-left corner on screen; centred on the parent when empty
    MessageButtons buttons = MessageButtons::Ok;
    QWidget* parent = nullptr;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

// Shows real QMessageBoxes at the requested position.
class QtMessageService : public MessageService {
public:
    MessageAnswer Show(const MessageRequest& request) override;
};

// The service in use; the program starts with a QtMessageService.
MessageService& Messages();
// Installs another service (tests); nullptr restores the Qt one.
void SetMessageService(MessageService* service);

}  // namespace trimora
