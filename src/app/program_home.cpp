#include "app/program_home.h"

#include "app/ini_file.h"
#include "data/connection_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kSection = QStringLiteral("config");

QString withSeparator(const QString& folder)
{
    QString f = QDir::fromNativeSeparators(folder);
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f;
}
} // namespace

namespace ProgramHome {

QString resolve(const QStringList& arguments, const QString& executableFolder)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--home") && i + 1 < arguments.size())
            return QDir(arguments.at(i + 1)).absolutePath();
        if (a.startsWith(QLatin1String("--home=")))
            return QDir(a.mid(7)).absolutePath();
    }
    const QString fromEnv = qEnvironmentVariable("CORVALIN_HOME");
    if (!fromEnv.trimmed().isEmpty())
        return QDir(fromEnv).absolutePath();
    if (!executableFolder.isEmpty() && QFileInfo(executableFolder).isWritable())
        return QDir(executableFolder).absolutePath();
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::home().filePath(QStringLiteral(".local/share"));
    return QDir(data).filePath(QStringLiteral("Corvalin"));
}

QString configPath(const QString& home)
{
    const QDir dir(home);
    const QStringList found = dir.entryList({QStringLiteral("config.ini")}, QDir::Files, QDir::Name);
    for (const QString& name : found) {
        if (name.compare(QLatin1String("config.ini"), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return dir.filePath(QStringLiteral("config.ini"));
}

QString defaultDatabaseFolder(const QString& home)
{
    return withSeparator(QDir(home).filePath(QStringLiteral("data")));
}

QString databaseFileName()
{
    return QStringLiteral("Merisk.db");
}

bool usesDefaultFolder(const IniFile& config)
{
    return config.value(kSection, QStringLiteral("ds")).trimmed().isEmpty();
}

QString databaseFolder(const IniFile& config, const QString& home)
{
    const QString ds = config.value(kSection, QStringLiteral("ds")).trimmed();
    if (ds.isEmpty())
        return defaultDatabaseFolder(home);
    return withSeparator(QDir(home).absoluteFilePath(ds));
}

bool storeDatabaseFolder(IniFile& config, const QString& folder)
{
    return config.setValue(kSection, QStringLiteral("ds"), withSeparator(folder));
}

ConnectionSettings connectionSettings(const IniFile& config, const QString& home)
{
    ConnectionSettings s;
    const QString engine = config.value(kSection, QStringLiteral("engine")).trimmed().toLower();
    if (engine == QLatin1String("postgresql") || engine == QLatin1String("postgres")) {
        s.engine = ConnectionSettings::Engine::Postgres;
        s.host = config.value(kSection, QStringLiteral("pghost"), QStringLiteral("localhost"));
        s.port = config.intValue(kSection, QStringLiteral("pgport"), 5432);
        s.databaseName = config.value(kSection, QStringLiteral("pgdatabase"), QStringLiteral("corvalin"));
        s.user = config.value(kSection, QStringLiteral("pguser"));
        s.password = config.value(kSection, QStringLiteral("pgpassword"));
        return s;
    }
    s.sqliteFile = databaseFolder(config, home) + databaseFileName();
    return s;
}

} // namespace ProgramHome
