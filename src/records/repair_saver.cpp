#include "records/repair_saver.h"

#include "data/code_allocator.h"
#include "data/data_module.h"
#include "data/database.h"
#include "data/messenger.h"
#include "data/record_set.h"
#include "records/repair_parts.h"

RepairSaver::RepairSaver(DataModule& data) : m_data(data) {}

RepairSaver::Result RepairSaver::save(const Context& context, RepairForm& form, RecordSet* parts)
{
    RepairForm values = form.trimmed();
    if (values.repairCode.isEmpty()) {
        m_data.messenger().info(codeMissingMessage());
        return {Outcome::Refused, Field::RepairCode, {}, 0};
    }
    if (context.serviceTypeRequired && values.serviceType.isEmpty()) {
        m_data.messenger().info(serviceTypeMissingMessage());
        return {Outcome::Refused, Field::ServiceType, {}, 0};
    }
    const bool withParts = parts && parts->isOpen();
    values.partsCharge = withParts ? RepairParts::amountSum(*parts) : 0.0;
    values.total = values.partsCharge + values.serviceFee;

    Database& db = m_data.db();
    QString error;
    std::optional<QString> code;
    qint64 id = context.repairId;
    {
        Transaction transaction(db);
        bool present = transaction.isActive();
        if (present && context.mode == RepairEditMode::Edit) {
            // Changing a repair another workstation deleted meanwhile would change nothing.
            const auto found =
                db.scalar(QStringLiteral("SELECT count(*) FROM t_WXrec WHERE F_ID = ?"), {context.repairId});
            present = found && found->toLongLong() == 1;
        }
        if (present) {
            code = CodeAllocator::writeWithFreeCode(
                db, values.repairCode, maxCodeQuery(), codeWidth,
                [&](const QString& candidate) {
                    return write(context, values, withParts ? parts : nullptr, candidate, &id, &error);
                },
                &error);
        }
        if (!code || !transaction.commit())
            code.reset();
    }
    if (!code) {
        m_data.messenger().error(saveFailedMessage());
        return {Outcome::Failed, Field::None, {}, 0};
    }
    if (withParts)
        parts->acceptUpdates();
    values.repairCode = *code;
    form = values;
    return {Outcome::Saved, Field::None, *code, id};
}

bool RepairSaver::write(const Context& context, RepairForm& form, RecordSet* parts, const QString& code,
                        qint64* id, QString* error)
{
    Database& db = m_data.db();
    form.repairCode = code;
    // The repair first: a taken code fails here, before any parts line was written.
    if (context.mode == RepairEditMode::New) {
        const auto inserted = db.insert(QStringLiteral("t_WXrec"), form.columnValues());
        if (!inserted) {
            if (error)
                *error = db.lastError();
            return false;
        }
        *id = *inserted;
    } else if (!db.update(QStringLiteral("t_WXrec"), form.columnValues(), QStringLiteral("F_ID"),
                          context.repairId)) {
        if (error)
            *error = db.lastError();
        return false;
    }
    if (!parts)
        return true;
    if (!RepairParts::setRepairCode(*parts, code) || !parts->applyUpdates()) {
        if (error)
            *error = parts->lastError();
        return false;
    }
    return true;
}
