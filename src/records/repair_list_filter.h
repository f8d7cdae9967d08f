#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Everything that decides which repairs the repair management window lists.
struct RepairListFilter {
    enum class Status { NotServed = 0, InService = 1, Served = 2, All = 3 };

    // 报修日期, always applied.
    QDate reportFrom;
    QDate reportTo;
    // 维修日期: an end without a tick is open.
    std::optional<QDate> repairFrom;
    std::optional<QDate> repairTo;
    int searchType = -1; // row of RepairListQuery::searchTypes(); -1 while none is chosen
    QString searchText;  // as typed; trimmed when used
    Status status = Status::NotServed;
    int listType = 0; // row of RepairListQuery::listTypes()
    // The chosen value-list row; none while "全部" is chosen.
    std::optional<QString> listValue;
};
