#pragma once

#include "data/dialect.h"

class SqliteDialect final : public Dialect {
public:
    Kind kind() const override { return Kind::Sqlite; }
    QString driverName() const override;
    QString columnType(ColumnType type, int width) const override;
    QStringList schemaPreamble() const override;
    QStringList sessionSetup() const override;
    QString likeOperator() const override;
    QString boolLiteral(bool value) const override;
    QString daysBetween(const QString& from, const QString& to) const override;
    QString monthsBetween(const QString& from, const QString& to) const override;
    QString dayOfYear(const QString& date) const override;
    QString today() const override;
    QString asText(const QString& expr) const override;
    bool insertReturnsId() const override { return false; }
    bool isUniqueViolation(const QSqlError& error) const override;
    QStringList compactStatements() const override;
    QVariant fromStorage(const QVariant& value, ColumnType type) const override;
};
