#include "records/order_saver.h"

#include "data/code_allocator.h"
#include "data/data_module.h"
#include "data/database.h"
#include "data/messenger.h"
#include "data/record_set.h"
#include "records/order_lines.h"
#include "records/order_rules.h"
#include "records/order_stock.h"

#include <QPair>

OrderSaver::OrderSaver(DataModule& data) : m_data(data) {}

OrderSaver::Result OrderSaver::refuse(const QString& message, OrderForm::Field focus)
{
    m_data.messenger().info(message);
    return {Outcome::Refused, focus, {}};
}

OrderSaver::Result OrderSaver::check(const Context& context, const OrderForm& form)
{
    using Field = OrderForm::Field;
    if (form.client.isEmpty())
        return refuse(nameMissingMessage(), Field::Client);
    if (!context.picker) {
        switch (context.mode) {
        case OrderEditMode::New:
        case OrderEditMode::Edit:
            if (form.area.isEmpty())
                return refuse(areaMissingMessage(), Field::Area);
            if (form.address.isEmpty())
                return refuse(addressMissingMessage(), Field::Address);
            if (form.salesPerson.isEmpty())
                return refuse(salesPersonMissingMessage(), Field::SalesPerson);
            if (!form.setupDate && !form.phoneAppointment)
                return refuse(setupWayMissingMessage(), Field::SetupDate);
            break;
        case OrderEditMode::Dispatch:
            if (form.installer.isEmpty())
                return refuse(installerMissingMessage(), Field::Installer);
            break;
        case OrderEditMode::Complete:
            break;
        }
    }
    if (usedElsewhere(context, QStringLiteral("F_phone"), form.phone) &&
        !m_data.messenger().ask(phoneTakenQuestion()))
        return {Outcome::Refused, Field::Phone, {}};
    if (usedElsewhere(context, QStringLiteral("F_movePhone"), form.movePhone) &&
        !m_data.messenger().ask(movePhoneTakenQuestion()))
        return {Outcome::Refused, Field::MovePhone, {}};
    return {Outcome::Saved, Field::None, {}};
}

bool OrderSaver::usedElsewhere(const Context& context, const QString& column, const QString& value)
{
    if (value.isEmpty())
        return false;
    // Any other order, not only the first one found: the order itself may come first.
    const bool excludeSelf = context.mode != OrderEditMode::New && !context.picker;
    QString sql = QStringLiteral("SELECT F_ID FROM t_client WHERE %1 = ?").arg(column);
    QVariantList values{value};
    if (excludeSelf) {
        sql += QStringLiteral(" AND F_ID <> ?");
        values << context.orderId;
    }
    return m_data.services().lookupInt(sql, values) > 0;
}

OrderSaver::Result OrderSaver::save(const Context& context, OrderForm& form, RecordSet* lines)
{
    OrderForm values = form.trimmed();
    if (context.mode == OrderEditMode::Complete)
        values.status = OrderRules::served();
    if (context.mode == OrderEditMode::Edit)
        values.editedBy = m_data.login().operatorName;

    const Result checked = check(context, values);
    if (checked.outcome != Outcome::Saved)
        return checked;

    Database& db = m_data.db();
    QString error;
    std::optional<QString> code;
    {
        Transaction transaction(db);
        bool present = transaction.isActive();
        if (present && context.mode != OrderEditMode::New) {
            // Changing an order another workstation deleted meanwhile would change nothing.
            const auto found =
                db.scalar(QStringLiteral("SELECT count(*) FROM t_client WHERE F_ID = ?"), {context.orderId});
            present = found && found->toLongLong() == 1;
        }
        if (present) {
            const auto writeUnder = [&](const QString& candidate) {
                return write(context, values, lines, candidate, &error);
            };
            if (context.mode == OrderEditMode::New || !values.code.isEmpty())
                code = CodeAllocator::writeWithFreeCode(db, values.code, maxCodeQuery(), codeWidth,
                                                        writeUnder, &error);
            else if (writeUnder(QString()))
                code = QString();
        }
        if (!code || !transaction.commit())
            code.reset();
    }
    if (!code) {
        m_data.messenger().error(saveFailedMessage());
        return {Outcome::Failed, OrderForm::Field::None, {}};
    }
    if (lines && lines->isOpen())
        lines->acceptUpdates();
    values.code = *code;
    form = values;
    return {Outcome::Saved, OrderForm::Field::None, *code};
}

bool OrderSaver::write(const Context& context, OrderForm& form, RecordSet* lines, const QString& code,
                       QString* error)
{
    Database& db = m_data.db();
    const auto failed = [&] {
        if (error)
            *error = db.lastError();
        return false;
    };
    form.code = code;

    // The order's status as stored decides, so that two completions never both lower stock.
    bool takeStock = false;
    if (context.mode == OrderEditMode::Complete) {
        auto marked =
            db.exec(QStringLiteral("UPDATE t_client SET F_status = ? WHERE F_ID = ? AND F_status = ?"),
                    {OrderRules::served(), context.orderId, OrderRules::inService()});
        if (!marked)
            return failed();
        takeStock = marked->numRowsAffected() > 0;
    }

    SqlValues columns = form.columnValues();
    if (context.mode == OrderEditMode::New) {
        if (!db.insert(QStringLiteral("t_client"), columns))
            return failed();
    } else {
        if (code.isEmpty())
            columns.removeFirst(); // F_code: an order stored without a code keeps none
        if (!db.update(QStringLiteral("t_client"), columns, QStringLiteral("F_ID"), context.orderId))
            return failed();
    }

    if (lines && lines->isOpen()) {
        if (!OrderLines::setOrderCode(*lines, code)) {
            if (error)
                *error = lines->lastError();
            return false;
        }
        if (!lines->applyUpdates()) {
            if (error)
                *error = lines->lastError();
            return false;
        }
    }

    if (context.mode != OrderEditMode::New && !context.storedCode.isEmpty() && code != context.storedCode) {
        for (const char* table : {"t_HPrec", "t_HFrec", "t_WXrec"}) {
            if (!db.exec(
                    QStringLiteral("UPDATE %1 SET F_code = ? WHERE F_code = ?").arg(QLatin1String(table)),
                    {code, context.storedCode}))
                return failed();
        }
    }

    if (takeStock) {
        auto stored = db.exec(
            QStringLiteral("SELECT F_HPcode, F_amount FROM t_HPrec WHERE F_code = ? ORDER BY F_ID"), {code});
        if (!stored)
            return failed();
        QList<QPair<QString, double>> taken;
        while (stored->next())
            taken.append({stored->value(0).toString(), stored->value(1).toDouble()});
        stored->finish();
        for (const auto& [goods, amount] : std::as_const(taken)) {
            if (!OrderStock::adjust(db, goods, amount, error))
                return false;
        }
    }
    return true;
}
