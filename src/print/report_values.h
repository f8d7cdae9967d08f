#pragma once

#include <QString>
#include <QVariant>

// Turns the values of fields and expressions into printed text, the way grids show them:
// dates "yyyy-MM-dd" (blank before 1901-08-14), numbers by a display format.
namespace ReportValues {
QString toText(const QVariant& value, const QString& displayFormat = {});
bool isNumber(const QVariant& value);
double toNumber(const QVariant& value);
// True for true, non-zero numbers, "是", "true", "1", "yes".
bool toBool(const QVariant& value);
} // namespace ReportValues
