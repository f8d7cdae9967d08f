#include "data/sql_condition.h"

SqlCondition& SqlCondition::add(const QString& text, const QVariantList& values)
{
    m_parts << text;
    m_values << values;
    return *this;
}

SqlCondition& SqlCondition::add(const SqlCondition& other)
{
    if (!other.isEmpty())
        add(other.text(), other.values());
    return *this;
}

SqlCondition& SqlCondition::addAnyOf(const QList<SqlCondition>& alternatives)
{
    QStringList texts;
    QVariantList values;
    for (const SqlCondition& alternative : alternatives) {
        if (alternative.isEmpty())
            continue;
        texts << QLatin1Char('(') + alternative.text() + QLatin1Char(')');
        values << alternative.values();
    }
    if (!texts.isEmpty())
        add(texts.join(QStringLiteral(" OR ")), values);
    return *this;
}

QString SqlCondition::text() const
{
    if (m_parts.size() == 1)
        return m_parts.first();
    QStringList wrapped;
    for (const QString& part : m_parts)
        wrapped << QLatin1Char('(') + part + QLatin1Char(')');
    return wrapped.join(QStringLiteral(" AND "));
}

QString SqlCondition::clause() const
{
    return isEmpty() ? QString() : QStringLiteral(" WHERE ") + text();
}
