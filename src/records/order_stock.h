#pragma once

#include <QString>

#include <optional>

class Database;
class DataServices;

// Stock on hand (t_goods.F_amount) as customer orders move it: completing an order takes its
// goods lines' quantities out, deleting a completed order gives them back.
namespace OrderStock {

// Subtracts `quantity` from the goods' stock (a negative quantity adds to it); quiet, for
// callers inside their own transaction. Unknown goods change nothing and are no failure.
bool adjust(Database& db, const QString& goodsCode, double quantity, QString* error = nullptr);
// AdjustStock: the same, reporting a failure with the shared failure message.
bool adjustStock(DataServices& services, const QString& goodsCode, double quantity);
// StockAfter: the goods' stock less `quantity`; unknown goods count as 0 in stock.
double stockAfter(DataServices& services, const QString& goodsCode, double quantity);

} // namespace OrderStock
