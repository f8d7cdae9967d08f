#pragma once

#include "print/report_style.h"

#include <QByteArray>
#include <QRectF>
#include <QString>

// One object of a band. Positions are millimetres from the band's top-left corner (the left
// page margin); a line runs from the rectangle's top-left to its bottom-right corner.
struct ReportObject {
    enum class Kind { Text, Field, Line, Rectangle, Picture, CheckBox };

    Kind kind = Kind::Text;
    QString name;
    QRectF rect;
    // Text: literal text with [expressions]. Field, check box and picture: one expression
    // without brackets (frMain."F_client"); an empty picture expression uses file or data.
    QString text;
    QString displayFormat; // numbers ",0.00", dates "yyyy年MM月dd日"
    ReportStyle style;
    bool stretch = false;   // grows with its text; the band grows with it
    QString pictureFile;    // relative to the template's folder
    QByteArray pictureData; // embedded picture bytes
    bool keepAspect = true;

    bool operator==(const ReportObject&) const = default;
};
