#pragma once

#include "goods/goods_item.h"

#include <QList>
#include <QString>

#include <optional>

class Database;

// Finding catalogue articles by a goods code typed into an order's goods line.
namespace GoodsLookup {

// Articles whose code begins with the typed text (taken as typed; a % or _ in it is a
// wildcard as everywhere users type patterns), in code order, at most `limit` of them: the
// order editor only needs to know whether there is none, one or several. Nothing on a
// database failure, with `error` set.
std::optional<QList<GoodsItem>> byCodePrefix(Database& db, const QString& typed, int limit = 2,
                                             QString* error = nullptr);

} // namespace GoodsLookup
