#pragma once

#include "app/main_list_filter.h"
#include "app/sql_statement.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;
class Dialect;
class RecordSet;
class SqlCondition;

// The statements behind the main window: the order list with every filter, its row count, the
// value-list sources and the detail lists of one order. Every value is bound.
//
// LIKE patterns use '!' as their escape character on every engine. PostgreSQL would otherwise
// read the backslashes of purchase-place paths as escapes; a '%' or '_' the user types still
// works as a wildcard.
class MainListQuery {
public:
    struct SearchField {
        enum class Kind {
            None,       // "--未选择--"
            Contains,   // the order's column holds the value anywhere
            StartsWith, // the order's column starts with the value
            GoodsLine,  // one of the order's goods lines holds the value anywhere in the column
        };
        QString caption;
        Kind kind;
        QString column;
    };
    struct ListType {
        QString caption; // item of the list-type choice
        QString title;   // title of the value column
        QString table;   // t_client, or t_HPrec for values of the goods lines
        QString column;
    };

    static const QList<SearchField>& searchFields();
    static const QList<ListType>& listTypes();
    // Row of the caption; -1 when there is none.
    static int searchFieldIndex(const QString& caption);
    static int listTypeIndex(const QString& caption);
    // The status word the filter asks for; empty for "全  部".
    static QString statusWord(MainListFilter::Status status);

    // How the list statement lets the engine find its rows.
    enum class Plan {
        // The conditions as they are: the engine may find the rows through an index on them and
        // then sort them. Best when few rows match.
        ByCondition,
        // The conditions hidden from the indexes, so that the engine reads the orders in code
        // order and hands over the first rows at once instead of sorting all of them first.
        InCodeOrder,
    };

    // The WHERE condition of the list. Conditions on goods lines are written for the plan: a
    // set of order codes found once, or a look at each order's own lines while reading in code
    // order (which finds the first rows without reading every goods line first).
    static SqlCondition condition(const MainListFilter& filter, const Dialect& dialect,
                                  Plan plan = Plan::ByCondition);
    // Every column of t_client for the orders the filter lets through, in code order.
    static SqlStatement list(const MainListFilter& filter, const Dialect& dialect,
                             Plan plan = Plan::ByCondition);
    static SqlStatement count(const MainListFilter& filter, const Dialect& dialect);

    // Up to this many matching rows are found through the indexes and sorted; more are read in
    // code order.
    static constexpr qint64 SortedPlanLimit = 3000;
    // RunListQuery's reading: counts the orders, then opens the list in the way that suits that
    // number: few orders by their identities, many in code order, none without searching again.
    // The count, or nothing when a statement failed (the record set is then closed).
    static std::optional<qint64> open(Database& db, const MainListFilter& filter, RecordSet& records,
                                      QString* error = nullptr);

    // The distinct non-blank values of the list type's column.
    static SqlStatement valueSource(int listType);
    // FillValueList's values, without blank ones, in Chinese (pinyin) order; nothing when the
    // query failed.
    static std::optional<QStringList> values(Database& db, int listType, QString* error = nullptr);

    // The lists of the detail tabs and the parts of one repair, in entry order.
    static SqlStatement goodsLines(const QString& orderCode);
    static SqlStatement visits(const QString& orderCode);
    static SqlStatement repairs(const QString& orderCode);

    // " LIKE ? ESCAPE '!'" with the dialect's case-insensitive operator.
    static QString likeClause(const Dialect& dialect);
    // A typed search value as a pattern: wildcards stay wildcards, the escape character is literal.
    static QString typedPattern(const QString& typed);
    // Text matched literally, every wildcard escaped.
    static QString literalPattern(const QString& text);
};
