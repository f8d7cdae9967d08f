#include "print/report_page_view.h"

#include "print/prepared_report.h"
#include "print/report_renderer.h"

#include <QPainter>

namespace {
constexpr int kMargin = 12; // grey border around the sheet
}

ReportPageView::ReportPageView(const PreparedReport& report, QWidget* parent)
    : QWidget(parent), m_report(report)
{
    setObjectName(QStringLiteral("pageView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReportPageView::setPage(int page)
{
    page = qBound(0, page, qMax(0, m_report.pageCount() - 1));
    if (page == m_page)
        return;
    m_page = page;
    update();
}

void ReportPageView::setZoom(double zoom)
{
    zoom = qBound(0.1, zoom, 8.0);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    m_zoom = zoom;
    resize(sizeHint());
    updateGeometry();
    update();
}

QSizeF ReportPageView::naturalSize() const
{
    return QSizeF(m_report.pageSize.width() / 25.4 * logicalDpiX(),
                  m_report.pageSize.height() / 25.4 * logicalDpiY());
}

QSize ReportPageView::sizeHint() const
{
    const QSizeF s = naturalSize() * m_zoom;
    return QSize(int(s.width()) + 2 * kMargin, int(s.height()) + 2 * kMargin);
}

void ReportPageView::setHighlight(const QRectF& mm)
{
    m_highlight = mm;
    update();
}

QPointF ReportPageView::toWidget(const QPointF& mm) const
{
    const QSizeF s = naturalSize() * m_zoom;
    const double scale = m_report.pageSize.width() > 0 ? s.width() / m_report.pageSize.width() : 1.0;
    return QPointF((width() - s.width()) / 2 + mm.x() * scale, kMargin + mm.y() * scale);
}

void ReportPageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    const QSizeF s = naturalSize() * m_zoom;
    const QRectF sheet((width() - s.width()) / 2, kMargin, s.width(), s.height());
    painter.fillRect(sheet.translated(3, 3), QColor(0x50, 0x50, 0x50));
    if (m_report.isEmpty()) {
        painter.fillRect(sheet, Qt::white);
        return;
    }
    ReportRenderer::paintPage(painter, m_report, m_page, sheet);
    if (!m_highlight.isEmpty()) {
        const QRectF mark(toWidget(m_highlight.topLeft()), toWidget(m_highlight.bottomRight()));
        painter.fillRect(mark, QColor(255, 200, 0, 90));
        painter.setPen(QPen(QColor(230, 120, 0), 2));
        painter.drawRect(mark);
    }
}
