#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "records/order_deletion.h"
#include "records/order_stock.h"
#include "support/test_database.h"

#include <QSqlRecord>
#include <QStringList>

class OrderDeletionTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addGoods("G1", 10);
        addGoods("G2", 20);
    }

    qint64 addOrder(const QString& code, const QString& status)
    {
        const auto id =
            db().insert("t_client", {{"F_code", code}, {"F_client", "顾客" + code}, {"F_status", status}});
        EXPECT_TRUE(id.has_value()) << db().lastError().toStdString();
        return id.value_or(0);
    }

    void addGoods(const QString& code, double stock)
    {
        ASSERT_TRUE(
            db().insert("t_goods", {{"F_code", code}, {"F_name", "商品" + code}, {"F_amount", stock}}));
    }

    void addLine(const QString& order, const QString& goods, double amount)
    {
        ASSERT_TRUE(db().insert("t_HPrec", {{"F_code", order}, {"F_HPcode", goods}, {"F_amount", amount}}));
    }

    qint64 addRepair(const QString& order, const QString& repairCode, int parts)
    {
        const auto id = db().insert("t_WXrec", {{"F_code", order}, {"F_WXcode", repairCode}});
        EXPECT_TRUE(id.has_value()) << db().lastError().toStdString();
        for (int i = 0; i < parts; ++i)
            EXPECT_TRUE(db().insert("t_PJdetail", {{"F_WXcode", repairCode}, {"F_name", "配件"}}));
        return id.value_or(0);
    }

    void addVisit(const QString& order)
    {
        ASSERT_TRUE(db().insert("t_HFrec", {{"F_code", order}, {"F_HFemp", "李敏"}}));
    }

    double stock(const QString& goods)
    {
        return db()
            .scalar("SELECT F_amount FROM t_goods WHERE F_code = ?", {goods})
            .value_or(QVariant())
            .toDouble();
    }

    int rows(const QString& table, const QString& condition = "1 = 1", const QVariantList& values = {})
    {
        return db()
            .scalar(QString("SELECT count(*) FROM %1 WHERE %2").arg(table, condition), values)
            .value_or(QVariant(-1))
            .toInt();
    }

    // Every row of the tables a deletion touches, so that "nothing changed" can be compared.
    QStringList snapshot()
    {
        QStringList lines;
        for (const char* table : {"t_client", "t_HPrec", "t_HFrec", "t_WXrec", "t_PJdetail", "t_goods"}) {
            auto query = db().exec(QString("SELECT * FROM %1 ORDER BY F_ID").arg(table));
            EXPECT_TRUE(query.has_value());
            while (query && query->next()) {
                QStringList values{table};
                for (int i = 0; i < query->record().count(); ++i)
                    values << query->value(i).toString();
                lines << values.join('|');
            }
        }
        return lines;
    }

    // Makes every change of `event` ("DELETE", "UPDATE") on the table fail.
    void refuse(const QString& table, const QString& event)
    {
        if (GetParam() == TestEngine::Sqlite) {
            ASSERT_TRUE(
                db().exec(QString("CREATE TRIGGER refuse_%1 BEFORE %2 ON %1 BEGIN SELECT RAISE(ABORT, "
                                  "'refused'); END")
                              .arg(table, event)))
                << db().lastError().toStdString();
        } else {
            ASSERT_TRUE(
                db().exec("CREATE OR REPLACE FUNCTION refuse_change() RETURNS trigger LANGUAGE plpgsql AS "
                          "$$ BEGIN RAISE EXCEPTION 'refused'; END $$"))
                << db().lastError().toStdString();
            ASSERT_TRUE(db().exec(QString("CREATE TRIGGER refuse_%1 BEFORE %2 ON %1 FOR EACH ROW EXECUTE "
                                          "FUNCTION refuse_change()")
                                      .arg(table, event)))
                << db().lastError().toStdString();
        }
    }
};

TEST_P(OrderDeletionTest, CompletedOrderGoesWithEverythingUnderItAndGivesItsStockBack)
{
    const qint64 order = addOrder("00000001", "已服务");
    addLine("00000001", "G1", 3);
    addLine("00000001", "G1", 5);
    addLine("00000001", "G2", 2.5);
    addVisit("00000001");
    addRepair("00000001", "W1", 2);
    addRepair("00000001", "W2", 1);
    // Another order's records stay.
    addOrder("00000002", "已服务");
    addLine("00000002", "G1", 1);
    addVisit("00000002");
    addRepair("00000002", "W3", 2);

    QString error;
    ASSERT_TRUE(OrderDeletion::deleteOrder(db(), order, &error)) << error.toStdString();
    EXPECT_DOUBLE_EQ(stock("G1"), 18) << "3 + 5 units back";
    EXPECT_DOUBLE_EQ(stock("G2"), 22.5);
    EXPECT_EQ(rows("t_client"), 1);
    EXPECT_EQ(rows("t_HPrec"), 1);
    EXPECT_EQ(rows("t_HFrec"), 1);
    EXPECT_EQ(rows("t_WXrec"), 1);
    EXPECT_EQ(rows("t_PJdetail"), 2);
    EXPECT_EQ(rows("t_PJdetail", "F_WXcode = ?", {"W3"}), 2);
}

TEST_P(OrderDeletionTest, OrdersNotCompletedNeverTouchedTheStock)
{
    for (const char* status : {"未服务", "正在服务"}) {
        const qint64 order = addOrder("00000001", status);
        addLine("00000001", "G1", 3);
        addLine("00000001", "G2", 5);
        ASSERT_TRUE(OrderDeletion::deleteOrder(db(), order));
        EXPECT_DOUBLE_EQ(stock("G1"), 10) << status;
        EXPECT_DOUBLE_EQ(stock("G2"), 20) << status;
        EXPECT_EQ(rows("t_HPrec"), 0);
        EXPECT_EQ(rows("t_client"), 0);
    }
}

TEST_P(OrderDeletionTest, AFailureAnywhereLeavesEverythingAsItWas)
{
    const qint64 order = addOrder("00000001", "已服务");
    addLine("00000001", "G1", 3);
    addLine("00000001", "G2", 5);
    addVisit("00000001");
    addRepair("00000001", "W1", 2);
    const QStringList before = snapshot();
    // The stock update comes before the last deletions, so each of these fails after
    // something was already written.
    const struct {
        const char* table;
        const char* event;
    } cases[] = {
        {"t_PJdetail", "DELETE"}, {"t_goods", "UPDATE"}, {"t_HPrec", "DELETE"},
        {"t_HFrec", "DELETE"},    {"t_WXrec", "DELETE"}, {"t_client", "DELETE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.event);
        refuse(c.table, c.event);
        QString error;
        EXPECT_FALSE(OrderDeletion::deleteOrder(db(), order, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(db().inTransaction());
        EXPECT_EQ(snapshot(), before);
        ASSERT_TRUE(db().exec(
            QString("DROP TRIGGER refuse_%1%2")
                .arg(c.table, GetParam() == TestEngine::Sqlite ? QString() : QString(" ON ") + c.table)));
    }
    ASSERT_TRUE(OrderDeletion::deleteOrder(db(), order)) << "works once nothing is in the way";
    EXPECT_DOUBLE_EQ(stock("G1"), 13);
    EXPECT_DOUBLE_EQ(stock("G2"), 25);
}

TEST_P(OrderDeletionTest, StatusIsReadFromTheDatabaseNotFromAStaleList)
{
    // The list still says 正在服务; another workstation has completed the order meanwhile.
    const qint64 order = addOrder("00000001", "正在服务");
    addLine("00000001", "G1", 4);
    ASSERT_TRUE(db().exec("UPDATE t_client SET F_status = '已服务'"));
    ASSERT_TRUE(db().exec("UPDATE t_goods SET F_amount = F_amount - 4 WHERE F_code = 'G1'"));
    ASSERT_TRUE(OrderDeletion::deleteOrder(db(), order));
    EXPECT_DOUBLE_EQ(stock("G1"), 10);
}

TEST_P(OrderDeletionTest, OrderWithoutCodeOrAlreadyGone)
{
    addLine("", "G1", 1); // a stray line without order code
    const qint64 order = addOrder("", "已服务");
    ASSERT_TRUE(OrderDeletion::deleteOrder(db(), order));
    EXPECT_EQ(rows("t_client"), 0);
    EXPECT_EQ(rows("t_HPrec"), 1) << "code-less rows belong to no order";
    EXPECT_DOUBLE_EQ(stock("G1"), 10);
    const QStringList before = snapshot();
    EXPECT_TRUE(OrderDeletion::deleteOrder(db(), order)) << "deleted meanwhile by someone else";
    EXPECT_EQ(snapshot(), before);
}

TEST_P(OrderDeletionTest, RepairGoesWithItsPartsOnly)
{
    addOrder("00000001", "未服务");
    const qint64 repair = addRepair("00000001", "W'1", 2);
    addRepair("00000001", "W2", 3);
    ASSERT_TRUE(OrderDeletion::deleteRepair(db(), repair));
    EXPECT_EQ(rows("t_WXrec"), 1);
    EXPECT_EQ(rows("t_PJdetail"), 3);
    refuse("t_WXrec", "DELETE");
    const QStringList before = snapshot();
    const qint64 other = db().scalar("SELECT F_ID FROM t_WXrec").value().toLongLong();
    EXPECT_FALSE(OrderDeletion::deleteRepair(db(), other));
    EXPECT_EQ(snapshot(), before) << "parts stay when the repair cannot go";
}

TEST_P(OrderDeletionTest, AdjustStockAndStockAfter)
{
    QString home;
    IniFile config;
    ScriptedMessenger messenger;
    DataModule data(db(), messenger, config, home);
    EXPECT_TRUE(OrderStock::adjustStock(data.services(), "G1", 3));
    EXPECT_DOUBLE_EQ(stock("G1"), 7);
    EXPECT_TRUE(OrderStock::adjustStock(data.services(), "G1", -1.5)) << "a negative quantity adds";
    EXPECT_DOUBLE_EQ(stock("G1"), 8.5);
    EXPECT_DOUBLE_EQ(OrderStock::stockAfter(data.services(), "G2", 4), 16);
    EXPECT_DOUBLE_EQ(OrderStock::stockAfter(data.services(), "无此商品", 4), -4);
    EXPECT_EQ(messenger.count(), 0);
}

TEST_P(OrderDeletionTest, GoodsLineOfACompletedOrderStays)
{
    addOrder("00000001", "正在服务");
    addLine("00000001", "G1", 3);
    const qint64 line = db().scalar("SELECT F_ID FROM t_HPrec").value().toLongLong();
    // Completed on another workstation after this one read the list.
    ASSERT_TRUE(db().exec("UPDATE t_client SET F_status = '已服务'"));
    EXPECT_EQ(OrderDeletion::deleteGoodsLine(db(), line), OrderDeletion::LineDeletion::OrderCompleted);
    EXPECT_EQ(rows("t_HPrec"), 1);
    ASSERT_TRUE(db().exec("UPDATE t_client SET F_status = '正在服务'"));
    EXPECT_EQ(OrderDeletion::deleteGoodsLine(db(), line), OrderDeletion::LineDeletion::Deleted);
    EXPECT_EQ(rows("t_HPrec"), 0);
    EXPECT_DOUBLE_EQ(stock("G1"), 10);
}

TEST_P(OrderDeletionTest, WorksWhileAListIsStillBeingRead)
{
    ASSERT_TRUE(
        db().exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
                  "INSERT INTO t_client (F_code, F_status) SELECT 'C' || (1000 + i), '已服务' FROM n"));
    addLine("C1001", "G1", 3);
    RecordSet list;
    list.setChunkSize(100);
    ASSERT_TRUE(list.open(db(), "SELECT * FROM t_client ORDER BY F_code"));
    ASSERT_FALSE(list.isFullyLoaded()) << "the list's statement is still reading";
    const qint64 first = list.value(0, "F_ID").toLongLong();
    QString error;
    ASSERT_TRUE(OrderDeletion::deleteOrder(db(), first, &error)) << error.toStdString();
    EXPECT_DOUBLE_EQ(stock("G1"), 13);
    refuse("t_client", "DELETE");
    EXPECT_FALSE(OrderDeletion::deleteOrder(db(), list.value(1, "F_ID").toLongLong()));
    ASSERT_TRUE(list.open(db(), "SELECT * FROM t_client ORDER BY F_code"));
    ASSERT_TRUE(list.fetchAll());
    EXPECT_EQ(list.rowCountLoaded(), 599);
}

INSTANTIATE_ENGINES(OrderDeletionTest);
