#pragma once

#include <QPointF>
#include <QRectF>

class PreparedReport;
class QPainter;
struct ReportPageItem;
struct ReportStyle;

// Paints prepared pages with QPainter on any device: the preview, a printer, a PDF file.
class ReportRenderer {
public:
    // Draws the page so that the sheet fills `target` (device coordinates); white background.
    static void paintPage(QPainter& painter, const PreparedReport& report, int page, const QRectF& target);
    // One item; `origin` is where the sheet's top-left corner lies, `scale` device pixels per mm.
    static void paintItem(QPainter& painter, const ReportPageItem& item, const ReportStyle& style,
                          const QPointF& origin, double scale);
};
