#include "data/record_set.h"
#include "records/order_line_stock.h"
#include "records/order_test_data.h"
#include "support/test_database.h"

using namespace OrderTestData;

class OrderLineStockTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addGoods(db(), "000001", "冰箱", 5);
        addGoods(db(), "000002", "洗衣机", 0);
        ASSERT_TRUE(openLines(db(), lines, "00000001"));
    }

    int add(const QString& goods, const QVariant& amount)
    {
        const int row = lines.appendRow();
        lines.setValue(row, "F_HPcode", goods);
        lines.setValue(row, "F_amount", amount);
        return row;
    }

    QList<bool> shortLines()
    {
        EXPECT_TRUE(stock.refresh(db(), lines));
        QList<bool> flags;
        for (int row = 0; row < lines.rowCount(); ++row)
            flags << stock.isShort(lines, row);
        return flags;
    }

    RecordSet lines;
    OrderLineStock stock;
};

TEST_P(OrderLineStockTest, LinesThatWouldTakeStockBelowZeroAreShort)
{
    add("000001", 5);          // exactly the stock
    add("000002", QVariant()); // nothing ordered yet
    add("999998", 0);          // unknown goods, no amount
    add("999999", 0.5);        // unknown goods count as none in stock
    add("", 1);                // no code at all
    EXPECT_EQ(shortLines(), (QList<bool>{false, false, false, true, true}));

    lines.setValue(0, "F_amount", 6);
    EXPECT_EQ(shortLines().first(), true);
}

TEST_P(OrderLineStockTest, LinesOfTheSameGoodsCountTogether)
{
    add("000001", 3);
    add("000001", 3);
    EXPECT_EQ(shortLines(), (QList<bool>{true, true}));
    lines.removeRow(1);
    EXPECT_EQ(shortLines(), (QList<bool>{false}));
}

TEST_P(OrderLineStockTest, ACompletedOrderHasTakenItsGoodsAlready)
{
    add("000001", 3);
    add("000002", 1);
    stock.setAlreadyTaken(true);
    EXPECT_EQ(shortLines(), (QList<bool>{false, false}));
}

TEST_P(OrderLineStockTest, StockIsReadOnceForEachSetOfGoodsCodes)
{
    add("000001", 1);
    add("000002", 1);
    shortLines();
    EXPECT_EQ(stock.reads(), 1);
    // Amounts and other columns change, the codes stay: nothing is read.
    lines.setValue(0, "F_amount", 4);
    lines.setValue(1, "F_memo1", "备注");
    add("000001", 1);
    shortLines();
    EXPECT_EQ(stock.reads(), 1);
    for (int row = 0; row < lines.rowCount(); ++row)
        stock.isShort(lines, row);
    EXPECT_EQ(stock.reads(), 1);

    lines.setValue(1, "F_HPcode", "000003");
    shortLines();
    EXPECT_EQ(stock.reads(), 2);
}

INSTANTIATE_ENGINES(OrderLineStockTest);
