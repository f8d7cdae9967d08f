#include "app/startup.h"

#include "app/ini_file.h"
#include "app/program_home.h"
#include "app/splash_window.h"
#include "data/database.h"
#include "data/database_opener.h"
#include "data/messenger.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {
const QString kDialogTitle = QStringLiteral("连接网络数据库");
}

Startup::Startup(Database& db, IniFile& config, const QString& home, Messenger& messenger)
    : m_db(db), m_config(config), m_home(home), m_messenger(messenger), m_chooser(defaultFileChooser())
{
}

Startup::~Startup() = default;

Startup::FileChooser Startup::defaultFileChooser()
{
    return [](QWidget* parent, const QString& startFolder) {
        return QFileDialog::getOpenFileName(parent, kDialogTitle, startFolder,
                                            QStringLiteral("Corvalin数据库 (*.db);;所有文件 (*)"));
    };
}

void Startup::showSplash(const QString& text)
{
    if (!m_showSplash)
        return;
    if (!m_splash) {
        m_splash = std::make_unique<SplashWindow>();
        m_splash->show();
        QApplication::processEvents();
    }
    m_splash->setMessage(text);
}

std::unique_ptr<SplashWindow> Startup::takeSplash()
{
    return std::move(m_splash);
}

bool Startup::connect()
{
    for (;;) {
        const ConnectionSettings settings = ProgramHome::connectionSettings(m_config, m_home);
        const bool server = settings.engine == ConnectionSettings::Engine::Postgres;
        showSplash(QStringLiteral("正在连接数据库 ....."));
        QString error;
        // A new shop starts with an empty database in the default folder; anywhere else a
        // missing file means the folder is wrong.
        const bool create = server || ProgramHome::usesDefaultFolder(m_config);
        const auto result = DatabaseOpener::open(m_db, settings, create, &error);
        if (result == DatabaseOpener::Result::Opened || result == DatabaseOpener::Result::Created) {
            showSplash(QStringLiteral("连接成功，正在登录 ..."));
            return true;
        }
        m_splash.reset();
        if (server) {
            // The folder dialog means nothing for a server; say what went wrong and offer a retry.
            if (!m_messenger.ask(QStringLiteral("无法连接数据库服务器：\n%1\n\n是否重试？").arg(error)))
                return false;
            continue;
        }
        if (!chooseDatabaseFolder(nullptr, m_config, m_home, m_chooser))
            return false;
    }
}

bool Startup::chooseDatabaseFolder(QWidget* parent, IniFile& config, const QString& home, const FileChooser& chooser)
{
    const QString file = chooser(parent, home);
    if (file.isEmpty())
        return false;
    return ProgramHome::storeDatabaseFolder(config, QFileInfo(file).absolutePath());
}
