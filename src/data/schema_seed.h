#pragma once

#include <QString>

class Database;

// The rows a new database is delivered with: permission items, settings, the company row,
// statistics, import mappings and the system operator "731" with an empty password.
namespace SchemaSeed {
bool insertAll(Database& db, QString* error);
}
