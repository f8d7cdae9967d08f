#include "print/record_set_data_source.h"

#include "data/record_set.h"

RecordSetDataSource::RecordSetDataSource(RecordSet* recordSet) : m_recordSet(recordSet) {}

RecordSetDataSource::~RecordSetDataSource() = default;

RecordSet* RecordSetDataSource::recordSet() const
{
    return m_recordSet.data();
}

bool RecordSetDataSource::prepare(QString* error)
{
    if (!m_recordSet || !m_recordSet->isOpen()) {
        if (error)
            *error = QStringLiteral("查询没有打开");
        return false;
    }
    if (!m_recordSet->isFullyLoaded() && !m_recordSet->fetchAll()) {
        if (error)
            *error = m_recordSet->lastError();
        return false;
    }
    return true;
}

int RecordSetDataSource::rowCount() const
{
    return m_recordSet && m_recordSet->isOpen() ? m_recordSet->rowCount() : 0;
}

QStringList RecordSetDataSource::fieldNames() const
{
    QStringList names;
    if (!m_recordSet)
        return names;
    for (int i = 0; i < m_recordSet->fieldCount(); ++i)
        names << m_recordSet->fieldName(i);
    return names;
}

int RecordSetDataSource::fieldIndex(const QString& name) const
{
    return m_recordSet ? m_recordSet->fieldIndex(name) : -1;
}

QVariant RecordSetDataSource::value(int row, int field) const
{
    return m_recordSet ? m_recordSet->value(row, field) : QVariant();
}

int RecordSetDataSource::currentRow() const
{
    return m_recordSet ? m_recordSet->currentRow() : -1;
}
