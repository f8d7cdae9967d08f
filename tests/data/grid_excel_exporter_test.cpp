#include "support/test_database.h"
#include "support/xlsx_read_back.h"

#include "data/grid_excel_exporter.h"
#include "data/record_set.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

GridColumn column(const char* field, const char* title, const char* format = "", bool visible = true)
{
    GridColumn c;
    c.fieldName = field;
    c.title = QString::fromUtf8(title);
    c.displayFormat = format;
    c.visible = visible;
    return c;
}

} // namespace

TEST(GridExcelExporter, SheetNamesAreMadeValid)
{
    const struct {
        const char* title;
        const char* name;
    } cases[] = {
        {"客户列表", "客户列表"},
        {"a[b]:c*?/\\d", "a_b__c____d"},
        {"'quoted'", "quoted"},
        {"", "Sheet1"},
        {"   ", "Sheet1"},
        {"history", "history_"},
        {"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三",
         "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一"},
        {"0123456789012345678901234567890123456789", "0123456789012345678901234567890"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GridExcelExporter::sheetName(QString::fromUtf8(c.title)), QString::fromUtf8(c.name))
            << c.title;
}

TEST(GridExcelExporter, DisplayFormatsBecomeExcelCodes)
{
    const struct {
        const char* ours;
        const char* excel;
    } cases[] = {
        {",0.00", "#,##0.00"},     {"0.##", "0.##"}, {",0.", "#,##0"},   {"0.", "0"},
        {",0.00##", "#,##0.00##"}, {"", ""},         {"0.000", "0.000"}, {"yyyy-mm-dd", "yyyy-mm-dd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GridExcelExporter::excelNumberFormat(c.ours), QString::fromLatin1(c.excel)) << c.ours;
}

class GridExcelExporterTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (!XlsxReadBack::available())
            GTEST_SKIP() << "the unzip program is needed to read the workbook back";
        struct Order {
            const char* code;
            const char* client;
            QDate setup;
            double price;
        } orders[] = {
            {"0123", "张三", QDate(1900, 8, 14), 1234.5},  {"0007", "李四", QDate(2024, 5, 6), 0},
            {"0200", "王五", QDate(1901, 8, 13), -12.345}, {"0300", "赵六", QDate(1901, 8, 14), 99},
            {"0400", "钱七", QDate(2023, 1, 2), 1},        {"0500", "孙八", QDate(2022, 3, 4), 2},
            {"0600", "周九", QDate(2021, 5, 6), 3},
        };
        for (const Order& o : orders) {
            ASSERT_TRUE(db().insert("t_client", {{"F_code", o.code},
                                                 {"F_client", QString::fromUtf8(o.client)},
                                                 {"F_setupDate", o.setup},
                                                 {"F_FWprice", o.price},
                                                 {"F_IFsonghuo", "是"}}));
        }
        records.setChunkSize(2);
        ASSERT_TRUE(records.open(db(), "select * from t_client order by F_ID"));
    }

    QList<GridColumn> layout() const
    {
        return {column("F_code", "单据编号"), column("F_client", "顾客姓名", "", false),
                column("F_setupDate", "安装时间"), column("F_FWprice", "薪资", ",0.00"),
                column("F_noSuchField", "无此字段")};
    }

    QTemporaryDir dir;
    RecordSet records;
};

TEST_P(GridExcelExporterTest, WritesTheGridLayoutWithEveryRecord)
{
    ASSERT_FALSE(records.isFullyLoaded());
    const QString file = dir.filePath("订单.xlsx");
    GridExcelExporter exporter(records, layout(), "客户/订单:2024");
    ASSERT_TRUE(exporter.write(file)) << exporter.error().toStdString();
    EXPECT_EQ(exporter.rowsWritten(), 7);

    const auto sheet = XlsxReadBack::firstSheet(file);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->name, "客户_订单_2024");
    EXPECT_EQ(sheet->text("A1"), "单据编号");
    EXPECT_EQ(sheet->cellsInColumn("B"), 0); // the hidden column, title included
    EXPECT_EQ(sheet->text("C1"), "安装时间");
    EXPECT_EQ(sheet->text("D1"), "薪资");
    EXPECT_EQ(sheet->text("E1"), "无此字段");
    EXPECT_EQ(sheet->cellsInColumn("E"), 1);
    for (int row = 2; row <= 8; ++row)
        EXPECT_TRUE(sheet->has(QStringLiteral("A%1").arg(row))) << row;
    EXPECT_FALSE(sheet->has("A9"));

    // Text columns keep leading zeros and are formatted as text.
    const XlsxCell code = sheet->cells.value("A2");
    EXPECT_NE(code.type, "n");
    EXPECT_EQ(code.text, "0123");
    EXPECT_EQ(code.numberFormat, "@");
    // No date and dates before the threshold stay empty; others are text yyyy-MM-dd.
    EXPECT_FALSE(sheet->has("C2"));
    EXPECT_EQ(sheet->text("C3"), "2024-05-06");
    EXPECT_FALSE(sheet->has("C4"));
    EXPECT_EQ(sheet->text("C5"), "1901-08-14");
    // Formatted columns hold numbers in the translated format.
    const XlsxCell price = sheet->cells.value("D2");
    EXPECT_EQ(price.type, "n");
    EXPECT_DOUBLE_EQ(price.text.toDouble(), 1234.5);
    EXPECT_EQ(price.numberFormat, "#,##0.00");
    EXPECT_DOUBLE_EQ(sheet->text("D4").toDouble(), -12.345);
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.part"}, QDir::Files | QDir::Hidden).isEmpty());
    // The workbook gets the permissions of any file the user writes, not those of a private one.
    QFile plain(dir.filePath("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_EQ(QFileInfo(file).permissions(), QFileInfo(plain.fileName()).permissions());
}

TEST_P(GridExcelExporterTest, CancellingLeavesNoFileAndKeepsAnOldOne)
{
    const QString file = dir.filePath("list.xlsx");
    GridExcelExporter first(records, layout(), "list");
    EXPECT_FALSE(first.write(file, [](qint64, qint64) { return false; }));
    EXPECT_TRUE(first.wasCancelled());
    EXPECT_FALSE(QFile::exists(file));

    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    GridExcelExporter second(records, layout(), "list");
    ASSERT_TRUE(second.begin(file));
    EXPECT_EQ(second.step(3), GridExcelExporter::Step::More);
    second.cancel();
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // A completed export replaces it.
    GridExcelExporter third(records, layout(), "list");
    ASSERT_TRUE(third.write(file));
    EXPECT_TRUE(XlsxReadBack::firstSheet(file));
}

TEST_P(GridExcelExporterTest, StopsWhenTheListChangesUnderneath)
{
    const QString file = dir.filePath("moving.xlsx");
    GridExcelExporter exporter(records, layout(), "moving");
    ASSERT_TRUE(exporter.begin(file));
    EXPECT_EQ(exporter.step(2), GridExcelExporter::Step::More);
    records.setSort({{"F_client", true}});
    EXPECT_EQ(exporter.step(100), GridExcelExporter::Step::Failed);
    EXPECT_FALSE(exporter.error().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

TEST_P(GridExcelExporterTest, AnUnwritableFolderFailsCleanly)
{
    GridExcelExporter exporter(records, layout(), "x");
    EXPECT_FALSE(exporter.write(dir.filePath("no/such/folder/x.xlsx")));
    EXPECT_FALSE(exporter.error().isEmpty());
    records.close();
    EXPECT_FALSE(exporter.write(dir.filePath("closed.xlsx")));
}

INSTANTIATE_ENGINES(GridExcelExporterTest);
