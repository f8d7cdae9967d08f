#include "data/code_allocator.h"

#include "data/data_services.h"
#include "data/database.h"

namespace {

std::optional<QString> nextAfterStored(Database& db, const QString& maxQuery, int width, QString* error)
{
    const auto stored = db.scalar(maxQuery);
    if (!stored) {
        if (error)
            *error = db.lastError();
        return std::nullopt;
    }
    const QString current = stored->isNull() ? QString() : stored->toString();
    auto next = DataServices::incrementCode(current, width);
    if (!next && error)
        *error = QStringLiteral("the stored code \"%1\" does not end in a number").arg(current);
    return next;
}

} // namespace

namespace CodeAllocator {

std::optional<QString> writeWithFreeCode(Database& db, const QString& firstChoice, const QString& maxQuery, int width,
                                         const std::function<bool(const QString&)>& write, QString* error, int attempts)
{
    if (!db.inTransaction()) {
        if (error)
            *error = QStringLiteral("a code is allocated inside the caller's transaction");
        return std::nullopt;
    }
    QString code = firstChoice;
    if (code.isEmpty()) {
        auto next = nextAfterStored(db, maxQuery, width, error);
        if (!next)
            return std::nullopt;
        code = *next;
    }
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (!db.exec(QStringLiteral("SAVEPOINT code_allocation"))) {
            if (error)
                *error = db.lastError();
            return std::nullopt;
        }
        if (write(code)) {
            db.exec(QStringLiteral("RELEASE SAVEPOINT code_allocation"));
            return code;
        }
        const bool taken = db.lastErrorIsUniqueViolation();
        const QString why = db.lastError();
        // PostgreSQL refuses every further statement of a failed transaction until this.
        db.exec(QStringLiteral("ROLLBACK TO SAVEPOINT code_allocation"));
        db.exec(QStringLiteral("RELEASE SAVEPOINT code_allocation"));
        if (!taken) {
            if (error)
                *error = why;
            return std::nullopt;
        }
        auto next = nextAfterStored(db, maxQuery, width, error);
        if (!next)
            return std::nullopt;
        // The greatest stored code may be below a taken one when codes were renamed; never go back.
        code = *next > code ? *next : *DataServices::incrementCode(code, width);
    }
    if (error)
        *error = QStringLiteral("no free code found after %1 attempts").arg(attempts);
    return std::nullopt;
}

} // namespace CodeAllocator
