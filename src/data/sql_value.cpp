#include "data/sql_value.h"

#include <QDateTime>

namespace SqlDates {

QDate toDate(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    if (text.size() < 10)
        return {};
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

QString display(const QDate& date)
{
    if (!date.isValid() || date < displayThreshold())
        return {};
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString display(const QVariant& value)
{
    return display(toDate(value));
}

} // namespace SqlDates
