#pragma once

#include "print/report_data_source.h"

#include <QPointer>

class QAbstractItemModel;

// The display texts of a grid's model, its columns named by the caller (grid print).
class ModelDataSource final : public ReportDataSource {
public:
    // fields[i] names model column columns[i].
    ModelDataSource(const QAbstractItemModel* model, const QStringList& fields, const QList<int>& columns);

    bool prepare(QString* error) override;
    int rowCount() const override;
    QStringList fieldNames() const override { return m_fields; }
    QVariant value(int row, int field) const override;

private:
    QPointer<const QAbstractItemModel> m_model;
    QStringList m_fields;
    QList<int> m_columns;
};
