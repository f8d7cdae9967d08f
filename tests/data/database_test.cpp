#include "support/test_database.h"

#include "data/sql_condition.h"

#include <QDate>

class DatabaseTest : public EngineTest {};

TEST_P(DatabaseTest, TextReachesTheDatabaseVerbatim)
{
    const QStringList texts = {"O'Brien \"quoted\"", "100% _done_", "C:\\path\\to\\file", "王五；测试——‘引号’",
                               "'; drop table t_client; --", "  blanks kept  "};
    for (const QString& text : texts) {
        const auto id = db().insert("t_client", {{"F_client", text}});
        ASSERT_TRUE(id) << db().lastError().toStdString();
        EXPECT_EQ(db().scalar("select F_client from t_client where F_ID = ?", {*id})->toString(), text);
        EXPECT_EQ(db().scalar("select count(*) from t_client where F_client = ?", {text})->toInt(), 1);
    }
    EXPECT_TRUE(db().exec("select count(*) from t_client"));
}

TEST_P(DatabaseTest, InsertReturnsTheNewIdentity)
{
    const auto first = db().insert("t_code", {{"F_name", "a"}});
    const auto second = db().insert("t_code", {{"F_name", "b"}});
    ASSERT_TRUE(first && second);
    EXPECT_GT(*second, *first);
    EXPECT_EQ(db().scalar("select F_name from t_code where F_ID = ?", {*second})->toString(), QStringLiteral("b"));
}

TEST_P(DatabaseTest, NullStringBindsAsEmptyTextAndInvalidAsNull)
{
    ASSERT_TRUE(db().exec("insert into t_code (F_code, F_name) values (?, ?)", {QString(), QVariant()}));
    EXPECT_EQ(db().scalar("select count(*) from t_code where F_code = ''")->toInt(), 1);
    EXPECT_EQ(db().scalar("select count(*) from t_code where F_name is null")->toInt(), 1);
}

TEST_P(DatabaseTest, TransactionRollsBackUnlessCommitted)
{
    {
        Transaction t(db());
        ASSERT_TRUE(t.isActive());
        ASSERT_TRUE(db().exec("insert into t_code (F_name) values ('gone')"));
    }
    EXPECT_EQ(db().scalar("select count(*) from t_code")->toInt(), 0);
    {
        Transaction t(db());
        ASSERT_TRUE(db().exec("insert into t_code (F_name) values ('kept')"));
        EXPECT_TRUE(t.commit());
    }
    EXPECT_EQ(db().scalar("select count(*) from t_code")->toInt(), 1);
    EXPECT_FALSE(db().inTransaction());
}

TEST_P(DatabaseTest, ConditionBuilderBindsEveryValue)
{
    for (const char* name : {"张三", "张三丰", "李四", "50%折扣"})
        ASSERT_TRUE(db().insert("t_client", {{"F_client", name}, {"F_status", "未服务"}}));
    SqlCondition where;
    where.add("F_status = ?", {"未服务"});
    where.addAnyOf({SqlCondition().add("F_client LIKE ?", {SqlCondition::contains("张")}),
                    SqlCondition().add("F_client LIKE ?", {SqlCondition::contains("%")})});
    EXPECT_EQ(where.values().size(), 3);
    auto q = db().exec("select count(*) from t_client" + where.clause(), where.values());
    ASSERT_TRUE(q && q->next()) << db().lastError().toStdString();
    // "%" typed by the user stays a wildcard, so the second alternative matches every name.
    EXPECT_EQ(q->value(0).toInt(), 4);
    EXPECT_EQ(SqlCondition().clause(), QString());
}

TEST_P(DatabaseTest, DateArithmeticAgreesOnEveryEngine)
{
    ASSERT_TRUE(db().exec("insert into t_client (F_code, F_buyDate, F_setupDate) values (?, ?, ?)",
                          {"1", QDate(2023, 12, 31), QDate(2024, 3, 1)}));
    const Dialect& d = db().dialect();
    const QString sql = QStringLiteral("select %1, %2, %3 from t_client")
                            .arg(d.daysBetween("F_buyDate", "F_setupDate"), d.monthsBetween("F_buyDate", "F_setupDate"),
                                 d.dayOfYear("F_setupDate"));
    auto q = db().exec(sql);
    ASSERT_TRUE(q && q->next()) << db().lastError().toStdString();
    EXPECT_EQ(q->value(0).toInt(), 61);
    EXPECT_EQ(q->value(1).toInt(), 3);
    EXPECT_EQ(q->value(2).toInt(), 61);
    auto today = db().scalar(QStringLiteral("select %1").arg(d.today()));
    ASSERT_TRUE(today);
    EXPECT_EQ(db().fromStorage(*today, ColumnType::Date).toDate(), QDate::currentDate());
}

TEST_P(DatabaseTest, FailureIsReportedNotThrown)
{
    EXPECT_FALSE(db().exec("select * from no_such_table"));
    EXPECT_FALSE(db().lastError().isEmpty());
    EXPECT_TRUE(db().exec("select 1"));
}

INSTANTIATE_ENGINES(DatabaseTest);

class DatabaseMaintenanceTest : public EngineTest {};

TEST_P(DatabaseMaintenanceTest, CompactKeepsEveryRow)
{
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(db().insert("t_code", {{"F_name", QString(200, QChar(0x4e00 + i))}}));
    ASSERT_TRUE(db().exec("delete from t_code where F_ID % 2 = 0"));
    EXPECT_TRUE(db().compact()) << db().lastError().toStdString();
    EXPECT_EQ(db().scalar("select count(*) from t_code")->toInt(), 100);
    Transaction t(db());
    EXPECT_FALSE(db().compact());
}

INSTANTIATE_ENGINES(DatabaseMaintenanceTest);

TEST(SqliteConnection, WaitsForOtherWritersInsteadOfFailing)
{
    TestDatabase first(TestEngine::Sqlite);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.db().scalar("PRAGMA journal_mode")->toString().toLower(), QStringLiteral("wal"));
    EXPECT_GE(first.db().scalar("PRAGMA busy_timeout")->toInt(), 5000);
    // A second connection (another program instance) reads while the first one writes.
    Database second;
    ASSERT_TRUE(second.open(first.settings()));
    ASSERT_TRUE(first.db().beginTransaction());
    ASSERT_TRUE(first.db().exec("insert into t_code (F_name) values ('pending')"));
    EXPECT_EQ(second.scalar("select count(*) from t_code")->toInt(), 0);
    ASSERT_TRUE(first.db().commit());
    EXPECT_EQ(second.scalar("select count(*) from t_code")->toInt(), 1);
}
