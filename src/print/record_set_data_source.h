#pragma once

#include "print/report_data_source.h"

#include <QPointer>

class RecordSet;

// A report data source over a window's record set. The record set stays the window's; when it
// is destroyed the source reports itself closed instead of reading freed memory.
class RecordSetDataSource final : public ReportDataSource {
public:
    explicit RecordSetDataSource(RecordSet* recordSet);
    ~RecordSetDataSource() override;

    RecordSet* recordSet() const;
    bool prepare(QString* error) override;
    int rowCount() const override;
    QStringList fieldNames() const override;
    int fieldIndex(const QString& name) const override;
    QVariant value(int row, int field) const override;
    int currentRow() const override;

private:
    QPointer<RecordSet> m_recordSet;
};
