#pragma once

#include "app/sql_statement.h"
#include "records/repair_list_filter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;
class Dialect;
class RecordSet;
class SqlCondition;

// The statements behind the repair management window: the repair list (v_WXrec) with every
// filter, its row count, and the values of its value list. Every value is bound.
//
// LIKE patterns use '!' as their escape character: a '%' or '_' the user types still works as a
// wildcard, while a value taken from a list is matched literally.
class RepairListQuery {
public:
    struct SearchType {
        QString caption;
        QString column;
        bool orderColumn = false; // a column of the customer order rather than of the repair
    };
    // What a list query found besides its rows: how many, and the totals of some columns.
    struct Summary {
        qint64 rows = 0;
        QList<double> sums; // in the order the columns were asked for
    };
    struct ListType {
        QString caption;       // item of the list-type choice and title of the value column
        QString restriction;   // the condition a chosen value adds, with one "?"
        bool contains = false; // the value is looked for anywhere in the column
    };

    static const QList<SearchType>& searchTypes();
    static const QList<ListType>& listTypes();
    static QStringList listTypeCaptions();
    static int listTypeIndex(const QString& caption);

    static SqlCondition condition(const RepairListFilter& filter, const Dialect& dialect);
    // Every column of v_WXrec for the repairs the filter lets through, by report date.
    static SqlStatement list(const RepairListFilter& filter, const Dialect& dialect);
    // The count of the repairs and the sums of the columns (money columns of v_WXrec only;
    // others are left out).
    static SqlStatement summary(const RepairListFilter& filter, const Dialect& dialect,
                                const QStringList& sumColumns = {});
    // A search that finds up to this many repairs names them in the pass that counts them.
    static constexpr qint64 FewRows = 3000;
    // The money columns whose totals summary() gives.
    static bool isSummable(const QString& column);
    // Counts the repairs, sums the columns and opens the list; nothing when a statement failed
    // (the record set is then left as it was when the count failed, closed when the list failed).
    static std::optional<Summary> open(Database& db, const RepairListFilter& filter, RecordSet& records,
                                       const QStringList& sumColumns = {}, QString* error = nullptr);

    // The values a list type offers, without blank ones: names found in the repairs in Chinese
    // (pinyin) order, code lists in the order they were entered. Nothing when the query failed.
    static SqlStatement valueSource(int listType);
    static std::optional<QStringList> values(Database& db, int listType, QString* error = nullptr);
};
