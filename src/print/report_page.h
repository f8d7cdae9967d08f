#pragma once

#include "print/report_band.h"
#include "print/report_page_item.h"

#include <QList>
#include <QRectF>
#include <QString>

// One prepared page: the bands printed on it, in order, and everything they draw.
struct ReportPage {
    struct Band {
        ReportBand::Kind kind = ReportBand::Kind::MasterData;
        QString name;
        QRectF rect;
        bool repeated = false; // a header printed again at the top of a continued page
    };

    QList<Band> bands;
    QList<ReportPageItem> items;
};
