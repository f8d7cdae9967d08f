#pragma once

#include "print/report_request.h"

#include <QList>
#include <QString>

class Messenger;
class QAbstractItemModel;
class Report;
class ReportViewer;
struct GridPrintColumn;

// The one call behind every print and design command:
//
//   m_reports.print(m_report, {"frWXtotalTj.frf", {{"frDBDataSet1", &m_table}},
//                              {{"MemoDate", caption}}, "frDBDataSet1"});
//
// Print: an empty result ends the command without a message; otherwise the template is loaded
// (again, so a layout just saved in the designer is used), captions are set (a template without
// the object just shows none), sources are tied and the preview opens. A missing or damaged
// template, or data that does not fit it, is reported through the messenger.
class ReportService {
public:
    ReportService(const QString& templateFolder, Messenger& messenger, ReportViewer& viewer);

    QString templateFolder() const { return m_folder; }
    // True when the preview was shown.
    bool print(Report& report, const ReportRequest& request);
    // Opens the designer on the template with the data of the moment; no emptiness test, no
    // captions. A template that does not exist yet is started empty and saved under its name.
    bool design(Report& report, const ReportRequest& request);
    // Template-less print of a grid: title above, header and footer on every page, the visible
    // columns in order. Nothing happens for an empty grid.
    bool printGrid(const QAbstractItemModel& model, const QList<GridPrintColumn>& columns,
                   const QString& title, const QString& footer, const QString& header);

private:
    enum class Loaded { Yes, No, New };
    Loaded loadFor(Report& report, const ReportRequest& request, bool design);
    void applyTies(Report& report, const ReportRequest& request);

    QString m_folder;
    Messenger& m_messenger;
    ReportViewer& m_viewer;
};
