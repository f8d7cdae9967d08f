#pragma once

#include <QString>

class RecordSet;
struct GoodsItem;

// The goods lines of an order (t_HPrec rows) as the order editor and the goods picker fill
// them in the opener's cached record set.
namespace OrderLines {

// A line whose goods code was typed: the article's data and selling price, the order code,
// and the amount 1 when none was given. The barcode stays as typed.
bool fillFromGoods(RecordSet& lines, int row, const GoodsItem& goods, const QString& orderCode);
// A new line for an article chosen in the goods picker: amount 1 at the selling price, the
// barcode copied. The order code comes with the save. Returns the row, or -1.
int appendGoods(RecordSet& lines, const GoodsItem& goods);
// Every line takes the order code (the one the save stores the order under).
bool setOrderCode(RecordSet& lines, const QString& code);
// 金额 = 单价 × 数量 of the row.
void recomputeTotal(RecordSet& lines, int row);

} // namespace OrderLines
