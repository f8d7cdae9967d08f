#include "app/splash_window.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TfrmSplash"));
    setFixedSize(470, 294);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblProgress"));
    m_label->setGeometry(24, 252, 420, 24);
    m_label->setStyleSheet(QStringLiteral("color: #e8f0ff; font-size: 13px;"));
    m_label->setText(QStringLiteral("系统正在启动，请稍候 ....."));
    if (QScreen* screen = QApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void SplashWindow::setMessage(const QString& text)
{
    m_label->setText(text);
    m_label->repaint();
    repaint();
}

QString SplashWindow::message() const
{
    return m_label->text();
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(0x1f, 0x4e, 0x8c));
    sky.setColorAt(1.0, QColor(0x0b, 0x24, 0x4a));
    p.fillRect(rect(), sky);

    // A stylised washing machine and a wrench: the shop sells, installs and repairs appliances.
    p.setPen(QPen(QColor(255, 255, 255, 200), 3));
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawRoundedRect(QRect(340, 40, 96, 112), 10, 10);
    p.drawEllipse(QPoint(388, 104), 30, 30);
    p.drawLine(352, 58, 372, 58);

    QFont title = font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(30, 50, 300, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Corvalin"));

    QFont subtitle = font();
    subtitle.setPointSize(14);
    p.setFont(subtitle);
    p.setPen(QColor(0xd6, 0xe4, 0xff));
    p.drawText(QRect(32, 112, 320, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("家电销售 · 安装 · 维修服务管理"));

    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(30, 236, 440, 236);
}
