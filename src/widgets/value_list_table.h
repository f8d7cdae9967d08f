#pragma once

#include <QStringList>

class QTableWidget;

// The two-column value lists beside the list windows: row 0 "0 全部", then the values of the
// chosen list type numbered from 1.
namespace ValueListTable {
// Leaves only the row "全部", selected.
void reset(QTableWidget* table);
// Adds the values after the 全部 row.
void append(QTableWidget* table, const QStringList& values);
} // namespace ValueListTable
