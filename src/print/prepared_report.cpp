#include "print/prepared_report.h"

#include <algorithm>

const ReportStyle& PreparedReport::style(const ReportPageItem& item) const
{
    static const ReportStyle fallback;
    return item.style >= 0 && item.style < styles.size() ? styles[item.style] : fallback;
}

QStringList PreparedReport::pageTexts(int page) const
{
    QStringList texts;
    if (page < 0 || page >= pages.size())
        return texts;
    QList<const ReportPageItem*> items;
    for (const ReportPageItem& item : pages[page].items)
        if (item.kind == ReportPageItem::Kind::Text)
            items << &item;
    std::stable_sort(items.begin(), items.end(), [](const ReportPageItem* a, const ReportPageItem* b) {
        if (std::abs(a->rect.top() - b->rect.top()) > 0.01)
            return a->rect.top() < b->rect.top();
        return a->rect.left() < b->rect.left();
    });
    for (const ReportPageItem* item : items)
        texts << item->text;
    return texts;
}
