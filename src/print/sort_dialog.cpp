#include "print/sort_dialog.h"

#include "print/sort_direction_delegate.h"
#include "ui_sort_dialog.h"
#include "widgets/data_grid.h"

#include <QHeaderView>

namespace {

constexpr int kTitleColumn = 0;
constexpr int kDirectionColumn = SortDirectionDelegate::DirectionColumn;

} // namespace

SortDialog::SortDialog(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::SortDialog>())
{
    m_ui->setupUi(this);
    QTreeWidget* list = m_ui->lstSort;
    list->setItemDelegate(new SortDirectionDelegate(list));
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(kTitleColumn, 150);
    list->setColumnWidth(kDirectionColumn, 159);
    // A double-click switches the direction, so editing starts on a click of the selected cell.
    list->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    list->setDragDropMode(QAbstractItemView::InternalMove);
    list->setDefaultDropAction(Qt::MoveAction);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Rows are moved between rows, never dropped onto one (which would make it a child).
    list->invisibleRootItem()->setFlags(list->invisibleRootItem()->flags() | Qt::ItemIsDropEnabled);

    connect(list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { cycleDirection(item); });
    connect(m_ui->btnUp, &QPushButton::clicked, this, [this] { moveCurrent(-1); });
    connect(m_ui->btnDown, &QPushButton::clicked, this, [this] { moveCurrent(1); });
    connect(m_ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

SortDialog::~SortDialog() = default;

void SortDialog::setColumns(const QList<QPair<QString, QString>>& columns)
{
    m_columns = columns;
    QTreeWidget* list = m_ui->lstSort;
    list->clear();
    for (const auto& column : columns) {
        auto* item = new QTreeWidgetItem(list, {column.second, QString()});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    }
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
}

void SortDialog::cycleDirection(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QString direction = item->text(kDirectionColumn);
    if (direction.isEmpty())
        item->setText(kDirectionColumn, QStringLiteral("升序"));
    else if (direction == QStringLiteral("升序"))
        item->setText(kDirectionColumn, QStringLiteral("降序"));
    else
        item->setText(kDirectionColumn, QString());
}

void SortDialog::moveCurrent(int by)
{
    QTreeWidget* list = m_ui->lstSort;
    QTreeWidgetItem* item = list->currentItem();
    if (!item)
        return;
    const int row = list->indexOfTopLevelItem(item);
    const int target = row + by;
    if (row < 0 || target < 0 || target >= list->topLevelItemCount())
        return;
    list->takeTopLevelItem(row);
    list->insertTopLevelItem(target, item);
    list->setCurrentItem(item);
}

QString SortDialog::sortText() const
{
    QString text;
    const QTreeWidget* list = m_ui->lstSort;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        const QString direction = item->text(kDirectionColumn);
        QString suffix;
        if (direction == QStringLiteral("升序"))
            suffix = QStringLiteral(" ASC");
        else if (direction == QStringLiteral("降序"))
            suffix = QStringLiteral(" DESC");
        else
            continue;
        const QString title = item->text(kTitleColumn);
        for (const auto& column : m_columns) {
            if (column.second == title) {
                text += column.first.toLower() + suffix + QLatin1Char(',');
                break;
            }
        }
    }
    return text;
}

QString SortDialog::sortGrid(DataGrid& grid, QWidget* parent)
{
    QList<QPair<QString, QString>> columns;
    for (int position = 0; position < grid.gridColumnCount(); ++position) {
        const GridColumn column = grid.gridColumn(position);
        columns.append({column.fieldName, column.title});
    }
    SortDialog dialog(parent ? parent : grid.window());
    dialog.setColumns(columns);
    const QString text = dialog.exec() == QDialog::Accepted ? dialog.sortText() : QString();
    grid.applySortText(text);
    return text;
}
