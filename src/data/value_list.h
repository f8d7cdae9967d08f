#pragma once

#include <QStringList>
#include <QVariantList>

#include <optional>

class Database;

// The values a value list offers: the first column of every row, leaving out values of blanks.
namespace ValueList {

enum class Order { AsQueried, Pinyin };

// Nothing when the query fails (`error` says why). The engines order Chinese text by code
// point; Order::Pinyin sorts the values as people look names up, letter case ignored.
std::optional<QStringList> read(Database& db, const QString& sql, const QVariantList& values, Order order,
                                QString* error);

} // namespace ValueList
