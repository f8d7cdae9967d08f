#include "print/report_values.h"

#include "data/number_format.h"
#include "data/sql_value.h"

#include <QDate>
#include <QDateTime>

#include <cmath>

namespace ReportValues {

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

double toNumber(const QVariant& value)
{
    if (value.isNull())
        return 0.0;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    bool ok = false;
    const double v =
        value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

bool toBool(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isNumber(value))
        return toNumber(value) != 0.0;
    const QString text = value.toString().trimmed();
    return text == QStringLiteral("是") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 || text == QLatin1String("1") ||
           text == QLatin1String("-1");
}

QString toText(const QVariant& value, const QString& displayFormat)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDate date = SqlDates::toDate(value);
        if (displayFormat.isEmpty() || !date.isValid() || date < SqlDates::displayThreshold())
            return SqlDates::display(date);
        return date.toString(displayFormat);
    }
    case QMetaType::QTime:
        return value.toTime().toString(displayFormat.isEmpty() ? QStringLiteral("hh:mm:ss") : displayFormat);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("是") : QStringLiteral("否");
    case QMetaType::QByteArray:
        return {};
    default:
        break;
    }
    if (isNumber(value)) {
        const double v = value.toDouble();
        if (displayFormat.isEmpty() && value.typeId() != QMetaType::Double &&
            value.typeId() != QMetaType::Float)
            return value.toString();
        return NumberFormat::format(v, displayFormat);
    }
    return value.toString();
}

} // namespace ReportValues
