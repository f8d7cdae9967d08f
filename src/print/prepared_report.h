#pragma once

#include "print/report_page.h"
#include "print/report_style.h"

#include <QList>
#include <QSizeF>
#include <QString>

// The pages of a report filled with data, ready to show, print or export.
class PreparedReport {
public:
    QString title;
    QSizeF pageSize; // mm
    QList<ReportStyle> styles;
    QList<ReportPage> pages;

    int pageCount() const { return int(pages.size()); }
    bool isEmpty() const { return pages.isEmpty(); }
    const ReportStyle& style(const ReportPageItem& item) const;
    // Every text of a page in reading order (top to bottom, then left to right), one per item.
    QStringList pageTexts(int page) const;
};
