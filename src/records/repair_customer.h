#pragma once

#include <QString>

#include <functional>
#include <optional>

class Database;

// The customer of a repair's order as the management window's repair editor shows it in its
// seven read-only fields.
struct RepairCustomer {
    QString client;
    QString phone;
    QString movePhone;
    QString address;
    QString buyAddress;
    QString buyDate; // "yyyy-MM-dd", blank for no date
    QString area;

    bool operator==(const RepairCustomer&) const = default;

    // The customer columns of a v_WXrec (or t_client) row.
    static RepairCustomer fromRow(const std::function<QVariant(const QString& column)>& value);
    // The customer of the order with the code; nothing when there is no such order or the read
    // failed (`error` set then).
    static std::optional<RepairCustomer> ofOrder(Database& db, const QString& orderCode,
                                                 QString* error = nullptr);
};
