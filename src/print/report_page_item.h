#pragma once

#include "print/report_text_layout.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

// One thing drawn on a prepared page, in millimetres from the sheet's top-left corner. Text is
// already broken into lines, so every output (screen, printer, PDF) shows the same lines.
struct ReportPageItem {
    enum class Kind { Text, Line, Rectangle, Picture, CheckBox };

    Kind kind = Kind::Text;
    QRectF rect;
    int style = -1; // index into PreparedReport::styles
    int band = -1;  // index into ReportPage::bands
    QString name;   // the template object's name
    QString text;
    QList<ReportTextLayout::Line> lines;
    double lineHeight = 0;
    bool clip = false; // the text does not fit its frame
    bool checked = false;
    QImage image;
    bool keepAspect = true;

    QString lineText(int i) const { return text.mid(lines[i].start, lines[i].length); }
};
