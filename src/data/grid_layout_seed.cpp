#include "data/grid_layout_seed.h"

#include "data/database.h"

#include <QList>

namespace {

struct GridColumnSeed {
    const char* field;
    const char* caption;
    int width;
    const char* displayFormat = "";
    int footerType = 0; // 0 none, 1 static text, 2 sum
    const char* footerValue = "";
    int alignment = 0; // 0 left, 1 centre, 2 right
    bool visible = true;
};

struct GridSeed {
    const char* key; // grid key, lower case
    QList<GridColumnSeed> columns;
};

// Kinds of column, so that the tables below read like the designed grids. The display formats
// are the defaults of the custom settings; windows apply the login's formats on top.
GridColumnSeed text(const char* field, const char* caption, int width = 90)
{
    return {field, caption, width};
}
GridColumnSeed date(const char* field, const char* caption, int width = 80)
{
    return {field, caption, width, "", 0, "", 1};
}
GridColumnSeed flag(const char* field, const char* caption, int width = 70)
{
    return {field, caption, width, "", 0, "", 1};
}
GridColumnSeed money(const char* field, const char* caption, int width = 80)
{
    return {field, caption, width, ",0.00", 0, "", 2};
}
GridColumnSeed moneySum(const char* field, const char* caption, int width = 80)
{
    return {field, caption, width, ",0.00", 2, "", 2};
}
GridColumnSeed quantity(const char* field, const char* caption, int width = 60)
{
    return {field, caption, width, "0.##", 0, "", 2};
}
// The first column of a grid with sums names the footer row.
GridColumnSeed totalLabel(GridColumnSeed column)
{
    column.footerType = 1;
    column.footerValue = "合计";
    return column;
}

// Designed columns of every grid whose layout can be saved. A new grid adds its block here
// and, for databases that already exist, an upgrade step that inserts its key.
const QList<GridSeed>& seeds()
{
    static const QList<GridSeed> all = {
        // Main window: customer list.
        {"clientmain", {text("F_client", "顾客姓名", 80),    text("F_phone", "固定电话", 95),
                        text("F_movePhone", "移动电话", 95), text("F_address", "家庭地址", 180),
                        text("F_area", "区域", 70),          text("F_buyAddress", "购买地点", 110),
                        date("F_buyDate", "购买时间"),       flag("F_IFsonghuo", "是否送货"),
                        date("F_setupDate", "安装时间"),     text("F_phoneYD", "电话预约", 80),
                        text("F_memo1", "派工要求", 150),    text("F_FWemp", "服务人员", 70),
                        money("F_FWprice", "薪资", 70),      flag("F_status", "状态"),
                        text("F_memo2", "顾客意见", 150),    text("F_PGemp", "派工人员", 70),
                        text("F_OperName", "录入人员", 70),  text("F_FWtype", "服务类型", 80),
                        text("F_XSemp", "销售人员", 70),     text("F_EditEmp", "修改人员", 70),
                        text("F_HFemp", "回访人员", 70),     text("F_PStype", "派送类别", 80),
                        text("F_FWtaidu", "服务态度", 80)}},
        // Main window: goods lines of the current order.
        {"detail1",
         {text("F_HPcode", "编号", 70), text("F_HPname", "名称", 120), text("F_pinPai", "品牌", 80),
          text("F_type", "类型", 90), text("F_spec", "规格", 90), text("F_address", "产地", 80),
          text("F_unit", "单位", 45), quantity("F_amount", "数量"), money("F_price", "单价"),
          money("F_totalprice", "金额"), text("F_FPcode", "发票号码", 90), text("F_TMcode", "条码", 110),
          text("F_YZcode", "验证码", 90), text("F_memo1", "备注", 150)}},
        // Main window: return visits of the current order.
        {"detail2",
         {totalLabel(text("F_HFemp", "回访人员", 70)), date("F_HFdate", "回访日期"),
          text("F_memo1", "回访内容", 160), text("F_memo2", "回访事项处理结果", 160),
          text("F_FWtaiDu", "服务态度", 80), flag("F_Addflag", "赠品是否收到", 90),
          text("F_HFitem1", "收费项目一", 90), moneySum("F_HFprice1", "收费金额一"),
          text("F_HFitem2", "收费项目二", 90), moneySum("F_HFprice2", "收费金额 二"),
          text("F_HFitem3", "收费项目三", 90), moneySum("F_HFprice3", "收费金额三"),
          moneySum("F_HFtotalPrice", "合计收费"), text("F_HFitem4", "收费项目四", 90),
          moneySum("F_HFprice4", "收费金额四"), text("F_Hfitem5", "收费项目五", 90),
          moneySum("F_HFprice5", "收费金额五"), text("F_memo3", "收费情况", 150)}},
        // Main window: repair orders of the current order. The second service person is
        // F_FWemp2, the column t_WXrec has for it.
        {"detail3",
         {totalLabel(text("F_FWtype", "服务类别", 80)),
          text("F_wxCode", "维修单号", 80),
          text("F_bxFlag", "维修类别", 70),
          text("F_wxStatus", "维修状态", 80),
          text("F_memo1", "故障描述", 150),
          text("F_memo2", "维护事项及派工说明", 150),
          text("F_memo3", "需携带的配件及工具", 150),
          date("F_bxDate", "报修日期"),
          date("F_smTime", "预约上门时间", 95),
          text("F_FWemp", "服务人员", 70),
          text("F_ReasonFlag", "产生维修原因", 95),
          text("F_memo4", "现场故障原因", 150),
          text("F_memo5", "解决办法", 150),
          text("F_memo6", "维修结果", 150),
          text("F_wxInfo", "维修信息", 150),
          text("F_wxOther", "其他", 120),
          moneySum("F_pjtotalPrice", "配件收费金额", 95),
          moneySum("F_fwtotalPrice", "服务费"),
          moneySum("F_sfTotalPrice", "收费总金额", 90),
          text("F_FWemp2", "服务人员", 70),
          money("F_XZprice", "薪资", 70),
          text("F_mem", "备注", 150),
          date("F_xfDate", "修复日期")}},
        // Goods picker of the order editor: the catalogue with prices and stock.
        {"dlggoodxz",
         {text("F_code", "编号", 60), text("F_name", "名称", 120), text("F_TMcode", "条码", 110),
          text("F_spec", "规格", 90), text("F_pinPai", "品牌", 70), text("F_unit", "单位", 45),
          text("F_address", "产地", 80), money("F_price1", "预售单价"), money("F_price2", "进货单价"),
          quantity("F_amount", "库存数量", 70), text("F_BXqi", "保修期", 60), text("F_Memo1", "备注", 150)}},
        // Repair management window: the repairs of every customer.
        {"wxrecman",
         {totalLabel(text("F_client", "顾客姓名", 80)),
          text("F_phone", "固定电话", 95),
          text("F_movePhone", "移动电话", 95),
          text("F_address", "家庭地址", 180),
          text("F_area", "区域", 70),
          text("F_buyAddress", "购买地点", 110),
          text("F_AZemp", "安装人员", 70),
          text("F_FWtype", "服务类别", 80),
          text("F_wxCode", "维修单号", 80),
          text("F_bxFlag", "维修类别", 70),
          text("F_wxStatus", "维修状态", 80),
          text("F_memo1", "故障描述", 150),
          text("F_memo2", "维修派工说明", 150),
          text("F_memo3", "携带配件说明", 150),
          date("F_bxDate", "报修日期"),
          date("F_smTime", "预约上门时间", 95),
          text("F_FWemp", "服务人员", 70),
          text("F_ReasonFlag", "产生维修原因", 95),
          text("F_memo4", "现场故障原因", 150),
          text("F_memo5", "解决办法", 150),
          text("F_memo6", "维修结果", 150),
          text("F_wxInfo", "维修信息", 150),
          text("F_wxOther", "其他", 120),
          moneySum("F_pjtotalPrice", "配件收费金额", 95),
          moneySum("F_fwtotalPrice", "服务费"),
          moneySum("F_sfTotalPrice", "收费总金额", 90),
          text("F_mem", "备注", 150),
          moneySum("F_XZprice", "薪资", 70),
          text("F_XZemp", "薪资录入", 70),
          date("F_xfDate", "修复日期")}},
    };
    return all;
}

} // namespace

namespace GridLayoutSeed {

bool insertKey(Database& db, const QString& key, QString* error)
{
    for (const GridSeed& grid : seeds()) {
        if (key.compare(QLatin1String(grid.key), Qt::CaseInsensitive) != 0)
            continue;
        int order = 0;
        for (const GridColumnSeed& s : grid.columns) {
            const bool ok =
                db.insert(QStringLiteral("cfg_Grid"),
                          {{QStringLiteral("F_name"), QString::fromLatin1(grid.key).toLower()},
                           {QStringLiteral("F_FieldName"), QString::fromLatin1(s.field)},
                           {QStringLiteral("F_Caption"), QString::fromUtf8(s.caption)},
                           {QStringLiteral("F_Width"), s.width},
                           {QStringLiteral("F_Visible"), s.visible ? 1 : 0},
                           {QStringLiteral("F_ReadOnly"), 1},
                           {QStringLiteral("F_DisplayFormat"), QString::fromLatin1(s.displayFormat)},
                           {QStringLiteral("F_FooterValue"), QString::fromUtf8(s.footerValue)},
                           {QStringLiteral("F_FooterType"), s.footerType},
                           {QStringLiteral("F_Alignment"), s.alignment},
                           {QStringLiteral("F_Order"), order++}})
                    .has_value();
            if (!ok) {
                if (error)
                    *error = db.lastError();
                return false;
            }
        }
    }
    return true;
}

QList<GridColumn> designedColumns(const QString& key)
{
    QList<GridColumn> columns;
    for (const GridSeed& grid : seeds()) {
        if (key.compare(QLatin1String(grid.key), Qt::CaseInsensitive) != 0)
            continue;
        for (const GridColumnSeed& s : grid.columns) {
            GridColumn column;
            column.fieldName = QString::fromLatin1(s.field);
            column.title = QString::fromUtf8(s.caption);
            column.width = s.width;
            column.visible = s.visible;
            column.readOnly = true;
            column.displayFormat = QString::fromLatin1(s.displayFormat);
            column.footer = GridColumn::Footer(s.footerType);
            column.footerValue = QString::fromUtf8(s.footerValue);
            column.alignment = GridColumn::Alignment(s.alignment);
            columns << column;
        }
    }
    return columns;
}

bool insertAll(Database& db, QString* error)
{
    for (const GridSeed& grid : seeds()) {
        if (!insertKey(db, QString::fromLatin1(grid.key), error))
            return false;
    }
    return true;
}

} // namespace GridLayoutSeed
