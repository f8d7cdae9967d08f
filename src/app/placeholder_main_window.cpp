#include "app/placeholder_main_window.h"

#include "app/startup.h"
#include "data/data_module.h"
#include "data/database.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

PlaceholderMainWindow::PlaceholderMainWindow(DataModule& data, QWidget* parent) : QMainWindow(parent), m_data(data)
{
    setObjectName(QStringLiteral("TFrmMain"));
    setWindowTitle(QStringLiteral("Corvalin"));
    QMenu* dataMenu = menuBar()->addMenu(QStringLiteral("数据"));
    QAction* connectAction = dataMenu->addAction(QStringLiteral("连接网络数据库"));
    connectAction->setObjectName(QStringLiteral("Action504"));
    connect(connectAction, &QAction::triggered, this, [this] {
        Startup::chooseDatabaseFolder(this, m_data.config(), m_data.home());
    });
    auto* label = new QLabel(QStringLiteral("数据库已连接：%1").arg(m_data.db().settings().sqliteFile), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    statusBar()->showMessage(QStringLiteral("就绪"));
    resize(900, 600);
}
