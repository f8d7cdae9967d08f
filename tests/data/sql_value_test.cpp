#include "data/sql_value.h"

#include <gtest/gtest.h>

#include <QDateTime>

TEST(SqlDates, ReadsDriverValues)
{
    const struct {
        QVariant value;
        QDate date;
    } cases[] = {
        {QVariant(QDate(2024, 2, 29)), QDate(2024, 2, 29)},
        {QVariant(QDateTime(QDate(2024, 2, 29), QTime(23, 59))), QDate(2024, 2, 29)},
        {QVariant(QStringLiteral("2024-02-29")), QDate(2024, 2, 29)},
        {QVariant(QStringLiteral(" 2024-02-29 10:00:00")), QDate(2024, 2, 29)},
        {QVariant(QStringLiteral("1900-08-14")), QDate(1900, 8, 14)},
        {QVariant(QStringLiteral("2024-02-30")), QDate()},
        {QVariant(QStringLiteral("2024/02/28")), QDate()},
        {QVariant(QStringLiteral("20x4-02-28")), QDate()},
        {QVariant(QStringLiteral("2024-2-8")), QDate()},
        {QVariant(), QDate()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SqlDates::toDate(c.value), c.date) << c.value.toString().toStdString();
}

TEST(SqlDates, BlankBeforeTheDisplayThreshold)
{
    EXPECT_EQ(SqlDates::display(QDate(1900, 8, 14)), QString());
    EXPECT_EQ(SqlDates::display(QDate(1901, 8, 13)), QString());
    EXPECT_EQ(SqlDates::display(QDate(1901, 8, 14)), QStringLiteral("1901-08-14"));
    EXPECT_EQ(SqlDates::display(QVariant(QStringLiteral("2025-12-01"))), QStringLiteral("2025-12-01"));
    EXPECT_EQ(SqlDates::display(QVariant()), QString());
}
