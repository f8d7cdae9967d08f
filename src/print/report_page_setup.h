#pragma once

#include <QString>

// Paper and margins in millimetres; A4 portrait unless the template says otherwise.
struct ReportPageSetup {
    QString paper = QStringLiteral("A4"); // A4, A5, B5, Letter or Custom
    double width = 210.0;
    double height = 297.0;
    bool landscape = false;
    double marginLeft = 15.0;
    double marginTop = 12.0;
    double marginRight = 15.0;
    double marginBottom = 12.0;

    bool operator==(const ReportPageSetup&) const = default;

    // Width and height of the sheet as printed, after the orientation.
    double pageWidth() const { return landscape ? height : width; }
    double pageHeight() const { return landscape ? width : height; }
    double bodyWidth() const { return pageWidth() - marginLeft - marginRight; }
    double bodyHeight() const { return pageHeight() - marginTop - marginBottom; }

    // Sets width and height from a known paper name; false for an unknown name.
    bool setPaper(const QString& name);
};
