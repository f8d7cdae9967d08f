#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Everything that decides which orders the main list shows: the filter strip, the value list,
// the purchase-place tree and the login's own-orders-only rule.
struct MainListFilter {
    enum class Status { NotServed = 0, InService = 1, Served = 2, All = 3 };

    QDate from;
    QDate to;
    Status status = Status::NotServed;
    int searchField = 0; // row of MainListQuery::searchFields(); 0 is "--未选择--"
    QString searchValue; // as typed; trimmed when used
    int listType = 0;    // row of MainListQuery::listTypes()
    // The chosen value-list row; none while "全部" is chosen.
    std::optional<QString> listValue;
    // Stored path of the chosen purchase place; none while the root is chosen.
    std::optional<QString> purchasePlace;
    bool ownOrdersOnly = false;
    QString operatorName;
};
