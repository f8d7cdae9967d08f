#include "data/number_format.h"

#include <QLocale>
#include <cmath>

namespace NumberFormat {

QString build(int decimals, int pattern)
{
    decimals = qMax(0, decimals);
    if (pattern == 1)
        return QStringLiteral("0.") + QString(decimals, QLatin1Char('#'));
    QString tail;
    for (int i = 0; i < decimals; ++i)
        tail += i < 2 ? QLatin1Char('0') : QLatin1Char('#');
    return QStringLiteral(",0.") + tail;
}

QString format(double value, const QString& displayFormat)
{
    if (!std::isfinite(value))
        return {};
    const QString fmt = displayFormat.trimmed();
    if (fmt.isEmpty())
        return QString::number(value, 'g', 15);

    const bool grouping = fmt.contains(QLatin1Char(','));
    const int point = int(fmt.indexOf(QLatin1Char('.')));
    const QString intPart = point < 0 ? fmt : fmt.left(point);
    const QString decPart = point < 0 ? QString() : fmt.mid(point + 1);
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const int required = int(decPart.count(QLatin1Char('0')));
    const int optional = int(decPart.count(QLatin1Char('#')));
    const int maxDecimals = required + optional;

    // Halves round away from zero, as people count money; the small nudge keeps values such as
    // 1.005 (stored as 1.00499...) from rounding down.
    const long double scale = std::pow(10.0L, maxDecimals);
    const long double scaled = std::fabs(static_cast<long double>(value)) * scale;
    const long double rounded = std::floor(scaled + 0.5L + scaled * 1e-12L);
    QString digits = QString::number(static_cast<double>(rounded / scale), 'f', maxDecimals);
    QString whole = digits;
    QString frac;
    const int dot = int(digits.indexOf(QLatin1Char('.')));
    if (dot >= 0) {
        whole = digits.left(dot);
        frac = digits.mid(dot + 1);
    }
    while (frac.size() > required && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    if (minInt == 0 && whole == QLatin1String("0") && !frac.isEmpty())
        whole.clear();
    while (whole.size() < minInt)
        whole.prepend(QLatin1Char('0'));
    if (grouping) {
        for (int i = int(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, QLatin1Char(','));
    }
    QString result = whole;
    if (!frac.isEmpty())
        result += QLatin1Char('.') + frac;
    if (result.isEmpty())
        result = QStringLiteral("0");
    const bool zero = result.count(QLatin1Char('0')) + result.count(QLatin1Char(',')) + result.count(QLatin1Char('.'))
                      == result.size();
    if (value < 0 && !zero)
        result.prepend(QLatin1Char('-'));
    return result;
}

} // namespace NumberFormat
