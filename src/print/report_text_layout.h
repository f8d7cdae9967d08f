#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>

struct ReportStyle;

// Measures and wraps text in millimetres, with the same unhinted fonts the renderer uses. Without
// a GUI application (a core test, a command-line export) there is no font database; widths are
// then estimated (full width for CJK, about half for Latin), so layout still works everywhere.
class ReportTextLayout {
public:
    struct Line {
        int start = 0;
        int length = 0;
    };

    // Space between a text and its frame, in millimetres.
    static constexpr double paddingX = 0.6;
    static constexpr double paddingY = 0.3;

    ReportTextLayout();
    ~ReportTextLayout();

    bool usesFontMetrics() const;
    double lineHeight(const ReportStyle& style) const;
    double textWidth(QStringView text, const ReportStyle& style) const;
    // Lines of the text in a column of the given width; hard line breaks always count.
    QList<Line> wrap(const QString& text, const ReportStyle& style, double width) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
