#include "records/order_lines.h"

#include "data/record_set.h"
#include "goods/goods_item.h"

namespace {

bool setCatalogueData(RecordSet& lines, int row, const GoodsItem& goods)
{
    return lines.setValue(row, QStringLiteral("F_HPcode"), goods.code) &&
           lines.setValue(row, QStringLiteral("F_HPname"), goods.name) &&
           lines.setValue(row, QStringLiteral("F_type"), goods.type) &&
           lines.setValue(row, QStringLiteral("F_spec"), goods.spec) &&
           lines.setValue(row, QStringLiteral("F_pinPai"), goods.pinPai) &&
           lines.setValue(row, QStringLiteral("F_address"), goods.address) &&
           lines.setValue(row, QStringLiteral("F_unit"), goods.unit) &&
           lines.setValue(row, QStringLiteral("F_price"), goods.price1);
}

} // namespace

namespace OrderLines {

bool fillFromGoods(RecordSet& lines, int row, const GoodsItem& goods, const QString& orderCode)
{
    if (!setCatalogueData(lines, row, goods) || !lines.setValue(row, QStringLiteral("F_code"), orderCode))
        return false;
    const double amount = lines.value(row, QStringLiteral("F_amount")).toDouble();
    if (amount == 0 && !lines.setValue(row, QStringLiteral("F_amount"), 1.0))
        return false;
    recomputeTotal(lines, row);
    return true;
}

int appendGoods(RecordSet& lines, const GoodsItem& goods)
{
    const int row = lines.appendRow();
    if (row < 0)
        return -1;
    if (!setCatalogueData(lines, row, goods) ||
        !lines.setValue(row, QStringLiteral("F_TMcode"), goods.tmCode) ||
        !lines.setValue(row, QStringLiteral("F_amount"), 1.0)) {
        lines.removeRow(row);
        return -1;
    }
    recomputeTotal(lines, row);
    return row;
}

bool setOrderCode(RecordSet& lines, const QString& code)
{
    if (!lines.isOpen())
        return true;
    lines.fetchAll();
    for (int row = 0; row < lines.rowCountLoaded(); ++row) {
        if (!lines.setValue(row, QStringLiteral("F_code"), code))
            return false;
    }
    return true;
}

void recomputeTotal(RecordSet& lines, int row)
{
    const double total = lines.value(row, QStringLiteral("F_price")).toDouble() *
                         lines.value(row, QStringLiteral("F_amount")).toDouble();
    lines.setValue(row, QStringLiteral("F_totalprice"), total);
}

} // namespace OrderLines
