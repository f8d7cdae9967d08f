#pragma once

#include <QColor>
#include <QString>

// How a text, field, shape or check box looks. Page items refer to a shared table of these, so a
// thousand rows of one cell cost one style.
struct ReportStyle {
    enum class HAlign { Left, Center, Right };
    enum class VAlign { Top, Middle, Bottom };
    enum FrameSide { FrameLeft = 1, FrameTop = 2, FrameRight = 4, FrameBottom = 8, FrameAll = 15 };

    QString fontFamily = QStringLiteral("宋体");
    double fontSize = 10.0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor textColor = QColor(Qt::black);
    QColor fillColor; // invalid: transparent
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    int frameSides = 0;
    double frameWidth = 0.2; // mm
    QColor frameColor = QColor(Qt::black);
    bool wordWrap = true;

    bool operator==(const ReportStyle&) const = default;
};
