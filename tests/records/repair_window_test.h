#pragma once

// What the repair window tests share: a database on each engine, the data module with a
// scripted messenger, and typing as a person does.

#include "records/repair_test_data.h"
#include "support/test_database.h"

#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/scripted_messenger.h"
#include "widgets/data_grid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

class RepairWindowTest : public EngineTest {
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
            if (c.unicode() < 128 && c.unicode() >= 32)
                QTest::keyClick(widget, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    // Replaces the text of a field as a person does: select it all with the mouse, then type.
    static void retype(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        typeText(edit, text);
    }

    // Opens the cell of the grid's row and field for editing, types the text and presses Enter.
    static void typeIntoCell(DataGrid* grid, int row, const QString& field, const QString& text)
    {
        const int position = grid->positionOf(field);
        ASSERT_GE(position, 0) << field.toStdString();
        const QModelIndex index = grid->model()->index(row, grid->horizontalHeader()->logicalIndex(position));
        grid->setFocus();
        grid->setCurrentIndex(index);
        grid->edit(index);
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(grid->viewport()->isAncestorOf(editor)) << field.toStdString();
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->selectAll();
        else if (auto* inner = editor->findChild<QLineEdit*>())
            inner->selectAll();
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The cell takes the value once the event loop runs, as after a real key press.
        QCoreApplication::processEvents();
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
