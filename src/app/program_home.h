#pragma once

#include <QString>
#include <QStringList>

class IniFile;
struct ConnectionSettings;

// Where the program keeps config.ini, Qr/, data/ and the help files, and where the settings
// file points the database.
namespace ProgramHome {

// `--home DIR` on the command line, else CORVALIN_HOME, else the executable's folder when it
// is writable, else $XDG_DATA_HOME/Corvalin.
QString resolve(const QStringList& arguments, const QString& executableFolder);

// config.ini in the home folder; an existing file whose name differs only in letter case
// ("Config.ini") is the same file.
QString configPath(const QString& home);

// The database folder when `ds` is unset or blank: home + "/data/".
QString defaultDatabaseFolder(const QString& home);
QString databaseFileName();

// The database folder named by `ds` in section "config", with a trailing separator.
QString databaseFolder(const IniFile& config, const QString& home);
bool usesDefaultFolder(const IniFile& config);
// Stores a folder in `ds` with its trailing separator.
bool storeDatabaseFolder(IniFile& config, const QString& folder);

// The connection the settings ask for: the SQLite file in the database folder, or the
// PostgreSQL server named by the keys engine, pghost, pgport, pgdatabase, pguser, pgpassword.
ConnectionSettings connectionSettings(const IniFile& config, const QString& home);

} // namespace ProgramHome
