// The application object: an exception that escapes an event handler is shown in a message
// box and the program goes on.
#pragma once

#include <QApplication>

namespace trimora {

class TrimoraApplication : public QApplication {
    Q_OBJECT
public:
    TrimoraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the text of an unexpected exception (no language text: it may come from anywhere).
void ShowException(const char* what);

}  // namespace trimora
