#pragma once

#include "data/grid_column.h"
#include "widgets/grid_column_proxy.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QTableView>

class DataGridFooter;
class DataGridHeader;
class RecordSet;

// The list of every window: the rows of a record set (or of any table model whose horizontal
// header names its fields) in columns chosen by field name, with titles, widths, visibility,
// read-only flags, number formats and alignment; one footer row with static text or the sum
// of a column over all rows; pick lists; row colours by the window's rule; whole-row
// selection; incremental search by typing; a sort marker per column title.
//
// Positions count the columns in the order they are shown, hidden ones included. The grid
// draws only what is on screen and reads a lazy record set only as far as it is scrolled,
// except that a sum footer reads all of it.
//
// Clicking a title sorts the record set in memory by that column alone, ascending on the
// first click and when the title showed descending, descending when it showed ascending; the
// markers of other columns stay as they are. Columns whose field name contains "mem" (memo
// fields) only change their marker. Nothing happens while the record set is closed.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    using SortMarker = GridColumnProxy::SortMarker;
    using RowColours = GridColumnProxy::RowColours;
    using RowColourRule = GridColumnProxy::RowColourRule;

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // --- rows
    void setSourceModel(QAbstractItemModel* model);
    QAbstractItemModel* sourceModel() const;
    // The source when it is a record set, otherwise null.
    RecordSet* recordSet() const;
    // Sets the source: the grid's own column model always sits between the view and the rows.
    void setModel(QAbstractItemModel* model) override;

    // --- columns
    // The designed columns; they stay until a stored layout replaces them.
    void setColumns(const QList<GridColumn>& columns);
    // The columns as they are now: in position order, with the widths the user gave them.
    QList<GridColumn> columns() const;
    int gridColumnCount() const;
    GridColumn gridColumn(int position) const;
    void setGridColumn(int position, const GridColumn& column);
    // Position of the first column showing the field; -1 when none does.
    int positionOf(const QString& fieldName) const;
    QString fieldName(int position) const;
    void setColumnVisible(int position, bool visible);
    bool isColumnVisible(int position) const;
    // Column and footer format of every column showing the field; false when there is none.
    bool setDisplayFormat(const QString& fieldName, const QString& format);
    // Values offered by the cell editor of every column showing the field.
    void setPickList(const QString& fieldName, const QStringList& values);
    QStringList pickList(const QString& fieldName) const;

    // --- footer row (shown when any column has a footer)
    bool hasFooter() const;
    // The footer text under a column, sums brought up to date first.
    QString footerText(int position);
    DataGridFooter* footerRow() const { return m_footer; }

    // --- behaviour
    void setRowColourRule(RowColourRule rule);
    void setEditable(bool editable);
    bool isEditable() const;
    void setMultiSelect(bool multi);
    bool isMultiSelect() const;
    // Selected rows in ascending order.
    QList<int> selectedRows() const;
    int currentRow() const;

    // --- sorting
    void setTitleSorting(bool enabled) { m_titleSorting = enabled; }
    bool titleSorting() const { return m_titleSorting; }
    SortMarker sortMarker(int position) const;
    void setSortMarker(int position, SortMarker marker);
    // A sort text "f_x ASC,f_y DESC," applied to the record set in memory, the markers set to
    // match; an empty text restores the query's order.
    void applySortText(const QString& text);

Q_SIGNALS:
    void titleClicked(int position, const QString& fieldName);
    void currentRowChanged(int row);

protected:
    void updateGeometries() override;
    void keyboardSearch(const QString& search) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    int logicalAt(int position) const;
    void applyHeader();
    void onTitleClicked(int logical);
    void syncMarkersWithRecordSet();
    void followRecordSet(int row);
    bool hasSums() const;
    void invalidateSums();
    void refreshSums();
    int findRowStartingWith(int column, const QString& prefix);

    GridColumnProxy* m_proxy;
    DataGridHeader* m_header;
    DataGridFooter* m_footer;
    QPointer<QAbstractItemModel> m_source;
    QPointer<RecordSet> m_records;
    QMetaObject::Connection m_currentConnection;
    QHash<QString, QStringList> m_pickLists; // by lower-case field name
    QList<double> m_sums;                    // by column
    bool m_sumsDirty = true;
    bool m_sumsScheduled = false;
    bool m_titleSorting = true;
    bool m_syncingCurrent = false;
    bool m_inGeometries = false;
    QString m_searchText;
    QElapsedTimer m_searchClock;
};
