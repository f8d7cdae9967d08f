#include "print/report_captions.h"

#include <gtest/gtest.h>

TEST(ReportCaptions, PeriodNamesUntickedEndsInWords)
{
    const QDate may1(2024, 5, 1), may31(2024, 5, 31);
    const struct {
        QString prefix;
        std::optional<QDate> from, to;
        const char* caption;
    } cases[] = {
        {ReportCaptions::statisticPrefix(), std::nullopt, std::nullopt,
         "统计日期：自 启用系统 至 记帐最后一天"},
        {ReportCaptions::installationPrefix(), may1, may31, "安装日期：自 2024-05-01 至 2024-05-31"},
        {ReportCaptions::installationPrefix(), std::nullopt, may31, "安装日期：自 启用系统 至 2024-05-31"},
        {ReportCaptions::statisticPrefix(), may1, std::nullopt, "统计日期：自 2024-05-01 至 记帐最后一天"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReportCaptions::period(c.prefix, c.from, c.to), QString::fromUtf8(c.caption));
    EXPECT_EQ(ReportCaptions::maintenanceMonth(QDate(2024, 5, 17)), QStringLiteral("保养月份：2024-05"));
}
