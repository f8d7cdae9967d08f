#include "support/test_database.h"

#include "app/ini_file.h"
#include "app/main_window.h"
#include "data/data_module.h"
#include "data/scripted_messenger.h"
#include "data/sql_value.h"
#include "print/report_viewer.h"
#include "support/modal_driver.h"
#include "reference/code_tree_items.h"
#include "widgets/data_grid.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace {

const QDate kToday(2024, 5, 20); // a Monday
const QDate kInMonth(2024, 5, 10);

// Records what the printing commands would show instead of opening windows.
class RecordingViewer final : public ReportViewer {
public:
    void showPreview(const PreparedReport&) override { ++previews; }
    void showDesigner(Report&) override { ++designs; }
    int previews = 0;
    int designs = 0;
};

// Types the text key by key, Chinese characters included (which the ASCII key table of QTest
// cannot name).
void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class MainWindowTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        config.load(QDir(home.path()).filePath("config.ini"));
        data = std::make_unique<DataModule>(db(), messenger, config, home.path());
        data->login().operatorCode = "731";
        data->login().operatorName = "系统管理员";
    }

    void TearDown() override
    {
        window.reset();
        data.reset();
        EngineTest::TearDown();
    }

    void addOrder(const QString& code, const SqlValues& fields = {})
    {
        SqlValues row = {{"F_code", code},       {"F_client", "顾客" + code}, {"F_buyDate", kInMonth},
                         {"F_status", "未服务"}, {"F_OperName", "杨东"},      {"F_area", "海淀区"}};
        for (const auto& [column, value] : fields) {
            bool replaced = false;
            for (auto& [name, old] : row) {
                if (name == column) {
                    old = value;
                    replaced = true;
                }
            }
            if (!replaced)
                row.append({column, value});
        }
        ASSERT_TRUE(db().insert("t_client", row)) << db().lastError().toStdString();
    }

    void addLine(const QString& order, const SqlValues& fields)
    {
        SqlValues row = fields;
        row.prepend({"F_code", order});
        ASSERT_TRUE(db().insert("t_HPrec", row)) << db().lastError().toStdString();
    }

    // The window as the program shows it after a login.
    void open()
    {
        window = std::make_unique<MainWindow>(*data);
        window->setReportViewer(viewer);
        window->setToday(kToday);
        window->setUrlOpener([this](const QUrl& url) {
            openedUrls << url;
            return true;
        });
        window->setProgramStarter([this](const QString& program, const QStringList& arguments) {
            started << (QStringList{program} + arguments).join(' ');
            return true;
        });
        window->applyLogin();
        window->show();
        // Shortcuts reach the active window only.
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T> T* find(const QString& name)
    {
        T* child = window->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }
    QAction* action(const QString& name) { return find<QAction>(name); }

    // Codes of the listed orders, in list order.
    QStringList listed()
    {
        RecordSet& orders = window->orders();
        orders.fetchAll();
        QStringList codes;
        for (int row = 0; row < orders.rowCountLoaded(); ++row)
            codes << orders.value(row, "F_code").toString();
        return codes;
    }

    QString countPanel() { return find<QLabel>("pnlCount")->text(); }

    void chooseStatusAll() { QTest::mouseClick(find<QRadioButton>("rbAll"), Qt::LeftButton); }

    void search(const QString& field, const QString& typed)
    {
        find<QComboBox>("ComboBox1")->setCurrentText(field);
        auto* edit = find<QLineEdit>("Edit1");
        edit->clear();
        typeText(edit, typed);
    }

    int errorsWith(const QString& text)
    {
        int n = 0;
        for (const auto& m : messenger.messages())
            n += m.text == text && m.kind == Messenger::Error;
        return n;
    }

    double stock(const QString& goods)
    {
        return db()
            .scalar("SELECT F_amount FROM t_goods WHERE F_code = ?", {goods})
            .value_or(QVariant())
            .toDouble();
    }

    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
    RecordingViewer viewer;
    std::unique_ptr<MainWindow> window;
    QList<QUrl> openedUrls;
    QStringList started;
};

TEST_P(MainWindowTest, StartsOnThisMonthsOpenOrdersAndCountsThem)
{
    addOrder("00000001");
    addOrder("00000002", {{"F_status", "已服务"}});
    addOrder("00000003", {{"F_buyDate", QDate(2024, 4, 30)}});
    open();
    EXPECT_EQ(find<QDateEdit>("dtpFromDate")->date(), QDate(2024, 5, 1));
    EXPECT_EQ(find<QDateEdit>("dtpToDate")->date(), kToday);
    EXPECT_EQ(listed(), QStringList{"00000001"});
    EXPECT_EQ(countPanel(), "客户总数：1");
    EXPECT_EQ(find<QLabel>("pnlOperator")->text(), " 系统管理员");
    EXPECT_EQ(find<QLabel>("pnlUserCaption")->text(), " 当前用户");
    EXPECT_TRUE(window->windowTitle().startsWith("Corvalin v"));

    chooseStatusAll();
    EXPECT_EQ(listed(), (QStringList{"00000001", "00000002"}));
    find<QDateEdit>("dtpFromDate")->setDate(QDate(2024, 4, 1));
    EXPECT_EQ(listed(), (QStringList{"00000001", "00000002", "00000003"}));
    EXPECT_EQ(countPanel(), "客户总数：3");
    QTest::mouseClick(find<QRadioButton>("rbServed"), Qt::LeftButton);
    EXPECT_EQ(listed(), QStringList{"00000002"});
    EXPECT_EQ(messenger.count(), 0) << messenger.texts().join('\n').toStdString();
}

TEST_P(MainWindowTest, OwnOrdersOnlyOperatorSeesOnlyHisOrders)
{
    addOrder("00000001", {{"F_OperName", "苏浩"}});
    addOrder("00000002", {{"F_OperName", "杨东"}});
    addOrder("00000003", {{"F_OperName", "苏浩"}, {"F_status", "已服务"}});
    data->login().operatorName = "苏浩";
    data->login().ownOrdersOnly = true;
    open();
    chooseStatusAll();
    EXPECT_EQ(listed(), (QStringList{"00000001", "00000003"}));
    search("顾客姓名", "顾客");
    EXPECT_EQ(listed(), (QStringList{"00000001", "00000003"}));
    EXPECT_EQ(countPanel(), "客户总数：2");
}

TEST_P(MainWindowTest, TypingIntoTheSearchValueListsAtOnceForEachField)
{
    addOrder("00000001", {{"F_client", "王小明"}, {"F_movePhone", "13800138000"}, {"F_memo2", "满意"}});
    addOrder("00000002", {{"F_client", "李四"}, {"F_movePhone", "13911112222"}, {"F_memo2", "不太满意"}});
    addLine("00000001", {{"F_HPname", "海尔冰箱"}, {"F_TMcode", "690123"}});
    addLine("00000002", {{"F_HPname", "格力空调"}, {"F_TMcode", "690456"}});
    open();
    chooseStatusAll();
    const struct {
        const char* field;
        const char* typed;
        QStringList codes;
    } cases[] = {
        {"顾客姓名", "小明", {"00000001"}},
        {"移动电话", "139%22", {"00000002"}},
        {"顾客意见", "满意", {"00000001"}},
        {"商品名称", "空调", {"00000002"}},
        {"条    码", "690", {"00000001", "00000002"}},
        {"单据编号", "'", {}},
        {"--未选择--", "", {"00000001", "00000002"}},
    };
    for (const auto& c : cases) {
        search(c.field, c.typed);
        EXPECT_EQ(listed(), c.codes) << c.field;
        EXPECT_EQ(countPanel(), QString("客户总数：%1").arg(c.codes.size()));
    }
}

TEST_P(MainWindowTest, ChangingTheSearchFieldClearsTheValueAndOffersThePickerOnlyForGoodsTypes)
{
    addOrder("00000001", {{"F_client", "王小明"}});
    addOrder("00000002", {{"F_client", "李四"}});
    open();
    search("顾客姓名", "王");
    EXPECT_EQ(listed(), QStringList{"00000001"});
    auto* picker = find<QToolButton>("sbBuyAddress");
    EXPECT_FALSE(picker->isVisibleTo(window.get()));
    find<QComboBox>("ComboBox1")->setCurrentText("商品类型");
    EXPECT_TRUE(find<QLineEdit>("Edit1")->text().isEmpty());
    EXPECT_EQ(listed(), (QStringList{"00000001", "00000002"}));
    EXPECT_TRUE(picker->isVisibleTo(window.get()));
    find<QComboBox>("ComboBox1")->setCurrentText("家庭地址");
    EXPECT_FALSE(picker->isVisibleTo(window.get()));
}

TEST_P(MainWindowTest, EachListTypeFillsTheValueListAndFiltersByTheClickedValue)
{
    addOrder("00000001", {{"F_area", "海淀区"},
                          {"F_FWemp", "王悦"},
                          {"F_IFsonghuo", "是"},
                          {"F_setupPOS", "客厅"},
                          {"F_XSemp", "赵六"},
                          {"F_PGemp", "钱七"},
                          {"F_OperName", "杨东"},
                          {"F_FWtype", "安装"},
                          {"F_PStype", "送货"},
                          {"F_FWtaidu", "满意"}});
    addOrder("00000002", {{"F_area", "朝阳区"},
                          {"F_FWemp", "张琪"},
                          {"F_IFsonghuo", "否"},
                          {"F_setupPOS", "卧室"},
                          {"F_XSemp", "孙八"},
                          {"F_PGemp", "周九"},
                          {"F_OperName", "许军"},
                          {"F_FWtype", "维修"},
                          {"F_PStype", "自提"},
                          {"F_FWtaidu", "一般"}});
    addLine("00000001", {{"F_HPname", "海尔冰箱"}, {"F_pinPai", "海尔"}});
    addLine("00000002", {{"F_HPname", "格力空调"}, {"F_pinPai", "格力"}});
    open();
    chooseStatusAll();
    auto* types = find<QComboBox>("cbbListType");
    auto* values = find<QTableWidget>("vleList");
    ASSERT_EQ(types->count(), 12);
    for (int type = 0; type < types->count(); ++type) {
        SCOPED_TRACE(types->itemText(type).toStdString());
        types->setCurrentIndex(type);
        ASSERT_EQ(values->rowCount(), 3);
        EXPECT_EQ(values->item(0, 1)->text(), "全部");
        EXPECT_EQ(values->currentRow(), 0);
        EXPECT_EQ(values->horizontalHeaderItem(1)->text(), types->itemText(type));
        EXPECT_EQ(listed().size(), 2);
        // The value of order 1 is the one that is not order 2's.
        for (int row = 1; row <= 2; ++row) {
            QTest::mouseClick(values->viewport(), Qt::LeftButton, {},
                              values->visualItemRect(values->item(row, 1)).center());
            ASSERT_EQ(listed().size(), 1);
        }
        const QString second = listed().first();
        QTest::mouseClick(values->viewport(), Qt::LeftButton, {},
                          values->visualItemRect(values->item(1, 1)).center());
        EXPECT_NE(listed().first(), second) << "each value lists its own order";
        QTest::mouseClick(values->viewport(), Qt::LeftButton, {},
                          values->visualItemRect(values->item(0, 1)).center());
        EXPECT_EQ(listed().size(), 2) << "全部";
    }
}

TEST_P(MainWindowTest, PurchasePlaceNodeFiltersOnDoubleClickOnly)
{
    for (const auto& [code, name, path] :
         {std::tuple{"001", "总店", "\\\\总店"}, std::tuple{"001001", "一楼空调区", "\\\\总店\\一楼空调区"},
          std::tuple{"002", "海淀分店", "\\\\海淀分店"}}) {
        ASSERT_TRUE(db().insert(
            "t_treecode",
            {{"F_code", code}, {"F_name", name}, {"F_likecode", path}, {"F_flag", "buyaddress"}}));
    }
    addOrder("00000001", {{"F_buyAddress", "\\\\总店\\一楼空调区"}});
    addOrder("00000002", {{"F_buyAddress", "\\\\海淀分店"}});
    addOrder("00000003", {{"F_buyAddress", ""}});
    open();
    auto* tree = find<QTreeWidget>("tvTree");
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), "购买地点");
    QTreeWidgetItem* store = root->child(0);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(CodeTreeItems::path(store), "\\\\总店");

    find<QTabWidget>("PageControl2")->setCurrentIndex(1);
    auto click = [&](QTreeWidgetItem* item, bool twice) {
        tree->scrollToItem(item);
        const QPoint at = tree->visualItemRect(item).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    };
    click(store, false);
    EXPECT_EQ(listed().size(), 3) << "selecting alone lists nothing new";
    click(store, true);
    EXPECT_EQ(listed(), QStringList{"00000001"});
    // Another filter change keeps the chosen place.
    search("顾客姓名", "顾客");
    EXPECT_EQ(listed(), QStringList{"00000001"});
    click(root, true);
    EXPECT_EQ(listed().size(), 3);
}

TEST_P(MainWindowTest, OrderCommandsRefuseWithTheirMessages)
{
    addOrder("00000001", {{"F_status", "正在服务"}, {"F_FWemp", "王悦"}});
    addOrder("00000002", {{"F_status", "已服务"}, {"F_FWemp", "王悦"}});
    addOrder("00000003", {{"F_status", "正在服务"}, {"F_FWemp", "  "}});
    open();
    chooseStatusAll();
    const struct {
        const char* code; // current order; empty for an empty list
        const char* action;
        const char* message;
    } cases[] = {
        {"00000001", "Action202", "此客户记录，已经派工，不能再修改！"},
        {"00000002", "Action207", "此客户记录，已经完工，不能再派工！"},
        {"00000003", "Action208", "此客户记录，没有指定服务人员，不能再完工！"},
        {"", "Action202", "此表为空，没有客户记录需要修改！"},
        {"", "Action207", "此表为空，没有客户记录需要修改！"},
        {"", "Action208", "此表为空，没有客户记录需要修改！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + c.code);
        if (*c.code) {
            search("单据编号", c.code);
        } else {
            search("单据编号", "无此单号");
        }
        messenger.clear();
        action(c.action)->trigger();
        ASSERT_EQ(messenger.count(), 1);
        EXPECT_EQ(messenger.lastText(), c.message);
        EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
    }
    // The keys and the double-click reach the same commands.
    search("单据编号", "00000001");
    auto* grid = find<DataGrid>("DBGridEh1");
    const std::function<void()> presses[] = {
        [&] { QTest::keyClick(grid, Qt::Key_E, Qt::ControlModifier); },
        [&] {
            const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        },
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i == 0 ? "Ctrl+E" : "double-click");
        messenger.clear();
        presses[i]();
        EXPECT_EQ(messenger.texts(), QStringList{"此客户记录，已经派工，不能再修改！"});
    }
    // Allowed: dispatching again an order being served, completing one with its installer.
    search("单据编号", "00000001");
    messenger.clear();
    for (const char* name : {"Action207", "Action208"}) {
        QString opened;
        whenModalOpens([&](QWidget* modal) {
            opened = modal->objectName();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        action(name)->trigger();
        EXPECT_EQ(opened, QStringLiteral("TfrmCltEdit")) << name;
    }
    EXPECT_TRUE(messenger.texts().isEmpty());
}

TEST_P(MainWindowTest, DetailCommandsRefuseWithTheirMessages)
{
    addOrder("00000001", {{"F_status", "已服务"}});
    addLine("00000001", {{"F_HPname", "海尔冰箱"}});
    open();
    chooseStatusAll();
    auto* tabs = find<QTabWidget>("PageControl1");
    const struct {
        bool emptyList;
        int tab;
        const char* action;
        const char* message; // null: a question comes
    } cases[] = {
        {false, 0, "Action601", "此客户记录，已经完工，不能修改货品记录！"},
        {false, 0, "Action602", "此客户记录，已经完工，不能修改货品记录！"},
        {false, 0, "Action603", "此客户记录，已经完工，不能删除货品记录！"},
        {false, 1, "Action602", "此表为空，没有回访记录需要修改！"},
        {false, 1, "Action603", "此表为空，没有记录需要删除！"},
        {false, 2, "Action602", "此表为空，没有维修记录需要修改！"},
        {true, 0, "Action601", "请选择需要增加货品记录的客户！"},
        {true, 1, "Action601", "请选择需要增加电话回访记录的客户！"},
        {true, 2, "Action601", "请选择需要增加售后回访记录的客户！"},
        {true, 0, "Action602", "此表为空，没有产品记录需要修改！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " tab " + std::to_string(c.tab));
        search("单据编号", c.emptyList ? "无此单号" : "00000001");
        tabs->setCurrentIndex(c.tab);
        messenger.clear();
        action(c.action)->trigger();
        ASSERT_EQ(messenger.count(), 1);
        EXPECT_EQ(messenger.lastText(), c.message);
        EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
    }
    EXPECT_EQ(db().scalar("SELECT count(*) FROM t_HPrec").value().toInt(), 1);
}

TEST_P(MainWindowTest, DeletingACompletedOrderAsksThenReturnsItsStock)
{
    ASSERT_TRUE(db().insert("t_goods", {{"F_code", "G1"}, {"F_name", "冰箱"}, {"F_amount", 10.0}}));
    addOrder("00000001", {{"F_status", "已服务"}, {"F_client", "王小明"}});
    addLine("00000001", {{"F_HPcode", "G1"}, {"F_amount", 3.0}});
    addLine("00000001", {{"F_HPcode", "G1"}, {"F_amount", 5.0}});
    ASSERT_TRUE(db().insert("t_HFrec", {{"F_code", "00000001"}}));
    addOrder("00000002", {{"F_status", "已服务"}});
    open();
    chooseStatusAll();
    ASSERT_EQ(window->orders().currentRow(), 0);
    EXPECT_EQ(window->goodsLines().rowCount(), 2);

    messenger.answer(Messenger::No);
    action("Action203")->trigger();
    EXPECT_EQ(messenger.lastText(),
              "删除当前用户，将删除当前用户所有相关记录，\n真的要删除当前用户王小明吗？");
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Question);
    EXPECT_EQ(listed().size(), 2);
    EXPECT_DOUBLE_EQ(stock("G1"), 10);

    messenger.answer(Messenger::Yes);
    QTest::keyClick(find<DataGrid>("DBGridEh1"), Qt::Key_Delete);
    EXPECT_EQ(messenger.count(), 2) << messenger.texts().join('\n').toStdString();
    EXPECT_EQ(listed(), QStringList{"00000002"});
    EXPECT_EQ(countPanel(), "客户总数：1");
    EXPECT_DOUBLE_EQ(stock("G1"), 18);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM t_HPrec").value().toInt(), 0);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM t_HFrec").value().toInt(), 0);
}

TEST_P(MainWindowTest, DeleteOnAnEmptyListOrInTheSearchValueAsksNothing)
{
    addOrder("00000001");
    open();
    search("单据编号", "0001");
    messenger.clear();
    // Delete edits the typed text; it does not delete the order.
    QTest::keyClick(find<QLineEdit>("Edit1"), Qt::Key_Backspace);
    QTest::keyClick(find<QLineEdit>("Edit1"), Qt::Key_Home);
    QTest::keyClick(find<QLineEdit>("Edit1"), Qt::Key_Delete);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "00");
    EXPECT_EQ(messenger.count(), 0);
    search("单据编号", "无此单号");
    action("Action203")->trigger();
    EXPECT_EQ(messenger.count(), 0);
}

TEST_P(MainWindowTest, DetailDeleteAsksAndRemovesTheVisitOrTheRepairWithItsParts)
{
    addOrder("00000001");
    ASSERT_TRUE(db().insert("t_HFrec", {{"F_code", "00000001"}, {"F_HFemp", "李敏"}}));
    ASSERT_TRUE(db().insert("t_WXrec", {{"F_code", "00000001"}, {"F_WXcode", "W1"}, {"F_WXflag", 1}}));
    ASSERT_TRUE(db().insert("t_PJdetail", {{"F_WXcode", "W1"}, {"F_name", "压缩机"}}));
    open();
    auto* tabs = find<QTabWidget>("PageControl1");
    EXPECT_EQ(window->parts().rowCount(), 1) << "the parts of the current repair";

    tabs->setCurrentIndex(1);
    messenger.answer(Messenger::Yes);
    QTest::mouseClick(find<QToolButton>("btnDetailDelete"), Qt::LeftButton);
    EXPECT_EQ(messenger.lastText(), "真的要删除当前回访记录吗？");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM t_HFrec").value().toInt(), 0);

    tabs->setCurrentIndex(2);
    messenger.answer(Messenger::No);
    action("Action603")->trigger();
    EXPECT_EQ(messenger.lastText(), "真的要删除当前维修记录吗？");
    EXPECT_EQ(db().scalar("SELECT count(*) FROM t_WXrec").value().toInt(), 1);
    messenger.answer(Messenger::Yes);
    action("Action603")->trigger();
    EXPECT_EQ(db().scalar("SELECT count(*) FROM t_WXrec").value().toInt(), 0);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM t_PJdetail").value().toInt(), 0);
    EXPECT_EQ(window->repairs().rowCount(), 0);
}

TEST_P(MainWindowTest, RowColoursFollowTheStatusAndEarlyDatesShowBlank)
{
    addOrder("00000001", {{"F_status", "未服务"}, {"F_setupDate", SqlDates::noDate()}});
    addOrder("00000002", {{"F_status", "正在服务"}, {"F_setupDate", SqlDates::displayThreshold()}});
    addOrder("00000003", {{"F_status", "已服务"}, {"F_setupDate", QDate(2024, 5, 12)}});
    open();
    chooseStatusAll();
    auto* grid = find<DataGrid>("DBGridEh1");
    const int setup = grid->positionOf("F_setupDate");
    ASSERT_GE(setup, 0);
    QAbstractItemModel* model = grid->model();
    auto text = [&](int row) { return model->index(row, setup).data().toString(); };
    auto colour = [&](int row) {
        return model->index(row, 0).data(Qt::ForegroundRole).value<QBrush>().color();
    };
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(text(1), "1901-08-14");
    EXPECT_EQ(text(2), "2024-05-12");
    EXPECT_FALSE(model->index(0, 0).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(colour(1), QColor(0, 0, 230));
    EXPECT_EQ(colour(2), QColor(200, 0, 0));
}

TEST_P(MainWindowTest, RoleWithOnly305SeesOnlyTheDispatchSlipUnderOutput)
{
    ASSERT_TRUE(db().insert("PartLimit", {{"F_PartCode", "R1"}, {"F_LmtCode", "305"}}));
    data->login().operatorCode = "002";
    data->login().roleCode = "R1";
    open();
    auto* output = find<QMenu>("mnuOutput");
    EXPECT_TRUE(output->menuAction()->isVisible());
    QStringList shown;
    for (QAction* item : output->actions()) {
        if (item->isVisible() && !item->isSeparator())
            shown << item->text();
    }
    EXPECT_EQ(shown, QStringList{"安装送货派工表单"});
    for (const char* menu : {"mnuFile", "mnuEdit", "mnuStat", "mnuData"})
        EXPECT_FALSE(find<QMenu>(menu)->menuAction()->isVisible()) << menu;
    for (const char* menu : {"mnuView", "mnuTools", "mnuHelp"})
        EXPECT_TRUE(find<QMenu>(menu)->menuAction()->isVisible()) << menu;
    EXPECT_FALSE(action("Action201")->isVisible()) << "gone from the tool bar too";
    EXPECT_FALSE(find<QToolBar>("ToolBar1")->findChild<QAction*>("tbPrintSetAction")->isVisible());
    EXPECT_TRUE(action("ToolButton1")->isVisible()) << "re-login needs no permission";
    // Its key no longer deletes either.
    addOrder("00000001");
    window->runListQuery();
    QTest::keyClick(find<DataGrid>("DBGridEh1"), Qt::Key_Delete);
    EXPECT_EQ(messenger.count(), 0);
}

TEST_P(MainWindowTest, RoleWithoutDataCommandsHasNoDataMenuWhile731SeesAll)
{
    for (const char* code : {"201", "202", "301"})
        ASSERT_TRUE(db().insert("PartLimit", {{"F_PartCode", "R2"}, {"F_LmtCode", code}}));
    data->login().operatorCode = "003";
    data->login().roleCode = "R2";
    open();
    EXPECT_FALSE(find<QMenu>("mnuData")->menuAction()->isVisible());
    EXPECT_TRUE(find<QMenu>("mnuEdit")->menuAction()->isVisible());
    EXPECT_TRUE(action("Action202")->isVisible());
    EXPECT_FALSE(action("Action203")->isVisible());

    data->login().operatorCode = "731";
    data->login().roleCode = "";
    window->applyLogin();
    for (const char* menu : {"mnuFile", "mnuEdit", "mnuOutput", "mnuStat", "mnuData"})
        EXPECT_TRUE(find<QMenu>(menu)->menuAction()->isVisible()) << menu;
    for (int code : {101, 107, 201, 210, 301, 306, 401, 414, 501, 504})
        EXPECT_TRUE(action(QString("Action%1").arg(code))->isVisible()) << code;
}

TEST_P(MainWindowTest, PrintedFormsDoNothingOnAnEmptyList)
{
    open();
    for (const char* name : {"Action303", "Action304", "Action305", "Action306"})
        action(name)->trigger();
    EXPECT_EQ(messenger.count(), 0);
    EXPECT_EQ(viewer.previews, 0);
}

TEST_P(MainWindowTest, ExitAsksFirstAndOffersABackupByTheSetting)
{
    open();
    messenger.answer(Messenger::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(messenger.texts(), QStringList{"真的要退出“Corvalin”软件吗？"});
    messenger.answer(Messenger::No);
    QTest::keyClick(find<DataGrid>("DBGridEh1"), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(messenger.count(), 2) << "Esc asks the same";

    const struct {
        int ibak;
        QDate today;
        bool offered;
    } cases[] = {
        {0, kToday, false},
        {1, QDate(2024, 5, 21), true},
        {2, kToday, true},
        {2, QDate(2024, 5, 21), false},
        {3, QDate(2024, 6, 1), true},
        {3, kToday, false},
    };
    for (const auto& c : cases) {
        config.setValue("config", "ibak", c.ibak);
        window.reset();
        messenger.clear();
        open();
        window->setToday(c.today);
        messenger.answer(Messenger::Yes);
        messenger.answer(Messenger::Yes);
        EXPECT_TRUE(window->close());
        QStringList expected{"真的要退出“Corvalin”软件吗？"};
        if (c.offered)
            expected << "软件关闭，要备份当前数据吗？";
        EXPECT_EQ(messenger.texts(), expected) << c.ibak << " " << c.today.toString().toStdString();
    }
}

TEST_P(MainWindowTest, ToolsStartTheDesktopsProgramsOrSaySoWhenThereAreNone)
{
    open();
    window->setProgramFinder([](const QString&) { return QString(); });
    action("N24")->trigger();
    action("N25")->trigger();
    EXPECT_EQ(messenger.count(), 2);
    EXPECT_TRUE(messenger.texts().at(0).contains("计算器"));
    EXPECT_TRUE(started.isEmpty());

    window->setProgramFinder([](const QString& name) {
        return name == "galculator" || name == "xdg-open" ? "/usr/bin/" + name : QString();
    });
    action("N24")->trigger();
    action("N25")->trigger();
    const QString notes = QDir(home.path()).filePath("便笺.txt");
    EXPECT_EQ(started, QStringList({"/usr/bin/galculator", "/usr/bin/xdg-open " + notes}));
    EXPECT_TRUE(QFile::exists(notes));
}

TEST_P(MainWindowTest, HelpCommandsOpenTheDeliveredFiles)
{
    QDir(home.path()).mkpath("help");
    for (const char* name : {"help/index.html", "WenTi.txt", "README.TXT"}) {
        QFile file(QDir(home.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    open();
    action("nHelp")->trigger();
    action("nWenti")->trigger();
    action("nWenJian")->trigger();
    ASSERT_EQ(openedUrls.size(), 3);
    EXPECT_TRUE(openedUrls.at(0).toLocalFile().endsWith("help/index.html"));
    EXPECT_TRUE(openedUrls.at(2).toLocalFile().endsWith("README.TXT")) << "found whatever the letter case";
    if (!QFile::exists(QDir(QCoreApplication::applicationDirPath()).filePath("whatisnew.txt"))) {
        action("nGongNeng")->trigger();
        EXPECT_EQ(messenger.lastText(), "找不到文件“whatisnew.txt”，请检查程序目录是否完整。");
    }
}

TEST_P(MainWindowTest, TabLeavesTheDetailListForItsButtons)
{
    addOrder("00000001", {});
    addLine("00000001", {{"F_HPname", "海尔冰箱"}});
    open();
    QApplication::setActiveWindow(window.get());
    auto* lines = find<DataGrid>("DBGridEh2");
    lines->setFocus();
    QTest::keyClick(lines, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), find<QToolButton>("btnDetailAdd"));
}

TEST_P(MainWindowTest, ReportDesignOpensTheReportManagerAlone)
{
    open();
    QString opened;
    whenModalOpens([&](QWidget* modal) {
        opened = modal->objectName();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    action("Action302")->trigger();
    EXPECT_EQ(opened, QStringLiteral("TFrmReportGl"));
    EXPECT_TRUE(messenger.texts().isEmpty());
}

TEST_P(MainWindowTest, ViewTogglesAndNotYetAvailableCommands)
{
    open();
    find<QAction>("nshitu1")->trigger();
    EXPECT_FALSE(find<QToolBar>("ToolBar1")->isVisible());
    find<QAction>("nshitu3")->trigger();
    EXPECT_FALSE(window->statusBar()->isVisible());
    find<QAction>("nshitu1")->trigger();
    EXPECT_TRUE(find<QToolBar>("ToolBar1")->isVisible());
    action("Action210")->trigger();
    EXPECT_EQ(messenger.texts(), QStringList{MainWindow::notYetAvailableMessage()});
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Info);
}

TEST_P(MainWindowTest, CompactionKeepsTheListWorking)
{
    addOrder("00000001");
    addOrder("00000002");
    open();
    action("Action503")->trigger();
    EXPECT_EQ(messenger.texts(), QStringList{"压缩数据库成功！"});
    EXPECT_EQ(listed().size(), 2);
    EXPECT_EQ(countPanel(), "客户总数：2");
}

TEST_P(MainWindowTest, EditorsCanPinTheDetailListsToAnOrder)
{
    addOrder("00000001");
    addOrder("00000002", {{"F_client", "王小明"}, {"F_phone", "010-1"}, {"F_buyDate", kInMonth}});
    addLine("00000001", {{"F_HPname", "甲"}});
    addLine("00000002", {{"F_HPname", "乙"}, {"F_price", 2.5}, {"F_amount", 1.0}});
    open();
    window->loadDetailsFor("00000002");
    EXPECT_EQ(window->goodsLines().value(0, "F_HPname").toString(), "乙");
    window->orders().setCurrentRow(0);
    EXPECT_EQ(window->goodsLines().value(0, "F_HPname").toString(), "乙") << "pinned while the editor works";
    // A cached change of quantity or price keeps the amount right.
    window->goodsLines().setValue(0, "F_amount", 4.0);
    EXPECT_DOUBLE_EQ(window->goodsLines().value(0, "F_totalprice").toDouble(), 10.0);
    window->goodsLines().cancelUpdates();
    window->relinkDetails();
    EXPECT_EQ(window->goodsLines().value(0, "F_HPname").toString(), "甲");

    window->orders().setCurrentRow(1);
    EXPECT_EQ(window->customerInfo(), "\n  顾客姓名:王小明\n  固定电话:010-1\n  移动电话:\n  家庭地址:\n"
                                      "  区    域:海淀区\n  购买地点:\n  购买日期:2024-05-10");
}

TEST_P(MainWindowTest, AdvancedSearchStaysDownInRedUntilPressedAgain)
{
    addOrder("00000001", {{"F_client", "王小明"}});
    addOrder("00000002", {{"F_client", "李四"}});
    addOrder("00000003", {{"F_client", "王五"}, {"F_status", "已服务"}});
    open();
    auto* button = find<QPushButton>("SpeedButton2");
    window->setAdvancedSearch([]() -> std::optional<QPair<QString, QVariantList>> { return std::nullopt; });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(button->isChecked()) << "cancelled";
    EXPECT_EQ(listed().size(), 2);

    window->setAdvancedSearch([] {
        return std::optional(qMakePair(
            QString("SELECT * FROM t_client WHERE F_client LIKE ? ORDER BY F_code"), QVariantList{"王%"}));
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(button->styleSheet().contains("red"));
    EXPECT_EQ(listed(), (QStringList{"00000001", "00000003"}));
    EXPECT_EQ(countPanel(), "客户总数：2");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(listed(), (QStringList{"00000001", "00000002"}));
    EXPECT_EQ(messenger.count(), 0);
}

INSTANTIATE_ENGINES(MainWindowTest);
