#include "support/test_database.h"

#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "print/grid_print.h"
#include "print/prepared_report.h"
#include "print/report.h"
#include "print/report_service.h"
#include "print/report_template.h"
#include "print/report_template_reader.h"
#include "print/report_viewer.h"

#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>

namespace {

// Records what would have been shown.
class RecordingViewer final : public ReportViewer {
public:
    void showPreview(const PreparedReport& report) override { previews.append(report); }
    void showDesigner(Report& report) override
    {
        ++designs;
        designedPath = report.filePath();
        if (onDesign)
            onDesign(report);
    }

    QList<PreparedReport> previews;
    int designs = 0;
    QString designedPath;
    std::function<void(Report&)> onDesign;
};

const char* kList = R"(<report title="列表">
  <band kind="reportTitle" name="Title" height="8"><text name="MemoDate" x="0" y="0" width="180" height="6"></text></band>
  <band kind="masterData" name="Rows" height="6" source="frDBDataSet1">
    <text name="Client" x="0" y="0" width="60" height="6">[frDBDataSet1."F_client"]</text>
  </band>
</report>)";

} // namespace

class ReportServiceTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        QFile f(folder.filePath("frHFdetailTj.frf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kList);
    }
    void addClient(const QString& code, const QString& name)
    {
        ASSERT_TRUE(db().insert("t_client", {{"F_code", code}, {"F_client", name}}));
    }
    RecordSet* clients()
    {
        auto* rs = new RecordSet(&owner);
        EXPECT_TRUE(rs->open(db(), "select * from t_client order by F_code"))
            << rs->lastError().toStdString();
        return rs;
    }
    ReportRequest request(RecordSet* rs, const QString& name = "frHFdetailTj.frf")
    {
        ReportRequest r;
        r.templateName = name;
        r.ties = {{"frDBDataSet1", rs}};
        r.captions = {{"MemoDate", QStringLiteral("统计日期：自 启用系统 至 记帐最后一天")}};
        r.reportDataSource = "frDBDataSet1";
        return r;
    }

    QObject owner;
    QTemporaryDir folder;
    ScriptedMessenger messenger;
    RecordingViewer viewer;
    ReportService service{folder.path(), messenger, viewer};
    Report report;
};

TEST_P(ReportServiceTest, PrintOnAnEmptyResultDoesNothingAndSaysNothing)
{
    EXPECT_FALSE(service.print(report, request(clients())));
    EXPECT_TRUE(viewer.previews.isEmpty());
    EXPECT_EQ(messenger.count(), 0);

    // The reminders window prints its empty lists all the same.
    ReportRequest always = request(clients());
    always.testEmpty = false;
    EXPECT_TRUE(service.print(report, always));
    EXPECT_EQ(viewer.previews.size(), 1);

    // Design needs no rows.
    EXPECT_TRUE(service.design(report, request(clients())));
    EXPECT_EQ(viewer.designs, 1);
}

TEST_P(ReportServiceTest, PrintShowsTheRowsWithTheCaption)
{
    addClient("00000001", QStringLiteral("张三"));
    addClient("00000002", QStringLiteral("李四"));
    // The window spells the file in another letter case.
    ASSERT_TRUE(service.print(report, request(clients(), "FRhfDETAILtj.frf")));
    ASSERT_EQ(viewer.previews.size(), 1);
    EXPECT_EQ(viewer.previews[0].pageTexts(0),
              (QStringList{"统计日期：自 启用系统 至 记帐最后一天", "张三", "李四"}));
    EXPECT_EQ(report.reportDataSource(), QStringLiteral("frDBDataSet1"));
    EXPECT_EQ(messenger.count(), 0);
}

TEST_P(ReportServiceTest, EmptinessIsTestedOnTheNamedSource)
{
    // The report manager's fourth row tests the current customer's repairs, not the customer list.
    addClient("00000001", QStringLiteral("张三"));
    RecordSet* repairs = new RecordSet(&owner);
    ASSERT_TRUE(repairs->open(db(), "select * from t_WXrec where F_code = ?", {"00000001"}));
    ReportRequest r = request(clients());
    r.ties.append({"frDetail3", repairs});
    r.emptyTestSource = "frDetail3";
    EXPECT_FALSE(service.print(report, r));
    EXPECT_TRUE(viewer.previews.isEmpty());
}

TEST_P(ReportServiceTest, MissingOrDamagedTemplateIsReportedAndNothingElseIsShown)
{
    addClient("00000001", QStringLiteral("张三"));
    ASSERT_TRUE(service.print(report, request(clients()))); // the report object now holds a layout

    EXPECT_FALSE(service.print(report, request(clients(), "frNotThere.frf")));
    EXPECT_EQ(viewer.previews.size(), 1); // not the previous form under another command
    EXPECT_EQ(messenger.lastText(), QStringLiteral("找不到报表模板文件“frNotThere.frf”"));

    QFile broken(folder.filePath("frBroken.frf"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(
        "<report><band kind=\"masterData\" name=\"M\" source=\"frDBDataSet1\" height=\"1e9\"/></report>");
    broken.close();
    EXPECT_FALSE(service.print(report, request(clients(), "frBroken.frf")));
    EXPECT_TRUE(messenger.lastText().contains(QStringLiteral("frBroken.frf")))
        << messenger.lastText().toStdString();
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Error);
    EXPECT_EQ(viewer.previews.size(), 1);

    // A window with a layout of its own prints that one instead.
    ReportTemplate builtIn;
    QString error;
    ASSERT_TRUE(ReportTemplateReader::read(kList, &builtIn, &error));
    ReportRequest r = request(clients(), "frGoodMan.frf");
    r.builtIn = &builtIn;
    EXPECT_TRUE(service.print(report, r));
    EXPECT_EQ(viewer.previews.size(), 2);
}

TEST_P(ReportServiceTest, DataThatDoesNotFitTheTemplateIsReported)
{
    addClient("00000001", QStringLiteral("张三"));
    RecordSet* goods = new RecordSet(&owner);
    ASSERT_TRUE(goods->open(db(), "select F_code, F_name from t_goods"));
    ASSERT_TRUE(db().insert("t_goods", {{"F_code", "000001"}, {"F_name", "冰箱"}}));
    ASSERT_TRUE(goods->requery());
    EXPECT_FALSE(service.print(report, request(goods)));
    EXPECT_TRUE(messenger.lastText().contains(QStringLiteral("没有字段“F_client”")))
        << messenger.lastText().toStdString();
    EXPECT_TRUE(viewer.previews.isEmpty());
}

TEST_P(ReportServiceTest, ChangeSavedInTheDesignerIsUsedByTheNextPrint)
{
    addClient("00000001", QStringLiteral("张三"));
    viewer.onDesign = [](Report& r) {
        ReportTemplate changed = r.reportTemplate();
        changed.bands[1].objects[0].text = QStringLiteral("顾客：[frDBDataSet1.\"F_client\"]");
        r.setTemplate(changed, r.filePath());
        ASSERT_TRUE(r.save());
    };
    ASSERT_TRUE(service.design(report, request(clients(), "frHFDETAILTJ.frf")));
    EXPECT_EQ(viewer.designedPath, folder.filePath("frHFdetailTj.frf")); // saved over the file it came from

    Report otherWindow;
    ASSERT_TRUE(service.print(otherWindow, request(clients())));
    EXPECT_TRUE(viewer.previews.last().pageTexts(0).contains(QStringLiteral("顾客：张三")));
}

TEST_P(ReportServiceTest, DesignOfAMissingTemplateStartsANewFileUnderItsName)
{
    EXPECT_TRUE(service.design(report, request(clients(), "frNew.frf")));
    EXPECT_EQ(viewer.designedPath, folder.filePath("frNew.frf"));
    EXPECT_FALSE(QFile::exists(folder.filePath("frNew.frf"))); // nothing is written until the designer saves
    EXPECT_EQ(messenger.count(), 0);
}

TEST_P(ReportServiceTest, GridPrintShowsTheVisibleColumnsOfTheModel)
{
    QStandardItemModel model(2, 3);
    const char* cells[2][3] = {{"area", "区域", "东区"}, {"fwemp", "服务人员", "王五"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            model.setItem(r, c, new QStandardItem(QString::fromUtf8(cells[r][c])));
    ASSERT_TRUE(service.printGrid(model, {{2, QStringLiteral("名称"), 120}, {0, QStringLiteral("类型"), 80}},
                                  QStringLiteral("基本代码列表"), QString(), QString()));
    ASSERT_EQ(viewer.previews.size(), 1);
    const PreparedReport& p = viewer.previews[0];
    EXPECT_EQ(p.pageTexts(0),
              (QStringList{"基本代码列表", "名称", "类型", "东区", "area", "王五", "fwemp", ""}));
    const ReportPageItem* head = nullptr;
    for (const ReportPageItem& item : p.pages[0].items)
        if (item.text == QStringLiteral("名称"))
            head = &item;
    ASSERT_TRUE(head);
    EXPECT_EQ(p.style(*head).fillColor, QColor(0, 0, 128));
    EXPECT_EQ(p.style(*head).textColor, QColor(Qt::white));
    EXPECT_TRUE(p.style(*head).bold);
    EXPECT_EQ(p.style(*head).frameSides, int(ReportStyle::FrameAll));

    QStandardItemModel empty(0, 3);
    EXPECT_FALSE(service.printGrid(empty, {{0, "x", 80}}, "t", {}, {}));
    EXPECT_EQ(viewer.previews.size(), 1);
}

INSTANTIATE_ENGINES(ReportServiceTest);
