#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/scripted_messenger.h"
#include "data/sql_value.h"
#include "goods/goods_lookup.h"
#include "records/order_form.h"
#include "records/order_lines.h"
#include "records/order_saver.h"
#include "records/order_test_data.h"
#include "support/test_database.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

using namespace OrderTestData;
using Field = OrderForm::Field;
using Outcome = OrderSaver::Outcome;

namespace {

const QDate kToday(2024, 5, 20);
const QString kOperator = QStringLiteral("系统管理员");

} // namespace

class OrderSaverTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        config.load(QDir(home.path()).filePath("config.ini"));
        data = std::make_unique<DataModule>(db(), messenger, config, home.path());
        data->login().operatorName = kOperator;
        addGoods(db(), "000001", "冰箱", 10, 2999);
        addGoods(db(), "000002", "洗衣机", 4, 1999.5);
        addGoods(db(), "000010", "空调", 1, 3500);
    }

    void TearDown() override
    {
        data.reset();
        EngineTest::TearDown();
    }

    // A new order that passes every check.
    OrderForm newForm(const QString& code = "00000001")
    {
        OrderForm form = OrderForm::newOrder(code, kOperator, kToday, "安装");
        form.client = "张三";
        form.area = "海淀区";
        form.address = "学院路1号";
        form.salesPerson = "王芳";
        form.phoneAppointment = true;
        return form;
    }

    OrderSaver::Result save(OrderSaver::Context context, OrderForm& form, RecordSet* lines = nullptr)
    {
        OrderSaver saver(*data);
        return saver.save(context, form, lines);
    }

    OrderSaver::Context editing(OrderEditMode mode, qint64 id, const QString& code)
    {
        return {mode, false, id, code};
    }

    OrderForm loaded(qint64 id)
    {
        auto form = OrderForm::load(db(), id);
        EXPECT_TRUE(form.has_value());
        return form.value_or(OrderForm());
    }

    // Appends a line for the goods code as the picker does.
    void pick(RecordSet& lines, const QString& goods, double amount = 1)
    {
        auto found = GoodsLookup::byCodePrefix(db(), goods);
        ASSERT_TRUE(found && found->size() == 1);
        const int row = OrderLines::appendGoods(lines, found->first());
        ASSERT_GE(row, 0);
        lines.setValue(row, "F_amount", amount);
        OrderLines::recomputeTotal(lines, row);
    }

    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
};

TEST_P(OrderSaverTest, FirstOrderOfAnEmptyTableIsNumberedOneWithItsLines)
{
    const auto code = data->services().nextCode(OrderSaver::maxCodeQuery(), OrderSaver::codeWidth);
    ASSERT_EQ(code.value_or(""), "00000001");
    RecordSet lines;
    ASSERT_TRUE(openLines(db(), lines, *code));
    pick(lines, "000001", 2);
    pick(lines, "000002");

    OrderForm form = newForm(*code);
    const auto result = save({}, form, &lines);

    EXPECT_EQ(result.outcome, Outcome::Saved);
    EXPECT_EQ(result.code, "00000001");
    EXPECT_TRUE(messenger.texts().isEmpty()) << messenger.texts().join('\n').toStdString();
    EXPECT_EQ(count(db(), "t_client", "F_code = ? AND F_status = ?", {"00000001", "未服务"}), 1);
    EXPECT_EQ(count(db(), "t_HPrec", "F_code = ?", {"00000001"}), 2);
    EXPECT_DOUBLE_EQ(column(db(), "t_HPrec", "F_totalprice", "F_HPcode = ?", {"000001"}).toDouble(), 5998);
    EXPECT_FALSE(lines.hasPendingUpdates());
    // Saving a new order never touches stock.
    EXPECT_DOUBLE_EQ(stock(db(), "000001"), 10);
}

TEST_P(OrderSaverTest, CodeTakenByAnotherWorkstationMeanwhileStoresTheOrderUnderTheNextCodeWithItsLines)
{
    addOrder(db(), "00000007");
    const QString shown =
        data->services().nextCode(OrderSaver::maxCodeQuery(), OrderSaver::codeWidth).value();
    ASSERT_EQ(shown, "00000008");
    RecordSet lines;
    ASSERT_TRUE(openLines(db(), lines, shown));
    pick(lines, "000001");
    pick(lines, "000010");

    // The other workstation saves its order under the same code first.
    Database other;
    ASSERT_TRUE(other.open(database().settings())) << other.lastError().toStdString();
    ASSERT_TRUE(other.insert("t_client", {{"F_code", shown}, {"F_client", "李四"}}));
    other.close();

    OrderForm form = newForm(shown);
    const auto result = save({}, form, &lines);

    ASSERT_EQ(result.outcome, Outcome::Saved);
    EXPECT_EQ(result.code, "00000009");
    EXPECT_EQ(form.code, "00000009");
    EXPECT_TRUE(messenger.texts().isEmpty());
    EXPECT_EQ(column(db(), "t_client", "F_client", "F_code = ?", {"00000008"}).toString(), "李四");
    EXPECT_EQ(column(db(), "t_client", "F_client", "F_code = ?", {"00000009"}).toString(), "张三");
    EXPECT_EQ(count(db(), "t_HPrec", "F_code = ?", {"00000009"}), 2);
    EXPECT_EQ(count(db(), "t_HPrec", "F_code = ?", {"00000008"}), 0);
}

TEST_P(OrderSaverTest, ChecksRunInTheirOrderAndARefusalWritesNothing)
{
    struct Case {
        const char* name;
        OrderEditMode mode;
        bool picker;
        std::function<void(OrderForm&)> change;
        const char* message; // empty: saved
        Field focus;
    };
    const std::vector<Case> cases = {
        {"everything missing: the name first", OrderEditMode::New, false,
         [](OrderForm& f) { f = OrderForm::newOrder(f.code, kOperator, kToday, ""); },
         "当前顾客姓名不能为空！", Field::Client},
        {"blank name", OrderEditMode::New, false, [](OrderForm& f) { f.client = "   "; },
         "当前顾客姓名不能为空！", Field::Client},
        {"area before address", OrderEditMode::New, false,
         [](OrderForm& f) { f.area.clear(), f.address.clear(), f.salesPerson.clear(); }, "送货区域不能为空！",
         Field::Area},
        {"address before salesperson", OrderEditMode::New, false,
         [](OrderForm& f) { f.address = " ", f.salesPerson.clear(); }, "送货地址不能为空！", Field::Address},
        {"salesperson before setup way", OrderEditMode::New, false,
         [](OrderForm& f) { f.salesPerson.clear(), f.phoneAppointment = false; }, "销售人员不能为空！",
         Field::SalesPerson},
        {"neither setup date nor appointment", OrderEditMode::New, false,
         [](OrderForm& f) { f.phoneAppointment = false, f.setupDate.reset(); },
         "安装方式“安装时间”或“电话预约”必须选择一！", Field::SetupDate},
        {"a setup date is enough", OrderEditMode::New, false,
         [](OrderForm& f) { f.phoneAppointment = false, f.setupDate = kToday; }, "", Field::None},
        {"picker mode needs the name only", OrderEditMode::New, true,
         [](OrderForm& f) {
             f.area.clear(), f.address.clear(), f.salesPerson.clear(), f.phoneAppointment = false;
         },
         "", Field::None},
        {"picker mode still needs the name", OrderEditMode::New, true, [](OrderForm& f) { f.client.clear(); },
         "当前顾客姓名不能为空！", Field::Client},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messenger.clear();
        db().exec("DELETE FROM t_client");
        const QStringList before = snapshot(db());
        OrderForm form = newForm();
        c.change(form);
        const OrderForm typed = form;
        const auto result = save({c.mode, c.picker, 0, {}}, form);
        if (QString(c.message).isEmpty()) {
            EXPECT_EQ(result.outcome, Outcome::Saved);
            EXPECT_TRUE(messenger.texts().isEmpty());
            continue;
        }
        EXPECT_EQ(result.outcome, Outcome::Refused);
        EXPECT_EQ(result.focus, c.focus);
        EXPECT_EQ(messenger.texts(), QStringList{c.message});
        ASSERT_EQ(messenger.count(), 1);
        EXPECT_EQ(messenger.messages().first().kind, Messenger::Info);
        EXPECT_EQ(snapshot(db()), before);
        EXPECT_EQ(form, typed);
    }
}

TEST_P(OrderSaverTest, EachModeChecksItsOwnFields)
{
    // An order stored with nothing but a name: edit mode asks for the rest, dispatch for the
    // installer only, completion for nothing.
    const qint64 id = addOrder(db(), "00000003", {{"F_area", ""}, {"F_address", ""}, {"F_XSemp", ""}});
    OrderForm form = loaded(id);
    EXPECT_EQ(save(editing(OrderEditMode::Edit, id, "00000003"), form).focus, Field::Area);
    EXPECT_EQ(save(editing(OrderEditMode::Dispatch, id, "00000003"), form).focus, Field::Installer);
    EXPECT_EQ(messenger.lastText(), "服务人员不能为空！");
    form.installer = "刘师傅";
    EXPECT_EQ(save(editing(OrderEditMode::Dispatch, id, "00000003"), form).outcome, Outcome::Saved);
    form.installer.clear();
    EXPECT_EQ(save(editing(OrderEditMode::Complete, id, "00000003"), form).outcome, Outcome::Saved);
    EXPECT_EQ(column(db(), "t_client", "F_status", "F_ID = ?", {id}).toString(), "已服务");
}

TEST_P(OrderSaverTest, AnsweringNoToADuplicateTelephoneLeavesDatabaseAndStockUntouched)
{
    addOrder(db(), "00000001", {{"F_phone", "010-6666"}, {"F_movePhone", "13900000000"}});
    struct Case {
        const char* phone;
        const char* movePhone;
        QList<int> answers;
        QStringList questions;
        Outcome outcome;
        Field focus;
    };
    const QString phoneQuestion = "用户电话重复，是否保存当前输入？";
    const QString mobileQuestion = "移动电话重复，是否保存当前输入？";
    const std::vector<Case> cases = {
        {"010-6666", "", {2}, {phoneQuestion}, Outcome::Refused, Field::Phone},
        {" 010-6666 ",
         "13900000000",
         {1, 2},
         {phoneQuestion, mobileQuestion},
         Outcome::Refused,
         Field::MovePhone},
        {"", "13900000000", {2}, {mobileQuestion}, Outcome::Refused, Field::MovePhone},
        {"", "", {}, {}, Outcome::Saved, Field::None},
        {"010-6666", "13900000000", {1, 1}, {phoneQuestion, mobileQuestion}, Outcome::Saved, Field::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.phone) + " / " + c.movePhone);
        messenger.clear();
        for (int answer : c.answers)
            answer == 1 ? messenger.answer(Messenger::Yes) : messenger.answer(Messenger::No);
        db().exec("DELETE FROM t_HPrec");
        db().exec("DELETE FROM t_client WHERE F_code <> '00000001'");
        const QString code = data->services().nextCode(OrderSaver::maxCodeQuery(), 8).value();
        RecordSet lines;
        ASSERT_TRUE(openLines(db(), lines, code));
        pick(lines, "000002", 3);
        const QStringList before = snapshot(db());

        OrderForm form = newForm(code);
        form.phone = c.phone;
        form.movePhone = c.movePhone;
        const auto result = save({}, form, &lines);

        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.focus, c.focus);
        EXPECT_EQ(messenger.texts(), c.questions);
        EXPECT_EQ(messenger.pendingAnswers(), 0);
        if (c.outcome == Outcome::Refused) {
            EXPECT_EQ(snapshot(db()), before);
            EXPECT_TRUE(lines.hasPendingUpdates()) << "the typed lines are kept";
        } else {
            EXPECT_EQ(count(db(), "t_HPrec", "F_code = ?", {code}), 1);
        }
        EXPECT_DOUBLE_EQ(stock(db(), "000002"), 4);
    }
}

TEST_P(OrderSaverTest, AnOrderIsNoDuplicateOfItselfButOfAnyOtherOrder)
{
    const qint64 own = addOrder(db(), "00000001", {{"F_phone", "88886666"}});
    OrderForm form = loaded(own);
    EXPECT_EQ(save(editing(OrderEditMode::Edit, own, "00000001"), form).outcome, Outcome::Saved);
    EXPECT_TRUE(messenger.texts().isEmpty());

    // Another order with the same number is found even though this one has a smaller identity.
    addOrder(db(), "00000002", {{"F_phone", "88886666"}});
    messenger.answer(Messenger::No);
    EXPECT_EQ(save(editing(OrderEditMode::Edit, own, "00000001"), form).outcome, Outcome::Refused);
    EXPECT_EQ(messenger.texts(), QStringList{"用户电话重复，是否保存当前输入？"});
}

TEST_P(OrderSaverTest, CompletingAnOrderInServiceLowersStockOnceAndAgainNever)
{
    const qint64 id = addOrder(db(), "00000005", {{"F_status", "正在服务"}, {"F_FWemp", "刘师傅"}});
    addLine(db(), "00000005", "000001", 3);
    addLine(db(), "00000005", "000002", 1.5);
    addLine(db(), "00000005", "000001", 2);
    addLine(db(), "00000005", "999999", 1); // not in the catalogue: nothing to lower

    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE(time);
        RecordSet lines;
        ASSERT_TRUE(openLines(db(), lines, "00000005"));
        OrderForm form = loaded(id);
        form.wage = 80;
        form.opinion = "满意";
        const auto result = save(editing(OrderEditMode::Complete, id, "00000005"), form, &lines);
        ASSERT_EQ(result.outcome, Outcome::Saved);
        EXPECT_EQ(form.status, "已服务");
        EXPECT_DOUBLE_EQ(stock(db(), "000001"), 5);
        EXPECT_DOUBLE_EQ(stock(db(), "000002"), 2.5);
        EXPECT_EQ(column(db(), "t_client", "F_status", "F_ID = ?", {id}).toString(), "已服务");
        EXPECT_DOUBLE_EQ(column(db(), "t_client", "F_FWprice", "F_ID = ?", {id}).toDouble(), 80);
    }
}

TEST_P(OrderSaverTest, CompletingAnOrderThatWasNotDispatchedChangesNoStock)
{
    const qint64 id = addOrder(db(), "00000005", {{"F_status", "未服务"}, {"F_FWemp", "刘师傅"}});
    addLine(db(), "00000005", "000001", 3);
    OrderForm form = loaded(id);
    ASSERT_EQ(save(editing(OrderEditMode::Complete, id, "00000005"), form).outcome, Outcome::Saved);
    EXPECT_EQ(column(db(), "t_client", "F_status", "F_ID = ?", {id}).toString(), "已服务");
    EXPECT_DOUBLE_EQ(stock(db(), "000001"), 10);
}

TEST_P(OrderSaverTest, TwoWindowsCompletingTheSameOrderLowerStockOnce)
{
    const qint64 id = addOrder(db(), "00000005", {{"F_status", "正在服务"}, {"F_FWemp", "刘师傅"}});
    addLine(db(), "00000005", "000002", 1);
    // Both were opened while the order was in service.
    OrderForm first = loaded(id);
    OrderForm second = loaded(id);
    ASSERT_EQ(save(editing(OrderEditMode::Complete, id, "00000005"), first).outcome, Outcome::Saved);
    ASSERT_EQ(save(editing(OrderEditMode::Complete, id, "00000005"), second).outcome, Outcome::Saved);
    EXPECT_DOUBLE_EQ(stock(db(), "000002"), 3);
}

TEST_P(OrderSaverTest, DispatchAndEditRecordWhoDidIt)
{
    const qint64 id = addOrder(db(), "00000004", {{"F_EditEmp", "杨东"}});
    OrderForm form = loaded(id);
    form.chooseInstaller("刘师傅", kOperator);
    ASSERT_EQ(save(editing(OrderEditMode::Dispatch, id, "00000004"), form).outcome, Outcome::Saved);
    EXPECT_EQ(column(db(), "t_client", "F_status", "F_ID = ?", {id}).toString(), "正在服务");
    EXPECT_EQ(column(db(), "t_client", "F_PGemp", "F_ID = ?", {id}).toString(), kOperator);
    EXPECT_EQ(column(db(), "t_client", "F_EditEmp", "F_ID = ?", {id}).toString(), "杨东");

    form = loaded(id);
    ASSERT_EQ(save(editing(OrderEditMode::Edit, id, "00000004"), form).outcome, Outcome::Saved);
    EXPECT_EQ(column(db(), "t_client", "F_EditEmp", "F_ID = ?", {id}).toString(), kOperator);
}

TEST(OrderFormTest, ChoosingTheInstallerDispatchesOnlyAnOrderNotServedYet)
{
    struct Case {
        const char* status;
        const char* dispatcher;
        const char* choice;
        const char* newStatus;
        const char* newDispatcher;
    };
    const Case cases[] = {
        {"未服务", "", "刘师傅", "正在服务", "系统管理员"},
        {"正在服务", "杨东", "张师傅", "正在服务", "杨东"},
        {"正在服务", "杨东", "", "未服务", ""},
        {"未服务", "", " ", "未服务", ""},
        {"已服务", "杨东", "张师傅", "已服务", "杨东"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.status) + " + " + c.choice);
        OrderForm form;
        form.status = c.status;
        form.dispatcher = c.dispatcher;
        form.chooseInstaller(c.choice, kOperator);
        EXPECT_EQ(form.installer, c.choice);
        EXPECT_EQ(form.status, c.newStatus);
        EXPECT_EQ(form.dispatcher, c.newDispatcher);
    }
}

TEST_P(OrderSaverTest, ARenamedOrderTakesItsLinesVisitsAndRepairsAlong)
{
    const qint64 id = addOrder(db(), "00000003");
    addOrder(db(), "00000004");
    addLine(db(), "00000003", "000001", 1);
    ASSERT_TRUE(db().insert("t_HFrec", {{"F_code", "00000003"}, {"F_HFemp", "李敏"}}));
    ASSERT_TRUE(db().insert("t_WXrec", {{"F_code", "00000003"}, {"F_WXcode", "W0000001"}}));
    RecordSet lines;
    ASSERT_TRUE(openLines(db(), lines, "00000003"));
    pick(lines, "000002");

    // The code the window holds is another order's: the save takes the next free one.
    OrderForm form = loaded(id);
    form.code = "00000004";
    const auto result = save(editing(OrderEditMode::Edit, id, "00000003"), form, &lines);

    ASSERT_EQ(result.outcome, Outcome::Saved);
    EXPECT_EQ(result.code, "00000005");
    EXPECT_EQ(column(db(), "t_client", "F_code", "F_ID = ?", {id}).toString(), "00000005");
    EXPECT_EQ(count(db(), "t_HPrec", "F_code = ?", {"00000005"}), 2);
    EXPECT_EQ(count(db(), "t_HFrec", "F_code = ?", {"00000005"}), 1);
    EXPECT_EQ(count(db(), "t_WXrec", "F_code = ?", {"00000005"}), 1);
    EXPECT_EQ(count(db(), "t_HPrec", "F_code = ?", {"00000003"}), 0);
    EXPECT_EQ(count(db(), "t_client", "F_code = ?", {"00000004"}), 1);
}

TEST_P(OrderSaverTest, QuotesPercentSignsAndChineseAreStoredAsTyped)
{
    const QString tricky = QStringLiteral("O'Brien \"老王\" 100% _x_ ; DROP TABLE t_client; --");
    OrderForm form = newForm();
    QList<QString*> texts = {&form.client,        &form.phone,        &form.movePhone, &form.area,
                             &form.address,       &form.buyAddress,   &form.delivery,  &form.dispatchNote,
                             &form.installer,     &form.deliveryType, &form.opinion,   &form.salesPerson,
                             &form.dispatcher,    &form.enteredBy,    &form.editedBy,  &form.serviceType,
                             &form.setupPosition, &form.attitude};
    for (QString& custom : form.customTexts)
        texts << &custom;
    int n = 0;
    for (QString* text : texts)
        *text = QStringLiteral("  %1 %2  ").arg(tricky).arg(++n);
    form.customNumbers = {1.25, -3, 1e6};
    form.customDates = {QDate(2024, 1, 2), std::nullopt, QDate(2030, 12, 31)};
    RecordSet lines;
    ASSERT_TRUE(openLines(db(), lines, "00000001"));
    pick(lines, "000001");
    lines.setValue(0, "F_memo1", tricky);
    lines.setValue(0, "F_FPcode", tricky);

    const auto result = save({OrderEditMode::New, true, 0, {}}, form, &lines);
    ASSERT_EQ(result.outcome, Outcome::Saved);
    EXPECT_EQ(count(db(), "t_client"), 1);

    const qint64 id = column(db(), "t_client", "F_ID", "F_code = ?", {"00000001"}).toLongLong();
    const OrderForm stored = loaded(id);
    n = 0;
    OrderForm expected = form; // the save trimmed the window's copy
    for (QString* text : texts)
        EXPECT_EQ(*text, QStringLiteral("%1 %2").arg(tricky).arg(++n));
    expected.code = "00000001";
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(column(db(), "t_HPrec", "F_memo1", "F_code = ?", {"00000001"}).toString(), tricky);
    EXPECT_EQ(column(db(), "t_HPrec", "F_FPcode", "F_code = ?", {"00000001"}).toString(), tricky);
}

TEST_P(OrderSaverTest, UnsetDatesAreStoredAsTheNoDateValueAndLoadUnset)
{
    OrderForm form = newForm();
    form.setupDate.reset();
    form.reminderDate.reset();
    form.customDates = {std::nullopt, QDate(2024, 2, 29), std::nullopt};
    ASSERT_EQ(save({}, form).outcome, Outcome::Saved);
    const qint64 id = column(db(), "t_client", "F_ID", "F_code = ?", {"00000001"}).toLongLong();
    for (const char* name : {"F_setupDate", "F_awokeDate", "F_RQ1", "F_RQ3"})
        EXPECT_EQ(SqlDates::toDate(column(db(), "t_client", name, "F_ID = ?", {id})), SqlDates::noDate())
            << name;
    const OrderForm stored = loaded(id);
    EXPECT_FALSE(stored.setupDate.has_value());
    EXPECT_FALSE(stored.reminderDate.has_value());
    EXPECT_EQ(stored.customDates[1], QDate(2024, 2, 29));
    EXPECT_EQ(stored.buyDate, kToday);
    EXPECT_TRUE(stored.phoneAppointment);
    EXPECT_EQ(column(db(), "t_client", "F_phoneYD", "F_ID = ?", {id}).toString(), "是");
}

TEST_P(OrderSaverTest, AFailedWriteRollsEverythingBackAndKeepsTheInput)
{
    // Goods lines cannot be written for now.
    if (GetParam() == TestEngine::Sqlite) {
        ASSERT_TRUE(
            db().exec("CREATE TRIGGER refuse_lines BEFORE INSERT ON t_HPrec BEGIN SELECT RAISE(ABORT, "
                      "'refused'); END"));
    } else {
        ASSERT_TRUE(
            db().exec("CREATE OR REPLACE FUNCTION refuse_change() RETURNS trigger LANGUAGE plpgsql AS "
                      "$$ BEGIN RAISE EXCEPTION 'refused'; END $$"));
        ASSERT_TRUE(db().exec("CREATE TRIGGER refuse_lines BEFORE INSERT ON t_HPrec FOR EACH ROW EXECUTE "
                              "FUNCTION refuse_change()"));
    }
    RecordSet lines;
    ASSERT_TRUE(openLines(db(), lines, "00000001"));
    pick(lines, "000001");
    OrderForm form = newForm();
    const OrderForm typed = form;

    const auto result = save({}, form, &lines);

    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(messenger.texts(), QStringList{"保存失败，请检测数据库连接！"});
    EXPECT_EQ(messenger.messages().first().kind, Messenger::Error);
    EXPECT_EQ(count(db(), "t_client"), 0);
    EXPECT_EQ(form, typed);
    EXPECT_EQ(lines.rowCount(), 1);
    EXPECT_TRUE(lines.hasPendingUpdates());

    // Once the lines can be written the same input saves.
    ASSERT_TRUE(db().exec("DROP TRIGGER refuse_lines" +
                          QString(GetParam() == TestEngine::Postgres ? " ON t_HPrec" : "")));
    EXPECT_EQ(save({}, form, &lines).outcome, Outcome::Saved);
    EXPECT_EQ(count(db(), "t_HPrec", "F_code = ?", {"00000001"}), 1);
}

TEST_P(OrderSaverTest, ChangingAnOrderThatIsGoneIsAFailureNotASuccess)
{
    const qint64 id = addOrder(db(), "00000002");
    OrderForm form = loaded(id);
    ASSERT_TRUE(db().exec("DELETE FROM t_client WHERE F_ID = ?", {id}));
    EXPECT_EQ(save(editing(OrderEditMode::Edit, id, "00000002"), form).outcome, Outcome::Failed);
    EXPECT_EQ(messenger.lastText(), "保存失败，请检测数据库连接！");
    EXPECT_EQ(count(db(), "t_client"), 0);
}

TEST_P(OrderSaverTest, TypedGoodsCodeFindsArticlesByPrefix)
{
    struct Case {
        const char* typed;
        QStringList found;
    };
    const Case cases[] = {
        {"000001", {"000001"}},
        {"00001", {"000010"}},
        {"00000", {"000001", "000002"}},
        {"9", {}},
        {"0000_0", {"000010"}},
        {"000001 ", {}},
        {"0\\", {}},
        {"0!", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto found = GoodsLookup::byCodePrefix(db(), c.typed);
        ASSERT_TRUE(found.has_value());
        QStringList codes;
        for (const GoodsItem& item : *found)
            codes << item.code;
        EXPECT_EQ(codes, c.found);
    }
}

TEST_P(OrderSaverTest, AFoundArticleFillsTheTypedLine)
{
    RecordSet lines;
    ASSERT_TRUE(openLines(db(), lines, "00000001"));
    struct Case {
        QVariant amount;
        double expectedAmount;
    };
    for (const Case& c : {Case{QVariant(), 1}, Case{0.0, 1}, Case{3.0, 3}}) {
        const int row = lines.appendRow();
        lines.setValue(row, "F_HPcode", "000002");
        lines.setValue(row, "F_amount", c.amount);
        lines.setValue(row, "F_TMcode", "typed");
        const GoodsItem goods = GoodsLookup::byCodePrefix(db(), "000002")->first();
        ASSERT_TRUE(OrderLines::fillFromGoods(lines, row, goods, "00000001"));
        EXPECT_EQ(lines.value(row, "F_HPname").toString(), "洗衣机");
        EXPECT_EQ(lines.value(row, "F_pinPai").toString(), "海尔");
        EXPECT_EQ(lines.value(row, "F_spec").toString(), "BCD-000002");
        EXPECT_EQ(lines.value(row, "F_unit").toString(), "台");
        EXPECT_EQ(lines.value(row, "F_code").toString(), "00000001");
        EXPECT_EQ(lines.value(row, "F_TMcode").toString(), "typed");
        EXPECT_DOUBLE_EQ(lines.value(row, "F_amount").toDouble(), c.expectedAmount);
        EXPECT_DOUBLE_EQ(lines.value(row, "F_price").toDouble(), 1999.5);
        EXPECT_DOUBLE_EQ(lines.value(row, "F_totalprice").toDouble(), 1999.5 * c.expectedAmount);
    }
}

INSTANTIATE_ENGINES(OrderSaverTest);
