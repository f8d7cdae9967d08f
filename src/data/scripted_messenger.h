#pragma once

#include "data/messenger.h"

#include <QList>
#include <QQueue>

// Records every message and answers questions from a queue; for tests and scripted runs.
class ScriptedMessenger final : public Messenger {
public:
    struct Message {
        QString text;
        Kind kind;
    };

    int show(const QString& text, Kind kind) override;

    // Queues the answers to the next questions (1 yes, 2 no).
    void answer(int reply) { m_answers.enqueue(reply); }
    // Used when a question finds the queue empty.
    void setDefaultAnswer(int reply) { m_defaultAnswer = reply; }

    const QList<Message>& messages() const { return m_messages; }
    QStringList texts() const;
    QString lastText() const { return m_messages.isEmpty() ? QString() : m_messages.last().text; }
    int count() const { return int(m_messages.size()); }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
    QQueue<int> m_answers;
    int m_defaultAnswer = No;
};
