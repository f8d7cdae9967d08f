#include "print/report_template_writer.h"

#include "print/report_template.h"

#include <QSaveFile>
#include <QXmlStreamWriter>

namespace {

QString num(double v)
{
    // Tenths of a millimetre are plenty; avoids 12.300000000000001 in the file.
    return QString::number(std::round(v * 1000.0) / 1000.0, 'g', 10);
}

void writeFlag(QXmlStreamWriter& w, const char* name, bool value, bool defaultValue)
{
    if (value != defaultValue)
        w.writeAttribute(QLatin1String(name), value ? QStringLiteral("true") : QStringLiteral("false"));
}

void writeText(QXmlStreamWriter& w, const char* name, const QString& value)
{
    if (!value.isEmpty())
        w.writeAttribute(QLatin1String(name), value);
}

QString colorName(const QColor& c)
{
    return c.alpha() == 255 ? c.name(QColor::HexRgb) : c.name(QColor::HexArgb);
}

void writeStyle(QXmlStreamWriter& w, const ReportStyle& s, ReportObject::Kind kind)
{
    const ReportStyle d;
    const bool textual = kind == ReportObject::Kind::Text || kind == ReportObject::Kind::Field;
    if (textual || kind == ReportObject::Kind::CheckBox) {
        if (s.fontFamily != d.fontFamily)
            w.writeAttribute(QStringLiteral("font"), s.fontFamily);
        if (s.fontSize != d.fontSize)
            w.writeAttribute(QStringLiteral("size"), num(s.fontSize));
        writeFlag(w, "bold", s.bold, false);
        writeFlag(w, "italic", s.italic, false);
        writeFlag(w, "underline", s.underline, false);
        if (s.textColor != d.textColor)
            w.writeAttribute(QStringLiteral("color"), colorName(s.textColor));
        if (s.hAlign != d.hAlign)
            w.writeAttribute(QStringLiteral("align"), s.hAlign == ReportStyle::HAlign::Center
                                                          ? QStringLiteral("center")
                                                          : QStringLiteral("right"));
        if (s.vAlign != d.vAlign)
            w.writeAttribute(QStringLiteral("valign"), s.vAlign == ReportStyle::VAlign::Middle
                                                           ? QStringLiteral("middle")
                                                           : QStringLiteral("bottom"));
        writeFlag(w, "wrap", s.wordWrap, true);
    }
    if (s.fillColor.isValid())
        w.writeAttribute(QStringLiteral("fill"), colorName(s.fillColor));
    if (kind == ReportObject::Kind::Line) {
        if (s.frameWidth != 0.3)
            w.writeAttribute(QStringLiteral("lineWidth"), num(s.frameWidth));
    } else {
        if (s.frameSides != 0) {
            QString sides;
            if (s.frameSides == ReportStyle::FrameAll) {
                sides = QStringLiteral("all");
            } else {
                if (s.frameSides & ReportStyle::FrameLeft)
                    sides += QLatin1Char('l');
                if (s.frameSides & ReportStyle::FrameTop)
                    sides += QLatin1Char('t');
                if (s.frameSides & ReportStyle::FrameRight)
                    sides += QLatin1Char('r');
                if (s.frameSides & ReportStyle::FrameBottom)
                    sides += QLatin1Char('b');
            }
            w.writeAttribute(QStringLiteral("frame"), sides);
        }
        if (s.frameWidth != d.frameWidth)
            w.writeAttribute(QStringLiteral("frameWidth"), num(s.frameWidth));
    }
    if (s.frameColor != d.frameColor)
        w.writeAttribute(QStringLiteral("frameColor"), colorName(s.frameColor));
}

const char* elementName(ReportObject::Kind kind)
{
    switch (kind) {
    case ReportObject::Kind::Text:
        return "text";
    case ReportObject::Kind::Field:
        return "field";
    case ReportObject::Kind::Line:
        return "line";
    case ReportObject::Kind::Rectangle:
        return "rect";
    case ReportObject::Kind::Picture:
        return "picture";
    case ReportObject::Kind::CheckBox:
        return "checkbox";
    }
    return "text";
}

void writeObject(QXmlStreamWriter& w, const ReportObject& o)
{
    w.writeStartElement(QLatin1String(elementName(o.kind)));
    writeText(w, "name", o.name);
    w.writeAttribute(QStringLiteral("x"), num(o.rect.x()));
    w.writeAttribute(QStringLiteral("y"), num(o.rect.y()));
    w.writeAttribute(QStringLiteral("width"), num(o.rect.width()));
    w.writeAttribute(QStringLiteral("height"), num(o.rect.height()));
    writeStyle(w, o.style, o.kind);
    writeText(w, "format", o.displayFormat);
    writeFlag(w, "stretch", o.stretch, false);
    if (o.kind == ReportObject::Kind::Picture) {
        writeText(w, "file", o.pictureFile);
        writeFlag(w, "keepAspect", o.keepAspect, true);
        if (!o.pictureData.isEmpty())
            w.writeAttribute(QStringLiteral("data"), QString::fromLatin1(o.pictureData.toBase64()));
    }
    if (!o.text.isEmpty())
        w.writeCharacters(o.text);
    w.writeEndElement();
}

} // namespace

QByteArray ReportTemplateWriter::write(const ReportTemplate& t)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("report"));
    w.writeAttribute(QStringLiteral("format"), QStringLiteral("corvalin-report"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    writeText(w, "title", t.title);
    writeFlag(w, "repeated", t.repeated, false);

    w.writeEmptyElement(QStringLiteral("page"));
    const ReportPageSetup& p = t.page;
    w.writeAttribute(QStringLiteral("paper"), p.paper);
    if (p.paper.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0) {
        w.writeAttribute(QStringLiteral("width"), num(p.width));
        w.writeAttribute(QStringLiteral("height"), num(p.height));
    }
    w.writeAttribute(QStringLiteral("orientation"),
                     p.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    w.writeAttribute(QStringLiteral("left"), num(p.marginLeft));
    w.writeAttribute(QStringLiteral("top"), num(p.marginTop));
    w.writeAttribute(QStringLiteral("right"), num(p.marginRight));
    w.writeAttribute(QStringLiteral("bottom"), num(p.marginBottom));

    const ReportBand d;
    for (const ReportBand& b : t.bands) {
        w.writeStartElement(QStringLiteral("band"));
        w.writeAttribute(QStringLiteral("kind"), ReportBand::kindName(b.kind));
        w.writeAttribute(QStringLiteral("name"), b.name);
        w.writeAttribute(QStringLiteral("height"), num(b.height));
        writeText(w, "source", b.source);
        if (b.rows == ReportBand::Rows::Current)
            w.writeAttribute(QStringLiteral("rows"), QStringLiteral("current"));
        writeText(w, "master", b.master);
        writeText(w, "masterField", b.masterField);
        writeText(w, "detailField", b.detailField);
        writeText(w, "detail", b.detail);
        writeText(w, "condition", b.condition);
        writeText(w, "group", b.group);
        writeFlag(w, "stretch", b.stretch, d.stretch);
        writeFlag(w, "newPageBefore", b.newPageBefore, d.newPageBefore);
        writeFlag(w, "newPageAfter", b.newPageAfter, d.newPageAfter);
        writeFlag(w, "printIfEmpty", b.printIfEmpty, d.printIfEmpty);
        writeFlag(w, "onFirstPage", b.onFirstPage, d.onFirstPage);
        writeFlag(w, "repeat", b.repeat, d.repeat);
        for (const ReportObject& o : b.objects)
            writeObject(w, o);
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

bool ReportTemplateWriter::writeFile(const ReportTemplate& report, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray data = write(report);
    if (file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
