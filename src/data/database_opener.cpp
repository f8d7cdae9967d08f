#include "data/database_opener.h"

#include "data/database.h"
#include "data/schema.h"

#include <QDir>
#include <QFileInfo>

namespace {

bool hasNoTables(Database& db)
{
    const QString sql = db.dialect().kind() == Dialect::Kind::Sqlite
                            ? QStringLiteral("select count(*) from sqlite_master where type in ('table', 'view')")
                            : QStringLiteral("select count(*) from information_schema.tables"
                                             " where table_schema = current_schema()");
    const auto count = db.scalar(sql);
    return count && count->toLongLong() == 0;
}

DatabaseOpener::Result fail(Database& db, DatabaseOpener::Result result, const QString& text, QString* error)
{
    if (error)
        *error = text;
    db.close();
    return result;
}

} // namespace

namespace DatabaseOpener {

Result open(Database& db, const ConnectionSettings& settings, bool createIfMissing, QString* error)
{
    bool fresh = false;
    if (settings.engine == ConnectionSettings::Engine::Sqlite) {
        const QFileInfo file(settings.sqliteFile);
        if (!file.exists()) {
            if (!createIfMissing)
                return fail(db, Result::Missing, QStringLiteral("%1 does not exist").arg(settings.sqliteFile), error);
            if (!QDir().mkpath(file.absolutePath()))
                return fail(db, Result::Unreachable,
                            QStringLiteral("cannot create the folder %1").arg(file.absolutePath()), error);
            fresh = true;
        } else if (!file.isFile()) {
            return fail(db, Result::NotOurs, QStringLiteral("%1 is not a file").arg(settings.sqliteFile), error);
        }
    }
    if (!db.open(settings))
        return fail(db, Result::Unreachable, db.lastError(), error);

    if (settings.engine == ConnectionSettings::Engine::Postgres && createIfMissing && hasNoTables(db))
        fresh = true;
    if (fresh) {
        QString why;
        if (!Schema::create(db, &why)) {
            db.close();
            if (settings.engine == ConnectionSettings::Engine::Sqlite) {
                // Leave no half-made file behind, or the next start would take it for a database.
                for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                    QFile::remove(settings.sqliteFile + suffix);
            }
            return fail(db, Result::Unreachable, why, error);
        }
        return Result::Created;
    }
    QString why;
    if (!Schema::upgrade(db, &why))
        return fail(db, Result::NotOurs, why, error);
    return Result::Opened;
}

} // namespace DatabaseOpener
