#include "records/record_window_test.h"

#include "app/main_window.h"
#include "data/record_set.h"
#include "print/report_viewer.h"
#include "records/return_visit_editor.h"
#include "support/modal_driver.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

using namespace RecordRows;

namespace {
const QString kOrder = QStringLiteral("00000001");

class NoViewer final : public ReportViewer {
public:
    void showPreview(const PreparedReport&) override {}
    void showDesigner(Report&) override {}
};

const QString kCustomer = QStringLiteral("\n  顾客姓名:张三\n  固定电话:01012345");
} // namespace

class ReturnVisitEditorTest : public RecordWindowTest {
protected:
    void SetUp() override
    {
        RecordWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addOrder(db(), kOrder);
        addCode(db(), "hfitem", "安装费");
        addCode(db(), "hfitem", "材料费");
        addCode(db(), "hfitem", "安装费");
        addCode(db(), "hfemp", "李敏");
        addCode(db(), "fwtaidu", "满意");
    }

    void TearDown() override
    {
        editor.reset();
        RecordWindowTest::TearDown();
    }

    void openVisits()
    {
        ASSERT_TRUE(visits.open(db(), "SELECT * FROM t_HFrec WHERE F_code = ? ORDER BY F_ID", {kOrder}));
    }

    void open(ReturnVisitEditor::Mode mode, int row = 0)
    {
        openVisits();
        if (visits.rowCount() > 0)
            visits.setCurrentRow(row);
        editor = std::make_unique<ReturnVisitEditor>(*data, mode, visits, kOrder, kCustomer);
        editor->show();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }

    template <typename T> T* find(const QString& name) { return child<T>(editor.get(), name); }
    QLineEdit* amount(int n) { return find<QLineEdit>(QStringLiteral("ceHFprice%1").arg(n)); }
    QComboBox* item(int n) { return find<QComboBox>(QStringLiteral("cbbHFitem%1").arg(n)); }
    QString total() { return find<QLineEdit>("ceHFtotalprice")->text(); }
    void clickOk() { QTest::mouseClick(find<QPushButton>("Button1"), Qt::LeftButton); }

    void setAmount(int n, const QString& text)
    {
        QLineEdit* edit = amount(n);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        typeText(edit, text);
    }

    RecordSet visits;
    std::unique_ptr<ReturnVisitEditor> editor;
};

TEST_P(ReturnVisitEditorTest, CaptionAndBottomControlsFollowTheMode)
{
    open(ReturnVisitEditor::Mode::New);
    EXPECT_EQ(editor->objectName(), "TfrmHFrecEdit");
    EXPECT_EQ(editor->windowTitle(), "客户回访记录 - 新增");
    EXPECT_TRUE(find<QCheckBox>("CheckBox1")->isVisible());
    EXPECT_TRUE(find<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_FALSE(find<QWidget>("DBNavigator1")->isVisible());
    EXPECT_EQ(find<QPlainTextEdit>("mmoCustomer")->toPlainText(), kCustomer);
    EXPECT_EQ(find<QDateEdit>("dtpHFdate")->date(), QDate::currentDate());
    EXPECT_EQ(item(1)->currentText(), "");
    // The distinct charge items, after a blank entry that chooses none.
    QStringList entries;
    for (int i = 0; i < item(3)->count(); ++i)
        entries << item(3)->itemText(i);
    EXPECT_EQ(entries, QStringList({"", "安装费", "材料费"}));
    EXPECT_FALSE(item(3)->isEditable());
    EXPECT_TRUE(find<QComboBox>("cbbHFemp")->isEditable());
    EXPECT_TRUE(find<QLineEdit>("ceHFtotalprice")->isReadOnly());
    editor.reset();

    addVisit(db(), kOrder);
    open(ReturnVisitEditor::Mode::Edit);
    EXPECT_EQ(editor->windowTitle(), "客户回访记录 - 修改");
    EXPECT_FALSE(find<QCheckBox>("CheckBox1")->isVisible());
    EXPECT_TRUE(find<QWidget>("DBNavigator1")->isVisible());
}

TEST_P(ReturnVisitEditorTest, TheTotalFollowsEveryAmount)
{
    open(ReturnVisitEditor::Mode::New);
    const QStringList amounts = {"30", "0", "12.5", "0", "0"};
    for (int n = 1; n <= 5; ++n)
        setAmount(n, amounts.at(n - 1));
    EXPECT_EQ(total(), "42.50");
    setAmount(1, "");
    EXPECT_EQ(total(), "12.50");
    // Letters are no amount; the field keeps what it had.
    setAmount(2, "7");
    typeText(amount(2), "x'");
    EXPECT_EQ(amount(2)->text(), "7");
    EXPECT_EQ(total(), "19.50");

    clickOk();
    openVisits();
    ASSERT_EQ(visits.rowCount(), 1);
    EXPECT_EQ(visits.value(0, "F_HFprice1").toDouble(), 0.0);
    EXPECT_EQ(visits.value(0, "F_HFprice2").toDouble(), 7.0);
    EXPECT_EQ(visits.value(0, "F_HFprice3").toDouble(), 12.5);
    EXPECT_EQ(visits.value(0, "F_HFtotalPrice").toDouble(), 19.5);
}

TEST_P(ReturnVisitEditorTest, ContinuousAddingSavesEmptiesAndStaysOpen)
{
    open(ReturnVisitEditor::Mode::New);
    // Every field empty: the order code, today and zero amounts.
    clickOk();
    EXPECT_TRUE(editor->isVisible());
    ASSERT_EQ(count(db(), "t_HFrec"), 1);
    ASSERT_EQ(visits.rowCount(), 1);
    EXPECT_EQ(visits.value(0, "F_code").toString(), kOrder);
    EXPECT_EQ(visits.value(0, "F_HFdate").toDate(), QDate::currentDate());
    EXPECT_EQ(visits.value(0, "F_HFtotalPrice").toDouble(), 0.0);

    auto* date = find<QDateEdit>("dtpHFdate");
    date->setDate(QDate(2024, 5, 3));
    typeText(find<QPlainTextEdit>("Memo1"), "第二次回访");
    setAmount(1, "15");
    item(1)->setCurrentText("材料费");
    clickOk();
    EXPECT_TRUE(editor->isVisible());
    // Emptied for the next call, today's date, focus on the date.
    EXPECT_EQ(date->date(), QDate::currentDate());
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), "");
    EXPECT_EQ(amount(1)->text(), "0");
    EXPECT_EQ(item(1)->currentText(), "");
    EXPECT_EQ(total(), "0.00");
    EXPECT_TRUE(date->hasFocus());
    // The opener's list shows the new visit as its current, last row.
    ASSERT_EQ(visits.rowCount(), 2);
    EXPECT_EQ(visits.currentRow(), 1);
    EXPECT_EQ(visits.current("F_memo1").toString(), "第二次回访");
    EXPECT_EQ(visits.current("F_HFitem1").toString(), "材料费");
    EXPECT_EQ(visits.current("F_HFdate").toDate(), QDate(2024, 5, 3));
    EXPECT_TRUE(editor->savedAny());
}

TEST_P(ReturnVisitEditorTest, WithoutContinuousAddingASaveCloses)
{
    open(ReturnVisitEditor::Mode::New);
    find<QCheckBox>("CheckBox1")->setChecked(false);
    clickOk();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(count(db(), "t_HFrec"), 1);
}

TEST_P(ReturnVisitEditorTest, AnUntouchedVisitIsSavedUnchangedEvenWithValuesTheListsLack)
{
    // An attitude and a charge item that no code list offers, and a total that is not the sum.
    addVisit(db(), kOrder,
             {{"F_HFemp", "已离职员工"},
              {"F_FWtaidu", "一般般"},
              {"F_addFlag", true},
              {"F_HFitem1", "旧收费项"},
              {"F_HFprice1", 10.0},
              {"F_HFitem2", "安装费"},
              {"F_HFprice2", 5.0},
              {"F_HFtotalPrice", 99.0},
              {"F_memo1", "内容"},
              {"F_memo2", "结果"},
              {"F_memo3", "现金"}});
    const QStringList before = snapshot(db(), "t_HFrec");
    open(ReturnVisitEditor::Mode::Edit);
    EXPECT_EQ(find<QComboBox>("cbbFWtaidu")->currentText(), "一般般");
    EXPECT_EQ(item(1)->currentText(), "旧收费项");
    EXPECT_EQ(item(2)->currentText(), "安装费");
    EXPECT_EQ(total(), "99.00");
    // Entering the attitude list reads its entries again without losing the text.
    find<QComboBox>("cbbFWtaidu")->setFocus();
    EXPECT_EQ(find<QComboBox>("cbbFWtaidu")->currentText(), "一般般");
    clickOk();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(snapshot(db(), "t_HFrec"), before);
}

TEST_P(ReturnVisitEditorTest, AChargeItemCanBeTakenOffAgain)
{
    addVisit(db(), kOrder, {{"F_HFitem1", "旧收费项"}, {"F_HFprice1", 10.0}});
    open(ReturnVisitEditor::Mode::Edit);
    item(1)->setCurrentIndex(0);
    clickOk();
    openVisits();
    EXPECT_EQ(visits.value(0, "F_HFitem1").toString(), "");
    EXPECT_EQ(visits.value(0, "F_HFprice1").toDouble(), 10.0);
}

TEST_P(ReturnVisitEditorTest, TheNavigatorMovesAndTheSaveChangesTheVisitMovedTo)
{
    addVisit(db(), kOrder, {{"F_HFemp", "甲"}, {"F_HFitem1", "旧收费项"}});
    addVisit(db(), kOrder, {{"F_HFemp", "乙"}, {"F_HFitem1", ""}});
    addVisit(db(), kOrder, {{"F_HFemp", "丙"}, {"F_memo1", "第三"}});
    open(ReturnVisitEditor::Mode::Edit, 0);
    auto* employee = find<QComboBox>("cbbHFemp");
    EXPECT_EQ(employee->currentText(), "甲");
    EXPECT_FALSE(find<QToolButton>("nbFirst")->isEnabled());
    EXPECT_FALSE(find<QToolButton>("nbPrior")->isEnabled());

    QTest::mouseClick(find<QToolButton>("nbLast"), Qt::LeftButton);
    EXPECT_EQ(employee->currentText(), "丙");
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), "第三");
    EXPECT_FALSE(find<QToolButton>("nbNext")->isEnabled());
    QTest::mouseClick(find<QToolButton>("nbPrior"), Qt::LeftButton);
    EXPECT_EQ(employee->currentText(), "乙");
    // The item of the first visit does not stay behind on the second.
    EXPECT_EQ(item(1)->currentText(), "");
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), "");

    employee->setEditText("乙改");
    clickOk();
    openVisits();
    EXPECT_EQ(visits.value(0, "F_HFemp").toString(), "甲");
    EXPECT_EQ(visits.value(0, "F_HFitem1").toString(), "旧收费项");
    EXPECT_EQ(visits.value(1, "F_HFemp").toString(), "乙改");
    EXPECT_EQ(visits.value(2, "F_HFemp").toString(), "丙");
}

TEST_P(ReturnVisitEditorTest, CancelAndEscapeLeaveTheVisitsUnchanged)
{
    addVisit(db(), kOrder, {{"F_HFemp", "甲"}});
    const QStringList before = snapshot(db(), "t_HFrec");
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Esc" : "取消");
        open(ReturnVisitEditor::Mode::Edit);
        find<QComboBox>("cbbHFemp")->setEditText("改了");
        setAmount(3, "88");
        typeText(find<QPlainTextEdit>("Memo2"), "不保存");
        if (escape)
            QTest::keyClick(editor.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(find<QPushButton>("Button2"), Qt::LeftButton);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(editor->result(), QDialog::Rejected);
        EXPECT_EQ(snapshot(db(), "t_HFrec"), before);
        editor.reset();
    }
}

TEST_P(ReturnVisitEditorTest, AFailedSaveSaysSoAndKeepsTheInput)
{
    open(ReturnVisitEditor::Mode::New);
    typeText(find<QPlainTextEdit>("Memo1"), "保留的内容");
    setAmount(1, "30");
    ASSERT_TRUE(db().exec("ALTER TABLE t_HFrec RENAME COLUMN F_memo3 TO F_memo3_gone"));
    clickOk();
    ASSERT_EQ(messenger.count(), 1);
    EXPECT_EQ(messenger.lastText(), "保存失败，请检测数据库连接！");
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(find<QPlainTextEdit>("Memo1")->toPlainText(), "保留的内容");
    EXPECT_EQ(total(), "30.00");
    EXPECT_EQ(count(db(), "t_HFrec"), 0);

    ASSERT_TRUE(db().exec("ALTER TABLE t_HFrec RENAME COLUMN F_memo3_gone TO F_memo3"));
    clickOk();
    openVisits();
    ASSERT_EQ(visits.rowCount(), 1);
    EXPECT_EQ(visits.value(0, "F_memo1").toString(), "保留的内容");
}

TEST_P(ReturnVisitEditorTest, QuotesPercentAndChineseAreStoredVerbatim)
{
    open(ReturnVisitEditor::Mode::New);
    find<QCheckBox>("CheckBox1")->setChecked(false);
    const QString odd = QStringLiteral("O'Brien 说\"100%\"_好");
    typeText(find<QComboBox>("cbbHFemp"), odd);
    typeText(find<QComboBox>("cbbFWtaidu"), "'满意'");
    typeText(find<QPlainTextEdit>("Memo1"), odd + "\n第二行");
    typeText(find<QPlainTextEdit>("Memo3"), "  ' ; --  ");
    find<QCheckBox>("cbAddflag")->setFocus();
    QTest::keyClick(find<QCheckBox>("cbAddflag"), Qt::Key_Space);
    clickOk();
    openVisits();
    ASSERT_EQ(visits.rowCount(), 1);
    EXPECT_EQ(visits.value(0, "F_HFemp").toString(), odd);
    EXPECT_EQ(visits.value(0, "F_FWtaidu").toString(), "'满意'");
    EXPECT_EQ(visits.value(0, "F_memo1").toString(), odd + "\n第二行");
    EXPECT_EQ(visits.value(0, "F_memo3").toString(), "' ; --");
    EXPECT_TRUE(visits.value(0, "F_addFlag").toBool());
}

TEST_P(ReturnVisitEditorTest, KeyboardEnterMovesOnCtrlSSaves)
{
    open(ReturnVisitEditor::Mode::New);
    auto* date = find<QDateEdit>("dtpHFdate");
    date->setFocus();
    QTest::keyClick(date, Qt::Key_Return);
    auto* employee = find<QComboBox>("cbbHFemp");
    EXPECT_TRUE(employee->hasFocus());
    typeText(employee, "赵");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(find<QComboBox>("cbbFWtaidu")->hasFocus());
    // Enter never adds the typed name to the list's entries.
    EXPECT_EQ(employee->findText("赵"), -1);

    auto* memo = find<QPlainTextEdit>("Memo1");
    memo->setFocus();
    typeText(memo, "一");
    QTest::keyClick(memo, Qt::Key_Return);
    typeText(memo, "二");
    EXPECT_EQ(memo->toPlainText(), "一\n二");
    EXPECT_TRUE(memo->hasFocus());

    QTest::keyClick(memo, Qt::Key_S, Qt::ControlModifier);
    openVisits();
    ASSERT_EQ(visits.rowCount(), 1);
    EXPECT_EQ(visits.value(0, "F_HFemp").toString(), "赵");
    EXPECT_EQ(visits.value(0, "F_memo1").toString(), "一\n二");
}

TEST_P(ReturnVisitEditorTest, TheEmployeeListReadsItsEntriesWhenEntered)
{
    open(ReturnVisitEditor::Mode::New);
    auto* employee = find<QComboBox>("cbbHFemp");
    find<QDateEdit>("dtpHFdate")->setFocus();
    employee->setEditText("王");
    addCode(db(), "hfemp", "新来的");
    employee->setFocus();
    QApplication::processEvents();
    EXPECT_NE(employee->findText("新来的"), -1);
    EXPECT_NE(employee->findText("李敏"), -1);
    EXPECT_EQ(employee->currentText(), "王");
}

TEST_P(ReturnVisitEditorTest, TheMainWindowsVisitTabAddsAndChangesVisitsOfTheCurrentOrder)
{
    ASSERT_TRUE(db().exec("UPDATE t_client SET F_client = ?, F_phone = ? WHERE F_code = ?",
                          {"张三", "01012345", kOrder}));
    addVisit(db(), kOrder, {{"F_HFemp", "甲"}});
    MainWindow window(*data);
    NoViewer viewer;
    window.setReportViewer(viewer);
    window.applyLogin();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    child<QTabWidget>(&window, "PageControl1")->setCurrentIndex(1);
    auto* add = child<QAction>(&window, "Action601");
    auto* change = child<QAction>(&window, "Action602");

    whenModalOpens([](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), "TfrmHFrecEdit");
        EXPECT_EQ(modal->windowTitle(), "客户回访记录 - 新增");
        const QString customer = modal->findChild<QPlainTextEdit*>("mmoCustomer")->toPlainText();
        EXPECT_TRUE(customer.contains("  顾客姓名:张三")) << customer.toStdString();
        EXPECT_TRUE(customer.contains("  固定电话:01012345")) << customer.toStdString();
        auto* employee = modal->findChild<QComboBox*>("cbbHFemp");
        employee->setFocus();
        typeText(employee, "乙");
        QTest::keyClick(employee, Qt::Key_S, Qt::ControlModifier);
        // "连续新增": still open for the next call.
        EXPECT_TRUE(modal->isVisible());
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    add->trigger();
    RecordSet& visits = window.visits();
    ASSERT_EQ(visits.rowCount(), 2);
    EXPECT_EQ(visits.currentRow(), 1);
    EXPECT_EQ(visits.current("F_HFemp").toString(), "乙");

    whenModalOpens([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "客户回访记录 - 修改");
        auto* employee = modal->findChild<QComboBox*>("cbbHFemp");
        EXPECT_EQ(employee->currentText(), "乙");
        employee->setEditText("乙改");
        QTest::keyClick(employee, Qt::Key_S, Qt::ControlModifier);
    });
    change->trigger();
    ASSERT_EQ(visits.rowCount(), 2);
    EXPECT_EQ(visits.currentRow(), 1);
    EXPECT_EQ(visits.current("F_HFemp").toString(), "乙改");
    EXPECT_EQ(visits.value(0, "F_HFemp").toString(), "甲");
    EXPECT_TRUE(messenger.texts().isEmpty()) << messenger.texts().join(' ').toStdString();
}

INSTANTIATE_ENGINES(ReturnVisitEditorTest);
