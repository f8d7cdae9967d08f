#include "records/repair_window_test.h"

#include "data/record_set.h"
#include "records/repair_editor.h"
#include "records/repair_parts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace RepairTestData;

namespace {

const QString kCustomerInfo = QStringLiteral("\n  顾客姓名:顾客00000001\n  固定电话:010-600000001");

} // namespace

// The editor as its openers lend it their lists: here the test owns the repair list (of order
// 00000001, or every repair for the management window's variant) and the parts query.
class RepairEditorTest : public RepairWindowTest {
protected:
    void SetUp() override
    {
        RepairWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addOrder(db(), "00000001");
        addOrder(db(), "00000002", {{"F_client", "李四"}, {"F_address", "朝阳路 8 号"}});
        parts.setUpdateTable("t_PJdetail");
        connect();
    }

    void TearDown() override
    {
        editor.reset();
        parts.close();
        repairs.close();
        RepairWindowTest::TearDown();
    }

    void connect()
    {
        QObject::connect(&repairs, &RecordSet::currentRowChanged, [this](int) {
            if (!pinned)
                followList();
        });
    }

    void followList()
    {
        const QString code = repairs.current("F_WXcode").toString();
        if (code.isEmpty()) {
            parts.close();
            return;
        }
        const SqlStatement statement = RepairParts::ofRepair(code);
        ASSERT_TRUE(parts.open(db(), statement.sql, statement.values));
    }

    void openList(bool everyRepair)
    {
        if (everyRepair)
            ASSERT_TRUE(repairs.open(db(), "SELECT * FROM v_WXrec ORDER BY F_ID"));
        else
            ASSERT_TRUE(
                repairs.open(db(), "SELECT * FROM t_WXrec WHERE F_code = ? ORDER BY F_ID", {"00000001"}));
        followList();
    }

    RepairEditor* open(RepairEditMode mode, bool chooseOrder = false)
    {
        openList(chooseOrder);
        RepairEditor::Opener opener;
        opener.repairs = &repairs;
        opener.parts = &parts;
        opener.loadPartsFor = [this](const QString& code) {
            pinned = true;
            const SqlStatement statement = RepairParts::ofRepair(code);
            parts.open(db(), statement.sql, statement.values);
        };
        opener.relinkParts = [this] {
            pinned = false;
            ++relinks;
            followList();
        };
        opener.printSlip = [this] { ++slipsPrinted; };
        opener.chooseOrder = chooseOrder;
        if (!chooseOrder) {
            opener.orderCode = "00000001";
            opener.customerInfo = kCustomerInfo;
        }
        editor = std::make_unique<RepairEditor>(*data, mode, opener);
        editor->show();
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        return editor.get();
    }

    template <typename T> T* find(const QString& name) { return child<T>(editor.get(), name); }
    DataGrid* grid() { return find<DataGrid>("DBGridEh1"); }
    double shown(const char* name) { return find<QDoubleSpinBox>(name)->value(); }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : editor.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }

    // A new parts line through Ctrl+A, filled in cell by cell.
    void addLine(const QString& name, const QString& amount, const QString& price)
    {
        key(Qt::Key_A, Qt::ControlModifier);
        const int row = parts.rowCount() - 1;
        typeIntoCell(grid(), row, "F_name", name);
        typeIntoCell(grid(), row, "F_amount", amount);
        typeIntoCell(grid(), row, "F_price", price);
    }

    void typeFee(const char* name, const QString& value)
    {
        auto* spin = find<QDoubleSpinBox>(name);
        spin->setFocus();
        spin->selectAll();
        typeText(spin, value);
    }

    QString stored(const QString& code, const QString& column)
    {
        return db()
            .scalar(QStringLiteral("SELECT %1 FROM t_WXrec WHERE F_WXcode = ?").arg(column), {code})
            .value_or(QVariant())
            .toString();
    }

    RecordSet repairs;
    RecordSet parts;
    bool pinned = false;
    int relinks = 0;
    int slipsPrinted = 0;
    std::unique_ptr<RepairEditor> editor;
};

TEST_P(RepairEditorTest, ANewRepairOfTheOrderTabStartsWithItsDefaults)
{
    open(RepairEditMode::New);
    EXPECT_EQ(editor->objectName(), "TfrmWXrecEdit");
    EXPECT_EQ(editor->windowTitle(), "维修记录编辑");
    EXPECT_EQ(find<QLineEdit>("edtWXcode")->text(), "00000001") << "the first repair of an empty table";
    EXPECT_TRUE(find<QRadioButton>("RBbxflag1")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("rbReasonFlag1")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("rbWXflag0")->isChecked());
    EXPECT_EQ(find<QDateEdit>("dtpBxDate")->date(), QDate::currentDate());
    EXPECT_EQ(find<QDateEdit>("dtpSMdate")->date(), QDate::currentDate());
    EXPECT_EQ(find<QDateEdit>("dtpXFdate")->date(), QDate::currentDate());
    EXPECT_EQ(find<QLineEdit>("edtOperName")->text(), "系统管理员");
    EXPECT_TRUE(find<QComboBox>("cbbWXstatus")->isVisible());
    EXPECT_EQ(find<QPlainTextEdit>("mmoCustomer")->toPlainText(), kCustomerInfo);
    EXPECT_FALSE(find<QWidget>("pnlCustomerFields")->isVisible());
    EXPECT_TRUE(find<QCheckBox>("CheckBox1")->isVisible());
    EXPECT_FALSE(find<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_FALSE(find<QWidget>("DBNavigator1")->isVisible());
    EXPECT_EQ(grid()->gridColumn(2).title, "种类");
    EXPECT_TRUE(pinned) << "the parts show the new code's lines";
    EXPECT_EQ(parts.rowCount(), 0);
}

TEST_P(RepairEditorTest, PartsLinesMakeThePartsChargeAndTheFeeTheTotal)
{
    open(RepairEditMode::New);
    addLine("压缩机", "2", "30");
    addLine("电容", "1", "15");
    EXPECT_EQ(parts.value(0, "F_totalprice").toDouble(), 60);
    EXPECT_DOUBLE_EQ(shown("cePJtotalPrice"), 75);
    EXPECT_DOUBLE_EQ(shown("ceSFtotalPrice"), 75);
    EXPECT_EQ(grid()->footerText(grid()->positionOf("F_totalprice")), "75.00");
    EXPECT_EQ(grid()->footerText(grid()->positionOf("F_name")), "合  计");

    // Ticking and unticking 是否收费 changes neither charge.
    const QModelIndex charged = grid()->model()->index(
        1, grid()->horizontalHeader()->logicalIndex(grid()->positionOf("F_IFshouFei")));
    ASSERT_TRUE(grid()->model()->setData(charged, Qt::Checked, Qt::CheckStateRole));
    ASSERT_TRUE(grid()->model()->setData(charged, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_DOUBLE_EQ(shown("cePJtotalPrice"), 75);

    typeFee("ceFWtotalPrice", "20");
    EXPECT_DOUBLE_EQ(shown("ceSFtotalPrice"), 95);

    QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(messenger.count(), 0) << messenger.lastText().toStdString();
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(stored("00000001", "F_PJtotalprice").toDouble(), 75);
    EXPECT_EQ(stored("00000001", "F_FWtotalprice").toDouble(), 20);
    EXPECT_EQ(stored("00000001", "F_SFtotalprice").toDouble(), 95);
    EXPECT_EQ(stored("00000001", "F_code"), "00000001");
    EXPECT_EQ(stored("00000001", "F_OperName"), "系统管理员");
    EXPECT_EQ(column(db(), "SELECT F_WXcode || '/' || F_name FROM t_PJdetail ORDER BY F_ID"),
              QStringList({"00000001/压缩机", "00000001/电容"}));
    EXPECT_EQ(repairs.current("F_WXcode").toString(), "00000001") << "the list stands on the new repair";
    EXPECT_FALSE(pinned);
}

TEST_P(RepairEditorTest, ChangingTheWageNamesWhoEnteredIt)
{
    addRepair(db(), "00000001", "00000003", {{"F_XZprice", 30}, {"F_XZemp", "张三"}});
    open(RepairEditMode::Edit);
    auto* who = find<QLineEdit>("edtXZemp");
    EXPECT_EQ(who->text(), "张三") << "loading a repair changes nothing";
    typeFee("ceXZprice", "45");
    EXPECT_EQ(who->text(), "系统管理员");
    QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(stored("00000003", "F_XZprice").toDouble(), 45);
    EXPECT_EQ(stored("00000003", "F_XZemp"), "系统管理员");
}

TEST_P(RepairEditorTest, ClosingWithoutSavingLeavesThePartsAsStored)
{
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Esc" : "取消");
        ASSERT_TRUE(db().exec("DELETE FROM t_WXrec"));
        ASSERT_TRUE(db().exec("DELETE FROM t_PJdetail"));
        addRepair(db(), "00000001", "00000005");
        addPart(db(), "00000005", "压缩机", 1, 300);
        addPart(db(), "00000005", "电容", 2, 10);
        const QStringList before = snapshot(db(), "t_PJdetail");
        open(RepairEditMode::Edit);
        addLine("皮带", "1", "20");
        typeIntoCell(grid(), 0, "F_price", "250");
        grid()->setCurrentIndex(grid()->model()->index(1, 0));
        messenger.answer(Messenger::Yes);
        key(Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(messenger.lastText(), "真的要删除当前品牌为： 电容 规格为: 原装 商品吗？");
        EXPECT_EQ(parts.rowCount(), 2);
        if (byKey)
            QTest::keyClick(find<QLineEdit>("edtwxInfo"), Qt::Key_Escape);
        else
            QTest::mouseClick(find<QPushButton>("Button2"), Qt::LeftButton);
        EXPECT_EQ(editor->result(), QDialog::Rejected);
        EXPECT_EQ(snapshot(db(), "t_PJdetail"), before);
        EXPECT_FALSE(parts.hasPendingUpdates());
        EXPECT_EQ(parts.rowCount(), 2) << "the list's parts again";
        EXPECT_FALSE(pinned);
        editor.reset();
        messenger.clear();
    }
}

TEST_P(RepairEditorTest, AnsweringNoKeepsThePartsLine)
{
    addRepair(db(), "00000001", "00000005");
    addPart(db(), "00000005", "O'Brien 100%", 1, 300);
    open(RepairEditMode::Edit);
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    messenger.answer(Messenger::No);
    key(Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(messenger.count(), 1);
    EXPECT_EQ(messenger.messages().first().kind, Messenger::Question);
    EXPECT_EQ(messenger.lastText(), "真的要删除当前品牌为： O'Brien 100% 规格为: 原装 商品吗？");
    EXPECT_EQ(parts.rowCount(), 1);
    EXPECT_FALSE(parts.hasPendingUpdates());
}

TEST_P(RepairEditorTest, ContinuousEntryStartsTheNextRepairWithEmptyParts)
{
    open(RepairEditMode::New);
    find<QCheckBox>("CheckBox1")->setChecked(true);
    addLine("压缩机", "1", "300");
    QTest::keyClick(find<QLineEdit>("edtWXother"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(find<QLineEdit>("edtWXcode")->text(), "00000002");
    EXPECT_EQ(parts.rowCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), find<QComboBox>("cbbFWtype"));
    EXPECT_DOUBLE_EQ(shown("cePJtotalPrice"), 0);

    QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("edtWXcode")->text(), "00000003");
    QTest::mouseClick(find<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_EQ(editor->saves(), 2);
    EXPECT_EQ(column(db(), "SELECT F_WXcode FROM t_WXrec ORDER BY F_ID"),
              QStringList({"00000001", "00000002"}));
    EXPECT_EQ(column(db(), "SELECT F_WXcode FROM t_PJdetail"), QStringList({"00000001"}));
    EXPECT_EQ(stored("00000001", "F_PJtotalprice").toDouble(), 300);
    EXPECT_EQ(stored("00000002", "F_code"), "00000001") << "the same order";
}

TEST_P(RepairEditorTest, TheManagementWindowsEditorChoosesTheOrderAndNeedsACategory)
{
    open(RepairEditMode::New, true);
    EXPECT_EQ(editor->objectName(), "TfrmWXrecEdit1");
    EXPECT_TRUE(find<QWidget>("pnlCustomerFields")->isVisible());
    EXPECT_FALSE(find<QPlainTextEdit>("mmoCustomer")->isVisible());
    EXPECT_EQ(grid()->gridColumn(2).title, "编号");

    // 服务类别 is required here.
    QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(messenger.texts(), QStringList{"当前维修服务类别不能为空！"});
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Info);
    EXPECT_EQ(count(db(), "SELECT count(*) FROM t_WXrec"), 0);
    EXPECT_TRUE(find<QComboBox>("cbbFWtype")->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == find<QComboBox>("cbbFWtype"));

    // The picker's choice fills the seven fields; cancelling it (the same code back) keeps them.
    QStringList asked;
    QString answer = "00000002";
    editor->setOrderPicker([&](const QString& current) {
        asked << current;
        return answer;
    });
    QTest::mouseClick(find<QToolButton>("btnClient"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("edtClient")->text(), "李四");
    EXPECT_EQ(find<QLineEdit>("edtAddress")->text(), "朝阳路 8 号");
    EXPECT_EQ(find<QLineEdit>("edtBuyDate")->text(), "2024-03-08");
    EXPECT_EQ(find<QLineEdit>("edtArea")->text(), "海淀区");
    find<QLineEdit>("edtClient")->setText("unchanged");
    QTest::mouseClick(find<QToolButton>("btnClient"), Qt::LeftButton);
    EXPECT_EQ(asked, QStringList({"", "00000002"}));
    EXPECT_EQ(find<QLineEdit>("edtClient")->text(), "unchanged");

    editor->setInfoChooser([](const QString& current) { return current + "上门,换件"; });
    QTest::mouseClick(find<QToolButton>("btnWXinfo"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("edtwxInfo")->text(), "上门,换件");

    auto* category = find<QComboBox>("cbbFWtype");
    category->setFocus();
    typeText(category, "上门维修");
    QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(stored("00000001", "F_code"), "00000002");
    EXPECT_EQ(stored("00000001", "F_FWtype"), "上门维修");
    EXPECT_EQ(stored("00000001", "F_WXinfo"), "上门,换件");
}

TEST_P(RepairEditorTest, TheManagementWindowsEditorSavesARepairWithoutAnOrder)
{
    open(RepairEditMode::New, true);
    find<QCheckBox>("CheckBox1")->setChecked(true);
    editor->setOrderPicker([](const QString&) { return QStringLiteral("00000002"); });
    QTest::mouseClick(find<QToolButton>("btnClient"), Qt::LeftButton);
    find<QComboBox>("cbbFWtype")->setEditText("送修");
    QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton);
    // The next repair starts without an order.
    EXPECT_EQ(find<QLineEdit>("edtClient")->text(), "");
    EXPECT_EQ(editor->orderCode(), "");
    find<QComboBox>("cbbFWtype")->setEditText("送修");
    QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(column(db(), "SELECT F_code FROM t_WXrec ORDER BY F_ID"), QStringList({"00000002", ""}));
}

TEST_P(RepairEditorTest, StoredWordsShowAsTheirButtonsAndSaveAsThem)
{
    struct Case {
        const char* warranty;
        const char* reason;
        const char* warrantyButton;
        const char* reasonButton;
        const char* savedWarranty;
        const char* savedReason;
    };
    const Case cases[] = {
        {"保内", "产品原因", "RBbxflag1", "rbReasonFlag1", "保内", "产品原因"},
        {"保外", "用户原因", "RBbxflag2", "rbReasonFlag2", "保外", "用户原因"},
        {"在保", "人为", "RBbxflag2", "rbReasonFlag2", "保外", "用户原因"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warranty);
        ASSERT_TRUE(db().exec("DELETE FROM t_WXrec"));
        addRepair(db(), "00000001", "00000009", {{"F_BXflag", c.warranty}, {"F_reasonFlag", c.reason}});
        open(RepairEditMode::Edit);
        EXPECT_TRUE(find<QRadioButton>(c.warrantyButton)->isChecked());
        EXPECT_TRUE(find<QRadioButton>(c.reasonButton)->isChecked());
        QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton);
        EXPECT_EQ(stored("00000009", "F_BXflag"), c.savedWarranty);
        EXPECT_EQ(stored("00000009", "F_reasonFlag"), c.savedReason);
        editor.reset();
    }
}

TEST_P(RepairEditorTest, TheNavigatorMovesThroughTheListAndAsksBeforeLosingChanges)
{
    addRepair(db(), "00000001", "00000011", {{"F_memo1", "不制冷"}});
    addPart(db(), "00000011", "压缩机", 1, 300);
    addRepair(db(), "00000001", "00000012", {{"F_memo1", "漏水"}, {"F_WXflag", 2}});
    addPart(db(), "00000012", "皮带", 1, 20);
    addPart(db(), "00000012", "水泵", 1, 80);
    open(RepairEditMode::Edit);
    EXPECT_FALSE(find<QCheckBox>("CheckBox1")->isVisible());
    EXPECT_TRUE(find<QWidget>("DBNavigator1")->isVisible());
    EXPECT_FALSE(find<QToolButton>("nbFirst")->isEnabled());
    EXPECT_FALSE(find<QToolButton>("nbPrior")->isEnabled());

    QTest::mouseClick(find<QToolButton>("nbNext"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("edtWXcode")->text(), "00000012");
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), "漏水");
    EXPECT_TRUE(find<QRadioButton>("rbWXflag2")->isChecked());
    EXPECT_EQ(parts.rowCount(), 2);
    EXPECT_DOUBLE_EQ(shown("cePJtotalPrice"), 100);
    EXPECT_FALSE(find<QToolButton>("nbNext")->isEnabled());
    EXPECT_EQ(messenger.count(), 0);

    find<QPlainTextEdit>("Memo6")->setPlainText("已修复");
    messenger.answer(Messenger::No);
    QTest::mouseClick(find<QToolButton>("nbPrior"), Qt::LeftButton);
    EXPECT_EQ(messenger.lastText(), RepairEditor::discardChangesQuestion());
    EXPECT_EQ(find<QLineEdit>("edtWXcode")->text(), "00000012");
    messenger.answer(Messenger::Yes);
    QTest::mouseClick(find<QToolButton>("nbFirst"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>("edtWXcode")->text(), "00000011");
    EXPECT_EQ(find<QPlainTextEdit>("Memo6")->toPlainText(), "");
    EXPECT_EQ(stored("00000012", "F_memo6"), "") << "nothing was saved";
}

TEST_P(RepairEditorTest, EnterMovesOnExceptInMemosAndThePrintButtonPrintsTheSlip)
{
    open(RepairEditMode::New);
    auto* info = find<QLineEdit>("edtwxInfo");
    info->setFocus();
    QTest::keyClick(info, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), info);
    auto* memo = find<QPlainTextEdit>("Memo1");
    memo->setFocus();
    typeText(memo, "a");
    QTest::keyClick(memo, Qt::Key_Return);
    typeText(memo, "b");
    EXPECT_EQ(memo->toPlainText(), "a\nb");
    EXPECT_EQ(QApplication::focusWidget(), memo);

    QTest::mouseClick(find<QPushButton>("Button3"), Qt::LeftButton);
    EXPECT_EQ(slipsPrinted, 1);
}

INSTANTIATE_ENGINES(RepairEditorTest);
