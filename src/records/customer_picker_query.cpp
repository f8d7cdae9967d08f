#include "records/customer_picker_query.h"

#include "app/main_list_query.h"
#include "data/database.h"
#include "data/login_state.h"
#include "data/sql_condition.h"
#include "data/value_list.h"
#include "records/code_list_source.h"



const QList<CustomerPickerQuery::ListType>& CustomerPickerQuery::listTypes()
{
    const QString code = QStringLiteral("t_code");
    const QString orders = QStringLiteral("t_client");
    const QString lines = QStringLiteral("t_HPrec");
    static const QList<ListType> types = {
        {QStringLiteral("区    域"), code, QStringLiteral("F_area"), QStringLiteral("area")},
        {QStringLiteral("购买地点"), orders, QStringLiteral("F_buyAddress"), {}},
        {QStringLiteral("品    牌"), lines, QStringLiteral("F_pinPai"), {}},
        {QStringLiteral("品    类"), lines, QStringLiteral("F_PLtype"), {}},
        {QStringLiteral("服务人员"), code, QStringLiteral("F_FWemp"), QStringLiteral("fwemp")},
        {QStringLiteral("安装位置"), orders, QStringLiteral("F_setupPOS"), {}},
        {QStringLiteral("销售人员"), orders, QStringLiteral("F_XSemp"), {}},
        {QStringLiteral("派工人员"), orders, QStringLiteral("F_PGemp"), {}},
        {QStringLiteral("服务类别"), orders, QStringLiteral("F_FWtype"), {}},
        {QStringLiteral("派送类别"), orders, QStringLiteral("F_PStype"), {}},
    };
    return types;
}

int CustomerPickerQuery::listTypeIndex(const QString& caption)
{
    for (int i = 0; i < listTypes().size(); ++i) {
        if (listTypes().at(i).caption == caption)
            return i;
    }
    return -1;
}

SqlStatement CustomerPickerQuery::list(const Filter& filter, const Dialect& dialect, const LoginState& login)
{
    const QString like = MainListQuery::likeClause(dialect);
    SqlCondition where;
    if (login.ownOrdersOnly)
        where.add(QStringLiteral("F_OperName = ?"), {login.operatorName});
    where.add(QStringLiteral("F_buyDate >= ? AND F_buyDate <= ?"), {filter.from, filter.to});
    const QString name = filter.name.trimmed();
    if (!name.isEmpty())
        where.add(QStringLiteral("F_client") + like, {MainListQuery::typedPattern(name) + QLatin1Char('%')});
    const QString phone = filter.phone.trimmed();
    if (!phone.isEmpty()) {
        const QString pattern = SqlCondition::contains(MainListQuery::typedPattern(phone));
        where.add(QStringLiteral("F_phone%1 OR F_movePhone%1").arg(like), {pattern, pattern});
    }
    const QString address = filter.address.trimmed();
    if (!address.isEmpty())
        where.add(QStringLiteral("F_address") + like,
                  {SqlCondition::contains(MainListQuery::typedPattern(address))});
    if (filter.listValue && filter.listType >= 0 && filter.listType < listTypes().size()) {
        const ListType& type = listTypes().at(filter.listType);
        if (type.table == QLatin1String("t_HPrec"))
            where.add(QStringLiteral("F_code IN (SELECT F_code FROM t_HPrec WHERE %1 = ?)").arg(type.column),
                      {*filter.listValue});
        else
            where.add(type.column + QStringLiteral(" = ?"), {*filter.listValue});
    }
    return {QStringLiteral("SELECT * FROM t_client") + where.clause() + QStringLiteral(" ORDER BY F_ID"),
            where.values()};
}

SqlStatement CustomerPickerQuery::valueSource(int listType)
{
    if (listType < 0 || listType >= listTypes().size())
        return {};
    const ListType& type = listTypes().at(listType);
    if (!type.codeType.isEmpty())
        return CodeListSource::distinctNames(type.codeType);
    return {QStringLiteral("SELECT %1 FROM %2 WHERE %1 <> '' GROUP BY %1").arg(type.column, type.table), {}};
}

std::optional<QStringList> CustomerPickerQuery::values(Database& db, int listType, QString* error)
{
    const SqlStatement source = valueSource(listType);
    if (source.sql.isEmpty())
        return QStringList();
    return ValueList::read(db, source.sql, source.values, ValueList::Order::Pinyin, error);
}

QDate CustomerPickerQuery::defaultFrom(const QDate& today)
{
    const QDate back = today.addMonths(-3);
    return QDate(back.year(), back.month(), 1);
}
