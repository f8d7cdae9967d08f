#pragma once

#include "print/report_request.h"

#include <QString>

class RecordSet;

// The four forms of the main window (its output commands and the report manager's rows): the
// record sheet, the order list, the installation dispatch slip and the repair dispatch slip.
// Their templates read frMain (the order list) and frDetail1..3 (goods lines, return visits and
// repairs of the current order).
namespace MainFormReports {

enum class Form { RecordSheet = 0, OrderList = 1, DispatchSlip = 2, RepairSlip = 3 };

struct Sources {
    RecordSet* main = nullptr;    // QryMain
    RecordSet* goods = nullptr;   // QryDetail1
    RecordSet* visits = nullptr;  // QryDetail2
    RecordSet* repairs = nullptr; // QryDetail3
};

QString templateName(Form form);
// The command's caption, also the report manager's list row.
QString caption(Form form);
// The request a print or design command hands to the report service. The manager's repair slip
// needs a repair of the current order; the main window's own command only needs an order.
ReportRequest request(Form form, const Sources& sources, bool fromReportManager = false);

} // namespace MainFormReports
