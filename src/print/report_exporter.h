#pragma once

#include <QString>

class PreparedReport;

// Saves prepared pages as PDF, or their text as CSV (";" between cells), HTML or plain text.
// The text formats keep one copy of headers repeated on continued pages and leave out page
// footers, so a list saved as CSV reads as one table.
class ReportExporter {
public:
    enum class Format { Pdf, Csv, Html, Text };

    // Format by the file's suffix (pdf, csv, htm/html, txt); false when unknown.
    static bool formatForFile(const QString& path, Format* format);
    // Writes the whole file or nothing (the old file stays when writing fails).
    static bool exportTo(const PreparedReport& report, Format format, const QString& path, QString* error);

    static QString toCsv(const PreparedReport& report);
    static QString toHtml(const PreparedReport& report);
    static QString toText(const PreparedReport& report);
};
