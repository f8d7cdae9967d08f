#include "support/test_database.h"

#include "data/data_services.h"
#include "data/login_state.h"
#include "data/record_set.h"
#include "data/scripted_messenger.h"

#include <functional>

class DataServicesTest : public EngineTest {
protected:
    ScriptedMessenger messenger;
    LoginState login;
    DataServices services() { return DataServices(db(), messenger, login); }
};

TEST(IncrementCode, CountsUpTheTail)
{
    const struct {
        const char* current;
        int width;
        const char* next;
    } cases[] = {
        {"", 6, "000001"},       {"000099", 6, "000100"}, {"999999", 6, "000000"}, {"K20099", 4, "K20100"},
        {"12", 4, "13"},         {"", 8, "00000001"},     {"00000009", 8, "00000010"},
        {"ABC0999", 3, "ABC0000"}, // only the tail counts; it wraps and the prefix stays
    };
    for (const auto& c : cases) {
        const auto next = DataServices::incrementCode(QString::fromUtf8(c.current), c.width);
        ASSERT_TRUE(next) << c.current;
        EXPECT_EQ(*next, QString::fromUtf8(c.next)) << c.current << " width " << c.width;
    }
    EXPECT_FALSE(DataServices::incrementCode("0000AB", 6));
    EXPECT_FALSE(DataServices::incrementCode("12 4", 4));
}

TEST(MatchComboItem, TrimsAndIgnoresCaseLastMatchWins)
{
    const QStringList items = {"北京", " area", "Area ", "上海"};
    EXPECT_EQ(DataServices::matchComboItem(items, "  Area ", 0), 2);
    EXPECT_EQ(DataServices::matchComboItem(items, "广州", 3), 3);
    EXPECT_EQ(DataServices::matchComboItem(items, "北京", -1), 0);
    EXPECT_EQ(DataServices::matchComboItem({}, "x", -1), -1);
}

TEST(ImageKindOfFile, ByExtension)
{
    const struct {
        const char* name;
        int kind;
    } cases[] = {{"a.BMP", 1}, {"a.jpg", 2}, {"photo.JPEG", 2}, {"x.gif", 3}, {"x.png", 0}, {"noext", 0}, {"a.jpg.txt", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(DataServices::imageKindOfFile(c.name), c.kind) << c.name;
}

TEST_P(DataServicesTest, NextCodeFollowsTheGreatestStoredCode)
{
    auto s = services();
    EXPECT_EQ(s.nextCode("select max(F_code) from t_client", 8), QStringLiteral("00000001"));
    EXPECT_EQ(s.nextCode("select max(F_code) from T_goods ", 6), QStringLiteral("000001"));
    for (const char* code : {"00000099", "00000100", "00000007"})
        ASSERT_TRUE(db().exec("insert into t_client (F_code) values (?)", {code}));
    EXPECT_EQ(s.nextCode("select max(F_code) from t_client", 8), QStringLiteral("00000101"));
    ASSERT_TRUE(db().exec("insert into t_goods (F_code) values ('0000AB')"));
    QString error;
    EXPECT_FALSE(s.nextCode("select max(F_code) from t_goods", 6, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(messenger.count(), 0);
}

TEST_P(DataServicesTest, LookupsWithoutRowsAreEmptyAndSilent)
{
    auto s = services();
    EXPECT_EQ(s.lookupText("select F_Name from OperList where F_Code = ?", {"nobody"}), QString());
    EXPECT_EQ(s.lookupInt("select F_ID from OperList where F_Code = ?", {"nobody"}), 0);
    EXPECT_EQ(s.lookupFloat("select F_amount from t_goods where F_code = ?", {"nobody"}), 0.0);
    EXPECT_EQ(messenger.count(), 0);
    EXPECT_EQ(s.lookupText("select F_Name from OperList where F_Code = ?", {"731"}), QStringLiteral("系统管理员"));
}

TEST_P(DataServicesTest, FailuresShowTheirMessageAndReturnTheNeutralResult)
{
    auto s = services();
    RecordSet records;
    const struct {
        std::function<bool()> call;
        const char* message;
    } cases[] = {
        {[&] { return s.runSql("update no_such_table set x = 1"); }, "操作失败，请检查数据连接... "},
        {[&] { return !s.lookupText("select x from no_such_table").isEmpty(); }, "操作失败，请检查数据连接... "},
        {[&] { return s.lookupInt("select x from no_such_table") != 0; }, "操作失败，请检查数据连接... "},
        {[&] { return s.lookupFloat("select x from no_such_table") != 0.0; }, "操作失败，请检查数据连接... "},
        {[&] { return !s.comboItems("select x from no_such_table").isEmpty(); }, "操作失败，请检查数据连接... "},
        {[&] { return s.openQuery(records, "select x from no_such_table"); }, "打开操作失败，请检查数据连接... "},
        {[&] { return s.deleteById("no_such_table", 1); }, "删除操作失败，请检查数据连接... "},
    };
    for (const auto& c : cases) {
        messenger.clear();
        EXPECT_FALSE(c.call()) << c.message;
        ASSERT_EQ(messenger.count(), 1) << c.message;
        EXPECT_EQ(messenger.messages().first().text, QString::fromUtf8(c.message));
        EXPECT_EQ(messenger.messages().first().kind, Messenger::Error);
    }
}

TEST_P(DataServicesTest, RunSqlAndDeleteById)
{
    auto s = services();
    const auto id = db().insert("t_code", {{"F_name", "x"}, {"F_type", "area"}});
    ASSERT_TRUE(id);
    EXPECT_TRUE(s.runSql("update t_code set F_name = ? where F_ID = ?", {"O'Neil 100% \\", *id}));
    EXPECT_EQ(s.lookupText("select F_name from t_code where F_ID = ?", {*id}), QStringLiteral("O'Neil 100% \\"));
    EXPECT_TRUE(s.deleteById("t_code", *id));
    EXPECT_EQ(s.lookupInt("select count(*) from t_code"), 0);
    EXPECT_EQ(messenger.count(), 0);
}

TEST_P(DataServicesTest, ComboItemsSkipBlankValuesButKeepOtherBlanks)
{
    for (const char* name : {"  ", " 海淀 ", "", "朝阳"})
        ASSERT_TRUE(db().insert("t_code", {{"F_name", name}, {"F_type", "area"}}));
    auto s = services();
    EXPECT_EQ(s.comboItems("select F_name from t_code where F_type = ? order by F_ID", {"AREA"}),
              (QStringList{" 海淀 ", "朝阳"}));
    const auto picks = s.pickListValues("select F_name from t_code where F_type = ? order by F_ID", {"area"}, nullptr);
    ASSERT_TRUE(picks);
    EXPECT_EQ(*picks, (QStringList{"  ", " 海淀 ", "", "朝阳"}));
    const auto none = s.pickListValues("select F_name from t_code where F_type = ?", {"none"}, nullptr);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
}

TEST_P(DataServicesTest, HasLimitFollowsTheRolesGrants)
{
    ASSERT_TRUE(db().insert("PartLimit", {{"F_PartCode", "01"}, {"F_LmtCode", "305"}}));
    login.roleCode = "01";
    auto s = services();
    EXPECT_TRUE(s.hasLimit("305"));
    EXPECT_FALSE(s.hasLimit("501"));
    login.roleCode = "02";
    EXPECT_FALSE(s.hasLimit("305"));
    EXPECT_EQ(messenger.count(), 0);
}

INSTANTIATE_ENGINES(DataServicesTest);
