#pragma once

#include <QString>

class Database;
struct ConnectionSettings;

// Opens the program's database: checks that it is one of ours, brings an older schema up
// to date, and creates a new database where asked to.
namespace DatabaseOpener {

enum class Result {
    Opened,
    Created,
    Missing,     // no database file where the settings point
    Unreachable, // the engine refused the connection
    NotOurs,     // not a database of this program, damaged, or written by a newer version
};

// `createIfMissing`: create an empty database when the SQLite file does not exist (the default
// folder on first start) or the server database holds no tables at all.
Result open(Database& db, const ConnectionSettings& settings, bool createIfMissing, QString* error);

} // namespace DatabaseOpener
