// Re-querying the repair management list as its filters change, on the large demo database
// named by CORVALIN_BENCH_DB (made by corvalin_demo). One iteration is what the window does for
// one change: count the repairs, open the list (its first chunk); or fill the value list.

#include "data/connection_settings.h"
#include "data/database.h"
#include "data/database_opener.h"
#include "data/record_set.h"
#include "data/sql_value.h"
#include "records/repair_list_query.h"

#include "bench_database.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>

#include <functional>
#include <memory>
#include <string>

namespace {

// The money columns whose totals the window's footer shows.
const QStringList kFooterSums = {"F_pjtotalPrice", "F_fwtotalPrice", "F_sfTotalPrice", "F_XZprice"};

// The demo data ends on its generation day.
QDate lastDay(Database& db)
{
    const auto value = db.scalar(QStringLiteral("SELECT max(F_bxDate) FROM t_WXrec"));
    const QDate date = value ? SqlDates::toDate(*value) : QDate();
    return date.isValid() ? date : QDate::currentDate();
}

// What the window shows when it opens: this month's repairs not served yet.
RepairListFilter opening(Database& db)
{
    RepairListFilter filter;
    filter.reportTo = lastDay(db);
    filter.reportFrom = QDate(filter.reportTo.year(), filter.reportTo.month(), 1);
    return filter;
}

// Every repair of the ten years, whatever its status.
RepairListFilter tenYears(Database& db)
{
    RepairListFilter filter = opening(db);
    filter.reportFrom = filter.reportTo.addYears(-10);
    filter.status = RepairListFilter::Status::All;
    return filter;
}

RepairListFilter typed(Database& db, int searchType, const char* text)
{
    RepairListFilter filter = tenYears(db);
    filter.searchType = searchType;
    filter.searchText = QString::fromUtf8(text);
    return filter;
}

RepairListFilter chosen(Database& db, const char* listType, const char* value)
{
    RepairListFilter filter = tenYears(db);
    filter.listType = RepairListQuery::listTypeIndex(QString::fromUtf8(listType));
    filter.listValue = QString::fromUtf8(value);
    return filter;
}

void requery(benchmark::State& state, const std::function<RepairListFilter(Database&)>& makeFilter)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    const RepairListFilter filter = makeFilter(*db);
    RecordSet records;
    qint64 rows = 0;
    for (auto _ : state) {
        QString error;
        const auto found = RepairListQuery::open(*db, filter, records, kFooterSums, &error);
        if (!found) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        rows = found->rows;
        benchmark::DoNotOptimize(records.rowCountLoaded());
    }
    state.counters["rows"] = double(rows);
}

void fillValueList(benchmark::State& state, const char* listType)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    const int type = RepairListQuery::listTypeIndex(QString::fromUtf8(listType));
    qsizetype values = 0;
    for (auto _ : state) {
        const auto list = RepairListQuery::values(*db, type);
        if (!list) {
            state.SkipWithError(db->lastError().toStdString().c_str());
            return;
        }
        values = list->size();
    }
    state.counters["values"] = double(values);
}

// What a sum footer of the grid itself would cost: reading every repair of ten years.
void readWholeList(benchmark::State& state)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    const RepairListFilter filter = tenYears(*db);
    RecordSet records;
    for (auto _ : state) {
        if (!RepairListQuery::open(*db, filter, records) || !records.fetchAll()) {
            state.SkipWithError(records.lastError().toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(records.rowCountLoaded());
    }
    state.counters["rows"] = double(records.rowCountLoaded());
}

struct Case {
    const char* name;
    std::function<RepairListFilter(Database&)> filter;
};

const Case kCases[] = {
    {"Start_NotServed_ThisMonth", [](Database& db) { return opening(db); }},
    {"All_TenYears", [](Database& db) { return tenYears(db); }},
    {"NotServed_TenYears",
     [](Database& db) {
         RepairListFilter f = tenYears(db);
         f.status = RepairListFilter::Status::NotServed;
         return f;
     }},
    {"InService_TenYears",
     [](Database& db) {
         RepairListFilter f = tenYears(db);
         f.status = RepairListFilter::Status::InService;
         return f;
     }},
    {"Served_TenYears",
     [](Database& db) {
         RepairListFilter f = tenYears(db);
         f.status = RepairListFilter::Status::Served;
         return f;
     }},
    {"RepairDate_LastYear",
     [](Database& db) {
         RepairListFilter f = tenYears(db);
         f.repairFrom = f.reportTo.addYears(-1);
         f.repairTo = f.reportTo;
         return f;
     }},
    // Typing into 查询内容, one keystroke at a time.
    {"Type_FixedPhone", [](Database& db) { return typed(db, 0, "010-6"); }},
    {"Type_MobilePhone_3", [](Database& db) { return typed(db, 1, "138"); }},
    {"Type_MobilePhone_8", [](Database& db) { return typed(db, 1, "13800138"); }},
    {"Type_Address", [](Database& db) { return typed(db, 2, "望春园"); }},
    {"Type_Fault", [](Database& db) { return typed(db, 3, "漏水"); }},
    {"Type_Result_NoMatch", [](Database& db) { return typed(db, 8, "无此结果"); }},
    {"Value_Client", [](Database& db) { return chosen(db, "顾客姓名", "王荣"); }},
    {"Value_Area", [](Database& db) { return chosen(db, "区    域", "海淀区"); }},
    {"Value_BuyAddress", [](Database& db) { return chosen(db, "购买地点", "\\\\燕郊分店\\家电卖场"); }},
    {"Value_Installer", [](Database& db) { return chosen(db, "安装人员", "戴金"); }},
    {"Value_ServiceType", [](Database& db) { return chosen(db, "服务类别", "送修"); }},
    {"Value_Reason", [](Database& db) { return chosen(db, "维修原因", "用户原因"); }},
    {"Value_Warranty", [](Database& db) { return chosen(db, "维修种类", "保外"); }},
    {"Value_ServicePerson", [](Database& db) { return chosen(db, "服务人员", "刘帆"); }},
    {"Value_RepairInfo", [](Database& db) { return chosen(db, "维护信息", "需二次上门"); }},
    {"Value_Attitude", [](Database& db) { return chosen(db, "服务态度", "一般"); }},
    {"Value_PartName", [](Database& db) { return chosen(db, "配件名称", "压缩机"); }},
};

const char* const kListTypes[] = {"顾客姓名", "区    域", "购买地点", "安装人员", "服务类别", "维修原因",
                                  "维修种类", "服务人员", "维护信息", "服务态度", "配件名称"};

[[maybe_unused]] const bool kRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("BM_RepairList_") + c.name).c_str(),
                                     [filter = c.filter](benchmark::State& state) { requery(state, filter); })
            ->Unit(benchmark::kMillisecond);
    }
    for (const char* type : kListTypes) {
        benchmark::RegisterBenchmark((std::string("BM_RepairList_FillValueList/") + type).c_str(),
                                     [type](benchmark::State& state) { fillValueList(state, type); })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_RepairList_ReadAll_TenYears", readWholeList)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
