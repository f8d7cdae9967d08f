#include "app/main_window_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

using Kind = MainWindowIcons::Kind;

const QColor kBlue(0x2a, 0x6f, 0xc9);
const QColor kDarkBlue(0x1d, 0x4e, 0x8f);
const QColor kGreen(0x2e, 0x9d, 0x4a);
const QColor kRed(0xd2, 0x3c, 0x32);
const QColor kOrange(0xe8, 0x8a, 0x1a);
const QColor kGrey(0x5f, 0x66, 0x70);
const QColor kPaper(0xfb, 0xfb, 0xf8);
const QColor kYellow(0xf2, 0xc1, 0x2e);

void paper(QPainter& p, const QRectF& r)
{
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - 6, r.top());
    sheet.lineTo(r.right(), r.top() + 6);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(kGrey, 1.4));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.setPen(QPen(QColor(0xa8, 0xb0, 0xba), 1.4));
    for (qreal y = r.top() + 9; y < r.bottom() - 3; y += 5)
        p.drawLine(QPointF(r.left() + 4, y), QPointF(r.right() - 5, y));
}

void badge(QPainter& p, const QColor& colour, const QPointF& centre, qreal radius)
{
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

void plus(QPainter& p, const QPointF& c, qreal r)
{
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
}

void person(QPainter& p, const QPointF& at, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(at.x(), at.y()), 5.5, 5.5);
    QPainterPath body;
    body.moveTo(at.x() - 10, at.y() + 18);
    body.cubicTo(at.x() - 10, at.y() + 7, at.x() + 10, at.y() + 7, at.x() + 10, at.y() + 18);
    body.closeSubpath();
    p.drawPath(body);
}

void circularArrow(QPainter& p, const QRectF& r, const QColor& colour)
{
    p.setPen(QPen(colour, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(r, 40 * 16, 280 * 16);
    QPolygonF head;
    const QPointF tip(r.center().x() + r.width() / 2 * 0.77, r.center().y() - r.height() / 2 * 0.64);
    head << tip + QPointF(-1, -7) << tip + QPointF(6, 2) << tip + QPointF(-5, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

void printer(QPainter& p)
{
    p.setPen(QPen(kGrey, 1.4));
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 3, 14, 10));
    p.setBrush(QColor(0x9a, 0xa4, 0xb0));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 3, 3);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 19, 14, 10));
    p.setPen(QPen(QColor(0xa8, 0xb0, 0xba), 1.2));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(21, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
}

void draw(QPainter& p, Kind kind)
{
    switch (kind) {
    case Kind::Relogin:
        person(p, QPointF(12, 9), kBlue);
        circularArrow(p, QRectF(17, 15, 12, 12), kGreen);
        break;
    case Kind::PrintSetup:
        printer(p);
        break;
    case Kind::Print:
        printer(p);
        break;
    case Kind::Add:
        paper(p, QRectF(4, 2, 20, 26));
        badge(p, kGreen, QPointF(22, 22), 8);
        plus(p, QPointF(22, 22), 4);
        break;
    case Kind::Edit: {
        paper(p, QRectF(4, 2, 20, 26));
        p.save();
        p.translate(20, 18);
        p.rotate(45);
        p.setPen(QPen(kDarkBlue, 1.2));
        p.setBrush(kOrange);
        p.drawRect(QRectF(-3, -13, 6, 20));
        p.setBrush(QColor(0xf4, 0xd8, 0xa8));
        QPolygonF tip;
        tip << QPointF(-3, 7) << QPointF(3, 7) << QPointF(0, 12);
        p.drawPolygon(tip);
        p.restore();
        break;
    }
    case Kind::Dispatch: {
        p.setPen(QPen(kDarkBlue, 1.4));
        p.setBrush(kBlue);
        p.drawRect(QRectF(2, 8, 17, 13));
        p.setBrush(QColor(0x7f, 0xb2, 0xea));
        QPolygonF cab;
        cab << QPointF(19, 12) << QPointF(25, 12) << QPointF(30, 17) << QPointF(30, 21) << QPointF(19, 21);
        p.drawPolygon(cab);
        p.setBrush(QColor(0x33, 0x33, 0x33));
        p.drawEllipse(QPointF(8, 23), 3.2, 3.2);
        p.drawEllipse(QPointF(24, 23), 3.2, 3.2);
        break;
    }
    case Kind::Complete: {
        badge(p, kGreen, QPointF(16, 16), 13);
        p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF check;
        check << QPointF(9, 16.5) << QPointF(14, 21.5) << QPointF(23, 11);
        p.drawPolyline(check);
        break;
    }
    case Kind::Delete: {
        p.setPen(QPen(kGrey, 1.4));
        p.setBrush(QColor(0xe8, 0xea, 0xee));
        QPolygonF bin;
        bin << QPointF(7, 9) << QPointF(25, 9) << QPointF(23, 29) << QPointF(9, 29);
        p.drawPolygon(bin);
        p.drawRect(QRectF(5, 6, 22, 3));
        p.drawRect(QRectF(13, 3, 6, 3));
        p.setPen(QPen(kRed, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 14), QPointF(20, 24));
        p.drawLine(QPointF(20, 14), QPointF(12, 24));
        break;
    }
    case Kind::Repair: {
        p.save();
        p.translate(16, 16);
        p.rotate(-45);
        p.setPen(QPen(kGrey, 1.2));
        p.setBrush(QColor(0x8c, 0x96, 0xa3));
        p.drawRoundedRect(QRectF(-2.8, -4, 5.6, 18), 2, 2);
        QPainterPath head;
        head.addEllipse(QPointF(0, -8), 7, 7);
        QPainterPath jaw;
        jaw.addRect(QRectF(-2.5, -16, 5, 8));
        p.drawPath(head.subtracted(jaw));
        p.restore();
        break;
    }
    case Kind::Goods: {
        p.setPen(QPen(QColor(0x8a, 0x5a, 0x22), 1.4));
        p.setBrush(QColor(0xd9, 0xa4, 0x5b));
        QPolygonF front;
        front << QPointF(4, 11) << QPointF(18, 16) << QPointF(18, 30) << QPointF(4, 25);
        p.drawPolygon(front);
        p.setBrush(QColor(0xc4, 0x8a, 0x3c));
        QPolygonF side;
        side << QPointF(18, 16) << QPointF(28, 11) << QPointF(28, 25) << QPointF(18, 30);
        p.drawPolygon(side);
        p.setBrush(QColor(0xea, 0xc0, 0x82));
        QPolygonF top;
        top << QPointF(4, 11) << QPointF(14, 6) << QPointF(28, 11) << QPointF(18, 16);
        p.drawPolygon(top);
        break;
    }
    case Kind::Reminder: {
        p.setPen(QPen(QColor(0x9c, 0x73, 0x10), 1.4));
        p.setBrush(kYellow);
        QPainterPath bell;
        bell.moveTo(6, 23);
        bell.cubicTo(9, 19, 8, 8, 16, 6);
        bell.cubicTo(24, 8, 23, 19, 26, 23);
        bell.closeSubpath();
        p.drawPath(bell);
        p.drawEllipse(QPointF(16, 26), 3, 3);
        p.drawEllipse(QPointF(16, 5), 1.8, 1.8);
        break;
    }
    case Kind::Sort: {
        p.setPen(QPen(kBlue, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 5), QPointF(9, 26));
        QPolygonF down;
        down << QPointF(4, 21) << QPointF(14, 21) << QPointF(9, 28);
        p.setBrush(kBlue);
        p.drawPolygon(down);
        p.setPen(QPen(kGrey, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 8), QPointF(28, 8));
        p.drawLine(QPointF(17, 15), QPointF(25, 15));
        p.drawLine(QPointF(17, 22), QPointF(22, 22));
        break;
    }
    case Kind::Refresh:
        circularArrow(p, QRectF(5, 5, 22, 22), kGreen);
        break;
    case Kind::Close: {
        p.setPen(QPen(kRed, 3.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 6, 22, 22), 125 * 16, 290 * 16);
        p.drawLine(QPointF(16, 3), QPointF(16, 15));
        break;
    }
    case Kind::Export: {
        p.setPen(QPen(QColor(0x1e, 0x6e, 0x3a), 1.4));
        p.setBrush(QColor(0xee, 0xf7, 0xf0));
        p.drawRect(QRectF(4, 4, 24, 24));
        p.setPen(QPen(QColor(0x1e, 0x6e, 0x3a), 1));
        for (qreal x = 12; x < 28; x += 8)
            p.drawLine(QPointF(x, 4), QPointF(x, 28));
        for (qreal y = 10; y < 28; y += 6)
            p.drawLine(QPointF(4, y), QPointF(28, y));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1e, 0x6e, 0x3a));
        p.drawRect(QRectF(4, 4, 24, 6));
        break;
    }
    case Kind::Find: {
        p.setPen(QPen(kDarkBlue, 3));
        p.setBrush(QColor(0xdc, 0xeb, 0xfb));
        p.drawEllipse(QPointF(13, 13), 8, 8);
        p.setPen(QPen(kGrey, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 19), QPointF(27, 27));
        break;
    }
    case Kind::Calculator: {
        p.setPen(QPen(kGrey, 1.4));
        p.setBrush(QColor(0x4a, 0x52, 0x5c));
        p.drawRoundedRect(QRectF(6, 3, 20, 26), 3, 3);
        p.setBrush(QColor(0xc8, 0xe6, 0xc9));
        p.drawRect(QRectF(9, 6, 14, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(9 + c * 5, 15 + r * 4.5, 3.5, 3));
        }
        break;
    }
    case Kind::Notepad:
        paper(p, QRectF(6, 3, 20, 26));
        break;
    case Kind::Help:
        badge(p, kBlue, QPointF(16, 16), 13);
        p.setPen(Qt::white);
        {
            QFont f = p.font();
            f.setBold(true);
            f.setPixelSize(19);
            p.setFont(f);
            p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
        }
        break;
    case Kind::About:
        badge(p, kBlue, QPointF(16, 16), 13);
        p.setPen(Qt::white);
        {
            QFont f = p.font();
            f.setBold(true);
            f.setPixelSize(18);
            p.setFont(f);
            p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("i"));
        }
        break;
    case Kind::Statistics:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRect(QRectF(5, 16, 5, 12));
        p.setBrush(kGreen);
        p.drawRect(QRectF(13, 8, 5, 20));
        p.setBrush(kOrange);
        p.drawRect(QRectF(21, 12, 5, 16));
        p.setPen(QPen(kGrey, 1.4));
        p.drawLine(QPointF(3, 28.5), QPointF(29, 28.5));
        break;
    case Kind::Database:
        p.setPen(QPen(kDarkBlue, 1.4));
        p.setBrush(QColor(0x7f, 0xb2, 0xea));
        p.drawRect(QRectF(6, 8, 20, 17));
        p.drawEllipse(QRectF(6, 21, 20, 7));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(6.7, 20, 18.6, 4));
        p.setPen(QPen(kDarkBlue, 1.4));
        p.setBrush(QColor(0xb8, 0xd6, 0xf6));
        p.drawEllipse(QRectF(6, 4, 20, 7));
        break;
    case Kind::Settings: {
        p.setPen(Qt::NoPen);
        p.setBrush(kGrey);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(16, 16);
            p.rotate(i * 45);
            p.drawRect(QRectF(-2.5, -13, 5, 6));
            p.restore();
        }
        p.drawEllipse(QPointF(16, 16), 9, 9);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
        break;
    }
    }
}

} // namespace

QIcon MainWindowIcons::icon(Kind kind)
{
    QIcon result;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        draw(p, kind);
        p.end();
        result.addPixmap(pixmap);
    }
    return result;
}
