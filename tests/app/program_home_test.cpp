#include "app/ini_file.h"
#include "app/program_home.h"
#include "data/connection_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

TEST(ProgramHome, CommandLineThenEnvironmentThenExecutableFolder)
{
    QTemporaryDir a;
    QTemporaryDir b;
    qunsetenv("CORVALIN_HOME");
    EXPECT_EQ(ProgramHome::resolve({"corvalin", "--home", a.path()}, b.path()), QDir(a.path()).absolutePath());
    EXPECT_EQ(ProgramHome::resolve({"corvalin", "--home=" + a.path()}, b.path()), QDir(a.path()).absolutePath());
    qputenv("CORVALIN_HOME", a.path().toUtf8());
    EXPECT_EQ(ProgramHome::resolve({"corvalin"}, b.path()), QDir(a.path()).absolutePath());
    qunsetenv("CORVALIN_HOME");
    EXPECT_EQ(ProgramHome::resolve({"corvalin"}, b.path()), QDir(b.path()).absolutePath());
}

TEST(ProgramHome, ConfigFileNameIgnoresCase)
{
    QTemporaryDir dir;
    EXPECT_EQ(ProgramHome::configPath(dir.path()), dir.filePath("config.ini"));
    QFile f(dir.filePath("Config.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(ProgramHome::configPath(dir.path()), dir.filePath("Config.ini"));
}

TEST(ProgramHome, DatabaseFolderFromDs)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("config.ini"));
    const QString home = dir.path();
    const QString fallback = QDir(home).filePath("data") + "/";
    EXPECT_EQ(ProgramHome::databaseFolder(ini, home), fallback);
    EXPECT_TRUE(ProgramHome::usesDefaultFolder(ini));

    ASSERT_TRUE(ini.setValue("config", "ds", "   "));
    EXPECT_EQ(ProgramHome::databaseFolder(ini, home), fallback);
    EXPECT_TRUE(ProgramHome::usesDefaultFolder(ini));

    ASSERT_TRUE(ProgramHome::storeDatabaseFolder(ini, "/srv/shop"));
    EXPECT_EQ(ini.value("config", "ds"), QStringLiteral("/srv/shop/"));
    EXPECT_FALSE(ProgramHome::usesDefaultFolder(ini));
    const ConnectionSettings s = ProgramHome::connectionSettings(ini, home);
    EXPECT_EQ(s.engine, ConnectionSettings::Engine::Sqlite);
    EXPECT_EQ(s.sqliteFile, QStringLiteral("/srv/shop/Merisk.db"));
}

TEST(ProgramHome, ServerSettings)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("config.ini"));
    ini.setValue("config", "engine", "PostgreSQL");
    ini.setValue("config", "pghost", "10.0.0.5");
    ini.setValue("config", "pgport", "5433");
    ini.setValue("config", "pgdatabase", "shop");
    ini.setValue("config", "pguser", "clerk");
    const ConnectionSettings s = ProgramHome::connectionSettings(ini, dir.path());
    EXPECT_EQ(s.engine, ConnectionSettings::Engine::Postgres);
    EXPECT_EQ(s.host, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(s.port, 5433);
    EXPECT_EQ(s.databaseName, QStringLiteral("shop"));
    EXPECT_EQ(s.user, QStringLiteral("clerk"));
}
