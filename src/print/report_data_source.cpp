#include "print/report_data_source.h"

int ReportDataSource::fieldIndex(const QString& name) const
{
    const QStringList names = fieldNames();
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
