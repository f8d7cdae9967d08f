#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "data/sql_value.h"
#include "goods/goods_picker_dialog.h"
#include "records/order_editor.h"
#include "records/order_test_data.h"
#include "records/ticked_date_edit.h"
#include "support/modal_driver.h"
#include "support/test_database.h"
#include "widgets/data_grid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace OrderTestData;
using Mode = OrderEditMode;

namespace {

const QString kOperator = QStringLiteral("系统管理员");

// Types the text key by key into whatever has the focus, Chinese characters included.
void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : widget;
        if (c.unicode() < 128 && c != QLatin1Char('"') && c != QLatin1Char('\''))
            QTest::keyClick(target, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

} // namespace

class OrderEditorTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        config.load(QDir(home.path()).filePath("config.ini"));
        data = std::make_unique<DataModule>(db(), messenger, config, home.path());
        data->login().operatorName = kOperator;
        data->login().customValues = {"楼层", "", "", "", "", "面积", "", "", "回访日", "", ""};
        const QList<QPair<const char*, QStringList>> codes = {
            {"area", {"海淀区", "朝阳区"}}, {"xsemp", {"王芳", "李娜"}},   {"fwemp", {"刘师傅", "张师傅"}},
            {"fwType", {"安装", "送货"}},   {"ifsonghuo", {"是", "否"}},   {"setuppos", {"客厅", "厨房"}},
            {"PStype", {"市区", "郊区"}},   {"fwtaidu", {"满意", "一般"}}, {"pinpai", {"海尔", "格力"}},
        };
        for (const auto& [type, names] : codes) {
            for (const QString& name : names)
                ASSERT_TRUE(db().insert("t_code", {{"F_type", QString(type)}, {"F_name", name}}));
        }
        addGoods(db(), "000001", "冰箱", 10, 2999, "海尔");
        addGoods(db(), "000002", "洗衣机", 4, 1999, "海尔");
        addGoods(db(), "000010", "空调", 1, 3500, "格力");
        lines.setUpdateTable("t_HPrec");
        // The goods lines follow the list, as the main window's do, unless pinned to a code.
        QObject::connect(&orders, &RecordSet::currentRowChanged, [this](int row) {
            if (!pinned)
                openLines(db(), lines, row >= 0 ? orders.value(row, "F_code").toString() : QString());
        });
    }

    void TearDown() override
    {
        editor.reset();
        data.reset();
        EngineTest::TearDown();
    }

    OrderEditor::Opener opener()
    {
        OrderEditor::Opener o;
        o.orders = &orders;
        o.goodsLines = &lines;
        o.pinDetails = [this](const QString& code) {
            pinned = true;
            openLines(db(), lines, code);
        };
        o.relinkDetails = [this] {
            pinned = false;
            openLines(db(), lines, orders.current("F_code").toString());
        };
        o.refreshList = [this](const QString& code) {
            orders.requery();
            orders.locate("F_code", code);
            refreshed << code;
        };
        o.printDispatchSlip = [this] { ++printed; };
        return o;
    }

    // Opens the editor as its opener would, standing on the order with `code` for modes 1-3.
    void open(Mode mode, const QString& code = {}, std::optional<OrderEditor::Opener> custom = {})
    {
        ASSERT_TRUE(orders.open(db(), "SELECT * FROM t_client ORDER BY F_code"));
        if (!code.isEmpty()) {
            ASSERT_TRUE(orders.locate("F_code", code));
        }
        editor = std::make_unique<OrderEditor>(*data, mode, custom.value_or(opener()));
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }

    template <typename T> T* find(const QString& name)
    {
        T* child = editor->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }
    QLineEdit* edit(const QString& name) { return find<QLineEdit>(name); }
    QComboBox* combo(const QString& name) { return find<QComboBox>(name); }
    TickedDateEdit* date(const QString& name) { return find<TickedDateEdit>(name); }
    DataGrid* grid() { return find<DataGrid>("DBGridEh1"); }

    void typeInto(const QString& name, const QString& text)
    {
        QWidget* widget = editor->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name.toStdString();
        widget->setFocus();
        typeText(widget, text);
    }

    // Fills what a new order needs, as a person would.
    void fillNewOrder(const QString& client)
    {
        typeInto("edtClient", client);
        combo("cbbArea")->setCurrentText("海淀区");
        typeInto("edtAddress", "学院路1号");
        combo("cbbXSemp")->setCurrentText("王芳");
        find<QCheckBox>("cbPhoneYD")->setChecked(true);
    }

    void save() { QTest::keyClick(editor.get(), Qt::Key_S, Qt::ControlModifier); }

    // Adds a goods line with Ctrl+A and types the code into it, ending with Enter.
    void typeGoodsLine(const QString& code)
    {
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
        typeText(grid(), code);
        pressOnFocus(Qt::Key_Return);
    }

    int gridColumn(const QString& field)
    {
        return grid()->horizontalHeader()->logicalIndex(grid()->positionOf(field));
    }

    // Whether the cell is drawn with the warning colour.
    bool drawnRed(int row, const QString& field)
    {
        grid()->viewport()->update();
        QApplication::processEvents();
        const QRect cell = grid()->visualRect(grid()->model()->index(row, gridColumn(field)));
        const QImage image = grid()->viewport()->grab(cell).toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 80 && c.blue() < 80)
                    return true;
            }
        }
        return false;
    }

    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
    RecordSet orders;
    RecordSet lines;
    bool pinned = false;
    QStringList refreshed;
    int printed = 0;
    std::unique_ptr<OrderEditor> editor;
};

TEST_P(OrderEditorTest, NewOrderStartsWithItsDefaultsAndTheNextCode)
{
    addOrder(db(), "00000041");
    open(Mode::New);
    EXPECT_EQ(editor->objectName(), "TfrmCltEdit");
    EXPECT_EQ(editor->windowTitle(), "产品记录 - 新增");
    EXPECT_EQ(edit("edtcode")->text(), "00000042");
    EXPECT_EQ(edit("edtstatus")->text(), "未服务");
    EXPECT_EQ(edit("edtOperName")->text(), kOperator);
    EXPECT_EQ(combo("cbbFWtype")->currentText(), "安装");
    EXPECT_EQ(combo("cbbArea")->currentText(), "");
    EXPECT_EQ(combo("cbbArea")->count(), 3) << "the two areas and the empty choice";
    EXPECT_EQ(find<QDateEdit>("dtpBuyDate")->date(), QDate::currentDate());
    EXPECT_FALSE(date("dtpSetupDate")->isChecked());
    EXPECT_EQ(date("dtpSetupDate")->date(), QDate::currentDate());
    EXPECT_TRUE(date("dtpAwokeDate")->isChecked());
    EXPECT_FALSE(date("dtpRQ1")->isChecked());
    EXPECT_EQ(edit("edtSZ1")->text(), "0");
    EXPECT_FALSE(find<QPushButton>("Button3")->isVisible());
    EXPECT_FALSE(find<QWidget>("DBNavigator1")->isVisible());
    EXPECT_TRUE(find<QCheckBox>("CheckBox1")->isVisible());
    EXPECT_TRUE(find<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(pinned);
    EXPECT_EQ(lines.rowCount(), 0);
    // The custom items carry the shop's names where it gave one.
    EXPECT_EQ(find<QLabel>("lblZF1")->text(), "楼层：");
    EXPECT_EQ(find<QLabel>("lblZF2")->text(), "字符项二：");
    EXPECT_EQ(find<QLabel>("lblSZ1")->text(), "面积：");
    EXPECT_EQ(find<QLabel>("lblRQ1")->text(), "回访日：");
    EXPECT_TRUE(messenger.texts().isEmpty()) << messenger.texts().join('\n').toStdString();
}

TEST_P(OrderEditorTest, EnteringOrdersOneAfterAnotherKeepsTheWindowOpen)
{
    open(Mode::New);
    EXPECT_EQ(edit("edtcode")->text(), "00000001");
    fillNewOrder("张三");
    typeGoodsLine("000001");
    EXPECT_EQ(lines.rowCount(), 1);
    EXPECT_EQ(lines.value(0, "F_HPname").toString(), "冰箱");
    EXPECT_DOUBLE_EQ(lines.value(0, "F_amount").toDouble(), 1);
    EXPECT_DOUBLE_EQ(lines.value(0, "F_totalprice").toDouble(), 2999);
    save();

    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), "产品记录 - 新增");
    EXPECT_EQ(edit("edtcode")->text(), "00000002");
    EXPECT_EQ(edit("edtClient")->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), edit("edtClient"));
    EXPECT_EQ(lines.rowCount(), 0);
    EXPECT_EQ(refreshed, QStringList{"00000001"});
    EXPECT_EQ(count(db(), "t_client", "F_code = ? AND F_client = ?", {"00000001", "张三"}), 1);
    EXPECT_EQ(count(db(), "t_HPrec", "F_code = ? AND F_HPcode = ?", {"00000001", "000001"}), 1);

    // Without "连续新增" the window closes once saved.
    fillNewOrder("李四");
    find<QCheckBox>("CheckBox1")->setChecked(false);
    save();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(count(db(), "t_client", "F_code = ? AND F_client = ?", {"00000002", "李四"}), 1);
    EXPECT_FALSE(pinned) << "the goods lines follow the list again";
    EXPECT_TRUE(messenger.texts().isEmpty()) << messenger.texts().join('\n').toStdString();
}

TEST_P(OrderEditorTest, ARefusedSaveFocusesTheFieldItNames)
{
    open(Mode::New);
    struct Step {
        std::function<void()> fill;
        const char* message;
        const char* focus;
    };
    const Step steps[] = {
        {[] {}, "当前顾客姓名不能为空！", "edtClient"},
        {[this] { typeInto("edtClient", "王五"); }, "送货区域不能为空！", "cbbArea"},
        {[this] { combo("cbbArea")->setCurrentText("朝阳区"); }, "送货地址不能为空！", "edtAddress"},
        {[this] { typeInto("edtAddress", "建国路8号"); }, "销售人员不能为空！", "cbbXSemp"},
        {[this] { combo("cbbXSemp")->setCurrentText("李娜"); }, "安装方式“安装时间”或“电话预约”必须选择一！",
         "tick"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.message);
        messenger.clear();
        step.fill();
        find<QPushButton>("Button1")->setFocus();
        save();
        EXPECT_EQ(messenger.texts(), QStringList{step.message});
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), step.focus);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(count(db(), "t_client"), 0);
    }
}

TEST_P(OrderEditorTest, ATypedGoodsCodeFillsTheLineOrSaysWhyNot)
{
    open(Mode::New);
    // One article begins with the code: the line is filled and the amount becomes 1.
    typeGoodsLine("00001");
    EXPECT_EQ(lines.value(0, "F_HPcode").toString(), "000010");
    EXPECT_EQ(lines.value(0, "F_HPname").toString(), "空调");
    EXPECT_EQ(lines.value(0, "F_pinPai").toString(), "格力");
    EXPECT_DOUBLE_EQ(lines.value(0, "F_amount").toDouble(), 1);
    EXPECT_DOUBLE_EQ(lines.value(0, "F_price").toDouble(), 3500);
    EXPECT_EQ(lines.value(0, "F_code").toString(), "00000001");
    // Enter moved on to the amount, the next cell that takes input.
    EXPECT_EQ(grid()->currentIndex().column(), gridColumn("F_amount"));

    // Nothing begins with it: the message, and the line stays as typed.
    typeGoodsLine("777");
    EXPECT_EQ(messenger.texts(), QStringList{"商品编号 \"777\" 不存在，请检查输入？"});
    EXPECT_EQ(lines.value(1, "F_HPcode").toString(), "777");
    EXPECT_EQ(lines.value(1, "F_HPname").toString(), "");

    // Several begin with it: the goods picker opens; the typed line is not changed.
    QString pickerTitle;
    whenModalOpens([&](QWidget* modal) {
        pickerTitle = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    typeGoodsLine("0000");
    EXPECT_EQ(pickerTitle, "商品资料选择");
    EXPECT_EQ(lines.rowCount(), 3);
    EXPECT_EQ(lines.value(2, "F_HPcode").toString(), "0000");
}

TEST_P(OrderEditorTest, TheNamePickerButtonAddsChosenGoodsAtTheirSellingPrice)
{
    open(Mode::New);
    QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
    lines.removeRow(0);
    whenModalOpens([](QWidget* modal) {
        auto* picker = qobject_cast<GoodsPickerDialog*>(modal);
        ASSERT_NE(picker, nullptr);
        auto* list = picker->findChild<DataGrid*>("DBGridEh1");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return); // 000001
        QTest::keyClick(list, Qt::Key_Return); // 000002 took its place
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Return, Qt::ControlModifier);
    ASSERT_EQ(lines.rowCount(), 2);
    EXPECT_EQ(lines.value(0, "F_HPcode").toString(), "000001");
    EXPECT_EQ(lines.value(1, "F_HPcode").toString(), "000002");
    EXPECT_DOUBLE_EQ(lines.value(1, "F_amount").toDouble(), 1);
    EXPECT_DOUBLE_EQ(lines.value(1, "F_totalprice").toDouble(), 1999);
    EXPECT_EQ(lines.value(1, "F_TMcode").toString(), "69000002");
}

TEST_P(OrderEditorTest, AnAmountBeyondTheStockIsDrawnRed)
{
    open(Mode::New);
    typeGoodsLine("000010"); // one in stock
    EXPECT_FALSE(drawnRed(0, "F_amount"));
    lines.setValue(0, "F_amount", 2);
    EXPECT_TRUE(drawnRed(0, "F_amount"));
    EXPECT_DOUBLE_EQ(lines.value(0, "F_totalprice").toDouble(), 7000);
    lines.setValue(0, "F_amount", 1);
    EXPECT_FALSE(drawnRed(0, "F_amount"));
    typeGoodsLine("999"); // not in the catalogue: red for any amount
    messenger.clear();
    lines.setValue(1, "F_amount", 1);
    EXPECT_TRUE(drawnRed(1, "F_amount"));
    EXPECT_FALSE(drawnRed(1, "F_HPcode"));
}

TEST_P(OrderEditorTest, CancellingAfterAddingAndDeletingLinesLeavesTheLinesAsStored)
{
    addOrder(db(), "00000007");
    addLine(db(), "00000007", "000001", 2);
    addLine(db(), "00000007", "000002", 1);
    const QStringList before = snapshot(db());
    open(Mode::Edit, "00000007");
    EXPECT_EQ(editor->windowTitle(), "产品记录 - 修改");
    ASSERT_EQ(lines.rowCount(), 2);

    typeGoodsLine("000010");
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    messenger.answer(Messenger::No);
    QTest::keyClick(grid(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(lines.rowCount(), 3) << "answered no";
    messenger.answer(Messenger::Yes);
    QTest::keyClick(grid(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(lines.rowCount(), 2);
    EXPECT_EQ(messenger.texts(), (QStringList{"真的要删除当前品牌为： 海尔 规格为: BCD-000001 商品吗？",
                                              "真的要删除当前品牌为： 海尔 规格为: BCD-000001 商品吗？"}));
    lines.setValue(0, "F_memo1", "改了");

    QTest::keyClick(grid(), Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(snapshot(db()), before);
    EXPECT_FALSE(lines.hasPendingUpdates());
    EXPECT_EQ(lines.rowCount(), 2);
}

TEST_P(OrderEditorTest, EachModeOpensOnlyItsOwnControls)
{
    addOrder(db(), "00000003", {{"F_status", "正在服务"}, {"F_FWemp", "刘师傅"}});
    struct Case {
        Mode mode;
        QStringList open;
        QStringList locked;
        bool goodsEditable;
    };
    const QStringList customer = {"edtClient", "edtPhone",      "edtMovePhone", "edtAddress",
                                  "cbbArea",   "edtBuyAddress", "dtpBuyDate",   "cbbIFsonghuo",
                                  "cbPhoneYD", "Memo1",         "cbbFWtype",    "cbbXSemp"};
    const QStringList dispatch = {"cbbFWemp", "cbbPStype"};
    const QStringList completion = {"ceFWprice", "Memo2", "cbbSetupPos", "cbbFWtaidu"};
    const QStringList always = {"edtstatus", "edtPGemp", "edtOperName", "edtEditEmp", "edtcode"};
    const Case cases[] = {
        {Mode::New, customer, dispatch + completion + always, true},
        {Mode::Edit, customer, dispatch + completion + always, true},
        {Mode::Dispatch, dispatch, customer + completion + always, false},
        {Mode::Complete, completion, customer + dispatch + always, false},
    };
    const auto isOpen = [this](const QString& name) {
        QWidget* w = editor->findChild<QWidget*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        if (!w)
            return false;
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return !e->isReadOnly();
        if (auto* m = qobject_cast<QPlainTextEdit*>(w))
            return !m->isReadOnly();
        if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
            return !s->isReadOnly();
        return w->isEnabled();
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        open(c.mode, c.mode == Mode::New ? QString() : "00000003");
        for (const QString& name : c.open)
            EXPECT_TRUE(isOpen(name)) << name.toStdString();
        for (const QString& name : c.locked) {
            EXPECT_FALSE(isOpen(name)) << name.toStdString();
            EXPECT_NE(editor->findChild<QWidget*>(name)->focusPolicy() & Qt::TabFocus, Qt::TabFocus)
                << name.toStdString() << " is no Tab stop";
        }
        for (const char* name : {"dtpSetupDate", "dtpAwokeDate", "dtpRQ1", "edtZF1", "edtSZ3"})
            EXPECT_TRUE(isOpen(name)) << name;
        EXPECT_EQ(grid()->isEditable(), c.goodsEditable);
        EXPECT_EQ(find<QAction>("actADD")->isEnabled(), c.goodsEditable);
        EXPECT_EQ(find<QAction>("actDEL")->isEnabled(), c.goodsEditable);
        EXPECT_EQ(find<QWidget>("DBNavigator1")->isVisible(), c.mode != Mode::New);
        EXPECT_EQ(find<QPushButton>("Button3")->isVisible(), c.mode != Mode::New);
        EXPECT_EQ(find<QTabWidget>("PageControl1")->currentIndex(), 0);
        editor.reset();
    }
}

TEST_P(OrderEditorTest, ChoosingTheInstallerDispatchesAndClearingItTakesItBack)
{
    addOrder(db(), "00000003");
    open(Mode::Dispatch, "00000003");
    QComboBox* installer = combo("cbbFWemp");
    installer->setFocus();
    QTest::keyClick(installer, Qt::Key_Down);
    EXPECT_EQ(installer->currentText(), "刘师傅");
    EXPECT_EQ(edit("edtstatus")->text(), "正在服务");
    EXPECT_EQ(edit("edtPGemp")->text(), kOperator);
    QTest::keyClick(installer, Qt::Key_Down);
    EXPECT_EQ(edit("edtstatus")->text(), "正在服务");
    installer->setCurrentIndex(0);
    EXPECT_EQ(edit("edtstatus")->text(), "未服务");
    EXPECT_EQ(edit("edtPGemp")->text(), "");

    save();
    EXPECT_EQ(messenger.texts(), QStringList{"服务人员不能为空！"});
    EXPECT_EQ(QApplication::focusWidget(), installer);
    installer->setCurrentText("张师傅");
    save();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(column(db(), "t_client", "F_status", "F_code = ?", {"00000003"}).toString(), "正在服务");
    EXPECT_EQ(column(db(), "t_client", "F_FWemp", "F_code = ?", {"00000003"}).toString(), "张师傅");
    EXPECT_EQ(column(db(), "t_client", "F_PGemp", "F_code = ?", {"00000003"}).toString(), kOperator);
}

TEST_P(OrderEditorTest, CompletingLowersStockOnceAndAgainNever)
{
    addOrder(db(), "00000005", {{"F_status", "正在服务"}, {"F_FWemp", "刘师傅"}});
    addLine(db(), "00000005", "000001", 3);
    addLine(db(), "00000005", "000002", 4);
    for (int time = 1; time <= 2; ++time) {
        SCOPED_TRACE(time);
        open(Mode::Complete, "00000005");
        EXPECT_FALSE(drawnRed(1, "F_amount")) << "exactly the stock, or already taken";
        QDoubleSpinBox* wage = find<QDoubleSpinBox>("ceFWprice");
        wage->setFocus();
        wage->selectAll();
        typeText(wage, "120.5");
        save();
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(column(db(), "t_client", "F_status", "F_code = ?", {"00000005"}).toString(), "已服务");
        EXPECT_DOUBLE_EQ(column(db(), "t_client", "F_FWprice", "F_code = ?", {"00000005"}).toDouble(), 120.5);
        EXPECT_DOUBLE_EQ(stock(db(), "000001"), 7);
        EXPECT_DOUBLE_EQ(stock(db(), "000002"), 0);
        editor.reset();
    }
}

TEST_P(OrderEditorTest, PhoneAppointmentAndInstallationDateExcludeEachOther)
{
    open(Mode::New);
    TickedDateEdit* setup = date("dtpSetupDate");
    QCheckBox* phone = find<QCheckBox>("cbPhoneYD");
    setup->dateEdit()->setDate(QDate::currentDate().addDays(3));
    EXPECT_TRUE(setup->isChecked()) << "a chosen date is meant";
    phone->setFocus();
    QTest::keyClick(phone, Qt::Key_Space);
    EXPECT_TRUE(phone->isChecked());
    EXPECT_FALSE(setup->isChecked());
    EXPECT_EQ(setup->date(), QDate::currentDate());
    setup->tickBox()->click();
    EXPECT_TRUE(setup->isChecked());
    EXPECT_FALSE(phone->isChecked());
}

TEST_P(OrderEditorTest, EnterMovesOnExceptInMultiLineText)
{
    open(Mode::New);
    edit("edtClient")->setFocus();
    pressOnFocus(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), edit("edtPhone"));
    pressOnFocus(Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), edit("edtMovePhone"));
    auto* memo = find<QPlainTextEdit>("Memo1");
    memo->setFocus();
    typeText(memo, "上午");
    pressOnFocus(Qt::Key_Return);
    typeText(memo, "送货");
    EXPECT_EQ(QApplication::focusWidget(), memo);
    EXPECT_EQ(memo->toPlainText(), "上午\n送货");
    // Esc closes without saving.
    fillNewOrder("赵六");
    pressOnFocus(Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(count(db(), "t_client"), 0);
}

TEST_P(OrderEditorTest, StoredValuesMissingFromTheCodeListsAreShownAndKept)
{
    addOrder(db(), "00000009",
             {{"F_area", "外星区"},
              {"F_FWtype", "拆机"},
              {"F_XSemp", " 王芳 "},
              {"F_setupDate", QDate(1900, 8, 14)},
              {"F_awokeDate", QDate(2023, 3, 1)},
              {"F_ZF1", "三楼"},
              {"F_SZ1", 12.375},
              {"F_FWprice", 33.333}});
    open(Mode::Edit, "00000009");
    EXPECT_EQ(combo("cbbArea")->currentText(), "外星区");
    EXPECT_EQ(combo("cbbFWtype")->currentText(), "拆机");
    EXPECT_EQ(combo("cbbXSemp")->currentText(), "王芳");
    EXPECT_FALSE(date("dtpSetupDate")->isChecked());
    EXPECT_EQ(date("dtpSetupDate")->date(), QDate::currentDate());
    EXPECT_TRUE(date("dtpAwokeDate")->isChecked());
    EXPECT_EQ(date("dtpAwokeDate")->date(), QDate(2023, 3, 1));
    EXPECT_EQ(edit("edtZF1")->text(), "三楼");
    EXPECT_EQ(edit("edtSZ1")->text(), "12.375");
    typeInto("edtZF2", "电梯");
    save();
    EXPECT_FALSE(editor->isVisible());
    const auto value = [this](const char* name) {
        return column(db(), "t_client", name, "F_code = ?", {"00000009"});
    };
    EXPECT_EQ(value("F_area").toString(), "外星区");
    EXPECT_EQ(value("F_FWtype").toString(), "拆机");
    EXPECT_EQ(value("F_ZF2").toString(), "电梯");
    EXPECT_DOUBLE_EQ(value("F_SZ1").toDouble(), 12.375);
    EXPECT_DOUBLE_EQ(value("F_FWprice").toDouble(), 33.333) << "shown rounded, kept exact";
    EXPECT_EQ(SqlDates::toDate(value("F_setupDate")), SqlDates::noDate());
    EXPECT_EQ(value("F_EditEmp").toString(), kOperator);
}

TEST_P(OrderEditorTest, TheNavigatorLoadsEachOrderAndAsksBeforeDroppingChanges)
{
    addOrder(db(), "00000001", {{"F_client", "甲"}});
    addOrder(db(), "00000002", {{"F_client", "乙"}});
    addLine(db(), "00000002", "000001", 1);
    addOrder(db(), "00000003", {{"F_client", "丙"}, {"F_status", "已服务"}});
    open(Mode::Edit, "00000001");
    EXPECT_FALSE(find<QToolButton>("nbPrior")->isEnabled());
    QTest::mouseClick(find<QToolButton>("nbNext"), Qt::LeftButton);
    EXPECT_EQ(edit("edtClient")->text(), "乙");
    EXPECT_EQ(edit("edtcode")->text(), "00000002");
    EXPECT_EQ(lines.rowCount(), 1) << "the goods lines follow the list";

    typeInto("edtClient", "改");
    messenger.answer(Messenger::No);
    QTest::mouseClick(find<QToolButton>("nbFirst"), Qt::LeftButton);
    EXPECT_EQ(messenger.texts(), QStringList{"当前记录已修改，是否放弃修改？"});
    EXPECT_EQ(edit("edtClient")->text(), "乙改");

    messenger.clear();
    messenger.answer(Messenger::Yes);
    QTest::mouseClick(find<QToolButton>("nbLast"), Qt::LeftButton);
    EXPECT_EQ(edit("edtClient")->text(), "丙");
    // A completed order cannot be changed here either.
    EXPECT_EQ(messenger.texts(),
              (QStringList{"当前记录已修改，是否放弃修改？", "此客户记录，已经完工，不能修改货品记录！"}));
    EXPECT_FALSE(find<QPushButton>("Button1")->isEnabled());
    EXPECT_FALSE(find<QToolButton>("nbNext")->isEnabled());
    save();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(column(db(), "t_client", "F_client", "F_code = ?", {"00000002"}).toString(), "乙");
}

TEST_P(OrderEditorTest, FromTheCustomerPickerOnlyTheNameIsNeeded)
{
    OrderEditor::Opener picker;
    picker.orders = &orders;
    picker.goodsLines = &lines;
    picker.picker = true;
    picker.refreshList = [this](const QString& code) {
        orders.requery();
        orders.locate("F_code", code);
    };
    RecordSet other;
    open(Mode::New, {}, picker);
    EXPECT_FALSE(find<QCheckBox>("CheckBox1")->isVisible());
    EXPECT_FALSE(find<QWidget>("DBNavigator1")->isVisible());
    EXPECT_TRUE(lines.isOpen()) << "the editor opens the picker's goods lines on the new code";
    typeInto("edtClient", "钱七");
    typeGoodsLine("000002");
    save();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(orders.current("F_client").toString(), "钱七");
    EXPECT_EQ(count(db(), "t_HPrec", "F_code = ?", {"00000001"}), 1);
}

INSTANTIATE_ENGINES(OrderEditorTest);
