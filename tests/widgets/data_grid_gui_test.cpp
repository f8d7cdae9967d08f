#include "support/modal_driver.h"
#include "support/test_database.h"

#include "data/data_services.h"
#include "data/grid_layout_seed.h"
#include "data/login_state.h"
#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "widgets/data_grid.h"
#include "widgets/data_grid_export.h"
#include "widgets/data_grid_footer.h"
#include "widgets/data_grid_services.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QProgressDialog>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

GridColumn column(const char* field, const char* title, GridColumn::Footer footer = GridColumn::Footer::None,
                  const char* format = "")
{
    GridColumn c;
    c.fieldName = field;
    c.title = QString::fromUtf8(title);
    c.footer = footer;
    c.displayFormat = format;
    c.width = 90;
    return c;
}

struct Order {
    const char* code;
    const char* client;
    double price;
    const char* status = "未服务";
    QDate setup = QDate(2024, 1, 1);
};

} // namespace

class DataGridTest : public EngineTest {
protected:
    void insertOrders(const QList<Order>& orders)
    {
        Transaction transaction(db());
        for (const Order& o : orders) {
            ASSERT_TRUE(db().insert("t_client", {{"F_code", o.code},
                                                 {"F_client", QString::fromUtf8(o.client)},
                                                 {"F_FWprice", o.price},
                                                 {"F_status", QString::fromUtf8(o.status)},
                                                 {"F_setupDate", o.setup},
                                                 {"F_memo1", QString::fromUtf8(o.client)}}));
        }
        ASSERT_TRUE(transaction.commit());
    }
    void openOrders(int chunk = 2)
    {
        records.setChunkSize(chunk);
        ASSERT_TRUE(records.open(db(), "select * from t_client order by F_ID"));
        grid.setSourceModel(&records);
    }
    QStringList valuesOf(const QString& field)
    {
        records.fetchAll();
        QStringList values;
        for (int row = 0; row < records.rowCount(); ++row)
            values << records.value(row, field).toString();
        return values;
    }
    void clickTitle(const QString& field)
    {
        QHeaderView* header = grid.horizontalHeader();
        const int logical = header->logicalIndex(grid.positionOf(field));
        const QPoint at(header->sectionViewportPosition(logical) + header->sectionSize(logical) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void clickTitleAt(int position)
    {
        QHeaderView* header = grid.horizontalHeader();
        const int logical = header->logicalIndex(position);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(logical) + 5, header->height() / 2));
    }
    QString cell(int row, const QString& field)
    {
        return grid.model()
            ->index(row, grid.horizontalHeader()->logicalIndex(grid.positionOf(field)))
            .data()
            .toString();
    }

    RecordSet records;
    DataGrid grid;
    ScriptedMessenger messenger;
};

TEST_P(DataGridTest, TitleClicksSortInMemoryAndMemoTitlesOnlyToggleTheirMarker)
{
    insertOrders({{"0300", "c", 1}, {"0100", "a", 2}, {"0500", "e", 3}, {"0200", "b", 4}, {"0400", "d", 5}});
    grid.setColumns(
        {column("F_code", "单据编号"), column("F_memo1", "派工要求"), column("F_client", "顾客姓名")});
    openOrders();
    grid.resize(600, 300);
    grid.show();
    records.fetchAll();
    // A row written after the list was read shows that nothing runs the query again.
    insertOrders({{"0000", "z", 9}});

    const QStringList queryOrder = {"0300", "0100", "0500", "0200", "0400"};
    const struct {
        const char* field;
        DataGrid::SortMarker codeMarker;
        DataGrid::SortMarker memoMarker;
        QStringList codes;
    } clicks[] = {
        {"F_code",
         DataGrid::SortMarker::Ascending,
         DataGrid::SortMarker::None,
         {"0100", "0200", "0300", "0400", "0500"}},
        {"F_code",
         DataGrid::SortMarker::Descending,
         DataGrid::SortMarker::None,
         {"0500", "0400", "0300", "0200", "0100"}},
        {"F_code",
         DataGrid::SortMarker::Ascending,
         DataGrid::SortMarker::None,
         {"0100", "0200", "0300", "0400", "0500"}},
        {"F_memo1",
         DataGrid::SortMarker::Ascending,
         DataGrid::SortMarker::Ascending,
         {"0100", "0200", "0300", "0400", "0500"}},
        {"F_memo1",
         DataGrid::SortMarker::Ascending,
         DataGrid::SortMarker::Descending,
         {"0100", "0200", "0300", "0400", "0500"}},
    };
    for (const auto& click : clicks) {
        clickTitle(click.field);
        EXPECT_EQ(grid.sortMarker(grid.positionOf("F_code")), click.codeMarker) << click.field;
        EXPECT_EQ(grid.sortMarker(grid.positionOf("F_memo1")), click.memoMarker) << click.field;
        EXPECT_EQ(valuesOf("F_code"), click.codes) << click.field;
    }
    EXPECT_EQ(records.sortKeys(), (QList<RecordSet::SortKey>{{"F_code", true}}));
    EXPECT_EQ(cell(0, "F_code"), "0100");

    // Another column's title sorts by that column alone; the old marker stays as it was.
    clickTitle("F_client");
    EXPECT_EQ(records.sortKeys(), (QList<RecordSet::SortKey>{{"F_client", true}}));
    EXPECT_EQ(grid.sortMarker(grid.positionOf("F_code")), DataGrid::SortMarker::Ascending);

    records.close();
    clickTitle("F_client");
    EXPECT_EQ(grid.sortMarker(grid.positionOf("F_client")), DataGrid::SortMarker::Ascending);
    Q_UNUSED(queryOrder);
}

TEST_P(DataGridTest, SumFootersCountEveryRowAndFollowChanges)
{
    insertOrders({{"1", "a", 1000.5}, {"2", "b", 2}, {"3", "c", 3}, {"4", "d", 4}, {"5", "e", 5}});
    grid.setColumns({column("F_code", "单据编号", GridColumn::Footer::Text),
                     column("F_FWprice", "薪资", GridColumn::Footer::Sum, ",0.00"),
                     column("F_client", "顾客姓名", GridColumn::Footer::Sum)});
    GridColumn label = grid.gridColumn(0);
    label.footerValue = "合计";
    grid.setGridColumn(0, label);
    openOrders();
    grid.show();
    ASSERT_TRUE(grid.footerRow()->isVisible());

    EXPECT_EQ(grid.footerText(0), "合计");
    EXPECT_EQ(grid.footerText(1), "1,014.50");
    EXPECT_TRUE(records.isFullyLoaded());
    EXPECT_EQ(grid.footerText(2), "0"); // text adds up to nothing

    ASSERT_TRUE(records.setValue(0, "F_FWprice", 2000.5));
    EXPECT_EQ(grid.footerText(1), "2,014.50");
    const int added = records.appendRow();
    ASSERT_TRUE(records.setValue(added, "F_FWprice", 10));
    EXPECT_EQ(grid.footerText(1), "2,024.50");
    ASSERT_TRUE(records.removeRow(1));
    EXPECT_EQ(grid.footerText(1), "2,022.50");
    records.cancelUpdates();
    ASSERT_TRUE(db().exec("update t_client set F_FWprice = 1.25"));
    ASSERT_TRUE(records.requery());
    EXPECT_EQ(grid.footerText(1), "6.25");

    // The painted footer catches up by itself.
    ASSERT_TRUE(records.setValue(0, "F_FWprice", 100));
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.footerText(1), "105.00");
}

TEST_P(DataGridTest, AListWithoutSumsStaysLazyAndTheFooterNeverHidesTheLastRow)
{
    QList<Order> many;
    QList<QByteArray> codes;
    for (int i = 0; i < 60; ++i)
        codes << QByteArray::number(1000 + i);
    for (const QByteArray& code : codes)
        many.append({code.constData(), "x", 1});
    insertOrders(many);
    grid.setColumns({column("F_code", "单据编号"), column("F_client", "顾客姓名")});
    openOrders(10);
    grid.resize(300, 200);
    grid.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(records.isFullyLoaded());
    EXPECT_FALSE(grid.footerRow()->isVisible());

    grid.setColumns({column("F_code", "单据编号", GridColumn::Footer::Text),
                     column("F_FWprice", "薪资", GridColumn::Footer::Sum)});
    QCoreApplication::processEvents();
    EXPECT_TRUE(records.isFullyLoaded());
    ASSERT_TRUE(grid.footerRow()->isVisible());
    grid.scrollToBottom();
    QCoreApplication::processEvents();
    const QRect last = grid.visualRect(grid.model()->index(records.rowCount() - 1, 0));
    EXPECT_LE(last.bottom(), grid.viewport()->height());
    EXPECT_GE(grid.footerRow()->geometry().top(), grid.viewport()->geometry().bottom());
    EXPECT_EQ(grid.footerText(1), "60");
}

TEST_P(DataGridTest, CellsShowFormatsDatesAlignmentAndRowColours)
{
    insertOrders({{"1", "a", 1234.5, "已服务", QDate(1900, 8, 14)},
                  {"2", "b", 0.125, "正在服务", QDate(1901, 8, 14)},
                  {"3", "c", -7, "未服务", QDate(1901, 8, 13)}});
    GridColumn price = column("F_FWprice", "薪资", GridColumn::Footer::None, ",0.00");
    price.alignment = GridColumn::Alignment::Right;
    grid.setColumns({column("F_code", "单据编号"), price, column("F_setupDate", "安装时间")});
    openOrders(10);
    grid.setRowColourRule([this](int row) {
        const QString status = records.value(row, "F_status").toString();
        if (status == QStringLiteral("正在服务"))
            return DataGrid::RowColours{Qt::blue, QColor(255, 255, 225)};
        if (status == QStringLiteral("已服务"))
            return DataGrid::RowColours{Qt::red, QColor(240, 240, 240)};
        return DataGrid::RowColours{};
    });
    EXPECT_EQ(cell(0, "F_FWprice"), "1,234.50");
    EXPECT_EQ(cell(1, "F_FWprice"), "0.13");
    EXPECT_EQ(cell(2, "F_FWprice"), "-7.00");
    EXPECT_EQ(cell(0, "F_setupDate"), "");
    EXPECT_EQ(cell(1, "F_setupDate"), "1901-08-14");
    EXPECT_EQ(cell(2, "F_setupDate"), "");
    const QModelIndex priceCell = grid.model()->index(0, 1);
    EXPECT_EQ(priceCell.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(grid.model()->index(0, 2).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    EXPECT_EQ(grid.model()->index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::blue));
    EXPECT_FALSE(grid.model()->index(2, 0).data(Qt::BackgroundRole).isValid());
    // The rule follows edits.
    ASSERT_TRUE(records.setValue(2, "F_status", QStringLiteral("已服务")));
    EXPECT_EQ(grid.model()->index(2, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
}

TEST_P(DataGridTest, FormatsComeFromTheLoginByKindAndLaterMatchesWin)
{
    LoginState login;
    login.moneyFormat = ",0.00";
    login.quantityFormat = "0.###";
    login.priceFormat = ",0.0";
    ASSERT_TRUE(db().insert(
        "t_HPrec", {{"F_code", "1"}, {"F_amount", 1.23456}, {"F_price", 1234.56}, {"F_totalprice", 1524.1}}));
    GridColumn total = column("F_totalprice", "金额", GridColumn::Footer::Sum);
    grid.setColumns({column("F_amount", "数量"), column("F_price", "单价"), total});
    records.setChunkSize(2);
    ASSERT_TRUE(records.open(db(), "select * from t_HPrec"));
    grid.setSourceModel(&records);

    const struct {
        int gridKind;
        const char* amount;
        const char* price;
        const char* total;
    } kinds[] = {
        {1, "1.235", "1,234.6", "1,524.10"},  // price, money, quantity
        {2, "1.235", "1,234.56", "1,524.10"}, // only "price": money
        {3, "1.235", "1,234.56", "1,524.10"}, // "totalprice" after "price": money either way
    };
    for (const auto& k : kinds) {
        grid.setColumns({column("F_amount", "数量"), column("F_price", "单价"), total});
        DataGridServices::setGridFormats(grid, login, k.gridKind);
        if (k.gridKind == 2)
            EXPECT_EQ(cell(0, "F_amount"), "1.23456") << "kind 2 leaves quantities alone";
        else
            EXPECT_EQ(cell(0, "F_amount"), k.amount) << k.gridKind;
        EXPECT_EQ(cell(0, "F_price"), k.price) << k.gridKind;
        EXPECT_EQ(cell(0, "F_totalprice"), k.total) << k.gridKind;
        EXPECT_EQ(grid.footerText(2), k.total) << k.gridKind;
    }

    grid.setColumns({column("F_amount", "数量"), column("F_price", "单价"), total});
    const struct {
        int kind;
        const char* shown;
    } columnKinds[] = {{1, "1,234.56"}, {2, "1234.56"}, {3, "1,234.6"}};
    for (const auto& k : columnKinds) {
        DataGridServices::setColumnFormat(grid, login, "f_price", k.kind);
        EXPECT_EQ(cell(0, "F_price"), QString::fromLatin1(k.shown)) << k.kind;
    }
    DataGridServices::setColumnFormat(grid, login, "F_noSuchField", 1);
    EXPECT_EQ(grid.gridColumnCount(), 3);
}

TEST_P(DataGridTest, PickListsOfferTheQueryValues)
{
    insertOrders({{"1", "a", 1}});
    for (const char* name : {"北京", "上海", ""})
        ASSERT_TRUE(db().insert("t_code", {{"F_type", "area"}, {"F_name", QString::fromUtf8(name)}}));
    GridColumn area = column("F_area", "区域");
    grid.setColumns({column("F_code", "单据编号"), area});
    grid.setEditable(true);
    openOrders();
    grid.show();

    LoginState login;
    DataServices services(db(), messenger, login);
    QString error;
    ASSERT_TRUE(DataGridServices::fillColumnPickList(
        grid, services, "select F_name from t_code where F_type = ? order by F_ID", {"area"}, "f_area",
        &error));
    EXPECT_EQ(grid.pickList("F_AREA"), (QStringList{"北京", "上海", ""}));
    ASSERT_TRUE(DataGridServices::fillColumnPickList(
        grid, services, "select F_name from t_code where F_type = ?", {"none"}, "f_area", &error));
    EXPECT_EQ(grid.pickList("f_area").size(), 3) << "a query without rows leaves the list";
    EXPECT_FALSE(DataGridServices::fillColumnPickList(grid, services, "select nothing from nowhere", {},
                                                      "f_area", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(messenger.count(), 0);

    const QModelIndex target = grid.model()->index(0, 1);
    grid.setCurrentIndex(target);
    grid.edit(target);
    auto* combo = grid.findChild<QComboBox*>("pickList");
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->count(), 3);
    combo->setCurrentIndex(1);
    QTest::keyClick(combo, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor commits once the key is handled
    EXPECT_EQ(records.value(0, "F_area").toString(), "上海");

    // A read-only column offers no editor.
    area.readOnly = true;
    grid.setGridColumn(1, area);
    EXPECT_FALSE(grid.model()->flags(target) & Qt::ItemIsEditable);
}

TEST_P(DataGridTest, TypingFindsTheFirstRowStartingWithTheTextEvenBeyondTheLoadedRows)
{
    insertOrders({{"1", "Adams", 1},
                  {"2", "Baker", 1},
                  {"3", "Carter", 1},
                  {"4", "Dunn", 1},
                  {"5", "Evans", 1},
                  {"6", "Bell", 1},
                  {"7", "Bellamy", 1},
                  {"8", "张三", 1}});
    grid.setColumns({column("F_code", "单据编号"), column("F_client", "顾客姓名")});
    openOrders(2);
    grid.resize(300, 60);
    grid.show();
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(0, 1));

    QTest::keyClicks(&grid, "bel");
    EXPECT_EQ(records.value(grid.currentRow(), "F_client").toString(), "Bell");
    EXPECT_EQ(records.currentRow(), grid.currentRow());
    QTest::keyClicks(&grid, "q"); // no match: stays
    EXPECT_EQ(records.value(grid.currentRow(), "F_client").toString(), "Bell");
    QTest::keyClicks(&grid, "la");
    EXPECT_EQ(records.value(grid.currentRow(), "F_client").toString(), "Bellamy");
    QTest::qWait(1600);
    QInputMethodEvent typed; // Chinese arrives from the input method as committed text
    typed.setCommitString(QStringLiteral("张"));
    QApplication::sendEvent(&grid, &typed);
    EXPECT_EQ(records.value(grid.currentRow(), "F_client").toString(), "张三");
}

TEST_P(DataGridTest, WholeRowsAreSelectedAndTheCurrentRowFollowsTheRecordSet)
{
    insertOrders({{"1", "a", 1}, {"2", "b", 2}, {"3", "c", 3}, {"4", "d", 4}});
    grid.setColumns({column("F_code", "单据编号"), column("F_client", "顾客姓名")});
    openOrders();
    grid.resize(300, 300);
    grid.show();
    EXPECT_EQ(grid.currentRow(), 0);

    records.setCurrentRow(3);
    EXPECT_EQ(grid.currentRow(), 3);
    const QRect second = grid.visualRect(grid.model()->index(1, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(records.currentRow(), 1);
    EXPECT_EQ(grid.selectedRows(), QList<int>{1});
    EXPECT_EQ(grid.selectionModel()->selectedIndexes().size(), 2);

    grid.setMultiSelect(true);
    const QRect fourth = grid.visualRect(grid.model()->index(3, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, fourth.center());
    EXPECT_EQ(grid.selectedRows(), (QList<int>{1, 3}));
}

TEST_P(DataGridTest, ColumnWidthsOrderAndVisibilitySurviveRequeries)
{
    insertOrders({{"1", "a", 1}});
    grid.setColumns(
        {column("F_code", "单据编号"), column("F_client", "顾客姓名"), column("F_FWprice", "薪资")});
    openOrders();
    grid.show();
    grid.horizontalHeader()->resizeSection(1, 150);
    grid.horizontalHeader()->moveSection(2, 0); // the user drags 薪资 to the front
    grid.setColumnVisible(2, false);            // now 顾客姓名 at position 2
    ASSERT_TRUE(records.requery());
    ASSERT_TRUE(records.open(db(), "select * from t_client"));

    const QList<GridColumn> now = grid.columns();
    ASSERT_EQ(now.size(), 3);
    EXPECT_EQ(now.at(0).fieldName, "F_FWprice");
    EXPECT_EQ(now.at(2).fieldName, "F_client");
    EXPECT_EQ(now.at(2).width, 150);
    EXPECT_FALSE(now.at(2).visible);
    EXPECT_FALSE(grid.isColumnVisible(2));
}

TEST_P(DataGridTest, LayoutsLoadAndSaveByKeyWithoutRegardToCase)
{
    const QList<GridColumn> designed = {column("F_HFemp", "回访人员"), column("F_HFprice1", "金额")};
    grid.setColumns(designed);
    // No stored rows: the designed columns stay, and saving stores nothing.
    ASSERT_TRUE(DataGridServices::loadLayout(grid, db(), messenger, "myOwnGrid"));
    EXPECT_EQ(grid.columns(), designed);
    messenger.answer(Messenger::Yes);
    EXPECT_TRUE(DataGridServices::confirmAndSaveLayout(grid, db(), messenger, "myOwnGrid"));
    EXPECT_EQ(db().scalar("select count(*) from cfg_Grid where F_name = ?", {"myowngrid"})->toInt(), 0);

    ASSERT_TRUE(DataGridServices::loadLayout(grid, db(), messenger, "DETAIL2"));
    EXPECT_EQ(grid.columns(), GridLayoutSeed::designedColumns("detail2"));
    EXPECT_TRUE(grid.footerRow()->isVisibleTo(&grid));

    grid.horizontalHeader()->resizeSection(grid.horizontalHeader()->logicalIndex(0), 123);
    grid.setColumnVisible(1, false);
    messenger.answer(Messenger::No);
    EXPECT_FALSE(DataGridServices::confirmAndSaveLayout(grid, db(), messenger, "Detail2"));
    EXPECT_EQ(messenger.lastText(), "真的要保存当前网格设置吗？");
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Question);
    EXPECT_EQ(db().scalar("select F_Width from cfg_Grid where F_name = ? and F_FieldName = ?",
                          {"detail2", "F_HFemp"})
                  ->toInt(),
              70);
    messenger.answer(Messenger::Yes);
    EXPECT_TRUE(DataGridServices::confirmAndSaveLayout(grid, db(), messenger, "Detail2"));

    DataGrid other;
    ASSERT_TRUE(DataGridServices::loadLayout(other, db(), messenger, "detail2"));
    EXPECT_EQ(other.gridColumn(0).width, 123);
    EXPECT_FALSE(other.isColumnVisible(1));
    EXPECT_EQ(other.columns(), grid.columns());

    // A failed read is reported and changes nothing.
    Database closed;
    const int before = messenger.count();
    EXPECT_FALSE(DataGridServices::loadLayout(other, closed, messenger, "detail1"));
    ASSERT_EQ(messenger.count(), before + 1);
    EXPECT_EQ(messenger.lastText(), "操作失败，请检查数据连接... ");
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
    EXPECT_EQ(other.columns(), grid.columns());
}

TEST_P(DataGridTest, ACancelledExportLeavesNoFile)
{
    QList<Order> many;
    QList<QByteArray> codes;
    for (int i = 0; i < 3000; ++i)
        codes << QByteArray::number(i);
    for (const QByteArray& code : codes)
        many.append({code.constData(), "x", 1});
    insertOrders(many);
    grid.setColumns({column("F_code", "单据编号"), column("F_client", "顾客姓名")});
    openOrders(256);
    grid.show();
    QTemporaryDir dir;
    const QString file = dir.filePath("list.xlsx");
    QTimer::singleShot(0, &grid, [this] {
        if (auto* progress = grid.findChild<QProgressDialog*>("exportProgress"))
            progress->cancel();
    });
    EXPECT_FALSE(DataGridExport::exportToFile(grid, "list", file, messenger, &grid));
    EXPECT_EQ(messenger.count(), 0);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    EXPECT_TRUE(DataGridExport::exportToFile(grid, "list", file, messenger, &grid));
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(DataGridExport::defaultFileName("客户/列表", QDate(2024, 3, 9)), "客户_列表_20240309.xlsx");
}

TEST_P(DataGridTest, AGridOutlivesItsRecordSet)
{
    insertOrders({{"1", "a", 1}, {"2", "b", 2}});
    grid.setColumns({column("F_code", "单据编号", GridColumn::Footer::Text),
                     column("F_FWprice", "薪资", GridColumn::Footer::Sum)});
    auto shortLived = std::make_unique<RecordSet>();
    ASSERT_TRUE(shortLived->open(db(), "select * from t_client"));
    grid.setSourceModel(shortLived.get());
    grid.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.footerText(1), "3");
    shortLived.reset();
    QCoreApplication::processEvents();
    grid.viewport()->repaint();
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_EQ(grid.recordSet(), nullptr);
    grid.setColumns({column("F_client", "顾客姓名")});
    clickTitleAt(0);
    EXPECT_EQ(grid.footerText(0), QString());
}

INSTANTIATE_ENGINES(DataGridTest);
