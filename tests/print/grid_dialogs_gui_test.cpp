#include "support/modal_driver.h"
#include "support/test_database.h"
#include "support/xlsx_read_back.h"

#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "print/field_chooser_dialog.h"
#include "print/sort_dialog.h"
#include "widgets/data_grid.h"
#include "widgets/data_grid_export.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

GridColumn column(const char* field, const char* title)
{
    GridColumn c;
    c.fieldName = field;
    c.title = QString::fromUtf8(title);
    return c;
}

void click(QWidget* dialog, const char* button)
{
    auto* b = dialog->findChild<QPushButton*>(button);
    ASSERT_TRUE(b) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

// A double-click is a click and then the double-click event (the test library sends only the latter).
void doubleClickRow(QTreeWidget* list, int row)
{
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    const QPoint at(rect.left() + 20, rect.center().y());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class GridDialogsTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const struct {
            const char* code;
            const char* client;
            double price;
        } orders[] = {{"0123", "b", 30}, {"0200", "a", 10}, {"0300", "b", 20}, {"0400", "a", 10}};
        for (const auto& o : orders)
            ASSERT_TRUE(db().insert("t_client",
                                    {{"F_code", o.code}, {"F_client", o.client}, {"F_FWprice", o.price}}));
        ASSERT_TRUE(records.open(db(), "select * from t_client order by F_ID"));
        grid.setColumns(
            {column("F_code", "单据编号"), column("F_client", "顾客姓名"), column("F_FWprice", "薪资")});
        grid.setSourceModel(&records);
        grid.resize(500, 300);
        grid.show();
    }
    QStringList codes()
    {
        QStringList values;
        for (int row = 0; row < records.rowCount(); ++row)
            values << records.value(row, "F_code").toString();
        return values;
    }

    RecordSet records;
    DataGrid grid;
};

TEST_P(GridDialogsTest, TheFieldChooserCancelsWithEscapeAndHidesWhatIsUnticked)
{
    QStringList shownTitles;
    whenModalOpens([&](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "TFrmDispFieldXZ");
        EXPECT_EQ(dialog->windowTitle(), "字段列表");
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(dialog->findChild<QPushButton*>("btnOk")->text(), "确定");
        EXPECT_EQ(dialog->findChild<QPushButton*>("btnCancel")->text(), "取消");
        auto* list = dialog->findChild<QListWidget*>("chkFields");
        for (int i = 0; i < list->count(); ++i)
            shownTitles << list->item(i)->text();
        list->item(0)->setCheckState(Qt::Unchecked);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(FieldChooserDialog::chooseGridFields(grid), QStringList());
    EXPECT_EQ(shownTitles, (QStringList{"单据编号", "顾客姓名", "薪资"}));
    for (int position = 0; position < 3; ++position)
        EXPECT_TRUE(grid.isColumnVisible(position));

    whenModalOpens([](QWidget* dialog) {
        auto* list = dialog->findChild<QListWidget*>("chkFields");
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setCheckState(Qt::Unchecked);
        click(dialog, "btnOk");
    });
    EXPECT_EQ(FieldChooserDialog::chooseGridFields(grid), (QStringList{"0", "0", "0"}));
    for (int position = 0; position < 3; ++position)
        EXPECT_FALSE(grid.isColumnVisible(position));

    // The dialog starts from what is shown.
    grid.setColumnVisible(0, true);
    grid.setColumnVisible(2, true);
    QList<Qt::CheckState> initial;
    whenModalOpens([&](QWidget* dialog) {
        auto* list = dialog->findChild<QListWidget*>("chkFields");
        for (int i = 0; i < list->count(); ++i)
            initial << list->item(i)->checkState();
        click(dialog, "btnOk");
    });
    EXPECT_EQ(FieldChooserDialog::chooseGridFields(grid), (QStringList{"1", "0", "1"}));
    EXPECT_EQ(initial, (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked}));
}

TEST_P(GridDialogsTest, HidingTheSecondColumnLeavesItsSheetColumnEmpty)
{
    if (!XlsxReadBack::available())
        GTEST_SKIP() << "the unzip program is needed to read the workbook back";
    whenModalOpens([](QWidget* dialog) {
        dialog->findChild<QListWidget*>("chkFields")->item(1)->setCheckState(Qt::Unchecked);
        click(dialog, "btnOk");
    });
    FieldChooserDialog::chooseGridFields(grid);
    ScriptedMessenger messenger;
    QTemporaryDir dir;
    const QString file = dir.filePath(DataGridExport::defaultFileName("客户列表", QDate(2024, 1, 2)));
    ASSERT_TRUE(DataGridExport::exportToFile(grid, "客户列表", file, messenger, &grid));
    const auto sheet = XlsxReadBack::firstSheet(file);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->name, "客户列表");
    EXPECT_EQ(sheet->text("A1"), "单据编号");
    EXPECT_EQ(sheet->cellsInColumn("B"), 0);
    EXPECT_EQ(sheet->text("C1"), "薪资");
    EXPECT_EQ(sheet->text("A2"), "0123");
    EXPECT_EQ(sheet->cells.value("A2").numberFormat, "@");
    EXPECT_EQ(sheet->text("C5"), "10");
}

TEST_P(GridDialogsTest, TheSortDialogBuildsKeysInRowOrder)
{
    QString shownHint;
    whenModalOpens([&](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "TfrmRowArrangeGl");
        EXPECT_EQ(dialog->windowTitle(), "排序对话框");
        shownHint = dialog->findChild<QLabel*>("lblHint")->text();
        for (const char* name : {"btnUp", "btnDown", "btnOk", "btnCancel"})
            EXPECT_TRUE(dialog->findChild<QPushButton*>(name)) << name;
        EXPECT_EQ(dialog->findChild<QPushButton*>("btnUp")->text(), "上移");
        EXPECT_EQ(dialog->findChild<QPushButton*>("btnDown")->text(), "下移");
        auto* list = dialog->findChild<QTreeWidget*>("lstSort");
        EXPECT_EQ(list->columnWidth(0), 150);
        EXPECT_EQ(list->columnWidth(1), 159);
        ASSERT_EQ(list->topLevelItemCount(), 3);
        // Double-clicks step empty, ascending, descending, empty.
        const QStringList steps = {"升序", "降序", "", "升序"};
        for (const QString& step : steps) {
            doubleClickRow(list, 2);
            EXPECT_EQ(list->topLevelItem(2)->text(1), step);
        }
        doubleClickRow(list, 1);
        doubleClickRow(list, 1);
        // "升序" on the third column moves to the top; "上移" on the top row does nothing.
        list->setCurrentItem(list->topLevelItem(2));
        for (int i = 0; i < 3; ++i)
            click(dialog, "btnUp");
        EXPECT_EQ(list->topLevelItem(0)->text(0), "薪资");
        EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
        click(dialog, "btnDown");
        click(dialog, "btnUp");
        click(dialog, "btnOk");
    });
    EXPECT_EQ(SortDialog::sortGrid(grid), "f_fwprice ASC,f_client DESC,");
    EXPECT_EQ(shownHint, "提示：双击空白处切换排序方式（升降无），单击上下移动键调整优先顺序");
    EXPECT_EQ(codes(), (QStringList{"0200", "0400", "0300", "0123"}));
    EXPECT_EQ(grid.sortMarker(2), DataGrid::SortMarker::Ascending);
    EXPECT_EQ(grid.sortMarker(1), DataGrid::SortMarker::Descending);
}

TEST_P(GridDialogsTest, NoDirectionOrCancelGivesAnEmptyTextAndClearsTheSort)
{
    for (const char* button : {"btnOk", "btnCancel"}) {
        grid.applySortText("f_fwprice DESC,");
        ASSERT_EQ(codes(), (QStringList{"0123", "0300", "0200", "0400"}));
        whenModalOpens([button](QWidget* dialog) {
            auto* list = dialog->findChild<QTreeWidget*>("lstSort");
            if (QString::fromLatin1(button) == QLatin1String("btnCancel"))
                doubleClickRow(list, 0); // a direction that the cancel throws away
            click(dialog, button);
        });
        EXPECT_EQ(SortDialog::sortGrid(grid), QString()) << button;
        EXPECT_TRUE(records.sortKeys().isEmpty()) << button;
        EXPECT_EQ(codes(), (QStringList{"0123", "0200", "0300", "0400"})) << button;
        EXPECT_EQ(grid.sortMarker(2), DataGrid::SortMarker::None) << button;
    }
}

TEST(SortDialog, RepeatedTitlesMapToTheFirstColumn)
{
    SortDialog dialog;
    dialog.setColumns({{"F_HFemp", "人员"}, {"F_FWemp", "人员"}, {"F_Date", "日期"}});
    auto* list = dialog.findChild<QTreeWidget*>("lstSort");
    list->topLevelItem(1)->setText(1, "降序");
    list->topLevelItem(2)->setText(1, "升序");
    EXPECT_EQ(dialog.sortText(), "f_hfemp DESC,f_date ASC,");
}

INSTANTIATE_ENGINES(GridDialogsTest);
