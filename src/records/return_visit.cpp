#include "records/return_visit.h"

ReturnVisit ReturnVisit::newVisit(const QDate& today)
{
    ReturnVisit visit;
    visit.date = today;
    return visit;
}

double ReturnVisit::sum(const std::array<double, ChargeCount>& prices)
{
    double total = 0;
    for (double price : prices)
        total += price;
    return total;
}
