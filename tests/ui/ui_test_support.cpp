#include "ui_test_support.h"

#include <QTest>

namespace trimora::test {

ScriptedMessageService::ScriptedMessageService() {
    SetMessageService(this);
}

ScriptedMessageService::~ScriptedMessageService() {
    SetMessageService(nullptr);
}

MessageAnswer ScriptedMessageService::Show(const MessageRequest& request) {
    shown_.append(request);
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers_.empty()) {
        ++unanswered_;
        QTest::qFail(qPrintable("unscripted question: " + request.text), __FILE__, __LINE__);
        return MessageAnswer::Cancel;
    }
    MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

QList<int> ScriptedMessageService::ShownNumbers() const {
    QList<int> numbers;
    for (const auto& r : shown_) numbers.append(r.textNumber);
    return numbers;
}

}  // namespace trimora::test
