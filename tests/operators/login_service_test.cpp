#include "support/test_database.h"

#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/scripted_messenger.h"
#include "operators/login_service.h"
#include "operators/password_hash.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

using Mode = LoginService::Mode;
using Outcome = LoginService::Outcome;

class LoginServiceTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        config.load(QDir(home.path()).filePath("config.ini"));
        data = std::make_unique<DataModule>(db(), messenger, config, home.path());
        addOperator("007", "张三", PasswordHash::hash("abc"), "R1", true);
    }

    void addOperator(const QString& code, const QString& name, const QVariant& password,
                     const QString& role = {}, bool ownOrdersOnly = false)
    {
        ASSERT_TRUE(db().insert("OperList", {{"F_Code", code},
                                             {"F_Name", name},
                                             {"F_PassWord", password},
                                             {"F_PartCode", role},
                                             {"F_Flag", false},
                                             {"F_xtFlag", ownOrdersOnly}}))
            << db().lastError().toStdString();
    }

    void setKeyValue(int row, const QString& value)
    {
        ASSERT_TRUE(db().exec("update KeyValue set F_Value = ? where F_ID = "
                              "(select F_ID from KeyValue order by F_ID limit 1 offset ?)",
                              {value, row - 1}));
    }

    // Someone logged in before, so that a failed change can be seen to keep him.
    void loginAs731()
    {
        LoginService first(*data, Mode::FirstLogin);
        ASSERT_EQ(first.submit("731", ""), Outcome::Accepted);
        messenger.clear();
    }

    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
};

TEST_P(LoginServiceTest, PasswordsCompareTrimmedAndCaseSensitive)
{
    addOperator("100", "空密码", PasswordHash::emptyPasswordHash());
    addOperator("101", "空白存储", QStringLiteral("  "));
    addOperator("102", "无密码", QVariant());
    const struct {
        const char* code;
        const char* typed;
        Outcome outcome;
    } cases[] = {
        {"731", "", Outcome::Accepted},         {"731", "   ", Outcome::Accepted},
        {"731", "731", Outcome::WrongPassword}, {"100", " ", Outcome::Accepted},
        {"007", " abc ", Outcome::Accepted},    {"007", "ABC", Outcome::WrongPassword},
        {"007", "", Outcome::WrongPassword},    {"101", "", Outcome::Accepted},
        {"101", "x", Outcome::WrongPassword},   {"102", "  ", Outcome::Accepted},
        {" 007 ", "abc", Outcome::Accepted}, // a stray blank around the code is forgiven
    };
    for (const auto& c : cases) {
        LoginService service(*data, Mode::FirstLogin);
        EXPECT_EQ(service.submit(QString::fromUtf8(c.code), QString::fromUtf8(c.typed)), c.outcome)
            << c.code << " / '" << c.typed << "'";
    }
}

TEST_P(LoginServiceTest, FourthWrongPasswordEndsTheAttempt)
{
    const struct {
        Mode mode;
        const char* finalMessage;
    } cases[] = {{Mode::FirstLogin, "非法操作员!"}, {Mode::ChangeOperator, "更换操作员失败!"}};
    for (const auto& c : cases) {
        loginAs731();
        LoginService service(*data, c.mode);
        for (int attempt = 1; attempt <= 3; ++attempt) {
            EXPECT_EQ(service.submit("007", "wrong"), Outcome::WrongPassword) << attempt;
            EXPECT_EQ(messenger.lastText(), "用户名或密码不正确，请重新输入！");
            EXPECT_EQ(messenger.messages().last().kind, Messenger::Info);
        }
        EXPECT_EQ(service.submit("007", "wrong"), Outcome::Refused);
        EXPECT_EQ(messenger.count(), 4);
        EXPECT_EQ(messenger.lastText(), QString::fromUtf8(c.finalMessage));
        EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
        // The previous operator stays logged in, and stays the remembered one.
        EXPECT_EQ(data->login().operatorCode, "731");
        EXPECT_EQ(data->login().operatorName, "系统管理员");
        EXPECT_EQ(IniFile(config.path()).value("Config", "CurOperCode"), "731");
    }
}

TEST_P(LoginServiceTest, ThreeFailuresStillAllowTheRightPassword)
{
    LoginService service(*data, Mode::ChangeOperator);
    for (int attempt = 1; attempt <= 3; ++attempt)
        ASSERT_EQ(service.submit("007", "wrong"), Outcome::WrongPassword);
    EXPECT_EQ(service.submit("007", "abc"), Outcome::Accepted);
    EXPECT_EQ(data->login().operatorCode, "007");
}

TEST_P(LoginServiceTest, MissingOrUnknownCodeIsToldAndNotCounted)
{
    loginAs731();
    const struct {
        const char* code;
        Outcome outcome;
        const char* message;
    } cases[] = {
        {"", Outcome::NoCode, "请选择用户！"},
        {"   ", Outcome::NoCode, "请选择用户！"},
        {"999", Outcome::UnknownOperator, "此操作员并不存在，请重新选择操作员！"},
        {"7'31", Outcome::UnknownOperator, "此操作员并不存在，请重新选择操作员！"},
        {"731' or '1'='1", Outcome::UnknownOperator, "此操作员并不存在，请重新选择操作员！"},
    };
    LoginService service(*data, Mode::ChangeOperator);
    for (const auto& c : cases) {
        messenger.clear();
        EXPECT_EQ(service.submit(QString::fromUtf8(c.code), ""), c.outcome) << c.code;
        ASSERT_EQ(messenger.count(), 1) << c.code;
        EXPECT_EQ(messenger.lastText(), QString::fromUtf8(c.message));
        EXPECT_EQ(messenger.messages().last().kind, Messenger::Info);
    }
    EXPECT_EQ(service.failures(), 0);
    EXPECT_EQ(data->login().operatorCode, "731");
}

TEST_P(LoginServiceTest, LoginLoadsTheOperatorAndSettings)
{
    config.setValue("config", "CurImeName", "中文 - 微软拼音");
    setKeyValue(1, "保修卡号");
    setKeyValue(12, "3");
    setKeyValue(13, "0");
    setKeyValue(14, " 4 ");
    setKeyValue(15, "6");
    ASSERT_TRUE(db().insert("KeyValue", {{"F_Value", "seventeenth"}}));

    LoginService service(*data, Mode::FirstLogin);
    EXPECT_EQ(service.rememberedCode(), QString());
    ASSERT_EQ(service.submit("007", "abc"), Outcome::Accepted);
    EXPECT_EQ(messenger.count(), 0);

    const LoginState& s = data->login();
    EXPECT_EQ(s.operatorCode, "007");
    EXPECT_EQ(s.operatorName, "张三");
    EXPECT_EQ(s.roleCode, "R1");
    EXPECT_TRUE(s.ownOrdersOnly);
    ASSERT_EQ(s.customValues.size(), 16) << "rows after the 16th are ignored";
    EXPECT_EQ(s.customValues.first(), "保修卡号");
    EXPECT_EQ(s.priceFormat, ",0.00#");
    EXPECT_EQ(s.quantityFormat, "0.");
    EXPECT_EQ(s.moneyFormat, ",0.00##");
    EXPECT_EQ(s.reminderMonths, 6);
    EXPECT_EQ(s.imeName, "中文 - 微软拼音");
    EXPECT_EQ(IniFile(config.path()).value("CONFIG", "curopercode"), "007");
    EXPECT_EQ(LoginService(*data, Mode::ChangeOperator).rememberedCode(), "007");
}

TEST_P(LoginServiceTest, GarbledSettingsRowsFallBackToTheDefaults)
{
    for (const char* bad : {"abc", "", "2.5", "-1", "13", "0x3"}) {
        for (int row = 12; row <= 15; ++row)
            setKeyValue(row, QString::fromUtf8(bad));
        LoginService service(*data, Mode::FirstLogin);
        ASSERT_EQ(service.submit("731", ""), Outcome::Accepted) << bad;
        const LoginState& s = data->login();
        EXPECT_EQ(s.priceFormat, ",0.00") << bad;
        EXPECT_EQ(s.quantityFormat, "0.##") << bad;
        EXPECT_EQ(s.moneyFormat, ",0.00") << bad;
        EXPECT_EQ(s.reminderMonths, 1) << bad;
    }
    // Beyond what the settings window offers: 9 decimals, and a period of no months that
    // would never come round.
    setKeyValue(12, "9");
    setKeyValue(15, "0");
    LoginService service(*data, Mode::FirstLogin);
    ASSERT_EQ(service.submit("731", ""), Outcome::Accepted);
    EXPECT_EQ(data->login().priceFormat, ",0.00");
    EXPECT_EQ(data->login().reminderMonths, 1);
    EXPECT_EQ(messenger.count(), 0);
}

INSTANTIATE_ENGINES(LoginServiceTest);
