#include "print/main_form_reports.h"

namespace MainFormReports {

QString templateName(Form form)
{
    switch (form) {
    case Form::RecordSheet:
        return QStringLiteral("frAZSHdetail.frf");
    case Form::OrderList:
        return QStringLiteral("frAZSHlist.frf");
    case Form::DispatchSlip:
        return QStringLiteral("frAZSHbill.frf");
    case Form::RepairSlip:
        return QStringLiteral("frSHWXbill.frf");
    }
    return {};
}

QString caption(Form form)
{
    switch (form) {
    case Form::RecordSheet:
        return QStringLiteral("安装送货记录详单");
    case Form::OrderList:
        return QStringLiteral("安装送货记录列表");
    case Form::DispatchSlip:
        return QStringLiteral("安装送货派工表单");
    case Form::RepairSlip:
        return QStringLiteral("售后维修派工表单");
    }
    return {};
}

ReportRequest request(Form form, const Sources& sources, bool fromReportManager)
{
    ReportRequest r;
    r.templateName = templateName(form);
    r.ties = {{QStringLiteral("frMain"), sources.main},
              {QStringLiteral("frDetail1"), sources.goods},
              {QStringLiteral("frDetail2"), sources.visits},
              {QStringLiteral("frDetail3"), sources.repairs}};
    r.emptyTestSource = form == Form::RepairSlip && fromReportManager ? QStringLiteral("frDetail3")
                                                                      : QStringLiteral("frMain");
    return r;
}

} // namespace MainFormReports
