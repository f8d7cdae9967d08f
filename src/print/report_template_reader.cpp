#include "print/report_template_reader.h"

#include "print/report_limits.h"
#include "print/report_template.h"

#include <QFile>
#include <QXmlStreamReader>

#include <cmath>

namespace {

constexpr int kFormatVersion = 1;

class Parser {
public:
    explicit Parser(const QByteArray& data) : m_xml(data) {}

    bool run(ReportTemplate* out, QString* error);

private:
    bool fail(const QString& text)
    {
        if (m_error.isEmpty())
            m_error = QStringLiteral("第 %1 行：%2").arg(m_xml.lineNumber()).arg(text);
        return false;
    }
    bool next();
    bool readReport(ReportTemplate& t);
    bool readPage(ReportPageSetup& page);
    bool readBand(ReportTemplate& t);
    bool readObject(ReportBand& band, ReportObject::Kind kind);

    QString text(const char* name) const { return m_xml.attributes().value(QLatin1String(name)).toString(); }
    bool has(const char* name) const { return m_xml.attributes().hasAttribute(QLatin1String(name)); }
    bool number(const char* name, double* value, double min, double max);
    bool flag(const char* name, bool* value);
    bool color(const char* name, QColor* value);
    bool boundedText(const char* name, QString* value);
    bool style(ReportStyle& s);

    QXmlStreamReader m_xml;
    QString m_error;
    int m_objects = 0;
};

bool Parser::next()
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::DTD:
            return fail(QStringLiteral("模板中不允许有文档类型定义"));
        case QXmlStreamReader::EntityReference:
            return fail(QStringLiteral("模板中不允许有实体引用"));
        case QXmlStreamReader::StartElement:
        case QXmlStreamReader::EndElement:
            return true;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(QStringLiteral("此处不应有文字“%1”").arg(m_xml.text().left(20).toString()));
            break;
        default:
            break;
        }
    }
    if (m_xml.hasError())
        return fail(QStringLiteral("XML 格式错误（%1）").arg(m_xml.errorString()));
    return fail(QStringLiteral("文件不完整"));
}

bool Parser::number(const char* name, double* value, double min, double max)
{
    if (!has(name))
        return true;
    bool ok = false;
    const double v = text(name).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return fail(QStringLiteral("属性 %1 不是数字").arg(QLatin1String(name)));
    if (v < min || v > max)
        return fail(QStringLiteral("属性 %1 的值 %2 超出范围（%3 至 %4）")
                        .arg(QLatin1String(name))
                        .arg(v)
                        .arg(min)
                        .arg(max));
    *value = v;
    return true;
}

bool Parser::flag(const char* name, bool* value)
{
    if (!has(name))
        return true;
    const QString v = text(name).trimmed().toLower();
    if (v == QLatin1String("true") || v == QLatin1String("1") || v == QLatin1String("yes"))
        *value = true;
    else if (v == QLatin1String("false") || v == QLatin1String("0") || v == QLatin1String("no"))
        *value = false;
    else
        return fail(QStringLiteral("属性 %1 应为 true 或 false").arg(QLatin1String(name)));
    return true;
}

bool Parser::color(const char* name, QColor* value)
{
    if (!has(name))
        return true;
    const QString v = text(name).trimmed();
    if (v.isEmpty() || v.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0) {
        *value = QColor();
        return true;
    }
    const QColor c = QColor::fromString(v);
    if (!c.isValid())
        return fail(QStringLiteral("属性 %1 不是有效的颜色").arg(QLatin1String(name)));
    *value = c;
    return true;
}

bool Parser::boundedText(const char* name, QString* value)
{
    if (!has(name))
        return true;
    const auto v = m_xml.attributes().value(QLatin1String(name));
    if (v.size() > ReportLimits::maxTextLength)
        return fail(QStringLiteral("属性 %1 太长").arg(QLatin1String(name)));
    *value = v.toString();
    return true;
}

bool Parser::style(ReportStyle& s)
{
    if (!boundedText("font", &s.fontFamily))
        return false;
    if (s.fontFamily.size() > 100)
        return fail(QStringLiteral("字体名称太长"));
    if (!number("size", &s.fontSize, ReportLimits::minFontSize, ReportLimits::maxFontSize) ||
        !flag("bold", &s.bold) || !flag("italic", &s.italic) || !flag("underline", &s.underline) ||
        !color("color", &s.textColor) || !color("fill", &s.fillColor) ||
        !color("frameColor", &s.frameColor) ||
        !number("frameWidth", &s.frameWidth, 0.0, ReportLimits::maxLineWidth) || !flag("wrap", &s.wordWrap))
        return false;
    if (!s.textColor.isValid())
        s.textColor = Qt::black;
    if (!s.frameColor.isValid())
        s.frameColor = Qt::black;
    if (has("align")) {
        const QString a = text("align").trimmed().toLower();
        if (a == QLatin1String("left"))
            s.hAlign = ReportStyle::HAlign::Left;
        else if (a == QLatin1String("center"))
            s.hAlign = ReportStyle::HAlign::Center;
        else if (a == QLatin1String("right"))
            s.hAlign = ReportStyle::HAlign::Right;
        else
            return fail(QStringLiteral("对齐方式“%1”无效").arg(a.left(20)));
    }
    if (has("valign")) {
        const QString a = text("valign").trimmed().toLower();
        if (a == QLatin1String("top"))
            s.vAlign = ReportStyle::VAlign::Top;
        else if (a == QLatin1String("middle"))
            s.vAlign = ReportStyle::VAlign::Middle;
        else if (a == QLatin1String("bottom"))
            s.vAlign = ReportStyle::VAlign::Bottom;
        else
            return fail(QStringLiteral("垂直对齐方式“%1”无效").arg(a.left(20)));
    }
    if (has("frame")) {
        const QString f = text("frame").trimmed().toLower();
        s.frameSides = 0;
        if (f == QLatin1String("all")) {
            s.frameSides = ReportStyle::FrameAll;
        } else if (f != QLatin1String("none") && !f.isEmpty()) {
            for (QChar c : f) {
                switch (c.unicode()) {
                case 'l':
                    s.frameSides |= ReportStyle::FrameLeft;
                    break;
                case 't':
                    s.frameSides |= ReportStyle::FrameTop;
                    break;
                case 'r':
                    s.frameSides |= ReportStyle::FrameRight;
                    break;
                case 'b':
                    s.frameSides |= ReportStyle::FrameBottom;
                    break;
                default:
                    return fail(
                        QStringLiteral("边框“%1”无效（用 l t r b 的组合、all 或 none）").arg(f.left(20)));
                }
            }
        }
    }
    return true;
}

bool Parser::run(ReportTemplate* out, QString* error)
{
    ReportTemplate t;
    t.page = ReportPageSetup();
    bool ok = next();
    if (ok && m_xml.name() != QLatin1String("report"))
        ok = fail(QStringLiteral("根元素应为 report"));
    ok = ok && readReport(t);
    if (ok) {
        // Nothing but comments may follow the report element.
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement || token == QXmlStreamReader::DTD ||
                (token == QXmlStreamReader::Characters && !m_xml.isWhitespace())) {
                ok = fail(QStringLiteral("report 元素之后还有内容"));
                break;
            }
        }
        if (ok && m_xml.hasError())
            ok = fail(QStringLiteral("XML 格式错误（%1）").arg(m_xml.errorString()));
    }
    QString invalid;
    if (ok && !t.validate(&invalid))
        ok = fail(invalid);
    if (!ok) {
        if (error)
            *error = m_error;
        return false;
    }
    *out = std::move(t);
    return true;
}

bool Parser::readReport(ReportTemplate& t)
{
    const QString format = text("format");
    if (!format.isEmpty() && format != QLatin1String("corvalin-report"))
        return fail(QStringLiteral("不是本程序的报表模板（格式“%1”）").arg(format.left(40)));
    double version = kFormatVersion;
    if (!number("version", &version, 1, 1000))
        return false;
    if (version > kFormatVersion)
        return fail(QStringLiteral("模板格式版本 %1 比本程序支持的版本新").arg(version));
    if (!boundedText("title", &t.title) || !flag("repeated", &t.repeated))
        return false;
    bool pageSeen = false;
    while (next()) {
        if (m_xml.isEndElement())
            return true;
        const auto name = m_xml.name();
        if (name == QLatin1String("page")) {
            if (pageSeen)
                return fail(QStringLiteral("page 元素重复"));
            pageSeen = true;
            if (!readPage(t.page))
                return false;
        } else if (name == QLatin1String("band")) {
            if (t.bands.size() >= ReportLimits::maxBands)
                return fail(QStringLiteral("区域太多（最多 %1 个）").arg(ReportLimits::maxBands));
            if (!readBand(t))
                return false;
        } else {
            return fail(QStringLiteral("未知的元素“%1”").arg(name.left(40).toString()));
        }
    }
    return false;
}

bool Parser::readPage(ReportPageSetup& page)
{
    if (has("paper")) {
        const QString paper = text("paper").trimmed();
        if (paper.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0)
            page.paper = QStringLiteral("Custom");
        else if (!page.setPaper(paper))
            return fail(QStringLiteral("未知的纸张“%1”").arg(paper.left(20)));
    }
    if (!number("width", &page.width, ReportLimits::minPaper, ReportLimits::maxLength) ||
        !number("height", &page.height, ReportLimits::minPaper, ReportLimits::maxLength) ||
        !number("left", &page.marginLeft, 0, ReportLimits::maxLength) ||
        !number("top", &page.marginTop, 0, ReportLimits::maxLength) ||
        !number("right", &page.marginRight, 0, ReportLimits::maxLength) ||
        !number("bottom", &page.marginBottom, 0, ReportLimits::maxLength))
        return false;
    if (has("orientation")) {
        const QString o = text("orientation").trimmed().toLower();
        if (o == QLatin1String("landscape"))
            page.landscape = true;
        else if (o == QLatin1String("portrait"))
            page.landscape = false;
        else
            return fail(QStringLiteral("纸张方向“%1”无效").arg(o.left(20)));
    }
    if (!next())
        return false;
    if (!m_xml.isEndElement())
        return fail(QStringLiteral("page 元素不能包含其他元素"));
    return true;
}

bool Parser::readBand(ReportTemplate& t)
{
    ReportBand band;
    const QString kindName = text("kind");
    if (!ReportBand::kindFromName(kindName, &band.kind))
        return fail(QStringLiteral("未知的区域类型“%1”").arg(kindName.left(40)));
    if (!boundedText("name", &band.name) || !number("height", &band.height, 0, ReportLimits::maxLength) ||
        !flag("stretch", &band.stretch) || !flag("newPageBefore", &band.newPageBefore) ||
        !flag("newPageAfter", &band.newPageAfter) || !boundedText("source", &band.source) ||
        !boundedText("master", &band.master) || !boundedText("masterField", &band.masterField) ||
        !boundedText("detailField", &band.detailField) || !flag("printIfEmpty", &band.printIfEmpty) ||
        !boundedText("detail", &band.detail) || !boundedText("condition", &band.condition) ||
        !boundedText("group", &band.group) || !flag("onFirstPage", &band.onFirstPage) ||
        !flag("repeat", &band.repeat))
        return false;
    if (has("rows")) {
        const QString rows = text("rows").trimmed().toLower();
        if (rows == QLatin1String("all"))
            band.rows = ReportBand::Rows::All;
        else if (rows == QLatin1String("current"))
            band.rows = ReportBand::Rows::Current;
        else
            return fail(QStringLiteral("rows 应为 all 或 current"));
    }
    if (band.name.isEmpty())
        band.name = t.uniqueName(QStringLiteral("Band"));

    while (next()) {
        if (m_xml.isEndElement()) {
            t.bands.append(std::move(band));
            return true;
        }
        if (++m_objects > ReportLimits::maxObjects)
            return fail(QStringLiteral("对象太多（最多 %1 个）").arg(ReportLimits::maxObjects));
        const auto name = m_xml.name();
        ReportObject::Kind kind;
        if (name == QLatin1String("text"))
            kind = ReportObject::Kind::Text;
        else if (name == QLatin1String("field"))
            kind = ReportObject::Kind::Field;
        else if (name == QLatin1String("line"))
            kind = ReportObject::Kind::Line;
        else if (name == QLatin1String("rect"))
            kind = ReportObject::Kind::Rectangle;
        else if (name == QLatin1String("picture"))
            kind = ReportObject::Kind::Picture;
        else if (name == QLatin1String("checkbox"))
            kind = ReportObject::Kind::CheckBox;
        else
            return fail(QStringLiteral("未知的对象类型“%1”").arg(name.left(40).toString()));
        if (!readObject(band, kind))
            return false;
    }
    return false;
}

bool Parser::readObject(ReportBand& band, ReportObject::Kind kind)
{
    ReportObject o;
    o.kind = kind;
    if (kind == ReportObject::Kind::Line)
        o.style.frameWidth = 0.3;
    double x = 0, y = 0, w = 0, h = 0;
    const double minSize = kind == ReportObject::Kind::Line ? -ReportLimits::maxLength : 0.0;
    if (!boundedText("name", &o.name) ||
        !number("x", &x, -ReportLimits::maxLength, ReportLimits::maxLength) ||
        !number("y", &y, -ReportLimits::maxLength, ReportLimits::maxLength) ||
        !number("width", &w, minSize, ReportLimits::maxLength) ||
        !number("height", &h, minSize, ReportLimits::maxLength) || !style(o.style) ||
        !boundedText("format", &o.displayFormat) || !flag("stretch", &o.stretch) ||
        !boundedText("file", &o.pictureFile) || !flag("keepAspect", &o.keepAspect))
        return false;
    if (kind == ReportObject::Kind::Line && has("lineWidth") &&
        !number("lineWidth", &o.style.frameWidth, 0.0, ReportLimits::maxLineWidth))
        return false;
    o.rect = QRectF(x, y, w, h);
    if (has("data")) {
        const auto encoded = m_xml.attributes().value(QLatin1String("data"));
        if (encoded.size() / 4 * 3 > ReportLimits::maxPictureBytes)
            return fail(QStringLiteral("嵌入的图片太大"));
        const auto decoded =
            QByteArray::fromBase64Encoding(encoded.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return fail(QStringLiteral("嵌入的图片数据损坏"));
        o.pictureData = *decoded;
    }
    // The element's own text: the text of a text object, the expression of the others.
    QString content;
    while (!m_xml.atEnd()) {
        const auto token = m_xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            if (content.size() + m_xml.text().size() > ReportLimits::maxTextLength)
                return fail(QStringLiteral("对象“%1”的文字太长").arg(o.name.left(40)));
            content += m_xml.text();
        } else if (token == QXmlStreamReader::EndElement) {
            break;
        } else if (token == QXmlStreamReader::StartElement) {
            return fail(QStringLiteral("对象中不能再有元素“%1”").arg(m_xml.name().left(40).toString()));
        } else if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference) {
            return fail(QStringLiteral("模板中不允许有实体引用"));
        }
    }
    if (m_xml.hasError())
        return fail(QStringLiteral("XML 格式错误（%1）").arg(m_xml.errorString()));
    o.text = kind == ReportObject::Kind::Text ? content : content.trimmed();
    if (o.name.isEmpty())
        o.name = QString();
    band.objects.append(std::move(o));
    return true;
}

} // namespace

bool ReportTemplateReader::read(const QByteArray& data, ReportTemplate* out, QString* error)
{
    if (data.size() > ReportLimits::maxFileBytes) {
        if (error)
            *error = QStringLiteral("文件太大（超过 %1 MB）").arg(ReportLimits::maxFileBytes / (1024 * 1024));
        return false;
    }
    QByteArray start = data.left(64);
    if (start.startsWith("\xEF\xBB\xBF"))
        start = start.mid(3);
    start = start.trimmed();
    if (!start.startsWith('<')) {
        if (error)
            *error = QStringLiteral("不是本程序的报表模板（可能是其他程序的格式）");
        return false;
    }
    return Parser(data).run(out, error);
}

bool ReportTemplateReader::readFile(const QString& path, ReportTemplate* out, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("无法打开文件（%1）").arg(file.errorString());
        return false;
    }
    const QByteArray data = file.read(ReportLimits::maxFileBytes + 1);
    return read(data, out, error);
}
