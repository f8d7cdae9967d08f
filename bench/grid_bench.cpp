// The data grid and the Excel export on the large demo database named by CORVALIN_BENCH_DB
// (made by corvalin_demo): the main list of all orders opened into a grid and its first
// screen drawn, a title click that sorts by a text column, and 100,000 rows of 20 columns
// written to .xlsx, beside the same sheet written by Python's openpyxl (write-only mode)
// when /usr/bin/python3 has it. A program of its own: widgets need a QApplication.

#include "app/main_list_filter.h"
#include "app/main_list_query.h"
#include "data/connection_settings.h"
#include "data/database.h"
#include "data/database_opener.h"
#include "data/grid_excel_exporter.h"
#include "data/grid_layout_seed.h"
#include "data/record_set.h"
#include "data/sql_value.h"
#include "widgets/data_grid.h"

#include "bench_database.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>

namespace {

MainListFilter allOrders()
{
    MainListFilter filter;
    filter.from = SqlDates::openRangeStart();
    filter.to = SqlDates::openRangeEnd();
    filter.status = MainListFilter::Status::All;
    return filter;
}

// The main window's list: its designed columns, 1280 x 720.
std::unique_ptr<DataGrid> mainListGrid()
{
    auto grid = std::make_unique<DataGrid>();
    grid->setColumns(GridLayoutSeed::designedColumns(QStringLiteral("clientmain")));
    grid->resize(1280, 720);
    grid->show();
    return grid;
}

void drawNow(DataGrid& grid)
{
    QCoreApplication::processEvents();
    grid.viewport()->repaint();
}

void BM_Grid_OpenAllOrdersAndDrawFirstScreen(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    RecordSet records;
    auto grid = mainListGrid();
    grid->setSourceModel(&records);
    qint64 rows = 0;
    for (auto _ : state) {
        QString error;
        const auto counted = MainListQuery::open(*db, allOrders(), records, &error);
        if (!counted) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        rows = *counted;
        drawNow(*grid);
    }
    state.counters["rows"] = double(rows);
    state.counters["loaded"] = double(records.rowCountLoaded());
}
BENCHMARK(BM_Grid_OpenAllOrdersAndDrawFirstScreen)->Unit(benchmark::kMillisecond);

void BM_Grid_ScrollOneScreen(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    RecordSet records;
    auto grid = mainListGrid();
    grid->setSourceModel(&records);
    if (!MainListQuery::open(*db, allOrders(), records)) {
        state.SkipWithError("the list did not open");
        return;
    }
    drawNow(*grid);
    QScrollBar* bar = grid->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->value() + bar->pageStep());
        drawNow(*grid);
    }
    state.counters["loaded"] = double(records.rowCountLoaded());
}
BENCHMARK(BM_Grid_ScrollOneScreen)->Unit(benchmark::kMillisecond);

// A click on the 顾客姓名 title: every row is read (the list opened lazily) and sorted by the
// Chinese names; then the first screen is drawn again.
void BM_Grid_TitleClickSortsByCustomerName(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    RecordSet records;
    auto grid = mainListGrid();
    grid->setSourceModel(&records);
    QHeaderView* header = grid->horizontalHeader();
    const int logical = header->logicalIndex(grid->positionOf(QStringLiteral("F_client")));
    for (auto _ : state) {
        state.PauseTiming();
        if (!MainListQuery::open(*db, allOrders(), records)) {
            state.SkipWithError("the list did not open");
            return;
        }
        drawNow(*grid);
        state.ResumeTiming();
        const QPoint at(header->sectionViewportPosition(logical) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        drawNow(*grid);
    }
    state.counters["rows"] = double(records.rowCount());
}
BENCHMARK(BM_Grid_TitleClickSortsByCustomerName)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same on rows already read: only the sort itself.
void BM_Grid_ResortLoadedRowsByCustomerName(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    RecordSet records;
    auto grid = mainListGrid();
    grid->setSourceModel(&records);
    if (!MainListQuery::open(*db, allOrders(), records) || !records.fetchAll()) {
        state.SkipWithError("the list did not open");
        return;
    }
    bool ascending = true;
    for (auto _ : state) {
        grid->applySortText(QStringLiteral("F_client %1").arg(ascending ? "ASC" : "DESC"));
        ascending = !ascending;
        drawNow(*grid);
    }
    state.counters["rows"] = double(records.rowCount());
}
BENCHMARK(BM_Grid_ResortLoadedRowsByCustomerName)->Unit(benchmark::kMillisecond)->Iterations(5);

constexpr int kExportRows = 100000;
const char* const kExportColumns[][3] = {
    // field, title, display format
    {"F_code", "单据编号", ""},       {"F_client", "顾客姓名", ""},   {"F_phone", "固定电话", ""},
    {"F_movePhone", "移动电话", ""},  {"F_address", "家庭地址", ""},  {"F_area", "区域", ""},
    {"F_buyAddress", "购买地点", ""}, {"F_buyDate", "购买时间", ""},  {"F_IFsonghuo", "是否送货", ""},
    {"F_setupDate", "安装时间", ""},  {"F_phoneYD", "电话预约", ""},  {"F_memo1", "派工要求", ""},
    {"F_FWemp", "服务人员", ""},      {"F_FWprice", "薪资", ",0.00"}, {"F_status", "状态", ""},
    {"F_memo2", "顾客意见", ""},      {"F_PGemp", "派工人员", ""},    {"F_OperName", "录入人员", ""},
    {"F_FWtype", "服务类型", ""},     {"F_SZ1", "数值一", "0.##"},
};

QString exportSelect()
{
    QStringList fields;
    for (const auto& column : kExportColumns)
        fields << QString::fromLatin1(column[0]);
    return QStringLiteral("SELECT %1 FROM t_client ORDER BY F_code LIMIT %2")
        .arg(fields.join(QStringLiteral(", ")))
        .arg(kExportRows);
}

void BM_Export_100kRows20Columns_Xlsxwriter(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    QList<GridColumn> columns;
    for (const auto& c : kExportColumns) {
        GridColumn column;
        column.fieldName = QString::fromLatin1(c[0]);
        column.title = QString::fromUtf8(c[1]);
        column.displayFormat = QString::fromLatin1(c[2]);
        columns << column;
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("orders.xlsx"));
    qint64 bytes = 0;
    qint64 rows = 0;
    for (auto _ : state) {
        // Opening the list belongs to the export: the rows are read as they are written.
        RecordSet records;
        if (!records.open(*db, exportSelect())) {
            state.SkipWithError(records.lastError().toStdString().c_str());
            return;
        }
        GridExcelExporter exporter(records, columns, QStringLiteral("客户列表"));
        if (!exporter.write(file)) {
            state.SkipWithError(exporter.error().toStdString().c_str());
            return;
        }
        rows = exporter.rowsWritten();
        bytes = QFileInfo(file).size();
    }
    state.counters["rows"] = double(rows);
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_Export_100kRows20Columns_Xlsxwriter)->Unit(benchmark::kMillisecond)->Iterations(3);

// The reference: the same rows read with Python's sqlite3 and written with openpyxl in its
// write-only (streaming) mode, timed by the script itself, interpreter start-up excluded.
const char* kOpenpyxlScript = R"PY(
import sqlite3, sys, time
from openpyxl import Workbook
from openpyxl.cell import WriteOnlyCell
path, out, sql, kinds = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4].split('|')
titles = sys.argv[5].split('|')
start = time.perf_counter()
con = sqlite3.connect(path)
wb = Workbook(write_only=True)
ws = wb.create_sheet('客户列表')
ws.append(titles)
for row in con.execute(sql):
    cells = []
    for value, kind in zip(row, kinds):
        if value is None or (kind == 'd' and value < '1901-08-14'):
            cells.append(None)
            continue
        if kind in ('t', 'd'):
            cell = WriteOnlyCell(ws, value=str(value))
            cell.number_format = '@'
        else:
            cell = WriteOnlyCell(ws, value=value)
            cell.number_format = kind
        cells.append(cell)
    ws.append(cells)
wb.save(out)
print(time.perf_counter() - start)
)PY";

void BM_Export_100kRows20Columns_Openpyxl(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    const QString python = QStringLiteral("/usr/bin/python3");
    QProcess probe;
    probe.start(python, {QStringLiteral("-c"), QStringLiteral("import openpyxl")});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0) {
        state.SkipWithError(
            "openpyxl is not installed for /usr/bin/python3 (apt-get install python3-openpyxl)");
        return;
    }
    // Per column: t text, d date (text, blank before the threshold), or the number format.
    QStringList kinds;
    QStringList titles;
    for (const auto& c : kExportColumns) {
        const QString code = GridExcelExporter::excelNumberFormat(QString::fromLatin1(c[2]));
        const bool date = QByteArray(c[0]).endsWith("Date");
        kinds << (!code.isEmpty() ? code : date ? QStringLiteral("d") : QStringLiteral("t"));
        titles << QString::fromUtf8(c[1]);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("orders.xlsx"));
    for (auto _ : state) {
        QProcess run;
        run.start(python,
                  {QStringLiteral("-c"), QString::fromUtf8(kOpenpyxlScript), db->settings().sqliteFile, file,
                   exportSelect(), kinds.join(QLatin1Char('|')), titles.join(QLatin1Char('|'))});
        if (!run.waitForFinished(600000) || run.exitCode() != 0) {
            state.SkipWithError(run.readAllStandardError().toStdString().c_str());
            return;
        }
        state.SetIterationTime(run.readAllStandardOutput().trimmed().toDouble());
    }
    state.counters["MB"] = double(QFileInfo(file).size()) / 1e6;
}
BENCHMARK(BM_Export_100kRows20Columns_Openpyxl)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
