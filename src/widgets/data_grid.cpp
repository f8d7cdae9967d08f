#include "widgets/data_grid.h"

#include "data/number_format.h"
#include "data/record_set.h"
#include "widgets/data_grid_delegate.h"
#include "widgets/data_grid_footer.h"
#include "widgets/data_grid_header.h"

#include <QGuiApplication>
#include <QScopeGuard>
#include <QScrollBar>

#include <algorithm>

namespace {

// Typing within this pause extends the text searched for; after it a new search starts.
constexpr int kSearchPauseMs = 1500;
constexpr int kDefaultWidth = 80;

bool isMemoField(const QString& fieldName)
{
    return fieldName.toLower().contains(QLatin1String("mem"));
}

} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent), m_proxy(new GridColumnProxy(this)), m_header(new DataGridHeader(this)),
      m_footer(nullptr)
{
    setHorizontalHeader(m_header);
    QTableView::setModel(m_proxy);
    m_footer = new DataGridFooter(
        m_header,
        [this](int logical) {
            DataGridFooter::Cell cell;
            if (logical < 0 || logical >= m_proxy->columnCount())
                return cell;
            const GridColumn& column = m_proxy->column(logical);
            cell.alignment = column.alignment == GridColumn::Alignment::Right    ? Qt::AlignRight
                             : column.alignment == GridColumn::Alignment::Centre ? Qt::AlignHCenter
                                                                                 : Qt::AlignLeft;
            if (column.footer == GridColumn::Footer::Text)
                cell.text = column.footerValue;
            else if (column.footer == GridColumn::Footer::Sum && m_proxy->sourceColumn(logical) >= 0)
                cell.text = NumberFormat::format(m_sums.value(logical), column.displayFormat);
            return cell;
        },
        this);
    m_footer->setObjectName(QStringLiteral("footer"));
    m_footer->hide();

    // Every row has the same height, so that a long list costs nothing to lay out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setItemDelegate(new DataGridDelegate(
        [this](int logical) {
            if (logical < 0 || logical >= m_proxy->columnCount())
                return QStringList();
            return m_pickLists.value(m_proxy->column(logical).fieldName.toLower());
        },
        this));

    connect(m_header, &QHeaderView::sectionClicked, this, &DataGrid::onTitleClicked);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_footer, qOverload<>(&QWidget::update));
    connect(m_proxy, &QAbstractItemModel::dataChanged, this, &DataGrid::invalidateSums);
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, &DataGrid::invalidateSums);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, &DataGrid::invalidateSums);
    connect(m_proxy, &QAbstractItemModel::modelReset, this, [this] {
        invalidateSums();
        syncMarkersWithRecordSet();
    });
}

DataGrid::~DataGrid() = default;

void DataGrid::setModel(QAbstractItemModel* model)
{
    if (model == m_proxy)
        QTableView::setModel(model);
    else
        setSourceModel(model);
}

void DataGrid::setSourceModel(QAbstractItemModel* model)
{
    if (m_currentConnection)
        disconnect(m_currentConnection);
    m_source = model;
    m_records = qobject_cast<RecordSet*>(model);
    m_proxy->setSourceModel(model);
    if (m_records)
        m_currentConnection =
            connect(m_records, &RecordSet::currentRowChanged, this, &DataGrid::followRecordSet);
    if (m_records && m_records->currentRow() >= 0)
        followRecordSet(m_records->currentRow());
}

QAbstractItemModel* DataGrid::sourceModel() const
{
    return m_source;
}

RecordSet* DataGrid::recordSet() const
{
    return m_records;
}

// --- columns

int DataGrid::logicalAt(int position) const
{
    if (position < 0 || position >= m_proxy->columnCount())
        return -1;
    return m_header->logicalIndex(position);
}

void DataGrid::setColumns(const QList<GridColumn>& columns)
{
    m_proxy->setColumns(columns);
    applyHeader();
}

void DataGrid::applyHeader()
{
    // The header keeps sizes and order across a reset of the same width; start from the columns.
    for (int logical = 0; logical < m_proxy->columnCount(); ++logical) {
        const int visual = m_header->visualIndex(logical);
        if (visual != logical)
            m_header->moveSection(visual, logical);
    }
    for (int logical = 0; logical < m_proxy->columnCount(); ++logical) {
        const GridColumn& column = m_proxy->column(logical);
        m_header->setSectionHidden(logical, false);
        m_header->resizeSection(logical, column.width > 0 ? column.width : kDefaultWidth);
        m_header->setSectionHidden(logical, !column.visible);
    }
    m_footer->setVisible(hasFooter());
    invalidateSums();
    updateGeometries();
    m_footer->update();
}

QList<GridColumn> DataGrid::columns() const
{
    QList<GridColumn> list;
    for (int position = 0; position < m_proxy->columnCount(); ++position)
        list << gridColumn(position);
    return list;
}

int DataGrid::gridColumnCount() const
{
    return m_proxy->columnCount();
}

GridColumn DataGrid::gridColumn(int position) const
{
    const int logical = logicalAt(position);
    if (logical < 0)
        return {};
    GridColumn column = m_proxy->column(logical);
    if (!m_header->isSectionHidden(logical))
        column.width = m_header->sectionSize(logical);
    return column;
}

void DataGrid::setGridColumn(int position, const GridColumn& column)
{
    const int logical = logicalAt(position);
    if (logical < 0)
        return;
    m_proxy->updateColumn(logical, column);
    m_header->setSectionHidden(logical, false);
    m_header->resizeSection(logical, column.width > 0 ? column.width : kDefaultWidth);
    m_header->setSectionHidden(logical, !column.visible);
    m_footer->setVisible(hasFooter());
    invalidateSums();
    updateGeometries();
    m_footer->update();
}

int DataGrid::positionOf(const QString& fieldName) const
{
    for (int position = 0; position < m_proxy->columnCount(); ++position) {
        if (m_proxy->column(logicalAt(position)).fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return position;
    }
    return -1;
}

QString DataGrid::fieldName(int position) const
{
    const int logical = logicalAt(position);
    return logical < 0 ? QString() : m_proxy->column(logical).fieldName;
}

void DataGrid::setColumnVisible(int position, bool visible)
{
    const int logical = logicalAt(position);
    if (logical < 0)
        return;
    GridColumn column = m_proxy->column(logical);
    if (!m_header->isSectionHidden(logical))
        column.width = m_header->sectionSize(logical);
    column.visible = visible;
    m_proxy->updateColumn(logical, column);
    m_header->setSectionHidden(logical, !visible);
    if (visible && m_header->sectionSize(logical) <= 0)
        m_header->resizeSection(logical, column.width > 0 ? column.width : kDefaultWidth);
    m_footer->update();
}

bool DataGrid::isColumnVisible(int position) const
{
    const int logical = logicalAt(position);
    return logical >= 0 && !m_header->isSectionHidden(logical);
}

bool DataGrid::setDisplayFormat(const QString& fieldName, const QString& format)
{
    const QList<int> found = m_proxy->columnsOfField(fieldName);
    for (int logical : found) {
        GridColumn column = m_proxy->column(logical);
        column.displayFormat = format;
        m_proxy->updateColumn(logical, column);
    }
    m_footer->update();
    return !found.isEmpty();
}

void DataGrid::setPickList(const QString& fieldName, const QStringList& values)
{
    m_pickLists.insert(fieldName.toLower(), values);
}

QStringList DataGrid::pickList(const QString& fieldName) const
{
    return m_pickLists.value(fieldName.toLower());
}

// --- footer

bool DataGrid::hasFooter() const
{
    return std::any_of(m_proxy->columns().cbegin(), m_proxy->columns().cend(),
                       [](const GridColumn& c) { return c.footer != GridColumn::Footer::None; });
}

bool DataGrid::hasSums() const
{
    return std::any_of(m_proxy->columns().cbegin(), m_proxy->columns().cend(),
                       [](const GridColumn& c) { return c.footer == GridColumn::Footer::Sum; });
}

QString DataGrid::footerText(int position)
{
    const int logical = logicalAt(position);
    if (logical < 0)
        return {};
    refreshSums();
    const GridColumn& column = m_proxy->column(logical);
    switch (column.footer) {
    case GridColumn::Footer::Text:
        return column.footerValue;
    case GridColumn::Footer::Sum:
        return m_proxy->sourceColumn(logical) < 0
                   ? QString()
                   : NumberFormat::format(m_sums.value(logical), column.displayFormat);
    default:
        return {};
    }
}

void DataGrid::invalidateSums()
{
    m_sumsDirty = true;
    if (!hasSums() || m_sumsScheduled)
        return;
    // Edits and chunks come in bursts; the sums are counted once after them.
    m_sumsScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_sumsScheduled = false;
            refreshSums();
            m_footer->update();
        },
        Qt::QueuedConnection);
}

void DataGrid::refreshSums()
{
    if (!m_sumsDirty)
        return;
    const int columnCount = m_proxy->columnCount();
    m_sums = QList<double>(columnCount, 0.0);
    if (!hasSums() || !m_source) {
        m_sumsDirty = false;
        return;
    }
    // A sum is over the whole record set, not only the rows read so far.
    if (m_records) {
        m_records->fetchAll();
    } else {
        while (m_source->canFetchMore(QModelIndex())) {
            const int before = m_source->rowCount();
            m_source->fetchMore(QModelIndex());
            if (m_source->rowCount() == before)
                break;
        }
    }
    m_sumsDirty = false;
    const int rows = m_source->rowCount();
    for (int logical = 0; logical < columnCount; ++logical) {
        const int sourceColumn = m_proxy->sourceColumn(logical);
        if (m_proxy->column(logical).footer != GridColumn::Footer::Sum || sourceColumn < 0)
            continue;
        double sum = 0;
        for (int row = 0; row < rows; ++row) {
            const QVariant value = m_records ? m_records->value(row, sourceColumn)
                                             : m_source->index(row, sourceColumn).data(Qt::EditRole);
            bool ok = false;
            const double number = value.toDouble(&ok);
            if (ok && !value.isNull())
                sum += number;
        }
        m_sums[logical] = sum;
    }
}

// --- behaviour

void DataGrid::setRowColourRule(RowColourRule rule)
{
    m_proxy->setRowColourRule(std::move(rule));
}

void DataGrid::setEditable(bool editable)
{
    m_proxy->setEditable(editable);
    setEditTriggers(editable ? EditTriggers(DoubleClicked | SelectedClicked | EditKeyPressed | AnyKeyPressed)
                             : NoEditTriggers);
}

bool DataGrid::isEditable() const
{
    return m_proxy->isEditable();
}

void DataGrid::setMultiSelect(bool multi)
{
    setSelectionMode(multi ? ExtendedSelection : SingleSelection);
}

bool DataGrid::isMultiSelect() const
{
    return selectionMode() == ExtendedSelection;
}

QList<int> DataGrid::selectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int DataGrid::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.row() == previous.row())
        return;
    if (m_records && !m_syncingCurrent && current.isValid() && m_records->currentRow() != current.row()) {
        m_syncingCurrent = true;
        m_records->setCurrentRow(current.row());
        m_syncingCurrent = false;
    }
    Q_EMIT currentRowChanged(current.isValid() ? current.row() : -1);
}

void DataGrid::followRecordSet(int row)
{
    if (m_syncingCurrent || row < 0 || row >= m_proxy->rowCount() || currentRow() == row)
        return;
    int column = currentIndex().isValid() ? currentIndex().column() : -1;
    for (int position = 0; column < 0 && position < m_proxy->columnCount(); ++position) {
        if (isColumnVisible(position))
            column = logicalAt(position);
    }
    if (column < 0)
        return;
    m_syncingCurrent = true;
    setCurrentIndex(m_proxy->index(row, column));
    m_syncingCurrent = false;
}

// --- sorting

DataGrid::SortMarker DataGrid::sortMarker(int position) const
{
    return m_proxy->sortMarker(logicalAt(position));
}

void DataGrid::setSortMarker(int position, SortMarker marker)
{
    m_proxy->setSortMarker(logicalAt(position), marker);
}

void DataGrid::onTitleClicked(int logical)
{
    if (logical < 0 || logical >= m_proxy->columnCount())
        return;
    const QString field = m_proxy->column(logical).fieldName;
    Q_EMIT titleClicked(m_header->visualIndex(logical), field);
    if (!m_titleSorting || !m_source || (m_records && !m_records->isOpen()))
        return;
    const bool ascending = m_proxy->sortMarker(logical) != SortMarker::Ascending;
    m_proxy->setSortMarker(logical, ascending ? SortMarker::Ascending : SortMarker::Descending);
    // Memo fields sort nothing; nor does a column the query lacks (it would only drop the order).
    if (isMemoField(field) || m_proxy->sourceColumn(logical) < 0)
        return;
    // The sort is by the clicked column alone, as the title's sort text names only that field.
    // A long list must first be read whole, which takes a moment: say so with the cursor.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    if (m_records) {
        m_records->setSort({{field, ascending}});
    } else if (const int sourceColumn = m_proxy->sourceColumn(logical); sourceColumn >= 0) {
        m_source->sort(sourceColumn, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
}

void DataGrid::applySortText(const QString& text)
{
    const QList<RecordSet::SortKey> keys = RecordSet::parseSortText(text);
    if (m_records) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_records->setSort(keys);
        QGuiApplication::restoreOverrideCursor();
    }
    m_proxy->clearSortMarkers();
    for (const RecordSet::SortKey& key : keys) {
        const QList<int> columns = m_proxy->columnsOfField(key.field);
        if (!columns.isEmpty())
            m_proxy->setSortMarker(columns.first(),
                                   key.ascending ? SortMarker::Ascending : SortMarker::Descending);
    }
}

void DataGrid::syncMarkersWithRecordSet()
{
    // A new query starts unsorted; a re-query keeps its order, and the markers say which.
    if (!m_records)
        return;
    m_proxy->clearSortMarkers();
    for (const RecordSet::SortKey& key : m_records->sortKeys()) {
        const QList<int> columns = m_proxy->columnsOfField(key.field);
        if (!columns.isEmpty())
            m_proxy->setSortMarker(columns.first(),
                                   key.ascending ? SortMarker::Ascending : SortMarker::Descending);
    }
}

// --- incremental search

void DataGrid::keyboardSearch(const QString& search)
{
    if (search.isEmpty() || !search.at(0).isPrint()) {
        m_searchText.clear();
        return;
    }
    if (!m_searchClock.isValid() || m_searchClock.elapsed() > kSearchPauseMs)
        m_searchText.clear();
    m_searchClock.start();
    int column = currentIndex().isValid() ? currentIndex().column() : -1;
    for (int position = 0; column < 0 && position < m_proxy->columnCount(); ++position) {
        if (isColumnVisible(position))
            column = logicalAt(position);
    }
    if (column < 0)
        return;
    const QString wanted = m_searchText + search;
    const int row = findRowStartingWith(column, wanted);
    // Without a match the text typed so far stays, so the next key refines the last match.
    if (row < 0)
        return;
    m_searchText = wanted;
    const QModelIndex found = m_proxy->index(row, column);
    setCurrentIndex(found);
    scrollTo(found);
}

int DataGrid::findRowStartingWith(int column, const QString& prefix)
{
    int row = 0;
    while (true) {
        const int rows = m_proxy->rowCount();
        for (; row < rows; ++row) {
            if (m_proxy->index(row, column).data().toString().startsWith(prefix, Qt::CaseInsensitive))
                return row;
        }
        if (!m_proxy->canFetchMore(QModelIndex()))
            return -1;
        m_proxy->fetchMore(QModelIndex());
        if (m_proxy->rowCount() == rows)
            return -1;
    }
}

// --- geometry

void DataGrid::updateGeometries()
{
    // Changing the margins below resizes the viewport, which lands here again.
    if (m_inGeometries)
        return;
    m_inGeometries = true;
    QTableView::updateGeometries();
    if (m_footer && !m_footer->isHidden()) {
        const int height = m_footer->sizeHint().height();
        const QMargins margins = viewportMargins();
        setViewportMargins(margins.left(), margins.top(), margins.right(), height);
        // The base class measured the scroll range against the taller viewport.
        QScrollBar* bar = verticalScrollBar();
        bar->setPageStep(viewport()->height());
        bar->setRange(0, qMax(0, verticalHeader()->length() - viewport()->height()));
        const QRect area = viewport()->geometry();
        m_footer->setGeometry(area.left(), area.bottom() + 1, area.width(), height);
        m_footer->raise();
    }
    m_inGeometries = false;
}
