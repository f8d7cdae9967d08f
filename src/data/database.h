#pragma once

#include "data/connection_settings.h"
#include "data/dialect.h"

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <memory>
#include <optional>



using SqlValues = QList<QPair<QString, QVariant>>; // column name, value

// Owns the one connection of the program and knows its dialect. Every value reaches SQL as
// a bound parameter; the statement text comes only from the program.
class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the connection (an SQLite file is created when missing: callers check first).
    bool open(const ConnectionSettings& settings);
    void close();
    bool isOpen() const;

    const ConnectionSettings& settings() const { return m_settings; }
    const Dialect& dialect() const { return *m_dialect; }
    QSqlDatabase connection() const;
    // A query on this connection, set up for the engine: forward-only where reading rows does
    // not tie up the connection (SQLite); on PostgreSQL a forward-only result would be cut
    // short by the next statement, so the whole result is taken at once there.
    QSqlQuery createQuery() const;

    // Runs a statement with positional (?) values; nothing on failure (see lastError).
    std::optional<QSqlQuery> exec(const QString& sql, const QVariantList& values = {});
    // Same with named (:name) values.
    std::optional<QSqlQuery> execNamed(const QString& sql, const QVariantMap& values);
    // First column of the first row; an invalid QVariant when there is no row.
    std::optional<QVariant> scalar(const QString& sql, const QVariantList& values = {});
    // Inserts one row and returns the identity the database gave it.
    std::optional<qint64> insert(const QString& table, const SqlValues& values,
                                 const QString& idColumn = QStringLiteral("F_ID"));
    // Updates the row whose `keyColumn` equals `key`; true when the statement ran.
    bool update(const QString& table, const SqlValues& values, const QString& keyColumn, const QVariant& key);

    bool beginTransaction();
    bool commit();
    bool rollback();
    bool inTransaction() const { return m_inTransaction; }

    // Compacts and checks the database in place; not inside a transaction.
    bool compact();

    QSqlError lastSqlError() const { return m_lastError; }
    QString lastError() const;
    bool lastErrorIsUniqueViolation() const;

    // A value as the driver should receive it: dates as dates (text on SQLite), a null QString
    // as empty text (pass an invalid QVariant for NULL).
    QVariant toBindable(const QVariant& value) const;
    // Makes a driver value its model type (dates stored as text become QDate).
    QVariant fromStorage(const QVariant& value, ColumnType type) const;

private:
    bool prepare(QSqlQuery& query, const QString& sql);
    void setError(const QSqlError& error);

    QString m_name;
    ConnectionSettings m_settings;
    std::unique_ptr<Dialect> m_dialect;
    QSqlError m_lastError;
    bool m_inTransaction = false;
};

// Rolls back on destruction unless committed; one level only.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const { return m_active; }
    bool commit();
    void rollback();

private:
    Database& m_db;
    bool m_active = false;
};
