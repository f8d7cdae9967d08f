#pragma once

#include "app/sql_statement.h"

#include <QString>

// The statements that offer the names of a flat code list (t_code rows of one F_type) to a
// drop-down list. Types compare without regard to letter case, as the data model does.
class CodeListSource {
public:
    // The distinct non-empty names of the type, in the order they were entered.
    static SqlStatement distinctNames(const QString& type);
    // Every name of the type in entry order; blank ones are skipped by the drop-down itself.
    static SqlStatement names(const QString& type);
};
