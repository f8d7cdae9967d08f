#include "app/about_dialog.h"

#include "ui_about_dialog.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace {

// The emblem of the splash window in small: an appliance and the program's colours.
QPixmap emblem()
{
    QPixmap pixmap(96, 96);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 96);
    sky.setColorAt(0.0, QColor(0x1f, 0x4e, 0x8c));
    sky.setColorAt(1.0, QColor(0x0b, 0x24, 0x4a));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0, 0, 96, 96), 16, 16);
    p.setPen(QPen(QColor(255, 255, 255, 220), 3));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(24, 16, 48, 62), 6, 6);
    p.drawEllipse(QPointF(48, 52), 15, 15);
    p.drawLine(QPointF(31, 26), QPointF(42, 26));
    return pixmap;
}

} // namespace

AboutDialog::AboutDialog(const QString& version, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::AboutDialog>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("TfrmAboutInfo"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_ui->lblEmblem->setPixmap(emblem());
    m_ui->lblVersion->setText(QStringLiteral("版本 v%1（企业版）").arg(version));
    m_ui->lblQt->setText(
        QStringLiteral("基于 Qt %1 · 数据库 SQLite / PostgreSQL").arg(QLatin1String(qVersion())));
    connect(m_ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

AboutDialog::~AboutDialog() = default;
