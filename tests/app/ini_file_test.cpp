#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {
QString readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}
void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}
} // namespace

TEST(IniFile, SectionsAndKeysIgnoreCase)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    write(path, "; shop settings\n[Config]\nCurOperCode = 007\n[config]\nDS=/srv/data/\n");
    IniFile ini(path);
    EXPECT_EQ(ini.value("config", "curopercode"), QStringLiteral("007"));
    EXPECT_EQ(ini.value("CONFIG", "ds"), QStringLiteral("/srv/data/"));
    EXPECT_EQ(ini.value("set", "awokeday", "0"), QStringLiteral("0"));
    EXPECT_FALSE(ini.contains("set", "awokeflag"));
}

TEST(IniFile, WritesAtOnceKeepingCommentsAndUnknownKeys)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    write(path, "; keep me\n[config]\nds=/old/\nmystery=42\n\n[other]\nx=1\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.setValue("Config", "DS", "/new/"));
    ASSERT_TRUE(ini.setValue("set", "awokeflag", "1"));
    ASSERT_TRUE(ini.setValue("config", "ibak", 2));
    const QString text = readAll(path);
    EXPECT_TRUE(text.contains("; keep me"));
    EXPECT_TRUE(text.contains("mystery=42"));
    EXPECT_TRUE(text.contains("DS=/new/"));
    EXPECT_FALSE(text.contains("/old/"));
    // Another reader sees every change without the first one being closed.
    IniFile again(path);
    EXPECT_EQ(again.value("config", "ds"), QStringLiteral("/new/"));
    EXPECT_TRUE(again.boolValue("SET", "AwokeFlag"));
    EXPECT_EQ(again.intValue("config", "ibak"), 2);
    EXPECT_EQ(again.value("other", "x"), QStringLiteral("1"));
}

TEST(IniFile, MissingFileIsEmptyAndCreatedOnFirstWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    IniFile ini(path);
    EXPECT_TRUE(ini.loadProblem().isEmpty());
    EXPECT_EQ(ini.value("config", "ds"), QString());
    ASSERT_TRUE(ini.setValue("Config", "CurOperCode", "731"));
    EXPECT_EQ(IniFile(path).value("config", "curopercode"), QStringLiteral("731"));
}

TEST(IniFile, GarbledFileIsSetAsideAndDefaultsUsed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    write(path, QByteArray("\xff\xfe\x00\x01garbage\x00\x80\x81", 13));
    IniFile ini;
    EXPECT_FALSE(ini.load(path));
    EXPECT_FALSE(ini.loadProblem().isEmpty());
    EXPECT_EQ(ini.value("config", "ds"), QString());
    EXPECT_TRUE(QFile::exists(path + ".bad"));
    ASSERT_TRUE(ini.setValue("config", "ds", "/x/"));
    EXPECT_EQ(IniFile(path).value("config", "ds"), QStringLiteral("/x/"));
}

TEST(IniFile, ValuesWithChineseAndEqualsSigns)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("config.ini"));
    ASSERT_TRUE(ini.setValue("Config", "CurImeName", "中文 - 拼音=双拼"));
    EXPECT_EQ(IniFile(dir.filePath("config.ini")).value("config", "CurImeName"), QStringLiteral("中文 - 拼音=双拼"));
}
