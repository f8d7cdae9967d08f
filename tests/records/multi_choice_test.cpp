#include "records/multi_choice.h"

#include <gtest/gtest.h>

TEST(MultiChoiceTest, TheTextTicksTheEntriesItNames)
{
    const QStringList entries = {"A", "B", "C", "更换配件"};
    struct Case {
        QString text;
        QList<bool> ticked;
    };
    const QList<Case> cases = {
        {"", {false, false, false, false}},
        {"A,B", {true, true, false, false}},
        {"B,A", {true, true, false, false}},
        {"A,,C", {true, false, true, false}},           // a doubled comma hides nothing
        {" A , 更换配件 ", {true, false, false, true}}, // blanks around a piece do not count
        {"a,D", {false, false, false, false}},          // only equal entries
        {"A,B,C,", {true, true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(MultiChoice::ticked(entries, c.text), c.ticked);
    }
}

TEST(MultiChoiceTest, TheTickedEntriesMakeTheTextInListOrder)
{
    const QStringList entries = {"A", "B", "C"};
    EXPECT_EQ(MultiChoice::join(entries, {true, true, true}), "A,B,C");
    EXPECT_EQ(MultiChoice::join(entries, {false, true, true}), "B,C");
    EXPECT_EQ(MultiChoice::join(entries, {false, false, false}), "");
    EXPECT_EQ(MultiChoice::join(entries, MultiChoice::ticked(entries, "C,A")), "A,C");
}
