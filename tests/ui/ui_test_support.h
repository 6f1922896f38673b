// Helpers shared by the UI tests: a scripted message service that records every message
// and fails the test when a question comes that nobody scripted an answer for.
#pragma once

#include <QList>
#include <QString>
#include <deque>

#include "ui/message_service.h"

namespace trimora::test {

class ScriptedMessageService : public MessageService {
public:
    ScriptedMessageService();
    ~ScriptedMessageService() override;

    // Answers for the next questions, in order. Plain OK boxes need no answer.
    void Answer(MessageAnswer answer) { answers_.push_back(answer); }

    MessageAnswer Show(const MessageRequest& request) override;

    const QList<MessageRequest>& Shown() const { return shown_; }
    // Text numbers of the messages shown so far, in order.
    QList<int> ShownNumbers() const;
    int UnansweredQuestions() const { return unanswered_; }
    void Clear() { shown_.clear(); }

private:
    std::deque<MessageAnswer> answers_;
    QList<MessageRequest> shown_;
    int unanswered_ = 0;
};

}  // namespace trimora::test
