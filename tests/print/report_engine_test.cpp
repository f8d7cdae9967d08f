#include "print_test_support.h"

#include <gtest/gtest.h>

using namespace printtest;

namespace {

// Orders "C01".."Cnn" with three goods lines each; line k of order i costs i * 10 + k.
ReportEngine::Sources ordersWithLines(int orders, int linesPerOrder = 3)
{
    auto master = std::make_shared<TableDataSource>(QStringList{"F_code", "F_client", "F_area", "F_total"});
    auto lines = std::make_shared<TableDataSource>(QStringList{"F_code", "F_HPname", "F_totalprice"});
    for (int i = 1; i <= orders; ++i) {
        const QString code = QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0'));
        double total = 0;
        for (int k = 1; k <= linesPerOrder; ++k) {
            const double price = i * 10 + k;
            total += price;
            lines->addRow({code, QStringLiteral("商品%1-%2").arg(i).arg(k), price});
        }
        master->addRow({code, QStringLiteral("顾客%1").arg(i, 2, 10, QLatin1Char('0')),
                        i <= orders / 2 ? QStringLiteral("东区") : QStringLiteral("西区"), total});
    }
    return {{"orders", master}, {"lines", lines}};
}

// Body 277 mm; page header 10 and footer 8 leave 259 mm; one order with three lines and its
// subtotal takes 8 + 3 * 6 + 6 = 32 mm, so eight orders fit on a page.
const char* kMasterDetail = R"(
<report format="corvalin-report" version="1" title="订单">
  <page paper="A4" left="10" top="10" right="10" bottom="10"/>
  <band kind="pageHeader" name="PageHeader1" height="10">
    <text name="Head" x="0" y="0" width="190" height="8">第[PAGE#]页 共[TOTALPAGES]页</text>
  </band>
  <band kind="masterData" name="Orders" height="8" source="orders">
    <text name="Client" x="0" y="0" width="60" height="8">[orders."F_client"]</text>
    <field name="Total" x="120" y="0" width="40" height="8" format=",0.00" align="right">orders."F_total"</field>
  </band>
  <band kind="detailData" name="Lines" height="6" source="lines" master="Orders" masterField="F_code" detailField="F_code">
    <text name="LineName" x="10" y="0" width="60" height="6">[LINE#]. [lines."F_HPname"]</text>
    <text name="LinePrice" x="120" y="0" width="40" height="6" format="0.00">[lines."F_totalprice"]</text>
  </band>
  <band kind="detailFooter" name="LinesFooter" height="6" detail="Lines">
    <text name="Subtotal" x="10" y="0" width="150" height="6">小计 [SUM(lines."F_totalprice")]</text>
  </band>
  <band kind="summary" name="Summary1" height="8">
    <text name="Grand" x="0" y="0" width="190" height="8">合计 [SUM(orders."F_total")] 共 [COUNT(orders)] 单</text>
  </band>
  <band kind="pageFooter" name="PageFooter1" height="8">
    <text name="PageSum" x="0" y="0" width="190" height="8">本页 [SUM(orders."F_total")]</text>
  </band>
</report>)";

} // namespace

TEST(ReportEngine, MasterAndDetailBreakIntoPagesWithSums)
{
    const PreparedReport report = prepare(QString::fromUtf8(kMasterDetail), ordersWithLines(30));
    ASSERT_EQ(report.pageCount(), 4);
    EXPECT_EQ(report.pageSize, QSizeF(210, 297));

    // Eight orders a page; the ninth starts page 2 right under the page header.
    EXPECT_EQ(objectTexts(report, 0, "Client").size(), 8);
    EXPECT_EQ(objectTexts(report, 1, "Client").first(), QStringLiteral("顾客09"));
    EXPECT_EQ(objectTexts(report, 3, "Client").size(), 6);
    const ReportPageItem* first = findText(report, 1, QStringLiteral("顾客09"));
    ASSERT_TRUE(first);
    EXPECT_DOUBLE_EQ(first->rect.top(), 20.0); // top margin 10 + page header 10
    EXPECT_DOUBLE_EQ(first->rect.left(), 10.0);

    // Detail rows follow their order, numbered within it, with the order's subtotal.
    EXPECT_EQ(objectTexts(report, 0, "LineName").mid(0, 3),
              (QStringList{"1. 商品1-1", "2. 商品1-2", "3. 商品1-3"}));
    EXPECT_EQ(objectTexts(report, 0, "LinePrice").first(), QStringLiteral("11.00"));
    EXPECT_EQ(objectTexts(report, 0, "Subtotal").first(), QStringLiteral("小计 36"));
    const ReportPageItem* line = findText(report, 0, QStringLiteral("1. 商品1-1"));
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ(line->rect.top(), 28.0);
    EXPECT_DOUBLE_EQ(line->rect.left(), 20.0);

    // Display formats, page numbers, page sums and the grand total.
    EXPECT_EQ(objectTexts(report, 0, "Total").first(), QStringLiteral("36.00"));
    EXPECT_EQ(objectTexts(report, 2, "Head"), QStringList{"第3页 共4页"});
    double firstPage = 0;
    for (int i = 1; i <= 8; ++i)
        firstPage += 3 * (i * 10) + 6;
    EXPECT_EQ(objectTexts(report, 0, "PageSum"), QStringList{QStringLiteral("本页 %1").arg(firstPage)});
    double all = 0;
    for (int i = 1; i <= 30; ++i)
        all += 3 * (i * 10) + 6;
    EXPECT_EQ(objectTexts(report, 3, "Grand"), QStringList{QStringLiteral("合计 %1 共 30 单").arg(all)});
    const ReportPageItem* footer = findText(report, 0, QStringLiteral("本页 %1").arg(firstPage));
    ASSERT_TRUE(footer);
    EXPECT_DOUBLE_EQ(footer->rect.top(), 297.0 - 10 - 8);
}

TEST(ReportEngine, GroupsPrintHeadersWithTheirTotalsAndFooters)
{
    const char* xml = R"(
<report>
  <band kind="groupHeader" name="AreaHead" height="8" master="Orders" condition='orders."F_area"'>
    <text name="AreaTitle" x="0" y="0" width="100" height="8">[orders."F_area"]：[COUNT(orders)] 单</text>
  </band>
  <band kind="masterData" name="Orders" height="6" source="orders">
    <text name="Client" x="0" y="0" width="60" height="6">[LINE#] [orders."F_client"]</text>
  </band>
  <band kind="groupFooter" name="AreaFoot" height="6" group="AreaHead">
    <text name="AreaSum" x="0" y="0" width="100" height="6">[SUM(orders."F_total")]</text>
  </band>
</report>)";
    const PreparedReport report = prepare(QString::fromUtf8(xml), ordersWithLines(4));
    ASSERT_EQ(report.pageCount(), 1);
    EXPECT_EQ(report.pageTexts(0), (QStringList{"东区：2 单", "1 顾客01", "2 顾客02", "102", "西区：2 单",
                                                "1 顾客03", "2 顾客04", "222"}));
}

TEST(ReportEngine, StretchedCellsGrowTogetherAndPushTheNextRowDown)
{
    auto rows = std::make_shared<TableDataSource>(QStringList{"F_name", "F_memo1"});
    rows->addRow({"短", QString(200, QChar(0x5B57))}); // 200 CJK characters wrap to several lines
    rows->addRow({"下一行", "x"});
    const char* xml = R"(
<report>
  <band kind="masterData" name="Rows" height="6" source="rows" stretch="true">
    <text name="Name" x="0" y="0" width="30" height="6" frame="all" stretch="true">[rows."F_name"]</text>
    <text name="Memo" x="30" y="0" width="60" height="6" frame="all" stretch="true">[rows."F_memo1"]</text>
  </band>
</report>)";
    const PreparedReport report = prepare(QString::fromUtf8(xml), {{"rows", rows}});
    const ReportPageItem* name = findText(report, 0, QStringLiteral("短"));
    const ReportPageItem* next = findText(report, 0, QStringLiteral("下一行"));
    ASSERT_TRUE(name && next);
    const auto memo = std::find_if(report.pages[0].items.begin(), report.pages[0].items.end(),
                                   [](const ReportPageItem& i) { return i.name == "Memo"; });
    ASSERT_GT(memo->lines.size(), 3);
    EXPECT_FALSE(memo->clip);
    EXPECT_GT(memo->rect.height(), 6.0);
    EXPECT_DOUBLE_EQ(name->rect.height(), memo->rect.height()); // the row keeps its frame
    EXPECT_DOUBLE_EQ(next->rect.top(), name->rect.bottom());
}

TEST(ReportEngine, PageBreaksRepeatHeadersAndNeverLeaveABlankPage)
{
    // One order per page; detail header repeated when the lines run over a page.
    const char* xml = R"(
<report>
  <page paper="A5" left="10" top="10" right="10" bottom="10"/>
  <band kind="columnHeader" name="Cols" height="6" master="Orders"><text name="ColText" x="0" y="0" width="50" height="6">顾客</text></band>
  <band kind="masterData" name="Orders" height="8" source="orders" newPageAfter="true">
    <text name="Client" x="0" y="0" width="60" height="8">[orders."F_client"]</text>
  </band>
  <band kind="detailHeader" name="LinesHead" height="6" detail="Lines" repeat="true">
    <text name="LinesTitle" x="0" y="0" width="60" height="6">商品</text>
  </band>
  <band kind="detailData" name="Lines" height="6" source="lines" master="Orders" masterField="F_code" detailField="F_code">
    <text name="LineName" x="0" y="0" width="60" height="6">[lines."F_HPname"]</text>
  </band>
</report>)";
    // A5 body 190 mm: column header 6 + order 8 + header 6 leave 170 mm = 28 lines of 6 mm.
    const PreparedReport report = prepare(QString::fromUtf8(xml), ordersWithLines(2, 30));
    ASSERT_EQ(report.pageCount(), 4);
    EXPECT_EQ(objectTexts(report, 0, "LineName").size(), 28);
    EXPECT_EQ(report.pageTexts(1).mid(0, 3), (QStringList{"顾客", "商品", "商品1-29"}));
    EXPECT_TRUE(report.pages[1].bands[0].repeated);
    EXPECT_TRUE(report.pages[1].bands[1].repeated);
    EXPECT_EQ(report.pageTexts(2).mid(0, 2), (QStringList{"顾客", "顾客02"}));
    EXPECT_EQ(objectTexts(report, 3, "LineName"), (QStringList{"商品2-29", "商品2-30"}));
}

TEST(ReportEngine, BandTallerThanAPageIsCutInsteadOfLoopingForever)
{
    auto rows = std::make_shared<TableDataSource>(QStringList{"F_memo1"});
    rows->addRow({QString(20000, QChar(0x5B57))});
    rows->addRow({"second"});
    const char* xml = R"(
<report>
  <band kind="masterData" name="Rows" height="6" source="rows" stretch="true">
    <text name="Memo" x="0" y="0" width="180" height="6" stretch="true">[rows."F_memo1"]</text>
  </band>
</report>)";
    const PreparedReport report = prepare(QString::fromUtf8(xml), {{"rows", rows}});
    ASSERT_EQ(report.pageCount(), 2);
    const ReportPageItem& cut = report.pages[0].items.first();
    EXPECT_TRUE(cut.clip);
    EXPECT_LE(cut.rect.bottom(), 297.0 - 12 + 1e-6);
    EXPECT_EQ(report.pageTexts(1), QStringList{"second"});
}

TEST(ReportEngine, CurrentRowAndRepeatedReports)
{
    auto sources = ordersWithLines(3);
    std::static_pointer_cast<TableDataSource>(sources[0].second)->setCurrentRow(1);
    const char* current = R"(
<report>
  <band kind="masterData" name="Orders" height="8" source="orders" rows="current">
    <text name="Client" x="0" y="0" width="60" height="8">[orders."F_client"]</text>
  </band>
  <band kind="detailData" name="Lines" height="6" source="lines" master="Orders" masterField="F_code" detailField="F_code">
    <text name="LineName" x="0" y="0" width="60" height="6">[lines."F_HPname"]</text>
  </band>
</report>)";
    PreparedReport report = prepare(QString::fromUtf8(current), sources);
    EXPECT_EQ(report.pageTexts(0), (QStringList{"顾客02", "商品2-1", "商品2-2", "商品2-3"}));

    // A template of the repeated kind prints once per row of the report-level source.
    QString repeated = QString::fromUtf8(current).replace("<report>", "<report repeated=\"true\">");
    report = prepare(repeated, sources, nullptr, "orders");
    ASSERT_EQ(report.pageCount(), 3);
    EXPECT_EQ(report.pageTexts(2).first(), QStringLiteral("顾客03"));
}

TEST(ReportEngine, EmptySourcePrintsHeadersOnly)
{
    const PreparedReport report = prepare(QString::fromUtf8(kMasterDetail), ordersWithLines(0));
    ASSERT_EQ(report.pageCount(), 1);
    EXPECT_EQ(report.pageTexts(0), (QStringList{"第1页 共1页", "合计 0 共 0 单", "本页 0"}));
}

TEST(ReportEngine, TemplateAndDataThatDoNotFitGiveAClearMessage)
{
    const struct {
        const char* band;
        const char* message;
    } cases[] = {
        {R"(<band kind="masterData" name="M" source="frDetail9" height="5"/>)", "数据源“frDetail9”没有连接"},
        {R"(<band kind="masterData" name="M" source="orders" height="5"><text>[orders."F_nothing"]</text></band>)",
         "数据源“orders”中没有字段“F_nothing”"},
        {R"(<band kind="summary" name="S" height="5"><text>[frMain."F_client"]</text></band>)",
         "数据源“frMain”没有连接"},
        {R"(<band kind="summary" name="S" height="5"><text>[orders."F_client"</text></band>)",
         "方括号没有配对"},
        {R"(<band kind="summary" name="S" height="5"><text>[SUM(SUM(orders."F_total"))]</text></band>)",
         "聚合函数不能嵌套"},
        {R"(<band kind="summary" name="S" height="5"><text>[NOSUCH]</text></band>)", "未知的变量“NOSUCH”"},
        {R"(<band kind="summary" name="S" height="5"><field>orders."F_total" +</field></band>)",
         "表达式不完整"},
        {R"(<band kind="masterData" name="M" source="orders" height="5"/>
            <band kind="detailData" name="D" source="lines" master="M" masterField="F_code" detailField="F_nope" height="5"/>)",
         "没有关联字段“F_nope”"},
    };
    for (const auto& c : cases) {
        QString error;
        const PreparedReport report = prepare(
            QStringLiteral("<report>%1</report>").arg(QString::fromUtf8(c.band)), ordersWithLines(2), &error);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.message))) << c.band << " -> " << error.toStdString();
        EXPECT_TRUE(report.isEmpty());
    }
}

TEST(ReportEngine, ReportThatWouldBeTooLongIsRefused)
{
    auto rows = std::make_shared<TableDataSource>(QStringList{"F_x"});
    for (int i = 0; i < 2000; ++i)
        rows->addRow({i});
    const char* xml = R"(
<report><band kind="masterData" name="Rows" height="6" source="rows" newPageAfter="true">
  <text x="0" y="0" width="20" height="6">[rows."F_x"]</text></band></report>)";
    PreparedReport out;
    QString error;
    ReportEngine::Options options;
    options.maxPages = 100;
    EXPECT_FALSE(ReportEngine::prepare(readTemplate(QString::fromUtf8(xml)), {{"rows", rows}}, {}, options,
                                       &out, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("超过 100 页"))) << error.toStdString();
    EXPECT_TRUE(out.isEmpty());
}
