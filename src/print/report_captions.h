#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The caption texts windows put into a template's MemoDate object.
namespace ReportCaptions {
// "统计日期：自 " or "安装日期：自 ", as the statistics windows use them.
QString statisticPrefix();
QString installationPrefix();
// prefix + from + " 至 " + to; an unticked from-date reads "启用系统", an unticked to-date
// "记帐最后一天".
QString period(const QString& prefix, const std::optional<QDate>& from, const std::optional<QDate>& to);
// "保养月份：yyyy-MM" of the periodic-maintenance list.
QString maintenanceMonth(const QDate& month);
} // namespace ReportCaptions
