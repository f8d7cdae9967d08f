#include "app/main_list_query.h"
#include "data/record_set.h"
#include "data/sql_condition.h"
#include "data/sql_value.h"
#include "support/test_database.h"

#include <QDate>
#include <QSqlRecord>
#include <QStringList>

using Status = MainListFilter::Status;

namespace {

const QDate kBought(2024, 5, 10);

} // namespace

class MainListQueryTest : public EngineTest {
protected:
    // An order with everything the filters look at set to harmless values; `fields` override.
    void addOrder(const QString& code, const SqlValues& fields = {})
    {
        SqlValues row = {{"F_code", code},       {"F_client", "顾客" + code},
                         {"F_buyDate", kBought}, {"F_status", "未服务"},
                         {"F_OperName", "杨东"}, {"F_buyAddress", ""},
                         {"F_area", ""},         {"F_phone", ""},
                         {"F_memo2", ""}};
        for (const auto& [column, value] : fields) {
            bool replaced = false;
            for (auto& [name, old] : row) {
                if (name == column) {
                    old = value;
                    replaced = true;
                }
            }
            if (!replaced)
                row.append({column, value});
        }
        ASSERT_TRUE(db().insert("t_client", row)) << db().lastError().toStdString();
    }

    void addLine(const QString& code, const QString& column, const QVariant& value)
    {
        ASSERT_TRUE(db().insert("t_HPrec", {{"F_code", code}, {column, value}}))
            << db().lastError().toStdString();
    }

    void clearOrders()
    {
        ASSERT_TRUE(db().exec("DELETE FROM t_client"));
        ASSERT_TRUE(db().exec("DELETE FROM t_HPrec"));
    }

    static MainListFilter wide()
    {
        MainListFilter filter;
        filter.from = QDate(2000, 1, 1);
        filter.to = QDate(2030, 12, 31);
        filter.status = Status::All;
        return filter;
    }

    QStringList codesOf(const SqlStatement& statement)
    {
        auto query = db().exec(statement.sql, statement.values);
        EXPECT_TRUE(query.has_value())
            << db().lastError().toStdString() << " in " << statement.sql.toStdString();
        QStringList codes;
        while (query && query->next())
            codes << query->value(query->record().indexOf("F_code")).toString();
        return codes;
    }

    // Codes of the listed orders, in list order. Both plans must list the same, the count
    // must agree, and so must the list as the window opens it.
    QStringList listed(const MainListFilter& filter)
    {
        const QStringList codes = codesOf(MainListQuery::list(filter, db().dialect()));
        EXPECT_EQ(codesOf(MainListQuery::list(filter, db().dialect(), MainListQuery::Plan::InCodeOrder)),
                  codes)
            << "the plans disagree";
        const SqlStatement count = MainListQuery::count(filter, db().dialect());
        const auto rows = db().scalar(count.sql, count.values);
        EXPECT_TRUE(rows.has_value()) << db().lastError().toStdString();
        if (rows)
            EXPECT_EQ(rows->toInt(), codes.size()) << "count disagrees with the list";
        RecordSet records;
        QString error;
        const auto opened = MainListQuery::open(db(), filter, records, &error);
        EXPECT_TRUE(opened.has_value()) << error.toStdString();
        EXPECT_TRUE(records.fetchAll());
        QStringList shown;
        for (int row = 0; row < records.rowCountLoaded(); ++row)
            shown << records.value(row, "F_code").toString();
        EXPECT_EQ(shown, codes);
        EXPECT_EQ(opened.value_or(-1), codes.size());
        return codes;
    }
};

TEST_P(MainListQueryTest, EachSearchFieldFindsTypedTextIncludingQuotesWildcardsAndChinese)
{
    const struct {
        const char* field;
        const char* column; // of the order, or of a goods line for the goods fields
        bool goodsLine;
        const char* stored; // in order 1; order 2 holds "其他内容"
        const char* typed;
        bool found;
    } cases[] = {
        {"顾客姓名", "F_client", false, "王小明", " 小明 ", true},
        {"顾客姓名", "F_client", false, "王小明", "小红", false},
        {"固定电话", "F_phone", false, "010-6234'5678", "4'5", true},
        {"移动电话", "F_movePhone", false, "13800138000", "1380%8000", true}, // % stays a wildcard
        {"移动电话", "F_movePhone", false, "13800138000", "138_0", true},     // so does _
        {"家庭地址", "F_address", false, "北京市海淀区\\中关村", "区\\中", true},
        {"家庭地址", "F_address", false, "北京市海淀区", "区\\中", false},
        {"派工要求", "F_memo1", false, "上午送货!", "送货!", true},
        {"派工要求", "F_memo1", false, "上午送货", "送货!", false},
        {"顾客意见", "F_memo2", false, "满意，很好", "满意", true},
        {"顾客意见", "F_memo2", false, "很满意", "满意", false}, // only values that start with it
        {"单据编号", "F_code", false, "00000001", "0001", true},
        {"修改人员", "F_EditEmp", false, "Zhang San", "zhang", true}, // letter case ignored
        {"商品名称", "F_HPname", true, "海尔冰箱", "冰箱", true},
        {"商品类型", "F_type", true, "\\\\冰箱\\双门", "冰箱\\双", true},
        {"商品规格", "F_spec", true, "BCD-215", "bcd", true},
        {"商品产地", "F_address", true, "青岛", "青", true},
        {"提货票号", "F_FPcode", true, "FP'001", "P'0", true},
        {"条    码", "F_TMcode", true, "6901234567890", "4567", true},
        {"验 证 码", "F_YZcode", true, "YZ-88", "z-8", true},
        {"商品备注", "F_memo1", true, "赠送支架 100%", "100%", true},
        {"商品备注", "F_memo1", true, "赠送支架", "支架", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " / " + c.typed);
        clearOrders();
        if (c.goodsLine) {
            addOrder("00000001");
            addOrder("00000002");
            addLine("00000001", c.column, c.stored);
            addLine("00000002", c.column, "其他内容");
        } else if (QString(c.column) == "F_code") {
            addOrder(c.stored);
            addOrder("99999999");
        } else {
            addOrder("00000001", {{c.column, c.stored}});
            addOrder("00000002", {{c.column, "其他内容"}});
        }
        MainListFilter filter = wide();
        filter.searchField = MainListQuery::searchFieldIndex(c.field);
        ASSERT_GT(filter.searchField, 0);
        filter.searchValue = c.typed;
        EXPECT_EQ(listed(filter), c.found ? QStringList{"00000001"} : QStringList{});
    }
}

TEST_P(MainListQueryTest, NoSearchFieldOrAnEmptyValueFiltersNothing)
{
    addOrder("00000001", {{"F_client", "王小明"}});
    addOrder("00000002", {{"F_client", QVariant()}}); // a null name stays listed
    MainListFilter filter = wide();
    filter.searchValue = "小明";
    EXPECT_EQ(listed(filter), (QStringList{"00000001", "00000002"})) << "--未选择-- ignores the value";
    filter.searchField = MainListQuery::searchFieldIndex("顾客姓名");
    filter.searchValue = "   ";
    EXPECT_EQ(listed(filter), (QStringList{"00000001", "00000002"}));
}

TEST_P(MainListQueryTest, StatusChoiceAndAll)
{
    addOrder("00000001", {{"F_status", "未服务"}});
    addOrder("00000002", {{"F_status", "正在服务"}});
    addOrder("00000003", {{"F_status", "已服务"}});
    const struct {
        Status status;
        QStringList codes;
    } cases[] = {
        {Status::NotServed, {"00000001"}},
        {Status::InService, {"00000002"}},
        {Status::Served, {"00000003"}},
        {Status::All, {"00000001", "00000002", "00000003"}},
    };
    for (const auto& c : cases) {
        MainListFilter filter = wide();
        filter.status = c.status;
        EXPECT_EQ(listed(filter), c.codes) << int(c.status);
    }
}

TEST_P(MainListQueryTest, DateRangeIsInclusiveAndTheOpenRangeKeepsTheNoDateValue)
{
    addOrder("00000001", {{"F_buyDate", QDate(2020, 1, 1)}});
    addOrder("00000002", {{"F_buyDate", QDate(2024, 6, 15)}});
    addOrder("00000003", {{"F_buyDate", SqlDates::noDate()}});
    addOrder("00000004", {{"F_buyDate", QDate(2024, 6, 30)}});
    const struct {
        QDate from, to;
        QStringList codes;
    } cases[] = {
        {QDate(2024, 6, 1), QDate(2024, 6, 30), {"00000002", "00000004"}},
        {QDate(2024, 6, 15), QDate(2024, 6, 15), {"00000002"}},
        {QDate(2014, 6, 16), QDate(2024, 6, 15), {"00000001", "00000002"}}, // ten years
        {SqlDates::openRangeStart(),
         SqlDates::openRangeEnd(),
         {"00000001", "00000002", "00000003", "00000004"}},
        {QDate(2024, 7, 1), QDate(2024, 6, 1), {}},
    };
    for (const auto& c : cases) {
        MainListFilter filter = wide();
        filter.from = c.from;
        filter.to = c.to;
        EXPECT_EQ(listed(filter), c.codes)
            << c.from.toString().toStdString() << " - " << c.to.toString().toStdString();
    }
}

TEST_P(MainListQueryTest, EachListTypeOffersItsValuesAndFiltersByTheChosenOne)
{
    for (int type = 0; type < MainListQuery::listTypes().size(); ++type) {
        const MainListQuery::ListType& listType = MainListQuery::listTypes().at(type);
        SCOPED_TRACE(listType.caption.toStdString());
        clearOrders();
        const bool onLines = listType.table == "t_HPrec";
        addOrder("00000001", onLines ? SqlValues{} : SqlValues{{listType.column, "乙值"}});
        addOrder("00000002", onLines ? SqlValues{} : SqlValues{{listType.column, "甲值"}});
        addOrder("00000003", onLines ? SqlValues{} : SqlValues{{listType.column, "  "}});
        if (onLines) {
            addLine("00000001", listType.column, "乙值");
            addLine("00000001", listType.column, "乙值"); // two lines, still one order
            addLine("00000002", listType.column, "甲值");
            addLine("00000003", listType.column, "");
        }
        QString error;
        const auto values = MainListQuery::values(db(), type, &error);
        ASSERT_TRUE(values.has_value()) << error.toStdString();
        // Blank values are left out; Chinese values come in pinyin order (甲 jia before 乙 yi).
        EXPECT_EQ(*values, (QStringList{"甲值", "乙值"}));

        MainListFilter filter = wide();
        filter.listType = type;
        filter.listValue = "乙值";
        EXPECT_EQ(listed(filter), QStringList{"00000001"});
        filter.listValue.reset();
        EXPECT_EQ(listed(filter).size(), 3) << "全部 filters nothing";
    }
}

TEST_P(MainListQueryTest, ListValuesWithQuotesMatchExactly)
{
    addOrder("00000001", {{"F_area", "O'Neil 区"}});
    addOrder("00000002", {{"F_area", "O'Neil 区东"}});
    MainListFilter filter = wide();
    filter.listType = MainListQuery::listTypeIndex("区    域");
    filter.listValue = "o'neil 区";
    EXPECT_EQ(listed(filter), QStringList{"00000001"});
}

TEST_P(MainListQueryTest, PurchasePlaceNodeListsItselfAndWhatIsBelowIt)
{
    addOrder("00000001", {{"F_buyAddress", "\\\\总店"}});
    addOrder("00000002", {{"F_buyAddress", "\\\\总店\\一楼空调区"}});
    addOrder("00000003", {{"F_buyAddress", "\\\\总店东区\\柜台"}});
    addOrder("00000004", {{"F_buyAddress", "\\\\海淀分店\\空调柜台"}});
    addOrder("00000005", {{"F_buyAddress", "\\\\100%店\\柜台"}});
    addOrder("00000006", {{"F_buyAddress", "\\\\100X店\\柜台"}});
    const struct {
        std::optional<QString> place;
        QStringList codes;
    } cases[] = {
        {std::nullopt, {"00000001", "00000002", "00000003", "00000004", "00000005", "00000006"}},
        {"\\\\总店", {"00000001", "00000002"}},
        {"\\\\总店\\一楼空调区", {"00000002"}},
        {"\\\\海淀分店", {"00000004"}},
        {"\\\\100%店", {"00000005"}}, // a % in a place name is no wildcard
        {"\\\\无此地点", {}},
    };
    for (const auto& c : cases) {
        MainListFilter filter = wide();
        filter.purchasePlace = c.place;
        EXPECT_EQ(listed(filter), c.codes) << c.place.value_or("root").toStdString();
    }
}

TEST_P(MainListQueryTest, OwnOrdersOnlyHoldsWhateverTheOtherFilters)
{
    addOrder("00000001", {{"F_OperName", "苏浩"}, {"F_area", "海淀"}});
    addOrder("00000002", {{"F_OperName", "杨东"}, {"F_area", "海淀"}});
    addOrder("00000003", {{"F_OperName", "苏浩"}, {"F_status", "已服务"}});
    MainListFilter filter = wide();
    filter.operatorName = "苏浩";
    EXPECT_EQ(listed(filter).size(), 3) << "the rule is off";
    filter.ownOrdersOnly = true;
    EXPECT_EQ(listed(filter), (QStringList{"00000001", "00000003"}));
    filter.listType = MainListQuery::listTypeIndex("区    域");
    filter.listValue = "海淀";
    EXPECT_EQ(listed(filter), QStringList{"00000001"});
    filter.listValue.reset();
    filter.status = Status::Served;
    EXPECT_EQ(listed(filter), QStringList{"00000003"});
    filter.operatorName = "杨东";
    filter.status = Status::All;
    EXPECT_EQ(listed(filter), QStringList{"00000002"});
}

TEST_P(MainListQueryTest, FiltersCombineAndTheListComesInCodeOrder)
{
    addOrder("00000003", {{"F_client", "王一"}, {"F_status", "已服务"}, {"F_area", "海淀"}});
    addOrder("00000001", {{"F_client", "王二"}, {"F_status", "已服务"}, {"F_area", "海淀"}});
    addOrder("00000002", {{"F_client", "王三"}, {"F_status", "未服务"}, {"F_area", "海淀"}});
    addOrder("00000004", {{"F_client", "李四"}, {"F_status", "已服务"}, {"F_area", "海淀"}});
    MainListFilter filter = wide();
    filter.searchField = MainListQuery::searchFieldIndex("顾客姓名");
    filter.searchValue = "王";
    EXPECT_EQ(listed(filter), (QStringList{"00000001", "00000002", "00000003"}));
    filter.status = Status::Served;
    filter.listType = MainListQuery::listTypeIndex("区    域");
    filter.listValue = "海淀";
    EXPECT_EQ(listed(filter), (QStringList{"00000001", "00000003"}));
}

TEST_P(MainListQueryTest, DetailStatementsBindTheCode)
{
    addLine("0000'1", "F_HPname", "甲");
    addLine("00001", "F_HPname", "乙");
    const SqlStatement lines = MainListQuery::goodsLines("0000'1");
    auto query = db().exec(lines.sql, lines.values);
    ASSERT_TRUE(query.has_value());
    ASSERT_TRUE(query->next());
    EXPECT_EQ(query->value(query->record().indexOf("F_HPname")).toString(), "甲");
    EXPECT_FALSE(query->next());
}

TEST_P(MainListQueryTest, ManyMatchesAreReadInCodeOrderWithoutSortingThemAll)
{
    const int many = int(MainListQuery::SortedPlanLimit) + 100;
    ASSERT_TRUE(db().exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                          "INSERT INTO t_client (F_code, F_client, F_buyDate, F_status) "
                          "SELECT 'C' || (20000 - i), '王' || i, ?, '已服务' FROM n",
                          {many, kBought}))
        << db().lastError().toStdString();
    ASSERT_TRUE(db().exec("INSERT INTO t_HPrec (F_code, F_HPname) SELECT F_code, '冰箱' FROM t_client"));
    MainListFilter filter = wide();
    filter.searchField = MainListQuery::searchFieldIndex("商品名称");
    filter.searchValue = "冰";
    RecordSet records;
    records.setChunkSize(50);
    const auto counted = MainListQuery::open(db(), filter, records);
    ASSERT_TRUE(counted.has_value());
    EXPECT_EQ(*counted, many);
    ASSERT_GE(records.rowCountLoaded(), 50);
    EXPECT_EQ(records.value(0, "F_code").toString(), QString("C%1").arg(20000 - many));
    ASSERT_TRUE(records.fetchAll());
    EXPECT_EQ(records.rowCountLoaded(), many);
    EXPECT_EQ(records.value(many - 1, "F_code").toString(), "C19999");
}

INSTANTIATE_ENGINES(MainListQueryTest);
