#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "goods/goods_picker_dialog.h"
#include "records/order_test_data.h"
#include "support/test_database.h"
#include "widgets/data_grid.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

using namespace OrderTestData;

class GoodsPickerDialogTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        config.load(QDir(home.path()).filePath("config.ini"));
        data = std::make_unique<DataModule>(db(), messenger, config, home.path());
        for (const char* brand : {"海尔", "格力", "小天鹅"})
            ASSERT_TRUE(db().insert("t_code", {{"F_type", "pinpai"}, {"F_name", brand}}));
        for (const auto& [code, name, path] :
             {std::tuple{"005", "冰箱", "\\\\冰箱"}, std::tuple{"006", "洗衣机", "\\\\洗衣机"},
              std::tuple{"006001", "滚筒", "\\\\洗衣机\\滚筒"}})
            ASSERT_TRUE(db().insert(
                "t_treecode",
                {{"F_code", code}, {"F_name", name}, {"F_likecode", path}, {"F_flag", "goodtype"}}));
        addGoods(db(), "000001", "双门冰箱", 5, 2999, "海尔");
        addGoods(db(), "000002", "滚筒洗衣机", 2, 1999, "小天鹅");
        addGoods(db(), "000003", "三门冰箱", 0, 3999, "海尔");
        addGoods(db(), "000004", "柜式空调", 1, 5999, "格力");
        db().exec("UPDATE t_goods SET F_type = ?", {"\\\\冰箱"});
        db().exec("UPDATE t_goods SET F_type = ? WHERE F_code = ?", {"\\\\洗衣机\\滚筒", "000002"});
        ASSERT_TRUE(openLines(db(), lines, "00000001"));
    }

    void TearDown() override
    {
        picker.reset();
        data.reset();
        EngineTest::TearDown();
    }

    void open()
    {
        picker = std::make_unique<GoodsPickerDialog>(*data, lines);
        picker->show();
        picker->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(picker.get()));
    }

    DataGrid* list() { return picker->findChild<DataGrid*>("DBGridEh1"); }

    QStringList listed()
    {
        QStringList codes;
        for (int row = 0; row < picker->goods().rowCount(); ++row)
            codes << picker->goods().value(row, "F_code").toString();
        return codes;
    }

    QStringList lineCodes()
    {
        QStringList codes;
        for (int row = 0; row < lines.rowCount(); ++row)
            codes << lines.value(row, "F_HPcode").toString();
        return codes;
    }

    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
    RecordSet lines;
    std::unique_ptr<GoodsPickerDialog> picker;
};

TEST_P(GoodsPickerDialogTest, OpensOnTheWholeCatalogueWithTheTypeTree)
{
    open();
    EXPECT_EQ(picker->objectName(), "TDLGgoodXZ");
    EXPECT_EQ(picker->windowTitle(), "商品资料选择");
    EXPECT_EQ(listed(), (QStringList{"000001", "000002", "000003", "000004"}));
    auto* tree = picker->findChild<QTreeWidget*>("tvType");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "商品类型");
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    auto* brands = picker->findChild<QComboBox*>("cbbPinPai");
    EXPECT_EQ(brands->count(), 4);
    EXPECT_EQ(list()->gridColumn(0).title, "编号");
    EXPECT_EQ(list()->gridColumn(7).title, "预售单价");
    EXPECT_EQ(list()->gridColumn(9).title, "库存数量");
    EXPECT_TRUE(messenger.texts().isEmpty()) << messenger.texts().join('\n').toStdString();
}

TEST_P(GoodsPickerDialogTest, FiltersListAsTheyChange)
{
    open();
    auto* brand = picker->findChild<QComboBox*>("cbbPinPai");
    auto* code = picker->findChild<QLineEdit*>("edtCode");
    auto* name = picker->findChild<QLineEdit*>("edtName");
    brand->setEditText("海");
    EXPECT_EQ(listed(), (QStringList{"000001", "000003"}));
    QTest::keyClicks(code, "3");
    EXPECT_EQ(listed(), QStringList{"000003"});
    code->clear();
    brand->setEditText("");
    name->setText("冰箱");
    EXPECT_EQ(listed(), (QStringList{"000001", "000003"}));
    name->clear();

    // Double-clicking a type lists that type and the ones below it.
    auto* tree = picker->findChild<QTreeWidget*>("tvType");
    QTreeWidgetItem* washers = tree->findItems("洗衣机", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(washers, nullptr);
    tree->setCurrentItem(washers);
    Q_EMIT tree->itemDoubleClicked(washers, 0);
    EXPECT_EQ(listed(), QStringList{"000002"});
    tree->setCurrentItem(tree->topLevelItem(0));
    Q_EMIT tree->itemDoubleClicked(tree->topLevelItem(0), 0);
    EXPECT_EQ(listed().size(), 4);
}

TEST_P(GoodsPickerDialogTest, PickedArticlesBecomeLinesAndLeaveTheListForThisOpeningOnly)
{
    open();
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return); // the first article
    list()->setCurrentIndex(list()->model()->index(1, 0));
    QTest::mouseClick(picker->findChild<QPushButton*>("btnOK"), Qt::LeftButton); // the third
    const QModelIndex last = list()->model()->index(1, 0);
    const QPoint at = list()->visualRect(last).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at); // the fourth
    EXPECT_EQ(lineCodes(), (QStringList{"000001", "000003", "000004"}));
    EXPECT_EQ(picker->pickedCodes(), lineCodes());
    EXPECT_EQ(listed(), QStringList{"000002"});
    for (int row = 0; row < lines.rowCount(); ++row) {
        EXPECT_DOUBLE_EQ(lines.value(row, "F_amount").toDouble(), 1);
        EXPECT_DOUBLE_EQ(lines.value(row, "F_price").toDouble(), lines.value(row, "F_totalprice").toDouble());
    }
    EXPECT_DOUBLE_EQ(lines.value(1, "F_price").toDouble(), 3999);
    EXPECT_EQ(lines.value(1, "F_HPname").toString(), "三门冰箱");
    EXPECT_TRUE(picker->isVisible()) << "the picker stays open";

    QTest::keyClick(picker.get(), Qt::Key_Escape);
    EXPECT_FALSE(picker->isVisible());
    open();
    EXPECT_EQ(listed().size(), 4);
    EXPECT_EQ(count(db(), "t_HPrec"), 0) << "the lines wait for the order's save";
}

TEST_P(GoodsPickerDialogTest, NewGoodsIsNotAvailableYet)
{
    open();
    QTest::mouseClick(picker->findChild<QPushButton*>("btnAddGoods"), Qt::LeftButton);
    EXPECT_EQ(messenger.texts(), QStringList{"此功能尚未提供"});
    EXPECT_EQ(count(db(), "t_goods"), 4);
}

INSTANTIATE_ENGINES(GoodsPickerDialogTest);
