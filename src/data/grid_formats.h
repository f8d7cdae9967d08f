#pragma once

#include <QString>

struct LoginState;

// Which of the login's number formats a grid column gets.
namespace GridFormats {

enum Kind { None = 0, Money = 1, Quantity = 2, Price = 3 };

// The login's format for the kind; empty for None or an unknown kind.
QString format(const LoginState& login, int kind);

// The kind a column gets in a grid of the given grid kind, by its field name:
//   1 goods-line and parts-line grids: "_price" price, "totalprice" money, "amount" quantity;
//   2 visit charges and repairs: "price" money;
//   3 goods catalogue and stock: "price" money, "amount" quantity, "totalprice" money.
// The tests run in that order and a later match wins; None when nothing matches.
Kind kindForField(const QString& fieldName, int gridKind);

} // namespace GridFormats
