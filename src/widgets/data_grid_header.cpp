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
    // An upward arrow for ascending, as Windows lists show it (Qt's own header shows the reverse).
    switch (marker) {
    case GridColumnProxy::SortMarker::Ascending:
        option->sortIndicator = QStyleOptionHeader::SortUp;
        break;
    case GridColumnProxy::SortMarker::Descending:
        option->sortIndicator = QStyleOptionHeader::SortDown;
        break;
    default:
        option->sortIndicator = QStyleOptionHeader::None;
        break;
    }
}
