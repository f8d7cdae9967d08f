#include "app/main_list_query.h"

#include "data/database.h"
#include "data/dialect.h"
#include "data/record_set.h"
#include "data/sql_condition.h"
#include "data/value_list.h"
#include "records/order_rules.h"
#include "reference/code_tree_store.h"



namespace {

const QString kEscape = QStringLiteral("!");

int indexOfCaption(const QStringList& captions, const QString& caption)
{
    return int(captions.indexOf(caption));
}

} // namespace

const QList<MainListQuery::SearchField>& MainListQuery::searchFields()
{
    using K = SearchField::Kind;
    static const QList<SearchField> fields = {
        {QStringLiteral("--未选择--"), K::None, {}},
        {QStringLiteral("顾客姓名"), K::Contains, QStringLiteral("F_client")},
        {QStringLiteral("固定电话"), K::Contains, QStringLiteral("F_phone")},
        {QStringLiteral("移动电话"), K::Contains, QStringLiteral("F_movePhone")},
        {QStringLiteral("家庭地址"), K::Contains, QStringLiteral("F_address")},
        {QStringLiteral("派工要求"), K::Contains, QStringLiteral("F_memo1")},
        {QStringLiteral("顾客意见"), K::StartsWith, QStringLiteral("F_memo2")},
        {QStringLiteral("单据编号"), K::Contains, QStringLiteral("F_code")},
        {QStringLiteral("修改人员"), K::Contains, QStringLiteral("F_EditEmp")},
        {QStringLiteral("商品名称"), K::GoodsLine, QStringLiteral("F_HPname")},
        {QStringLiteral("商品类型"), K::GoodsLine, QStringLiteral("F_type")},
        {QStringLiteral("商品规格"), K::GoodsLine, QStringLiteral("F_spec")},
        {QStringLiteral("商品产地"), K::GoodsLine, QStringLiteral("F_address")},
        {QStringLiteral("提货票号"), K::GoodsLine, QStringLiteral("F_FPcode")},
        {QStringLiteral("条    码"), K::GoodsLine, QStringLiteral("F_TMcode")},
        {QStringLiteral("验 证 码"), K::GoodsLine, QStringLiteral("F_YZcode")},
        {QStringLiteral("商品备注"), K::GoodsLine, QStringLiteral("F_memo1")},
    };
    return fields;
}

const QList<MainListQuery::ListType>& MainListQuery::listTypes()
{
    const QString orders = QStringLiteral("t_client");
    const QString lines = QStringLiteral("t_HPrec");
    static const QList<ListType> types = {
        {QStringLiteral("区    域"), QStringLiteral("区    域"), orders, QStringLiteral("F_area")},
        {QStringLiteral("商品名称"), QStringLiteral("商品名称"), lines, QStringLiteral("F_HPname")},
        {QStringLiteral("品    牌"), QStringLiteral("品    牌"), lines, QStringLiteral("F_pinPai")},
        {QStringLiteral("是否送货"), QStringLiteral("是否送货"), orders, QStringLiteral("F_IFsonghuo")},
        {QStringLiteral("服务人员"), QStringLiteral("服务人员"), orders, QStringLiteral("F_FWemp")},
        {QStringLiteral("安装位置"), QStringLiteral("安装位置"), orders, QStringLiteral("F_setupPOS")},
        {QStringLiteral("销售人员"), QStringLiteral("销售人员"), orders, QStringLiteral("F_XSemp")},
        {QStringLiteral("派工人员"), QStringLiteral("派工人员"), orders, QStringLiteral("F_PGemp")},
        {QStringLiteral("录入人员"), QStringLiteral("录入人员"), orders, QStringLiteral("F_OperName")},
        {QStringLiteral("服务类别"), QStringLiteral("服务类别"), orders, QStringLiteral("F_FWtype")},
        {QStringLiteral("派送类别"), QStringLiteral("派送类别"), orders, QStringLiteral("F_PStype")},
        {QStringLiteral("服务态度"), QStringLiteral("服务态度"), orders, QStringLiteral("F_FWtaidu")},
    };
    return types;
}

int MainListQuery::searchFieldIndex(const QString& caption)
{
    QStringList captions;
    for (const SearchField& field : searchFields())
        captions << field.caption;
    return indexOfCaption(captions, caption);
}

int MainListQuery::listTypeIndex(const QString& caption)
{
    QStringList captions;
    for (const ListType& type : listTypes())
        captions << type.caption;
    return indexOfCaption(captions, caption);
}

QString MainListQuery::statusWord(MainListFilter::Status status)
{
    switch (status) {
    case MainListFilter::Status::NotServed:
        return OrderRules::notServed();
    case MainListFilter::Status::InService:
        return OrderRules::inService();
    case MainListFilter::Status::Served:
        return OrderRules::served();
    case MainListFilter::Status::All:
        break;
    }
    return {};
}

QString MainListQuery::likeClause(const Dialect& dialect)
{
    return QStringLiteral(" %1 ? ESCAPE '%2'").arg(dialect.likeOperator(), kEscape);
}

QString MainListQuery::typedPattern(const QString& typed)
{
    QString pattern = typed;
    pattern.replace(kEscape, kEscape + kEscape);
    return pattern;
}

QString MainListQuery::literalPattern(const QString& text)
{
    QString pattern = typedPattern(text);
    pattern.replace(QLatin1Char('%'), kEscape + QLatin1Char('%'));
    pattern.replace(QLatin1Char('_'), kEscape + QLatin1Char('_'));
    return pattern;
}

SqlCondition MainListQuery::condition(const MainListFilter& filter, const Dialect& dialect, Plan plan)
{
    // Orders with a goods line whose column matches.
    auto byGoodsLine = [plan](const QString& column, const QString& test) {
        if (plan == Plan::InCodeOrder)
            return QStringLiteral(
                       "EXISTS (SELECT 1 FROM t_HPrec h WHERE h.F_code = t_client.F_code AND h.%1%2)")
                .arg(column, test);
        return QStringLiteral("F_code IN (SELECT F_code FROM t_HPrec WHERE %1%2)").arg(column, test);
    };
    SqlCondition where;
    if (filter.ownOrdersOnly)
        where.add(QStringLiteral("F_OperName = ?"), {filter.operatorName});
    where.add(QStringLiteral("F_buyDate >= ? AND F_buyDate <= ?"), {filter.from, filter.to});

    // An empty value adds nothing: choosing a field clears the value, and that alone must not
    // drop the orders whose column is empty.
    const QString value = filter.searchValue.trimmed();
    if (!value.isEmpty() && filter.searchField > 0 && filter.searchField < searchFields().size()) {
        const SearchField& field = searchFields().at(filter.searchField);
        const QString like = likeClause(dialect);
        const QString anywhere = SqlCondition::contains(typedPattern(value));
        switch (field.kind) {
        case SearchField::Kind::None:
            break;
        case SearchField::Kind::Contains:
            where.add(field.column + like, {anywhere});
            break;
        case SearchField::Kind::StartsWith:
            where.add(field.column + like, {typedPattern(value) + QLatin1Char('%')});
            break;
        case SearchField::Kind::GoodsLine:
            where.add(byGoodsLine(field.column, like), {anywhere});
            break;
        }
    }

    const QString status = statusWord(filter.status);
    if (!status.isEmpty())
        where.add(QStringLiteral("F_status = ?"), {status});

    if (filter.listValue && filter.listType >= 0 && filter.listType < listTypes().size()) {
        const ListType& type = listTypes().at(filter.listType);
        if (type.table == QLatin1String("t_client"))
            where.add(type.column + QStringLiteral(" = ?"), {*filter.listValue});
        else
            where.add(byGoodsLine(type.column, QStringLiteral(" = ?")), {*filter.listValue});
    }

    // The node itself and everything below it, but not a sibling whose name merely starts
    // with the node's name ("总店" must not list "总店东区").
    if (filter.purchasePlace && !filter.purchasePlace->isEmpty())
        where.add(
            CodeTreeStore::pathCondition(dialect, QStringLiteral("F_buyAddress"), *filter.purchasePlace));
    return where;
}

SqlStatement MainListQuery::list(const MainListFilter& filter, const Dialect& dialect, Plan plan)
{
    const SqlCondition where = condition(filter, dialect, plan);
    // A condition inside CASE is no index condition on any engine.
    const QString clause =
        plan == Plan::ByCondition
            ? where.clause()
            : QStringLiteral(" WHERE (CASE WHEN %1 THEN 1 ELSE 0 END) = 1").arg(where.text());
    return {QStringLiteral("SELECT * FROM t_client") + clause + QStringLiteral(" ORDER BY F_code"),
            where.values()};
}

std::optional<qint64> MainListQuery::open(Database& db, const MainListFilter& filter, RecordSet& records,
                                          QString* error)
{
    auto failed = [&](const QString& why) -> std::optional<qint64> {
        records.close();
        if (error)
            *error = why;
        return std::nullopt;
    };
    const SqlCondition where = condition(filter, db.dialect());
    const bool searching = filter.searchField > 0 && !filter.searchValue.trimmed().isEmpty();
    qint64 rows = 0;
    QVariantList few; // the matching orders, when there are few of them
    if (searching) {
        // A search reads every order (or goods line) once anyway: that one pass both counts the
        // matches and, when they are few, names them, so the list need not search again.
        auto found = db.exec(QStringLiteral("SELECT F_ID, count(*) OVER () FROM t_client%1 LIMIT %2")
                                 .arg(where.clause())
                                 .arg(SortedPlanLimit + 1),
                             where.values());
        if (!found)
            return failed(db.lastError());
        while (found->next()) {
            rows = found->value(1).toLongLong();
            few << found->value(0);
        }
        if (rows > SortedPlanLimit)
            few.clear();
    } else {
        // Without a search the indexes count quickly.
        const SqlStatement counting = count(filter, db.dialect());
        const auto counted = db.scalar(counting.sql, counting.values);
        if (!counted)
            return failed(db.lastError());
        rows = counted->toLongLong();
    }

    SqlStatement statement;
    if (rows == 0) {
        // The columns are all an empty list needs.
        statement.sql = QStringLiteral("SELECT * FROM t_client WHERE 1 = 0");
    } else if (!few.isEmpty()) {
        QStringList marks(few.size(), QStringLiteral("?"));
        statement = {
            QStringLiteral("SELECT * FROM t_client WHERE F_ID IN (%1) ORDER BY F_code").arg(marks.join(',')),
            few};
    } else {
        statement =
            list(filter, db.dialect(), rows <= SortedPlanLimit ? Plan::ByCondition : Plan::InCodeOrder);
    }
    if (!records.open(db, statement.sql, statement.values))
        return failed(records.lastError());
    return rows;
}

SqlStatement MainListQuery::count(const MainListFilter& filter, const Dialect& dialect)
{
    const SqlCondition where = condition(filter, dialect);
    return {QStringLiteral("SELECT count(*) FROM t_client") + where.clause(), where.values()};
}

SqlStatement MainListQuery::valueSource(int listType)
{
    if (listType < 0 || listType >= listTypes().size())
        return {};
    const ListType& type = listTypes().at(listType);
    return {QStringLiteral("SELECT %1 FROM %2 WHERE %1 <> '' GROUP BY %1").arg(type.column, type.table), {}};
}

std::optional<QStringList> MainListQuery::values(Database& db, int listType, QString* error)
{
    const SqlStatement source = valueSource(listType);
    if (source.sql.isEmpty())
        return QStringList();
    return ValueList::read(db, source.sql, source.values, ValueList::Order::Pinyin, error);
}

SqlStatement MainListQuery::goodsLines(const QString& orderCode)
{
    return {QStringLiteral("SELECT * FROM t_HPrec WHERE F_code = ? ORDER BY F_ID"), {orderCode}};
}

SqlStatement MainListQuery::visits(const QString& orderCode)
{
    return {QStringLiteral("SELECT * FROM t_HFrec WHERE F_code = ? ORDER BY F_ID"), {orderCode}};
}

SqlStatement MainListQuery::repairs(const QString& orderCode)
{
    return {QStringLiteral("SELECT * FROM t_WXrec WHERE F_code = ? ORDER BY F_ID"), {orderCode}};
}

