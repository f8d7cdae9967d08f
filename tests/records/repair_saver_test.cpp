#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "data/sql_value.h"
#include "records/repair_form.h"
#include "records/repair_parts.h"
#include "records/repair_saver.h"
#include "records/repair_test_data.h"
#include "support/test_database.h"

#include <QDir>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <memory>

using namespace RepairTestData;
using Outcome = RepairSaver::Outcome;
using Field = RepairSaver::Field;

namespace {

const QDate kToday(2024, 5, 20);
const QString kOperator = QStringLiteral("系统管理员");

} // namespace

class RepairSaverTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        config.load(QDir(home.path()).filePath("config.ini"));
        data = std::make_unique<DataModule>(db(), messenger, config, home.path());
        data->login().operatorName = kOperator;
        addOrder(db(), "00000001");
        parts.setUpdateTable("t_PJdetail");
    }

    void TearDown() override
    {
        parts.close();
        data.reset();
        EngineTest::TearDown();
    }

    QString nextCode()
    {
        return data->services().nextCode(RepairSaver::maxCodeQuery(), RepairSaver::codeWidth).value_or("?");
    }

    // A new repair of order 00000001 under the next code, its parts opened as the editor does.
    RepairForm newForm()
    {
        RepairForm form = RepairForm::newRepair("00000001", nextCode(), kToday, kOperator);
        form.serviceType = "上门维修";
        openParts(form.repairCode);
        return form;
    }

    void openParts(const QString& code)
    {
        const SqlStatement statement = RepairParts::ofRepair(code);
        ASSERT_TRUE(parts.open(db(), statement.sql, statement.values)) << parts.lastError().toStdString();
    }

    void addLine(const QString& name, double amount, double price, bool charged = true)
    {
        const int row = RepairParts::appendLine(parts, "ignored");
        ASSERT_GE(row, 0);
        parts.setValue(row, "F_name", name);
        parts.setValue(row, "F_amount", amount);
        parts.setValue(row, "F_price", price);
        parts.setValue(row, "F_IFshouFei", charged);
        RepairParts::recomputeAmount(parts, row);
    }

    RepairSaver::Result save(RepairForm& form, RepairSaver::Context context = {})
    {
        RepairSaver saver(*data);
        return saver.save(context, form, &parts);
    }

    QVariant stored(const QString& code, const QString& column)
    {
        return db()
            .scalar(QStringLiteral("SELECT %1 FROM t_WXrec WHERE F_WXcode = ?").arg(column), {code})
            .value_or(QVariant());
    }

    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
    RecordSet parts;
};

TEST_P(RepairSaverTest, RepairCodesCountUpFromOneWithEightDigits)
{
    EXPECT_EQ(nextCode(), "00000001");
    addRepair(db(), "00000001", "00000041");
    EXPECT_EQ(nextCode(), "00000042");
}

TEST_P(RepairSaverTest, PartsChargeIsTheSumOfEveryLineAndTheTotalAddsTheFee)
{
    RepairForm form = newForm();
    addLine("压缩机", 2, 30);
    addLine("电容", 1, 15, false); // not charged, still counted
    EXPECT_DOUBLE_EQ(RepairParts::amountSum(parts), 75);
    form.serviceFee = 20;

    const auto result = save(form);
    ASSERT_EQ(result.outcome, Outcome::Saved) << messenger.lastText().toStdString();
    EXPECT_EQ(messenger.count(), 0);
    EXPECT_DOUBLE_EQ(form.partsCharge, 75);
    EXPECT_DOUBLE_EQ(form.total, 95);
    EXPECT_DOUBLE_EQ(stored("00000001", "F_PJtotalprice").toDouble(), 75);
    EXPECT_DOUBLE_EQ(stored("00000001", "F_FWtotalprice").toDouble(), 20);
    EXPECT_DOUBLE_EQ(stored("00000001", "F_SFtotalprice").toDouble(), 95);
    EXPECT_EQ(column(db(), "SELECT F_name FROM t_PJdetail WHERE F_WXcode = ? ORDER BY F_ID", {"00000001"}),
              QStringList({"压缩机", "电容"}));
    EXPECT_EQ(
        count(db(), "SELECT count(*) FROM t_PJdetail WHERE F_totalprice = 60 AND F_IFshouFei = ?", {true}),
        1);
    EXPECT_FALSE(parts.hasPendingUpdates());
}

TEST_P(RepairSaverTest, WithoutLinesThePartsChargeIsZero)
{
    RepairForm form = newForm();
    form.partsCharge = 50; // what a repair stored before its lines went
    form.serviceFee = 30;
    ASSERT_EQ(save(form).outcome, Outcome::Saved);
    EXPECT_DOUBLE_EQ(stored("00000001", "F_PJtotalprice").toDouble(), 0);
    EXPECT_DOUBLE_EQ(stored("00000001", "F_SFtotalprice").toDouble(), 30);
}

TEST_P(RepairSaverTest, ACodeTakenMeanwhileGivesTheNextOneToTheRepairAndItsParts)
{
    RepairForm form = newForm();
    ASSERT_EQ(form.repairCode, "00000001");
    addLine("压缩机", 1, 300);
    addLine("冷媒", 2, 40);
    // Another workstation saves its repair under the same code first.
    addRepair(db(), "00000001", "00000001");

    const auto result = save(form);
    ASSERT_EQ(result.outcome, Outcome::Saved);
    EXPECT_EQ(messenger.count(), 0) << "the next code is taken silently";
    EXPECT_EQ(result.code, "00000002");
    EXPECT_EQ(form.repairCode, "00000002");
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_WXrec"), 2);
    EXPECT_EQ(column(db(), "SELECT F_WXcode FROM t_PJdetail ORDER BY F_ID"),
              QStringList({"00000002", "00000002"}));
    EXPECT_EQ(stored("00000002", "F_ID").toLongLong(), result.id);
}

TEST_P(RepairSaverTest, ChecksRefuseWithTheirMessageAndWriteNothing)
{
    struct Case {
        const char* name;
        QString code;
        QString serviceType;
        bool serviceTypeRequired;
        Outcome outcome;
        QString message;
        Field focus;
    };
    const Case cases[] = {
        {"no code", "", "上门维修", false, Outcome::Refused, RepairSaver::codeMissingMessage(),
         Field::RepairCode},
        {"blank code", "  ", "上门维修", true, Outcome::Refused, RepairSaver::codeMissingMessage(),
         Field::RepairCode},
        {"no category where required", "00000001", " ", true, Outcome::Refused,
         RepairSaver::serviceTypeMissingMessage(), Field::ServiceType},
        {"no category from the order's tab", "00000001", "", false, Outcome::Saved, "", Field::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(db().exec("DELETE FROM t_WXrec"));
        messenger.clear();
        RepairForm form = newForm();
        form.repairCode = c.code;
        form.serviceType = c.serviceType;
        RepairSaver::Context context;
        context.serviceTypeRequired = c.serviceTypeRequired;
        const auto result = save(form, context);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.focus, c.focus);
        if (c.message.isEmpty()) {
            EXPECT_EQ(messenger.count(), 0);
            EXPECT_EQ(count(db(), "SELECT count(*) FROM t_WXrec"), 1);
        } else {
            ASSERT_EQ(messenger.count(), 1);
            EXPECT_EQ(messenger.lastText(), c.message);
            EXPECT_EQ(messenger.messages().last().kind, Messenger::Info);
            EXPECT_EQ(count(db(), "SELECT count(*) FROM t_WXrec"), 0);
        }
    }
}

TEST_P(RepairSaverTest, StoredWordsOfTheTwoChoicesReadAndSaveAsTheirButtons)
{
    struct Case {
        QVariant stored;
        bool ticked; // 保内 / 产品原因
        QString saved;
    };
    const Case warranty[] = {{"保内", true, "保内"}, {"保外", false, "保外"},     {"在保", false, "保外"},
                             {"", false, "保外"},    {QVariant(), false, "保外"}, {" 保内 ", true, "保内"}};
    const Case reason[] = {{"产品原因", true, "产品原因"},
                           {"用户原因", false, "用户原因"},
                           {"人为", false, "用户原因"},
                           {"", false, "用户原因"},
                           {QVariant(), false, "用户原因"}};
    int n = 0;
    for (const Case& c : warranty) {
        const QString code = QStringLiteral("W%1").arg(++n);
        const qint64 id = addRepair(db(), "00000001", code, {{"F_BXflag", c.stored}});
        auto query = db().exec("SELECT * FROM t_WXrec WHERE F_ID = ?", {id});
        ASSERT_TRUE(query && query->next());
        const QSqlRecord record = query->record();
        RepairForm form =
            RepairForm::fromRow([&](const QString& column) { return query->value(record.indexOf(column)); });
        EXPECT_EQ(form.inWarranty, c.ticked) << c.stored.toString().toStdString();
        openParts(code);
        ASSERT_EQ(save(form, {RepairEditMode::Edit, false, id}).outcome, Outcome::Saved);
        EXPECT_EQ(stored(code, "F_BXflag").toString(), c.saved);
    }
    for (const Case& c : reason) {
        const QString code = QStringLiteral("W%1").arg(++n);
        const qint64 id = addRepair(db(), "00000001", code, {{"F_reasonFlag", c.stored}});
        auto query = db().exec("SELECT * FROM t_WXrec WHERE F_ID = ?", {id});
        ASSERT_TRUE(query && query->next());
        const QSqlRecord record = query->record();
        RepairForm form =
            RepairForm::fromRow([&](const QString& column) { return query->value(record.indexOf(column)); });
        EXPECT_EQ(form.productFault, c.ticked) << c.stored.toString().toStdString();
        openParts(code);
        ASSERT_EQ(save(form, {RepairEditMode::Edit, false, id}).outcome, Outcome::Saved);
        EXPECT_EQ(stored(code, "F_reasonFlag").toString(), c.saved);
    }
}

TEST_P(RepairSaverTest, EditingChangesTheRepairAndItsCachedLinesOnly)
{
    const qint64 id = addRepair(db(), "00000001", "00000007", {{"F_WXflag", 1}, {"F_OperName", "杨东"}});
    addPart(db(), "00000007", "压缩机", 1, 300);
    addPart(db(), "00000007", "电容", 2, 10);
    addRepair(db(), "00000001", "00000008");
    addPart(db(), "00000008", "皮带", 1, 20);
    openParts("00000007");
    auto query = db().exec("SELECT * FROM t_WXrec WHERE F_ID = ?", {id});
    ASSERT_TRUE(query && query->next());
    const QSqlRecord record = query->record();
    RepairForm form =
        RepairForm::fromRow([&](const QString& column) { return query->value(record.indexOf(column)); });
    query.reset();
    EXPECT_EQ(form.progress, 1);
    form.progress = 2;
    form.result = "  已修复  ";
    ASSERT_TRUE(parts.removeRow(0));
    parts.setValue(0, "F_amount", 3.0);
    RepairParts::recomputeAmount(parts, 0);

    ASSERT_EQ(save(form, {RepairEditMode::Edit, false, id}).outcome, Outcome::Saved);
    EXPECT_EQ(stored("00000007", "F_WXflag").toInt(), 2);
    EXPECT_EQ(stored("00000007", "F_memo6").toString(), "已修复");
    EXPECT_EQ(stored("00000007", "F_OperName").toString(), "杨东") << "who entered it stays";
    EXPECT_DOUBLE_EQ(stored("00000007", "F_PJtotalprice").toDouble(), 30);
    EXPECT_EQ(column(db(), "SELECT F_name FROM t_PJdetail ORDER BY F_ID"), QStringList({"电容", "皮带"}));
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_WXrec"), 2);
}

TEST_P(RepairSaverTest, TextIsStoredTrimmedAndOtherwiseVerbatim)
{
    RepairForm form = newForm();
    const QString odd = "O'Brien 说：\"100%_坏了\" \\ ;--";
    form.fault = "  " + odd + "\n";
    form.info = "上门,换件";
    form.orderCode = "";
    addLine(odd, 1, 5);
    ASSERT_EQ(save(form).outcome, Outcome::Saved);
    EXPECT_EQ(stored("00000001", "F_memo1").toString(), odd);
    EXPECT_EQ(stored("00000001", "F_WXinfo").toString(), "上门,换件");
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_WXrec WHERE F_code = ''"), 1)
        << "a repair without an order";
    EXPECT_EQ(column(db(), "SELECT F_name FROM t_PJdetail"), QStringList({odd}));
    EXPECT_EQ(stored("00000001", "F_OperName").toString(), kOperator);
    EXPECT_EQ(SqlDates::toDate(stored("00000001", "F_SMtime")), kToday);
}

TEST_P(RepairSaverTest, AFailedWriteRollsBackAndKeepsTheCachedLines)
{
    RepairForm form = newForm();
    addLine("压缩机", 1, 300);
    const QStringList before = snapshot(db(), "t_WXrec");
    // The parts table refuses every write from now on.
    ASSERT_TRUE(db().exec("ALTER TABLE t_PJdetail RENAME TO t_PJdetail_gone"));
    const auto result = save(form);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(messenger.lastText(), RepairSaver::saveFailedMessage());
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
    EXPECT_EQ(snapshot(db(), "t_WXrec"), before);
    EXPECT_TRUE(parts.hasPendingUpdates());
    ASSERT_TRUE(db().exec("ALTER TABLE t_PJdetail_gone RENAME TO t_PJdetail"));
    EXPECT_EQ(save(form).outcome, Outcome::Saved) << "the same input saves once the table is back";
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_PJdetail"), 1);
}

TEST_P(RepairSaverTest, ARepairDeletedMeanwhileIsNotWrittenAgain)
{
    const qint64 id = addRepair(db(), "00000001", "00000003");
    openParts("00000003");
    addLine("电容", 1, 10);
    RepairForm form = RepairForm::newRepair("00000001", "00000003", kToday, kOperator);
    ASSERT_TRUE(db().exec("DELETE FROM t_WXrec"));
    EXPECT_EQ(save(form, {RepairEditMode::Edit, false, id}).outcome, Outcome::Failed);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_WXrec"), 0);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_PJdetail"), 0) << "no parts without their repair";
}

INSTANTIATE_ENGINES(RepairSaverTest);
