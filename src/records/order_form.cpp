#include "records/order_form.h"

#include "data/sql_value.h"
#include "records/order_rules.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

std::optional<QDate> shownDate(const QVariant& stored)
{
    const QDate date = SqlDates::toDate(stored);
    if (!date.isValid() || date < SqlDates::displayThreshold())
        return std::nullopt;
    return date;
}

QVariant storedDate(const std::optional<QDate>& date)
{
    return date ? *date : SqlDates::noDate();
}

const char* const kCustomTexts[] = {"F_ZF1", "F_ZF2", "F_ZF3", "F_ZF4", "F_ZF5"};
const char* const kCustomNumbers[] = {"F_SZ1", "F_SZ2", "F_SZ3"};
const char* const kCustomDates[] = {"F_RQ1", "F_RQ2", "F_RQ3"};

} // namespace

OrderForm OrderForm::newOrder(const QString& code, const QString& operatorName, const QDate& today,
                              const QString& firstServiceType)
{
    OrderForm form;
    form.code = code;
    form.buyDate = today;
    form.reminderDate = today;
    form.status = OrderRules::notServed();
    form.enteredBy = operatorName;
    form.serviceType = firstServiceType;
    return form;
}

OrderForm OrderForm::fromRow(const std::function<QVariant(const QString&)>& value)
{
    auto text = [&](const char* column) { return value(QLatin1String(column)).toString(); };
    OrderForm form;
    form.code = text("F_code");
    form.client = text("F_client");
    form.phone = text("F_phone");
    form.movePhone = text("F_movePhone");
    form.area = text("F_area");
    form.address = text("F_address");
    form.buyAddress = text("F_buyAddress");
    form.buyDate = shownDate(value(QStringLiteral("F_buyDate")));
    form.delivery = text("F_IFsonghuo");
    form.setupDate = shownDate(value(QStringLiteral("F_setupDate")));
    form.phoneAppointment = text("F_phoneYD").trimmed() == yes();
    form.reminderDate = shownDate(value(QStringLiteral("F_awokeDate")));
    form.dispatchNote = text("F_memo1");
    form.installer = text("F_FWemp");
    form.deliveryType = text("F_PStype");
    form.wage = value(QStringLiteral("F_FWprice")).toDouble();
    form.status = text("F_status");
    form.opinion = text("F_memo2");
    form.salesPerson = text("F_XSemp");
    form.dispatcher = text("F_PGemp");
    form.enteredBy = text("F_OperName");
    form.editedBy = text("F_EditEmp");
    form.serviceType = text("F_FWtype");
    form.setupPosition = text("F_setupPOS");
    form.attitude = text("F_FWtaidu");
    for (int i = 0; i < 5; ++i)
        form.customTexts[i] = text(kCustomTexts[i]);
    for (int i = 0; i < 3; ++i) {
        form.customNumbers[i] = value(QLatin1String(kCustomNumbers[i])).toDouble();
        form.customDates[i] = shownDate(value(QLatin1String(kCustomDates[i])));
    }
    return form;
}

std::optional<OrderForm> OrderForm::load(Database& db, qint64 orderId, QString* error)
{
    auto query = db.exec(QStringLiteral("SELECT * FROM t_client WHERE F_ID = ?"), {orderId});
    if (!query) {
        if (error)
            *error = db.lastError();
        return std::nullopt;
    }
    if (!query->next()) {
        if (error)
            *error = QStringLiteral("the order is gone");
        return std::nullopt;
    }
    const QSqlRecord record = query->record();
    return fromRow([&](const QString& column) {
        const int at = record.indexOf(column);
        return at < 0 ? QVariant() : query->value(at);
    });
}

OrderForm OrderForm::trimmed() const
{
    OrderForm form = *this;
    for (QString* text :
         {&form.code,         &form.client,     &form.phone,       &form.movePhone,     &form.area,
          &form.address,      &form.buyAddress, &form.delivery,    &form.dispatchNote,  &form.installer,
          &form.deliveryType, &form.status,     &form.opinion,     &form.salesPerson,   &form.dispatcher,
          &form.enteredBy,    &form.editedBy,   &form.serviceType, &form.setupPosition, &form.attitude})
        *text = text->trimmed();
    for (QString& text : form.customTexts)
        text = text.trimmed();
    return form;
}

SqlValues OrderForm::columnValues() const
{
    SqlValues values = {
        {QStringLiteral("F_code"), code},
        {QStringLiteral("F_client"), client},
        {QStringLiteral("F_phone"), phone},
        {QStringLiteral("F_movePhone"), movePhone},
        {QStringLiteral("F_address"), address},
        {QStringLiteral("F_area"), area},
        {QStringLiteral("F_buyAddress"), buyAddress},
        {QStringLiteral("F_buyDate"), storedDate(buyDate)},
        {QStringLiteral("F_IFsonghuo"), delivery},
        {QStringLiteral("F_setupDate"), storedDate(setupDate)},
        {QStringLiteral("F_phoneYD"), phoneAppointment ? yes() : no()},
        {QStringLiteral("F_memo1"), dispatchNote},
        {QStringLiteral("F_FWemp"), installer},
        {QStringLiteral("F_FWprice"), wage},
        {QStringLiteral("F_status"), status},
        {QStringLiteral("F_memo2"), opinion},
        {QStringLiteral("F_PGemp"), dispatcher},
        {QStringLiteral("F_OperName"), enteredBy},
        {QStringLiteral("F_FWtype"), serviceType},
        {QStringLiteral("F_XSemp"), salesPerson},
        {QStringLiteral("F_EditEmp"), editedBy},
        {QStringLiteral("F_setupPOS"), setupPosition},
        {QStringLiteral("F_PStype"), deliveryType},
        {QStringLiteral("F_FWtaidu"), attitude},
        {QStringLiteral("F_awokeDate"), storedDate(reminderDate)},
    };
    for (int i = 0; i < 5; ++i)
        values.append({QLatin1String(kCustomTexts[i]), customTexts[i]});
    for (int i = 0; i < 3; ++i)
        values.append({QLatin1String(kCustomNumbers[i]), customNumbers[i]});
    for (int i = 0; i < 3; ++i)
        values.append({QLatin1String(kCustomDates[i]), storedDate(customDates[i])});
    return values;
}

void OrderForm::chooseInstaller(const QString& choice, const QString& operatorName)
{
    installer = choice;
    if (choice.trimmed().isEmpty()) {
        status = OrderRules::notServed();
        dispatcher.clear();
    } else if (status.trimmed() == OrderRules::notServed()) {
        status = OrderRules::inService();
        dispatcher = operatorName;
    }
}
