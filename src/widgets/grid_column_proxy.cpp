#include "widgets/grid_column_proxy.h"

#include "data/number_format.h"
#include "data/record_set.h"
#include "data/sql_value.h"

#include <QBrush>

namespace {

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

Qt::Alignment cellAlignment(GridColumn::Alignment alignment)
{
    switch (alignment) {
    case GridColumn::Alignment::Centre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case GridColumn::Alignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

GridColumnProxy::GridColumnProxy(QObject* parent) : QAbstractProxyModel(parent) {}

void GridColumnProxy::disconnectSource()
{
    for (const auto& connection : std::as_const(m_sourceConnections))
        disconnect(connection);
    m_sourceConnections.clear();
}

void GridColumnProxy::setSourceModel(QAbstractItemModel* source)
{
    beginResetModel();
    disconnectSource();
    QAbstractProxyModel::setSourceModel(source);
    m_records = qobject_cast<RecordSet*>(source);
    m_sourceGone = false;
    m_colourRow = -1;
    if (source) {
        auto& c = m_sourceConnections;
        // A window may destroy its record set before its grid; from then on the grid is empty.
        c << connect(source, &QObject::destroyed, this, [this] {
            beginResetModel();
            m_sourceGone = true;
            m_records = nullptr;
            m_sourceColumns.fill(-1);
            endResetModel();
        });
        c << connect(source, &QAbstractItemModel::dataChanged, this,
                     [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                         if (!topLeft.isValid() || m_columns.isEmpty())
                             return;
                         m_colourRow = -1;
                         // A change in one field may change the colour of the whole row.
                         Q_EMIT dataChanged(index(topLeft.row(), 0),
                                            index(bottomRight.row(), int(m_columns.size()) - 1));
                     });
        c << connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
                     [this](const QModelIndex& parent, int first, int last) {
                         if (!parent.isValid())
                             beginInsertRows(QModelIndex(), first, last);
                     });
        c << connect(source, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
            if (!parent.isValid()) {
                m_colourRow = -1;
                endInsertRows();
            }
        });
        c << connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                     [this](const QModelIndex& parent, int first, int last) {
                         if (!parent.isValid())
                             beginRemoveRows(QModelIndex(), first, last);
                     });
        c << connect(source, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex& parent) {
            if (!parent.isValid()) {
                m_colourRow = -1;
                endRemoveRows();
            }
        });
        c << connect(source, &QAbstractItemModel::rowsAboutToBeMoved, this,
                     [this](const QModelIndex& from, int first, int last, const QModelIndex& to, int row) {
                         if (!from.isValid() && !to.isValid())
                             beginMoveRows(QModelIndex(), first, last, QModelIndex(), row);
                     });
        c << connect(source, &QAbstractItemModel::rowsMoved, this,
                     [this](const QModelIndex& from, int, int, const QModelIndex& to) {
                         if (!from.isValid() && !to.isValid()) {
                             m_colourRow = -1;
                             endMoveRows();
                         }
                     });
        const auto aboutToReset = [this] { beginResetModel(); };
        const auto reset = [this] {
            m_colourRow = -1;
            resolveColumns();
            endResetModel();
        };
        c << connect(source, &QAbstractItemModel::modelAboutToBeReset, this, aboutToReset);
        c << connect(source, &QAbstractItemModel::modelReset, this, reset);
        // The source's columns decide which grid column shows what: a change there is a reset here.
        c << connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this, aboutToReset);
        c << connect(source, &QAbstractItemModel::columnsInserted, this, reset);
        c << connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this, aboutToReset);
        c << connect(source, &QAbstractItemModel::columnsRemoved, this, reset);
        c << connect(source, &QAbstractItemModel::columnsAboutToBeMoved, this, aboutToReset);
        c << connect(source, &QAbstractItemModel::columnsMoved, this, reset);
        c << connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
                     [this](const QList<QPersistentModelIndex>&, QAbstractItemModel::LayoutChangeHint hint) {
                         Q_EMIT layoutAboutToBeChanged({}, hint);
                         m_layoutProxy = persistentIndexList();
                         m_layoutSource.clear();
                         m_layoutSource.reserve(m_layoutProxy.size());
                         for (const QModelIndex& proxy : std::as_const(m_layoutProxy))
                             m_layoutSource << QPersistentModelIndex(sourceModel()->index(proxy.row(), 0));
                     });
        c << connect(source, &QAbstractItemModel::layoutChanged, this,
                     [this](const QList<QPersistentModelIndex>&, QAbstractItemModel::LayoutChangeHint hint) {
                         QModelIndexList moved;
                         moved.reserve(m_layoutProxy.size());
                         for (int i = 0; i < m_layoutProxy.size(); ++i) {
                             const QPersistentModelIndex& source = m_layoutSource.at(i);
                             moved << (source.isValid() ? index(source.row(), m_layoutProxy.at(i).column())
                                                        : QModelIndex());
                         }
                         changePersistentIndexList(m_layoutProxy, moved);
                         m_layoutProxy.clear();
                         m_layoutSource.clear();
                         m_colourRow = -1;
                         Q_EMIT layoutChanged({}, hint);
                     });
    }
    resolveColumns();
    endResetModel();
}

void GridColumnProxy::resolveColumns()
{
    QAbstractItemModel* source = liveSource();
    m_sourceColumns.clear();
    for (const GridColumn& column : std::as_const(m_columns)) {
        int found = -1;
        if (m_records) {
            found = m_records->fieldIndex(column.fieldName);
        } else if (source) {
            for (int c = 0; c < source->columnCount(); ++c) {
                if (source->headerData(c, Qt::Horizontal)
                        .toString()
                        .compare(column.fieldName, Qt::CaseInsensitive) == 0) {
                    found = c;
                    break;
                }
            }
        }
        m_sourceColumns << found;
    }
}

void GridColumnProxy::setColumns(const QList<GridColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    m_markers = QList<SortMarker>(columns.size(), SortMarker::None);
    resolveColumns();
    endResetModel();
}

void GridColumnProxy::updateColumn(int column, const GridColumn& description)
{
    if (column < 0 || column >= m_columns.size())
        return;
    const bool refield =
        m_columns.at(column).fieldName.compare(description.fieldName, Qt::CaseInsensitive) != 0;
    m_columns[column] = description;
    if (refield)
        resolveColumns();
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    const int rows = rowCount();
    if (rows > 0)
        Q_EMIT dataChanged(index(0, column), index(rows - 1, column));
}

QList<int> GridColumnProxy::columnsOfField(const QString& fieldName) const
{
    QList<int> found;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            found << i;
    }
    return found;
}

int GridColumnProxy::sourceColumn(int column) const
{
    return m_sourceColumns.value(column, -1);
}

GridColumnProxy::SortMarker GridColumnProxy::sortMarker(int column) const
{
    return m_markers.value(column, SortMarker::None);
}

void GridColumnProxy::setSortMarker(int column, SortMarker marker)
{
    if (column < 0 || column >= m_markers.size() || m_markers.at(column) == marker)
        return;
    m_markers[column] = marker;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void GridColumnProxy::clearSortMarkers()
{
    for (int i = 0; i < m_markers.size(); ++i)
        setSortMarker(i, SortMarker::None);
}

void GridColumnProxy::setRowColourRule(RowColourRule rule)
{
    m_rowColours = std::move(rule);
    m_colourRow = -1;
    const int rows = rowCount();
    if (rows > 0 && !m_columns.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, int(m_columns.size()) - 1));
}

void GridColumnProxy::setEditable(bool editable)
{
    m_editable = editable;
}

QModelIndex GridColumnProxy::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= m_columns.size())
        return {};
    return createIndex(row, column);
}

QModelIndex GridColumnProxy::parent(const QModelIndex&) const
{
    return {};
}

QModelIndex GridColumnProxy::sibling(int row, int column, const QModelIndex&) const
{
    return index(row, column);
}

int GridColumnProxy::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !liveSource() ? 0 : liveSource()->rowCount();
}

int GridColumnProxy::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

bool GridColumnProxy::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() && rowCount() > 0 && !m_columns.isEmpty();
}

QModelIndex GridColumnProxy::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || !liveSource())
        return {};
    const int column = sourceColumn(proxyIndex.column());
    return column < 0 ? QModelIndex() : sourceModel()->index(proxyIndex.row(), column);
}

QModelIndex GridColumnProxy::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    const int column = int(m_sourceColumns.indexOf(sourceIndex.column()));
    return column < 0 ? QModelIndex() : index(sourceIndex.row(), column);
}

GridColumnProxy::RowColours GridColumnProxy::coloursOf(int row) const
{
    if (row != m_colourRow) {
        m_colourCache = m_rowColours(row);
        m_colourRow = row;
    }
    return m_colourCache;
}

QVariant GridColumnProxy::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return {};
    const GridColumn& column = m_columns.at(index.column());
    switch (role) {
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cellAlignment(column.alignment));
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        if (!m_rowColours)
            break;
        const RowColours colours = coloursOf(index.row());
        const QColor& colour = role == Qt::ForegroundRole ? colours.text : colours.background;
        if (colour.isValid())
            return QBrush(colour);
        break;
    }
    default:
        break;
    }
    const QModelIndex source = mapToSource(index);
    if (!source.isValid())
        return {};
    if (role == Qt::DisplayRole) {
        const QVariant value = sourceModel()->data(source, Qt::EditRole);
        if (value.isNull())
            return sourceModel()->data(source, role);
        if (isNumber(value) && !column.displayFormat.trimmed().isEmpty())
            return NumberFormat::format(value.toDouble(), column.displayFormat);
        if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
            return SqlDates::display(value);
    }
    return sourceModel()->data(source, role);
}

QVariant GridColumnProxy::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= m_columns.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_columns.at(section).title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case SortMarkerRole:
        return int(m_markers.value(section, SortMarker::None));
    default:
        return {};
    }
}

Qt::ItemFlags GridColumnProxy::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const QModelIndex source = mapToSource(index);
    Qt::ItemFlags flags =
        source.isValid() ? sourceModel()->flags(source) : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_editable || m_columns.at(index.column()).readOnly)
        flags &= ~(Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    return flags;
}
