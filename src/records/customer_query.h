#pragma once

#include "app/sql_statement.h"
#include "data/sql_condition.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class Dialect;
struct LoginState;

// The advanced customer query: what the operator typed in the customer query dialog turned
// into a condition on t_client with every value bound. A field left empty adds nothing; a
// '%' or '_' typed still works as a wildcard, a quote is just a character.
class CustomerQuery {
public:
    enum class Match {
        StartsWith,        // the order's column starts with the text
        Contains,          // the order's column holds the text anywhere
        GoodsLineContains, // one of the order's goods lines holds the text anywhere in the column
    };
    // One field of the dialog: its control and the column it searches.
    struct Field {
        QString control;
        QString column;
        Match match;
    };
    // A date range of the dialog. Each end has its own tick; an unticked end is open.
    struct DateRange {
        bool enabled = false;
        std::optional<QDate> from;
        std::optional<QDate> to;
    };
    struct Criteria {
        QHash<QString, QString> texts; // by control name, as typed
        DateRange purchase;            // F_buyDate
        DateRange setup;               // F_setupDate
    };

    // The fields in the order their conditions are added.
    static const QList<Field>& fields();

    // The conditions of the typed fields in field order, then the two date ranges.
    static SqlCondition condition(const Criteria& criteria, const Dialect& dialect);
    // The orders the condition finds, in code order; an operator who sees only his own orders
    // sees only those here too.
    static SqlStatement list(const SqlCondition& condition, const LoginState& login);
};
