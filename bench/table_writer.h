#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Database;

// Appends rows to one table through a single prepared INSERT, committing every
// `rowsPerTransaction` rows: one statement compiled once and a handful of commits keep bulk
// loading fast on both engines without holding one huge transaction open.
class TableWriter {
public:
    TableWriter(Database& db, const QString& table, const QStringList& columns,
                int rowsPerTransaction = 50000);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // Values in the order of the columns; dates as QDate, flags as bool.
    bool insert(const QVariantList& values);
    // Commits the rows not yet committed.
    bool finish();

    qint64 rows() const { return m_rows; }
    QString lastError() const { return m_error; }

private:
    bool begin();
    bool fail(const QString& error);

    Database& m_db;
    QString m_table;
    QString m_sql;
    int m_columnCount;
    int m_rowsPerTransaction;
    QSqlQuery m_query;
    bool m_prepared = false;
    bool m_open = false;
    int m_rowsInTransaction = 0;
    qint64 m_rows = 0;
    QString m_error;
};
