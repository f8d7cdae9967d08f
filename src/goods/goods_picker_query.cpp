#include "goods/goods_picker_query.h"

#include "app/main_list_query.h"
#include "data/database.h"
#include "data/grid_layout_seed.h"
#include "data/sql_condition.h"
#include "reference/code_tree_store.h"

SqlStatement GoodsPickerQuery::statement(const Filter& filter, const Dialect& dialect)
{
    // Typed text keeps % and _ as wildcards; a backslash is just a character on every engine.
    const QString like = MainListQuery::likeClause(dialect);
    const auto typed = [](const QString& text) { return MainListQuery::typedPattern(text); };
    SqlCondition where;
    if (!filter.excluded.isEmpty()) {
        QStringList marks;
        QVariantList codes;
        for (const QString& code : filter.excluded) {
            marks << QStringLiteral("?");
            codes << code;
        }
        where.add(QStringLiteral("NOT (F_code IN (%1))").arg(marks.join(QLatin1Char(','))), codes);
    }
    const QString code = filter.code.trimmed();
    const QString name = filter.name.trimmed();
    const QString brand = filter.brand.trimmed();
    if (!code.isEmpty())
        where.add(QStringLiteral("F_code") + like, {SqlCondition::contains(typed(code))});
    if (!name.isEmpty())
        where.add(QStringLiteral("F_name") + like, {SqlCondition::contains(typed(name))});
    if (!brand.isEmpty())
        where.add(QStringLiteral("F_pinPai") + like, {typed(brand) + QLatin1Char('%')});
    // The node and everything below it, its path taken literally.
    if (!filter.typePath.isEmpty())
        where.add(CodeTreeStore::pathCondition(dialect, QStringLiteral("F_type"), filter.typePath));
    return {QStringLiteral("SELECT * FROM t_goods") + where.clause() + QStringLiteral(" ORDER BY F_code"),
            where.values()};
}

bool GoodsPickerQuery::ensureLayoutRows(Database& db, QString* error)
{
    const auto rows =
        db.scalar(QStringLiteral("SELECT count(*) FROM cfg_Grid WHERE F_name = ?"), {gridKey()});
    if (!rows) {
        if (error)
            *error = db.lastError();
        return false;
    }
    return rows->toLongLong() > 0 || GridLayoutSeed::insertKey(db, gridKey(), error);
}
