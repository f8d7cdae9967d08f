#include "print/report_template.h"

#include "print/report_limits.h"

#include <QSet>

#include <cmath>

int ReportTemplate::bandIndex(const QString& name) const
{
    for (int i = 0; i < bands.size(); ++i)
        if (bands[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

ReportObject* ReportTemplate::findObject(const QString& name)
{
    return const_cast<ReportObject*>(std::as_const(*this).findObject(name));
}

const ReportObject* ReportTemplate::findObject(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    for (const ReportBand& band : bands)
        for (const ReportObject& object : band.objects)
            if (object.name.compare(name, Qt::CaseInsensitive) == 0)
                return &object;
    return nullptr;
}

QString ReportTemplate::uniqueName(const QString& prefix) const
{
    QSet<QString> taken;
    for (const ReportBand& band : bands) {
        taken.insert(band.name.toLower());
        for (const ReportObject& object : band.objects)
            taken.insert(object.name.toLower());
    }
    for (int n = 1;; ++n) {
        const QString candidate = prefix + QString::number(n);
        if (!taken.contains(candidate.toLower()))
            return candidate;
    }
}

namespace {
bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

bool ReportTemplate::validate(QString* error) const
{
    using Kind = ReportBand::Kind;
    const auto sizeOk = [](double v, double min) {
        return std::isfinite(v) && v >= min && v <= ReportLimits::maxLength;
    };
    if (!sizeOk(page.width, ReportLimits::minPaper) || !sizeOk(page.height, ReportLimits::minPaper))
        return fail(error, QStringLiteral("纸张尺寸无效"));
    for (double m : {page.marginLeft, page.marginTop, page.marginRight, page.marginBottom})
        if (!sizeOk(m, 0.0))
            return fail(error, QStringLiteral("页边距无效"));
    if (page.bodyWidth() < 10.0 || page.bodyHeight() < 10.0)
        return fail(error, QStringLiteral("页边距太大，页面上没有可打印的区域"));
    if (bands.size() > ReportLimits::maxBands)
        return fail(error, QStringLiteral("区域太多（最多 %1 个）").arg(ReportLimits::maxBands));

    int objects = 0;
    int singles[4] = {0, 0, 0, 0};
    QSet<QString> names;
    for (const ReportBand& band : bands) {
        const QString label = QStringLiteral("区域“%1”").arg(band.name);
        if (band.name.isEmpty())
            return fail(error, QStringLiteral("有一个区域没有名称"));
        if (names.contains(band.name.toLower()))
            return fail(error, QStringLiteral("区域名称“%1”重复").arg(band.name));
        names.insert(band.name.toLower());
        if (!std::isfinite(band.height) || band.height < 0 || band.height > page.bodyHeight())
            return fail(error, label + QStringLiteral("的高度超出页面"));
        objects += int(band.objects.size());
        for (const ReportObject& o : band.objects) {
            const QString what = label + QStringLiteral("的对象“%1”").arg(o.name);
            const QRectF& r = o.rect;
            for (double v : {r.x(), r.y(), r.width(), r.height()})
                if (!std::isfinite(v) || std::abs(v) > ReportLimits::maxLength)
                    return fail(error, what + QStringLiteral("的位置或大小超出范围"));
            if (o.kind != ReportObject::Kind::Line && (r.width() < 0 || r.height() < 0))
                return fail(error, what + QStringLiteral("的大小无效"));
            if (!(o.style.fontSize >= ReportLimits::minFontSize &&
                  o.style.fontSize <= ReportLimits::maxFontSize))
                return fail(error, what + QStringLiteral("的字号超出范围"));
            if (!(o.style.frameWidth >= 0 && o.style.frameWidth <= ReportLimits::maxLineWidth))
                return fail(error, what + QStringLiteral("的线宽超出范围"));
            if (o.text.size() > ReportLimits::maxTextLength ||
                o.displayFormat.size() > ReportLimits::maxTextLength)
                return fail(error, what + QStringLiteral("的文字太长"));
            if (o.pictureData.size() > ReportLimits::maxPictureBytes)
                return fail(error, what + QStringLiteral("的图片太大"));
        }

        switch (band.kind) {
        case Kind::ReportTitle:
            ++singles[0];
            break;
        case Kind::PageHeader:
            ++singles[1];
            break;
        case Kind::PageFooter:
            ++singles[2];
            break;
        case Kind::Summary:
            ++singles[3];
            break;
        default:
            break;
        }
        const auto kindOf = [this](const QString& name, Kind* kind) {
            const int i = bandIndex(name);
            if (i < 0)
                return false;
            *kind = bands[i].kind;
            return true;
        };
        Kind other{};
        switch (band.kind) {
        case Kind::MasterData:
            if (band.source.isEmpty())
                return fail(error, label + QStringLiteral("没有指定数据源"));
            break;
        case Kind::DetailData:
            if (band.source.isEmpty())
                return fail(error, label + QStringLiteral("没有指定数据源"));
            if (!kindOf(band.master, &other) || other != Kind::MasterData)
                return fail(error, label + QStringLiteral("的主数据区域“%1”不存在").arg(band.master));
            if (band.masterField.isEmpty() != band.detailField.isEmpty())
                return fail(error, label + QStringLiteral("的关联字段不完整"));
            break;
        case Kind::DetailHeader:
        case Kind::DetailFooter:
            if (!kindOf(band.detail, &other) || other != Kind::DetailData)
                return fail(error, label + QStringLiteral("的明细数据区域“%1”不存在").arg(band.detail));
            break;
        case Kind::GroupHeader:
            if (!kindOf(band.master, &other) || other != Kind::MasterData)
                return fail(error, label + QStringLiteral("的主数据区域“%1”不存在").arg(band.master));
            if (band.condition.trimmed().isEmpty())
                return fail(error, label + QStringLiteral("没有分组条件"));
            break;
        case Kind::GroupFooter:
            if (!kindOf(band.group, &other) || other != Kind::GroupHeader)
                return fail(error, label + QStringLiteral("的分组头“%1”不存在").arg(band.group));
            break;
        case Kind::ColumnHeader:
            if (!band.master.isEmpty() && (!kindOf(band.master, &other) || other != Kind::MasterData))
                return fail(error, label + QStringLiteral("的主数据区域“%1”不存在").arg(band.master));
            break;
        default:
            break;
        }
    }
    static const char* const singleNames[] = {"报表标题", "页眉", "页脚", "报表合计"};
    for (int i = 0; i < 4; ++i)
        if (singles[i] > 1)
            return fail(error, QStringLiteral("%1区域只能有一个").arg(QString::fromUtf8(singleNames[i])));
    if (objects > ReportLimits::maxObjects)
        return fail(error, QStringLiteral("对象太多（最多 %1 个）").arg(ReportLimits::maxObjects));
    return true;
}
