#pragma once

#include <QString>

// Where the database lives: one SQLite file, or a PostgreSQL server shared by workstations.
struct ConnectionSettings {
    enum class Engine { Sqlite, Postgres };

    Engine engine = Engine::Sqlite;
    QString sqliteFile; // full path of Merisk.db

    QString host;
    int port = 5432;
    QString databaseName;
    QString user;
    QString password; // empty: libpq's own sources (PGPASSWORD, ~/.pgpass) apply
    QString schema;   // optional search_path, used by tests to keep runs apart
};
