#include "widgets/data_grid_header.h"

#include "widgets/grid_column_proxy.h"

#include <QStyleOptionHeader>

DataGridHeader::DataGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    setSortIndicatorShown(false);
}

void DataGridHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    if (!model())
        return;
    const auto marker = GridColumnProxy::SortMarker(
        model()->headerData(logicalIndex, orientation(), GridColumnProxy::SortMarkerRole).toInt());
    // The styles draw SortDown as the arrow of an ascending order, as QHeaderView itself does.
    switch (marker) {
    case GridColumnProxy::SortMarker::Ascending:
        option->sortIndicator = QStyleOptionHeader::SortDown;
        break;
    case GridColumnProxy::SortMarker::Descending:
        option->sortIndicator = QStyleOptionHeader::SortUp;
        break;
    default:
        option->sortIndicator = QStyleOptionHeader::None;
        break;
    }
}
