#pragma once

#include <QByteArray>
#include <QString>

class ReportTemplate;

// Writes the XML template format; attributes at their defaults are left out to keep files short.
class ReportTemplateWriter {
public:
    static QByteArray write(const ReportTemplate& report);
    // Replaces the file only once the whole new text is written (QSaveFile).
    static bool writeFile(const ReportTemplate& report, const QString& path, QString* error);
};
