#pragma once

class PreparedReport;
class Report;

// Where prepared reports are shown and templates designed: the preview and designer windows in
// the program, a recording fake in tests.
class ReportViewer {
public:
    virtual ~ReportViewer() = default;
    // Shows the pages modally; returns when the user closes the preview.
    virtual void showPreview(const PreparedReport& report) = 0;
    // Opens the designer modally on the report's layout and ties; it saves to report.filePath().
    virtual void showDesigner(Report& report) = 0;
};
