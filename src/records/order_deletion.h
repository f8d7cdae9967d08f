#pragma once

#include <QString>

class Database;

// Deleting customer orders and the records under them. Each deletion runs in one transaction:
// a failure anywhere rolls everything back, stock included.
namespace OrderDeletion {

// Deletes the order with the parts lines of its repairs, its goods lines, return visits and
// repair orders. When the order is completed ("已服务", as stored now) the quantities of its
// goods lines go back into stock. An order that is already gone counts as deleted.
bool deleteOrder(Database& db, qint64 orderId, QString* error = nullptr);

enum class LineDeletion { Deleted, OrderCompleted, Failed };
// Deletes one goods line, unless its order is completed (as stored now): the line has taken
// its stock, and the order must keep what it sold.
LineDeletion deleteGoodsLine(Database& db, qint64 lineId, QString* error = nullptr);

// Deletes one repair order with its parts lines.
bool deleteRepair(Database& db, qint64 repairId, QString* error = nullptr);

} // namespace OrderDeletion
