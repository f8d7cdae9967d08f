#pragma once

#include "data/data_services.h"
#include "data/login_state.h"

#include <QString>

class Database;
class IniFile;
class Messenger;

// What every window receives: the database, the shared services, the settings file, the
// login state and the messenger. Nothing here is global, so a test builds its own.
class DataModule {
public:
    DataModule(Database& db, Messenger& messenger, IniFile& config, const QString& home);

    Database& db() { return m_db; }
    Messenger& messenger() { return m_messenger; }
    IniFile& config() { return m_config; }
    DataServices& services() { return m_services; }
    LoginState& login() { return m_login; }
    const LoginState& login() const { return m_login; }

    // The program home: config.ini, Qr/ (report templates), data/ and the help files.
    QString home() const { return m_home; }
    QString templateFolder() const;

private:
    Database& m_db;
    Messenger& m_messenger;
    IniFile& m_config;
    QString m_home;
    LoginState m_login;
    DataServices m_services;
};
