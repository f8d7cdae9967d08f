#include "app/help_files.h"

#include <QDir>
#include <QFileInfo>

namespace {

// One step of a path, letter case ignored: copied from a Windows shop, "Help" or "README.TXT".
QString entryIgnoringCase(const QDir& dir, const QString& name)
{
    if (dir.exists(name))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

} // namespace

QString HelpFiles::locate(const QString& relativeName, const QStringList& folders)
{
    const QStringList steps = QDir::cleanPath(relativeName).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        QString path = folder;
        for (const QString& step : steps) {
            path = entryIgnoringCase(QDir(path), step);
            if (path.isEmpty())
                break;
        }
        if (!path.isEmpty() && QFileInfo(path).isFile())
            return QFileInfo(path).absoluteFilePath();
    }
    return {};
}

QString HelpFiles::missingMessage(const QString& relativeName)
{
    return QStringLiteral("找不到文件“%1”，请检查程序目录是否完整。").arg(relativeName);
}
