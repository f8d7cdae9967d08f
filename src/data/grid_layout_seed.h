#pragma once

#include "data/grid_column.h"

#include <QList>
#include <QString>

class Database;

// Designed columns of the grids, stored in cfg_Grid so that a layout can be saved under
// each grid key. A grid adds its columns to the table in grid_layout_seed.cpp.
namespace GridLayoutSeed {
bool insertAll(Database& db, QString* error);
// Inserts the designed columns of one key; used by upgrade steps that bring a new grid.
bool insertKey(Database& db, const QString& key, QString* error);
// The designed columns of a key, as a window sets them up before it loads the stored layout.
QList<GridColumn> designedColumns(const QString& key);
} // namespace GridLayoutSeed
