#include "bench_database.h"

#include "data/connection_settings.h"
#include "data/database.h"
#include "data/database_opener.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>

#include <memory>
#include <string>

namespace {

std::unique_ptr<Database> shared;
std::string openError;

// Closed before the application object goes, which the SQL drivers need.
void closeShared()
{
    shared.reset();
}

} // namespace

Database* benchDatabase(benchmark::State& state)
{
    if (!shared && openError.empty()) {
        const QString path = qEnvironmentVariable("CORVALIN_BENCH_DB");
        if (path.isEmpty() || !QFileInfo::exists(path)) {
            openError = "CORVALIN_BENCH_DB names no database: generate one with corvalin_demo";
        } else {
            ConnectionSettings settings;
            settings.sqliteFile = path;
            auto db = std::make_unique<Database>();
            QString error;
            if (DatabaseOpener::open(*db, settings, false, &error) != DatabaseOpener::Result::Opened) {
                openError = "cannot open " + path.toStdString() + ": " + error.toStdString();
            } else {
                shared = std::move(db);
                qAddPostRoutine(closeShared);
            }
        }
    }
    if (!shared)
        state.SkipWithError(openError.c_str());
    return shared.get();
}
