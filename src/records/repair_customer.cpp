#include "records/repair_customer.h"

#include "data/database.h"
#include "data/sql_value.h"

#include <QSqlRecord>

RepairCustomer RepairCustomer::fromRow(const std::function<QVariant(const QString&)>& value)
{
    auto text = [&](const char* column) { return value(QLatin1String(column)).toString(); };
    RepairCustomer customer;
    customer.client = text("F_client");
    customer.phone = text("F_phone");
    customer.movePhone = text("F_movePhone");
    customer.address = text("F_address");
    customer.buyAddress = text("F_buyAddress");
    customer.buyDate = SqlDates::display(value(QStringLiteral("F_buyDate")));
    customer.area = text("F_area");
    return customer;
}

std::optional<RepairCustomer> RepairCustomer::ofOrder(Database& db, const QString& orderCode, QString* error)
{
    auto query =
        db.exec(QStringLiteral("SELECT F_code, F_client, F_phone, F_movePhone, F_address, F_buyAddress, "
                               "F_area, F_buyDate FROM t_client WHERE F_code = ?"),
                {orderCode});
    if (!query) {
        if (error)
            *error = db.lastError();
        return std::nullopt;
    }
    if (!query->next())
        return std::nullopt;
    const QSqlRecord record = query->record();
    const RepairCustomer customer = fromRow([&](const QString& column) {
        const int index = record.indexOf(column);
        // Dates come as text on SQLite; display() reads both forms.
        return index < 0 ? QVariant() : query->value(index);
    });
    return customer;
}
