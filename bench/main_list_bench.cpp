// Re-querying the main order list as the filters change, on the large demo database named by
// CORVALIN_BENCH_DB (made by corvalin_demo). One iteration is what the window does for one
// change: build the statement, open the list (its first chunk) and count the rows.

#include "app/main_list_query.h"
#include "data/connection_settings.h"
#include "data/database.h"
#include "data/database_opener.h"
#include "data/record_set.h"
#include "data/sql_value.h"

#include "bench_database.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>

#include <functional>
#include <memory>
#include <string>

namespace {

// The demo data ends on its generation day; ten years back covers all of it.
QDate lastDay(Database& db)
{
    const auto value = db.scalar(QStringLiteral("SELECT max(F_buyDate) FROM t_client"));
    const QDate date = value ? SqlDates::toDate(*value) : QDate();
    return date.isValid() ? date : QDate::currentDate();
}

MainListFilter tenYears(Database& db)
{
    MainListFilter filter;
    filter.to = lastDay(db);
    filter.from = filter.to.addYears(-10);
    filter.status = MainListFilter::Status::All;
    return filter;
}

MainListFilter typed(Database& db, const char* field, const char* value)
{
    MainListFilter filter = tenYears(db);
    filter.searchField = MainListQuery::searchFieldIndex(QString::fromUtf8(field));
    filter.searchValue = QString::fromUtf8(value);
    return filter;
}

void requery(benchmark::State& state, const std::function<MainListFilter(Database&)>& makeFilter)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    const MainListFilter filter = makeFilter(*db);
    RecordSet records;
    qint64 rows = 0;
    for (auto _ : state) {
        QString error;
        const auto counted = MainListQuery::open(*db, filter, records, &error);
        if (!counted) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        rows = *counted;
        benchmark::DoNotOptimize(records.rowCountLoaded());
    }
    state.counters["rows"] = double(rows);
}

void fillValueList(benchmark::State& state, const char* listType)
{
    Database* db = benchDatabase(state);
    if (!db)
        return;
    const int type = MainListQuery::listTypeIndex(QString::fromUtf8(listType));
    qsizetype values = 0;
    for (auto _ : state) {
        const auto list = MainListQuery::values(*db, type);
        if (!list) {
            state.SkipWithError(db->lastError().toStdString().c_str());
            return;
        }
        values = list->size();
    }
    state.counters["values"] = double(values);
}

struct Case {
    const char* name;
    std::function<MainListFilter(Database&)> filter;
};

const Case kCases[] = {
    {"Start_NotServed_ThisMonth",
     [](Database& db) {
         MainListFilter f;
         f.to = lastDay(db);
         f.from = QDate(f.to.year(), f.to.month(), 1);
         return f;
     }},
    {"All_TenYears", [](Database& db) { return tenYears(db); }},
    {"Served_TenYears",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.status = MainListFilter::Status::Served;
         return f;
     }},
    {"InService_TenYears",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.status = MainListFilter::Status::InService;
         return f;
     }},
    {"OpenDateRange_All",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.from = SqlDates::openRangeStart();
         f.to = SqlDates::openRangeEnd();
         return f;
     }},
    // Typing a customer's name, one keystroke at a time.
    {"Type_Client_1", [](Database& db) { return typed(db, "顾客姓名", "王"); }},
    {"Type_Client_2", [](Database& db) { return typed(db, "顾客姓名", "王建"); }},
    {"Type_Client_3", [](Database& db) { return typed(db, "顾客姓名", "王建国"); }},
    {"Type_Client_NoMatch", [](Database& db) { return typed(db, "顾客姓名", "无此顾客"); }},
    {"Type_MobilePhone_3", [](Database& db) { return typed(db, "移动电话", "138"); }},
    {"Type_MobilePhone_8", [](Database& db) { return typed(db, "移动电话", "13800138"); }},
    {"Type_FixedPhone", [](Database& db) { return typed(db, "固定电话", "010-7"); }},
    {"Type_Address", [](Database& db) { return typed(db, "家庭地址", "望春园"); }},
    {"Type_Opinion", [](Database& db) { return typed(db, "顾客意见", "满意"); }},
    {"Type_OrderCode", [](Database& db) { return typed(db, "单据编号", "0001"); }},
    {"Type_GoodsName_1", [](Database& db) { return typed(db, "商品名称", "冰"); }},
    {"Type_GoodsName_3", [](Database& db) { return typed(db, "商品名称", "冰箱"); }},
    {"Type_GoodsName_NoMatch", [](Database& db) { return typed(db, "商品名称", "无此商品"); }},
    {"Type_GoodsType", [](Database& db) { return typed(db, "商品类型", "空调\\挂"); }},
    {"Type_BarCode", [](Database& db) { return typed(db, "条    码", "690150"); }},
    {"ValueList_Area",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.listType = MainListQuery::listTypeIndex(QStringLiteral("区    域"));
         f.listValue = QStringLiteral("朝阳区");
         return f;
     }},
    {"ValueList_GoodsName",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.listType = MainListQuery::listTypeIndex(QStringLiteral("商品名称"));
         f.listValue = QStringLiteral("美的变频挂机空调");
         return f;
     }},
    {"ValueList_Brand",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.listType = MainListQuery::listTypeIndex(QStringLiteral("品    牌"));
         f.listValue = QStringLiteral("美的");
         return f;
     }},
    {"Tree_Store",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.purchasePlace = QStringLiteral("\\\\总店");
         return f;
     }},
    {"Tree_Counter",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.purchasePlace = QStringLiteral("\\\\天津分店\\空调柜台");
         return f;
     }},
    {"OwnOrdersOnly_All",
     [](Database& db) {
         MainListFilter f = tenYears(db);
         f.ownOrdersOnly = true;
         f.operatorName = QStringLiteral("苏浩");
         return f;
     }},
};

const char* const kValueLists[] = {"区    域", "商品名称", "品    牌", "服务人员", "录入人员"};

[[maybe_unused]] const bool kRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("BM_MainList_") + c.name).c_str(),
                                     [filter = c.filter](benchmark::State& state) { requery(state, filter); })
            ->Unit(benchmark::kMillisecond);
    }
    for (const char* type : kValueLists) {
        benchmark::RegisterBenchmark((std::string("BM_MainList_FillValueList/") + type).c_str(),
                                     [type](benchmark::State& state) { fillValueList(state, type); })
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
