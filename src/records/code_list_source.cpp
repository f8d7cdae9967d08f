#include "records/code_list_source.h"

SqlStatement CodeListSource::distinctNames(const QString& type)
{
    // Entry order is the order the shop set up in the code list window.
    return {QStringLiteral("SELECT F_name FROM t_code WHERE F_name <> '' AND F_type = ? "
                           "GROUP BY F_name ORDER BY min(F_ID)"),
            {type}};
}

SqlStatement CodeListSource::names(const QString& type)
{
    return {QStringLiteral("SELECT F_name FROM t_code WHERE F_type = ? ORDER BY F_ID"), {type}};
}
