#pragma once

// Rows the repair order tests build on: orders, repairs with parts lines, code lists, and
// read-backs of what a save or delete left in the database.

#include "data/database.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QSqlRecord>
#include <QStringList>

namespace RepairTestData {

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
    const auto id = db.insert("t_client", merged({{"F_code", code},
                                                  {"F_client", "顾客" + code},
                                                  {"F_phone", "010-6" + code},
                                                  {"F_movePhone", "139" + code},
                                                  {"F_address", "学院路" + code + "号"},
                                                  {"F_area", "海淀区"},
                                                  {"F_buyAddress", "\\\\总店"},
                                                  {"F_buyDate", QDate(2024, 3, 8)},
                                                  {"F_FWemp", "李师傅"},
                                                  {"F_status", "已服务"}},
                                                 fields));
    EXPECT_TRUE(id.has_value()) << db.lastError().toStdString();
    return id.value_or(0);
}

inline qint64 addRepair(Database& db, const QString& order, const QString& code, const SqlValues& fields = {})
{
    const auto id = db.insert("t_WXrec", merged({{"F_code", order},
                                                 {"F_WXcode", code},
                                                 {"F_FWtype", "上门维修"},
                                                 {"F_BXflag", "保内"},
                                                 {"F_reasonFlag", "产品原因"},
                                                 {"F_BXdate", QDate(2024, 5, 10)},
                                                 {"F_SMtime", QDate(2024, 5, 11)},
                                                 {"F_XFdate", QDate(2024, 5, 12)},
                                                 {"F_WXflag", 0},
                                                 {"F_memo1", "不制冷"}},
                                                fields));
    EXPECT_TRUE(id.has_value()) << db.lastError().toStdString();
    return id.value_or(0);
}

inline void addPart(Database& db, const QString& repair, const QString& name, double amount, double price,
                    bool charged = true)
{
    EXPECT_TRUE(db.insert("t_PJdetail", {{"F_WXcode", repair},
                                         {"F_name", name},
                                         {"F_spec", "原装"},
                                         {"F_amount", amount},
                                         {"F_price", price},
                                         {"F_totalprice", amount * price},
                                         {"F_IFshouFei", charged}}))
        << db.lastError().toStdString();
}

inline void addCode(Database& db, const QString& type, const QString& name)
{
    EXPECT_TRUE(db.insert("t_code", {{"F_type", type}, {"F_name", name}})) << db.lastError().toStdString();
}

inline int count(Database& db, const QString& sql, const QVariantList& values = {})
{
    return db.scalar(sql, values).value_or(QVariant(-1)).toInt();
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

// One column of the rows a statement gives, in its order.
inline QStringList column(Database& db, const QString& sql, const QVariantList& values = {})
{
    QStringList found;
    auto query = db.exec(sql, values);
    EXPECT_TRUE(query.has_value()) << db.lastError().toStdString() << " in " << sql.toStdString();
    while (query && query->next())
        found << query->value(0).toString();
    return found;
}

} // namespace RepairTestData
