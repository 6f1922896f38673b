#include "ui/application.h"

#include <exception>

#include "ui/message_service.h"

namespace trimora {

TrimoraApplication::TrimoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Trimora");
    setApplicationDisplayName("Trimora");
}

bool TrimoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unknown error");
    }
    return false;
}

void ShowException(const char* what) {
    MessageRequest request;
    request.kind = MessageKind::Error;
    request.text = QString::fromUtf8(what);
    Messages().Show(request);
}

}  // namespace trimora
