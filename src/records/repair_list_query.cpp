#include "records/repair_list_query.h"

#include "data/database.h"
#include "data/dialect.h"
#include "data/record_set.h"
#include "data/sql_condition.h"
#include "data/value_list.h"
#include "records/code_list_source.h"

#include <utility>
#include <vector>

namespace {

const QChar kEscape = QLatin1Char('!');

// Typed text: wildcards stay wildcards, the escape character is literal.
QString typedPattern(const QString& typed)
{
    QString pattern = typed;
    pattern.replace(kEscape, QString(2, kEscape));
    return pattern;
}

// A value matched literally, every wildcard escaped.
QString literalPattern(const QString& text)
{
    QString pattern = typedPattern(text);
    pattern.replace(QLatin1Char('%'), QString(kEscape) + QLatin1Char('%'));
    pattern.replace(QLatin1Char('_'), QString(kEscape) + QLatin1Char('_'));
    return pattern;
}

QString likeClause(const Dialect& dialect)
{
    return QStringLiteral(" %1 ? ESCAPE '%2'").arg(dialect.likeOperator(), kEscape);
}

// List types 0-3 take their values from the orders that have repairs.
QString orderColumnOfListType(int listType)
{
    static const char* const columns[] = {"F_client", "F_area", "F_buyAddress", "F_FWemp"};
    return listType >= 0 && listType < 4 ? QLatin1String(columns[listType]) : QString();
}

QString repairColumnOfListType(int listType)
{
    static const char* const columns[] = {"F_FWtype", "F_reasonFlag", "F_bxFlag"};
    return listType >= 4 && listType < 7 ? QLatin1String(columns[listType - 4]) : QString();
}

QString codeTypeOfListType(int listType)
{
    static const char* const types[] = {"fwemp", "wxinfo", "fwtaidu", "pjname"};
    return listType >= 7 && listType < 11 ? QLatin1String(types[listType - 7]) : QString();
}

} // namespace

const QList<RepairListQuery::SearchType>& RepairListQuery::searchTypes()
{
    static const QList<SearchType> types = {
        {QStringLiteral("固定电话"), QStringLiteral("F_phone"), true},
        {QStringLiteral("移动电话"), QStringLiteral("F_movePhone"), true},
        {QStringLiteral("家庭地址"), QStringLiteral("F_address"), true},
        {QStringLiteral("报修故障描述"), QStringLiteral("F_memo1")},
        {QStringLiteral("维修派工说明"), QStringLiteral("F_memo2")},
        {QStringLiteral("携带配件说明"), QStringLiteral("F_memo3")},
        {QStringLiteral("现场故障分析"), QStringLiteral("F_memo4")},
        {QStringLiteral("解决办法"), QStringLiteral("F_memo5")},
        {QStringLiteral("维修结果"), QStringLiteral("F_memo6")},
    };
    return types;
}

const QList<RepairListQuery::ListType>& RepairListQuery::listTypes()
{
    static const QList<ListType> types = {
        {QStringLiteral("顾客姓名"), QStringLiteral("F_client = ?")},
        {QStringLiteral("区    域"), QStringLiteral("F_area = ?")},
        {QStringLiteral("购买地点"), QStringLiteral("F_buyAddress = ?")},
        // The installer of the order, which the view shows beside the repair.
        {QStringLiteral("安装人员"), QStringLiteral("F_AZemp = ?")},
        {QStringLiteral("服务类别"), QStringLiteral("F_FWtype = ?")},
        {QStringLiteral("维修原因"), QStringLiteral("F_reasonFlag = ?")},
        {QStringLiteral("维修种类"), QStringLiteral("F_bxFlag = ?")},
        {QStringLiteral("服务人员"), QStringLiteral("F_FWemp = ?")},
        // A repair names several kinds of information, separated by commas.
        {QStringLiteral("维护信息"), QStringLiteral("F_WXinfo"), true},
        {QStringLiteral("服务态度"), QStringLiteral("F_FWtaidu = ?")},
        {QStringLiteral("配件名称"),
         QStringLiteral("F_WXcode IN (SELECT F_WXcode FROM t_PJdetail WHERE F_name = ?)")},
    };
    return types;
}

QStringList RepairListQuery::listTypeCaptions()
{
    QStringList captions;
    for (const ListType& type : listTypes())
        captions << type.caption;
    return captions;
}

int RepairListQuery::listTypeIndex(const QString& caption)
{
    return int(listTypeCaptions().indexOf(caption));
}

SqlCondition RepairListQuery::condition(const RepairListFilter& filter, const Dialect& dialect)
{
    SqlCondition where;
    where.add(QStringLiteral("F_bxDate >= ? AND F_bxDate <= ?"), {filter.reportFrom, filter.reportTo});
    // An end without a tick adds nothing, so a repair without a repair date is still listed.
    if (filter.repairFrom)
        where.add(QStringLiteral("F_XFdate >= ?"), {*filter.repairFrom});
    if (filter.repairTo)
        where.add(QStringLiteral("F_XFdate <= ?"), {*filter.repairTo});

    // Choosing a search type clears the text; that alone must not drop the repairs whose column
    // is empty, such as the customer columns of a repair without an order.
    const QString text = filter.searchText.trimmed();
    if (!text.isEmpty() && filter.searchType >= 0 && filter.searchType < searchTypes().size()) {
        const SearchType& type = searchTypes().at(filter.searchType);
        const QVariantList pattern{SqlCondition::contains(typedPattern(text))};
        if (type.orderColumn)
            // The matching orders are found once, instead of joining every repair to its order
            // to test it.
            where.add(QStringLiteral("F_code IN (SELECT F_code FROM t_client WHERE %1%2)")
                          .arg(type.column, likeClause(dialect)),
                      pattern);
        else
            where.add(type.column + likeClause(dialect), pattern);
    }

    if (filter.status != RepairListFilter::Status::All)
        where.add(QStringLiteral("F_WXflag = ?"), {int(filter.status)});

    if (filter.listValue && filter.listType >= 0 && filter.listType < listTypes().size()) {
        const ListType& type = listTypes().at(filter.listType);
        if (type.contains)
            where.add(type.restriction + likeClause(dialect),
                      {SqlCondition::contains(literalPattern(*filter.listValue))});
        else
            where.add(type.restriction, {*filter.listValue});
    }
    return where;
}

SqlStatement RepairListQuery::list(const RepairListFilter& filter, const Dialect& dialect)
{
    const SqlCondition where = condition(filter, dialect);
    // F_ID keeps repairs of one day in the order they were entered, so that a list read again
    // shows them as before.
    return {QStringLiteral("SELECT * FROM v_WXrec") + where.clause() +
                QStringLiteral(" ORDER BY F_bxDate, F_ID"),
            where.values()};
}

bool RepairListQuery::isSummable(const QString& column)
{
    static const QStringList money = {QStringLiteral("F_PJtotalprice"), QStringLiteral("F_FWtotalprice"),
                                      QStringLiteral("F_SFtotalprice"), QStringLiteral("F_XZprice")};
    return money.contains(column, Qt::CaseInsensitive);
}

SqlStatement RepairListQuery::summary(const RepairListFilter& filter, const Dialect& dialect,
                                      const QStringList& sumColumns)
{
    const SqlCondition where = condition(filter, dialect);
    QStringList results{QStringLiteral("count(*)")};
    for (const QString& column : sumColumns) {
        if (isSummable(column))
            results << QStringLiteral("coalesce(sum(%1), 0)").arg(column);
    }
    return {QStringLiteral("SELECT %1 FROM v_WXrec").arg(results.join(QStringLiteral(", "))) + where.clause(),
            where.values()};
}

std::optional<RepairListQuery::Summary> RepairListQuery::open(Database& db, const RepairListFilter& filter,
                                                              RecordSet& records,
                                                              const QStringList& sumColumns, QString* error)
{
    const auto failed = [&](const QString& why) -> std::optional<Summary> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QStringList summed;
    for (const QString& column : sumColumns) {
        if (isSummable(column))
            summed << column;
    }
    Summary summary;
    QVariantList few; // the matching repairs, when a search found few of them
    const bool searching = filter.searchType >= 0 && !filter.searchText.trimmed().isEmpty();
    if (searching) {
        // A search reads every repair (or order) once anyway: that one pass counts and totals the
        // matches and, when they are few, names them, so the list need not search again.
        const SqlCondition where = condition(filter, db.dialect());
        QStringList results{QStringLiteral("F_ID"), QStringLiteral("count(*) OVER ()")};
        for (const QString& column : summed)
            results << QStringLiteral("coalesce(sum(%1) OVER (), 0)").arg(column);
        auto found = db.exec(QStringLiteral("SELECT %1 FROM v_WXrec%2 LIMIT %3")
                                 .arg(results.join(QStringLiteral(", ")), where.clause())
                                 .arg(FewRows + 1),
                             where.values());
        if (!found)
            return failed(db.lastError());
        QList<double> sums(summed.size(), 0.0);
        while (found->next()) {
            if (few.isEmpty()) {
                summary.rows = found->value(1).toLongLong();
                for (int i = 0; i < summed.size(); ++i)
                    sums[i] = found->value(2 + i).toDouble();
            }
            few << found->value(0);
        }
        if (summary.rows > FewRows)
            few.clear();
        for (const QString& column : sumColumns)
            summary.sums << (isSummable(column) ? sums.at(summed.indexOf(column)) : 0.0);
    } else {
        // Without a search the indexes count quickly.
        const SqlStatement summing = RepairListQuery::summary(filter, db.dialect(), sumColumns);
        auto found = db.exec(summing.sql, summing.values);
        if (!found || !found->next())
            return failed(db.lastError());
        summary.rows = found->value(0).toLongLong();
        int next = 1;
        for (const QString& column : sumColumns)
            summary.sums << (isSummable(column) ? found->value(next++).toDouble() : 0.0);
    }

    SqlStatement statement;
    if (summary.rows == 0) {
        // The columns are all an empty list needs.
        statement.sql = QStringLiteral("SELECT * FROM v_WXrec WHERE 1 = 0");
    } else if (!few.isEmpty()) {
        const QStringList marks(few.size(), QStringLiteral("?"));
        statement = {QStringLiteral("SELECT * FROM v_WXrec WHERE F_ID IN (%1) ORDER BY F_bxDate, F_ID")
                         .arg(marks.join(QLatin1Char(','))),
                     few};
    } else {
        statement = list(filter, db.dialect());
    }
    if (!records.open(db, statement.sql, statement.values))
        return failed(records.lastError());
    return summary;
}

SqlStatement RepairListQuery::valueSource(int listType)
{
    const QString orderColumn = orderColumnOfListType(listType);
    if (listType == 0)
        // The names of the orders that have repairs, read through the names' index rather than
        // joining every repair to its order.
        return {QStringLiteral(
                    "SELECT %1 FROM t_client WHERE %1 <> '' AND F_code IN (SELECT F_code FROM t_WXrec) "
                    "GROUP BY %1")
                    .arg(orderColumn),
                {}};
    if (!orderColumn.isEmpty())
        // A few dozen districts, places or installers: each is looked up until one of its orders
        // has a repair.
        return {QStringLiteral("SELECT v.%1 FROM (SELECT %1 FROM t_client WHERE %1 <> '' GROUP BY %1) v "
                               "WHERE EXISTS (SELECT 1 FROM t_client c JOIN t_WXrec w ON w.F_code = c.F_code "
                               "WHERE c.%1 = v.%1)")
                    .arg(orderColumn),
                {}};
    const QString repairColumn = repairColumnOfListType(listType);
    if (!repairColumn.isEmpty())
        return {QStringLiteral("SELECT %1 FROM t_WXrec WHERE %1 <> '' GROUP BY %1").arg(repairColumn), {}};
    const QString codeType = codeTypeOfListType(listType);
    if (!codeType.isEmpty())
        return CodeListSource::distinctNames(codeType);
    return {};
}

std::optional<QStringList> RepairListQuery::values(Database& db, int listType, QString* error)
{
    const SqlStatement source = valueSource(listType);
    if (source.sql.isEmpty())
        return QStringList();
    // Code lists keep their own order; names and other stored values are sorted for reading.
    const auto order =
        codeTypeOfListType(listType).isEmpty() ? ValueList::Order::Pinyin : ValueList::Order::AsQueried;
    return ValueList::read(db, source.sql, source.values, order, error);
}
