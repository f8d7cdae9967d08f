#include "support/test_database.h"

#include "data/code_allocator.h"

class CodeAllocatorTest : public EngineTest {
protected:
    // Writes an order with two goods lines under the code, as an editor's save does.
    bool writeOrder(const QString& code)
    {
        return db().insert("t_client", {{"F_code", code}, {"F_client", "张三"}})
               && db().insert("t_HPrec", {{"F_code", code}, {"F_HPname", "空调"}})
               && db().insert("t_HPrec", {{"F_code", code}, {"F_HPname", "冰箱"}});
    }
    const QString maxQuery = "select max(F_code) from t_client";
};

TEST_P(CodeAllocatorTest, TakesTheFirstChoiceWhenFree)
{
    Transaction t(db());
    QString error;
    const auto code = CodeAllocator::writeWithFreeCode(db(), "", maxQuery, 8, [&](const QString& c) { return writeOrder(c); }, &error);
    ASSERT_TRUE(code) << error.toStdString();
    EXPECT_EQ(*code, QStringLiteral("00000001"));
    ASSERT_TRUE(t.commit());
    EXPECT_EQ(db().scalar("select count(*) from t_HPrec where F_code = '00000001'")->toInt(), 2);
}

TEST_P(CodeAllocatorTest, ACodeTakenMeanwhileMovesTheWholeOrderToTheNextCode)
{
    const QString chosen = "00000001"; // what the editor showed when it opened
    // Another workstation saves its order under the same code first.
    {
        Database other;
        ASSERT_TRUE(other.open(database().settings()));
        ASSERT_TRUE(other.insert("t_client", {{"F_code", chosen}, {"F_client", "李四"}}));
    }
    Transaction t(db());
    QString error;
    const auto code =
        CodeAllocator::writeWithFreeCode(db(), chosen, maxQuery, 8, [&](const QString& c) { return writeOrder(c); }, &error);
    ASSERT_TRUE(code) << error.toStdString();
    EXPECT_EQ(*code, QStringLiteral("00000002"));
    ASSERT_TRUE(t.commit());
    EXPECT_EQ(db().scalar("select F_client from t_client where F_code = ?", {chosen})->toString(), QStringLiteral("李四"));
    EXPECT_EQ(db().scalar("select count(*) from t_HPrec where F_code = ?", {chosen})->toInt(), 0);
    EXPECT_EQ(db().scalar("select count(*) from t_HPrec where F_code = ?", {*code})->toInt(), 2);
}

TEST_P(CodeAllocatorTest, OtherFailuresStopAndNeedATransaction)
{
    QString error;
    EXPECT_FALSE(CodeAllocator::writeWithFreeCode(db(), "", maxQuery, 8, [](const QString&) { return true; }, &error));
    Transaction t(db());
    const auto code = CodeAllocator::writeWithFreeCode(
        db(), "", maxQuery, 8, [&](const QString&) { return db().exec("insert into no_such_table values (1)").has_value(); },
        &error);
    EXPECT_FALSE(code);
    EXPECT_FALSE(error.isEmpty());
    // The transaction is still usable after the failed write.
    EXPECT_TRUE(db().exec("insert into t_code (F_name) values ('x')"));
}

INSTANTIATE_ENGINES(CodeAllocatorTest);
