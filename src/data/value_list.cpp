#include "data/value_list.h"

#include "data/database.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <utility>
#include <vector>

namespace ValueList {

std::optional<QStringList> read(Database& db, const QString& sql, const QVariantList& values, Order order,
                                QString* error)
{
    auto query = db.exec(sql, values);
    if (!query) {
        if (error)
            *error = db.lastError();
        return std::nullopt;
    }
    QStringList list;
    while (query->next()) {
        const QString value = query->value(0).toString();
        if (!value.trimmed().isEmpty())
            list << value;
    }
    if (order == Order::Pinyin) {
        QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        // Tens of thousands of customer names: each is keyed once rather than at every comparison.
        std::vector<std::pair<QCollatorSortKey, QString>> keyed;
        keyed.reserve(std::size_t(list.size()));
        for (const QString& value : std::as_const(list))
            keyed.emplace_back(collator.sortKey(value), value);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
        for (qsizetype i = 0; i < list.size(); ++i)
            list[i] = keyed[std::size_t(i)].second;
    }
    return list;
}

} // namespace ValueList
