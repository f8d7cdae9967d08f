#include "data/schema_seed.h"

#include "data/database.h"
#include "data/grid_layout_seed.h"
#include "operators/password_hash.h"

#include <QStringList>

namespace {

struct Permission {
    const char* code;
    const char* caption;
};

// One item per gated main-window command; the role editor offers those with F_Flag set.
const Permission kPermissions[] = {
    {"101", "公司信息"},         {"102", "更改密码"},         {"103", "用户权限"},
    {"104", "选项..."},          {"105", "商品类型"},         {"106", "购买地点"},
    {"107", "自定义项"},         {"201", "新增"},             {"202", "修改"},
    {"203", "删除"},             {"204", "排序..."},          {"205", "显示字段选择"},
    {"206", "保存当前网格"},     {"207", "派工"},             {"208", "完工"},
    {"209", "维修"},             {"210", "商品"},             {"301", "导出"},
    {"302", "报表设计"},         {"303", "安装送货记录详单"}, {"304", "安装送货记录列表"},
    {"305", "安装送货派工表单"}, {"306", "售后维修派工表单"}, {"401", "统计"},
    {"402", "业务提醒"},         {"403", "安装送货薪资汇总"}, {"404", "安装送货薪资明细"},
    {"405", "商品安装汇总统计"}, {"406", "商品安装明细统计"}, {"407", "服务项目收费汇总"},
    {"408", "服务项目收费明细"}, {"409", "售后回访查询统计"}, {"410", "售后维修配件汇总"},
    {"411", "售后维修配件明细"}, {"412", "商品进退货明细表"}, {"413", "商品库存汇总统计"},
    {"414", "周期保养查询统计"}, {"501", "系统数据清理"},     {"502", "数据备份恢复"},
    {"503", "压缩修复数据"},     {"504", "连接网络数据库"},
};

// KeyValue in F_ID order: eleven custom-item captions, decimals of unit prices, quantities and
// amounts, the maintenance reminder period in months, and one spare row.
const char* const kKeyValues[] = {
    "字符项一", "字符项二", "字符项三", "字符项四", "字符项五", "数值项一", "数值项二", "数值项三",
    "日期项一", "日期项二", "日期项三", "2",        "2",        "2",        "1",        "",
};

struct Statistic {
    const char* name;
    const char* column;
};

// Customer counts per category over the purchase date range of the chart window.
const Statistic kStatistics[] = {
    {"服务类型", "F_FWtype"},
    {"区域", "F_area"},
    {"购买地点", "F_buyAddress"},
    {"销售人员", "F_XSemp"},
};

struct ImportField {
    const char* table;
    const char* field;
    const char* caption; // also the column title the sample workbooks carry in their first row
};

const ImportField kImportFields[] = {
    {"t_goods", "F_code", "商品编号"},       {"t_goods", "F_name", "商品名称"},
    {"t_goods", "F_type", "商品类型"},       {"t_goods", "F_TMcode", "条码"},
    {"t_goods", "F_spec", "规格型号"},       {"t_goods", "F_pinPai", "品牌"},
    {"t_goods", "F_unit", "单位"},           {"t_goods", "F_price1", "预售单价"},
    {"t_goods", "F_price2", "进货单价"},     {"t_goods", "F_amount", "库存数量"},
    {"t_goods", "F_address", "产地"},        {"t_goods", "F_BXqi", "保修期"},
    {"t_goods", "F_suppler", "供应商"},      {"t_goods", "F_Memo1", "备注"},
    {"t_client", "F_code", "单号"},          {"t_client", "F_client", "顾客姓名"},
    {"t_client", "F_phone", "固定电话"},     {"t_client", "F_movePhone", "移动电话"},
    {"t_client", "F_address", "家庭地址"},   {"t_client", "F_area", "区域"},
    {"t_client", "F_buyAddress", "购买地点"}, {"t_client", "F_buyDate", "购买时间"},
    {"t_client", "F_FWtype", "服务类型"},    {"t_client", "F_XSemp", "销售人员"},
    {"t_client", "F_FPcode", "发票号码"},    {"t_client", "F_memo1", "派工要求"},
    {"t_client", "F_memo2", "顾客意见"},
};

bool fail(Database& db, QString* error)
{
    if (error)
        *error = db.lastError();
    return false;
}

} // namespace

namespace SchemaSeed {

bool insertAll(Database& db, QString* error)
{
    for (const Permission& p : kPermissions) {
        if (!db.insert(QStringLiteral("Limits"), {{QStringLiteral("F_Code"), QString::fromUtf8(p.code)},
                                                  {QStringLiteral("F_Name"), QString::fromUtf8(p.caption)},
                                                  {QStringLiteral("F_Flag"), true}}))
            return fail(db, error);
    }
    for (const char* value : kKeyValues) {
        if (!db.insert(QStringLiteral("KeyValue"), {{QStringLiteral("F_Value"), QString::fromUtf8(value)}}))
            return fail(db, error);
    }
    const QString empty = QStringLiteral("");
    if (!db.insert(QStringLiteral("sysInfo"),
                   {{QStringLiteral("F_Code"), empty}, {QStringLiteral("F_Name"), empty},
                    {QStringLiteral("F_Manager"), empty}, {QStringLiteral("F_Phone"), empty},
                    {QStringLiteral("F_HandPhone"), empty}, {QStringLiteral("F_Homepage"), empty},
                    {QStringLiteral("F_Email"), empty}, {QStringLiteral("F_Enroler"), empty},
                    {QStringLiteral("F_Mem"), empty}, {QStringLiteral("F_BakPath"), empty}}))
        return fail(db, error);
    for (const Statistic& s : kStatistics) {
        const QString column = QString::fromLatin1(s.column);
        const QString sql = QStringLiteral("select coalesce(%1, '') as F_name, count(*) as F_num from t_client"
                                           " where F_buyDate between :fromDate and :toDate"
                                           " group by coalesce(%1, '') order by count(*) desc")
                                .arg(column);
        if (!db.insert(QStringLiteral("cfg_stat"),
                       {{QStringLiteral("F_Name"), QString::fromUtf8(s.name)}, {QStringLiteral("F_SQLtext"), sql}}))
            return fail(db, error);
    }
    for (const ImportField& f : kImportFields) {
        const QString caption = QString::fromUtf8(f.caption);
        if (!db.insert(QStringLiteral("cfg_import"),
                       {{QStringLiteral("F_tablename"), QString::fromLatin1(f.table)},
                        {QStringLiteral("F_iFlag"), 1},
                        {QStringLiteral("S_Field"), QString::fromLatin1(f.field)},
                        {QStringLiteral("F_FieldName"), caption},
                        {QStringLiteral("F_Field"), caption}}))
            return fail(db, error);
    }
    if (!db.insert(QStringLiteral("OperList"), {{QStringLiteral("F_Code"), QStringLiteral("731")},
                                                {QStringLiteral("F_Name"), QStringLiteral("系统管理员")},
                                                {QStringLiteral("F_PassWord"), PasswordHash::emptyPasswordHash()},
                                                {QStringLiteral("F_PartCode"), empty},
                                                {QStringLiteral("F_Mem"), QStringLiteral("系统超级用户")},
                                                {QStringLiteral("F_Flag"), false},
                                                {QStringLiteral("F_xtFlag"), false}}))
        return fail(db, error);
    return GridLayoutSeed::insertAll(db, error);
}

} // namespace SchemaSeed
