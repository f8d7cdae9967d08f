#include "goods/goods_lookup.h"

#include "app/main_list_query.h"
#include "data/database.h"

namespace GoodsLookup {

std::optional<QList<GoodsItem>> byCodePrefix(Database& db, const QString& typed, int limit, QString* error)
{
    const QString sql =
        QStringLiteral("SELECT F_code, F_name, F_type, F_spec, F_pinPai, F_address, F_unit, "
                       "F_price1, F_TMcode FROM t_goods WHERE F_code %1 ? ORDER BY F_code LIMIT %2")
            .arg(db.dialect().likeOperator())
            .arg(qMax(1, limit));
    auto query = db.exec(sql, {typed + QLatin1Char('%')});
    if (!query) {
        if (error)
            *error = db.lastError();
        return std::nullopt;
    }
    QList<GoodsItem> found;
    while (query->next())
        found << GoodsItem::fromQuery(*query);
    return found;
}

} // namespace GoodsLookup
