#pragma once

#include <QString>

#include <functional>
#include <optional>

class Database;

// New orders, repairs and goods take the code after the greatest stored one. Two workstations
// may take the same code at once; the unique index refuses the second, which then takes the
// next code and writes again, inside its own transaction.
namespace CodeAllocator {

// Runs `write(code)` inside the caller's open transaction, first with `firstChoice` (or the
// next code when it is empty). When the write fails on a taken code, its rows are undone to a
// savepoint and it runs again with the next code after the greatest stored one, at most
// `attempts` times. Returns the code the rows were written with; nothing on any other failure,
// with `error` set (the caller rolls its transaction back).
std::optional<QString> writeWithFreeCode(Database& db, const QString& firstChoice, const QString& maxQuery,
                                         int width, const std::function<bool(const QString& code)>& write,
                                         QString* error, int attempts = 50);

} // namespace CodeAllocator
