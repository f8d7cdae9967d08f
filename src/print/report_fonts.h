#pragma once

#include <QFont>
#include <QStringList>

struct ReportStyle;

// Fonts of printed output. Templates name the faces shops know ("宋体", "黑体", "Arial"); this
// maps them to the faces installed here, with the Song face (AR PL UMing) for 宋体.
namespace ReportFonts {
QStringList families(const QString& family);
// The style's face at the given point size, unhinted so that widths scale exactly with size.
QFont font(const ReportStyle& style, double pointSize);
} // namespace ReportFonts
