#pragma once

#include "print/report_object.h"

#include <QList>
#include <QString>

// A horizontal strip of the report. The kind decides when it prints; data bands repeat for the
// rows of their source. Bands refer to each other by name (a detail to its master, a group
// footer to its header), so the file lists them in the order the designer shows them.
struct ReportBand {
    enum class Kind {
        ReportTitle,
        PageHeader,
        ColumnHeader,
        GroupHeader,
        MasterData,
        DetailHeader,
        DetailData,
        DetailFooter,
        GroupFooter,
        Summary,
        PageFooter,
    };
    enum class Rows { All, Current };

    Kind kind = Kind::MasterData;
    QString name;
    double height = 10.0; // mm
    bool stretch = false;
    bool newPageBefore = false;
    bool newPageAfter = false;
    // Data bands
    QString source;
    Rows rows = Rows::All;
    // Column header, detail data and group header: the master data band they belong to
    QString master;
    // Detail data: rows whose detailField equals the master row's masterField
    QString masterField;
    QString detailField;
    bool printIfEmpty = true; // detail header and footer print when the master row has no details
    // Detail header and footer: their detail data band
    QString detail;
    // Group header: rows with equal condition values form a group; group footer: its header
    QString condition;
    QString group;
    // Page header: also on the first page; detail header: again on each new page
    bool onFirstPage = true;
    bool repeat = false;

    QList<ReportObject> objects;

    bool operator==(const ReportBand&) const = default;

    static QString kindName(Kind kind);
    static bool kindFromName(const QString& name, Kind* kind);
    // Chinese caption of the kind for the designer
    static QString kindCaption(Kind kind);
    static bool isDataKind(Kind kind) { return kind == Kind::MasterData || kind == Kind::DetailData; }
};
