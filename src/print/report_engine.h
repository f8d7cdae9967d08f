#pragma once

#include "print/report_limits.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

class PreparedReport;
class ReportDataSource;
class ReportTemplate;

// Fills a template with the rows of its data sources and breaks the result into pages.
//
// Order of printing: page header (and the column header of the master being printed) at the
// top of every page, report title once, then for each master data band its rows, each row
// followed by its detail bands; group headers and footers around runs of equal condition
// values; the summary last; the page footer at the bottom of every page.
//
// Aggregates count the rows printed in the scope of the band that shows them: the whole report
// (summary, report title, column header; a page header carries the total of earlier pages), the
// page (page footer), the group (group header and footer), the current master row (detail
// bands). In a data band they are running totals.
class ReportEngine {
public:
    struct Options {
        QDateTime now;         // DATE and TIME; the current time when invalid
        QString pictureFolder; // picture files are named relative to it
        int maxPages = ReportLimits::maxPages;
    };
    using Sources = QList<QPair<QString, std::shared_ptr<ReportDataSource>>>;

    // False with a Chinese message when the template and the data do not fit together (a data
    // source not tied, a field it lacks, a bad expression) or the result would be too large.
    static bool prepare(const ReportTemplate& report, const Sources& sources, const QString& reportSource,
                        const Options& options, PreparedReport* out, QString* error);
};
