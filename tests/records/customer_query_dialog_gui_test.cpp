#include "records/record_window_test.h"

#include "app/main_window.h"
#include "data/record_set.h"
#include "print/report_viewer.h"
#include "records/customer_query.h"
#include "records/customer_query_dialog.h"
#include "support/modal_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace RecordRows;

namespace {

const QDate kToday(2024, 5, 20);

class NoViewer final : public ReportViewer {
public:
    void showPreview(const PreparedReport&) override {}
    void showDesigner(Report&) override {}
};

QStringList items(QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

} // namespace

class CustomerQueryDialogTest : public RecordWindowTest {
protected:
    void SetUp() override
    {
        RecordWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addOrder(db(), "00000001",
                 {{"F_client", "张三"},
                  {"F_phone", "13812345678"},
                  {"F_status", "正在服务"},
                  {"F_buyDate", QDate(2024, 5, 10)},
                  {"F_EditEmp", "赵修改"}});
        addOrder(db(), "00000002",
                 {{"F_client", "O'Brien 100%"},
                  {"F_phone", "02138000"},
                  {"F_buyDate", QDate(1900, 8, 14)},
                  {"F_OperName", "李敏"}});
        addOrder(db(), "00000003", {{"F_client", "王五"}, {"F_buyDate", QDate(2024, 4, 2)}});
        addCode(db(), "area", "海淀区");
        addCode(db(), "PStype", "送货");
    }

    void open()
    {
        dialog = std::make_unique<CustomerQueryDialog>(*data, nullptr, kToday);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    void TearDown() override
    {
        dialog.reset();
        RecordWindowTest::TearDown();
    }

    template <typename T> T* find(const QString& name) { return child<T>(dialog.get(), name); }

    QStringList found(const SqlCondition& where)
    {
        const SqlStatement list = CustomerQuery::list(where, data->login());
        return codes(db(), list.sql, list.values);
    }

    std::unique_ptr<CustomerQueryDialog> dialog;
};

TEST_P(CustomerQueryDialogTest, OpensWithBothRangesOffOverThisMonth)
{
    open();
    EXPECT_EQ(dialog->objectName(), "TDlgCltCx");
    EXPECT_EQ(dialog->windowTitle(), "客户查询对话框");
    EXPECT_EQ(find<QPushButton>("btnQuery")->text(), "查询(&P)");
    EXPECT_EQ(find<QPushButton>("btnClose")->text(), "关闭(&C)");
    for (const char* range : {"CheckBox1", "CheckBox2"})
        EXPECT_FALSE(find<QCheckBox>(range)->isChecked()) << range;
    EXPECT_EQ(find<QCheckBox>("CheckBox1")->text(), "购买日期：自");
    EXPECT_EQ(find<QCheckBox>("CheckBox2")->text(), "安装时间：自");
    for (const char* from : {"dtpfromDate", "dtpfromDate1"}) {
        EXPECT_EQ(find<QDateEdit>(from)->date(), QDate(2024, 5, 1)) << from;
        EXPECT_FALSE(find<QDateEdit>(from)->isEnabled()) << from;
    }
    for (const char* to : {"dtptoDate", "dtptoDate1"})
        EXPECT_EQ(find<QDateEdit>(to)->date(), kToday) << to;
    for (const char* tick : {"cbfromDate", "cbtoDate", "cbfromDate1", "cbtoDate1"})
        EXPECT_TRUE(find<QCheckBox>(tick)->isChecked()) << tick;
    EXPECT_TRUE(dialog->condition().isEmpty());

    // A range's pickers are there only while it is ticked, each date only while its own box is.
    find<QCheckBox>("CheckBox1")->setChecked(true);
    EXPECT_TRUE(find<QDateEdit>("dtpfromDate")->isEnabled());
    EXPECT_TRUE(find<QDateEdit>("dtptoDate")->isEnabled());
    EXPECT_FALSE(find<QDateEdit>("dtpfromDate1")->isEnabled());
    find<QCheckBox>("cbfromDate")->setChecked(false);
    EXPECT_FALSE(find<QDateEdit>("dtpfromDate")->isEnabled());
    EXPECT_TRUE(find<QDateEdit>("dtptoDate")->isEnabled());

    // Nothing chosen in any list.
    for (const char* list : {"cbbStatus", "cbbFWtype", "cbbPStype", "cbbFWtaidu", "cbbArea", "cbbOperName"})
        EXPECT_EQ(find<QComboBox>(list)->currentText(), "") << list;
    EXPECT_EQ(items(find<QComboBox>("cbbStatus")), QStringList({"未服务", "正在服务", "已服务"}));
    EXPECT_EQ(items(find<QComboBox>("cbbFWtype")), QStringList({"安装", "维修", "送货"}));
    EXPECT_EQ(items(find<QComboBox>("cbbPStype")), QStringList({"", "送货"}));
    EXPECT_EQ(items(find<QComboBox>("cbbOperName")), QStringList({"李敏", "杨东"}));
    EXPECT_EQ(items(find<QComboBox>("cbbEditEmp")), QStringList({"赵修改"}));
}

TEST_P(CustomerQueryDialogTest, WhatIsTypedFindsTheOrders)
{
    open();
    struct Case {
        const char* name;
        std::function<void()> input;
        QStringList codes;
    };
    const QList<Case> cases = {
        {"nothing", [] {}, {"00000001", "00000002", "00000003"}},
        {"fixed telephone starts with 138",
         [&] { typeText(find<QLineEdit>("edtPhone"), "138"); },
         {"00000001"}},
        {"a quote in the name", [&] { typeText(find<QLineEdit>("edtClient"), "'Brien"); }, {"00000002"}},
        {"a percent sign stays a wildcard",
         [&] { typeText(find<QLineEdit>("edtClient"), "%"); },
         {"00000001", "00000002", "00000003"}},
        {"status typed into its list", [&] { typeText(find<QComboBox>("cbbStatus"), "正在"); }, {"00000001"}},
        {"purchase this month", [&] { find<QCheckBox>("CheckBox1")->setChecked(true); }, {"00000001"}},
        {"purchase up to today from the no-date value",
         [&] {
             find<QCheckBox>("CheckBox1")->setChecked(true);
             find<QCheckBox>("cbfromDate")->setChecked(false);
         },
         {"00000001", "00000002", "00000003"}},
        {"the operator who entered it",
         [&] { find<QComboBox>("cbbOperName")->setCurrentText("李敏"); },
         {"00000002"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog.reset();
        open();
        c.input();
        EXPECT_EQ(found(dialog->condition()), c.codes);
    }
}

TEST_P(CustomerQueryDialogTest, CodeListsAreReadAgainWhenEntered)
{
    open();
    auto* area = find<QComboBox>("cbbArea");
    EXPECT_EQ(items(area), QStringList{"海淀区"});
    typeText(area, "朝");
    addCode(db(), "area", "朝阳区");
    find<QLineEdit>("edtClient")->setFocus();
    area->setFocus();
    EXPECT_EQ(items(area), QStringList({"海淀区", "朝阳区"}));
    EXPECT_EQ(area->currentText(), "朝");

    auto* category = find<QComboBox>("cbbPStype");
    category->setCurrentText("送货");
    addCode(db(), "PStype", "安装");
    category->setFocus();
    EXPECT_EQ(items(category), QStringList({"", "送货", "安装"}));
    EXPECT_EQ(category->currentText(), "送货");
}

TEST_P(CustomerQueryDialogTest, QueryAcceptsAndCloseGivesNothing)
{
    struct Case {
        const char* name;
        std::function<void(QWidget*)> finish;
        bool accepted;
    };
    const QList<Case> cases = {
        {"查询(&P)",
         [](QWidget* w) { QTest::mouseClick(w->findChild<QPushButton*>("btnQuery"), Qt::LeftButton); }, true},
        {"Ctrl+S",
         [](QWidget* w) {
             QTest::keyClick(w->findChild<QLineEdit*>("edtClient"), Qt::Key_S, Qt::ControlModifier);
         },
         true},
        {"关闭(&C)",
         [](QWidget* w) { QTest::mouseClick(w->findChild<QPushButton*>("btnClose"), Qt::LeftButton); },
         false},
        {"Esc", [](QWidget* w) { QTest::keyClick(w->findChild<QLineEdit*>("edtClient"), Qt::Key_Escape); },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        whenModalOpens([&](QWidget* modal) {
            auto* name = modal->findChild<QLineEdit*>("edtClient");
            name->setFocus();
            typeText(name, "张");
            // Enter moves on as Tab does instead of closing the dialog.
            QTest::keyClick(name, Qt::Key_Return);
            EXPECT_EQ(modal->focusWidget(), modal->findChild<QLineEdit*>("edtPhone"));
            c.finish(modal);
        });
        const std::optional<SqlCondition> where = CustomerQueryDialog::ask(*data);
        ASSERT_EQ(where.has_value(), c.accepted);
        if (where) {
            EXPECT_EQ(found(*where), QStringList{"00000001"});
        }
    }
}

TEST_P(CustomerQueryDialogTest, TheMainWindowsAdvancedSearchListsWhatTheDialogFinds)
{
    MainWindow window(*data);
    NoViewer viewer;
    window.setReportViewer(viewer);
    window.applyLogin();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* toggle = child<QPushButton>(&window, "SpeedButton2");
    auto* count = child<QLabel>(&window, "pnlCount");

    whenModalOpens([](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), "TDlgCltCx");
        auto* name = modal->findChild<QLineEdit*>("edtClient");
        typeText(name, "O'B");
        QTest::keyClick(name, Qt::Key_S, Qt::ControlModifier);
    });
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(toggle->isChecked());
    window.orders().fetchAll();
    ASSERT_EQ(window.orders().rowCount(), 1);
    EXPECT_EQ(window.orders().value(0, "F_code").toString(), "00000002");
    EXPECT_EQ(count->text(), "客户总数：1");

    // Pressed again: the ordinary list.
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked());

    // Closing the dialog releases the button.
    whenModalOpens([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_TRUE(messenger.texts().isEmpty()) << messenger.texts().join(' ').toStdString();
}

INSTANTIATE_ENGINES(CustomerQueryDialogTest);
