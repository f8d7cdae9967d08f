#include "records/repair_list_query.h"

#include "data/database.h"
#include "data/dialect.h"
#include "data/record_set.h"
#include "data/sql_condition.h"
#include "records/code_list_source.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

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
        {QStringLiteral("固定电话"), QStringLiteral("F_phone")},
        {QStringLiteral("移动电话"), QStringLiteral("F_movePhone")},
        {QStringLiteral("家庭地址"), QStringLiteral("F_address")},
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
    if (!text.isEmpty() && filter.searchType >= 0 && filter.searchType < searchTypes().size())
        where.add(searchTypes().at(filter.searchType).column + likeClause(dialect),
                  {SqlCondition::contains(typedPattern(text))});

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

SqlStatement RepairListQuery::count(const RepairListFilter& filter, const Dialect& dialect)
{
    const SqlCondition where = condition(filter, dialect);
    return {QStringLiteral("SELECT count(*) FROM v_WXrec") + where.clause(), where.values()};
}

std::optional<qint64> RepairListQuery::open(Database& db, const RepairListFilter& filter, RecordSet& records,
                                            QString* error)
{
    const SqlStatement counting = count(filter, db.dialect());
    const auto counted = db.scalar(counting.sql, counting.values);
    if (!counted) {
        if (error)
            *error = db.lastError();
        return std::nullopt;
    }
    const qint64 rows = counted->toLongLong();
    // Nothing to find: the columns are all an empty list needs.
    const SqlStatement statement = rows == 0
                                       ? SqlStatement{QStringLiteral("SELECT * FROM v_WXrec WHERE 1 = 0"), {}}
                                       : list(filter, db.dialect());
    if (!records.open(db, statement.sql, statement.values)) {
        if (error)
            *error = records.lastError();
        return std::nullopt;
    }
    return rows;
}

SqlStatement RepairListQuery::valueSource(int listType)
{
    const QString orderColumn = orderColumnOfListType(listType);
    if (!orderColumn.isEmpty())
        // The orders that have repairs, read through the names' index rather than joining every
        // repair to its order.
        return {QStringLiteral(
                    "SELECT %1 FROM t_client WHERE %1 <> '' AND F_code IN (SELECT F_code FROM t_WXrec) "
                    "GROUP BY %1")
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
    auto query = db.exec(source.sql, source.values);
    if (!query) {
        if (error)
            *error = db.lastError();
        return std::nullopt;
    }
    QStringList list;
    while (query->next()) {
        // A value of blanks offers nothing to choose.
        const QString value = query->value(0).toString();
        if (!value.trimmed().isEmpty())
            list << value;
    }
    if (codeTypeOfListType(listType).isEmpty()) {
        // The engines order Chinese text by code point; people look names up in pinyin order.
        QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(list.begin(), list.end(), collator);
    }
    return list;
}
