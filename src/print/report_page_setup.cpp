#include "print/report_page_setup.h"

bool ReportPageSetup::setPaper(const QString& name)
{
    static const struct {
        const char* name;
        double width;
        double height;
    } papers[] = {
        {"A4", 210, 297}, {"A5", 148, 210}, {"A3", 297, 420}, {"B5", 176, 250}, {"Letter", 215.9, 279.4}};
    for (const auto& p : papers) {
        if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
            paper = QString::fromLatin1(p.name);
            width = p.width;
            height = p.height;
            return true;
        }
    }
    return false;
}
