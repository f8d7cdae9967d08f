#include "operators/apply_permissions.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

void applyPermissions(QWidget* mainWindow, const Permissions::Gating& gating)
{
    if (!mainWindow)
        return;
    for (const Permissions::Visibility& a : gating.actions) {
        for (QAction* action : mainWindow->findChildren<QAction*>(a.objectName))
            action->setVisible(a.visible);
    }
    for (const Permissions::Visibility& m : gating.menus) {
        // Qt also ignores the shortcuts of a hidden menu's commands, so the uncoded imports
        // under 数据 are out of reach with it.
        for (QMenu* menu : mainWindow->findChildren<QMenu*>(m.objectName))
            menu->menuAction()->setVisible(m.visible);
    }
}

void applyPermissions(QWidget* mainWindow, DataModule& data)
{
    applyPermissions(mainWindow, Permissions::forLogin(data));
}
