#include "widgets/data_grid_services.h"

#include "data/data_services.h"
#include "data/grid_formats.h"
#include "data/grid_layout_store.h"
#include "data/login_state.h"
#include "data/messenger.h"
#include "widgets/data_grid.h"

namespace DataGridServices {

bool loadLayout(DataGrid& grid, Database& db, Messenger& messenger, const QString& key)
{
    const auto columns = GridLayoutStore::load(db, key);
    if (!columns) {
        messenger.error(DataServices::failureMessage());
        return false;
    }
    if (!columns->isEmpty())
        grid.setColumns(*columns);
    return true;
}

bool saveLayout(DataGrid& grid, Database& db, Messenger& messenger, const QString& key)
{
    if (!GridLayoutStore::save(db, key, grid.columns())) {
        messenger.error(DataServices::failureMessage());
        return false;
    }
    return true;
}

QString saveQuestion()
{
    return QStringLiteral("真的要保存当前网格设置吗？");
}

bool confirmAndSaveLayout(DataGrid& grid, Database& db, Messenger& messenger, const QString& key)
{
    if (messenger.show(saveQuestion(), Messenger::Question) != Messenger::Yes)
        return false;
    return saveLayout(grid, db, messenger, key);
}

void setColumnFormat(DataGrid& grid, const LoginState& login, const QString& fieldName, int kind)
{
    if (kind < GridFormats::Money || kind > GridFormats::Price)
        return;
    grid.setDisplayFormat(fieldName, GridFormats::format(login, kind));
}

void setGridFormats(DataGrid& grid, const LoginState& login, int gridKind)
{
    for (int position = 0; position < grid.gridColumnCount(); ++position) {
        GridColumn column = grid.gridColumn(position);
        const GridFormats::Kind kind = GridFormats::kindForField(column.fieldName, gridKind);
        if (kind == GridFormats::None)
            continue;
        column.displayFormat = GridFormats::format(login, kind);
        grid.setGridColumn(position, column);
    }
}

bool fillColumnPickList(DataGrid& grid, DataServices& services, const QString& sql,
                        const QVariantList& values, const QString& fieldName, QString* error)
{
    const auto list = services.pickListValues(sql, values, error);
    if (!list)
        return false;
    if (!list->isEmpty())
        grid.setPickList(fieldName, *list);
    return true;
}

} // namespace DataGridServices
