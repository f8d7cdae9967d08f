#include "records/customer_query.h"

#include "app/main_list_query.h"
#include "data/login_state.h"
#include "data/sql_value.h"

const QList<CustomerQuery::Field>& CustomerQuery::fields()
{
    using M = Match;
    static const QList<Field> all = {
        {QStringLiteral("edtClient"), QStringLiteral("F_client"), M::Contains},
        {QStringLiteral("edtPhone"), QStringLiteral("F_phone"), M::StartsWith},
        {QStringLiteral("edtMovePhone"), QStringLiteral("F_movePhone"), M::StartsWith},
        {QStringLiteral("edtAddress"), QStringLiteral("F_address"), M::Contains},
        {QStringLiteral("cbbArea"), QStringLiteral("F_area"), M::StartsWith},
        {QStringLiteral("edtBuyAddress"), QStringLiteral("F_buyAddress"), M::StartsWith},
        {QStringLiteral("cbbPinPai"), QStringLiteral("F_pinPai"), M::GoodsLineContains},
        {QStringLiteral("edtSpec"), QStringLiteral("F_spec"), M::GoodsLineContains},
        {QStringLiteral("edtHPname"), QStringLiteral("F_HPname"), M::GoodsLineContains},
        {QStringLiteral("edtHPtype"), QStringLiteral("F_type"), M::GoodsLineContains},
        {QStringLiteral("edtFPcode"), QStringLiteral("F_FPcode"), M::GoodsLineContains},
        {QStringLiteral("edtYZcode"), QStringLiteral("F_YZcode"), M::GoodsLineContains},
        {QStringLiteral("cbbIFsongHuo"), QStringLiteral("F_IFsonghuo"), M::StartsWith},
        {QStringLiteral("cbbFWemp"), QStringLiteral("F_FWemp"), M::StartsWith},
        {QStringLiteral("cbbStatus"), QStringLiteral("F_status"), M::StartsWith},
        {QStringLiteral("cbbPGemp"), QStringLiteral("F_PGemp"), M::StartsWith},
        {QStringLiteral("cbbFWtype"), QStringLiteral("F_FWtype"), M::StartsWith},
        {QStringLiteral("edtMemo1"), QStringLiteral("F_memo1"), M::Contains},
        {QStringLiteral("edtMemo2"), QStringLiteral("F_memo2"), M::Contains},
        {QStringLiteral("cbbXSemp"), QStringLiteral("F_XSemp"), M::StartsWith},
        {QStringLiteral("cbbEditEmp"), QStringLiteral("F_EditEmp"), M::Contains},
        {QStringLiteral("cbbOperName"), QStringLiteral("F_OperName"), M::Contains},
        {QStringLiteral("cbbPStype"), QStringLiteral("F_PStype"), M::StartsWith},
        // The second delivery-category box searches the same column, so that a choice made
        // there is not silently ignored.
        {QStringLiteral("cbbPStype2"), QStringLiteral("F_PStype"), M::StartsWith},
        {QStringLiteral("cbbFWtaidu"), QStringLiteral("F_FWtaidu"), M::StartsWith},
    };
    return all;
}

SqlCondition CustomerQuery::condition(const Criteria& criteria, const Dialect& dialect)
{
    const QString like = MainListQuery::likeClause(dialect);
    SqlCondition where;
    for (const Field& field : fields()) {
        const QString typed = criteria.texts.value(field.control).trimmed();
        if (typed.isEmpty())
            continue;
        const QString pattern = MainListQuery::typedPattern(typed);
        switch (field.match) {
        case Match::StartsWith:
            where.add(field.column + like, {pattern + QLatin1Char('%')});
            break;
        case Match::Contains:
            where.add(field.column + like, {SqlCondition::contains(pattern)});
            break;
        case Match::GoodsLineContains:
            where.add(
                QStringLiteral("F_code IN (SELECT F_code FROM t_HPrec WHERE %1%2)").arg(field.column, like),
                {SqlCondition::contains(pattern)});
            break;
        }
    }
    auto addRange = [&where](const DateRange& range, const QString& column) {
        if (!range.enabled)
            return;
        where.add(
            QStringLiteral("%1 >= ? AND %1 <= ?").arg(column),
            {range.from.value_or(SqlDates::openRangeStart()), range.to.value_or(SqlDates::openRangeEnd())});
    };
    addRange(criteria.purchase, QStringLiteral("F_buyDate"));
    addRange(criteria.setup, QStringLiteral("F_setupDate"));
    return where;
}

SqlStatement CustomerQuery::list(const SqlCondition& condition, const LoginState& login)
{
    SqlCondition where;
    if (login.ownOrdersOnly)
        where.add(QStringLiteral("F_OperName = ?"), {login.operatorName});
    where.add(condition);
    return {QStringLiteral("SELECT * FROM t_client") + where.clause() + QStringLiteral(" ORDER BY F_code"),
            where.values()};
}
