#include "data/grid_layout_store.h"
#include "data/record_set.h"
#include "data/schema.h"
#include "records/repair_list_query.h"
#include "records/repair_test_data.h"
#include "support/test_database.h"

#include <QSqlRecord>

using namespace RepairTestData;
using Status = RepairListFilter::Status;

namespace {

const QDate kToday(2024, 5, 20);

RepairListFilter thisMonth()
{
    RepairListFilter filter;
    filter.reportFrom = QDate(kToday.year(), kToday.month(), 1);
    filter.reportTo = kToday;
    return filter;
}

RepairListFilter wide(Status status = Status::All)
{
    RepairListFilter filter;
    filter.reportFrom = QDate(2000, 1, 1);
    filter.reportTo = QDate(2030, 12, 31);
    filter.status = status;
    return filter;
}

int listType(const char* caption)
{
    return RepairListQuery::listTypeIndex(QString::fromUtf8(caption));
}

} // namespace

class RepairListQueryTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addOrder(db(), "00000001",
                 {{"F_client", "张三"},
                  {"F_movePhone", "13812345678"},
                  {"F_area", "海淀区"},
                  {"F_FWemp", "李师傅"},
                  {"F_address", "O'Neil 路 5% 号"}});
        addOrder(db(), "00000002",
                 {{"F_client", "李四"},
                  {"F_movePhone", "13900000000"},
                  {"F_area", "朝阳区"},
                  {"F_FWemp", "王师傅"},
                  {"F_buyAddress", "\\\\分店"}});
        // R1: this month, not served, product fault in warranty.
        addRepair(db(), "00000001", "R1",
                  {{"F_BXdate", QDate(2024, 5, 3)},
                   {"F_WXflag", 0},
                   {"F_FWemp", "赵六"},
                   {"F_WXinfo", "上门,换件"}});
        // R2: this month, being served, out of warranty, user fault.
        addRepair(db(), "00000002", "R2",
                  {{"F_BXdate", QDate(2024, 5, 2)},
                   {"F_WXflag", 1},
                   {"F_BXflag", "保外"},
                   {"F_reasonFlag", "用户原因"},
                   {"F_FWtype", "送修"},
                   {"F_FWtaidu", "满意"},
                   {"F_XFdate", QDate(1900, 8, 14)}});
        // R3: last month, served.
        addRepair(db(), "00000001", "R3",
                  {{"F_BXdate", QDate(2024, 4, 28)},
                   {"F_WXflag", 2},
                   {"F_XFdate", QDate(2024, 4, 30)},
                   {"F_memo4", "电容 100%击穿"},
                   {"F_WXinfo", "1000元以上"}});
        // R4: this month, not served, without an order (the management window's editor allows it).
        addRepair(db(), "", "R4", {{"F_BXdate", QDate(2024, 5, 3)}, {"F_WXflag", 0}, {"F_memo1", "异响"}});
        addPart(db(), "R2", "皮带", 1, 20);
        addPart(db(), "R3", "压缩机", 1, 300);
        addPart(db(), "R3", "皮带", 1, 20);
        for (const char* name : {"赵六", "钱七"})
            addCode(db(), "fwemp", name);
        for (const char* name : {"换件", "上门", "100%"})
            addCode(db(), "wxinfo", name);
        addCode(db(), "FWtaidu", "满意");
        addCode(db(), "fwtaidu", "满意");
        for (const char* name : {"压缩机", "皮带", "  "})
            addCode(db(), "pjname", name);
    }

    // Codes of the repairs the filter lists, in list order; the count must agree.
    QStringList listed(const RepairListFilter& filter)
    {
        RecordSet records;
        QString error;
        const auto found = RepairListQuery::open(db(), filter, records, {}, &error);
        EXPECT_TRUE(found.has_value()) << error.toStdString();
        records.fetchAll();
        QStringList codes;
        for (int row = 0; row < records.rowCount(); ++row)
            codes << records.value(row, "F_WXcode").toString();
        EXPECT_EQ(found ? found->rows : -1, codes.size());
        return codes;
    }
};

TEST_P(RepairListQueryTest, FiltersNarrowTheList)
{
    struct Case {
        const char* name;
        std::function<RepairListFilter()> filter;
        QStringList codes;
    };
    const Case cases[] = {
        {"opening: this month, not served", [] { return thisMonth(); }, {"R1", "R4"}},
        {"all statuses, by report date",
         [] {
             RepairListFilter f = thisMonth();
             f.status = Status::All;
             return f;
         },
         {"R2", "R1", "R4"}},
        {"served", [] { return wide(Status::Served); }, {"R3"}},
        {"being served", [] { return wide(Status::InService); }, {"R2"}},
        {"repair date unticked keeps repairs without one", [] { return wide(); }, {"R3", "R2", "R1", "R4"}},
        {"repair date from ticked",
         [] {
             RepairListFilter f = wide();
             f.repairFrom = QDate(2024, 5, 1);
             return f;
         },
         {"R1", "R4"}},
        {"repair date to ticked",
         [] {
             RepairListFilter f = wide();
             f.repairTo = QDate(2024, 5, 1);
             return f;
         },
         {"R3", "R2"}},
        {"mobile phone typed",
         [] {
             RepairListFilter f = wide();
             f.searchType = 1;
             f.searchText = " 138 ";
             return f;
         },
         {"R3", "R1"}},
        {"a type chosen, nothing typed yet",
         [] {
             RepairListFilter f = wide();
             f.searchType = 2;
             return f;
         },
         {"R3", "R2", "R1", "R4"}},
        {"address with a quote",
         [] {
             RepairListFilter f = wide();
             f.searchType = 2;
             f.searchText = "O'Neil";
             return f;
         },
         {"R3", "R1"}},
        {"a typed % is a wildcard",
         [] {
             RepairListFilter f = wide();
             f.searchType = 6;
             f.searchText = "电容%击穿";
             return f;
         },
         {"R3"}},
        {"fault described",
         [] {
             RepairListFilter f = wide();
             f.searchType = 3;
             f.searchText = "异响";
             return f;
         },
         {"R4"}},
        {"no match",
         [] {
             RepairListFilter f = wide();
             f.searchType = 0;
             f.searchText = "无此号码";
             return f;
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(listed(c.filter()), c.codes);
    }
}

TEST_P(RepairListQueryTest, AValueOfTheValueListRestrictsTheList)
{
    struct Case {
        const char* type;
        QString value;
        QStringList codes;
    };
    const Case cases[] = {
        {"顾客姓名", "张三", {"R3", "R1"}}, {"区    域", "朝阳区", {"R2"}},
        {"购买地点", "\\\\分店", {"R2"}},   {"安装人员", "李师傅", {"R3", "R1"}},
        {"服务类别", "送修", {"R2"}},       {"维修原因", "用户原因", {"R2"}},
        {"维修种类", "保外", {"R2"}},       {"服务人员", "赵六", {"R1"}},
        {"维护信息", "换件", {"R1"}},       {"维护信息", "100%", {}}, // taken literally
        {"服务态度", "满意", {"R2"}},       {"配件名称", "皮带", {"R3", "R2"}},
        {"配件名称", "压缩机", {"R3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        RepairListFilter filter = wide();
        filter.listType = listType(c.type);
        ASSERT_GE(filter.listType, 0);
        filter.listValue = c.value;
        EXPECT_EQ(listed(filter), c.codes) << c.value.toStdString();
    }
}

TEST_P(RepairListQueryTest, EachListTypeOffersItsValues)
{
    struct Case {
        const char* type;
        QStringList values;
    };
    const Case cases[] = {
        {"顾客姓名", {"李四", "张三"}}, // pinyin order
        {"区    域", {"朝阳区", "海淀区"}},
        {"购买地点", {"\\\\分店", "\\\\总店"}},
        {"安装人员", {"李师傅", "王师傅"}},
        {"服务类别", {"上门维修", "送修"}},
        {"维修原因", {"产品原因", "用户原因"}},
        {"维修种类", {"保内", "保外"}},
        {"服务人员", {"赵六", "钱七"}}, // entry order of the code list
        {"维护信息", {"换件", "上门", "100%"}},
        {"服务态度", {"满意"}},           // types match without regard to case, once
        {"配件名称", {"压缩机", "皮带"}}, // blank names left out
    };
    ASSERT_EQ(RepairListQuery::listTypes().size(), 11);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        QString error;
        const auto values = RepairListQuery::values(db(), listType(c.type), &error);
        ASSERT_TRUE(values.has_value()) << error.toStdString();
        EXPECT_EQ(*values, c.values);
    }
}

TEST_P(RepairListQueryTest, TheCountComesWithTheMoneyTotalsOfTheListedRepairs)
{
    ASSERT_TRUE(db().exec("UPDATE t_WXrec SET F_PJtotalprice = 20, F_FWtotalprice = 30, F_SFtotalprice = 50, "
                          "F_XZprice = 15 WHERE F_WXcode IN ('R1', 'R2')"));
    ASSERT_TRUE(db().exec("UPDATE t_WXrec SET F_PJtotalprice = 320 WHERE F_WXcode = 'R3'"));
    RecordSet records;
    RepairListFilter filter = thisMonth();
    filter.status = Status::All;
    // Field names as layouts store them; a column that is not money is not summed.
    const auto found = RepairListQuery::open(
        db(), filter, records,
        {"F_pjtotalPrice", "F_client", "F_sfTotalPrice", "F_XZprice", "F_fwtotalPrice"});
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->rows, 3);
    EXPECT_EQ(found->sums, QList<double>({40, 0, 100, 30, 60}));
    // A search counts and totals in the pass that finds its repairs.
    RepairListFilter searching = wide();
    searching.searchType = 3;
    searching.searchText = "不制冷";
    const auto searched = RepairListQuery::open(db(), searching, records, {"F_XZprice", "F_PJtotalprice"});
    ASSERT_TRUE(searched.has_value());
    EXPECT_EQ(searched->rows, 3);
    EXPECT_EQ(searched->sums, QList<double>({30, 360}));
    records.fetchAll();
    EXPECT_EQ(records.rowCount(), 3);
    filter.status = Status::Served;
    const auto none = RepairListQuery::open(db(), filter, records, {"F_PJtotalprice"});
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->rows, 0);
    EXPECT_EQ(none->sums, QList<double>({0}));
}

TEST_P(RepairListQueryTest, AFailedCountLeavesTheListAsItWas)
{
    RecordSet records;
    ASSERT_TRUE(RepairListQuery::open(db(), wide(), records).has_value());
    ASSERT_TRUE(db().exec("ALTER TABLE t_PJdetail RENAME TO t_PJdetail_gone"));
    RepairListFilter filter = wide();
    filter.listType = listType("配件名称");
    filter.listValue = "皮带";
    QString error;
    EXPECT_FALSE(RepairListQuery::open(db(), filter, records, {}, &error).has_value());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(records.isOpen());
    records.fetchAll();
    EXPECT_EQ(records.rowCount(), 4);
    ASSERT_TRUE(db().exec("ALTER TABLE t_PJdetail_gone RENAME TO t_PJdetail"));
}

TEST_P(RepairListQueryTest, AnOlderDatabaseGetsTheListLayoutOnUpgrade)
{
    ASSERT_TRUE(db().exec("DELETE FROM cfg_Grid WHERE F_name = 'wxrecman'"));
    ASSERT_TRUE(db().exec("UPDATE cfg_Version SET F_Version = 3"));
    QString error;
    ASSERT_TRUE(Schema::upgrade(db(), &error)) << error.toStdString();
    const auto layout = GridLayoutStore::load(db(), "wxRECman", &error);
    ASSERT_TRUE(layout.has_value()) << error.toStdString();
    ASSERT_EQ(layout->size(), 30);
    EXPECT_EQ(layout->first().title, "顾客姓名");
    EXPECT_EQ(layout->last().fieldName, "F_xfDate");
    ASSERT_TRUE(Schema::upgrade(db(), &error));
    EXPECT_EQ(count(db(), "SELECT count(*) FROM cfg_Grid WHERE F_name = 'wxrecman'"), 30) << "once only";
}

INSTANTIATE_ENGINES(RepairListQueryTest);
