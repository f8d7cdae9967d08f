#pragma once

#include <QString>
#include <QStringList>

class QSqlError;
class QVariant;

// Column types of the data model, independent of the engine.
enum class ColumnType { AutoId, Text, Memo, Double, Long, Integer, Bool, Date, Blob };

// Everything that differs between the database engines. Code outside src/data asks the
// dialect for an SQL fragment instead of testing which engine it runs on.
class Dialect {
public:
    enum class Kind { Sqlite, Postgres };

    virtual ~Dialect() = default;

    virtual Kind kind() const = 0;
    virtual QString driverName() const = 0;

    // DDL type of a column; text compares without regard to ASCII case on every engine.
    virtual QString columnType(ColumnType type, int width) const = 0;
    // Statements run once when a new database is created, before any table.
    virtual QStringList schemaPreamble() const = 0;
    // Statements run on every new connection.
    virtual QStringList sessionSetup() const = 0;

    // Case-insensitive pattern match operator ("LIKE" or "ILIKE").
    virtual QString likeOperator() const = 0;
    virtual QString boolLiteral(bool value) const = 0;
    // Whole days from `from` to `to` (positive when `to` is later).
    virtual QString daysBetween(const QString& from, const QString& to) const = 0;
    // Calendar months from `from` to `to`, counted as (year difference * 12 + month difference).
    virtual QString monthsBetween(const QString& from, const QString& to) const = 0;
    // Day of the year, 1 to 366.
    virtual QString dayOfYear(const QString& date) const = 0;
    virtual QString today() const = 0;
    // Text form of a value for concatenation ("cast(x as text)").
    virtual QString asText(const QString& expr) const = 0;
    // True when INSERT ... RETURNING gives the new row identity (else lastInsertId does).
    virtual bool insertReturnsId() const = 0;

    virtual bool isUniqueViolation(const QSqlError& error) const = 0;
    // Statements that compact and repair the database; run outside any transaction.
    virtual QStringList compactStatements() const = 0;

    // Converts a value read from the driver to its model type (dates stored as text on SQLite).
    virtual QVariant fromStorage(const QVariant& value, ColumnType type) const = 0;
};
