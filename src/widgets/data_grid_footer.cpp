#include "widgets/data_grid_footer.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyle>

DataGridFooter::DataGridFooter(QHeaderView* header, CellSource cells, QWidget* parent)
    : QWidget(parent), m_header(header), m_cells(std::move(cells))
{
    setAutoFillBackground(false);
    connect(header, &QHeaderView::sectionResized, this, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::sectionMoved, this, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::geometriesChanged, this, qOverload<>(&QWidget::update));
    connect(header, &QHeaderView::sectionCountChanged, this, qOverload<>(&QWidget::update));
}

QSize DataGridFooter::sizeHint() const
{
    return {100, fontMetrics().height() + 8};
}

void DataGridFooter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Button));
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawLine(0, 0, width(), 0);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 2;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (m_header->isSectionHidden(logical))
            continue;
        const int x = m_header->sectionViewportPosition(logical);
        const int w = m_header->sectionSize(logical);
        if (x + w < 0 || x > width())
            continue;
        const QRect cell(x, 1, w, height() - 1);
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
        const Cell content = m_cells(logical);
        if (content.text.isEmpty())
            continue;
        const QRect textRect = cell.adjusted(margin, 0, -margin - 1, 0);
        painter.setPen(pal.color(QPalette::ButtonText));
        const QString shown = fontMetrics().elidedText(content.text, Qt::ElideRight, textRect.width());
        painter.drawText(textRect, int(content.alignment | Qt::AlignVCenter), shown);
    }
}
