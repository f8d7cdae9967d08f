#include "support/test_database.h"

#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/scripted_messenger.h"
#include "operators/login_dialog.h"
#include "operators/password_hash.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Mode = LoginService::Mode;

namespace {

class LoginDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.ok()) << database.error().toStdString();
        config.load(QDir(home.path()).filePath("config.ini"));
        data = std::make_unique<DataModule>(database.db(), messenger, config, home.path());
        ASSERT_TRUE(database.db().insert("OperList", {{"F_Code", "007"},
                                                      {"F_Name", "张三"},
                                                      {"F_PassWord", PasswordHash::hash("abc")},
                                                      {"F_PartCode", "R1"},
                                                      {"F_Flag", false},
                                                      {"F_xtFlag", false}}));
    }

    // Shown and active, as the modal window is for the user.
    std::unique_ptr<LoginDialog> open(Mode mode)
    {
        auto dialog = std::make_unique<LoginDialog>(*data, mode);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }

    template <typename T> static T* child(QWidget* dialog, const char* name)
    {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    TestDatabase database{TestEngine::Sqlite};
    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
};

} // namespace

TEST_F(LoginDialogTest, ShowsTheRememberedOperatorAndWaitsForHisPassword)
{
    config.setValue("Config", "CurOperCode", "007");
    auto dialog = open(Mode::FirstLogin);
    EXPECT_EQ(dialog->objectName(), "TfrmOperLogin");
    EXPECT_EQ(dialog->windowTitle(), "登录窗口");
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "fixed size";
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(child<QLabel>(dialog.get(), "lblHint")->text(),
              "请输入正确的操作员编号及密码，系统超级用户编号“731”，系统初始密码为空：");
    auto* name = child<QLineEdit>(dialog.get(), "edtOperName");
    EXPECT_TRUE(name->isReadOnly());
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "edtPassWord")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QLineEdit>(dialog.get(), "edtOperCode")->text(), "007");
    EXPECT_EQ(name->text(), "张三");
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "edtPassWord");
}

TEST_F(LoginDialogTest, KeyboardOnlyLogin)
{
    auto dialog = open(Mode::FirstLogin);
    auto* code = child<QLineEdit>(dialog.get(), "edtOperCode");
    auto* name = child<QLineEdit>(dialog.get(), "edtOperName");
    ASSERT_EQ(QApplication::focusWidget(), code);
    EXPECT_TRUE(name->text().isEmpty());

    QTest::keyClicks(code, "007");
    EXPECT_TRUE(name->text().isEmpty()) << "the name follows when the field is left";
    QTest::keyClick(code, Qt::Key_Return);
    EXPECT_EQ(name->text(), "张三");
    QWidget* focused = QApplication::focusWidget();
    ASSERT_EQ(focused->objectName(), "edtPassWord");
    QTest::keyClicks(focused, "abc");
    QTest::keyClick(focused, Qt::Key_Enter, Qt::KeypadModifier);
    focused = QApplication::focusWidget();
    ASSERT_EQ(focused->objectName(), "btnOk");
    EXPECT_TRUE(dialog->isVisible()) << "Enter in a field moves on, it does not press OK";
    QTest::keyClick(focused, Qt::Key_Return);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(data->login().operatorCode, "007");
    EXPECT_EQ(data->login().operatorName, "张三");
    EXPECT_EQ(messenger.count(), 0);
}

TEST_F(LoginDialogTest, FourthWrongPasswordClosesTheWindowAsCancelled)
{
    const struct {
        Mode mode;
        const char* finalMessage;
    } cases[] = {{Mode::FirstLogin, "非法操作员!"}, {Mode::ChangeOperator, "更换操作员失败!"}};
    for (const auto& c : cases) {
        messenger.clear();
        auto dialog = open(c.mode);
        auto* code = child<QLineEdit>(dialog.get(), "edtOperCode");
        auto* password = child<QLineEdit>(dialog.get(), "edtPassWord");
        auto* ok = child<QPushButton>(dialog.get(), "btnOk");
        QTest::keyClicks(code, "007");
        QTest::keyClick(code, Qt::Key_Return);
        QTest::keyClicks(password, "wrong");
        for (int attempt = 1; attempt <= 3; ++attempt) {
            QTest::mouseClick(ok, Qt::LeftButton);
            ASSERT_TRUE(dialog->isVisible()) << attempt;
            EXPECT_EQ(messenger.lastText(), "用户名或密码不正确，请重新输入！");
            EXPECT_EQ(password->text(), "wrong") << "the fields stay as they are";
            EXPECT_EQ(code->text(), "007");
        }
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(messenger.count(), 4);
        EXPECT_EQ(messenger.lastText(), QString::fromUtf8(c.finalMessage));
        EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
        EXPECT_TRUE(data->login().operatorCode.isEmpty());
    }
}

TEST_F(LoginDialogTest, UnknownCodeLeavesTheNameEmptyAndReturnsToTheCode)
{
    config.setValue("Config", "CurOperCode", "007");
    auto dialog = open(Mode::ChangeOperator);
    auto* code = child<QLineEdit>(dialog.get(), "edtOperCode");
    auto* name = child<QLineEdit>(dialog.get(), "edtOperName");
    code->setFocus();
    code->selectAll();
    QTest::keyClicks(code, "999");
    QTest::keyClick(code, Qt::Key_Tab);
    EXPECT_TRUE(name->text().isEmpty());
    QTest::mouseClick(child<QPushButton>(dialog.get(), "btnOk"), Qt::LeftButton);
    EXPECT_EQ(messenger.texts(), QStringList{"此操作员并不存在，请重新选择操作员！"});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), code);
    EXPECT_EQ(dialog->failures(), 0);
}

TEST_F(LoginDialogTest, ClosesOnlyThroughCancelOrEsc)
{
    for (const bool escape : {false, true}) {
        auto dialog = open(Mode::FirstLogin);
        EXPECT_FALSE(dialog->close()) << "title bar and Alt+F4 are swallowed";
        EXPECT_TRUE(dialog->isVisible());
        if (escape)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            QTest::mouseClick(child<QPushButton>(dialog.get(), "btnCancel"), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible()) << escape;
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
    EXPECT_EQ(messenger.count(), 0);
    EXPECT_TRUE(data->login().operatorCode.isEmpty());
}
