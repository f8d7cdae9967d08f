#pragma once

#include <QByteArray>
#include <QString>

class ReportTemplate;

// Reads the XML template format (docs/report-templates.md). Anything damaged, unknown or beyond
// ReportLimits is refused with a Chinese message that names the line; nothing is half-read.
class ReportTemplateReader {
public:
    static bool read(const QByteArray& data, ReportTemplate* out, QString* error);
    static bool readFile(const QString& path, ReportTemplate* out, QString* error);
};
