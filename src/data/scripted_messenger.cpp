#include "data/scripted_messenger.h"

#include <QStringList>

int ScriptedMessenger::show(const QString& text, Kind kind)
{
    m_messages.append({text, kind});
    if (kind != Question)
        return 0;
    return m_answers.isEmpty() ? m_defaultAnswer : m_answers.dequeue();
}

QStringList ScriptedMessenger::texts() const
{
    QStringList result;
    for (const Message& m : m_messages)
        result << m.text;
    return result;
}
