#include "support/test_database.h"

#include "data/record_set.h"
#include "print/main_form_reports.h"
#include "print/prepared_report.h"
#include "print/report.h"
#include "print/report_engine.h"
#include "print/report_exporter.h"
#include "print/report_template.h"
#include "print/report_template_reader.h"
#include "print/table_data_source.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The PDF's text as pdftotext (poppler-utils) reads it: an independent check of what was written.
QString pdfText(const QString& path, QString* skip)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        *skip = QStringLiteral("pdftotext (poppler-utils) is not installed");
        return {};
    }
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Kept for looking at when CORVALIN_KEEP_PDF names a folder.
void keep(const QString& path)
{
    const QString folder = qEnvironmentVariable("CORVALIN_KEEP_PDF");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    const QString target = QDir(folder).filePath(QFileInfo(path).fileName());
    QFile::remove(target);
    QFile::copy(path, target);
}

QString qrFolder()
{
    return QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + QStringLiteral("/../../Qr");
}

} // namespace

TEST(ReportPdf, MasterDetailListIsWrittenWithItsTextAndPages)
{
    const char* xml = R"(<report title="订单列表">
  <page paper="A4" left="10" top="10" right="10" bottom="10"/>
  <band kind="pageHeader" name="H" height="10"><text x="0" y="0" width="190" height="8">订单列表 第[PAGE#]页 共[TOTALPAGES]页</text></band>
  <band kind="masterData" name="M" height="8" source="orders">
    <text x="0" y="0" width="60" height="8" frame="all">[orders."F_client"]</text>
    <text x="60" y="0" width="40" height="8" frame="all" align="right" format=",0.00">[orders."F_total"]</text>
  </band>
  <band kind="detailData" name="D" height="6" source="lines" master="M" masterField="F_code" detailField="F_code">
    <text x="10" y="0" width="60" height="6">[lines."F_name"]</text>
  </band>
  <band kind="summary" name="S" height="8"><text x="0" y="0" width="190" height="8">合计 [SUM(orders."F_total")]</text></band>
</report>)";
    auto orders = std::make_shared<TableDataSource>(QStringList{"F_code", "F_client", "F_total"});
    auto lines = std::make_shared<TableDataSource>(QStringList{"F_code", "F_name"});
    for (int i = 1; i <= 60; ++i) {
        orders->addRow({i, QStringLiteral("顾客%1").arg(i), i * 1000.5});
        lines->addRow({i, QStringLiteral("空调%1").arg(i)});
        lines->addRow({i, QStringLiteral("冰箱%1").arg(i)});
    }
    ReportTemplate t;
    QString error;
    ASSERT_TRUE(ReportTemplateReader::read(xml, &t, &error));
    PreparedReport report;
    ASSERT_TRUE(ReportEngine::prepare(t, {{"orders", orders}, {"lines", lines}}, {}, {}, &report, &error))
        << error.toStdString();

    QTemporaryDir dir;
    const QString path = dir.filePath("orders.pdf");
    ASSERT_TRUE(ReportExporter::exportTo(report, ReportExporter::Format::Pdf, path, &error))
        << error.toStdString();
    keep(path);
    QString skip;
    const QString text = pdfText(path, &skip);
    if (!skip.isEmpty())
        GTEST_SKIP() << skip.toStdString();
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    EXPECT_EQ(pages.size(), report.pageCount());
    EXPECT_TRUE(pages.first().contains(QStringLiteral("订单列表 第1页 共%1页").arg(report.pageCount())));
    EXPECT_TRUE(pages.first().contains(QStringLiteral("顾客1 ")));
    EXPECT_TRUE(pages.first().contains(QStringLiteral("1,000.50")));
    EXPECT_TRUE(pages.first().contains(QStringLiteral("空调1")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("顾客60")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("合计 1830915")));
    // Each order and its lines print in order, none lost at the page breaks.
    int found = 0;
    for (int i = 1; i <= 60; ++i)
        found += text.contains(QRegularExpression(QStringLiteral("顾客%1\\s").arg(i))) ? 1 : 0;
    EXPECT_EQ(found, 60);
}

class MainFormsPdfTest : public EngineTest {};

// The four forms of the main window for one realistic order, written as PDF and read back.
TEST_P(MainFormsPdfTest, FormsForAnOrderCarryItsData)
{
    ASSERT_TRUE(db().insert(
        "t_client", {{"F_code", "00000127"},
                     {"F_client", "刘建国"},
                     {"F_phone", "0571-86452317"},
                     {"F_movePhone", "13867451290"},
                     {"F_address", "杭州市西湖区文三路 478 号华星小区 6 幢 2 单元 301 室"},
                     {"F_area", "西湖区"},
                     {"F_buyAddress", "苏宁电器/文三路店"},
                     {"F_buyDate", QDate(2024, 5, 18)},
                     {"F_IFsonghuo", "是"},
                     {"F_setupDate", QDate(2024, 5, 21)},
                     {"F_phoneYD", "否"},
                     {"F_memo1", "上午 9 点前到达；空调外机装北阳台，需带 3 米加长铜管；旧机拆除后带走。"},
                     {"F_FWemp", "王建军"},
                     {"F_FWprice", 120.0},
                     {"F_status", "正在服务"},
                     {"F_PGemp", "陈丽"},
                     {"F_OperName", "陈丽"},
                     {"F_FWtype", "送货安装"},
                     {"F_XSemp", "赵敏"},
                     {"F_setupPOS", "客厅"},
                     {"F_PStype", "市区"}}));
    const struct {
        const char* code;
        const char* name;
        const char* brand;
        const char* spec;
        double amount;
        double price;
    } goods[] = {{"000231", "变频空调", "格力", "KFR-35GW/(35592)FNhAa-A1", 1, 3299},
                 {"000118", "空调支架", "格力", "不锈钢 60cm", 1, 180},
                 {"000502", "滚筒洗衣机", "海尔", "EG100MATE55", 1, 2599}};
    for (const auto& g : goods)
        ASSERT_TRUE(db().insert("t_HPrec", {{"F_code", "00000127"},
                                            {"F_HPcode", g.code},
                                            {"F_HPname", g.name},
                                            {"F_pinPai", g.brand},
                                            {"F_spec", g.spec},
                                            {"F_unit", "台"},
                                            {"F_amount", g.amount},
                                            {"F_price", g.price},
                                            {"F_totalprice", g.amount * g.price},
                                            {"F_TMcode", QString("69%1").arg(g.code)}}));
    ASSERT_TRUE(db().insert("t_HFrec", {{"F_code", "00000127"},
                                        {"F_HFdate", QDate(2024, 5, 23)},
                                        {"F_HFemp", "孙悦"},
                                        {"F_memo1", "安装及时，师傅态度好"},
                                        {"F_memo2", "无"},
                                        {"F_FWtaidu", "满意"},
                                        {"F_HFtotalPrice", 0.0}}));
    ASSERT_TRUE(db().insert("t_WXrec", {{"F_code", "00000127"},
                                        {"F_WXcode", "00000042"},
                                        {"F_FWtype", "上门维修"},
                                        {"F_bxFlag", "保内"},
                                        {"F_WXstatus", "待上门"},
                                        {"F_memo1", "空调制热时有异响"},
                                        {"F_memo2", "先检查外机固定螺丝"},
                                        {"F_memo3", "减震垫两只"},
                                        {"F_bxDate", QDate(2024, 11, 12)},
                                        {"F_SMtime", QDate(2024, 11, 13)},
                                        {"F_FWemp", "王建军"},
                                        {"F_PGemp", "陈丽"},
                                        {"F_SFtotalprice", 0.0}}));

    QObject owner;
    auto open = [&](const QString& sql) {
        auto* rs = new RecordSet(&owner);
        EXPECT_TRUE(rs->open(db(), sql)) << rs->lastError().toStdString();
        return rs;
    };
    MainFormReports::Sources sources{open("select * from t_client order by F_code"),
                                     open("select * from t_HPrec where F_code = '00000127' order by F_ID"),
                                     open("select * from t_HFrec where F_code = '00000127' order by F_ID"),
                                     open("select * from t_WXrec where F_code = '00000127' order by F_ID")};
    const struct {
        MainFormReports::Form form;
        QStringList expected;
    } forms[] = {
        {MainFormReports::Form::RecordSheet,
         {"安装送货记录详单", "刘建国", "13867451290", "变频空调", "6,078.00", "安装及时",
          "空调制热时有异响"}},
        {MainFormReports::Form::OrderList,
         {"安装送货记录列表", "00000127", "刘建国", "2024-05-21", "120.00"}},
        {MainFormReports::Form::DispatchSlip,
         {"安装送货派工单", "文三路 478 号", "2024-05-21", "3 米加长铜管", "KFR-35GW", "顾客签字"}},
        {MainFormReports::Form::RepairSlip,
         {"售后维修派工单", "00000042", "空调制热时有异响", "减震垫", "2024-11-13", "维修人员签字"}},
    };
    QTemporaryDir dir;
    for (const auto& f : forms) {
        SCOPED_TRACE(MainFormReports::templateName(f.form).toStdString());
        Report report;
        const ReportRequest request = MainFormReports::request(f.form, sources);
        ASSERT_TRUE(report.load(QDir(qrFolder()).filePath(request.templateName)))
            << report.lastError().toStdString();
        for (const auto& tie : request.ties)
            report.tie(tie.name, tie.recordSet);
        PreparedReport prepared;
        ASSERT_TRUE(report.prepare(&prepared)) << report.lastError().toStdString();
        const QString path = dir.filePath(QFileInfo(request.templateName).completeBaseName() + ".pdf");
        QString error;
        ASSERT_TRUE(ReportExporter::exportTo(prepared, ReportExporter::Format::Pdf, path, &error));
        keep(path);
        QString skip;
        const QString text = pdfText(path, &skip);
        if (!skip.isEmpty())
            GTEST_SKIP() << skip.toStdString();
        for (const QString& expected : f.expected)
            EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
        // Nothing runs off the sheet or overlaps its frame.
        for (const ReportPage& page : prepared.pages)
            for (const ReportPageItem& item : page.items)
                EXPECT_TRUE(item.kind != ReportPageItem::Kind::Text || !item.clip)
                    << "text cut: " << item.name.toStdString() << " " << item.text.toStdString();
    }
}

INSTANTIATE_ENGINES(MainFormsPdfTest);
