#pragma once

// What the record window tests share: a database on each engine, the data module with a
// scripted messenger, and typing as a person does.

#include "records/record_rows.h"
#include "support/test_database.h"

#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/scripted_messenger.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

class RecordWindowTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        config.load(QDir(home.path()).filePath("config.ini"));
        data = std::make_unique<DataModule>(db(), messenger, config, home.path());
        data->login().operatorCode = "731";
        data->login().operatorName = "系统管理员";
    }

    void TearDown() override
    {
        data.reset();
        EngineTest::TearDown();
    }

    // Types the text key by key, Chinese characters included (which the ASCII key table of
    // QTest cannot name).
    static void typeText(QWidget* widget, const QString& text)
    {
        for (QChar c : text) {
            if (c == QLatin1Char('\n'))
                QTest::keyClick(widget, Qt::Key_Return);
            else if (c.unicode() < 128 && c.unicode() >= 32)
                QTest::keyClick(widget, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    template <typename T> static T* child(QWidget* window, const QString& name)
    {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    QTemporaryDir home;
    IniFile config;
    ScriptedMessenger messenger;
    std::unique_ptr<DataModule> data;
};
