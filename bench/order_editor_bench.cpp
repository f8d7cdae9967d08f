// The customer order editor on a copy of the large demo database named by CORVALIN_BENCH_DB
// (made by corvalin_demo; the copy keeps the original as generated). One iteration saves one
// order the way "确定" does: the duplicate-telephone look-ups, then one transaction with the
// order row and its 50 goods lines. The stock warning is measured apart: reading the stock
// of the 50 lines' goods, and the drawing of 50 amounts, which reads nothing.

#include "app/ini_file.h"
#include "data/connection_settings.h"
#include "data/data_module.h"
#include "data/database.h"
#include "data/database_opener.h"
#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "goods/goods_item.h"
#include "records/order_line_stock.h"
#include "records/order_lines.h"
#include "records/order_saver.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace {

constexpr int kLines = 50;

struct Shop {
    QTemporaryDir dir;
    Database db;
    ScriptedMessenger messenger;
    IniFile config;
    std::unique_ptr<DataModule> data;
    QList<GoodsItem> goods;
    int orders = 0;
};

std::unique_ptr<Shop> shop;
std::string shopError;

void closeShop()
{
    shop.reset();
}

Shop* openShop(benchmark::State& state)
{
    if (!shop && shopError.empty()) {
        const QString path = qEnvironmentVariable("CORVALIN_BENCH_DB");
        auto copy = std::make_unique<Shop>();
        const QString target = QDir(copy->dir.path()).filePath(QStringLiteral("Merisk.db"));
        ConnectionSettings settings;
        settings.sqliteFile = target;
        QString error;
        if (path.isEmpty() || !QFileInfo::exists(path)) {
            shopError = "CORVALIN_BENCH_DB names no database: generate one with corvalin_demo";
        } else if (!QFile::copy(path, target)) {
            shopError = "cannot copy " + path.toStdString();
        } else if (DatabaseOpener::open(copy->db, settings, false, &error) !=
                   DatabaseOpener::Result::Opened) {
            shopError = "cannot open the copy: " + error.toStdString();
        } else {
            copy->config.load(QDir(copy->dir.path()).filePath(QStringLiteral("config.ini")));
            copy->data =
                std::make_unique<DataModule>(copy->db, copy->messenger, copy->config, copy->dir.path());
            copy->data->login().operatorName = QStringLiteral("系统管理员");
            auto query =
                copy->db.exec(QStringLiteral("SELECT * FROM t_goods ORDER BY F_code LIMIT %1").arg(kLines));
            while (query && query->next())
                copy->goods << GoodsItem::fromQuery(*query);
            if (copy->goods.size() < kLines) {
                shopError = "the demo database has fewer goods than lines to save";
            } else {
                shop = std::move(copy);
                qAddPostRoutine(closeShop);
            }
        }
    }
    if (!shop)
        state.SkipWithError(shopError.c_str());
    return shop.get();
}

// A new order with its lines in the cache, as the editor holds it when "确定" is pressed.
OrderForm prepareOrder(Shop& s, RecordSet& lines, const QString& status)
{
    const QString code =
        s.data->services().nextCode(OrderSaver::maxCodeQuery(), OrderSaver::codeWidth).value();
    lines.setUpdateTable(QStringLiteral("t_HPrec"));
    lines.open(s.db, QStringLiteral("SELECT * FROM t_HPrec WHERE F_code = ? ORDER BY F_ID"), {code});
    for (const GoodsItem& item : std::as_const(s.goods))
        OrderLines::appendGoods(lines, item);
    OrderForm form =
        OrderForm::newOrder(code, QStringLiteral("系统管理员"), QDate::currentDate(), QStringLiteral("安装"));
    form.client = QStringLiteral("压测顾客");
    form.area = QStringLiteral("海淀区");
    form.address = QStringLiteral("学院路1号");
    form.salesPerson = QStringLiteral("王芳");
    form.phoneAppointment = true;
    // Numbers nobody has, so that both look-ups run and find nothing to ask about.
    form.phone = QStringLiteral("B-%1").arg(++s.orders);
    form.movePhone = QStringLiteral("M-%1").arg(s.orders);
    form.status = status;
    form.installer = QStringLiteral("刘师傅");
    return form;
}

void BM_OrderSave_NewOrderWith50Lines(benchmark::State& state)
{
    Shop* s = openShop(state);
    if (!s)
        return;
    for (auto _ : state) {
        state.PauseTiming();
        RecordSet lines;
        OrderForm form = prepareOrder(*s, lines, QStringLiteral("未服务"));
        state.ResumeTiming();
        OrderSaver saver(*s->data);
        if (saver.save({}, form, &lines).outcome != OrderSaver::Outcome::Saved) {
            state.SkipWithError("the save failed");
            return;
        }
    }
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_OrderSave_NewOrderWith50Lines)->Unit(benchmark::kMillisecond);

// Completing a dispatched order with 50 lines: the order, and the stock of 50 goods.
void BM_OrderSave_CompleteOrderWith50Lines(benchmark::State& state)
{
    Shop* s = openShop(state);
    if (!s)
        return;
    for (auto _ : state) {
        state.PauseTiming();
        RecordSet lines;
        OrderForm form = prepareOrder(*s, lines, QStringLiteral("正在服务"));
        OrderSaver saver(*s->data);
        OrderSaver::Context context;
        context.picker = true;
        saver.save(context, form, &lines);
        const qint64 id =
            s->db.scalar(QStringLiteral("SELECT F_ID FROM t_client WHERE F_code = ?"), {form.code})
                .value_or(QVariant())
                .toLongLong();
        RecordSet stored;
        stored.setUpdateTable(QStringLiteral("t_HPrec"));
        stored.open(s->db, QStringLiteral("SELECT * FROM t_HPrec WHERE F_code = ? ORDER BY F_ID"),
                    {form.code});
        state.ResumeTiming();
        if (saver.save({OrderEditMode::Complete, false, id, form.code}, form, &stored).outcome !=
            OrderSaver::Outcome::Saved) {
            state.SkipWithError("the completion failed");
            return;
        }
    }
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_OrderSave_CompleteOrderWith50Lines)->Unit(benchmark::kMillisecond);

// A change of the goods codes: the stock of all 50 goods in one statement.
void BM_StockWarning_ReadStockOf50Lines(benchmark::State& state)
{
    Shop* s = openShop(state);
    if (!s)
        return;
    RecordSet lines;
    prepareOrder(*s, lines, QStringLiteral("未服务"));
    for (auto _ : state) {
        OrderLineStock stock;
        stock.refresh(s->db, lines);
        benchmark::DoNotOptimize(stock.reads());
    }
}
BENCHMARK(BM_StockWarning_ReadStockOf50Lines)->Unit(benchmark::kMicrosecond);

// One repaint of the amounts of 50 lines (an amount typed counts the order's quantities
// again; the stock is not read).
void BM_StockWarning_Repaint50Amounts(benchmark::State& state)
{
    Shop* s = openShop(state);
    if (!s)
        return;
    RecordSet lines;
    prepareOrder(*s, lines, QStringLiteral("未服务"));
    OrderLineStock stock;
    stock.refresh(s->db, lines);
    for (auto _ : state) {
        stock.refresh(s->db, lines);
        int red = 0;
        for (int row = 0; row < lines.rowCount(); ++row)
            red += stock.isShort(lines, row);
        benchmark::DoNotOptimize(red);
    }
    state.counters["reads"] = stock.reads();
}
BENCHMARK(BM_StockWarning_Repaint50Amounts)->Unit(benchmark::kMicrosecond);

} // namespace
