#include "goods/goods_picker_query.h"

#include "data/database.h"
#include "data/grid_layout_seed.h"
#include "data/sql_condition.h"

SqlStatement GoodsPickerQuery::statement(const Filter& filter, const Dialect& dialect)
{
    const QString like = dialect.likeOperator();
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
        where.add(QStringLiteral("F_code %1 ?").arg(like), {SqlCondition::contains(code)});
    if (!name.isEmpty())
        where.add(QStringLiteral("F_name %1 ?").arg(like), {SqlCondition::contains(name)});
    if (!brand.isEmpty())
        where.add(QStringLiteral("F_pinPai %1 ?").arg(like), {brand + QLatin1Char('%')});
    if (!filter.typePath.isEmpty())
        where.add(QStringLiteral("F_type %1 ?").arg(like), {filter.typePath + QLatin1Char('%')});
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
