#include "data/database.h"

#include "data/postgres_dialect.h"
#include "data/sqlite_dialect.h"

#include <QAtomicInt>
#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QStringList>

namespace {
QAtomicInt connectionCounter;
}

Database::Database()
    : m_name(QStringLiteral("corvalin_%1").arg(connectionCounter.fetchAndAddRelaxed(1))),
      m_dialect(std::make_unique<SqliteDialect>())
{
}

Database::~Database()
{
    close();
}

bool Database::open(const ConnectionSettings& settings)
{
    close();
    m_settings = settings;
    if (settings.engine == ConnectionSettings::Engine::Postgres)
        m_dialect = std::make_unique<PostgresDialect>();
    else
        m_dialect = std::make_unique<SqliteDialect>();

    QSqlDatabase db = QSqlDatabase::addDatabase(m_dialect->driverName(), m_name);
    if (!db.isValid()) {
        setError(QSqlError(QStringLiteral("database driver %1 is not available").arg(m_dialect->driverName()),
                           {}, QSqlError::ConnectionError));
        QSqlDatabase::removeDatabase(m_name);
        return false;
    }
    if (settings.engine == ConnectionSettings::Engine::Postgres) {
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setDatabaseName(settings.databaseName);
        db.setUserName(settings.user);
        if (!settings.password.isEmpty())
            db.setPassword(settings.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    } else {
        db.setDatabaseName(settings.sqliteFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    if (!db.open()) {
        setError(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        return false;
    }
    QStringList setup = m_dialect->sessionSetup();
    if (!settings.schema.isEmpty())
        setup << QStringLiteral("SET search_path TO %1, public").arg(settings.schema);
    for (const QString& statement : setup) {
        if (!exec(statement)) {
            const QSqlError error = m_lastError;
            close();
            m_lastError = error;
            return false;
        }
    }
    m_lastError = QSqlError();
    return true;
}

void Database::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_inTransaction = false;
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(m_name, false);
}

QVariant Database::toBindable(const QVariant& value) const
{
    if (!value.isValid())
        return value;
    switch (value.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDate date = value.typeId() == QMetaType::QDate ? value.toDate() : value.toDateTime().date();
        if (!date.isValid() || value.isNull())
            return QVariant(m_dialect->kind() == Dialect::Kind::Sqlite ? QMetaType(QMetaType::QString)
                                                                        : QMetaType(QMetaType::QDate));
        if (m_dialect->kind() == Dialect::Kind::Sqlite)
            return date.toString(QStringLiteral("yyyy-MM-dd"));
        return date;
    }
    case QMetaType::QString:
        if (value.toString().isNull())
            return QString(QLatin1String(""));
        return value;
    case QMetaType::Bool:
        if (m_dialect->kind() == Dialect::Kind::Sqlite)
            return value.toBool() ? 1 : 0;
        return value;
    default:
        return value;
    }
}

QVariant Database::fromStorage(const QVariant& value, ColumnType type) const
{
    return m_dialect->fromStorage(value, type);
}

QSqlQuery Database::createQuery() const
{
    QSqlQuery query(connection());
    query.setForwardOnly(m_dialect->kind() == Dialect::Kind::Sqlite);
    return query;
}

bool Database::prepare(QSqlQuery& query, const QString& sql)
{
    if (!query.prepare(sql)) {
        setError(query.lastError());
        return false;
    }
    return true;
}

std::optional<QSqlQuery> Database::exec(const QString& sql, const QVariantList& values)
{
    if (!isOpen()) {
        setError(QSqlError(QStringLiteral("the database is not open"), {}, QSqlError::ConnectionError));
        return std::nullopt;
    }
    QSqlQuery query = createQuery();
    if (values.isEmpty()) {
        if (!query.exec(sql)) {
            setError(query.lastError());
            return std::nullopt;
        }
        return query;
    }
    if (!prepare(query, sql))
        return std::nullopt;
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, toBindable(values.at(i)));
    if (!query.exec()) {
        setError(query.lastError());
        return std::nullopt;
    }
    return query;
}

std::optional<QSqlQuery> Database::execNamed(const QString& sql, const QVariantMap& values)
{
    if (!isOpen()) {
        setError(QSqlError(QStringLiteral("the database is not open"), {}, QSqlError::ConnectionError));
        return std::nullopt;
    }
    QSqlQuery query = createQuery();
    if (!prepare(query, sql))
        return std::nullopt;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString name = it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key();
        query.bindValue(name, toBindable(it.value()));
    }
    if (!query.exec()) {
        setError(query.lastError());
        return std::nullopt;
    }
    return query;
}

std::optional<QVariant> Database::scalar(const QString& sql, const QVariantList& values)
{
    auto query = exec(sql, values);
    if (!query)
        return std::nullopt;
    if (!query->next())
        return QVariant();
    return query->value(0);
}

std::optional<qint64> Database::insert(const QString& table, const SqlValues& values, const QString& idColumn)
{
    QStringList columns;
    QStringList marks;
    QVariantList bound;
    for (const auto& [column, value] : values) {
        columns << column;
        marks << QStringLiteral("?");
        bound << value;
    }
    QString sql = columns.isEmpty()
                      ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                      : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    if (m_dialect->insertReturnsId())
        sql += QStringLiteral(" RETURNING ") + idColumn;
    auto query = exec(sql, bound);
    if (!query)
        return std::nullopt;
    if (m_dialect->insertReturnsId()) {
        if (!query->next()) {
            setError(QSqlError(QStringLiteral("the insert returned no identity"), {}, QSqlError::StatementError));
            return std::nullopt;
        }
        return query->value(0).toLongLong();
    }
    return query->lastInsertId().toLongLong();
}

bool Database::update(const QString& table, const SqlValues& values, const QString& keyColumn,
                      const QVariant& key)
{
    if (values.isEmpty())
        return true;
    QStringList assignments;
    QVariantList bound;
    for (const auto& [column, value] : values) {
        assignments << column + QStringLiteral(" = ?");
        bound << value;
    }
    bound << key;
    return exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                    .arg(table, assignments.join(QStringLiteral(", ")), keyColumn),
                bound)
        .has_value();
}

bool Database::beginTransaction()
{
    if (m_inTransaction || !isOpen())
        return false;
    QSqlDatabase db = connection();
    if (!db.transaction()) {
        setError(db.lastError());
        return false;
    }
    m_inTransaction = true;
    return true;
}

bool Database::commit()
{
    if (!m_inTransaction)
        return false;
    QSqlDatabase db = connection();
    if (!db.commit()) {
        setError(db.lastError());
        return false;
    }
    m_inTransaction = false;
    return true;
}

bool Database::rollback()
{
    if (!m_inTransaction)
        return false;
    QSqlDatabase db = connection();
    m_inTransaction = false;
    if (!db.rollback()) {
        setError(db.lastError());
        return false;
    }
    return true;
}

bool Database::compact()
{
    if (m_inTransaction) {
        setError(QSqlError(QStringLiteral("cannot compact inside a transaction"), {}, QSqlError::TransactionError));
        return false;
    }
    for (const QString& statement : m_dialect->compactStatements()) {
        auto query = exec(statement);
        if (!query)
            return false;
        // An integrity check answers "ok" in its only row when the file is sound.
        if (statement.contains(QLatin1String("integrity_check")) && query->next()
            && query->value(0).toString() != QLatin1String("ok")) {
            setError(QSqlError(QStringLiteral("integrity check failed: %1").arg(query->value(0).toString()), {},
                               QSqlError::StatementError));
            return false;
        }
    }
    return true;
}

QString Database::lastError() const
{
    const QString database = m_lastError.databaseText().trimmed();
    const QString driver = m_lastError.driverText().trimmed();
    if (database.isEmpty())
        return driver;
    if (driver.isEmpty())
        return database;
    return driver + QStringLiteral(": ") + database;
}

bool Database::lastErrorIsUniqueViolation() const
{
    return m_lastError.isValid() && m_dialect->isUniqueViolation(m_lastError);
}

void Database::setError(const QSqlError& error)
{
    m_lastError = error;
}

Transaction::Transaction(Database& db) : m_db(db)
{
    m_active = m_db.beginTransaction();
}

Transaction::~Transaction()
{
    if (m_active)
        m_db.rollback();
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (m_db.commit())
        return true;
    m_db.rollback();
    return false;
}

void Transaction::rollback()
{
    if (m_active)
        m_db.rollback();
    m_active = false;
}
