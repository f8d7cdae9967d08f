#include "records/order_deletion.h"

#include "data/database.h"
#include "records/order_rules.h"
#include "records/order_stock.h"

#include <QList>
#include <QPair>

namespace {

bool fail(Database& db, QString* error)
{
    if (error)
        *error = db.lastError();
    return false;
}

// Deletions are all-or-nothing on their own; they do not join a caller's transaction.
bool failToBegin(Database& db, QString* error)
{
    if (error)
        *error = db.inTransaction() ? QStringLiteral("another transaction is open") : db.lastError();
    return false;
}

bool run(Database& db, const QString& sql, const QVariantList& values, QString* error)
{
    return db.exec(sql, values) ? true : fail(db, error);
}

} // namespace

bool OrderDeletion::deleteOrder(Database& db, qint64 orderId, QString* error)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return failToBegin(db, error);

    // Read inside the transaction: another workstation may have completed the order since the
    // list was read, and then its stock has been taken.
    auto order = db.exec(QStringLiteral("SELECT F_code, F_status FROM t_client WHERE F_ID = ?"), {orderId});
    if (!order)
        return fail(db, error);
    if (!order->next())
        return transaction.commit() || fail(db, error);
    const QString code = order->value(0).toString();
    const bool completed = order->value(1).toString() == OrderRules::served();
    order->finish();

    // Records hang on the order by its code; an order without a code owns none (and must not
    // take the other code-less rows with it).
    if (!code.isEmpty()) {
        const QVariantList byCode = {code};
        if (!run(db,
                 QStringLiteral("DELETE FROM t_PJdetail WHERE F_WXcode IN "
                                "(SELECT F_WXcode FROM t_WXrec WHERE F_code = ?)"),
                 byCode, error))
            return false;
        if (completed) {
            auto lines = db.exec(
                QStringLiteral("SELECT F_HPcode, F_amount FROM t_HPrec WHERE F_code = ? ORDER BY F_ID"),
                byCode);
            if (!lines)
                return fail(db, error);
            QList<QPair<QString, double>> returned;
            while (lines->next())
                returned.append({lines->value(0).toString(), lines->value(1).toDouble()});
            lines->finish();
            for (const auto& [goods, amount] : returned) {
                if (!goods.isEmpty() && !OrderStock::adjust(db, goods, -amount, error))
                    return false;
            }
        }
        for (const char* table : {"t_HPrec", "t_HFrec", "t_WXrec"}) {
            if (!run(db, QStringLiteral("DELETE FROM %1 WHERE F_code = ?").arg(QLatin1String(table)), byCode,
                     error))
                return false;
        }
    }
    if (!run(db, QStringLiteral("DELETE FROM t_client WHERE F_ID = ?"), {orderId}, error))
        return false;
    return transaction.commit() || fail(db, error);
}

OrderDeletion::LineDeletion OrderDeletion::deleteGoodsLine(Database& db, qint64 lineId, QString* error)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return failToBegin(db, error), LineDeletion::Failed;
    auto status =
        db.exec(QStringLiteral("SELECT c.F_status FROM t_HPrec h JOIN t_client c ON c.F_code = h.F_code "
                               "WHERE h.F_ID = ? AND h.F_code <> ''"),
                {lineId});
    if (!status)
        return fail(db, error), LineDeletion::Failed;
    const bool completed = status->next() && status->value(0).toString() == OrderRules::served();
    status->finish();
    if (completed)
        return LineDeletion::OrderCompleted;
    if (!run(db, QStringLiteral("DELETE FROM t_HPrec WHERE F_ID = ?"), {lineId}, error))
        return LineDeletion::Failed;
    return transaction.commit() ? LineDeletion::Deleted : (fail(db, error), LineDeletion::Failed);
}

bool OrderDeletion::deleteRepair(Database& db, qint64 repairId, QString* error)
{
    Transaction transaction(db);
    if (!transaction.isActive())
        return failToBegin(db, error);
    auto repair = db.exec(QStringLiteral("SELECT F_WXcode FROM t_WXrec WHERE F_ID = ?"), {repairId});
    if (!repair)
        return fail(db, error);
    if (!repair->next())
        return transaction.commit() || fail(db, error);
    const QString code = repair->value(0).toString();
    repair->finish();
    if (!code.isEmpty() &&
        !run(db, QStringLiteral("DELETE FROM t_PJdetail WHERE F_WXcode = ?"), {code}, error))
        return false;
    if (!run(db, QStringLiteral("DELETE FROM t_WXrec WHERE F_ID = ?"), {repairId}, error))
        return false;
    return transaction.commit() || fail(db, error);
}
