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
    // Parsed by hand: this runs for every date of every row a list reads, and the general
    // format parser costs more than the rest of the conversion.
    const QString text = value.toString();
    int start = 0;
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    if (text.size() - start < 10)
        return {};
    const QChar* c = text.constData() + start;
    auto digits = [c](int from, int count) {
        int n = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t d = c[i].unicode();
            if (d < u'0' || d > u'9')
                return -1;
            n = n * 10 + (d - u'0');
        }
        return n;
    };
    if (c[4] != QLatin1Char('-') || c[7] != QLatin1Char('-'))
        return {};
    const int year = digits(0, 4);
    const int month = digits(5, 2);
    const int day = digits(8, 2);
    if (year < 0 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day); // invalid for impossible dates such as 2024-02-30
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
