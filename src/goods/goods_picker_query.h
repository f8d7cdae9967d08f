#pragma once

#include "app/sql_statement.h"

#include <QString>
#include <QStringList>

class Database;
class Dialect;

// The list of the goods picker: catalogue articles by code, name, brand and goods type,
// without the ones already picked in this opening of the picker.
class GoodsPickerQuery {
public:
    struct Filter {
        QString code;         // anywhere in the code
        QString name;         // anywhere in the name
        QString brand;        // start of the brand
        QString typePath;     // a goods-type node's path: the node and those below; empty for all
        QStringList excluded; // codes picked already
    };

    static SqlStatement statement(const Filter& filter, const Dialect& dialect);

    // The grid key of the picker's layout.
    static QString gridKey() { return QStringLiteral("dlggoodxz"); }
    // A database made before the picker existed has no layout rows for its key, and a layout
    // is saved into existing rows only: adds the designed ones when there are none.
    static bool ensureLayoutRows(Database& db, QString* error = nullptr);
};
