#include "records/record_rows.h"
#include "support/test_database.h"

#include "data/login_state.h"
#include "records/customer_query.h"

using namespace RecordRows;

class CustomerQueryTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addOrder(db(), "00000001",
                 {{"F_client", "张三"},
                  {"F_phone", "13812345678"},
                  {"F_address", "海淀区中关村1号"},
                  {"F_area", "海淀区"},
                  {"F_buyAddress", "总店东区"},
                  {"F_IFsonghuo", "是"},
                  {"F_FWemp", "王师傅"},
                  {"F_PGemp", "李派"},
                  {"F_FWtype", "安装"},
                  {"F_memo1", "下午送货"},
                  {"F_memo2", "很满意"},
                  {"F_XSemp", "小刘"},
                  {"F_EditEmp", "赵修改"},
                  {"F_PStype", "送货"},
                  {"F_FWtaidu", "很好"},
                  {"F_buyDate", QDate(2024, 5, 10)},
                  {"F_setupDate", QDate(2024, 5, 12)}});
        addOrder(db(), "00000002",
                 {{"F_client", "O'Brien 李%四"},
                  {"F_phone", "02138000"},
                  {"F_movePhone", "13900001111"},
                  {"F_address", "朝阳区"},
                  {"F_area", "朝阳区"},
                  {"F_buyAddress", "总店西区"},
                  {"F_status", "正在服务"},
                  {"F_PStype", "安装"},
                  {"F_OperName", "李敏"},
                  {"F_buyDate", QDate(2024, 3, 1)},
                  {"F_setupDate", QDate(1900, 8, 14)}});
        addOrder(db(), "00000003",
                 {{"F_client", "王五"},
                  {"F_area", "海淀区"},
                  {"F_buyDate", QDate(2024, 5, 20)},
                  {"F_setupDate", QDate(2024, 6, 1)}});
        addOrder(db(), "00000004", {{"F_client", "赵六"}, {"F_buyDate", QDate(1900, 8, 14)}});
        addLine(db(), "00000001",
                {{"F_pinPai", "海尔"},
                 {"F_spec", "BCD-215"},
                 {"F_HPname", "冰箱"},
                 {"F_type", "家电\\冰箱"},
                 {"F_FPcode", "FP001"},
                 {"F_YZcode", "YZ9"}});
        addLine(db(), "00000002", {{"F_pinPai", "美的"}, {"F_HPname", "空调"}, {"F_spec", "KFR-35"}});
    }

    QStringList found(const CustomerQuery::Criteria& criteria, const LoginState& login = {})
    {
        const SqlStatement list =
            CustomerQuery::list(CustomerQuery::condition(criteria, db().dialect()), login);
        return codes(db(), list.sql, list.values);
    }

    QStringList typed(const QString& control, const QString& text)
    {
        CustomerQuery::Criteria criteria;
        criteria.texts.insert(control, text);
        return found(criteria);
    }
};

TEST_P(CustomerQueryTest, NothingTypedListsEveryOrderInCodeOrder)
{
    CustomerQuery::Criteria criteria;
    criteria.texts.insert("edtClient", "   ");
    EXPECT_TRUE(CustomerQuery::condition(criteria, db().dialect()).isEmpty());
    EXPECT_EQ(found(criteria), QStringList({"00000001", "00000002", "00000003", "00000004"}));
}

TEST_P(CustomerQueryTest, EachFieldSearchesItsColumnTheWayItShould)
{
    struct Case {
        const char* control;
        QString text;
        QStringList codes;
    };
    const QList<Case> cases = {
        {"edtClient", "三", {"00000001"}},      // anywhere in the name
        {"edtClient", " 王五 ", {"00000003"}},  // trimmed
        {"edtClient", "O'Brien", {"00000002"}}, // a quote is a character
        {"edtClient", "'", {"00000002"}},
        {"edtClient", "o'brien", {"00000002"}}, // letter case ignored
        {"edtClient", "李%四", {"00000002"}},   // % stays a wildcard
        {"edtClient", "张_", {"00000001"}},     // and so does _
        {"edtPhone", "138", {"00000001"}},      // starts with: 02138000 is not found
        {"edtMovePhone", "139", {"00000002"}},
        {"edtAddress", "中关村", {"00000001"}},
        {"cbbArea", "海淀", {"00000001", "00000003"}},
        {"cbbArea", "淀区", {}}, // the area must start with it
        {"edtBuyAddress", "总店", {"00000001", "00000002"}},
        {"edtBuyAddress", "总店东", {"00000001"}},
        {"cbbPinPai", "尔", {"00000001"}}, // goods lines: anywhere
        {"edtSpec", "bcd", {"00000001"}},
        {"edtHPname", "空调", {"00000002"}},
        {"edtHPtype", "家电\\冰", {"00000001"}}, // a backslash is a character
        {"edtFPcode", "P00", {"00000001"}},
        {"edtYZcode", "YZ", {"00000001"}},
        {"cbbIFsongHuo", "是", {"00000001"}},
        {"cbbFWemp", "王", {"00000001"}},
        {"cbbStatus", "正在", {"00000002"}},
        {"cbbStatus", "服务", {}},
        {"cbbPGemp", "李", {"00000001"}},
        {"cbbFWtype", "安", {"00000001"}},
        {"edtMemo1", "送货", {"00000001"}},
        {"edtMemo2", "满意", {"00000001"}},
        {"cbbXSemp", "小", {"00000001"}},
        {"cbbEditEmp", "修改", {"00000001"}},
        {"cbbOperName", "敏", {"00000002"}},
        {"cbbPStype", "送", {"00000001"}},
        {"cbbPStype2", "安", {"00000002"}},
        {"cbbFWtaidu", "很", {"00000001"}},
        {"edtClient", "'; DROP TABLE t_client; --", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.control) + " " + c.text.toStdString());
        EXPECT_EQ(typed(c.control, c.text), c.codes);
    }
    EXPECT_EQ(count(db(), "t_client"), 4);
}

TEST_P(CustomerQueryTest, EveryFieldOfTheDialogAddsItsCondition)
{
    CustomerQuery::Criteria criteria;
    for (const CustomerQuery::Field& field : CustomerQuery::fields())
        criteria.texts.insert(field.control, "x");
    const SqlCondition where = CustomerQuery::condition(criteria, db().dialect());
    EXPECT_EQ(where.values().size(), CustomerQuery::fields().size());
    // Together they are one valid statement.
    const SqlStatement list = CustomerQuery::list(where, {});
    EXPECT_EQ(codes(db(), list.sql, list.values), QStringList());
}

TEST_P(CustomerQueryTest, FieldsCombineWithAnd)
{
    CustomerQuery::Criteria criteria;
    criteria.texts.insert("cbbArea", "海淀");
    criteria.texts.insert("edtClient", "王");
    EXPECT_EQ(found(criteria), QStringList{"00000003"});
}

TEST_P(CustomerQueryTest, DateRangesWithOpenEnds)
{
    using Range = CustomerQuery::DateRange;
    const QDate may1(2024, 5, 1), may31(2024, 5, 31), apr30(2024, 4, 30);
    struct Case {
        const char* name;
        Range purchase;
        Range setup;
        QStringList codes;
    };
    const QList<Case> cases = {
        {"purchase in May", {true, may1, may31}, {}, {"00000001", "00000003"}},
        // An unticked first date starts at the no-date value, so undated orders are found.
        {"purchase up to April", {true, std::nullopt, apr30}, {}, {"00000002", "00000004"}},
        {"purchase from May, open end", {true, may1, std::nullopt}, {}, {"00000001", "00000003"}},
        {"range unticked", {false, may1, may1}, {}, {"00000001", "00000002", "00000003", "00000004"}},
        {"setup in May", {}, {true, may1, may31}, {"00000001"}},
        {"setup open at both ends",
         {},
         {true, std::nullopt, std::nullopt},
         {"00000001", "00000002", "00000003"}},
        {"both ranges", {true, may1, may31}, {true, QDate(2024, 6, 1), std::nullopt}, {"00000003"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CustomerQuery::Criteria criteria;
        criteria.purchase = c.purchase;
        criteria.setup = c.setup;
        EXPECT_EQ(found(criteria), c.codes);
    }
}

TEST_P(CustomerQueryTest, AnOperatorWhoSeesOnlyHisOwnOrdersSeesOnlyThoseHere)
{
    LoginState login;
    login.ownOrdersOnly = true;
    login.operatorName = "李敏";
    EXPECT_EQ(found({}, login), QStringList{"00000002"});
    CustomerQuery::Criteria criteria;
    criteria.texts.insert("edtClient", "张");
    EXPECT_EQ(found(criteria, login), QStringList());
}

INSTANTIATE_ENGINES(CustomerQueryTest);
