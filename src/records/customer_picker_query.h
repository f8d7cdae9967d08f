#pragma once

#include "app/sql_statement.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;
class Dialect;
struct LoginState;

// The statements of the customer order picker: its list of orders by purchase date, name,
// telephone, address and a value of the value list, and the values that list offers.
class CustomerPickerQuery {
public:
    struct Filter {
        QDate from;
        QDate to;
        QString name;    // the name starts with it
        QString phone;   // the fixed or the mobile number holds it
        QString address; // the address holds it
        int listType = 0;
        // The chosen value-list row; none while "全部" is chosen.
        std::optional<QString> listValue;
    };
    struct ListType {
        QString caption;  // item of the list-type choice and title of the value column
        QString table;    // where the values come from: t_code, t_client or t_HPrec
        QString column;   // the order's column (or the goods line's) that a value restricts
        QString codeType; // t_code type when the values come from a code list
    };

    static const QList<ListType>& listTypes();
    static int listTypeIndex(const QString& caption);

    // The orders of the filter in entry order (text typed is bound; '%' and '_' stay wildcards).
    // An operator who sees only his own orders sees only those.
    static SqlStatement list(const Filter& filter, const Dialect& dialect, const LoginState& login);
    // The distinct non-blank values of the list type, in pinyin order; nothing when the
    // query failed.
    static std::optional<QStringList> values(Database& db, int listType, QString* error = nullptr);
    static SqlStatement valueSource(int listType);

    // The range the picker opens with: from the first day of the month three months back.
    static QDate defaultFrom(const QDate& today);
};
