#pragma once

#include <QString>
#include <QVariantList>

class Database;
class DataGrid;
class DataServices;
class Messenger;
struct LoginState;

// The grid operations every list window uses: layouts stored in cfg_Grid by grid key,
// number formats from the login, pick lists from a query.
namespace DataGridServices {

// Replaces the grid's columns by the layout stored under the key. Without stored rows the
// designed columns stay. A failed read is reported and leaves the columns as they were.
bool loadLayout(DataGrid& grid, Database& db, Messenger& messenger, const QString& key);
// Stores the grid's columns into the rows of the key; a column without a row, and so a key
// without rows, stores nothing. A failure is reported and nothing is stored.
bool saveLayout(DataGrid& grid, Database& db, Messenger& messenger, const QString& key);
// Asks "真的要保存当前网格设置吗？" and saves on yes; true when the layout was saved.
bool confirmAndSaveLayout(DataGrid& grid, Database& db, Messenger& messenger, const QString& key);
QString saveQuestion();

// Sets the login's money (1), quantity (2) or price (3) format on the column and footer of
// the field; a field the grid does not show is skipped.
void setColumnFormat(DataGrid& grid, const LoginState& login, const QString& fieldName, int kind);
// Sets the formats of a whole grid by its kind (1 goods and parts lines, 2 charges and
// repairs, 3 catalogue and stock), by the columns' field names.
void setGridFormats(DataGrid& grid, const LoginState& login, int gridKind);

// Gives every column of the field the first column of the query's rows as pick list. A query
// without rows changes nothing; a failure is left to the caller (false, error set).
bool fillColumnPickList(DataGrid& grid, DataServices& services, const QString& sql,
                        const QVariantList& values, const QString& fieldName, QString* error = nullptr);

} // namespace DataGridServices
