#include "print/report_exporter.h"

#include "print/prepared_report.h"
#include "print/report_renderer.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

namespace {

using Row = QList<const ReportPageItem*>;

// Text rows of the report in reading order: each band's texts grouped into lines by their top
// edge, left to right.
QList<Row> textRows(const PreparedReport& report)
{
    QList<Row> rows;
    for (int p = 0; p < report.pageCount(); ++p) {
        const ReportPage& page = report.pages[p];
        QList<QList<const ReportPageItem*>> byBand(page.bands.size());
        for (const ReportPageItem& item : page.items)
            if (item.kind == ReportPageItem::Kind::Text && item.band >= 0 && item.band < page.bands.size())
                byBand[item.band] << &item;
        for (int b = 0; b < page.bands.size(); ++b) {
            const ReportPage::Band& band = page.bands[b];
            if (band.repeated || band.kind == ReportBand::Kind::PageFooter ||
                (band.kind == ReportBand::Kind::PageHeader && p > 0))
                continue;
            Row items = byBand[b];
            std::stable_sort(items.begin(), items.end(),
                             [](const ReportPageItem* a, const ReportPageItem* c) {
                                 return a->rect.top() < c->rect.top();
                             });
            Row current;
            double top = 0;
            for (const ReportPageItem* item : items) {
                if (!current.isEmpty() && item->rect.top() - top > 1.0) {
                    rows << current;
                    current.clear();
                }
                if (current.isEmpty())
                    top = item->rect.top();
                current << item;
            }
            if (!current.isEmpty())
                rows << current;
        }
    }
    for (Row& row : rows)
        std::stable_sort(row.begin(), row.end(), [](const ReportPageItem* a, const ReportPageItem* b) {
            return a->rect.left() < b->rect.left();
        });
    return rows;
}

QString csvCell(QString text)
{
    // A cell that a spreadsheet would run as a formula is kept as text.
    if (!text.isEmpty()) {
        const QChar c = text[0];
        bool number = false;
        text.toDouble(&number);
        if (c == QLatin1Char('=') || c == QLatin1Char('@') || c == QLatin1Char('\t') ||
            c == QLatin1Char('\r') || ((c == QLatin1Char('+') || c == QLatin1Char('-')) && !number))
            text.prepend(QLatin1Char('\''));
    }
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\""), QLatin1String("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

int displayWidth(const QString& text)
{
    int w = 0;
    for (QChar c : text)
        w += c.unicode() >= 0x2E80 ? 2 : 1;
    return w;
}

QString css(double mm)
{
    return QString::number(mm, 'f', 2) + QLatin1String("mm");
}

} // namespace

bool ReportExporter::formatForFile(const QString& path, Format* format)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        *format = Format::Pdf;
    else if (suffix == QLatin1String("csv"))
        *format = Format::Csv;
    else if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        *format = Format::Html;
    else if (suffix == QLatin1String("txt"))
        *format = Format::Text;
    else
        return false;
    return true;
}

QString ReportExporter::toCsv(const PreparedReport& report)
{
    QString out;
    for (const Row& row : textRows(report)) {
        QStringList cells;
        for (const ReportPageItem* item : row)
            cells << csvCell(item->text);
        out += cells.join(QLatin1Char(';'));
        out += QLatin1String("\r\n");
    }
    return out;
}

QString ReportExporter::toText(const PreparedReport& report)
{
    QString out;
    for (const Row& row : textRows(report)) {
        QString line;
        int width = 0;
        for (const ReportPageItem* item : row) {
            QString text = item->text;
            text.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
            // About two millimetres per character column keeps the printed columns lined up.
            const int column = qMax(0, int(std::lround(item->rect.left() / 2.0)) - 6);
            const int pad = width == 0 ? column : qMax(1, column - width);
            line += QString(pad, QLatin1Char(' ')) + text;
            width += pad + displayWidth(text);
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line + QLatin1Char('\n');
    }
    return out;
}

QString ReportExporter::toHtml(const PreparedReport& report)
{
    QString out;
    out += QLatin1String("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>");
    out += report.title.toHtmlEscaped();
    out += QLatin1String("</title>\n<style>body{background:#888;margin:0;padding:8mm}"
                         ".page{position:relative;background:#fff;margin:0 auto 8mm auto;overflow:hidden}"
                         ".i{position:absolute;box-sizing:border-box;overflow:hidden;white-space:pre-wrap;"
                         "line-height:1.15}</style></head><body>\n");
    for (int p = 0; p < report.pageCount(); ++p) {
        out += QStringLiteral("<div class=\"page\" style=\"width:%1;height:%2\">\n")
                   .arg(css(report.pageSize.width()), css(report.pageSize.height()));
        for (const ReportPageItem& item : report.pages[p].items) {
            const ReportStyle& s = report.style(item);
            const QRectF& r = item.rect;
            QString style =
                QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
                    .arg(css(r.left()), css(r.top()), css(qAbs(r.width())), css(qAbs(r.height())));
            if (item.kind == ReportPageItem::Kind::Line) {
                const bool vertical = qAbs(r.width()) < qAbs(r.height());
                style += QStringLiteral("border-%1:%2 solid %3;")
                             .arg(vertical ? QStringLiteral("left") : QStringLiteral("top"),
                                  css(s.frameWidth), s.frameColor.name());
                out += QStringLiteral("<div class=\"i\" style=\"%1\"></div>\n").arg(style);
                continue;
            }
            if (s.fillColor.isValid())
                style += QStringLiteral("background:%1;").arg(s.fillColor.name());
            const char* sides[] = {"left", "top", "right", "bottom"};
            const int flags[] = {ReportStyle::FrameLeft, ReportStyle::FrameTop, ReportStyle::FrameRight,
                                 ReportStyle::FrameBottom};
            for (int k = 0; k < 4; ++k)
                if (s.frameSides & flags[k])
                    style += QStringLiteral("border-%1:%2 solid %3;")
                                 .arg(QLatin1String(sides[k]), css(s.frameWidth), s.frameColor.name());
            QString content;
            switch (item.kind) {
            case ReportPageItem::Kind::Text: {
                style +=
                    QStringLiteral("font-family:'%1',serif;font-size:%2pt;color:%3;padding:0.3mm 0.6mm;")
                        .arg(s.fontFamily.toHtmlEscaped(), QString::number(s.fontSize), s.textColor.name());
                if (s.bold)
                    style += QLatin1String("font-weight:bold;");
                if (s.italic)
                    style += QLatin1String("font-style:italic;");
                if (s.underline)
                    style += QLatin1String("text-decoration:underline;");
                if (s.hAlign != ReportStyle::HAlign::Left)
                    style += s.hAlign == ReportStyle::HAlign::Center ? QLatin1String("text-align:center;")
                                                                     : QLatin1String("text-align:right;");
                if (s.vAlign != ReportStyle::VAlign::Top)
                    style += QStringLiteral("display:flex;flex-direction:column;justify-content:%1;")
                                 .arg(s.vAlign == ReportStyle::VAlign::Middle ? QStringLiteral("center")
                                                                              : QStringLiteral("flex-end"));
                QStringList lines;
                for (int i = 0; i < item.lines.size(); ++i)
                    lines << item.lineText(i).toHtmlEscaped();
                content = s.vAlign != ReportStyle::VAlign::Top
                              ? QStringLiteral("<span>%1</span>").arg(lines.join(QLatin1String("<br>")))
                              : lines.join(QLatin1String("<br>"));
                break;
            }
            case ReportPageItem::Kind::Picture:
                if (!item.image.isNull()) {
                    QByteArray png;
                    QBuffer buffer(&png);
                    buffer.open(QIODevice::WriteOnly);
                    item.image.save(&buffer, "PNG");
                    content = QStringLiteral("<img style=\"width:100%;height:100%;object-fit:%1\" "
                                             "src=\"data:image/png;base64,%2\">")
                                  .arg(item.keepAspect ? QStringLiteral("contain") : QStringLiteral("fill"),
                                       QString::fromLatin1(png.toBase64()));
                }
                break;
            case ReportPageItem::Kind::CheckBox:
                style += QLatin1String("text-align:center;font-size:10pt;");
                content = item.checked ? QStringLiteral("&#9745;") : QStringLiteral("&#9744;");
                break;
            default:
                break;
            }
            out += QStringLiteral("<div class=\"i\" style=\"%1\">%2</div>\n").arg(style, content);
        }
        out += QLatin1String("</div>\n");
    }
    out += QLatin1String("</body></html>\n");
    return out;
}

bool ReportExporter::exportTo(const PreparedReport& report, Format format, const QString& path,
                              QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("无法写入文件“%1”：%2").arg(path, file.errorString());
        return false;
    }
    if (format == Format::Pdf) {
        QPdfWriter writer(&file);
        writer.setTitle(report.title);
        writer.setCreator(QStringLiteral("Corvalin"));
        writer.setResolution(600);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setPageSize(QPageSize(report.pageSize, QPageSize::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            if (error)
                *error = QStringLiteral("无法生成 PDF 文件“%1”").arg(path);
            return false;
        }
        const QRectF target(0, 0, report.pageSize.width() / 25.4 * writer.resolution(),
                            report.pageSize.height() / 25.4 * writer.resolution());
        for (int p = 0; p < report.pageCount(); ++p) {
            if (p > 0)
                writer.newPage();
            ReportRenderer::paintPage(painter, report, p, target);
        }
        painter.end();
    } else {
        QByteArray data;
        if (format == Format::Csv)
            data = "\xEF\xBB\xBF" + toCsv(report).toUtf8(); // the mark lets spreadsheets read UTF-8
        else if (format == Format::Html)
            data = toHtml(report).toUtf8();
        else
            data = "\xEF\xBB\xBF" + toText(report).toUtf8();
        if (file.write(data) != data.size()) {
            file.cancelWriting();
            if (error)
                *error = QStringLiteral("无法写入文件“%1”：%2").arg(path, file.errorString());
            return false;
        }
    }
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("无法写入文件“%1”：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}
