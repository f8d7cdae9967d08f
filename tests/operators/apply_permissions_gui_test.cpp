#include "operators/apply_permissions.h"
#include "operators/permissions.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

namespace {

// A main window as its builder makes it: the five gated menus, every gated command in its
// menu, some of them also on the tool bar, and the uncoded imports under 数据.
class GatedWindow : public QMainWindow {
public:
    GatedWindow()
    {
        QHash<QString, QMenu*> menus;
        for (const auto& m : Permissions::menus()) {
            QMenu* menu = menuBar()->addMenu(m.caption);
            menu->setObjectName(m.objectName);
            menus.insert(m.objectName, menu);
        }
        QToolBar* tools = addToolBar(QStringLiteral("工具栏"));
        for (const auto& c : Permissions::commands()) {
            QAction* action = menus.value(c.menuName)->addAction(c.caption);
            action->setObjectName(c.actionName);
            if (c.code.startsWith('2'))
                tools->addAction(action);
        }
        import = menus.value("mnuData")->addAction(QStringLiteral("导入商品资料"));
        import->setObjectName("Action505");
        import->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    }

    QMenu* menu(const char* name) { return findChild<QMenu*>(QString::fromLatin1(name)); }
    QAction* action(const char* name) { return findChild<QAction*>(QString::fromLatin1(name)); }

    QStringList shownTopMenus()
    {
        QStringList names;
        for (QAction* a : menuBar()->actions()) {
            if (a->isVisible())
                names << a->menu()->objectName();
        }
        return names;
    }

    QAction* import = nullptr;
};

Permissions::Gating gatingFor(const QString& operatorCode, const QStringList& granted)
{
    return Permissions::compute(operatorCode, [&](const QString& code) { return granted.contains(code); });
}

QStringList shownActions(QWidget* container)
{
    QStringList names;
    for (QAction* a : container->actions()) {
        if (a->isVisible() && !a->isSeparator())
            names << a->objectName();
    }
    return names;
}

} // namespace

TEST(ApplyPermissions, RoleWithOnly305SeesOnlyItUnderOutput)
{
    GatedWindow window;
    applyPermissions(&window, gatingFor("007", {"305"}));
    EXPECT_EQ(window.shownTopMenus(), QStringList{"mnuOutput"});
    EXPECT_EQ(shownActions(window.menu("mnuOutput")), QStringList{"Action305"});
    EXPECT_TRUE(shownActions(window.findChild<QToolBar*>()).isEmpty());
}

TEST(ApplyPermissions, RoleWithoutDataCodesLosesTheDataMenuWithItsImports)
{
    GatedWindow window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy imports(window.import, &QAction::triggered);

    applyPermissions(&window, gatingFor("007", {"101", "207", "301", "401"}));
    EXPECT_EQ(window.shownTopMenus(), QStringList({"mnuFile", "mnuEdit", "mnuOutput", "mnuStat"}));
    EXPECT_EQ(shownActions(window.findChild<QToolBar*>()), QStringList{"Action207"});
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(imports.count(), 0) << "an import must not be reachable while 数据 is hidden";

    // A later login with more rights brings everything back.
    applyPermissions(&window, gatingFor("731", {}));
    EXPECT_EQ(window.shownTopMenus().size(), 5);
    EXPECT_EQ(shownActions(window.menu("mnuData")).size(), 5);
    EXPECT_EQ(shownActions(window.findChild<QToolBar*>()).size(), 10);
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(imports.count(), 1);
}
