#include "records/record_window_test.h"

#include "records/multi_choice.h"
#include "records/multi_choice_dialog.h"
#include "records/name_entry_dialog.h"
#include "support/modal_driver.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace RecordRows;

class SmallDialogsTest : public RecordWindowTest {};

TEST_P(SmallDialogsTest, TheNameEntryRefusesBlanksAndGivesTheNameAsTyped)
{
    struct Case {
        const char* name;
        QString typed;
        bool close;
        std::optional<QString> expected;
        QStringList messages;
    };
    const QList<Case> cases = {
        {"a name", "  新名称 'A' ", false, QStringLiteral("  新名称 'A' "), {}},
        {"blanks, then closed", "   ", true, std::nullopt, {"名称不能为空！"}},
        {"nothing, then closed", "", true, std::nullopt, {"名称不能为空！"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messenger.clear();
        whenModalOpens([&](QWidget* modal) {
            EXPECT_EQ(modal->objectName(), "TDLGaddText");
            EXPECT_EQ(modal->windowTitle(), "请输入要增加的标题名称");
            auto* name = modal->findChild<QLineEdit*>("edtName");
            name->setFocus();
            typeText(name, c.typed);
            // Enter moves on to the buttons.
            QTest::keyClick(name, Qt::Key_Return);
            EXPECT_FALSE(name->hasFocus());
            QTest::mouseClick(modal->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
            if (c.close) {
                EXPECT_TRUE(modal->isVisible());
                EXPECT_TRUE(name->hasFocus());
                QTest::keyClick(name, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(NameEntryDialog::enterName(*data), c.expected);
        EXPECT_EQ(messenger.texts(), c.messages);
    }
    whenModalOpens([](QWidget* modal) {
        QTest::mouseClick(modal->findChild<QPushButton*>("btnClose"), Qt::LeftButton);
    });
    EXPECT_EQ(NameEntryDialog::enterName(*data), std::nullopt);
}

TEST_P(SmallDialogsTest, TheMultiChoiceListTicksTheGivenEntriesAndGivesBackTheTicked)
{
    for (const char* name : {"A", "B", "C"})
        addCode(db(), "wxinfo", name);
    addCode(db(), "wxinfo", "");
    addCode(db(), "pjname", "D");

    auto tickedOf = [](QListWidget* list) {
        QStringList ticked;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->checkState() == Qt::Checked)
                ticked << list->item(i)->text();
        }
        return ticked;
    };
    whenModalOpens([&](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), "TDLGduoxuanList");
        EXPECT_EQ(modal->windowTitle(), "维护信息列表");
        auto* list = modal->findChild<QListWidget*>("clbList");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(tickedOf(list), QStringList({"A", "B"}));
        // Two columns: the second entry stands beside the first.
        EXPECT_TRUE(QTest::qWaitFor([list] {
            const QRect first = list->visualItemRect(list->item(0));
            const QRect second = list->visualItemRect(list->item(1));
            return second.top() == first.top() && second.left() > first.left();
        }));
        list->setFocus();
        list->setCurrentRow(2);
        QTest::keyClick(list, Qt::Key_Space);
        EXPECT_EQ(tickedOf(list), QStringList({"A", "B", "C"}));
        QTest::mouseClick(modal->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    EXPECT_EQ(MultiChoiceDialog::choose(*data, MultiChoice::repairInfoCaption(), "A,B"), "A,B,C");

    whenModalOpens([](QWidget* modal) {
        auto* list = modal->findChild<QListWidget*>("clbList");
        list->item(0)->setCheckState(Qt::Checked);
        QTest::mouseClick(modal->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    });
    EXPECT_EQ(MultiChoiceDialog::choose(*data, "维护信息列表", "手写的,B"), "手写的,B");

    whenModalOpens([](QWidget* modal) {
        auto* list = modal->findChild<QListWidget*>("clbList");
        list->item(1)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(modal->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    EXPECT_EQ(MultiChoiceDialog::choose(*data, "维护信息列表", "B"), "");
}

INSTANTIATE_ENGINES(SmallDialogsTest);
