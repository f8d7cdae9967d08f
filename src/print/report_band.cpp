#include "print/report_band.h"

#include <array>

namespace {
struct KindInfo {
    ReportBand::Kind kind;
    const char* name;
    const char* caption;
};
const std::array<KindInfo, 11> kKinds{{
    {ReportBand::Kind::ReportTitle, "reportTitle", "报表标题"},
    {ReportBand::Kind::PageHeader, "pageHeader", "页眉"},
    {ReportBand::Kind::ColumnHeader, "columnHeader", "栏目标题"},
    {ReportBand::Kind::GroupHeader, "groupHeader", "分组头"},
    {ReportBand::Kind::MasterData, "masterData", "主数据"},
    {ReportBand::Kind::DetailHeader, "detailHeader", "明细头"},
    {ReportBand::Kind::DetailData, "detailData", "明细数据"},
    {ReportBand::Kind::DetailFooter, "detailFooter", "明细尾"},
    {ReportBand::Kind::GroupFooter, "groupFooter", "分组尾"},
    {ReportBand::Kind::Summary, "summary", "报表合计"},
    {ReportBand::Kind::PageFooter, "pageFooter", "页脚"},
}};
} // namespace

QString ReportBand::kindName(Kind kind)
{
    for (const auto& k : kKinds)
        if (k.kind == kind)
            return QString::fromLatin1(k.name);
    return {};
}

bool ReportBand::kindFromName(const QString& name, Kind* kind)
{
    for (const auto& k : kKinds) {
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0) {
            *kind = k.kind;
            return true;
        }
    }
    return false;
}

QString ReportBand::kindCaption(Kind kind)
{
    for (const auto& k : kKinds)
        if (k.kind == kind)
            return QString::fromUtf8(k.caption);
    return {};
}
