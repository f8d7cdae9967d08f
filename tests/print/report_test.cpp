#include "print/prepared_report.h"
#include "print/report.h"
#include "print/report_template.h"
#include "print/table_data_source.h"
#include "print/template_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const char* kCaptioned = R"(<report title="统计">
  <band kind="reportTitle" name="Title" height="20">
    <text name="MemoDate" x="0" y="0" width="180" height="6">旧的标题
第二行</text>
    <field name="Memo2" x="0" y="8" width="180" height="6">rows."F_name"</field>
  </band>
  <band kind="masterData" name="Rows" height="6" source="rows">
    <text name="Name" x="0" y="0" width="60" height="6">[rows."F_name"]</text>
  </band>
</report>)";

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

std::shared_ptr<TableDataSource> rows(QStringList names)
{
    auto source = std::make_shared<TableDataSource>(QStringList{"F_name"});
    for (const QString& n : names)
        source->addRow({n});
    return source;
}

} // namespace

TEST(TemplateFiles, NamesResolveWithoutRegardToLetterCase)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("frBYdetailTJ.frf"), "x");
    writeFile(dir.filePath("frAZGdetailTj.frf"), "x");
    const struct {
        const char* asked;
        const char* found;
    } cases[] = {
        {"frBYdetailTj.frf", "frBYdetailTJ.frf"},
        {"frBYdetailTJ.frf", "frBYdetailTJ.frf"},
        {"FRBYDETAILTJ.FRF", "frBYdetailTJ.frf"},
        {"frAZGdetailTJ.frf", "frAZGdetailTj.frf"},
        {"\\Qr\\frazgdetailtj.frf", "frAZGdetailTj.frf"}, // the old "\Qr\" spelling
        {"frNothing.frf", ""},
        {"../frBYdetailTJ.frf", "frBYdetailTJ.frf"}, // the folder part never leaves the template folder
        {"..", ""},
    };
    for (const auto& c : cases) {
        const QString found = TemplateFiles::resolve(dir.path(), QString::fromUtf8(c.asked));
        EXPECT_EQ(QFileInfo(found).fileName(), QString::fromUtf8(c.found)) << c.asked;
    }
}

TEST(Report, LoadReplacesTheLayoutOnlyWhenTheFileIsGood)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("frGood.frf"), kCaptioned);
    writeFile(dir.filePath("frBroken.frf"), "<report><band kind=\"masterData\"");
    Report report;
    EXPECT_FALSE(report.hasTemplate());

    EXPECT_EQ(report.loadFile(dir.filePath("FRGOOD.frf")), Report::LoadResult::Loaded);
    EXPECT_EQ(report.reportTemplate().title, QStringLiteral("统计"));
    EXPECT_EQ(report.filePath(), dir.filePath("frGood.frf"));

    EXPECT_EQ(report.loadFile(dir.filePath("frMissing.frf")), Report::LoadResult::Missing);
    EXPECT_TRUE(report.lastError().contains(QStringLiteral("找不到报表模板文件“frMissing.frf”")));
    EXPECT_EQ(report.reportTemplate().title, QStringLiteral("统计"));
    EXPECT_EQ(report.filePath(), dir.filePath("frGood.frf"));

    EXPECT_EQ(report.loadFile(dir.filePath("frBroken.frf")), Report::LoadResult::Damaged);
    EXPECT_TRUE(report.lastError().contains(QStringLiteral("报表模板“frBroken.frf”无法使用")))
        << report.lastError().toStdString();
    EXPECT_EQ(report.reportTemplate().title, QStringLiteral("统计"));
}

TEST(Report, CaptionReplacesTheWholeTextAndPrintsAsWritten)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("frStat.frf"), kCaptioned);
    Report report;
    ASSERT_TRUE(report.load(dir.filePath("frStat.frf")));
    report.tie("rows", rows({"张三"}));

    EXPECT_TRUE(report.setObjectText("memodate", QStringLiteral("统计日期：自 启用系统 至 记帐最后一天")));
    EXPECT_TRUE(report.setObjectText("Memo2", QStringLiteral("[重要]客户"))); // a field becomes plain text
    EXPECT_FALSE(report.setObjectText("Memo9", QStringLiteral("无此对象")));  // skipped, nothing else changes

    PreparedReport prepared;
    ASSERT_TRUE(report.prepare(&prepared)) << report.lastError().toStdString();
    EXPECT_EQ(prepared.pageTexts(0),
              (QStringList{"统计日期：自 启用系统 至 记帐最后一天", "[重要]客户", "张三"}));
}

TEST(Report, TiesAreReplacedByNameAndMissingSourcesAreReported)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("frStat.frf"), kCaptioned);
    Report report;
    ASSERT_TRUE(report.load(dir.filePath("frStat.frf")));

    PreparedReport prepared;
    EXPECT_FALSE(report.prepare(&prepared));
    EXPECT_TRUE(report.lastError().contains(QStringLiteral("数据源“rows”没有连接")))
        << report.lastError().toStdString();

    report.tie("ROWS", rows({"甲"}));
    report.tie("rows", rows({"乙", "丙"}));
    EXPECT_EQ(report.dataSourceNames(), QStringList{"ROWS"});
    ASSERT_TRUE(report.prepare(&prepared));
    EXPECT_EQ(prepared.pageTexts(0).mid(2), (QStringList{"乙", "丙"}));
}
