#pragma once

#include "data/grid_column.h"
#include "data/record_set.h"

#include <QAbstractProxyModel>
#include <QColor>
#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>

#include <functional>

// Shows the columns of a grid over any table model: column n is the source column whose
// field name (the source's horizontal header, compared without regard to case) is that of
// grid column n. Rows pass through one to one, so a lazily loaded source stays lazy. Cells
// take the column's display format, alignment and read-only flag and the row colours of the
// window's rule.
class GridColumnProxy : public QAbstractProxyModel {
    Q_OBJECT
public:
    enum class SortMarker { None, Ascending, Descending };
    // headerData role that carries a column's SortMarker as an int.
    static constexpr int SortMarkerRole = Qt::UserRole + 40;

    struct RowColours {
        QColor text; // invalid: the grid's own colour
        QColor background;
    };
    using RowColourRule = std::function<RowColours(int row)>;

    explicit GridColumnProxy(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* source) override;
    // The record set behind the grid, when the source is one.
    RecordSet* recordSet() const { return m_records; }
    // The source, or null once it is gone.
    QAbstractItemModel* liveSource() const { return m_sourceGone ? nullptr : sourceModel(); }

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }
    const GridColumn& column(int index) const { return m_columns.at(index); }
    // Changes a column's description without rebuilding the grid.
    void updateColumn(int index, const GridColumn& column);
    // Grid columns showing the field, in order.
    QList<int> columnsOfField(const QString& fieldName) const;
    // The source column behind a grid column; -1 when the source has no such field.
    int sourceColumn(int column) const;

    SortMarker sortMarker(int column) const;
    void setSortMarker(int column, SortMarker marker);
    void clearSortMarkers();

    void setRowColourRule(RowColourRule rule);
    void setEditable(bool editable);
    bool isEditable() const { return m_editable; }

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& idx) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void resolveColumns();
    void disconnectSource();
    RowColours coloursOf(int row) const;

    QList<GridColumn> m_columns;
    QList<int> m_sourceColumns;
    QList<SortMarker> m_markers;
    QPointer<RecordSet> m_records;
    // Set while the source is being destroyed: it must not be asked anything any more.
    bool m_sourceGone = false;
    RowColourRule m_rowColours;
    bool m_editable = false;
    QList<QMetaObject::Connection> m_sourceConnections;

    // Persistent indexes across a layout change of the source (a sort).
    QModelIndexList m_layoutProxy;
    QList<QPersistentModelIndex> m_layoutSource;

    // The rule's answer for the last row asked, as each cell asks for both colours.
    mutable int m_colourRow = -1;
    mutable RowColours m_colourCache;
};
