#include "operators/permissions.h"

#include "data/data_module.h"
#include "data/data_services.h"
#include "data/database.h"
#include "data/login_state.h"
#include "data/messenger.h"

#include <QSet>

namespace {

const char* const kCommands[][2] = {
    {"101", "公司信息"},
    {"102", "更改密码"},
    {"103", "用户权限"},
    {"104", "选项..."},
    {"105", "商品类型"},
    {"106", "购买地点"},
    {"107", "自定义项"},
    {"201", "新增"},
    {"202", "修改"},
    {"203", "删除"},
    {"204", "排序..."},
    {"205", "显示字段选择"},
    {"206", "保存当前网格"},
    {"207", "派工"},
    {"208", "完工"},
    {"209", "维修"},
    {"210", "商品"},
    {"301", "导出"},
    {"302", "报表设计"},
    {"303", "安装送货记录详单"},
    {"304", "安装送货记录列表"},
    {"305", "安装送货派工表单"},
    {"306", "售后维修派工表单"},
    {"401", "统计"},
    {"402", "业务提醒"},
    {"403", "安装送货薪资汇总"},
    {"404", "安装送货薪资明细"},
    {"405", "商品安装汇总统计"},
    {"406", "商品安装明细统计"},
    {"407", "服务项目收费汇总"},
    {"408", "服务项目收费明细"},
    {"409", "售后回访查询统计"},
    {"410", "售后维修配件汇总"},
    {"411", "售后维修配件明细"},
    {"412", "商品进退货明细表"},
    {"413", "商品库存汇总统计"},
    {"414", "周期保养查询统计"},
    {"501", "系统数据清理"},
    {"502", "数据备份恢复"},
    {"503", "压缩修复数据"},
    {"504", "连接网络数据库"},
};

const char* const kMenus[][3] = {
    {"mnuFile", "文件", "1"}, {"mnuEdit", "编辑", "2"}, {"mnuOutput", "输出", "3"},
    {"mnuStat", "统计", "4"}, {"mnuData", "数据", "5"},
};

bool visibleIn(const QList<Permissions::Visibility>& list, const QString& name)
{
    for (const auto& item : list) {
        if (item.objectName == name)
            return item.visible;
    }
    return false;
}

} // namespace

const QList<Permissions::Menu>& Permissions::menus()
{
    static const QList<Menu> list = [] {
        QList<Menu> out;
        for (const auto& m : kMenus)
            out.append({QString::fromLatin1(m[0]), QString::fromUtf8(m[1]), QLatin1Char(m[2][0])});
        return out;
    }();
    return list;
}

const QList<Permissions::Command>& Permissions::commands()
{
    static const QList<Command> list = [] {
        QList<Command> out;
        for (const auto& c : kCommands) {
            const QString code = QString::fromLatin1(c[0]);
            QString menu;
            for (const Menu& m : menus()) {
                if (m.group == code.at(0))
                    menu = m.objectName;
            }
            out.append({code, QStringLiteral("Action") + code, QString::fromUtf8(c[1]), menu});
        }
        return out;
    }();
    return list;
}

bool Permissions::Gating::actionVisible(const QString& actionName) const
{
    return visibleIn(actions, actionName);
}

bool Permissions::Gating::menuVisible(const QString& menuName) const
{
    return visibleIn(menus, menuName);
}

QStringList Permissions::Gating::visibleActions() const
{
    QStringList names;
    for (const auto& a : actions) {
        if (a.visible)
            names << a.objectName;
    }
    return names;
}

Permissions::Gating Permissions::compute(const QString& operatorCode,
                                         const std::function<bool(const QString&)>& hasLimit)
{
    const bool superuser = operatorCode.trimmed() == LoginState::superuserCode();
    Gating gating;
    QSet<QString> shownMenus;
    for (const Command& c : commands()) {
        const bool visible = superuser || hasLimit(c.code);
        gating.actions.append({c.actionName, visible});
        if (visible)
            shownMenus.insert(c.menuName);
    }
    for (const Menu& m : menus())
        gating.menus.append({m.objectName, shownMenus.contains(m.objectName)});
    return gating;
}

Permissions::Gating Permissions::forLogin(DataModule& data)
{
    const LoginState& login = data.login();
    QSet<QString> granted;
    if (login.operatorCode.trimmed() != LoginState::superuserCode()) {
        auto query = data.db().exec(QStringLiteral("select F_LmtCode from PartLimit where F_PartCode = ?"),
                                    {login.roleCode});
        if (!query)
            data.messenger().error(DataServices::failureMessage());
        else
            while (query->next())
                granted.insert(query->value(0).toString());
    }
    return compute(login.operatorCode, [&](const QString& code) { return granted.contains(code); });
}
