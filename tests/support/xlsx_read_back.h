#pragma once

// Reads a written .xlsx back with tools of its own (the unzip program and an XML parser), so
// that tests check the file a spreadsheet program sees rather than trusting the writer.

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <optional>

struct XlsxCell {
    QString type; // "s" shared string, "inlineStr", "n" number, "b" boolean, "str" formula text
    QString text;
    QString numberFormat; // the format code of the cell's style ("@", "#,##0.00", "General")
};

struct XlsxSheet {
    QString name;
    QMap<QString, XlsxCell> cells; // by reference ("A1")
    bool has(const QString& ref) const { return cells.contains(ref); }
    QString text(const QString& ref) const { return cells.value(ref).text; }
    // Cells of one sheet column ("B"), header included.
    int cellsInColumn(const QString& letters) const
    {
        int count = 0;
        for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
            QString column;
            for (const QChar c : it.key()) {
                if (c.isLetter())
                    column += c;
            }
            if (column == letters)
                ++count;
        }
        return count;
    }
};

namespace XlsxReadBack {

inline bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty();
}

inline std::optional<QByteArray> entry(const QString& file, const QString& name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, name});
    if (!unzip.waitForFinished(60000) || unzip.exitStatus() != QProcess::NormalExit || unzip.exitCode() != 0)
        return std::nullopt;
    return unzip.readAllStandardOutput();
}

inline QString builtinFormat(int id)
{
    switch (id) {
    case 0:
        return QStringLiteral("General");
    case 49:
        return QStringLiteral("@");
    default:
        return QStringLiteral("builtin:%1").arg(id);
    }
}

// The first sheet; nothing when the file is not a readable workbook.
inline std::optional<XlsxSheet> firstSheet(const QString& file)
{
    const auto workbook = entry(file, QStringLiteral("xl/workbook.xml"));
    const auto sheetXml = entry(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    const auto stylesXml = entry(file, QStringLiteral("xl/styles.xml"));
    if (!workbook || !sheetXml || !stylesXml)
        return std::nullopt;
    XlsxSheet sheet;
    QXmlStreamReader wb(*workbook);
    while (!wb.atEnd()) {
        wb.readNext();
        if (wb.isStartElement() && wb.name() == QLatin1String("sheet")) {
            sheet.name = wb.attributes().value(QStringLiteral("name")).toString();
            break;
        }
    }

    QStringList shared;
    if (const auto sst = entry(file, QStringLiteral("xl/sharedStrings.xml"))) {
        QXmlStreamReader xml(*sst);
        QString current;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("si"))
                current.clear();
            else if (xml.isStartElement() && xml.name() == QLatin1String("t"))
                current += xml.readElementText();
            else if (xml.isEndElement() && xml.name() == QLatin1String("si"))
                shared << current;
        }
    }

    QHash<int, QString> customFormats;
    QStringList styleFormats;
    {
        QXmlStreamReader xml(*stylesXml);
        bool inCellXfs = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("numFmt")) {
                customFormats.insert(xml.attributes().value(QStringLiteral("numFmtId")).toInt(),
                                     xml.attributes().value(QStringLiteral("formatCode")).toString());
            } else if (xml.isStartElement() && xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = false;
            } else if (inCellXfs && xml.isStartElement() && xml.name() == QLatin1String("xf")) {
                const int id = xml.attributes().value(QStringLiteral("numFmtId")).toInt();
                styleFormats << customFormats.value(id, builtinFormat(id));
            }
        }
    }

    QXmlStreamReader xml(*sheetXml);
    QString ref;
    XlsxCell cell;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("c")) {
            ref = xml.attributes().value(QStringLiteral("r")).toString();
            cell = XlsxCell();
            cell.type = xml.attributes().value(QStringLiteral("t")).toString();
            if (cell.type.isEmpty())
                cell.type = QStringLiteral("n");
            cell.numberFormat = styleFormats.value(xml.attributes().value(QStringLiteral("s")).toInt(),
                                                   QStringLiteral("General"));
        } else if (xml.isStartElement() &&
                   (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t"))) {
            const QString value = xml.readElementText();
            cell.text = cell.type == QLatin1String("s") ? shared.value(value.toInt()) : cell.text + value;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
            sheet.cells.insert(ref, cell);
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return sheet;
}

} // namespace XlsxReadBack
