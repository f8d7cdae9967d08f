#include "data/grid_layout_store.h"

#include "data/database.h"

#include <QSqlQuery>

namespace {

// A missing value keeps the column's default rather than turning into 0 (a hidden column of
// no width).
int intOr(const QVariant& value, int fallback)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    return value.isNull() || !ok ? fallback : number;
}

GridColumn::Footer footerFromCode(int code)
{
    switch (code) {
    case 1:
        return GridColumn::Footer::Text;
    case 2:
        return GridColumn::Footer::Sum;
    default:
        return GridColumn::Footer::None;
    }
}

GridColumn::Alignment alignmentFromCode(int code)
{
    switch (code) {
    case 1:
        return GridColumn::Alignment::Centre;
    case 2:
        return GridColumn::Alignment::Right;
    default:
        return GridColumn::Alignment::Left;
    }
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

namespace GridLayoutStore {

std::optional<QList<GridColumn>> load(Database& db, const QString& key, QString* error)
{
    auto query = db.exec(QStringLiteral("SELECT F_FieldName, F_Caption, F_Width, F_Visible, F_ReadOnly, "
                                        "F_DisplayFormat, F_FooterValue, F_FooterType, F_Alignment "
                                        "FROM cfg_Grid WHERE F_name = ? AND F_FieldName <> '' "
                                        "ORDER BY F_Order, F_ID"),
                         {key});
    if (!query) {
        setError(error, db.lastError());
        return std::nullopt;
    }
    QList<GridColumn> columns;
    const GridColumn defaults;
    while (query->next()) {
        GridColumn column;
        column.fieldName = query->value(0).toString().trimmed();
        if (column.fieldName.isEmpty())
            continue;
        column.title = query->value(1).toString();
        column.width = intOr(query->value(2), defaults.width);
        column.visible = intOr(query->value(3), 1) != 0;
        column.readOnly = intOr(query->value(4), 0) != 0;
        column.displayFormat = query->value(5).toString();
        column.footerValue = query->value(6).toString();
        column.footer = footerFromCode(intOr(query->value(7), 0));
        column.alignment = alignmentFromCode(intOr(query->value(8), 0));
        columns << column;
    }
    if (query->lastError().isValid()) {
        setError(error, query->lastError().text());
        return std::nullopt;
    }
    return columns;
}

bool save(Database& db, const QString& key, const QList<GridColumn>& columns, QString* error)
{
    // A half-saved layout would mix two arrangements; the caller's transaction, when there is
    // one, decides for itself.
    std::optional<Transaction> transaction;
    if (!db.inTransaction()) {
        transaction.emplace(db);
        if (!transaction->isActive()) {
            setError(error, db.lastError());
            return false;
        }
    }
    const QString lowerKey = key.toLower();
    for (int position = 0; position < columns.size(); ++position) {
        const GridColumn& c = columns.at(position);
        const bool ok =
            db.exec(QStringLiteral("UPDATE cfg_Grid SET F_Caption = ?, F_Width = ?, F_ReadOnly = ?, "
                                   "F_Visible = ?, F_Order = ?, F_Alignment = ?, F_DisplayFormat = ?, "
                                   "F_FooterValue = ?, F_FooterType = ? "
                                   "WHERE F_name = ? AND F_FieldName = ?"),
                    {c.title, c.width, c.readOnly ? 1 : 0, c.visible ? 1 : 0, position, int(c.alignment),
                     c.displayFormat, c.footerValue, int(c.footer), lowerKey, c.fieldName})
                .has_value();
        if (!ok) {
            setError(error, db.lastError());
            return false;
        }
    }
    if (transaction && !transaction->commit()) {
        setError(error, db.lastError());
        return false;
    }
    return true;
}

} // namespace GridLayoutStore
