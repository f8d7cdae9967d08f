#include "records/return_visit_store.h"

#include "data/database.h"
#include "data/record_set.h"
#include "data/sql_value.h"

#include <QSqlQuery>

namespace {

QString column(const char* stem, int n)
{
    return QLatin1String(stem) + QString::number(n);
}

} // namespace

ReturnVisit ReturnVisitStore::fromRow(const RecordSet& visits, int row)
{
    auto text = [&](const QString& field) { return visits.value(row, field).toString(); };
    ReturnVisit visit;
    visit.date = SqlDates::toDate(visits.value(row, QStringLiteral("F_HFdate")));
    visit.employee = text(QStringLiteral("F_HFemp"));
    visit.attitude = text(QStringLiteral("F_FWtaidu"));
    visit.giftReceived = visits.value(row, QStringLiteral("F_addFlag")).toBool();
    for (int i = 0; i < ReturnVisit::ChargeCount; ++i) {
        visit.items[i] = text(column("F_HFitem", i + 1));
        visit.prices[i] = visits.value(row, column("F_HFprice", i + 1)).toDouble();
    }
    visit.total = visits.value(row, QStringLiteral("F_HFtotalPrice")).toDouble();
    visit.content = text(QStringLiteral("F_memo1"));
    visit.result = text(QStringLiteral("F_memo2"));
    visit.chargeNotes = text(QStringLiteral("F_memo3"));
    return visit;
}

std::optional<qint64> ReturnVisitStore::save(Database& db, const QString& orderCode, const ReturnVisit& visit,
                                             std::optional<qint64> id, QString* error)
{
    SqlValues values = {
        {QStringLiteral("F_code"), orderCode},
        {QStringLiteral("F_HFdate"), visit.date},
        {QStringLiteral("F_HFemp"), visit.employee.trimmed()},
        {QStringLiteral("F_memo1"), visit.content.trimmed()},
        {QStringLiteral("F_memo2"), visit.result.trimmed()},
        {QStringLiteral("F_FWtaidu"), visit.attitude.trimmed()},
        {QStringLiteral("F_addFlag"), visit.giftReceived},
    };
    for (int i = 0; i < ReturnVisit::ChargeCount; ++i) {
        values.append({column("F_HFitem", i + 1), visit.items[i].trimmed()});
        values.append({column("F_HFprice", i + 1), visit.prices[i]});
    }
    values.append({QStringLiteral("F_HFtotalPrice"), visit.total});
    values.append({QStringLiteral("F_memo3"), visit.chargeNotes.trimmed()});

    auto fail = [&](const QString& why) -> std::optional<qint64> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    Transaction transaction(db);
    if (!transaction.isActive())
        return fail(db.lastError());
    qint64 written = 0;
    if (!id) {
        const auto inserted = db.insert(QStringLiteral("t_HFrec"), values);
        if (!inserted)
            return fail(db.lastError());
        written = *inserted;
    } else {
        QStringList assignments;
        QVariantList bound;
        for (const auto& [name, value] : values) {
            assignments << name + QStringLiteral(" = ?");
            bound << value;
        }
        bound << *id;
        auto query = db.exec(
            QStringLiteral("UPDATE t_HFrec SET %1 WHERE F_ID = ?").arg(assignments.join(", ")), bound);
        if (!query)
            return fail(db.lastError());
        // Another workstation may have deleted the visit since the list was read.
        if (query->numRowsAffected() == 0)
            return fail(QStringLiteral("the return visit %1 no longer exists").arg(*id));
        written = *id;
    }
    if (!transaction.commit())
        return fail(db.lastError());
    return written;
}
