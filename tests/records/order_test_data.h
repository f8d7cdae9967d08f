#pragma once

// Rows the order editor's tests build on: goods with stock, orders with goods lines, and
// read-backs of what a save left in the database.

#include "data/database.h"
#include "data/record_set.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QSqlRecord>
#include <QStringList>

namespace OrderTestData {

inline void addGoods(Database& db, const QString& code, const QString& name, double stock, double price = 100,
                     const QString& pinPai = QStringLiteral("海尔"))
{
    ASSERT_TRUE(db.insert("t_goods", {{"F_code", code},
                                      {"F_name", name},
                                      {"F_type", "家电/冰箱"},
                                      {"F_spec", "BCD-" + code},
                                      {"F_pinPai", pinPai},
                                      {"F_address", "青岛"},
                                      {"F_unit", "台"},
                                      {"F_price1", price},
                                      {"F_price2", price * 0.8},
                                      {"F_TMcode", "69" + code},
                                      {"F_amount", stock}}))
        << db.lastError().toStdString();
}

inline qint64 addOrder(Database& db, const QString& code, const SqlValues& fields = {})
{
    SqlValues row = {{"F_code", code},     {"F_client", "顾客" + code},
                     {"F_area", "海淀区"}, {"F_address", "学院路1号"},
                     {"F_XSemp", "王芳"},  {"F_status", "未服务"},
                     {"F_phoneYD", "是"},  {"F_buyDate", QDate(2024, 5, 1)}};
    for (const auto& [column, value] : fields) {
        bool replaced = false;
        for (auto& [name, old] : row) {
            if (name.compare(column, Qt::CaseInsensitive) == 0) {
                old = value;
                replaced = true;
            }
        }
        if (!replaced)
            row.append({column, value});
    }
    const auto id = db.insert("t_client", row);
    EXPECT_TRUE(id.has_value()) << db.lastError().toStdString();
    return id.value_or(0);
}

inline void addLine(Database& db, const QString& order, const QString& goods, double amount,
                    double price = 100)
{
    ASSERT_TRUE(db.insert("t_HPrec", {{"F_code", order},
                                      {"F_HPcode", goods},
                                      {"F_HPname", "商品" + goods},
                                      {"F_pinPai", "海尔"},
                                      {"F_spec", "BCD-" + goods},
                                      {"F_amount", amount},
                                      {"F_price", price},
                                      {"F_totalprice", amount * price}}))
        << db.lastError().toStdString();
}

// The goods lines of an order as the main window holds them: cached, written by the save.
inline bool openLines(Database& db, RecordSet& lines, const QString& order)
{
    lines.setUpdateTable("t_HPrec");
    return lines.open(db, "SELECT * FROM t_HPrec WHERE F_code = ? ORDER BY F_ID", {order});
}

inline double stock(Database& db, const QString& goods)
{
    return db.scalar("SELECT F_amount FROM t_goods WHERE F_code = ?", {goods})
        .value_or(QVariant())
        .toDouble();
}

inline int count(Database& db, const QString& table, const QString& condition = "1 = 1",
                 const QVariantList& values = {})
{
    return db.scalar(QString("SELECT count(*) FROM %1 WHERE %2").arg(table, condition), values)
        .value_or(QVariant(-1))
        .toInt();
}

inline QVariant column(Database& db, const QString& table, const QString& column, const QString& condition,
                       const QVariantList& values)
{
    return db.scalar(QString("SELECT %1 FROM %2 WHERE %3").arg(column, table, condition), values)
        .value_or(QVariant());
}

// Every row of the tables an order save touches, to compare "nothing changed".
inline QStringList snapshot(Database& db)
{
    QStringList lines;
    for (const char* table : {"t_client", "t_HPrec", "t_HFrec", "t_WXrec", "t_goods"}) {
        auto query = db.exec(QString("SELECT * FROM %1 ORDER BY F_ID").arg(table));
        EXPECT_TRUE(query.has_value());
        while (query && query->next()) {
            QStringList values{table};
            for (int i = 0; i < query->record().count(); ++i) {
                if (query->record().fieldName(i).compare("F_goodImage", Qt::CaseInsensitive) != 0)
                    values << query->value(i).toString();
            }
            lines << values.join('|');
        }
    }
    return lines;
}

} // namespace OrderTestData
