#include "records/multi_choice.h"

QList<bool> MultiChoice::ticked(const QStringList& entries, const QString& text)
{
    QStringList pieces;
    for (const QString& piece : text.split(QLatin1Char(','))) {
        // A doubled comma typed by hand must not hide the entries after it.
        if (!piece.trimmed().isEmpty())
            pieces << piece.trimmed();
    }
    QList<bool> result;
    result.reserve(entries.size());
    for (const QString& entry : entries)
        result << pieces.contains(entry.trimmed());
    return result;
}

QString MultiChoice::join(const QStringList& entries, const QList<bool>& ticked)
{
    QStringList chosen;
    for (int i = 0; i < entries.size() && i < ticked.size(); ++i) {
        if (ticked.at(i))
            chosen << entries.at(i);
    }
    return chosen.join(QLatin1Char(','));
}

SqlStatement MultiChoice::repairInfoSource()
{
    return {QStringLiteral("SELECT F_name FROM t_code WHERE F_type = ? AND F_name <> '' ORDER BY F_ID"),
            {QStringLiteral("wxinfo")}};
}
