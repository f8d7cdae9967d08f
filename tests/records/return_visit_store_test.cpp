#include "records/record_rows.h"
#include "support/test_database.h"

#include "data/record_set.h"
#include "records/return_visit_store.h"

using namespace RecordRows;

class ReturnVisitStoreTest : public EngineTest {
protected:
    // The visit rows of the order, as the main window lists them.
    RecordSet& visits(const QString& order = "00000001")
    {
        EXPECT_TRUE(m_visits.open(db(), "SELECT * FROM t_HFrec WHERE F_code = ? ORDER BY F_ID", {order}))
            << m_visits.lastError().toStdString();
        return m_visits;
    }

    RecordSet m_visits;
};

TEST(ReturnVisitTest, TotalAddsTheFiveAmounts)
{
    EXPECT_DOUBLE_EQ(ReturnVisit::sum({30, 0, 12.5, 0, 0}), 42.5);
    EXPECT_DOUBLE_EQ(ReturnVisit::sum({0, 0, 12.5, 0, 0}), 12.5);
    EXPECT_DOUBLE_EQ(ReturnVisit::sum({1.1, 2.2, 3.3, 4.4, -1}), 10.0);
}

TEST_P(ReturnVisitStoreTest, AnEmptyNewVisitStoresTheOrderTodayAndZeroAmounts)
{
    const QDate today = QDate::currentDate();
    const auto id = ReturnVisitStore::save(db(), "00000001", ReturnVisit::newVisit(today), std::nullopt);
    ASSERT_TRUE(id.has_value());
    RecordSet& rows = visits();
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.value(0, "F_ID").toLongLong(), *id);
    EXPECT_EQ(rows.value(0, "F_code").toString(), "00000001");
    EXPECT_EQ(rows.value(0, "F_HFdate").toDate(), today);
    EXPECT_FALSE(rows.value(0, "F_addFlag").toBool());
    for (const char* field :
         {"F_HFprice1", "F_HFprice2", "F_HFprice3", "F_HFprice4", "F_HFprice5", "F_HFtotalPrice"})
        EXPECT_EQ(rows.value(0, field).toDouble(), 0.0) << field;
    for (const char* field : {"F_HFemp", "F_FWtaidu", "F_HFitem1", "F_HFitem5", "F_memo1", "F_memo3"})
        EXPECT_EQ(rows.value(0, field).toString(), "") << field;
}

TEST_P(ReturnVisitStoreTest, TextIsStoredAsTypedWithoutOuterBlanks)
{
    const QStringList typed = {
        "O'Brien",       "100% 满意", "张\"三\"_李四", "  两边有空格  ", "a;--DROP TABLE t_HFrec",
        "第一行\n第二行"};
    for (const QString& text : typed) {
        SCOPED_TRACE(text.toStdString());
        ReturnVisit visit = ReturnVisit::newVisit(QDate(2024, 5, 20));
        visit.employee = visit.attitude = visit.content = visit.result = visit.chargeNotes = text;
        visit.items = {text, text, text, text, text};
        const auto id = ReturnVisitStore::save(db(), "00000001", visit, std::nullopt);
        ASSERT_TRUE(id.has_value()) << db().lastError().toStdString();
        RecordSet& rows = visits();
        ASSERT_TRUE(rows.locate("F_ID", *id));
        const ReturnVisit stored = ReturnVisitStore::fromRow(rows, rows.currentRow());
        EXPECT_EQ(stored.employee, text.trimmed());
        EXPECT_EQ(stored.attitude, text.trimmed());
        EXPECT_EQ(stored.items[0], text.trimmed());
        EXPECT_EQ(stored.items[4], text.trimmed());
        EXPECT_EQ(stored.content, text.trimmed());
        EXPECT_EQ(stored.chargeNotes, text.trimmed());
    }
    EXPECT_EQ(count(db(), "t_HFrec"), typed.size());
}

TEST_P(ReturnVisitStoreTest, AVisitReadsBackAsSaved)
{
    ReturnVisit visit = ReturnVisit::newVisit(QDate(2024, 5, 20));
    visit.employee = "李敏";
    visit.attitude = "满意";
    visit.giftReceived = true;
    visit.items = {"安装费", "", "材料费", "", "远程费"};
    visit.prices = {30, 0, 12.5, 0, 8};
    visit.total = 50.5;
    visit.content = "顾客说冰箱很好";
    visit.result = "已处理";
    visit.chargeNotes = "现金";
    ASSERT_TRUE(ReturnVisitStore::save(db(), "00000001", visit, std::nullopt));
    RecordSet& rows = visits();
    const ReturnVisit stored = ReturnVisitStore::fromRow(rows, 0);
    EXPECT_EQ(stored.date, visit.date);
    EXPECT_EQ(stored.employee, visit.employee);
    EXPECT_EQ(stored.attitude, visit.attitude);
    EXPECT_TRUE(stored.giftReceived);
    EXPECT_EQ(stored.items, visit.items);
    EXPECT_EQ(stored.prices, visit.prices);
    EXPECT_DOUBLE_EQ(stored.total, 50.5);
    EXPECT_EQ(stored.content, visit.content);
    EXPECT_EQ(stored.result, visit.result);
    EXPECT_EQ(stored.chargeNotes, visit.chargeNotes);
}

TEST_P(ReturnVisitStoreTest, AChangeWritesOnlyTheVisitOfItsId)
{
    const qint64 first = addVisit(db(), "00000001", {{"F_HFemp", "李敏"}});
    const qint64 second = addVisit(db(), "00000001", {{"F_HFemp", "王芳"}});
    const QStringList before = snapshot(db(), "t_HFrec");
    RecordSet& rows = visits();
    ReturnVisit changed = ReturnVisitStore::fromRow(rows, 1);
    changed.employee = "赵强";
    changed.prices[1] = 20;
    changed.total = 20;
    ASSERT_EQ(ReturnVisitStore::save(db(), "00000001", changed, second), second);

    const QStringList after = snapshot(db(), "t_HFrec");
    ASSERT_EQ(after.size(), 2);
    EXPECT_EQ(after.at(0), before.at(0)); // the other visit is untouched
    visits();
    ASSERT_TRUE(m_visits.locate("F_ID", second));
    EXPECT_EQ(m_visits.current("F_HFemp").toString(), "赵强");
    EXPECT_EQ(m_visits.current("F_HFtotalPrice").toDouble(), 20.0);
    ASSERT_TRUE(m_visits.locate("F_ID", first));
    EXPECT_EQ(m_visits.current("F_HFemp").toString(), "李敏");
}

TEST_P(ReturnVisitStoreTest, AVisitDeletedMeanwhileIsNotSavedSilently)
{
    const qint64 id = addVisit(db(), "00000001");
    ASSERT_TRUE(db().exec("DELETE FROM t_HFrec WHERE F_ID = ?", {id}));
    QString error;
    EXPECT_FALSE(
        ReturnVisitStore::save(db(), "00000001", ReturnVisit::newVisit(QDate(2024, 5, 20)), id, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(count(db(), "t_HFrec"), 0);
    EXPECT_FALSE(db().inTransaction());
}

TEST_P(ReturnVisitStoreTest, AFailedWriteLeavesNothingAndNoOpenTransaction)
{
    addVisit(db(), "00000001");
    const QStringList before = snapshot(db(), "t_HFrec");
    // A column the table does not have makes every write of the visit fail.
    ASSERT_TRUE(db().exec("ALTER TABLE t_HFrec RENAME COLUMN F_memo3 TO F_memo3_gone"));
    QString error;
    ReturnVisit visit = ReturnVisit::newVisit(QDate(2024, 5, 20));
    visit.chargeNotes = "不会写入";
    EXPECT_FALSE(ReturnVisitStore::save(db(), "00000001", visit, std::nullopt, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(db().inTransaction());
    ASSERT_TRUE(db().exec("ALTER TABLE t_HFrec RENAME COLUMN F_memo3_gone TO F_memo3"));
    EXPECT_EQ(snapshot(db(), "t_HFrec"), before);
}

INSTANTIATE_ENGINES(ReturnVisitStoreTest);
