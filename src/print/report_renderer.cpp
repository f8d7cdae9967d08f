#include "print/report_renderer.h"

#include "print/prepared_report.h"
#include "print/report_fonts.h"

#include <QHash>
#include <QPaintDevice>
#include <QPainter>

namespace {

constexpr double kPadX = ReportTextLayout::paddingX;
constexpr double kPadY = ReportTextLayout::paddingY;

double devicePointSize(const QPainter& painter, double points, double scale)
{
    // The font must measure `points` on the sheet whatever the device's resolution and zoom.
    const double pixels = points * 25.4 / 72.0 * scale;
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    return pixels * 72.0 / qMax(1, dpi);
}

QRectF toDevice(const QRectF& mm, const QPointF& origin, double scale)
{
    return QRectF(origin.x() + mm.x() * scale, origin.y() + mm.y() * scale, mm.width() * scale,
                  mm.height() * scale);
}

void paintFrame(QPainter& painter, const QRectF& r, const ReportStyle& style, double scale)
{
    if (!style.frameSides)
        return;
    QPen pen(style.frameColor, qMax(0.0, style.frameWidth * scale));
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (style.frameSides == ReportStyle::FrameAll) {
        painter.drawRect(r);
        return;
    }
    if (style.frameSides & ReportStyle::FrameLeft)
        painter.drawLine(r.topLeft(), r.bottomLeft());
    if (style.frameSides & ReportStyle::FrameTop)
        painter.drawLine(r.topLeft(), r.topRight());
    if (style.frameSides & ReportStyle::FrameRight)
        painter.drawLine(r.topRight(), r.bottomRight());
    if (style.frameSides & ReportStyle::FrameBottom)
        painter.drawLine(r.bottomLeft(), r.bottomRight());
}

void paintText(QPainter& painter, const ReportPageItem& item, const ReportStyle& style, const QRectF& r,
               double scale)
{
    if (item.lines.isEmpty())
        return;
    painter.setFont(ReportFonts::font(style, devicePointSize(painter, style.fontSize, scale)));
    painter.setPen(style.textColor);
    const double lineHeight = item.lineHeight * scale;
    const double total = item.lines.size() * lineHeight;
    const double avail = r.height() - 2 * kPadY * scale;
    double top = r.top() + kPadY * scale;
    if (style.vAlign == ReportStyle::VAlign::Middle && avail > total)
        top += (avail - total) / 2;
    else if (style.vAlign == ReportStyle::VAlign::Bottom && avail > total)
        top += avail - total;
    int flags = Qt::TextSingleLine | Qt::TextDontClip | Qt::AlignVCenter;
    switch (style.hAlign) {
    case ReportStyle::HAlign::Left:
        flags |= Qt::AlignLeft;
        break;
    case ReportStyle::HAlign::Center:
        flags |= Qt::AlignHCenter;
        break;
    case ReportStyle::HAlign::Right:
        flags |= Qt::AlignRight;
        break;
    }
    if (item.clip) {
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
    }
    const double x = r.left() + kPadX * scale;
    const double width = r.width() - 2 * kPadX * scale;
    for (int i = 0; i < item.lines.size(); ++i) {
        const QRectF lineRect(x, top + i * lineHeight, width, lineHeight);
        if (item.clip && lineRect.top() > r.bottom())
            break;
        painter.drawText(lineRect, flags, item.lineText(i));
    }
    if (item.clip)
        painter.restore();
}

} // namespace

void ReportRenderer::paintItem(QPainter& painter, const ReportPageItem& item, const ReportStyle& style,
                               const QPointF& origin, double scale)
{
    const QRectF r = toDevice(item.rect, origin, scale);
    switch (item.kind) {
    case ReportPageItem::Kind::Line: {
        QPen pen(style.frameColor, qMax(0.0, style.frameWidth * scale));
        painter.setPen(pen);
        painter.drawLine(r.topLeft(), r.bottomRight());
        return;
    }
    case ReportPageItem::Kind::Text:
        if (style.fillColor.isValid())
            painter.fillRect(r, style.fillColor);
        paintText(painter, item, style, r, scale);
        paintFrame(painter, r, style, scale);
        return;
    case ReportPageItem::Kind::Rectangle:
        if (style.fillColor.isValid())
            painter.fillRect(r, style.fillColor);
        paintFrame(painter, r, style, scale);
        return;
    case ReportPageItem::Kind::Picture:
        if (style.fillColor.isValid())
            painter.fillRect(r, style.fillColor);
        if (!item.image.isNull()) {
            QRectF target = r;
            if (item.keepAspect) {
                QSizeF size = item.image.size();
                size.scale(r.size(), Qt::KeepAspectRatio);
                target = QRectF(r.center().x() - size.width() / 2, r.center().y() - size.height() / 2,
                                size.width(), size.height());
            }
            painter.save();
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, item.image);
            painter.restore();
        }
        paintFrame(painter, r, style, scale);
        return;
    case ReportPageItem::Kind::CheckBox: {
        if (style.fillColor.isValid())
            painter.fillRect(r, style.fillColor);
        const double side = qMin(qMin(r.width(), r.height()) * 0.8, 4.0 * scale);
        const QRectF box(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
        painter.setPen(QPen(style.textColor, qMax(0.5, 0.25 * scale)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        if (item.checked) {
            QPen tick(style.textColor, qMax(1.0, 0.4 * scale));
            tick.setCapStyle(Qt::RoundCap);
            tick.setJoinStyle(Qt::RoundJoin);
            painter.setPen(tick);
            const QPointF points[3] = {QPointF(box.left() + side * 0.2, box.top() + side * 0.5),
                                       QPointF(box.left() + side * 0.42, box.top() + side * 0.75),
                                       QPointF(box.left() + side * 0.82, box.top() + side * 0.22)};
            painter.drawPolyline(points, 3);
        }
        paintFrame(painter, r, style, scale);
        return;
    }
    }
}

void ReportRenderer::paintPage(QPainter& painter, const PreparedReport& report, int page,
                               const QRectF& target)
{
    if (page < 0 || page >= report.pageCount() || report.pageSize.width() <= 0)
        return;
    painter.save();
    painter.fillRect(target, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = target.width() / report.pageSize.width();
    for (const ReportPageItem& item : report.pages[page].items)
        paintItem(painter, item, report.style(item), target.topLeft(), scale);
    painter.restore();
}
