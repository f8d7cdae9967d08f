#include "app/placeholder_main_window.h"

#include "app/startup.h"
#include "data/data_module.h"
#include "data/database.h"
#include "operators/apply_permissions.h"
#include "operators/login_dialog.h"
#include "operators/permissions.h"

#include <QAction>
#include <QHash>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

PlaceholderMainWindow::PlaceholderMainWindow(DataModule& data, QWidget* parent) : QMainWindow(parent), m_data(data)
{
    setObjectName(QStringLiteral("TFrmMain"));
    setWindowTitle(QStringLiteral("Corvalin"));
    // Every gated command is present, most doing nothing yet, so that logins show their permissions.
    QHash<QString, QMenu*> menus;
    for (const Permissions::Menu& m : Permissions::menus()) {
        QMenu* menu = menuBar()->addMenu(m.caption);
        menu->setObjectName(m.objectName);
        menus.insert(m.objectName, menu);
    }
    for (const Permissions::Command& c : Permissions::commands()) {
        QAction* action = menus.value(c.menuName)->addAction(c.caption);
        action->setObjectName(c.actionName);
    }
    connect(findChild<QAction*>(QStringLiteral("Action504")), &QAction::triggered, this,
            [this] { Startup::chooseDatabaseFolder(this, m_data.config(), m_data.home()); });
    QMenu* fileMenu = menus.value(QStringLiteral("mnuFile"));
    fileMenu->addSeparator();
    connect(fileMenu->addAction(QStringLiteral("重新登录")), &QAction::triggered, this, [this] {
        if (LoginDialog::run(m_data, LoginService::Mode::ChangeOperator, this))
            applyLogin();
    });
    auto* label = new QLabel(QStringLiteral("数据库已连接：%1").arg(m_data.db().settings().sqliteFile), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    statusBar()->showMessage(QStringLiteral("就绪"));
    resize(900, 600);
}

void PlaceholderMainWindow::applyLogin()
{
    applyPermissions(this, m_data);
    statusBar()->showMessage(QStringLiteral(" ") + m_data.login().operatorName);
}
