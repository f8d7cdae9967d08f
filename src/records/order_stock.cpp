#include "records/order_stock.h"

#include "data/data_services.h"
#include "data/database.h"

namespace {

const QString kAdjust = QStringLiteral("UPDATE t_goods SET F_amount = F_amount - ? WHERE F_code = ?");

} // namespace

bool OrderStock::adjust(Database& db, const QString& goodsCode, double quantity, QString* error)
{
    if (db.exec(kAdjust, {quantity, goodsCode}))
        return true;
    if (error)
        *error = db.lastError();
    return false;
}

bool OrderStock::adjustStock(DataServices& services, const QString& goodsCode, double quantity)
{
    return services.runSql(kAdjust, {quantity, goodsCode});
}

double OrderStock::stockAfter(DataServices& services, const QString& goodsCode, double quantity)
{
    return services.lookupFloat(QStringLiteral("SELECT F_amount FROM t_goods WHERE F_code = ?"),
                                {goodsCode}) -
           quantity;
}
