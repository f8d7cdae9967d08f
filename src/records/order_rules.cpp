#include "records/order_rules.h"

namespace {

const QString kEmptyList = QStringLiteral("此表为空，没有客户记录需要修改！");
const QString kCompletedLines = QStringLiteral("此客户记录，已经完工，不能修改货品记录！");

} // namespace

QString OrderRules::refuseEdit(bool listEmpty, const QString& status)
{
    if (listEmpty)
        return kEmptyList;
    if (status != notServed())
        return QStringLiteral("此客户记录，已经派工，不能再修改！");
    return {};
}

QString OrderRules::refuseDispatch(bool listEmpty, const QString& status)
{
    if (listEmpty)
        return kEmptyList;
    if (status == served())
        return QStringLiteral("此客户记录，已经完工，不能再派工！");
    return {};
}

QString OrderRules::refuseComplete(bool listEmpty, const QString& serviceEmployee)
{
    if (listEmpty)
        return kEmptyList;
    // A name of blanks is no service person either.
    if (serviceEmployee.trimmed().isEmpty())
        return QStringLiteral("此客户记录，没有指定服务人员，不能再完工！");
    return {};
}

QString OrderRules::refuseDetailAdd(DetailTab tab, bool listEmpty, const QString& status)
{
    switch (tab) {
    case DetailTab::Goods:
        if (listEmpty)
            return QStringLiteral("请选择需要增加货品记录的客户！");
        if (status == served())
            return kCompletedLines;
        return {};
    case DetailTab::Visits:
        return listEmpty ? QStringLiteral("请选择需要增加电话回访记录的客户！") : QString();
    case DetailTab::Repairs:
        return listEmpty ? QStringLiteral("请选择需要增加售后回访记录的客户！") : QString();
    }
    return {};
}

QString OrderRules::refuseDetailEdit(DetailTab tab, bool tabEmpty, const QString& status)
{
    switch (tab) {
    case DetailTab::Goods:
        if (tabEmpty)
            return QStringLiteral("此表为空，没有产品记录需要修改！");
        if (status == served())
            return kCompletedLines;
        return {};
    case DetailTab::Visits:
        return tabEmpty ? QStringLiteral("此表为空，没有回访记录需要修改！") : QString();
    case DetailTab::Repairs:
        return tabEmpty ? QStringLiteral("此表为空，没有维修记录需要修改！") : QString();
    }
    return {};
}

QString OrderRules::refuseDetailDelete(DetailTab tab, bool tabEmpty, const QString& status)
{
    if (tabEmpty)
        return QStringLiteral("此表为空，没有记录需要删除！");
    if (tab == DetailTab::Goods && status == served())
        return QStringLiteral("此客户记录，已经完工，不能删除货品记录！");
    return {};
}

QString OrderRules::deleteOrderQuestion(const QString& client)
{
    return QStringLiteral("删除当前用户，将删除当前用户所有相关记录，\n真的要删除当前用户%1吗？").arg(client);
}

QString OrderRules::deleteDetailQuestion(DetailTab tab)
{
    switch (tab) {
    case DetailTab::Goods:
        return QStringLiteral("真的要删除当前产品记录吗？");
    case DetailTab::Visits:
        return QStringLiteral("真的要删除当前回访记录吗？");
    case DetailTab::Repairs:
        return QStringLiteral("真的要删除当前维修记录吗？");
    }
    return {};
}

QString OrderRules::repairFlagText(int flag)
{
    switch (flag) {
    case 1:
        return QStringLiteral("正在服务");
    case 2:
        return QStringLiteral("已 服 务");
    default:
        return QStringLiteral("未 服 务");
    }
}
