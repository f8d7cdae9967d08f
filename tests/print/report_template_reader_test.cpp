#include "print/report_limits.h"
#include "print/report_template.h"
#include "print/report_template_reader.h"
#include "print/report_template_writer.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

QString readError(const QByteArray& data)
{
    ReportTemplate t;
    QString error;
    if (ReportTemplateReader::read(data, &t, &error))
        return QStringLiteral("<loaded>");
    return error;
}

QByteArray manyBands(int n)
{
    QByteArray xml = "<report>";
    for (int i = 0; i < n; ++i)
        xml += "<band kind=\"summary\" name=\"B" + QByteArray::number(i) + "\" height=\"1\"/>";
    return xml + "</report>";
}

QByteArray manyObjects(int n)
{
    QByteArray xml = "<report><band kind=\"reportTitle\" name=\"T\" height=\"5\">";
    for (int i = 0; i < n; ++i)
        xml += "<line/>";
    return xml + "</band></report>";
}

} // namespace

TEST(ReportTemplateReader, DamagedOrHostileFilesAreRefusedWithAReason)
{
    const struct {
        QByteArray data;
        const char* message;
    } cases[] = {
        {"", "不是本程序的报表模板"},
        {"\x00\x01FRF binary layout", "不是本程序的报表模板"},
        {"<report><band kind=\"summary\" name=\"S\" height=\"5\">", "第 1 行"},
        {"<report></report><report/>", "第 1 行"},
        {"<notareport/>", "根元素应为 report"},
        {"<report format=\"other\"/>", "不是本程序的报表模板"},
        {"<report version=\"7\"/>", "版本"},
        {"<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>"
         "<report title=\"&b;\"/>",
         "文档类型定义"},
        {"<report><band kind=\"chartBand\" name=\"X\"/></report>", "未知的区域类型“chartBand”"},
        {"<report><band kind=\"summary\" name=\"S\"><chart/></band></report>", "未知的对象类型“chart”"},
        {"<report><band kind=\"summary\" name=\"S\"><text><b>x</b></text></band></report>",
         "对象中不能再有元素"},
        {"<report><page width=\"1e300\" paper=\"Custom\"/></report>", "超出范围"},
        {"<report><page left=\"nan\"/></report>", "不是数字"},
        {"<report><page left=\"150\" right=\"60\"/></report>", "页边距"},
        {"<report><page paper=\"Z9\"/></report>", "未知的纸张"},
        {"<report><band kind=\"summary\" name=\"S\" height=\"999999\"/></report>", "超出范围"},
        {"<report><band kind=\"summary\" name=\"S\" height=\"400\"/></report>", "高度超出页面"},
        {"<report><band kind=\"summary\" name=\"S\"><text size=\"5000\"/></band></report>", "超出范围"},
        {"<report><band kind=\"summary\" name=\"S\"><text color=\"notacolour\"/></band></report>", "颜色"},
        {"<report><band kind=\"summary\" name=\"S\"><text bold=\"maybe\"/></band></report>", "true 或 false"},
        {"<report><band kind=\"summary\" name=\"S\"><text frame=\"lxq\"/></band></report>", "边框"},
        {"<report><band kind=\"summary\" name=\"S\"><picture data=\"@@not base64@@\"/></band></report>",
         "图片数据损坏"},
        {"<report><band kind=\"summary\" name=\"S\"><text>" + QByteArray(70000, 'x') +
             "</text></band></report>",
         "太长"},
        {manyBands(ReportLimits::maxBands + 1), "区域太多"},
        {manyObjects(ReportLimits::maxObjects + 1), "对象太多"},
        {QByteArray(ReportLimits::maxFileBytes + 1, ' '), "文件太大"},
        {"<report><band kind=\"summary\" name=\"A\"/><band kind=\"summary\" name=\"B\"/></report>",
         "只能有一个"},
        {"<report><band kind=\"summary\" name=\"A\"/><band kind=\"pageHeader\" name=\"a\"/></report>",
         "重复"},
        {"<report><band kind=\"masterData\" name=\"M\"/></report>", "没有指定数据源"},
        {"<report><band kind=\"detailData\" name=\"D\" source=\"x\" master=\"Nope\"/></report>",
         "主数据区域“Nope”不存在"},
        {"<report><band kind=\"detailFooter\" name=\"F\" detail=\"Nope\"/></report>",
         "明细数据区域“Nope”不存在"},
        {"<report><band kind=\"groupFooter\" name=\"F\" group=\"G\"/></report>", "分组头“G”不存在"},
        {"<report><band kind=\"masterData\" name=\"M\" source=\"s\"/><band kind=\"groupHeader\" name=\"G\" "
         "master=\"M\"/>"
         "</report>",
         "没有分组条件"},
        {"<report>stray text</report>", "此处不应有文字"},
    };
    for (const auto& c : cases) {
        const QString error = readError(c.data);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.message)))
            << c.data.left(80).toStdString() << " -> " << error.toStdString();
    }
}

TEST(ReportTemplateReader, FailedReadLeavesTheTargetUntouched)
{
    ReportTemplate t;
    t.title = QStringLiteral("原来的");
    QString error;
    EXPECT_FALSE(ReportTemplateReader::read("<report><band kind=\"bogus\"/></report>", &t, &error));
    EXPECT_EQ(t.title, QStringLiteral("原来的"));
}

TEST(ReportTemplateWriter, WrittenTemplateReadsBackEqual)
{
    ReportTemplate t;
    t.title = QStringLiteral("安装送货派工单 <&>");
    t.repeated = true;
    t.page.setPaper(QStringLiteral("A5"));
    t.page.landscape = true;
    t.page.marginLeft = 7.5;

    ReportBand master;
    master.kind = ReportBand::Kind::MasterData;
    master.name = QStringLiteral("Master");
    master.source = QStringLiteral("frMain");
    master.rows = ReportBand::Rows::Current;
    master.height = 22.5;
    master.stretch = true;
    master.newPageAfter = true;

    ReportObject text;
    text.name = QStringLiteral("MemoDate");
    text.rect = QRectF(1.5, 2, 80, 6.25);
    text.text = QStringLiteral("  统计日期：[frMain.\"F_buyDate\"]\n第二行 [[不是表达式] & <b>  ");
    text.style.fontFamily = QStringLiteral("黑体");
    text.style.fontSize = 14;
    text.style.bold = true;
    text.style.underline = true;
    text.style.hAlign = ReportStyle::HAlign::Center;
    text.style.vAlign = ReportStyle::VAlign::Bottom;
    text.style.frameSides = ReportStyle::FrameLeft | ReportStyle::FrameBottom;
    text.style.frameWidth = 0.5;
    text.style.fillColor = QColor(0, 0, 128);
    text.style.textColor = Qt::white;
    text.style.wordWrap = false;
    text.displayFormat = QStringLiteral(",0.00");
    text.stretch = true;
    ReportObject line;
    line.kind = ReportObject::Kind::Line;
    line.rect = QRectF(0, 20, 180, 0);
    line.style.frameWidth = 0.3;
    ReportObject picture;
    picture.kind = ReportObject::Kind::Picture;
    picture.name = QStringLiteral("Logo");
    picture.rect = QRectF(150, 0, 30, 20);
    picture.pictureData = QByteArray("\x89PNG\r\n\x1a\n\x00\x01", 10);
    picture.pictureFile = QStringLiteral("logo.png");
    picture.keepAspect = false;
    ReportObject check;
    check.kind = ReportObject::Kind::CheckBox;
    check.rect = QRectF(100, 0, 5, 5);
    check.text = QStringLiteral("frDetail2.\"F_addFlag\"");
    master.objects << text << line << picture << check;

    ReportBand detail;
    detail.kind = ReportBand::Kind::DetailData;
    detail.name = QStringLiteral("Goods");
    detail.source = QStringLiteral("frDetail1");
    detail.master = QStringLiteral("Master");
    detail.masterField = QStringLiteral("F_code");
    detail.detailField = QStringLiteral("F_code");
    detail.printIfEmpty = false;
    ReportBand header;
    header.kind = ReportBand::Kind::PageHeader;
    header.name = QStringLiteral("Head");
    header.onFirstPage = false;
    t.bands << header << master << detail;

    ReportTemplate back;
    QString error;
    ASSERT_TRUE(ReportTemplateReader::read(ReportTemplateWriter::write(t), &back, &error))
        << error.toStdString();
    EXPECT_EQ(back.bands[1].objects[0].text, text.text);
    EXPECT_EQ(back.bands[1].objects[0].style, text.style);
    EXPECT_EQ(back.bands[1].objects[2], picture);
    EXPECT_TRUE(back == t);
}
