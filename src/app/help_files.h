#pragma once

#include <QString>
#include <QStringList>

// The help page and the text files of the help menu. They are delivered beside the program;
// the program home may be elsewhere (--home, a read-only program folder), so both are searched.
namespace HelpFiles {

inline QString helpPage()
{
    return QStringLiteral("help/index.html");
}
inline QString questions()
{
    return QStringLiteral("WenTi.txt");
}
inline QString readme()
{
    return QStringLiteral("readme.txt");
}
inline QString whatsNew()
{
    return QStringLiteral("whatisnew.txt");
}

// The first existing file of that relative name in the folders, matched without regard to
// letter case; empty when there is none.
QString locate(const QString& relativeName, const QStringList& folders);

QString missingMessage(const QString& relativeName);

} // namespace HelpFiles
