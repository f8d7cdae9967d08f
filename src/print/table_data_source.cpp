#include "print/table_data_source.h"

TableDataSource::TableDataSource(const QStringList& fields, const QList<QVariantList>& rows)
    : m_fields(fields), m_rows(rows)
{
}

QVariant TableDataSource::value(int row, int field) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const QVariantList& values = m_rows[row];
    return field >= 0 && field < values.size() ? values[field] : QVariant();
}

int TableDataSource::currentRow() const
{
    if (m_rows.isEmpty())
        return -1;
    return qBound(0, m_current, int(m_rows.size()) - 1);
}
