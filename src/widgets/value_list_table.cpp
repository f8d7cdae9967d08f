#include "widgets/value_list_table.h"

#include <QTableWidget>

namespace ValueListTable {

namespace {
QTableWidgetItem* numberItem(int number)
{
    auto* item = new QTableWidgetItem(QString::number(number));
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}
} // namespace

void reset(QTableWidget* table)
{
    table->setRowCount(0);
    table->setRowCount(1);
    table->setItem(0, 0, numberItem(0));
    table->setItem(0, 1, new QTableWidgetItem(QStringLiteral("全部")));
    table->setCurrentCell(0, 1);
}

void append(QTableWidget* table, const QStringList& values)
{
    const int first = table->rowCount();
    table->setRowCount(first + int(values.size()));
    for (int i = 0; i < values.size(); ++i) {
        table->setItem(first + i, 0, numberItem(first + i));
        table->setItem(first + i, 1, new QTableWidgetItem(values.at(i)));
    }
}

} // namespace ValueListTable
