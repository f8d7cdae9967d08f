#include "records/repair_window_test.h"

#include "app/main_window.h"
#include "data/record_set.h"
#include "print/report_viewer.h"
#include "records/repair_manager_window.h"
#include "support/modal_driver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

using namespace RepairTestData;

namespace {

// Records what the printing commands would show instead of opening windows.
class RecordingViewer final : public ReportViewer {
public:
    void showPreview(const PreparedReport&) override { ++previews; }
    void showDesigner(Report&) override { ++designs; }
    int previews = 0;
    int designs = 0;
};

// The window works on the real calendar: a repair saved in it is reported today.
const QDate kToday = QDate::currentDate();
const QDate kMonthStart(kToday.year(), kToday.month(), 1);
const QDate kLastMonth = kMonthStart.addDays(-3);

} // namespace

class RepairManagerWindowTest : public RepairWindowTest {
protected:
    void SetUp() override
    {
        RepairWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addOrder(db(), "00000001", {{"F_client", "张三"}, {"F_movePhone", "13812345678"}});
        addOrder(db(), "00000002", {{"F_client", "李四"}, {"F_movePhone", "13900000000"}});
        addRepair(db(), "00000001", "00000001", {{"F_BXdate", kMonthStart}, {"F_WXflag", 0}});
        addRepair(db(), "00000002", "00000002",
                  {{"F_BXdate", kMonthStart}, {"F_WXflag", 1}, {"F_XFdate", QDate(1900, 8, 14)}});
        addRepair(db(), "00000001", "00000003", {{"F_BXdate", kToday}, {"F_WXflag", 2}});
        addRepair(db(), "00000002", "00000004", {{"F_BXdate", kToday}, {"F_WXflag", 0}});
        addRepair(db(), "00000001", "00000005", {{"F_BXdate", kLastMonth}, {"F_WXflag", 0}});
        addPart(db(), "00000002", "皮带", 1, 20);
        addPart(db(), "00000003", "压缩机", 1, 300);
        addPart(db(), "00000003", "皮带", 1, 20);
        addPart(db(), "00000004", "电容", 2, 10);
        addCode(db(), "pjname", "压缩机");
        addCode(db(), "pjname", "皮带");
        // The delivered templates of the window's printed forms.
        const QString delivered = QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + "/../../Qr/";
        ASSERT_TRUE(QDir(home.path()).mkpath("Qr"));
        for (const QString& name : {RepairManagerWindow::listTemplate(), RepairManagerWindow::slipTemplate()})
            ASSERT_TRUE(QFile::copy(delivered + name, QDir(home.path()).filePath("Qr/" + name)));
    }

    void TearDown() override
    {
        window.reset();
        RepairWindowTest::TearDown();
    }

    void open()
    {
        window = std::make_unique<RepairManagerWindow>(*data, nullptr, kToday);
        window->setReportViewer(viewer);
        window->start();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T> T* find(const QString& name) { return child<T>(window.get(), name); }

    // Codes of the listed repairs, in list order.
    QStringList listed()
    {
        RecordSet& repairs = window->repairs();
        repairs.fetchAll();
        QStringList codes;
        for (int row = 0; row < repairs.rowCount(); ++row)
            codes << repairs.value(row, "F_WXcode").toString();
        return codes;
    }
    QString current() { return window->repairs().current("F_WXcode").toString(); }
    QString countPanel() { return find<QLabel>("pnlCount")->text(); }
    void click(const char* name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(find<DataGrid>("DBGridEh1"), Qt::Key(key), modifiers);
    }
    void chooseValue(const QString& type, const QString& value)
    {
        find<QComboBox>("cbbListType")->setCurrentText(type);
        auto* values = find<QTableWidget>("vleList");
        const auto items = values->findItems(value, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << value.toStdString();
        values->setCurrentCell(items.first()->row(), 1);
    }

    RecordingViewer viewer;
    std::unique_ptr<RepairManagerWindow> window;
};

TEST_P(RepairManagerWindowTest, OpeningListsThisMonthsRepairsNotServed)
{
    ASSERT_TRUE(
        db().exec("UPDATE t_WXrec SET F_SFtotalprice = 95, F_XZprice = 30 WHERE F_WXcode = '00000001'"));
    ASSERT_TRUE(
        db().exec("UPDATE t_WXrec SET F_SFtotalprice = 1200.5 WHERE F_WXcode IN ('00000003', '00000004')"));
    open();
    EXPECT_EQ(window->objectName(), "TfrmWXrecMan");
    EXPECT_EQ(window->windowTitle(), "售后维修管理");
    EXPECT_EQ(listed(), QStringList({"00000001", "00000004"}));
    EXPECT_EQ(countPanel(), "记录数：2");
    EXPECT_EQ(find<QDateEdit>("dtpFromDate")->date(), kMonthStart);
    EXPECT_EQ(find<QDateEdit>("dtpToDate")->date(), kToday);
    EXPECT_FALSE(find<QCheckBox>("chkFromDate1")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("chkToDate1")->isChecked());
    EXPECT_EQ(find<QComboBox>("ComboBox1")->currentIndex(), -1);

    auto* values = find<QTableWidget>("vleList");
    EXPECT_EQ(values->horizontalHeaderItem(1)->text(), "顾客姓名");
    ASSERT_EQ(values->rowCount(), 3);
    EXPECT_EQ(values->item(0, 1)->text(), "全部");
    EXPECT_EQ(values->item(0, 0)->text(), "0");
    EXPECT_EQ(values->item(1, 1)->text(), "李四");
    EXPECT_EQ(values->item(2, 1)->text(), "张三");
    EXPECT_EQ(values->item(2, 0)->text(), "2");
    EXPECT_EQ(find<QComboBox>("cbbListType")->count(), 11);

    DataGrid* grid = find<DataGrid>("DBGridEh1");
    ASSERT_EQ(grid->gridColumnCount(), 30);
    EXPECT_EQ(grid->gridColumn(0).title, "顾客姓名");
    EXPECT_EQ(grid->gridColumn(29).title, "修复日期");
    // The footer totals the listed repairs.
    EXPECT_EQ(grid->footerText(0), "合计");
    EXPECT_EQ(grid->footerText(grid->positionOf("F_sfTotalPrice")), "1,295.50");
    EXPECT_EQ(grid->footerText(grid->positionOf("F_XZprice")), "30.00");
    click("rbAll");
    EXPECT_EQ(grid->footerText(grid->positionOf("F_sfTotalPrice")), "2,496.00");
}

TEST_P(RepairManagerWindowTest, StatusChoicesAndTheirColours)
{
    open();
    click("rbAll");
    EXPECT_EQ(listed(), QStringList({"00000001", "00000002", "00000003", "00000004"}));
    click("rbServed");
    EXPECT_EQ(listed(), QStringList({"00000003"}));
    DataGrid* grid = find<DataGrid>("DBGridEh1");
    EXPECT_EQ(grid->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(200, 0, 0));
    click("rbInService");
    EXPECT_EQ(listed(), QStringList({"00000002"}));
    EXPECT_EQ(grid->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 230));
    EXPECT_EQ(countPanel(), "记录数：1");
}

TEST_P(RepairManagerWindowTest, ARepairDateEndCountsOnlyWhenTicked)
{
    open();
    click("rbAll");
    find<QDateEdit>("dtpFromDate1")->setDate(QDate(2000, 1, 1));
    EXPECT_EQ(listed().size(), 4) << "an end without its tick changes nothing";
    EXPECT_FALSE(find<QDateEdit>("dtpFromDate1")->isEnabled());
    click("chkFromDate1");
    EXPECT_EQ(listed(), QStringList({"00000001", "00000003", "00000004"})) << "00000002 has no repair date";
    click("chkFromDate1");
    EXPECT_EQ(listed().size(), 4);
}

TEST_P(RepairManagerWindowTest, SearchingAColumnAndChoosingAnotherClearsTheText)
{
    open();
    click("rbAll");
    auto* type = find<QComboBox>("ComboBox1");
    type->setCurrentText("移动电话");
    auto* text = find<QLineEdit>("Edit1");
    text->setFocus();
    typeText(text, "138");
    EXPECT_EQ(listed(), QStringList({"00000001", "00000003"}));
    type->setCurrentText("家庭地址");
    EXPECT_EQ(text->text(), "");
    EXPECT_EQ(listed().size(), 4);
}

TEST_P(RepairManagerWindowTest, APartNameListsTheRepairsThatUsedIt)
{
    open();
    click("rbAll");
    find<QComboBox>("cbbListType")->setCurrentText("配件名称");
    auto* values = find<QTableWidget>("vleList");
    EXPECT_EQ(values->horizontalHeaderItem(1)->text(), "配件名称");
    ASSERT_EQ(values->rowCount(), 3);
    chooseValue("配件名称", "皮带");
    EXPECT_EQ(listed(), QStringList({"00000002", "00000003"}));
    values->setCurrentCell(0, 1);
    EXPECT_EQ(listed().size(), 4);
}

TEST_P(RepairManagerWindowTest, DeletingARepairTakesItsPartsAndStaysOnTheNextOne)
{
    open();
    click("rbAll");
    window->repairs().setCurrentRow(1);
    ASSERT_EQ(current(), "00000002");
    messenger.answer(Messenger::No);
    press(Qt::Key_Delete);
    EXPECT_EQ(messenger.lastText(), "真的要删除当前维修记录吗？");
    EXPECT_EQ(listed().size(), 4);

    messenger.answer(Messenger::Yes);
    press(Qt::Key_Delete);
    EXPECT_EQ(listed(), QStringList({"00000001", "00000003", "00000004"}));
    EXPECT_EQ(current(), "00000003") << "the repair that followed";
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_PJdetail WHERE F_WXcode = '00000002'"), 0);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_PJdetail"), 3) << "other repairs keep their parts";
    EXPECT_EQ(countPanel(), "记录数：3");

    // The last one: the list stands on the one before.
    window->repairs().setCurrentRow(2);
    messenger.answer(Messenger::Yes);
    press(Qt::Key_Delete);
    EXPECT_EQ(listed(), QStringList({"00000001", "00000003"}));
    EXPECT_EQ(current(), "00000003");
    EXPECT_EQ(window->parts().rowCount(), 2) << "the parts of the repair it stands on";

    // An empty list asks nothing.
    click("rbInService");
    messenger.clear();
    press(Qt::Key_Delete);
    EXPECT_EQ(messenger.count(), 0);
}

TEST_P(RepairManagerWindowTest, EditingAnEmptyListIsRefused)
{
    open();
    click("rbInService");
    find<QDateEdit>("dtpFromDate")->setDate(kToday.addDays(1));
    ASSERT_TRUE(listed().isEmpty());
    press(Qt::Key_E, Qt::ControlModifier);
    click("tbEdit");
    EXPECT_EQ(messenger.texts(),
              QStringList({"此表为空，没有记录需要修改！", "此表为空，没有记录需要修改！"}));
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
}

TEST_P(RepairManagerWindowTest, PrintingAnEmptyListDoesNothing)
{
    open();
    auto trigger = [this](const char* name) { find<QAction>(name)->trigger(); };
    trigger("actPrintList");
    trigger("actPrintSlip");
    EXPECT_EQ(viewer.previews, 2);
    EXPECT_EQ(messenger.count(), 0) << messenger.lastText().toStdString();
    click("rbInService");
    find<QDateEdit>("dtpFromDate")->setDate(kToday.addDays(1));
    ASSERT_TRUE(listed().isEmpty());
    trigger("actPrintList");
    trigger("actPrintSlip");
    EXPECT_EQ(viewer.previews, 2);
    EXPECT_EQ(messenger.count(), 0);
    trigger("actDesignList");
    trigger("actDesignSlip");
    EXPECT_EQ(viewer.designs, 2) << "the designer opens whatever the list holds";
    EXPECT_EQ(RepairManagerWindow::printedRange(QDate(2024, 5, 1), QDate(2024, 5, 20)),
              "统计日期：自 2024-05-01 至 2024-05-20");
}

TEST_P(RepairManagerWindowTest, TheMovesAreOfferedWhereTheyLead)
{
    open();
    click("rbAll");
    const auto enabled = [this] {
        QString states;
        for (const char* name : {"tbFirst", "tbPrior", "tbNext", "tbLast"})
            states += find<QToolButton>(name)->isEnabled() ? '1' : '0';
        return states;
    };
    EXPECT_EQ(current(), "00000001");
    EXPECT_EQ(enabled(), "0011");
    press(Qt::Key_PageDown);
    EXPECT_EQ(current(), "00000002");
    EXPECT_EQ(enabled(), "1111");
    press(Qt::Key_End);
    EXPECT_EQ(current(), "00000004");
    EXPECT_EQ(enabled(), "1100");
    press(Qt::Key_PageUp);
    EXPECT_EQ(current(), "00000003");
    press(Qt::Key_Home);
    EXPECT_EQ(current(), "00000001");
    EXPECT_EQ(enabled(), "0011");
}

TEST_P(RepairManagerWindowTest, ANewRepairComesThroughTheEditorAndTheListStandsOnIt)
{
    open();
    whenModalOpens([](QWidget* editor) {
        EXPECT_EQ(editor->objectName(), "TfrmWXrecEdit1");
        EXPECT_EQ(editor->findChild<QLineEdit*>("edtWXcode")->text(), "00000006");
        editor->findChild<QComboBox*>("cbbFWtype")->setEditText("上门维修");
        editor->findChild<QPlainTextEdit*>("Memo1")->setPlainText("O'Brien 说 100% 不制冷");
        QTest::mouseClick(editor->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    click("tbAdd");
    EXPECT_EQ(messenger.count(), 0) << messenger.lastText().toStdString();
    EXPECT_EQ(listed(), QStringList({"00000001", "00000004", "00000006"}));
    EXPECT_EQ(current(), "00000006");
    EXPECT_EQ(countPanel(), "记录数：3");
    EXPECT_EQ(column(db(), "SELECT F_memo1 FROM t_WXrec WHERE F_WXcode = '00000006'"),
              QStringList{"O'Brien 说 100% 不制冷"});

    // 修改 opens it on the current repair.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    whenModalOpens([](QWidget* editor) {
        EXPECT_EQ(editor->findChild<QLineEdit*>("edtWXcode")->text(), "00000006");
        editor->findChild<QRadioButton*>("rbWXflag1")->setChecked(true);
        QTest::mouseClick(editor->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(column(db(), "SELECT F_WXflag FROM t_WXrec WHERE F_WXcode = '00000006'"), QStringList{"1"});
    EXPECT_EQ(listed(), QStringList({"00000001", "00000004"})) << "no longer 未服务";
}

TEST_P(RepairManagerWindowTest, TheMainWindowOpensTheWindowAndTheRepairTabsEditor)
{
    addOrder(db(), "00000003", {{"F_client", "王五"}, {"F_buyDate", kToday}, {"F_status", "未服务"}});
    MainWindow main(*data);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    ASSERT_EQ(main.orders().current("F_code").toString(), "00000003");

    QString opened;
    whenModalOpens([&](QWidget* window) {
        opened = window->objectName();
        window->close();
    });
    main.findChild<QAction*>("Action209")->trigger();
    EXPECT_EQ(opened, "TfrmWXrecMan");

    main.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(2);
    QString customer;
    whenModalOpens([&](QWidget* window) {
        opened = window->objectName();
        customer = window->findChild<QPlainTextEdit*>("mmoCustomer")->toPlainText();
        window->findChild<QComboBox*>("cbbFWtype")->setEditText("上门维修");
        QTest::mouseClick(window->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    main.findChild<QAction*>("Action601")->trigger();
    EXPECT_EQ(opened, "TfrmWXrecEdit");
    EXPECT_TRUE(customer.contains("顾客姓名:王五")) << customer.toStdString();
    EXPECT_EQ(column(db(), "SELECT F_code FROM t_WXrec WHERE F_WXcode = '00000006'"),
              QStringList{"00000003"});
    EXPECT_EQ(main.repairs().current("F_WXcode").toString(), "00000006");
}

INSTANTIATE_ENGINES(RepairManagerWindowTest);
