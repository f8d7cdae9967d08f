#include "widgets/combo_items.h"
#include "widgets/window_placement.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMainWindow>
#include <QScreen>

TEST(ComboItems, SelectsTheLastEqualItemAndKeepsTheSelectionOtherwise)
{
    QComboBox combo;
    ComboItems::fill(&combo, {"北京", "area", " Area ", "上海"});
    combo.setCurrentIndex(3);
    ComboItems::select(&combo, "  AREA ");
    EXPECT_EQ(combo.currentIndex(), 2);
    ComboItems::select(&combo, "广州");
    EXPECT_EQ(combo.currentIndex(), 2);
    ComboItems::fill(&combo, {"x"});
    EXPECT_EQ(combo.count(), 1);
}

TEST(WindowPlacement, LargeWindowsFillMostOfTheScreenAndEditorsCentreOnTheirOpener)
{
    const QRect area = QApplication::primaryScreen()->availableGeometry();
    QMainWindow big;
    WindowPlacement::place(&big, WindowPlacement::Large);
    EXPECT_GE(big.width(), area.width() * 8 / 10);
    EXPECT_GE(big.height(), area.height() * 8 / 10);
    EXPECT_LE(qAbs(big.frameGeometry().center().x() - area.center().x()), 2);

    QMainWindow opener;
    opener.setGeometry(area.left() + 10, area.top() + 10, 400, 300);
    opener.show();
    QDialog editor(&opener);
    editor.resize(200, 100);
    WindowPlacement::place(&editor, WindowPlacement::Editor, &opener);
    EXPECT_LE((editor.frameGeometry().center() - opener.frameGeometry().center()).manhattanLength(), 4);
    EXPECT_TRUE(area.contains(editor.frameGeometry().topLeft()));
}
