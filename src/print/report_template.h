#pragma once

#include "print/report_band.h"
#include "print/report_page_setup.h"

#include <QList>
#include <QString>

// A report layout: page set-up and bands. A plain value, so the designer's undo can keep copies.
class ReportTemplate {
public:
    QString title;
    // Repeated kind: the whole report prints once for each row of the report-level data source.
    bool repeated = false;
    ReportPageSetup page;
    QList<ReportBand> bands;

    bool operator==(const ReportTemplate&) const = default;

    bool isEmpty() const { return bands.isEmpty(); }
    int bandIndex(const QString& name) const;
    // The first object of that name (names compare without regard to case), or null.
    ReportObject* findObject(const QString& name);
    const ReportObject* findObject(const QString& name) const;
    // A name no band or object carries yet: prefix followed by the smallest free number.
    QString uniqueName(const QString& prefix) const;
    // Checks the links between bands and the sizes; the text says what is wrong, in Chinese.
    bool validate(QString* error) const;
};
