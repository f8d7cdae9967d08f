#include "table_writer.h"

#include "data/database.h"

#include <QSqlError>

TableWriter::TableWriter(Database& db, const QString& table, const QStringList& columns,
                         int rowsPerTransaction)
    : m_db(db), m_table(table), m_columnCount(int(columns.size())),
      m_rowsPerTransaction(qMax(1, rowsPerTransaction))
{
    QStringList marks;
    for (int i = 0; i < m_columnCount; ++i)
        marks << QStringLiteral("?");
    m_sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

TableWriter::~TableWriter()
{
    m_query = QSqlQuery();
    if (m_open && m_db.inTransaction())
        m_db.rollback();
}

bool TableWriter::begin()
{
    if (!m_db.beginTransaction())
        return fail(m_db.lastError());
    m_open = true;
    m_rowsInTransaction = 0;
    if (!m_prepared) {
        m_query = QSqlQuery(m_db.connection());
        m_query.setForwardOnly(true);
        if (!m_query.prepare(m_sql))
            return fail(m_query.lastError().text());
        m_prepared = true;
    }
    return true;
}

bool TableWriter::insert(const QVariantList& values)
{
    if (!m_error.isEmpty())
        return false;
    if (values.size() != m_columnCount)
        return fail(QStringLiteral("%1 values for %2 columns").arg(values.size()).arg(m_columnCount));
    if (!m_open && !begin())
        return false;
    for (int i = 0; i < m_columnCount; ++i)
        m_query.bindValue(i, m_db.toBindable(values.at(i)));
    if (!m_query.exec())
        return fail(m_query.lastError().text());
    ++m_rows;
    if (++m_rowsInTransaction >= m_rowsPerTransaction) {
        m_open = false;
        if (!m_db.commit())
            return fail(m_db.lastError());
    }
    return true;
}

bool TableWriter::finish()
{
    if (!m_error.isEmpty())
        return false;
    if (!m_open)
        return true;
    m_open = false;
    if (!m_db.commit())
        return fail(m_db.lastError());
    return true;
}

bool TableWriter::fail(const QString& error)
{
    m_error = QStringLiteral("%1: %2").arg(m_table, error);
    m_open = false;
    // A failed commit leaves the transaction open as well.
    if (m_db.inTransaction())
        m_db.rollback();
    return false;
}
