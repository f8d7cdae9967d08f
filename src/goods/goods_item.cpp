#include "goods/goods_item.h"

#include "data/record_set.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

namespace {

GoodsItem readItem(const std::function<QVariant(const QString&)>& value)
{
    GoodsItem item;
    item.code = value(QStringLiteral("F_code")).toString();
    item.name = value(QStringLiteral("F_name")).toString();
    item.type = value(QStringLiteral("F_type")).toString();
    item.spec = value(QStringLiteral("F_spec")).toString();
    item.pinPai = value(QStringLiteral("F_pinPai")).toString();
    item.address = value(QStringLiteral("F_address")).toString();
    item.unit = value(QStringLiteral("F_unit")).toString();
    item.price1 = value(QStringLiteral("F_price1")).toDouble();
    item.tmCode = value(QStringLiteral("F_TMcode")).toString();
    return item;
}

} // namespace

GoodsItem GoodsItem::fromRecordSet(const RecordSet& rows, int row)
{
    return readItem([&](const QString& field) { return rows.value(row, field); });
}

GoodsItem GoodsItem::fromQuery(const QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    return readItem([&](const QString& field) {
        const int column = record.indexOf(field);
        return column < 0 ? QVariant() : query.value(column);
    });
}
