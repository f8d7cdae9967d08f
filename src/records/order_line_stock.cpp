#include "records/order_line_stock.h"

#include "data/database.h"
#include "data/record_set.h"

#include <QStringList>

bool OrderLineStock::refresh(Database& db, const RecordSet& lines, QString* error)
{
    m_ordered.clear();
    QSet<QString> codes;
    QStringList distinct;
    for (int row = 0; row < lines.rowCountLoaded(); ++row) {
        const QString code = lines.value(row, QStringLiteral("F_HPcode")).toString();
        m_ordered[key(code)] += lines.value(row, QStringLiteral("F_amount")).toDouble();
        if (!code.isEmpty() && !codes.contains(key(code))) {
            codes.insert(key(code));
            distinct << code;
        }
    }
    if (m_loaded && codes == m_codes)
        return true;
    m_stock.clear();
    m_codes = codes;
    m_loaded = true;
    if (distinct.isEmpty())
        return true;
    QStringList marks;
    QVariantList values;
    for (const QString& code : std::as_const(distinct)) {
        marks << QStringLiteral("?");
        values << code;
    }
    ++m_reads;
    auto query = db.exec(QStringLiteral("SELECT F_code, F_amount FROM t_goods WHERE F_code IN (%1)")
                             .arg(marks.join(QLatin1Char(','))),
                         values);
    if (!query) {
        // Read again at the next change rather than keep a wrong picture.
        m_loaded = false;
        if (error)
            *error = db.lastError();
        return false;
    }
    while (query->next())
        m_stock.insert(key(query->value(0).toString()), query->value(1).toDouble());
    return true;
}

double OrderLineStock::stockAfter(const RecordSet& lines, int row) const
{
    const QString code = key(lines.value(row, QStringLiteral("F_HPcode")).toString());
    const double stock = m_stock.value(code, 0.0);
    return m_alreadyTaken ? stock : stock - m_ordered.value(code, 0.0);
}
