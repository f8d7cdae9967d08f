#pragma once

#include <QString>
#include <QStringList>

// The settings file config.ini. Section and key names match without regard to case; every
// change is written at once (a temporary file renamed over the old one); comments, unknown
// keys and the order of lines are kept.
class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QString& path) { load(path); }

    // Reads the file. A missing file is an empty one. A file that cannot be read as text is
    // set aside (renamed with ".bad") and replaced by an empty one; false tells the caller to
    // report it.
    bool load(const QString& path);
    QString path() const { return m_path; }
    QString loadProblem() const { return m_problem; }

    QString value(const QString& section, const QString& key, const QString& fallback = {}) const;
    int intValue(const QString& section, const QString& key, int fallback = 0) const;
    bool boolValue(const QString& section, const QString& key, bool fallback = false) const;
    bool contains(const QString& section, const QString& key) const;

    // Sets and writes at once; false when the file could not be written.
    bool setValue(const QString& section, const QString& key, const QString& value);
    bool setValue(const QString& section, const QString& key, int value);
    bool setBool(const QString& section, const QString& key, bool value);

private:
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;
    bool save();

    QString m_path;
    QString m_problem;
    QStringList m_lines;
};
