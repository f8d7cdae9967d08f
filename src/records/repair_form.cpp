#include "records/repair_form.h"

#include "data/sql_value.h"

namespace {

QDate storedDate(const QVariant& value)
{
    const QDate date = SqlDates::toDate(value);
    return date.isValid() ? date : SqlDates::noDate();
}

QVariant dateToStore(const QDate& date)
{
    return date.isValid() ? date : SqlDates::noDate();
}

} // namespace

RepairForm RepairForm::newRepair(const QString& orderCode, const QString& repairCode, const QDate& today,
                                 const QString& operatorName)
{
    RepairForm form;
    form.orderCode = orderCode;
    form.repairCode = repairCode;
    form.reportDate = today;
    form.visitDate = today;
    form.repairDate = today;
    form.enteredBy = operatorName;
    return form;
}

RepairForm RepairForm::fromRow(const std::function<QVariant(const QString&)>& value)
{
    auto text = [&](const char* column) { return value(QLatin1String(column)).toString(); };
    auto number = [&](const char* column) { return value(QLatin1String(column)).toDouble(); };
    RepairForm form;
    form.orderCode = text("F_code");
    form.repairCode = text("F_WXcode");
    form.serviceType = text("F_FWtype");
    form.inWarranty = text("F_BXflag").trimmed() == inWarrantyWord();
    const int progress = value(QStringLiteral("F_WXflag")).toInt();
    form.progress = progress >= 0 && progress <= 2 ? progress : 0;
    form.status = text("F_WXstatus");
    form.fault = text("F_memo1");
    form.dispatchNote = text("F_memo2");
    form.partsToTake = text("F_memo3");
    form.reportDate = storedDate(value(QStringLiteral("F_BXdate")));
    form.visitDate = storedDate(value(QStringLiteral("F_SMtime")));
    form.serviceEmployee = text("F_FWemp");
    form.productFault = text("F_reasonFlag").trimmed() == productFaultWord();
    form.causeFound = text("F_memo4");
    form.solution = text("F_memo5");
    form.result = text("F_memo6");
    form.info = text("F_WXinfo");
    form.other = text("F_WXother");
    form.serviceFee = number("F_FWtotalprice");
    form.partsCharge = number("F_PJtotalprice");
    form.total = number("F_SFtotalprice");
    form.remark = text("F_mem");
    form.dispatcher = text("F_PGemp");
    form.enteredBy = text("F_OperName");
    form.wage = number("F_XZprice");
    form.wageEnteredBy = text("F_XZemp");
    form.visitEmployee = text("F_HFemp");
    form.attitude = text("F_FWtaidu");
    form.repairDate = storedDate(value(QStringLiteral("F_XFdate")));
    return form;
}

RepairForm RepairForm::trimmed() const
{
    RepairForm form = *this;
    for (QString* text :
         {&form.orderCode, &form.repairCode, &form.serviceType, &form.status, &form.fault, &form.dispatchNote,
          &form.partsToTake, &form.serviceEmployee, &form.causeFound, &form.solution, &form.result,
          &form.info, &form.other, &form.remark, &form.dispatcher, &form.enteredBy, &form.wageEnteredBy,
          &form.visitEmployee, &form.attitude})
        *text = text->trimmed();
    return form;
}

SqlValues RepairForm::columnValues() const
{
    return {
        {QStringLiteral("F_code"), orderCode},
        {QStringLiteral("F_FWtype"), serviceType},
        {QStringLiteral("F_WXcode"), repairCode},
        {QStringLiteral("F_BXflag"), warrantyWord(inWarranty)},
        {QStringLiteral("F_WXstatus"), status},
        {QStringLiteral("F_memo1"), fault},
        {QStringLiteral("F_memo2"), dispatchNote},
        {QStringLiteral("F_memo3"), partsToTake},
        {QStringLiteral("F_BXdate"), dateToStore(reportDate)},
        {QStringLiteral("F_SMtime"), dateToStore(visitDate)},
        {QStringLiteral("F_FWemp"), serviceEmployee},
        {QStringLiteral("F_reasonFlag"), reasonWord(productFault)},
        {QStringLiteral("F_memo4"), causeFound},
        {QStringLiteral("F_memo5"), solution},
        {QStringLiteral("F_memo6"), result},
        {QStringLiteral("F_WXinfo"), info},
        {QStringLiteral("F_WXother"), other},
        {QStringLiteral("F_PJtotalprice"), partsCharge},
        {QStringLiteral("F_FWtotalprice"), serviceFee},
        {QStringLiteral("F_SFtotalprice"), total},
        {QStringLiteral("F_mem"), remark},
        {QStringLiteral("F_XFdate"), dateToStore(repairDate)},
        {QStringLiteral("F_PGemp"), dispatcher},
        {QStringLiteral("F_OperName"), enteredBy},
        {QStringLiteral("F_HFemp"), visitEmployee},
        {QStringLiteral("F_WXflag"), progress},
        {QStringLiteral("F_FWtaidu"), attitude},
        {QStringLiteral("F_XZprice"), wage},
        {QStringLiteral("F_XZemp"), wageEnteredBy},
    };
}
