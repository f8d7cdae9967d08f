#pragma once

// Rows that the return-visit and customer dialog tests put into a fresh database.

#include "data/database.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QSqlRecord>
#include <QStringList>

namespace RecordRows {

// Adds the fields to the defaults, replacing a default of the same column.
inline SqlValues merged(SqlValues defaults, const SqlValues& fields)
{
    for (const auto& [column, value] : fields) {
        bool replaced = false;
        for (auto& [name, old] : defaults) {
            if (name.compare(column, Qt::CaseInsensitive) == 0) {
                old = value;
                replaced = true;
            }
        }
        if (!replaced)
            defaults.append({column, value});
    }
    return defaults;
}

inline qint64 addOrder(Database& db, const QString& code, const SqlValues& fields = {})
{
    const SqlValues row = merged({{"F_code", code},
                                  {"F_client", "顾客" + code},
                                  {"F_buyDate", QDate::currentDate()},
                                  {"F_status", "未服务"},
                                  {"F_OperName", "杨东"}},
                                 fields);
    const auto id = db.insert("t_client", row);
    EXPECT_TRUE(id.has_value()) << db.lastError().toStdString();
    return id.value_or(0);
}

inline void addLine(Database& db, const QString& order, const SqlValues& fields)
{
    EXPECT_TRUE(db.insert("t_HPrec", merged({{"F_code", order}}, fields))) << db.lastError().toStdString();
}

inline qint64 addVisit(Database& db, const QString& order, const SqlValues& fields = {})
{
    const auto id =
        db.insert("t_HFrec", merged({{"F_code", order}, {"F_HFdate", QDate(2024, 5, 2)}}, fields));
    EXPECT_TRUE(id.has_value()) << db.lastError().toStdString();
    return id.value_or(0);
}

inline void addCode(Database& db, const QString& type, const QString& name)
{
    EXPECT_TRUE(db.insert("t_code", {{"F_type", type}, {"F_name", name}})) << db.lastError().toStdString();
}

inline int count(Database& db, const QString& table)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).value_or(QVariant(-1)).toInt();
}

// Every row of the table as text, so that "nothing changed" can be compared.
inline QStringList snapshot(Database& db, const QString& table)
{
    QStringList lines;
    auto query = db.exec(QStringLiteral("SELECT * FROM %1 ORDER BY F_ID").arg(table));
    EXPECT_TRUE(query.has_value()) << db.lastError().toStdString();
    while (query && query->next()) {
        QStringList values;
        for (int i = 0; i < query->record().count(); ++i)
            values << query->value(i).toString();
        lines << values.join('|');
    }
    return lines;
}

// Codes of the orders a statement lists, in its order.
inline QStringList codes(Database& db, const QString& sql, const QVariantList& values)
{
    QStringList found;
    auto query = db.exec(sql, values);
    EXPECT_TRUE(query.has_value()) << db.lastError().toStdString() << " in " << sql.toStdString();
    while (query && query->next())
        found << query->value(query->record().indexOf("F_code")).toString();
    return found;
}

} // namespace RecordRows
