#include "print/report_text_layout.h"

#include "print/report_fonts.h"
#include "print/report_style.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QTextBoundaryFinder>

namespace {
constexpr double kReferencePoints = 100.0;
constexpr double kMmPerPoint = 25.4 / 72.0;
} // namespace

struct ReportTextLayout::Impl {
    bool metrics = false;
    QImage device;
    mutable QHash<QString, std::shared_ptr<QFontMetricsF>> cache;

    const QFontMetricsF* fontMetrics(const ReportStyle& style) const
    {
        const QString key =
            style.fontFamily + QLatin1Char(style.bold ? 'b' : '-') + QLatin1Char(style.italic ? 'i' : '-');
        auto it = cache.find(key);
        if (it == cache.end()) {
            // One point is one pixel on a 72 dpi device; measured at 100 pt and scaled.
            it = cache.insert(
                key, std::make_shared<QFontMetricsF>(ReportFonts::font(style, kReferencePoints), &device));
        }
        return it->get();
    }
};

ReportTextLayout::ReportTextLayout() : d(std::make_unique<Impl>())
{
    d->metrics = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (d->metrics) {
        d->device = QImage(1, 1, QImage::Format_RGB32);
        const int dpm = qRound(72.0 / 0.0254);
        d->device.setDotsPerMeterX(dpm);
        d->device.setDotsPerMeterY(dpm);
    }
}

ReportTextLayout::~ReportTextLayout() = default;

bool ReportTextLayout::usesFontMetrics() const
{
    return d->metrics;
}

double ReportTextLayout::lineHeight(const ReportStyle& style) const
{
    const double scale = style.fontSize / kReferencePoints * kMmPerPoint;
    if (!d->metrics)
        return style.fontSize * 1.25 * kMmPerPoint;
    return d->fontMetrics(style)->lineSpacing() * scale;
}

double ReportTextLayout::textWidth(QStringView text, const ReportStyle& style) const
{
    if (!d->metrics) {
        double em = 0;
        for (QChar c : text)
            em += c.unicode() >= 0x2E80 ? 1.0 : (c.isSpace() ? 0.3 : 0.55);
        return em * style.fontSize * kMmPerPoint;
    }
    return d->fontMetrics(style)->horizontalAdvance(text.toString()) * style.fontSize / kReferencePoints *
           kMmPerPoint;
}

QList<ReportTextLayout::Line> ReportTextLayout::wrap(const QString& text, const ReportStyle& style,
                                                     double width) const
{
    QList<Line> lines;
    const int n = int(text.size());
    int paraStart = 0;
    while (paraStart <= n) {
        int paraEnd = int(text.indexOf(QLatin1Char('\n'), paraStart));
        if (paraEnd < 0)
            paraEnd = n;
        int visibleEnd = paraEnd;
        if (visibleEnd > paraStart && text[visibleEnd - 1] == QLatin1Char('\r'))
            --visibleEnd;
        const QStringView para = QStringView(text).mid(paraStart, visibleEnd - paraStart);

        if (!style.wordWrap || para.isEmpty() || textWidth(para, style) <= width) {
            lines.append({paraStart, int(para.size())});
        } else {
            // Greedy fill over the line-break opportunities (spaces, between CJK characters).
            QTextBoundaryFinder finder(QTextBoundaryFinder::Line, para.toString());
            int lineStart = 0;
            double lineWidth = 0;
            int pos = 0;
            auto pushLine = [&](int end) {
                int e = end;
                while (e > lineStart && para[e - 1].isSpace())
                    --e;
                lines.append({paraStart + lineStart, e - lineStart});
            };
            while (pos < para.size()) {
                finder.setPosition(pos);
                int next = int(finder.toNextBoundary());
                if (next <= pos)
                    next = int(para.size());
                const QStringView chunk = para.mid(pos, next - pos);
                QStringView trimmed = chunk;
                while (!trimmed.isEmpty() && trimmed.back().isSpace())
                    trimmed.chop(1);
                const double chunkWidth = textWidth(chunk, style);
                const double visibleWidth = textWidth(trimmed, style);
                if (lineWidth + visibleWidth <= width || (pos == lineStart && visibleWidth <= width)) {
                    lineWidth += chunkWidth;
                    pos = next;
                    continue;
                }
                if (pos > lineStart) {
                    pushLine(pos);
                    lineStart = pos;
                    lineWidth = 0;
                    continue;
                }
                // One word wider than the column: break it between characters.
                int k = pos;
                double w = 0;
                while (k < next) {
                    const int step = (para[k].isHighSurrogate() && k + 1 < next) ? 2 : 1;
                    const double cw = textWidth(para.mid(k, step), style);
                    if (w + cw > width && k > pos)
                        break;
                    w += cw;
                    k += step;
                }
                pushLine(k);
                lineStart = pos = k;
                lineWidth = 0;
            }
            if (lineStart < para.size())
                pushLine(int(para.size()));
        }
        paraStart = paraEnd + 1;
        if (paraEnd == n)
            break;
    }
    return lines;
}
