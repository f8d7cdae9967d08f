#pragma once

#include "app/main_list_filter.h"
#include "app/sql_statement.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;
class Dialect;
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

    // The WHERE condition of the list.
    static SqlCondition condition(const MainListFilter& filter, const Dialect& dialect);
    // Every column of t_client for the orders the filter lets through, in code order.
    static SqlStatement list(const MainListFilter& filter, const Dialect& dialect);
    static SqlStatement count(const MainListFilter& filter, const Dialect& dialect);

    // The distinct non-blank values of the list type's column.
    static SqlStatement valueSource(int listType);
    // FillValueList's values, without blank ones, in Chinese (pinyin) order; nothing when the
    // query failed.
    static std::optional<QStringList> values(Database& db, int listType, QString* error = nullptr);

    // The lists of the detail tabs and the parts of one repair, in entry order.
    static SqlStatement goodsLines(const QString& orderCode);
    static SqlStatement visits(const QString& orderCode);
    static SqlStatement repairs(const QString& orderCode);
    static SqlStatement parts(const QString& repairCode);

    // " LIKE ? ESCAPE '!'" with the dialect's case-insensitive operator.
    static QString likeClause(const Dialect& dialect);
    // A typed search value as a pattern: wildcards stay wildcards, the escape character is literal.
    static QString typedPattern(const QString& typed);
    // Text matched literally, every wildcard escaped.
    static QString literalPattern(const QString& text);
};
