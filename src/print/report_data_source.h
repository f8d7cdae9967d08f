#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// Rows a report reads through a named data source (frMain, frDBDataSet1, ...). Field names
// compare without regard to case.
class ReportDataSource {
public:
    virtual ~ReportDataSource() = default;

    // Makes every row available (a lazily loaded query reads the rest); false on failure.
    virtual bool prepare(QString* error)
    {
        Q_UNUSED(error);
        return true;
    }
    virtual int rowCount() const = 0;
    virtual QStringList fieldNames() const = 0;
    virtual int fieldIndex(const QString& name) const;
    virtual QVariant value(int row, int field) const = 0;
    // The row the window stands on; -1 when there is none.
    virtual int currentRow() const { return rowCount() > 0 ? 0 : -1; }
};
