#include "app/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

bool isSectionLine(const QString& line, QString* name = nullptr)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool isComment(const QString& line)
{
    const QString t = line.trimmed();
    return t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

// The key of a "key=value" line, empty for anything else.
QString keyOf(const QString& line)
{
    if (isComment(line) || isSectionLine(line))
        return {};
    const int eq = int(line.indexOf(QLatin1Char('=')));
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

} // namespace

bool IniFile::load(const QString& path)
{
    m_path = path;
    m_problem.clear();
    m_lines.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_problem = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || bytes.contains('\0')) {
        // Not a text file of ours: keep it aside for inspection and start from defaults.
        m_problem = QStringLiteral("the settings file is not readable text");
        const QString aside = path + QStringLiteral(".bad");
        QFile::remove(aside);
        QFile::rename(path, aside);
        return false;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_lines = text.split(QLatin1Char('\n'));
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    return true;
}

int IniFile::findSection(const QString& section) const
{
    QString name;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines.at(i), &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key) const
{
    for (int i = sectionLine + 1; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines.at(i)))
            break;
        if (keyOf(m_lines.at(i)).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    QString name;
    // The same section may appear more than once; the first occurrence of the key wins.
    for (int i = 0; i < m_lines.size(); ++i) {
        if (isSectionLine(m_lines.at(i), &name) && name.compare(section, Qt::CaseInsensitive) == 0
            && findKey(i, key) >= 0)
            return true;
    }
    return false;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const
{
    QString name;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (!isSectionLine(m_lines.at(i), &name) || name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        const int line = findKey(i, key);
        if (line >= 0) {
            const QString& text = m_lines.at(line);
            return text.mid(text.indexOf(QLatin1Char('=')) + 1).trimmed();
        }
    }
    return fallback;
}

int IniFile::intValue(const QString& section, const QString& key, int fallback) const
{
    bool ok = false;
    const int v = value(section, key).toInt(&ok);
    return ok ? v : fallback;
}

bool IniFile::boolValue(const QString& section, const QString& key, bool fallback) const
{
    const QString v = value(section, key).toLower();
    if (v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("yes"))
        return true;
    if (v == QLatin1String("0") || v == QLatin1String("false") || v == QLatin1String("no"))
        return false;
    return fallback;
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString entry = key + QLatin1Char('=') + QString(value).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QString name;
    int sectionLine = -1;
    for (int i = 0; i < m_lines.size() && sectionLine < 0; ++i) {
        if (isSectionLine(m_lines.at(i), &name) && name.compare(section, Qt::CaseInsensitive) == 0) {
            const int line = findKey(i, key);
            if (line >= 0) {
                m_lines[line] = entry;
                return save();
            }
        }
    }
    sectionLine = findSection(section);
    if (sectionLine < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines << QString();
        m_lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        return save();
    }
    int insertAt = sectionLine + 1;
    for (int i = sectionLine + 1; i < m_lines.size() && !isSectionLine(m_lines.at(i)); ++i) {
        if (!m_lines.at(i).trimmed().isEmpty())
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, entry);
    return save();
}

bool IniFile::setValue(const QString& section, const QString& key, int value)
{
    return setValue(section, key, QString::number(value));
}

bool IniFile::setBool(const QString& section, const QString& key, bool value)
{
    return setValue(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::save()
{
    if (m_path.isEmpty())
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((m_lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return file.commit();
}
