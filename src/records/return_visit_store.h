#pragma once

#include "records/return_visit.h"

#include <QString>

#include <optional>

class Database;
class RecordSet;

// Reads and writes return visits (t_HFrec). Texts are stored trimmed of leading and trailing
// blanks and otherwise exactly as typed; every value is bound.
class ReturnVisitStore {
public:
    // The visit in a row of a t_HFrec record set.
    static ReturnVisit fromRow(const RecordSet& visits, int row);

    // Writes the visit under the order code in one transaction: a new row when `id` is empty,
    // otherwise the row with that F_ID. The F_ID written, or nothing when the write failed or
    // the row no longer exists; nothing is written then and `error` says why.
    static std::optional<qint64> save(Database& db, const QString& orderCode, const ReturnVisit& visit,
                                      std::optional<qint64> id, QString* error = nullptr);

    // Code list types of the editor's drop-down lists.
    static QString employeeType() { return QStringLiteral("hfemp"); }
    static QString attitudeType() { return QStringLiteral("FWtaidu"); }
    static QString chargeItemType() { return QStringLiteral("hfitem"); }

    static QString saveFailedMessage() { return QStringLiteral("保存失败，请检测数据库连接！"); }
};
