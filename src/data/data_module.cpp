#include "data/data_module.h"

#include <QDir>

DataModule::DataModule(Database& db, Messenger& messenger, IniFile& config, const QString& home)
    : m_db(db), m_messenger(messenger), m_config(config), m_home(home), m_services(db, messenger, m_login)
{
}

QString DataModule::templateFolder() const
{
    return QDir(m_home).filePath(QStringLiteral("Qr"));
}
