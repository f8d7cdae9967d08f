#include "print/template_files.h"

#include <QDir>
#include <QFileInfo>

namespace TemplateFiles {

QString resolve(const QString& folder, const QString& name)
{
    // Only the file name counts: a template name never reaches outside its folder.
    const QString fileName = QFileInfo(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile())
        return exact;
    QStringList entries = dir.entryList(QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

QString resolvePath(const QString& path)
{
    const QFileInfo info(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')));
    const QString found = resolve(info.path(), info.fileName());
    return found.isEmpty() ? info.filePath() : found;
}

} // namespace TemplateFiles
