#include "demo_data_generator.h"

#include "demo_random.h"
#include "demo_vocabulary.h"
#include "table_writer.h"

#include "data/database.h"
#include "data/sql_value.h"
#include "operators/password_hash.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace V = DemoVocabulary;

namespace {

// Each table draws from its own stream, so changing how one table is made leaves the
// others as they were.
enum Stream : std::uint64_t {
    StaffStream = 1,
    GoodsStream,
    PlanStream,
    OrderStream,
    LineStream,
    VisitStream,
    RepairStream,
    MovementStream,
    InvoiceStream,
    CustomerStream,
};

// A stream of its own for one item (a customer, an order's invoice) of a kind.
std::uint64_t itemStream(Stream kind, int item)
{
    return (std::uint64_t(kind) << 40) + std::uint64_t(item);
}

enum class OrderStatus : quint8 { Open, InService, Served };

QString statusText(OrderStatus status)
{
    switch (status) {
    case OrderStatus::Open:
        return QStringLiteral("未服务");
    case OrderStatus::InService:
        return QStringLiteral("正在服务");
    case OrderStatus::Served:
        break;
    }
    return QStringLiteral("已服务");
}

struct OrderPlan {
    int buyDay = 0; // days after the first day
    int setupDay = 0;
    OrderStatus status = OrderStatus::Open;
    int lines = 0;
    int visits = 0;
    int customer = 0;
    int mainGoods = 0;
};

struct Goods {
    QString code;
    QString name;
    QString typePath;
    QString brand;
    QString model;
    QString origin;
    QString barcode;
    QString warranty;
    QString supplier;
    int category = 0;
    double price1 = 0;
    double price2 = 0;
    bool withdrawn = false;
    double sold = 0; // in served orders, which is what lowers stock
};

struct Customer {
    QString name;
    QString phone;
    QString mobile;
    QString address;
    QString area;
    QString city;
};

struct RepairPlan {
    int order = 0;
    int reportDay = 0;
};

struct PartLine {
    QString repairCode;
    QString code;
    QString name;
    QString model;
    double amount = 1;
    double price = 0;
    bool charged = false;
};

struct Movement {
    int day = 0;
    int goods = 0;
    double amount = 0;
    int flag = 1; // 1 received, -1 returned to the supplier
};

QString numbered(qint64 number, int width)
{
    return QString::number(number).rightJustified(width, QLatin1Char('0'));
}

double roundTo(double value, double step)
{
    return std::round(value / step) * step;
}

const double kMonthWeights[12] = {0.9, 1.1, 0.8, 0.9, 1.1, 1.4, 1.5, 1.3, 1.0, 1.2, 1.1, 1.0};

QStringList columns(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

struct DemoDataGenerator::Private {
    Private(Database& database, const Options& opts) : db(database), options(opts) {}

    Database& db;
    Options options;
    std::function<void(const QString&, qint64, qint64)> progress;
    QString error;

    QDate firstDay;
    int lastDay = 0;
    QDate noDate = SqlDates::noDate();

    QStringList installers, dispatchers, sellers, callers, operatorNames;
    QList<QStringList> goodsTypePaths; // per category, per subtype
    QStringList placePaths;            // purchase places a customer can name: the leaves
    QHash<QString, QList<int>> placesByCity;
    QHash<QString, QString> partCodes; // spare part name to its code

    std::vector<Goods> goods;
    std::vector<int> popularity;
    std::vector<OrderPlan> orders;
    std::vector<PartLine> parts;

    QDate dateOf(int day) const { return firstDay.addDays(day); }
    QString orderCode(int order) const { return numbered(order + 1, 8); }

    bool fail(const QString& why)
    {
        error = why;
        return false;
    }
    bool finish(TableWriter& writer, const QString& table, const QElapsedTimer& timer)
    {
        if (!writer.finish())
            return fail(writer.lastError());
        if (progress)
            progress(table, writer.rows(), timer.elapsed());
        return true;
    }
    bool write(TableWriter& writer, const QVariantList& values)
    {
        if (writer.insert(values))
            return true;
        return fail(writer.lastError());
    }

    QString personName(DemoRandom& r) const
    {
        const QStringList& given = V::givenNameCharacters();
        // One draw per statement: the order in which operands of + are evaluated is unspecified.
        QString name = V::surnames().at(r.skewed(int(V::surnames().size()), 2));
        name += r.pick(given);
        if (r.chance(0.7))
            name += r.pick(given);
        return name;
    }

    // A customer's details depend on the customer's number only, so a returning customer
    // keeps name, telephones and address from one order to the next.
    Customer customerOf(int number) const
    {
        DemoRandom r(options.seed, itemStream(CustomerStream, number));
        Customer c;
        c.name = personName(r);
        int roll = r.below(100);
        const V::City* city = &V::cities().constFirst();
        for (const V::City& candidate : V::cities()) {
            if (roll < candidate.weight) {
                city = &candidate;
                break;
            }
            roll -= candidate.weight;
        }
        const V::District& district = r.pick(city->districts);
        c.city = city->name;
        c.area = district.name;
        c.address = city->name + district.name + r.pick(district.streets);
        c.address += QString::number(r.between(1, 280)) + QStringLiteral("号");
        if (r.chance(0.8)) {
            c.address += r.pick(V::housingEstates());
            c.address += QString::number(r.between(1, 30)) + QStringLiteral("号楼");
            c.address += QString::number(r.between(1, 6)) + QStringLiteral("单元");
            const int floor = r.between(1, 28);
            c.address += QString::number(floor * 100 + r.between(1, 4)) + QStringLiteral("室");
        }
        static const QStringList mobilePrefixes = {
            QStringLiteral("130"), QStringLiteral("131"), QStringLiteral("132"), QStringLiteral("133"),
            QStringLiteral("135"), QStringLiteral("136"), QStringLiteral("137"), QStringLiteral("138"),
            QStringLiteral("139"), QStringLiteral("150"), QStringLiteral("151"), QStringLiteral("152"),
            QStringLiteral("155"), QStringLiteral("156"), QStringLiteral("158"), QStringLiteral("159"),
            QStringLiteral("176"), QStringLiteral("177"), QStringLiteral("180"), QStringLiteral("186"),
            QStringLiteral("187"), QStringLiteral("188"), QStringLiteral("189"), QStringLiteral("199")};
        const bool hasMobile = r.chance(0.92);
        if (hasMobile) {
            c.mobile = r.pick(mobilePrefixes);
            c.mobile += r.digits(8);
        }
        if (!hasMobile || r.chance(0.35)) {
            c.phone = city->phoneArea + QLatin1Char('-') + QString::number(r.between(2, 8));
            c.phone += r.digits(city->phoneDigits - 1);
        }
        return c;
    }

    // Two thirds of the orders carry an invoice number; the goods lines repeat it.
    QString invoiceOf(int order) const
    {
        DemoRandom r(options.seed, itemStream(InvoiceStream, order));
        if (r.below(3) == 0)
            return QString();
        return r.digits(8);
    }
    QString callerOf(int order) const
    {
        if (callers.isEmpty())
            return QString();
        return callers.at(
            int(DemoRandom::mix(options.seed ^ std::uint64_t(order)) % std::uint64_t(callers.size())));
    }
    QString attitude(DemoRandom& r) const
    {
        const int roll = r.below(100);
        if (roll < 40)
            return QStringLiteral("非常满意");
        if (roll < 85)
            return QStringLiteral("满意");
        if (roll < 97)
            return QStringLiteral("一般");
        return QStringLiteral("不满意");
    }
    int pickGoods(DemoRandom& r) const { return popularity.at(r.skewed(int(popularity.size()), 2)); }
    const QString& pickOperator(DemoRandom& r) const
    {
        return operatorNames.at(r.skewed(int(operatorNames.size()), 2));
    }

    bool writeCodeLists();
    bool writeTrees();
    bool writeOperators();
    void buildGoods();
    void planOrders();
    bool writeOrders();
    bool writeGoodsLines();
    bool writeVisits();
    bool writeRepairs();
    bool writeParts();
    bool writeStock();
};

bool DemoDataGenerator::Private::writeCodeLists()
{
    QElapsedTimer timer;
    timer.start();
    DemoRandom r(options.seed, StaffStream);
    QSet<QString> taken;
    auto staff = [&](int count) {
        QStringList names;
        while (names.size() < count) {
            const QString name = personName(r);
            if (!taken.contains(name)) {
                taken.insert(name);
                names << name;
            }
        }
        return names;
    };
    installers = staff(24);
    dispatchers = staff(4);
    sellers = staff(14);
    callers = staff(4);
    operatorNames = staff(5);

    QStringList areas;
    for (const V::City& city : V::cities()) {
        for (const V::District& district : city.districts)
            areas << district.name;
    }
    QStringList brands;
    QStringList partNames;
    for (const V::Category& category : V::categories()) {
        for (const QString& brand : category.brands) {
            if (!brands.contains(brand))
                brands << brand;
        }
    }
    for (const V::SparePart& part : V::spareParts()) {
        partCodes.insert(part.name, QStringLiteral("PJ") + numbered(partNames.size() + 1, 3));
        partNames << part.name;
    }

    QList<QPair<QString, QStringList>> lists = {
        {QStringLiteral("area"), areas},        {QStringLiteral("fwemp"), installers},
        {QStringLiteral("pgemp"), dispatchers}, {QStringLiteral("xsemp"), sellers},
        {QStringLiteral("hfemp"), callers},     {QStringLiteral("pinpai"), brands},
        {QStringLiteral("pjname"), partNames},
    };
    lists << V::fixedCodeLists();

    TableWriter writer(db, QStringLiteral("t_code"), columns("F_code F_name F_type"),
                       options.rowsPerTransaction);
    for (const auto& [type, names] : lists) {
        for (int i = 0; i < names.size(); ++i) {
            if (!write(writer, {numbered(i + 1, 3), names.at(i), type}))
                return false;
        }
    }
    return finish(writer, QStringLiteral("t_code"), timer);
}

bool DemoDataGenerator::Private::writeTrees()
{
    QElapsedTimer timer;
    timer.start();
    // A path is two backslashes, then the names from the top down joined by one backslash;
    // records store it, and a LIKE on a path finds a node with everything below it.
    const QString top = QStringLiteral("\\\\");
    const QString joint = QStringLiteral("\\");
    TableWriter writer(db, QStringLiteral("t_treecode"), columns("F_code F_name F_likecode F_flag"),
                       options.rowsPerTransaction);
    const QString goodType = QStringLiteral("goodtype");
    for (int c = 0; c < V::categories().size(); ++c) {
        const V::Category& category = V::categories().at(c);
        const QString code = numbered(c + 1, 3);
        const QString path = top + category.name;
        if (!write(writer, {code, category.name, path, goodType}))
            return false;
        QStringList subtypePaths;
        for (int s = 0; s < category.subtypes.size(); ++s) {
            const QString subPath = path + joint + category.subtypes.at(s);
            subtypePaths << subPath;
            if (!write(writer, {code + numbered(s + 1, 3), category.subtypes.at(s), subPath, goodType}))
                return false;
        }
        goodsTypePaths << subtypePaths;
    }
    const QString buyAddress = QStringLiteral("buyaddress");
    for (int p = 0; p < V::purchasePlaces().size(); ++p) {
        const V::PurchasePlace& place = V::purchasePlaces().at(p);
        const QString code = numbered(p + 1, 3);
        const QString path = top + place.name;
        if (!write(writer, {code, place.name, path, buyAddress}))
            return false;
        QStringList leaves;
        for (int s = 0; s < place.counters.size(); ++s) {
            const QString subPath = path + joint + place.counters.at(s);
            leaves << subPath;
            if (!write(writer, {code + numbered(s + 1, 3), place.counters.at(s), subPath, buyAddress}))
                return false;
        }
        if (leaves.isEmpty())
            leaves << path;
        for (const QString& leaf : leaves) {
            placesByCity[place.city].append(int(placePaths.size()));
            placePaths << leaf;
        }
    }
    return finish(writer, QStringLiteral("t_treecode"), timer);
}

bool DemoDataGenerator::Private::writeOperators()
{
    QElapsedTimer timer;
    timer.start();
    struct Role {
        const char* code;
        const char* name;
        const char* remark;
        const char* permissionPrefixes; // permission codes granted, by leading digits
    };
    const Role roles[] = {
        {"01", "店长", "全部权限", "1 2 3 4 5"},
        {"02", "录入员", "录入、派工、完工和打印", "102 2 303 304 305 306 401 402"},
        {"03", "查询员", "查询和统计", "102 4"},
    };
    TableWriter roleWriter(db, QStringLiteral("PartList"), columns("F_Code F_Name F_Mem F_Flag"),
                           options.rowsPerTransaction);
    for (const Role& role : roles) {
        if (!write(roleWriter, {QString::fromLatin1(role.code), QString::fromUtf8(role.name),
                                QString::fromUtf8(role.remark), false}))
            return false;
    }
    if (!finish(roleWriter, QStringLiteral("PartList"), timer))
        return false;

    timer.restart();
    auto permissions = db.exec(QStringLiteral("SELECT F_Code FROM Limits ORDER BY F_Code"));
    if (!permissions)
        return fail(db.lastError());
    QStringList codes;
    while (permissions->next())
        codes << permissions->value(0).toString();
    permissions.reset();
    TableWriter limitWriter(db, QStringLiteral("PartLimit"), columns("F_PartCode F_LmtCode"),
                            options.rowsPerTransaction);
    for (const Role& role : roles) {
        const QStringList prefixes = QString::fromLatin1(role.permissionPrefixes).split(QLatin1Char(' '));
        for (const QString& code : codes) {
            const bool granted = std::any_of(prefixes.cbegin(), prefixes.cend(),
                                             [&](const QString& prefix) { return code.startsWith(prefix); });
            if (granted && !write(limitWriter, {QString::fromLatin1(role.code), code}))
                return false;
        }
    }
    if (!finish(limitWriter, QStringLiteral("PartLimit"), timer))
        return false;

    timer.restart();
    // One hash for every demo operator: Argon2id is slow on purpose.
    const QString password = PasswordHash::hash(QStringLiteral("123"));
    if (password.isEmpty())
        return fail(QStringLiteral("the password could not be hashed"));
    struct Operator {
        const char* role;
        const char* remark;
        bool disabled;
        bool ownOrdersOnly;
    };
    const Operator operators[] = {
        {"01", "店长", false, false},     {"02", "前台录入", false, false}, {"02", "分店录入", false, true},
        {"03", "财务查询", false, false}, {"02", "已离职", true, false},
    };
    TableWriter operatorWriter(db, QStringLiteral("OperList"),
                               columns("F_Code F_Name F_PassWord F_PartCode F_Mem F_Flag F_xtFlag"),
                               options.rowsPerTransaction);
    for (int i = 0; i < int(std::size(operators)); ++i) {
        const Operator& o = operators[i];
        if (!write(operatorWriter,
                   {numbered(i + 1, 3), operatorNames.at(i), password, QString::fromLatin1(o.role),
                    QString::fromUtf8(o.remark), o.disabled, o.ownOrdersOnly}))
            return false;
    }
    if (!finish(operatorWriter, QStringLiteral("OperList"), timer))
        return false;

    if (!db.exec(QStringLiteral("UPDATE sysInfo SET F_Code = ?, F_Name = ?, F_Manager = ?, F_Phone = ?,"
                                " F_HandPhone = ?"),
                 {QStringLiteral("恒信家电服务中心"), QStringLiteral("北京市海淀区学院路88号"),
                  operatorNames.at(0), QStringLiteral("010-62345678"), QStringLiteral("13901234567")}))
        return fail(db.lastError());
    return true;
}

void DemoDataGenerator::Private::buildGoods()
{
    DemoRandom r(options.seed, GoodsStream);
    static const QStringList series = {
        QStringLiteral("一级能效"), QStringLiteral("变频"), QStringLiteral("节能"), QStringLiteral("智能"),
        QStringLiteral("静音"),     QStringLiteral("新款"), QStringLiteral("经典"), QStringLiteral("")};
    int totalWeight = 0;
    for (const V::Category& category : V::categories())
        totalWeight += category.weight;
    goods.resize(std::size_t(qMax(0, options.goods)));
    for (int g = 0; g < options.goods; ++g) {
        Goods& item = goods[std::size_t(g)];
        int roll = r.below(totalWeight);
        int c = 0;
        while (roll >= V::categories().at(c).weight) {
            roll -= V::categories().at(c).weight;
            ++c;
        }
        const V::Category& category = V::categories().at(c);
        const int subtype = r.below(int(category.subtypes.size()));
        const QString& subtypeName = category.subtypes.at(subtype);
        item.code = numbered(g + 1, 6);
        item.category = c;
        item.brand = r.pick(category.brands);
        item.name = item.brand + r.pick(series) + subtypeName +
                    (subtypeName.contains(category.name) ? QString() : category.name);
        item.typePath = goodsTypePaths.at(c).at(subtype);
        item.model = category.modelPrefix + QString::number(r.between(4, 140) * 5);
        for (int i = r.between(2, 4); i > 0; --i)
            item.model += QLatin1Char(char('A' + r.below(26)));
        if (r.chance(0.5))
            item.model += QLatin1Char('/') + r.digits(2);
        const double u = r.unit();
        const double raw = category.lowPrice + (category.highPrice - category.lowPrice) * u * u;
        item.price1 = raw >= 1000 ? roundTo(raw, 100) - 1 : roundTo(raw, 10) - 1;
        item.price2 = roundTo(item.price1 * (0.72 + 0.12 * r.unit()), 1);
        item.origin = r.pick(V::placesOfOrigin());
        item.barcode = QStringLiteral("69") + r.digits(11);
        item.warranty = QStringLiteral("%1年").arg(category.warrantyYears);
        item.supplier = QStringLiteral("北京") + item.brand + QStringLiteral("电器销售有限公司");
        item.withdrawn = r.chance(0.03);
    }
    // Popular goods are spread over the catalogue rather than bunched at the first codes.
    popularity.resize(goods.size());
    for (std::size_t i = 0; i < popularity.size(); ++i)
        popularity[i] = int(i);
    for (std::size_t i = popularity.size(); i > 1; --i)
        std::swap(popularity[i - 1], popularity[std::size_t(r.below(int(i)))]);
}

void DemoDataGenerator::Private::planOrders()
{
    DemoRandom r(options.seed, PlanStream);
    const int count = qMax(0, options.orders);
    orders.resize(std::size_t(count));
    // Business grows over the years (a steady base plus a share rising linearly) and peaks in summer.
    std::vector<int> days(static_cast<std::size_t>(count));
    for (int& day : days) {
        for (;;) {
            const double u = r.unit();
            day = qMin(lastDay, int((r.chance(0.3) ? u : std::sqrt(u)) * (lastDay + 1)));
            if (r.unit() * 1.5 < kMonthWeights[dateOf(day).month() - 1])
                break;
        }
    }
    std::sort(days.begin(), days.end());
    for (int i = 0; i < count; ++i) {
        OrderPlan& plan = orders[std::size_t(i)];
        plan.buyDay = days[std::size_t(i)];
        plan.setupDay = plan.buyDay + (r.chance(0.2) ? 0 : r.between(1, 6));
        const int age = lastDay - plan.setupDay;
        const int roll = r.below(1000);
        if (age < 0)
            plan.status = roll < 600 ? OrderStatus::Open : OrderStatus::InService;
        else if (age <= 3)
            plan.status = roll < 150   ? OrderStatus::Open
                          : roll < 500 ? OrderStatus::InService
                                       : OrderStatus::Served;
        else if (age <= 30)
            plan.status = roll < 30    ? OrderStatus::Open
                          : roll < 100 ? OrderStatus::InService
                                       : OrderStatus::Served;
        else
            plan.status = roll < 2   ? OrderStatus::Open
                          : roll < 5 ? OrderStatus::InService
                                     : OrderStatus::Served;
        plan.customer = (i > 0 && r.chance(0.12)) ? orders[std::size_t(r.below(i))].customer : i;
        plan.mainGoods = goods.empty() ? -1 : pickGoods(r);
    }

    if (count > 0 && !goods.empty()) {
        int lines = qMax(0, options.goodsLines);
        if (lines >= count) {
            for (OrderPlan& plan : orders)
                plan.lines = 1;
            lines -= count;
        }
        for (; lines > 0; --lines)
            ++orders[std::size_t(r.below(count))].lines;
    }

    // Return visits go to served orders whose installation day has passed: first one per
    // order, in order, picked by selection sampling so that the count is exact.
    std::vector<int> candidates;
    for (int i = 0; i < count; ++i) {
        const OrderPlan& plan = orders[std::size_t(i)];
        if (plan.status == OrderStatus::Served && plan.setupDay < lastDay)
            candidates.push_back(i);
    }
    if (candidates.empty())
        return;
    const int wanted = qMax(0, options.visits);
    int needed = qMin(wanted, int(candidates.size()));
    int left = int(candidates.size());
    for (int i : candidates) {
        if (r.below(left) < needed) {
            orders[std::size_t(i)].visits = 1;
            --needed;
        }
        --left;
    }
    for (int extra = wanted - int(candidates.size()); extra > 0; --extra)
        ++orders[std::size_t(candidates[std::size_t(r.below(int(candidates.size())))])].visits;
}

bool DemoDataGenerator::Private::writeOrders()
{
    QElapsedTimer timer;
    timer.start();
    DemoRandom r(options.seed, OrderStream);
    TableWriter writer(
        db, QStringLiteral("t_client"),
        columns(
            "F_code F_client F_phone F_movePhone F_address F_area F_buyAddress F_buyDate F_IFsonghuo"
            " F_setupDate F_phoneYD F_tiaoma F_memo1 F_FWemp F_FWprice F_status F_memo2 F_PGemp F_OperName"
            " F_FWtype F_tiaoma1 F_tiaoma2 F_XSemp F_HFemp F_EditEmp F_FPcode F_setupPOS F_PStype F_FWtaidu"
            " F_ZF1 F_ZF2 F_ZF3 F_ZF4 F_ZF5 F_SZ1 F_SZ2 F_SZ3 F_RQ1 F_RQ2 F_RQ3 F_awokeDate"),
        options.rowsPerTransaction);
    const QString empty = QStringLiteral("");
    const QString yes = QStringLiteral("是");
    const QString no = QStringLiteral("否");
    const QList<int> anywhere = placesByCity.value(QString());
    for (int i = 0; i < int(orders.size()); ++i) {
        const OrderPlan& plan = orders[std::size_t(i)];
        const Customer c = customerOf(plan.customer);
        const int categoryIndex = plan.mainGoods >= 0 ? goods[std::size_t(plan.mainGoods)].category : 0;
        const V::Category& category = V::categories().at(categoryIndex);

        QList<int> places = placesByCity.value(c.city);
        if (places.isEmpty() || r.chance(0.15))
            places = anywhere;
        const QString buyAddress = places.isEmpty() ? empty : placePaths.at(r.pick(places));

        QString serviceType;
        const int roll = r.below(100);
        if (category.installWage >= 100) // goods that need a fitter on site
            serviceType = roll < 85   ? QStringLiteral("送货安装")
                          : roll < 93 ? QStringLiteral("安装")
                          : roll < 96 ? QStringLiteral("移机")
                          : roll < 98 ? QStringLiteral("拆机")
                                      : QStringLiteral("清洗保养");
        else
            serviceType = roll < 60   ? QStringLiteral("送货")
                          : roll < 95 ? QStringLiteral("送货安装")
                                      : QStringLiteral("安装");
        const bool delivered = serviceType.contains(QStringLiteral("送货"));
        QString deliveryType = QStringLiteral("顾客自提");
        if (delivered) {
            const int d = r.below(100);
            deliveryType = d < 75   ? QStringLiteral("本店送货")
                           : d < 93 ? QStringLiteral("厂家直送")
                                    : QStringLiteral("物流代送");
        }

        const bool dispatched = plan.status != OrderStatus::Open;
        const bool served = plan.status == OrderStatus::Served;
        double wage = 0;
        if (dispatched) {
            wage = serviceType == QStringLiteral("送货")
                       ? 20 + 10 * r.below(2)
                       : roundTo(qMax(20, category.installWage) * (0.8 + 0.4 * r.unit()), 10);
            wage += 10 * (plan.lines > 1 ? plan.lines - 1 : 0);
        }
        const QDate buyDate = dateOf(plan.buyDay);
        const QVariantList row = {
            orderCode(i),
            c.name,
            c.phone,
            c.mobile,
            c.address,
            c.area,
            buyAddress,
            buyDate,
            delivered ? yes : no,
            dateOf(plan.setupDay),
            r.chance(0.7) ? yes : no,
            empty,
            r.chance(0.3) ? r.pick(V::dispatchRequirements()) : empty,
            dispatched ? r.pick(installers) : empty,
            wage,
            statusText(plan.status),
            served && r.chance(0.1) ? r.pick(V::customerOpinions()) : empty,
            dispatched ? r.pick(dispatchers) : empty,
            pickOperator(r),
            serviceType,
            empty,
            empty,
            r.chance(0.9) ? r.pick(sellers) : empty,
            plan.visits > 0 ? callerOf(i) : empty,
            r.chance(0.15) ? pickOperator(r) : empty,
            invoiceOf(i),
            r.pick(category.rooms),
            deliveryType,
            served ? attitude(r) : empty,
            empty,
            empty,
            empty,
            empty,
            empty,
            0.0,
            0.0,
            0.0,
            noDate,
            noDate,
            noDate,
            r.chance(0.85) ? buyDate : noDate,
        };
        if (!write(writer, row))
            return false;
    }
    return finish(writer, QStringLiteral("t_client"), timer);
}

bool DemoDataGenerator::Private::writeGoodsLines()
{
    QElapsedTimer timer;
    timer.start();
    DemoRandom r(options.seed, LineStream);
    TableWriter writer(
        db, QStringLiteral("t_HPrec"),
        columns("F_code F_HPcode F_HPname F_type F_PLtype F_pinPai F_spec F_address F_unit F_amount"
                " F_price F_totalprice F_FPcode F_TMcode F_YZcode F_memo1"),
        options.rowsPerTransaction);
    const QString empty = QStringLiteral("");
    static const double discounts[] = {1.0, 1.0, 1.0, 0.98, 0.95, 0.9, 0.88};
    for (int i = 0; i < int(orders.size()); ++i) {
        const OrderPlan& plan = orders[std::size_t(i)];
        const QString code = orderCode(i);
        const QString invoice = invoiceOf(i);
        for (int line = 0; line < plan.lines; ++line) {
            const int index = line == 0 ? plan.mainGoods : pickGoods(r);
            Goods& item = goods[std::size_t(index)];
            const V::Category& category = V::categories().at(item.category);
            const int roll = r.below(100);
            const double amount = roll < 88 ? 1 : roll < 98 ? 2 : 3;
            const double price = roundTo(item.price1 * discounts[r.below(int(std::size(discounts)))], 1);
            if (plan.status == OrderStatus::Served)
                item.sold += amount;
            if (!write(writer, {code, item.code, item.name, item.typePath, category.name, item.brand,
                                item.model, item.origin, category.unit, amount, price, amount * price,
                                invoice, item.barcode, empty, empty}))
                return false;
        }
    }
    return finish(writer, QStringLiteral("t_HPrec"), timer);
}

bool DemoDataGenerator::Private::writeVisits()
{
    QElapsedTimer timer;
    timer.start();
    DemoRandom r(options.seed, VisitStream);
    TableWriter writer(
        db, QStringLiteral("t_HFrec"),
        columns("F_code F_client F_phone F_movePhone F_Address F_HFdate F_HFemp F_memo1 F_memo2"
                " F_memo3 F_FWtaidu F_addFlag F_HFitem1 F_HFitem2 F_HFitem3 F_HFitem4 F_HFitem5"
                " F_HFprice1 F_HFprice2 F_HFprice3 F_HFprice4 F_HFprice5 F_HFtotalPrice"),
        options.rowsPerTransaction);
    const QString empty = QStringLiteral("");
    QStringList chargeItems;
    for (const auto& [type, names] : V::fixedCodeLists()) {
        if (type == QLatin1String("hfitem"))
            chargeItems = names;
    }
    for (int i = 0; i < int(orders.size()); ++i) {
        const OrderPlan& plan = orders[std::size_t(i)];
        for (int visit = 0; visit < plan.visits; ++visit) {
            const int day =
                qMin(lastDay, plan.setupDay + (visit == 0 ? r.between(1, 7) : r.between(20, 90) * visit));
            QStringList items;
            QList<double> prices;
            if (r.chance(0.25)) {
                for (int k = r.between(1, 3); k > 0; --k) {
                    const QString item = r.pick(chargeItems);
                    if (!items.contains(item)) {
                        items << item;
                        prices << 10.0 * r.between(2, 20);
                    }
                }
            }
            QVariantList row = {orderCode(i),
                                empty,
                                empty,
                                empty,
                                empty,
                                dateOf(day),
                                visit == 0 ? callerOf(i) : r.pick(callers),
                                r.pick(V::visitContents()),
                                r.chance(0.6) ? r.pick(V::visitResults()) : empty,
                                items.isEmpty() ? empty : QStringLiteral("已收费"),
                                attitude(r),
                                r.chance(0.2)};
            double total = 0;
            for (int k = 0; k < 5; ++k)
                row << (k < items.size() ? items.at(k) : empty);
            for (int k = 0; k < 5; ++k) {
                const double price = k < prices.size() ? prices.at(k) : 0.0;
                total += price;
                row << price;
            }
            row << total;
            if (!write(writer, row))
                return false;
        }
    }
    return finish(writer, QStringLiteral("t_HFrec"), timer);
}

bool DemoDataGenerator::Private::writeRepairs()
{
    QElapsedTimer timer;
    timer.start();
    DemoRandom r(options.seed, RepairStream);
    // Repairs are reported at least a week after installation, for served orders.
    std::vector<int> candidates;
    for (int i = 0; i < int(orders.size()); ++i) {
        const OrderPlan& plan = orders[std::size_t(i)];
        if (plan.status == OrderStatus::Served && plan.mainGoods >= 0 && plan.setupDay + 7 <= lastDay)
            candidates.push_back(i);
    }
    std::vector<RepairPlan> plans;
    if (!candidates.empty()) {
        plans.resize(std::size_t(qMax(0, options.repairs)));
        for (RepairPlan& plan : plans) {
            plan.order = candidates[std::size_t(r.below(int(candidates.size())))];
            const int from = orders[std::size_t(plan.order)].setupDay + 7;
            plan.reportDay = from + r.below(lastDay - from + 1);
        }
        std::sort(plans.begin(), plans.end(), [](const RepairPlan& a, const RepairPlan& b) {
            return a.reportDay != b.reportDay ? a.reportDay < b.reportDay : a.order < b.order;
        });
    }

    TableWriter writer(
        db, QStringLiteral("t_WXrec"),
        columns("F_code F_WXcode F_FWtype F_bxFlag F_WXstatus F_memo1 F_memo2 F_memo3 F_bxDate"
                " F_SMtime F_FWemp F_FWemp2 F_reasonFlag F_memo4 F_memo5 F_memo6 F_WXinfo F_WXother"
                " F_PJtotalprice F_FWtotalprice F_SFtotalprice F_mem F_XFdate F_PGemp F_OperName"
                " F_HFemp F_WXflag F_FWtaidu F_XZprice F_XZemp F_Phone"),
        options.rowsPerTransaction);
    const QString empty = QStringLiteral("");
    QStringList repairTypes, repairStates, repairInfo;
    for (const auto& [type, names] : V::fixedCodeLists()) {
        if (type == QLatin1String("wxtype"))
            repairTypes = names;
        else if (type == QLatin1String("wxstatus"))
            repairStates = names;
        else if (type == QLatin1String("wxinfo"))
            repairInfo = names;
    }
    parts.clear();
    parts.reserve(plans.size() * 2);
    for (int n = 0; n < int(plans.size()); ++n) {
        const RepairPlan& plan = plans[std::size_t(n)];
        const OrderPlan& order = orders[std::size_t(plan.order)];
        const Goods& item = goods[std::size_t(order.mainGoods)];
        const V::Category& category = V::categories().at(item.category);
        const QString code = numbered(n + 1, 8);
        const int age = lastDay - plan.reportDay;

        const int roll = r.below(1000);
        int flag = 2;
        if (age <= 2)
            flag = roll < 400 ? 0 : roll < 800 ? 1 : 2;
        else if (age <= 14)
            flag = roll < 50 ? 0 : roll < 300 ? 1 : 2;
        else
            flag = roll < 2 ? 0 : roll < 5 ? 1 : 2;
        QString state;
        if (flag == 0)
            state = repairStates.value(0);
        else if (flag == 1)
            state = repairStates.value(r.between(1, 3));
        else
            state = r.chance(0.97) ? repairStates.value(4) : repairStates.value(5);

        const bool inWarranty = plan.reportDay - order.buyDay <= category.warrantyYears * 365;
        const bool productFault = r.chance(0.8);
        const bool charged = !inWarranty || !productFault;
        int visitDay = plan.reportDay + r.between(0, 3);
        int fixedDay = -1;
        if (flag == 2) {
            visitDay = plan.reportDay + r.between(0, qMin(2, age));
            fixedDay = visitDay + r.between(0, qMin(3, lastDay - visitDay));
        }
        const QString fitter = flag > 0 ? r.pick(installers) : empty;

        double partsCharged = 0;
        if (flag > 0) {
            for (int k = r.between(1, 3); k > 0; --k) {
                PartLine part;
                part.repairCode = code;
                part.name = r.pick(category.parts);
                part.code = partCodes.value(part.name);
                part.model = item.brand + QStringLiteral("原装");
                part.amount = part.name == QStringLiteral("冷媒") ? r.between(1, 2) : 1;
                // The repair editor totals every parts line, ticked or not; parts the shop does
                // not charge for are therefore entered at no price.
                const double listPrice = roundTo(V::sparePartPrice(part.name) * (0.8 + 0.4 * r.unit()), 1);
                part.price = charged ? listPrice : 0.0;
                part.charged = charged;
                partsCharged += part.amount * part.price;
                parts.push_back(part);
            }
        }
        const double serviceFee = charged && flag > 0 ? 10.0 * r.between(3, 15) : 0.0;
        const QVariantList row = {
            orderCode(plan.order),
            code,
            r.chance(0.85) ? repairTypes.value(0) : r.pick(repairTypes),
            inWarranty ? QStringLiteral("保内") : QStringLiteral("保外"),
            state,
            r.pick(category.faults),
            r.chance(0.4) ? r.pick(V::repairDispatchNotes()) : empty,
            r.chance(0.4) ? r.pick(category.parts) + QStringLiteral("、万用表") : empty,
            dateOf(plan.reportDay),
            dateOf(visitDay),
            fitter,
            empty,
            productFault ? QStringLiteral("产品原因") : QStringLiteral("用户原因"),
            flag == 2 ? r.pick(V::repairCauses()) : empty,
            flag == 2 ? r.pick(V::repairSolutions()) : empty,
            flag == 2 ? r.pick(V::repairResults()) : empty,
            r.chance(0.5) ? r.pick(repairInfo) : empty,
            empty,
            partsCharged,
            serviceFee,
            partsCharged + serviceFee,
            r.chance(0.05) ? QStringLiteral("顾客要求开具维修发票") : empty,
            fixedDay >= 0 ? dateOf(fixedDay) : noDate,
            flag > 0 ? r.pick(dispatchers) : empty,
            pickOperator(r),
            flag == 2 && r.chance(0.3) ? r.pick(callers) : empty,
            flag,
            flag == 2 ? attitude(r) : empty,
            flag == 2 ? 10.0 * r.between(3, 10) : 0.0,
            flag == 2 ? fitter : empty,
            empty,
        };
        if (!write(writer, row))
            return false;
    }
    return finish(writer, QStringLiteral("t_WXrec"), timer);
}

bool DemoDataGenerator::Private::writeParts()
{
    QElapsedTimer timer;
    timer.start();
    TableWriter writer(
        db, QStringLiteral("t_PJdetail"),
        columns("F_WXcode F_code F_name F_spec F_amount F_price F_totalprice F_IFshouFei F_memo1"),
        options.rowsPerTransaction);
    const QString empty = QStringLiteral("");
    for (const PartLine& part : parts) {
        if (!write(writer, {part.repairCode, part.code, part.name, part.model, part.amount, part.price,
                            part.amount * part.price, part.charged, empty}))
            return false;
    }
    return finish(writer, QStringLiteral("t_PJdetail"), timer);
}

// Stock movements cover what the served orders sold plus what is left on the shelf, so the
// catalogue's stock equals receipts minus returns minus sales, as the stock statistics count.
bool DemoDataGenerator::Private::writeStock()
{
    QElapsedTimer timer;
    timer.start();
    DemoRandom r(options.seed, MovementStream);
    const int goodsCount = int(goods.size());
    std::vector<int> quota(goods.size(), 0);
    const int total = goodsCount > 0 ? qMax(0, options.stockMovements) : 0;
    double weightSum = 0;
    for (const Goods& item : goods)
        weightSum += item.sold + 3;
    int assigned = 0;
    for (int g = 0; g < goodsCount; ++g) {
        quota[std::size_t(g)] = int(std::floor(total * (goods[std::size_t(g)].sold + 3) / weightSum));
        assigned += quota[std::size_t(g)];
    }
    for (; assigned < total; ++assigned)
        ++quota[std::size_t(r.below(goodsCount))];

    std::vector<Movement> movements;
    movements.reserve(std::size_t(total));
    std::vector<double> stock(goods.size(), 0);
    for (int g = 0; g < goodsCount; ++g) {
        const int count = quota[std::size_t(g)];
        if (count == 0)
            continue;
        std::vector<int> days(static_cast<std::size_t>(count));
        for (int& day : days)
            day = r.below(lastDay + 1);
        std::sort(days.begin(), days.end());
        std::vector<int> flags(std::size_t(count), 1);
        double returned = 0;
        int receipts = count;
        for (int k = 1; k < count; ++k) {
            if (r.chance(0.08)) {
                flags[std::size_t(k)] = -1;
                --receipts;
            }
        }
        std::vector<double> amounts(std::size_t(count), 0);
        for (int k = 0; k < count; ++k) {
            if (flags[std::size_t(k)] < 0) {
                amounts[std::size_t(k)] = r.between(1, 3);
                returned += amounts[std::size_t(k)];
            }
        }
        const Goods& item = goods[std::size_t(g)];
        const double onShelf = item.withdrawn ? 0 : r.between(0, 30);
        const double received = qMax<double>(receipts, item.sold + returned + onShelf);
        stock[std::size_t(g)] = received - item.sold - returned;
        // Each receipt gets one unit, the rest is shared out by random weights.
        std::vector<double> weights(std::size_t(count), 0);
        double weightTotal = 0;
        for (int k = 0; k < count; ++k) {
            if (flags[std::size_t(k)] > 0) {
                weights[std::size_t(k)] = 0.5 + r.unit();
                weightTotal += weights[std::size_t(k)];
            }
        }
        double rest = received - receipts;
        int lastReceipt = 0;
        for (int k = 0; k < count; ++k) {
            if (flags[std::size_t(k)] < 0)
                continue;
            const double share = std::floor((received - receipts) * weights[std::size_t(k)] / weightTotal);
            amounts[std::size_t(k)] = 1 + share;
            rest -= share;
            lastReceipt = k;
        }
        amounts[std::size_t(lastReceipt)] += rest;
        for (int k = 0; k < count; ++k)
            movements.push_back({days[std::size_t(k)], g, amounts[std::size_t(k)], flags[std::size_t(k)]});
    }
    std::sort(movements.begin(), movements.end(), [](const Movement& a, const Movement& b) {
        return a.day != b.day ? a.day < b.day : a.goods < b.goods;
    });

    TableWriter movementWriter(
        db, QStringLiteral("t_goodJHrec"),
        columns("F_GoodCode F_editDate F_amount F_memo1 F_price1 F_price2 F_OperName F_OperFlag"),
        options.rowsPerTransaction);
    const QString empty = QStringLiteral("");
    for (const Movement& m : movements) {
        const Goods& item = goods[std::size_t(m.goods)];
        const QString memo = m.flag < 0      ? QStringLiteral("质量问题退货")
                             : r.chance(0.1) ? QStringLiteral("厂家补货")
                                             : empty;
        if (!write(movementWriter, {item.code, dateOf(m.day), m.amount, memo, item.price1, item.price2,
                                    pickOperator(r), m.flag}))
            return false;
    }
    if (!finish(movementWriter, QStringLiteral("t_goodJHrec"), timer))
        return false;

    timer.restart();
    TableWriter goodsWriter(
        db, QStringLiteral("t_goods"),
        columns("F_code F_name F_type F_TMcode F_spec F_pinPai F_price1 F_price2 F_address"
                " F_unit F_BXqi F_useFlag F_Memo1 F_amount F_imagePath F_suppler"),
        options.rowsPerTransaction);
    for (int g = 0; g < goodsCount; ++g) {
        const Goods& item = goods[std::size_t(g)];
        const V::Category& category = V::categories().at(item.category);
        if (!write(goodsWriter, {item.code, item.name, item.typePath, item.barcode, item.model, item.brand,
                                 item.price1, item.price2, item.origin, category.unit, item.warranty,
                                 item.withdrawn, empty, stock[std::size_t(g)], empty, item.supplier}))
            return false;
    }
    return finish(goodsWriter, QStringLiteral("t_goods"), timer);
}

DemoDataGenerator::Options DemoDataGenerator::scaled(double scale)
{
    Options options;
    auto times = [scale](int count) { return count > 0 ? qMax(1, int(std::llround(count * scale))) : count; };
    options.orders = times(options.orders);
    options.goodsLines = times(options.goodsLines);
    options.visits = times(options.visits);
    options.repairs = times(options.repairs);
    options.goods = times(options.goods);
    options.stockMovements = times(options.stockMovements);
    return options;
}

DemoDataGenerator::DemoDataGenerator(Database& db, const Options& options)
    : d(std::make_unique<Private>(db, options))
{
}

DemoDataGenerator::~DemoDataGenerator() = default;

void DemoDataGenerator::setProgress(std::function<void(const QString&, qint64, qint64)> progress)
{
    d->progress = std::move(progress);
}

QString DemoDataGenerator::lastError() const
{
    return d->error;
}

bool DemoDataGenerator::run()
{
    d->error.clear();
    const QDate endDate = d->options.endDate.isValid() ? d->options.endDate : QDate::currentDate();
    d->firstDay = endDate.addYears(-qMax(1, d->options.years)).addDays(1);
    d->lastDay = int(d->firstDay.daysTo(endDate));

    auto existing = d->db.scalar(QStringLiteral("SELECT count(*) FROM t_client"));
    if (!existing)
        return d->fail(d->db.lastError());
    if (existing->toLongLong() > 0)
        return d->fail(QStringLiteral("the database already holds customer orders"));

    if (!d->writeCodeLists() || !d->writeTrees() || !d->writeOperators())
        return false;
    d->buildGoods();
    d->planOrders();
    return d->writeOrders() && d->writeGoodsLines() && d->writeVisits() && d->writeRepairs() &&
           d->writeParts() && d->writeStock();
}
