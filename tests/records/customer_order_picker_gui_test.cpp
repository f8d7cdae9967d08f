#include "records/record_window_test.h"

#include "records/customer_order_picker.h"
#include "support/modal_driver.h"
#include "widgets/data_grid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace RecordRows;

namespace {
// The picker's entry opens on the real date, so the orders are dated from it.
const QDate kToday = QDate::currentDate();
const QDate kFirstShown = QDate(kToday.addMonths(-3).year(), kToday.addMonths(-3).month(), 1);
} // namespace

class CustomerOrderPickerTest : public RecordWindowTest {
protected:
    void SetUp() override
    {
        RecordWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addOrder(
            db(), "00000001",
            {{"F_client", "张三"}, {"F_phone", "01013800"}, {"F_area", "海淀区"}, {"F_buyDate", kToday}});
        addOrder(db(), "00000002",
                 {{"F_client", "张三丰"},
                  {"F_movePhone", "13800001111"},
                  {"F_area", "朝阳区"},
                  {"F_buyDate", kFirstShown}});
        addOrder(db(), "00000003", {{"F_client", "李四"}, {"F_buyDate", kFirstShown.addDays(-1)}});
        addCode(db(), "area", "海淀区");
        addCode(db(), "area", "朝阳区");
    }

    void TearDown() override
    {
        picker.reset();
        RecordWindowTest::TearDown();
    }

    void open(const QString& code)
    {
        picker = std::make_unique<CustomerOrderPicker>(*data, nullptr, kToday);
        picker->start(code);
        picker->show();
        picker->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(picker.get()));
    }

    template <typename T> T* find(const QString& name) { return child<T>(picker.get(), name); }

    QStringList listed()
    {
        RecordSet& orders = picker->orders();
        orders.fetchAll();
        QStringList list;
        for (int row = 0; row < orders.rowCount(); ++row)
            list << orders.value(row, "F_code").toString();
        return list;
    }

    QStringList valueList()
    {
        auto* values = find<QTableWidget>("vleList");
        QStringList list;
        for (int row = 0; row < values->rowCount(); ++row)
            list << values->item(row, 1)->text();
        return list;
    }

    std::unique_ptr<CustomerOrderPicker> picker;
};

TEST_P(CustomerOrderPickerTest, OpensOnThreeMonthsByAreaWithTheGivenOrderCurrent)
{
    open("00000002");
    EXPECT_EQ(picker->objectName(), "TDLGclientXZ");
    EXPECT_EQ(picker->windowTitle(), "安装派送记录选择");
    EXPECT_EQ(find<QDateEdit>("dtpFromDate")->date(), kFirstShown);
    EXPECT_EQ(find<QDateEdit>("dtpToDate")->date(), kToday);
    EXPECT_EQ(find<QComboBox>("cbbListType")->currentText(), "区    域");
    EXPECT_EQ(valueList(), QStringList({"全部", "朝阳区", "海淀区"}));
    EXPECT_EQ(find<QTableWidget>("vleList")->horizontalHeaderItem(1)->text(), "区    域");
    EXPECT_EQ(listed(), QStringList({"00000001", "00000002"}));
    EXPECT_EQ(picker->orders().current("F_code").toString(), "00000002");
    // The main list's columns without the service attitude.
    auto* grid = find<DataGrid>("DBGridEh1");
    EXPECT_EQ(grid->fieldName(0), "F_client");
    EXPECT_EQ(grid->positionOf("F_FWtaidu"), -1);
    EXPECT_GE(grid->positionOf("F_PStype"), 0);
    EXPECT_TRUE(find<QPushButton>("Button1")->isDefault());
    EXPECT_EQ(find<QPushButton>("Button3")->text(), "新增安装派工");
}

TEST_P(CustomerOrderPickerTest, FiltersValueListAndDatesListAgainAtOnce)
{
    open("");
    auto* phone = find<QLineEdit>("edtPhone");
    typeText(phone, "138");
    EXPECT_EQ(listed(), QStringList({"00000001", "00000002"})); // fixed or mobile, anywhere
    phone->clear();
    typeText(find<QLineEdit>("edtClient"), "张三丰");
    EXPECT_EQ(listed(), QStringList{"00000002"});
    find<QLineEdit>("edtClient")->clear();
    typeText(find<QLineEdit>("edtClient"), "三");
    EXPECT_EQ(listed(), QStringList()); // the name must start with it
    find<QLineEdit>("edtClient")->clear();
    typeText(find<QLineEdit>("edtAddress"), "'");
    EXPECT_EQ(listed(), QStringList());
    find<QLineEdit>("edtAddress")->clear();

    auto* values = find<QTableWidget>("vleList");
    values->setCurrentCell(1, 1); // 朝阳区
    EXPECT_EQ(listed(), QStringList{"00000002"});
    // Another list type starts again from "全部".
    find<QComboBox>("cbbListType")->setCurrentText("服务类别");
    EXPECT_EQ(values->currentRow(), 0);
    EXPECT_EQ(valueList(), QStringList{"全部"});
    EXPECT_EQ(listed(), QStringList({"00000001", "00000002"}));

    find<QDateEdit>("dtpFromDate")->setDate(kFirstShown.addMonths(-1));
    EXPECT_EQ(listed(), QStringList({"00000001", "00000002", "00000003"}));
}

TEST_P(CustomerOrderPickerTest, GivesBackTheChosenOrderOrTheCodeItWasGiven)
{
    struct Case {
        const char* name;
        QString given;
        std::function<void(QWidget*)> act;
        QString expected;
    };
    const QList<Case> cases = {
        {"确定 on the preselected order", "00000002",
         [](QWidget* w) { QTest::mouseClick(w->findChild<QPushButton*>("Button1"), Qt::LeftButton); },
         "00000002"},
        {"double-click on a row", "00000002",
         [](QWidget* w) {
             auto* grid = w->findChild<DataGrid*>("DBGridEh1");
             // The grid reads its first rows once it is laid out.
             EXPECT_TRUE(QTest::qWaitFor([grid] { return grid->model()->rowCount() > 0; }));
             const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
             QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
             QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
         },
         "00000001"},
        // Older than the three months shown: not preselected, and cancelling gives it back.
        {"取消 with an old order", "00000003",
         [](QWidget* w) { QTest::mouseClick(w->findChild<QPushButton*>("Button2"), Qt::LeftButton); },
         "00000003"},
        {"Esc", "00000001", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, "00000001"},
        {"确定 on an empty list", "00000003",
         [](QWidget* w) {
             typeText(w->findChild<QLineEdit*>("edtClient"), "没有这个人");
             QTest::mouseClick(w->findChild<QPushButton*>("Button1"), Qt::LeftButton);
         },
         "00000003"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        whenModalOpens(c.act);
        EXPECT_EQ(CustomerOrderPicker::pick(*data, c.given), c.expected);
    }
}

TEST_P(CustomerOrderPickerTest, NewOrderIsRecordedInTheOrderEditorAndShownAtOnce)
{
    open("00000001");
    // Cancelled: nothing is written and the list stays where it was.
    whenModalOpens([](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), "TfrmCltEdit");
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QTest::mouseClick(find<QPushButton>("Button3"), Qt::LeftButton);
    EXPECT_EQ(count(db(), "t_client"), 3);
    EXPECT_EQ(picker->orders().current("F_code").toString(), "00000001");

    // Saved: only the name is needed here, and the list stands on the new order.
    whenModalOpens([](QWidget* modal) {
        typeText(modal->findChild<QLineEdit*>("edtClient"), "新顾客");
        QTest::mouseClick(modal->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    QTest::mouseClick(find<QPushButton>("Button3"), Qt::LeftButton);
    EXPECT_EQ(count(db(), "t_client"), 4);
    EXPECT_EQ(picker->orders().current("F_client").toString(), "新顾客");
    EXPECT_EQ(picker->orders().current("F_code").toString(), "00000004");
}

TEST_P(CustomerOrderPickerTest, GoodsLinesKeepTheirAmountAtQuantityTimesPrice)
{
    open("");
    RecordSet& lines = picker->goodsLines();
    ASSERT_TRUE(lines.open(db(), "SELECT * FROM t_HPrec WHERE F_code = ? ORDER BY F_ID", {"00000009"}));
    const int row = lines.appendRow();
    lines.setValue(row, "F_amount", 2.0);
    lines.setValue(row, "F_price", 1500.0);
    EXPECT_EQ(lines.value(row, "F_totalprice").toDouble(), 3000.0);
    lines.setValue(row, "F_amount", 3.0);
    EXPECT_EQ(lines.value(row, "F_totalprice").toDouble(), 4500.0);
    EXPECT_EQ(lines.updateTable(), "t_HPrec");
}

INSTANTIATE_ENGINES(CustomerOrderPickerTest);
