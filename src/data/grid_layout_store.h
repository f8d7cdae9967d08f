#pragma once

#include "data/grid_column.h"

#include <QList>
#include <QString>

#include <optional>

class Database;

// Column layouts of the grids, one cfg_Grid row per column under a grid key. Keys compare
// without regard to letter case, as the table's text columns do.
namespace GridLayoutStore {

// The stored columns of the key in their order, rows without a field name left out. An empty
// list means there is no stored layout and the grid keeps its designed columns; nothing means
// the read failed (see error).
std::optional<QList<GridColumn>> load(Database& db, const QString& key, QString* error = nullptr);

// Writes each column's settings and position (counted from 0) into the row of its field under
// the key. Only existing rows change: a column without a row is not stored, so a key without
// rows stores nothing. All rows or none, in one transaction unless the caller has one open.
bool save(Database& db, const QString& key, const QList<GridColumn>& columns, QString* error = nullptr);

} // namespace GridLayoutStore
