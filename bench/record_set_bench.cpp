// Opening the order list: RecordSet against a plain QSqlQuery on the large demo database
// named by CORVALIN_BENCH_DB (made by corvalin_demo).

#include "data/connection_settings.h"
#include "data/database.h"
#include "data/database_opener.h"
#include "data/record_set.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>
#include <string>

namespace {

const QString kSql = QStringLiteral("select * from t_client order by F_code");
constexpr int kFirstRows = 100;

std::unique_ptr<Database> openedDatabase;
std::string openError;

void closeBenchDatabase()
{
    openedDatabase.reset();
}

// Opens the database once for every benchmark; nothing, with the reason given to the
// benchmark, when it is not there.
Database* benchDatabase(benchmark::State& state)
{
    if (!openedDatabase && openError.empty()) {
        const QString path = qEnvironmentVariable("CORVALIN_BENCH_DB");
        if (path.isEmpty()) {
            openError =
                "CORVALIN_BENCH_DB is not set: generate a database with corvalin_demo and name it there";
        } else if (!QFileInfo::exists(path)) {
            openError = "CORVALIN_BENCH_DB names no file: " + path.toStdString();
        } else {
            ConnectionSettings settings;
            settings.sqliteFile = path;
            auto db = std::make_unique<Database>();
            QString error;
            if (DatabaseOpener::open(*db, settings, /*createIfMissing*/ false, &error) !=
                DatabaseOpener::Result::Opened) {
                openError = "cannot open " + path.toStdString() + ": " + error.toStdString();
            } else {
                openedDatabase = std::move(db);
                // Close before the application object goes, while the driver is still there.
                qAddPostRoutine(closeBenchDatabase);
            }
        }
    }
    if (!openedDatabase)
        state.SkipWithError(openError.c_str());
    return openedDatabase.get();
}

void reportValues(benchmark::State& state, qint64 values)
{
    state.counters["values"] =
        benchmark::Counter(double(values) / double(qMax<qint64>(1, state.iterations())));
}

void BM_RecordSet_OpenFirst100(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    qint64 values = 0;
    std::string error;
    const int chunk = int(state.range(0));
    for (auto _ : state) {
        RecordSet records;
        if (chunk > 0)
            records.setChunkSize(chunk);
        if (!records.open(*db, kSql)) {
            error = "RecordSet::open failed: " + records.lastError().toStdString();
            state.SkipWithError(error.c_str());
            break;
        }
        while (records.rowCountLoaded() < kFirstRows && records.canFetchMore(QModelIndex()))
            records.fetchMore(QModelIndex());
        const int rows = qMin(kFirstRows, records.rowCountLoaded());
        const int columns = records.fieldCount();
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                QVariant value = records.value(row, column);
                benchmark::DoNotOptimize(value);
            }
        }
        values += qint64(rows) * columns;
    }
    reportValues(state, values);
}

void BM_QSqlQuery_OpenFirst100(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    qint64 values = 0;
    std::string error;
    for (auto _ : state) {
        QSqlQuery query(db->connection());
        query.setForwardOnly(true);
        if (!query.exec(kSql)) {
            error = "the query failed: " + query.lastError().text().toStdString();
            state.SkipWithError(error.c_str());
            break;
        }
        const int columns = query.record().count();
        int rows = 0;
        while (rows < kFirstRows && query.next()) {
            for (int column = 0; column < columns; ++column) {
                QVariant value = query.value(column);
                benchmark::DoNotOptimize(value);
            }
            ++rows;
        }
        values += qint64(rows) * columns;
    }
    reportValues(state, values);
}

// Reading the whole list is what sorting in memory costs first; shown for scale.
void BM_RecordSet_FetchAll(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    std::string error;
    qint64 rows = 0;
    for (auto _ : state) {
        RecordSet records;
        if (!records.open(*db, kSql) || !records.fetchAll()) {
            error = "RecordSet failed: " + records.lastError().toStdString();
            state.SkipWithError(error.c_str());
            break;
        }
        rows += records.rowCountLoaded();
    }
    state.counters["rows"] = benchmark::Counter(double(rows) / double(qMax<qint64>(1, state.iterations())));
}

void BM_QSqlQuery_ReadAll(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    std::string error;
    qint64 rows = 0;
    for (auto _ : state) {
        QSqlQuery query(db->connection());
        query.setForwardOnly(true);
        if (!query.exec(kSql)) {
            error = "the query failed: " + query.lastError().text().toStdString();
            state.SkipWithError(error.c_str());
            break;
        }
        const int columns = query.record().count();
        while (query.next()) {
            for (int column = 0; column < columns; ++column) {
                QVariant value = query.value(column);
                benchmark::DoNotOptimize(value);
            }
            ++rows;
        }
    }
    state.counters["rows"] = benchmark::Counter(double(rows) / double(qMax<qint64>(1, state.iterations())));
}

} // namespace

// Argument: rows per chunk, 0 for the record set's own default; 100 reads what the plain
// query reads.
BENCHMARK(BM_RecordSet_OpenFirst100)
    ->ArgName("chunk")
    ->Arg(0)
    ->Arg(100)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
BENCHMARK(BM_QSqlQuery_OpenFirst100)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RecordSet_FetchAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QSqlQuery_ReadAll)->Unit(benchmark::kMillisecond)->UseRealTime();
