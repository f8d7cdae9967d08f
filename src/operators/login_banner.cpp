#include "operators/login_banner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

LoginBanner::LoginBanner(QWidget* parent) : QWidget(parent)
{
    // Leaves room for the painted name above the laid-out children.
    setContentsMargins(0, 44, 0, 0);
}

void LoginBanner::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, width(), height());
    sky.setColorAt(0.0, QColor(0x1f, 0x4e, 0x8c));
    sky.setColorAt(1.0, QColor(0x0b, 0x24, 0x4a));
    p.fillRect(rect(), sky);

    // A padlock on the right: this is where operators identify themselves.
    const int x = width() - 58;
    p.setPen(QPen(QColor(255, 255, 255, 170), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(x + 8, 30);
    shackle.lineTo(x + 8, 20);
    shackle.arcTo(QRectF(x + 8, 8, 24, 24), 180, -180);
    shackle.lineTo(x + 32, 30);
    p.drawPath(shackle);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRoundedRect(QRectF(x, 28, 40, 30), 5, 5);
    p.drawEllipse(QPointF(x + 20, 42), 3, 3);

    QFont title = font();
    title.setPointSize(16);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    const QRect titleRect(16, 6, width() - 90, 34);
    p.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Corvalin"));
    const int titleWidth = QFontMetrics(title).horizontalAdvance(QStringLiteral("Corvalin"));

    QFont subtitle = font();
    subtitle.setPointSize(10);
    p.setFont(subtitle);
    p.setPen(QColor(0xd6, 0xe4, 0xff));
    p.drawText(QRect(16 + titleWidth + 12, 6, width() - titleWidth - 110, 34),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("家电销售 · 安装 · 维修服务管理"));
}
