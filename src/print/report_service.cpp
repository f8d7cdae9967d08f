#include "print/report_service.h"

#include "data/messenger.h"
#include "print/grid_print.h"
#include "print/prepared_report.h"
#include "print/report.h"
#include "print/report_data_source.h"
#include "print/report_template.h"
#include "print/report_viewer.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileInfo>

ReportService::ReportService(const QString& templateFolder, Messenger& messenger, ReportViewer& viewer)
    : m_folder(templateFolder), m_messenger(messenger), m_viewer(viewer)
{
}

void ReportService::applyTies(Report& report, const ReportRequest& request)
{
    for (const ReportRequest::Tie& tie : request.ties)
        report.tie(tie.name, tie.recordSet);
    if (!request.reportDataSource.isEmpty())
        report.setReportDataSource(request.reportDataSource);
}

ReportService::Loaded ReportService::loadFor(Report& report, const ReportRequest& request, bool design)
{
    const QString path = QDir(m_folder).filePath(request.templateName);
    switch (report.loadFile(path)) {
    case Report::LoadResult::Loaded:
        return Loaded::Yes;
    case Report::LoadResult::Damaged:
        m_messenger.error(report.lastError());
        return Loaded::No;
    case Report::LoadResult::Missing:
        break;
    }
    if (request.builtIn) {
        report.setTemplate(*request.builtIn, path);
        return Loaded::Yes;
    }
    if (design) {
        ReportTemplate fresh;
        fresh.title = QFileInfo(request.templateName).completeBaseName();
        report.setTemplate(fresh, path);
        return Loaded::New;
    }
    // Showing whatever layout the report object held before would print the wrong form.
    m_messenger.warning(report.lastError());
    return Loaded::No;
}

bool ReportService::print(Report& report, const ReportRequest& request)
{
    applyTies(report, request);
    if (request.testEmpty) {
        QString testName = request.emptyTestSource;
        if (testName.isEmpty() && !request.ties.isEmpty())
            testName = request.ties.first().name;
        if (!testName.isEmpty()) {
            const auto source = report.dataSource(testName);
            if (!source || source->rowCount() == 0)
                return false;
        }
    }
    if (loadFor(report, request, false) != Loaded::Yes)
        return false;
    for (const auto& caption : request.captions)
        report.setObjectText(caption.first, caption.second);
    PreparedReport prepared;
    if (!report.prepare(&prepared)) {
        m_messenger.error(report.lastError());
        return false;
    }
    m_viewer.showPreview(prepared);
    return true;
}

bool ReportService::design(Report& report, const ReportRequest& request)
{
    applyTies(report, request);
    if (loadFor(report, request, true) == Loaded::No)
        return false;
    m_viewer.showDesigner(report);
    return true;
}

bool ReportService::printGrid(const QAbstractItemModel& model, const QList<GridPrintColumn>& columns,
                              const QString& title, const QString& footer, const QString& header)
{
    if (model.rowCount() == 0 || columns.isEmpty())
        return false;
    Report report;
    report.setTemplate(GridPrint::buildTemplate(columns, title, footer, header));
    report.tie(QString::fromLatin1(GridPrint::sourceName), GridPrint::dataSource(model, columns));
    PreparedReport prepared;
    if (!report.prepare(&prepared)) {
        m_messenger.error(report.lastError());
        return false;
    }
    m_viewer.showPreview(prepared);
    return true;
}
