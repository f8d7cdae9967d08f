#include "app/ini_file.h"
#include "app/program_home.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "data/database.h"
#include "data/database_opener.h"
#include "data/schema.h"
#include "data/scripted_messenger.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Stands in for the file dialog: answers with the queued files, then cancels.
struct FakeChooser {
    QStringList answers;
    QStringList startFolders;
    Startup::FileChooser fn()
    {
        return [this](QWidget*, const QString& start) {
            startFolders << start;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
    }
};

void makeDatabase(const QString& folder)
{
    QDir().mkpath(folder);
    Database db;
    ConnectionSettings s;
    s.sqliteFile = QDir(folder).filePath("Merisk.db");
    QString error;
    ASSERT_EQ(DatabaseOpener::open(db, s, true, &error), DatabaseOpener::Result::Created) << error.toStdString();
}

class StartupTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    IniFile config{QDir(home.path()).filePath("config.ini")};
    ScriptedMessenger messenger;
    Database db;
    FakeChooser chooser;

    bool connect()
    {
        Startup startup(db, config, home.path(), messenger);
        startup.setFileChooser(chooser.fn());
        return startup.connect();
    }
};

} // namespace

TEST_F(StartupTest, FirstStartCreatesAnEmptyDatabaseInTheDefaultFolder)
{
    Startup startup(db, config, home.path(), messenger);
    startup.setFileChooser(chooser.fn());
    ASSERT_TRUE(startup.connect());
    EXPECT_TRUE(QFile::exists(QDir(home.path()).filePath("data/Merisk.db")));
    EXPECT_EQ(Schema::installedVersion(db), Schema::currentVersion());
    EXPECT_TRUE(chooser.startFolders.isEmpty());
    ASSERT_NE(startup.splash(), nullptr);
    EXPECT_EQ(startup.splash()->message(), QStringLiteral("连接成功，正在登录 ..."));
    EXPECT_EQ(messenger.count(), 0);
}

TEST_F(StartupTest, MissingFolderAsksAndCancelEndsWithoutMessage)
{
    config.setValue("config", "ds", QDir(home.path()).filePath("nowhere"));
    EXPECT_FALSE(connect());
    EXPECT_EQ(chooser.startFolders, QStringList{home.path()});
    EXPECT_EQ(messenger.count(), 0);
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(QDir(QDir(home.path()).filePath("nowhere")).exists()) << "nothing is created outside the default";
}

TEST_F(StartupTest, AnyFileInAFolderWithTheDatabaseSelectsThatFolder)
{
    const QString shared = QDir(home.path()).filePath("shared");
    makeDatabase(shared);
    config.setValue("config", "ds", "  ");
    QFile::remove(QDir(home.path()).filePath("config.ini"));
    config.setValue("config", "ds", QDir(home.path()).filePath("missing"));
    chooser.answers = {QDir(shared).filePath("anything.txt")};
    ASSERT_TRUE(connect());
    EXPECT_EQ(IniFile(config.path()).value("config", "ds"), shared + "/");
    EXPECT_EQ(db.settings().sqliteFile, shared + "/Merisk.db");
}

TEST_F(StartupTest, DialogRepeatsUntilAUsableFolderOrCancel)
{
    const QString empty = QDir(home.path()).filePath("empty");
    const QString damaged = QDir(home.path()).filePath("damaged");
    QDir().mkpath(empty);
    QDir().mkpath(damaged);
    QFile bad(QDir(damaged).filePath("Merisk.db"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a database at all, just some text that fills a page......");
    bad.close();
    config.setValue("config", "ds", empty);
    chooser.answers = {QDir(empty).filePath("x.db"), QDir(damaged).filePath("Merisk.db")};
    EXPECT_FALSE(connect());
    EXPECT_EQ(chooser.startFolders.size(), 3);
    EXPECT_EQ(IniFile(config.path()).value("config", "ds"), damaged + "/");
    EXPECT_EQ(messenger.count(), 0);
}

TEST_F(StartupTest, UnreachableServerOffersARetry)
{
    config.setValue("config", "engine", "postgresql");
    config.setValue("config", "pghost", "127.0.0.1");
    config.setValue("config", "pgport", "1");
    messenger.answer(Messenger::Yes);
    messenger.answer(Messenger::No);
    EXPECT_FALSE(connect());
    EXPECT_EQ(messenger.count(), 2);
    EXPECT_EQ(messenger.messages().first().kind, Messenger::Question);
    EXPECT_TRUE(chooser.startFolders.isEmpty());
}

TEST_F(StartupTest, ConnectCommandOnlyChangesTheSettingsFile)
{
    ASSERT_TRUE(connect());
    const QString opened = db.settings().sqliteFile;
    const QString other = QDir(home.path()).filePath("other");
    QDir().mkpath(other);
    chooser.answers = {QDir(other).filePath("Merisk.db")};
    EXPECT_TRUE(Startup::chooseDatabaseFolder(nullptr, config, home.path(), chooser.fn()));
    EXPECT_EQ(IniFile(config.path()).value("config", "ds"), other + "/");
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(db.settings().sqliteFile, opened);
    EXPECT_FALSE(Startup::chooseDatabaseFolder(nullptr, config, home.path(), chooser.fn()));
    EXPECT_EQ(IniFile(config.path()).value("config", "ds"), other + "/");
}
