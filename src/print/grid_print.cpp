#include "print/grid_print.h"

#include "print/model_data_source.h"
#include "print/report_expression.h"
#include "print/report_template.h"

namespace {

constexpr double kMmPerPixel = 25.4 / 96.0;
constexpr double kSongPoints = 9.0; // 12 pixels at 96 dpi

QString fieldName(int i)
{
    return QStringLiteral("C%1").arg(i);
}

ReportStyle::HAlign hAlign(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return ReportStyle::HAlign::Right;
    if (a & Qt::AlignHCenter)
        return ReportStyle::HAlign::Center;
    return ReportStyle::HAlign::Left;
}

ReportObject textObject(const QString& name, const QRectF& rect, const QString& text)
{
    ReportObject o;
    o.kind = ReportObject::Kind::Text;
    o.name = name;
    o.rect = rect;
    o.text = text;
    o.style.fontFamily = QStringLiteral("宋体");
    o.style.fontSize = kSongPoints;
    return o;
}

} // namespace

ReportTemplate GridPrint::buildTemplate(const QList<GridPrintColumn>& columns, const QString& title,
                                        const QString& footer, const QString& header)
{
    ReportTemplate t;
    t.title = title;
    t.page.setPaper(QStringLiteral("A4"));
    t.page.marginLeft = t.page.marginRight = 10;
    t.page.marginTop = t.page.marginBottom = 10;

    double natural = 0;
    for (const GridPrintColumn& c : columns)
        natural += qMax(8, c.widthPixels) * kMmPerPixel;
    if (natural > t.page.bodyWidth() * 1.4)
        t.page.landscape = true;
    const double body = t.page.bodyWidth();
    const double scale = natural > body ? body / natural : 1.0;

    ReportBand pageHeader;
    pageHeader.kind = ReportBand::Kind::PageHeader;
    pageHeader.name = QStringLiteral("PageHeader1");
    pageHeader.height = header.isEmpty() ? 0 : 6;
    if (!header.isEmpty())
        pageHeader.objects << textObject(QStringLiteral("Header"), QRectF(0, 0, body, 5),
                                         ReportExpression::escapeText(header));
    t.bands << pageHeader;

    ReportBand titleBand;
    titleBand.kind = ReportBand::Kind::ReportTitle;
    titleBand.name = QStringLiteral("ReportTitle1");
    titleBand.height = 10;
    ReportObject titleText =
        textObject(QStringLiteral("Title"), QRectF(0, 1, body, 7), ReportExpression::escapeText(title));
    titleText.style.bold = true;
    titleText.style.hAlign = ReportStyle::HAlign::Center;
    titleText.style.vAlign = ReportStyle::VAlign::Middle;
    titleText.style.fillColor = Qt::white;
    titleBand.objects << titleText;
    t.bands << titleBand;

    ReportBand columnHeader;
    columnHeader.kind = ReportBand::Kind::ColumnHeader;
    columnHeader.name = QStringLiteral("ColumnHeader1");
    columnHeader.height = 6.5;
    columnHeader.master = QStringLiteral("MasterData1");
    columnHeader.stretch = true;

    ReportBand data;
    data.kind = ReportBand::Kind::MasterData;
    data.name = QStringLiteral("MasterData1");
    data.source = QString::fromLatin1(sourceName);
    data.height = 5.5;
    data.stretch = true;

    double x = 0;
    for (int i = 0; i < columns.size(); ++i) {
        const GridPrintColumn& c = columns[i];
        const double w = qMax(8, c.widthPixels) * kMmPerPixel * scale;
        ReportObject head = textObject(QStringLiteral("Title%1").arg(i), QRectF(x, 0, w, 6.5),
                                       ReportExpression::escapeText(c.title));
        head.style.fontFamily = QStringLiteral("Arial");
        head.style.bold = true;
        head.style.textColor = Qt::white;
        head.style.fillColor = QColor(0, 0, 128);
        head.style.frameSides = ReportStyle::FrameAll;
        head.style.frameColor = Qt::black;
        head.style.hAlign = ReportStyle::HAlign::Center;
        head.style.vAlign = ReportStyle::VAlign::Middle;
        head.stretch = true;
        columnHeader.objects << head;

        ReportObject cell =
            textObject(QStringLiteral("Cell%1").arg(i), QRectF(x, 0, w, 5.5),
                       QStringLiteral("[%1.\"%2\"]").arg(QString::fromLatin1(sourceName), fieldName(i)));
        cell.kind = ReportObject::Kind::Field;
        cell.text = QStringLiteral("%1.\"%2\"").arg(QString::fromLatin1(sourceName), fieldName(i));
        cell.style.frameSides = ReportStyle::FrameAll;
        cell.style.hAlign = hAlign(c.alignment);
        cell.style.vAlign = ReportStyle::VAlign::Middle;
        cell.stretch = true;
        data.objects << cell;
        x += w;
    }
    t.bands << columnHeader << data;

    ReportBand pageFooter;
    pageFooter.kind = ReportBand::Kind::PageFooter;
    pageFooter.name = QStringLiteral("PageFooter1");
    pageFooter.height = 6;
    ReportObject foot = textObject(QStringLiteral("Footer"), QRectF(0, 1, body, 5),
                                   footer.isEmpty() ? QString() : ReportExpression::escapeText(footer));
    foot.style.hAlign = ReportStyle::HAlign::Right;
    pageFooter.objects << foot;
    t.bands << pageFooter;
    return t;
}

std::shared_ptr<ReportDataSource> GridPrint::dataSource(const QAbstractItemModel& model,
                                                        const QList<GridPrintColumn>& columns)
{
    QStringList fields;
    QList<int> modelColumns;
    for (int i = 0; i < columns.size(); ++i) {
        fields << fieldName(i);
        modelColumns << columns[i].column;
    }
    return std::make_shared<ModelDataSource>(&model, fields, modelColumns);
}
