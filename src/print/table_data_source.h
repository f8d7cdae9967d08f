#pragma once

#include "print/report_data_source.h"

#include <QList>

// Rows held in memory: computed lists, template previews with sample data, and tests.
class TableDataSource final : public ReportDataSource {
public:
    explicit TableDataSource(const QStringList& fields = {}, const QList<QVariantList>& rows = {});

    void setFields(const QStringList& fields) { m_fields = fields; }
    void addRow(const QVariantList& row) { m_rows.append(row); }
    void setCurrentRow(int row) { m_current = row; }

    int rowCount() const override { return int(m_rows.size()); }
    QStringList fieldNames() const override { return m_fields; }
    QVariant value(int row, int field) const override;
    int currentRow() const override;

private:
    QStringList m_fields;
    QList<QVariantList> m_rows;
    int m_current = 0;
};
