#pragma once

#include <QtGlobal>

// Bounds that keep a damaged or hostile template from taking the program down: anything beyond
// them is refused with a message instead of being built.
namespace ReportLimits {
constexpr qint64 maxFileBytes = 8 * 1024 * 1024;
constexpr int maxBands = 200;
constexpr int maxObjects = 5000;
constexpr int maxTextLength = 65536;
constexpr qint64 maxPictureBytes = 4 * 1024 * 1024;
constexpr double maxLength = 2000.0; // mm, any size or position
constexpr double minPaper = 20.0;    // mm
constexpr double minFontSize = 1.0;  // points
constexpr double maxFontSize = 200.0;
constexpr double maxLineWidth = 20.0; // mm
constexpr int maxExpressionDepth = 64;
constexpr int maxPages = 5000;
constexpr qint64 maxPageItems = 1000000; // about 300 MB of prepared pages
} // namespace ReportLimits
