// libFuzzer harness: any bytes as a template file. Whatever the reader accepts must prepare (or be
// refused with a message) against sample data, and must save to a file that reads back the same.
#include "print/prepared_report.h"
#include "print/report_engine.h"
#include "print/report_exporter.h"
#include "print/report_template.h"
#include "print/report_template_reader.h"
#include "print/report_template_writer.h"
#include "print/table_data_source.h"

#include <cstdlib>

namespace {

ReportEngine::Sources sources()
{
    static ReportEngine::Sources sources = [] {
        auto main = std::make_shared<TableDataSource>(
            QStringList{"F_code", "F_client", "F_area", "F_address", "F_FWprice", "F_flag", "F_buyDate"});
        auto lines = std::make_shared<TableDataSource>(QStringList{"F_code", "F_HPname", "F_totalprice"});
        for (int i = 0; i < 8; ++i) {
            main->addRow({QString::number(i), QStringLiteral("顾客%1").arg(i), i < 4 ? "东" : "西",
                          QString(i * 9, QChar(0x5730)), i * 37.5, i % 2 == 0, QDate(2024, 1, 1 + i)});
            for (int k = 0; k < i % 3; ++k)
                lines->addRow({QString::number(i), QStringLiteral("商品%1").arg(k), k * 1.5});
        }
        return ReportEngine::Sources{{"frMain", main}, {"frDetail1", lines}, {"frDBDataSet1", main}};
    }();
    return sources;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), int(size));
    ReportTemplate t;
    QString error;
    if (!ReportTemplateReader::read(input, &t, &error)) {
        if (error.isEmpty())
            std::abort(); // a refusal must say why
        return 0;
    }
    ReportTemplate saved, again;
    if (!ReportTemplateReader::read(ReportTemplateWriter::write(t), &saved, &error) ||
        !ReportTemplateReader::read(ReportTemplateWriter::write(saved), &again, &error) || !(saved == again))
        std::abort();
    PreparedReport report;
    ReportEngine::Options options;
    options.maxPages = 50;
    if (ReportEngine::prepare(t, sources(), QStringLiteral("frMain"), options, &report, &error)) {
        ReportExporter::toCsv(report);
        ReportExporter::toText(report);
    } else if (error.isEmpty()) {
        std::abort();
    }
    return 0;
}
