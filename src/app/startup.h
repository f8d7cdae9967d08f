#pragma once

#include <QString>

#include <functional>
#include <memory>

class Database;
class IniFile;
class Messenger;
class QWidget;
class SplashWindow;

// Brings the program from launch to an open database: reads where the database is, opens it
// (creating an empty one on first start in the default folder), and when that fails asks for
// the folder again until one works or the user gives up.
class Startup {
public:
    // Shows the "连接网络数据库" file dialog; returns the chosen file, empty when cancelled.
    using FileChooser = std::function<QString(QWidget* parent, const QString& startFolder)>;

    Startup(Database& db, IniFile& config, const QString& home, Messenger& messenger);
    ~Startup();

    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    // Show the splash window (off in tests that only check the connection).
    void setShowSplash(bool show) { m_showSplash = show; }

    // Runs the connection attempt; false when the user cancelled (the program then ends).
    bool connect();

    SplashWindow* splash() const { return m_splash.get(); }
    std::unique_ptr<SplashWindow> takeSplash();

    // The "连接网络数据库" command: stores the folder of a chosen file in `ds`; the open
    // connection is not touched, so the new folder takes effect at the next start.
    static bool chooseDatabaseFolder(QWidget* parent, IniFile& config, const QString& home,
                                     const FileChooser& chooser = defaultFileChooser());
    static FileChooser defaultFileChooser();

private:
    void showSplash(const QString& text);

    Database& m_db;
    IniFile& m_config;
    QString m_home;
    Messenger& m_messenger;
    FileChooser m_chooser;
    bool m_showSplash = true;
    std::unique_ptr<SplashWindow> m_splash;
};
