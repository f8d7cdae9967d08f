#pragma once

#include "data/dialect.h"

#include <QList>
#include <QString>
#include <optional>

class Database;

struct ColumnDef {
    const char* name;
    ColumnType type;
    int width = 0; // characters, for text columns; editors limit input to it
};

struct TableDef {
    const char* name;
    QList<ColumnDef> columns;
};

// The data model: every table, column, index and view, on every engine, with the schema
// version and its ordered upgrade steps.
namespace Schema {

// Version written into a new database; raise it with every upgrade step added.
int currentVersion();

const QList<TableDef>& tables();
const TableDef* table(const QString& name);
// Type of a column by name, looked up across all tables without regard to case.
std::optional<ColumnType> columnType(const QString& column);
std::optional<ColumnType> columnType(const QString& table, const QString& column);
// Width of a text column, 0 when unknown.
int textWidth(const QString& table, const QString& column);

// Creates every table, index and view and the seed rows, in one transaction.
bool create(Database& db, QString* error);
// The version stored in the database; nothing when the database is not one of this program.
std::optional<int> installedVersion(Database& db);
// Runs the upgrade steps from the installed version to the current one, in one transaction.
bool upgrade(Database& db, QString* error);

} // namespace Schema
