#include "print/report_captions.h"

namespace ReportCaptions {

QString statisticPrefix()
{
    return QStringLiteral("统计日期：自 ");
}

QString installationPrefix()
{
    return QStringLiteral("安装日期：自 ");
}

QString period(const QString& prefix, const std::optional<QDate>& from, const std::optional<QDate>& to)
{
    const QString format = QStringLiteral("yyyy-MM-dd");
    const QString fromText = from && from->isValid() ? from->toString(format) : QStringLiteral("启用系统");
    const QString toText = to && to->isValid() ? to->toString(format) : QStringLiteral("记帐最后一天");
    return prefix + fromText + QStringLiteral(" 至 ") + toText;
}

QString maintenanceMonth(const QDate& month)
{
    return QStringLiteral("保养月份：") + month.toString(QStringLiteral("yyyy-MM"));
}

} // namespace ReportCaptions
