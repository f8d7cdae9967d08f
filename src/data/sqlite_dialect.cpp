#include "data/sqlite_dialect.h"

#include "data/sql_value.h"

#include <QSqlError>
#include <QVariant>

QString SqliteDialect::driverName() const
{
    return QStringLiteral("QSQLITE");
}

QString SqliteDialect::columnType(ColumnType type, int) const
{
    switch (type) {
    case ColumnType::AutoId:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnType::Text:
    case ColumnType::Memo:
        return QStringLiteral("TEXT COLLATE NOCASE");
    case ColumnType::Double:
        return QStringLiteral("DOUBLE DEFAULT 0");
    case ColumnType::Long:
    case ColumnType::Integer:
        return QStringLiteral("INTEGER DEFAULT 0");
    case ColumnType::Bool:
        return QStringLiteral("BOOLEAN DEFAULT 0");
    case ColumnType::Date:
        // Stored as 'yyyy-MM-dd' text, which sorts and compares as dates do.
        return QStringLiteral("DATE");
    case ColumnType::Blob:
        return QStringLiteral("BLOB");
    }
    return QStringLiteral("TEXT");
}

QStringList SqliteDialect::schemaPreamble() const
{
    return {};
}

QStringList SqliteDialect::sessionSetup() const
{
    // WAL lets readers and one writer work at once; a second instance waits instead of failing.
    return {QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("PRAGMA busy_timeout=10000"),
            QStringLiteral("PRAGMA case_sensitive_like=OFF")};
}

QString SqliteDialect::likeOperator() const
{
    return QStringLiteral("LIKE");
}

QString SqliteDialect::boolLiteral(bool value) const
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString SqliteDialect::daysBetween(const QString& from, const QString& to) const
{
    return QStringLiteral("cast(julianday(%2) - julianday(%1) as integer)").arg(from, to);
}

QString SqliteDialect::monthsBetween(const QString& from, const QString& to) const
{
    return QStringLiteral("((cast(strftime('%Y', %2) as integer) - cast(strftime('%Y', %1) as integer)) * 12"
                          " + cast(strftime('%m', %2) as integer) - cast(strftime('%m', %1) as integer))")
        .arg(from, to);
}

QString SqliteDialect::dayOfYear(const QString& date) const
{
    return QStringLiteral("cast(strftime('%j', %1) as integer)").arg(date);
}

QString SqliteDialect::today() const
{
    return QStringLiteral("date('now', 'localtime')");
}

QString SqliteDialect::asText(const QString& expr) const
{
    return QStringLiteral("cast(%1 as text)").arg(expr);
}

bool SqliteDialect::isUniqueViolation(const QSqlError& error) const
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("2067") || code == QLatin1String("1555")
        || error.databaseText().contains(QLatin1String("UNIQUE constraint failed"), Qt::CaseInsensitive);
}

QStringList SqliteDialect::compactStatements() const
{
    return {QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"), QStringLiteral("VACUUM"),
            QStringLiteral("PRAGMA integrity_check")};
}

QVariant SqliteDialect::fromStorage(const QVariant& value, ColumnType type) const
{
    if (value.isNull())
        return type == ColumnType::Date ? QVariant(QMetaType(QMetaType::QDate)) : value;
    switch (type) {
    case ColumnType::Date: {
        const QDate d = SqlDates::toDate(value);
        return d.isValid() ? QVariant(d) : QVariant(QMetaType(QMetaType::QDate));
    }
    case ColumnType::Bool:
        return QVariant(value.toLongLong() != 0);
    case ColumnType::Double:
        return QVariant(value.toDouble());
    default:
        return value;
    }
}
