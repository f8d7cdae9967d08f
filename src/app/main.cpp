#include "app/ini_file.h"
#include "app/main_window.h"
#include "app/program_home.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "data/data_module.h"
#include "data/database.h"
#include "operators/login_dialog.h"
#include "widgets/gui_messenger.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QThread>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
    QApplication::setApplicationName(QStringLiteral("Corvalin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvalin"));
    // Qt's own dialogs (file dialogs, message box buttons) speak Chinese like the rest.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    const QString home = ProgramHome::resolve(QApplication::arguments(), QApplication::applicationDirPath());
    QDir().mkpath(home);
    GuiMessenger messenger;
    IniFile config;
    if (!config.load(ProgramHome::configPath(home)))
        messenger.warning(QStringLiteral("配置文件 config.ini 无法读取（%1），已改用默认设置。").arg(config.loadProblem()));

    Database db;
    Startup startup(db, config, home, messenger);
    if (!startup.connect())
        return 0;

    DataModule data(db, messenger, config, home);
    SplashWindow* splash = startup.splash();
    if (splash)
        splash->setMessage(QStringLiteral("连接成功，正在登录 ....."));
    MainWindow mainWindow(data);
    if (splash) {
        splash->setMessage(QStringLiteral("连接成功，正在登录 ..."));
        QThread::msleep(20);
        splash->setMessage(QStringLiteral("连接成功，正在登录 ....."));
    }
    startup.takeSplash().reset();
    // Giving up the login, or a fourth wrong password, ends the program.
    if (!LoginDialog::run(data, LoginService::Mode::FirstLogin))
        return 0;
    mainWindow.applyLogin();
    mainWindow.showMaximized();
    return QApplication::exec();
}
