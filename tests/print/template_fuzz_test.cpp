#include "print/prepared_report.h"
#include "print/report_engine.h"
#include "print/report_exporter.h"
#include "print/report_template.h"
#include "print/report_template_reader.h"
#include "print/report_template_writer.h"
#include "print/table_data_source.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <random>

namespace {

const char* kSeed = R"(<?xml version="1.0" encoding="UTF-8"?>
<report format="corvalin-report" version="1" title="派工单">
  <page paper="A4" orientation="portrait" left="15" top="12" right="15" bottom="12"/>
  <band kind="pageHeader" name="PageHeader1" height="10" onFirstPage="false">
    <text name="Head" x="0" y="0" width="180" height="8" align="center">第[PAGE#]页/共[TOTALPAGES]页 [DATE] [TIME]</text>
  </band>
  <band kind="reportTitle" name="Title" height="14">
    <text name="MemoDate" x="0" y="2" width="180" height="10" size="16" bold="true" align="center" valign="middle">[COUNT(frMain)] 单 [SUM(frMain."F_FWprice")]</text>
    <picture name="Logo" x="0" y="0" width="20" height="12" file="logo.png"/>
  </band>
  <band kind="columnHeader" name="Cols" height="7" master="Master">
    <text x="0" y="0" width="40" height="7" frame="all" fill="#000080" color="#ffffff">顾客</text>
    <rect x="40" y="0" width="140" height="7" frame="all"/>
  </band>
  <band kind="groupHeader" name="Group" height="7" master="Master" condition='frMain."F_area"'>
    <text x="0" y="0" width="180" height="7">[frMain."F_area"] [COUNT(frMain)]</text>
  </band>
  <band kind="masterData" name="Master" height="8" source="frMain" stretch="true">
    <field name="Client" x="0" y="0" width="40" height="8" frame="all" stretch="true">frMain."F_client"</field>
    <text x="40" y="0" width="100" height="8" frame="all" stretch="true" format=",0.00">[frMain."F_address"] [IIF(frMain."F_FWprice" > 100, '高', '低')] [frMain."F_FWprice" * 2]</text>
    <checkbox x="140" y="0" width="8" height="8">frMain."F_flag"</checkbox>
    <line x="0" y="8" width="180" height="0" lineWidth="0.2"/>
  </band>
  <band kind="detailHeader" name="DH" height="6" detail="Detail" repeat="true"><text x="10" y="0" width="40" height="6">商品</text></band>
  <band kind="detailData" name="Detail" height="6" source="frDetail1" master="Master" masterField="F_code" detailField="F_code">
    <text x="10" y="0" width="60" height="6">[LINE#] [frDetail1."F_HPname"] [FORMAT(frDetail1."F_totalprice", ',0.00')]</text>
  </band>
  <band kind="detailFooter" name="DF" height="6" detail="Detail"><text x="10" y="0" width="60" height="6">[SUM(frDetail1."F_totalprice")] [AVG(frDetail1."F_totalprice")] [MIN(frDetail1."F_totalprice", Detail)] [MAX(frDetail1."F_totalprice")]</text></band>
  <band kind="groupFooter" name="GF" height="6" group="Group"><text x="0" y="0" width="60" height="6">[SUM(frMain."F_FWprice")]</text></band>
  <band kind="summary" name="Sum" height="8"><text x="0" y="0" width="180" height="8">[[合计] [SUM(frMain."F_FWprice")]</text></band>
  <band kind="pageFooter" name="Foot" height="8"><text x="0" y="0" width="180" height="8" align="right">[PAGE#]</text></band>
</report>)";

ReportEngine::Sources sources()
{
    auto master = std::make_shared<TableDataSource>(
        QStringList{"F_code", "F_client", "F_area", "F_address", "F_FWprice", "F_flag"});
    auto lines = std::make_shared<TableDataSource>(QStringList{"F_code", "F_HPname", "F_totalprice"});
    for (int i = 0; i < 12; ++i) {
        const QString code = QString::number(i);
        master->addRow({code, QStringLiteral("顾客%1").arg(i), i < 6 ? "东" : "西",
                        QString(i * 7, QChar(0x5730)), i * 37.5, i % 2 == 0});
        for (int k = 0; k < i % 4; ++k)
            lines->addRow({code, QStringLiteral("商品%1").arg(k), k * 1.5});
    }
    return {{"frMain", master}, {"frDetail1", lines}};
}

const char* const kTokens[] = {"<band kind=\"masterData\" name=\"X\" source=\"frMain\" height=\"5\">",
                               "</band>",
                               "<text>",
                               "</text>",
                               "[SUM(",
                               "[COUNT(frMain)]",
                               "[frMain.\"F_client\"]",
                               "]]",
                               "[[",
                               "\"",
                               "'",
                               "<!DOCTYPE x>",
                               "&amp;",
                               "&bogus;",
                               "1e308",
                               "-1",
                               "99999",
                               "nan",
                               "0",
                               "<field>frDetail1.\"F_x\"</field>",
                               "stretch=\"true\" ",
                               "height=\"0\" ",
                               "newPageAfter=\"true\" ",
                               "<picture data=\"AAAA\"/>",
                               "(((((((((((",
                               "<checkbox/>",
                               "kind=\"detailData\" ",
                               "master=\"Master\" ",
                               "<![CDATA[x]]>",
                               "\xff\xfe",
                               "\x00"};

QByteArray mutate(QByteArray data, std::mt19937& rng)
{
    const int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits && !data.isEmpty(); ++e) {
        const int pos = int(rng() % data.size());
        switch (rng() % 6) {
        case 0: // flip a byte
            data[pos] = char(data[pos] ^ (1 << (rng() % 8)));
            break;
        case 1: // delete a run
            data.remove(pos, int(rng() % 40));
            break;
        case 2: { // duplicate a run
            const int len = int(rng() % 200);
            data.insert(pos, data.mid(pos, len));
            break;
        }
        case 3: { // insert a token
            const QByteArray token(kTokens[rng() % std::size(kTokens)]);
            data.insert(pos, token);
            break;
        }
        case 4: { // replace a number with an extreme one
            const int digit = int(data.indexOf(QByteArrayView("0123456789").sliced(rng() % 10, 1), pos));
            if (digit >= 0)
                data.replace(digit, 1, (rng() % 2) ? "999999999" : "-0.0001");
            break;
        }
        default: // random byte
            data.insert(pos, char(rng() % 256));
            break;
        }
    }
    return data;
}

} // namespace

// Thousands of damaged variants of a template that uses every band and object kind: each must
// either be refused with a message or load, prepare and export; none may crash or hang.
TEST(TemplateFuzz, MutatedTemplatesNeverCrash)
{
    QList<QByteArray> seeds{QByteArray(kSeed)};
    // The delivered templates are seeds too.
    const QDir qr(QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + QStringLiteral("/../../Qr"));
    for (const QString& name : qr.entryList({"*.frf"}, QDir::Files)) {
        QFile f(qr.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            seeds << f.readAll();
    }
    const auto data = sources();
    std::mt19937 rng(20240531);
    int loaded = 0, prepared = 0, refused = 0;
    const int rounds = 6000;
    for (int i = 0; i < rounds; ++i) {
        const QByteArray input = mutate(seeds[int(rng() % seeds.size())], rng);
        ReportTemplate t;
        QString error;
        if (!ReportTemplateReader::read(input, &t, &error)) {
            ASSERT_FALSE(error.isEmpty());
            ++refused;
            continue;
        }
        ++loaded;
        // Saving what was read, and saving that again, gives the same layout (positions are
        // kept to a thousandth of a millimetre).
        ReportTemplate saved, savedAgain;
        ASSERT_TRUE(ReportTemplateReader::read(ReportTemplateWriter::write(t), &saved, &error))
            << error.toStdString();
        ASSERT_TRUE(ReportTemplateReader::read(ReportTemplateWriter::write(saved), &savedAgain, &error));
        ASSERT_TRUE(saved == savedAgain);
        PreparedReport report;
        ReportEngine::Options options;
        options.maxPages = 200;
        if (ReportEngine::prepare(t, data, QStringLiteral("frMain"), options, &report, &error)) {
            ++prepared;
            ReportExporter::toCsv(report);
            ReportExporter::toText(report);
        } else {
            ASSERT_FALSE(error.isEmpty());
        }
    }
    EXPECT_EQ(loaded + refused, rounds);
    EXPECT_GT(loaded, rounds / 20); // the mutations still reach the engine, not only the parser
    EXPECT_GT(prepared, 0);
    std::printf("fuzz: %d variants, %d refused, %d loaded, %d prepared\n", rounds, refused, loaded, prepared);
}
