#include "data/record_set.h"
#include "goods/goods_picker_query.h"
#include "records/order_test_data.h"
#include "support/test_database.h"

using namespace OrderTestData;

class GoodsPickerQueryTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addGoods(db(), "000001", "双门冰箱", 5, 100, "海尔");
        addGoods(db(), "000002", "滚筒洗衣机", 2, 100, "小天鹅");
        addGoods(db(), "000012", "冰箱 100%", 1, 100, "Haier Pro");
        addGoods(db(), "100001", "空调", 1, 100, "格力");
        ASSERT_TRUE(db().exec("UPDATE t_goods SET F_type = ?", {"\\\\冰箱"}));
        ASSERT_TRUE(
            db().exec("UPDATE t_goods SET F_type = ? WHERE F_code = ?", {"\\\\洗衣机\\滚筒", "000002"}));
        ASSERT_TRUE(db().exec("UPDATE t_goods SET F_type = ? WHERE F_code = ?", {"\\\\洗衣机器", "100001"}));
    }

    QStringList codes(const GoodsPickerQuery::Filter& filter)
    {
        const SqlStatement statement = GoodsPickerQuery::statement(filter, db().dialect());
        RecordSet rows;
        EXPECT_TRUE(rows.open(db(), statement.sql, statement.values)) << rows.lastError().toStdString();
        rows.fetchAll();
        QStringList found;
        for (int row = 0; row < rows.rowCount(); ++row)
            found << rows.value(row, "F_code").toString();
        return found;
    }
};

TEST_P(GoodsPickerQueryTest, FiltersCombine)
{
    struct Case {
        const char* name;
        GoodsPickerQuery::Filter filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"nothing", {}, {"000001", "000002", "000012", "100001"}},
        {"code anywhere", {"0001"}, {"000001", "000012", "100001"}},
        {"code trimmed", {" 12 "}, {"000012"}},
        {"name anywhere", {"", "冰箱"}, {"000001", "000012"}},
        {"a percent sign is a wildcard", {"", "冰箱 100%"}, {"000012"}},
        {"brand from its start", {"", "", "海"}, {"000001"}},
        {"brand is no search inside", {"", "", "尔"}, {}},
        {"brand ignores letter case", {"", "", "haier"}, {"000012"}},
        {"a goods type and the types below it", {"", "", "", "\\\\洗衣机"}, {"000002"}},
        {"a backslash typed is a character", {"", "\\"}, {}},
        {"picked ones are left out", {"", "", "", "", {"000001", "100001"}}, {"000002", "000012"}},
        {"all together", {"0", "冰", "", "\\\\冰箱", {"000001"}}, {"000012"}},
        {"a quote is a character", {"'", ""}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codes(c.filter), c.expected);
    }
}

TEST_P(GoodsPickerQueryTest, LayoutRowsAreAddedOnceToADatabaseWithoutThem)
{
    ASSERT_TRUE(db().exec("DELETE FROM cfg_Grid WHERE F_name = ?", {GoodsPickerQuery::gridKey()}));
    ASSERT_TRUE(GoodsPickerQuery::ensureLayoutRows(db()));
    const int rows = count(db(), "cfg_Grid", "F_name = ?", {GoodsPickerQuery::gridKey()});
    EXPECT_EQ(rows, 12);
    ASSERT_TRUE(GoodsPickerQuery::ensureLayoutRows(db()));
    EXPECT_EQ(count(db(), "cfg_Grid", "F_name = ?", {GoodsPickerQuery::gridKey()}), rows);
}

INSTANTIATE_ENGINES(GoodsPickerQueryTest);
