#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// Collects the parts of a WHERE clause and their values; every value is bound, never pasted:
//   SqlCondition where;
//   where.add("F_client LIKE ?", {"%" + typed + "%"});
//   db.exec("select * from t_client" + where.clause(), where.values());
class SqlCondition {
public:
    // Adds a condition, joined to the others with AND; its "?" marks take the values in order.
    SqlCondition& add(const QString& text, const QVariantList& values = {});
    // Adds the other condition's parts as one group.
    SqlCondition& add(const SqlCondition& other);
    // Adds the alternatives as one group joined with OR; nothing when the list is empty.
    SqlCondition& addAnyOf(const QList<SqlCondition>& alternatives);

    bool isEmpty() const { return m_parts.isEmpty(); }
    // "(a) AND (b)", empty when there is no condition.
    QString text() const;
    // " WHERE (a) AND (b)", or empty text.
    QString clause() const;
    const QVariantList& values() const { return m_values; }

    // A LIKE pattern that finds the text anywhere; % and _ typed by the user stay wildcards.
    static QString contains(const QString& typed) { return QLatin1Char('%') + typed + QLatin1Char('%'); }

private:
    QStringList m_parts;
    QVariantList m_values;
};
