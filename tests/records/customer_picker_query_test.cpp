#include "records/record_rows.h"
#include "support/test_database.h"

#include "data/login_state.h"
#include "records/customer_picker_query.h"

using namespace RecordRows;

class CustomerPickerQueryTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addOrder(db(), "00000001",
                 {{"F_client", "张三"},
                  {"F_phone", "01013800"},
                  {"F_address", "海淀区中关村"},
                  {"F_area", "海淀区"},
                  {"F_FWemp", "王师傅"},
                  {"F_setupPOS", "厨房"},
                  {"F_XSemp", "小刘"},
                  {"F_PGemp", "李派"},
                  {"F_FWtype", "安装"},
                  {"F_PStype", "送货"},
                  {"F_buyAddress", "总店"},
                  {"F_buyDate", QDate(2024, 5, 10)}});
        addOrder(db(), "00000002",
                 {{"F_client", "张三丰"},
                  {"F_movePhone", "13800001111"},
                  {"F_area", "朝阳区"},
                  {"F_buyDate", QDate(2024, 4, 1)},
                  {"F_OperName", "李敏"}});
        addOrder(db(), "00000003",
                 {{"F_client", "李张"}, {"F_phone", "02099"}, {"F_buyDate", QDate(2024, 2, 29)}});
        addLine(db(), "00000002", {{"F_pinPai", "美的"}, {"F_PLtype", "空调"}});
        addCode(db(), "area", "朝阳区");
        addCode(db(), "area", "海淀区");
        addCode(db(), "area", "  ");
        addCode(db(), "fwemp", "王师傅");
    }

    CustomerPickerQuery::Filter filter()
    {
        CustomerPickerQuery::Filter f;
        f.from = QDate(2024, 3, 1);
        f.to = QDate(2024, 5, 20);
        return f;
    }

    QStringList found(const CustomerPickerQuery::Filter& f, const LoginState& login = {})
    {
        const SqlStatement list = CustomerPickerQuery::list(f, db().dialect(), login);
        return codes(db(), list.sql, list.values);
    }
};

TEST(CustomerPickerQueryDates, OpensOnTheFirstDayOfTheMonthThreeMonthsBack)
{
    EXPECT_EQ(CustomerPickerQuery::defaultFrom(QDate(2024, 5, 20)), QDate(2024, 2, 1));
    EXPECT_EQ(CustomerPickerQuery::defaultFrom(QDate(2024, 2, 29)), QDate(2023, 11, 1));
    EXPECT_EQ(CustomerPickerQuery::defaultFrom(QDate(2024, 1, 31)), QDate(2023, 10, 1));
}

TEST_P(CustomerPickerQueryTest, FiltersNarrowTheOrdersOfTheDateRange)
{
    struct Case {
        const char* name;
        QString client, phone, address;
        QStringList codes;
    };
    const QList<Case> cases = {
        {"dates only", "", "", "", {"00000001", "00000002"}},
        {"name starts with", "张三", "", "", {"00000001", "00000002"}},
        {"name does not match inside", "三", "", "", {}},
        {"phone in either number", "", "138", "", {"00000001", "00000002"}},
        {"phone in the mobile number", "", "1111", "", {"00000002"}},
        {"address anywhere", "", "", "关村", {"00000001"}},
        {"a quote", "张'", "", "", {}},
        {"all of them", "张", "138", "海淀", {"00000001"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CustomerPickerQuery::Filter f = filter();
        f.name = c.client;
        f.phone = c.phone;
        f.address = c.address;
        EXPECT_EQ(found(f), c.codes);
    }
    CustomerPickerQuery::Filter wide = filter();
    wide.from = QDate(2024, 1, 1);
    EXPECT_EQ(found(wide), QStringList({"00000001", "00000002", "00000003"}));
}

TEST_P(CustomerPickerQueryTest, EachListTypeOffersItsValuesAndRestrictsToThem)
{
    struct Case {
        const char* caption;
        QStringList values;
        QString chosen;
        QStringList codes;
    };
    const QList<Case> cases = {
        {"区    域", {"朝阳区", "海淀区"}, "朝阳区", {"00000002"}}, // from the code list
        {"购买地点", {"总店"}, "总店", {"00000001"}},
        {"品    牌", {"美的"}, "美的", {"00000002"}},
        {"品    类", {"空调"}, "空调", {"00000002"}},
        {"服务人员", {"王师傅"}, "王师傅", {"00000001"}},
        {"安装位置", {"厨房"}, "厨房", {"00000001"}},
        {"销售人员", {"小刘"}, "小刘", {"00000001"}},
        {"派工人员", {"李派"}, "李派", {"00000001"}},
        {"服务类别", {"安装"}, "安装", {"00000001"}},
        {"派送类别", {"送货"}, "送货", {"00000001"}},
    };
    ASSERT_EQ(CustomerPickerQuery::listTypes().size(), cases.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const int type = CustomerPickerQuery::listTypeIndex(c.caption);
        ASSERT_GE(type, 0);
        EXPECT_EQ(CustomerPickerQuery::values(db(), type), c.values);
        CustomerPickerQuery::Filter f = filter();
        f.listType = type;
        f.listValue = c.chosen;
        EXPECT_EQ(found(f), c.codes);
    }
}

TEST_P(CustomerPickerQueryTest, AnOperatorWhoSeesOnlyHisOwnOrdersPicksOnlyFromThose)
{
    LoginState login;
    login.ownOrdersOnly = true;
    login.operatorName = "李敏";
    EXPECT_EQ(found(filter(), login), QStringList{"00000002"});
}

INSTANTIATE_ENGINES(CustomerPickerQueryTest);
