#include "records/repair_parts.h"

#include "data/record_set.h"
#include "records/code_list_source.h"

namespace {

const QString kRepairCode = QStringLiteral("F_WXcode");
const QString kAmount = QStringLiteral("F_amount");
const QString kPrice = QStringLiteral("F_price");
const QString kTotal = QStringLiteral("F_totalprice");

} // namespace

namespace RepairParts {

SqlStatement ofRepair(const QString& repairCode)
{
    return {QStringLiteral("SELECT * FROM t_PJdetail WHERE F_WXcode = ? ORDER BY F_ID"), {repairCode}};
}

SqlStatement nameSource()
{
    return CodeListSource::distinctNames(QStringLiteral("pjname"));
}

double amountSum(RecordSet& parts)
{
    if (!parts.isOpen())
        return 0;
    parts.fetchAll();
    const int total = parts.fieldIndex(kTotal);
    if (total < 0)
        return 0;
    double sum = 0;
    for (int row = 0; row < parts.rowCount(); ++row)
        sum += parts.value(row, total).toDouble();
    return sum;
}

int appendLine(RecordSet& parts, const QString& repairCode)
{
    if (!parts.isOpen())
        return -1;
    const int row = parts.appendRow();
    if (row < 0)
        return -1;
    parts.setValue(row, kRepairCode, repairCode);
    parts.setValue(row, kAmount, 1.0);
    parts.setValue(row, kPrice, 0.0);
    parts.setValue(row, kTotal, 0.0);
    parts.setValue(row, QStringLiteral("F_IFshouFei"), false);
    return row;
}

bool setRepairCode(RecordSet& parts, const QString& repairCode)
{
    parts.fetchAll();
    for (int row = 0; row < parts.rowCount(); ++row) {
        if (parts.value(row, kRepairCode).toString() != repairCode &&
            !parts.setValue(row, kRepairCode, repairCode))
            return false;
    }
    return true;
}

void recomputeAmount(RecordSet& parts, int row)
{
    const double total = parts.value(row, kAmount).toDouble() * parts.value(row, kPrice).toDouble();
    if (parts.value(row, kTotal).isNull() || parts.value(row, kTotal).toDouble() != total)
        parts.setValue(row, kTotal, total);
}

bool touchesAmount(const RecordSet& parts, int firstColumn, int lastColumn)
{
    for (const QString& field : {kAmount, kPrice}) {
        const int column = parts.fieldIndex(field);
        if (column >= firstColumn && column <= lastColumn)
            return true;
    }
    return false;
}

QString deleteQuestion(const QString& name, const QString& spec)
{
    return QStringLiteral("真的要删除当前品牌为： %1 规格为: %2 商品吗？").arg(name, spec);
}

} // namespace RepairParts
