#pragma once

#include "app/sql_statement.h"

#include <QString>

class RecordSet;

// The parts lines of a repair (t_PJdetail rows) as the repair editors keep them in the opener's
// cached record set.
namespace RepairParts {

// The lines of one repair, in entry order.
SqlStatement ofRepair(const QString& repairCode);
// The names the 配件名称 column offers: the 'pjname' code list.
SqlStatement nameSource();

// 金额 summed over every line, charged or not: the repair's parts charge.
double amountSum(RecordSet& parts);
// A new line under the repair code: one piece at no price, not charged. Returns its row, or -1.
int appendLine(RecordSet& parts, const QString& repairCode);
// Every line takes the repair code (the one the save stores the repair under).
bool setRepairCode(RecordSet& parts, const QString& repairCode);
// 金额 = 单价 × 数量 of the row.
void recomputeAmount(RecordSet& parts, int row);
// True when the change of these columns concerns 金额 (数量 or 单价 changed).
bool touchesAmount(const RecordSet& parts, int firstColumn, int lastColumn);

QString deleteQuestion(const QString& name, const QString& spec);

} // namespace RepairParts
