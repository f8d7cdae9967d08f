#pragma once

#include <QString>

// The service workflow of a customer order as the main window's commands apply it: an order
// is "未服务" until a service person is chosen, "正在服务" while dispatched and "已服务" once
// completed. Each check answers with the message that refuses the command, or empty text
// when the command may go on.
class OrderRules {
public:
    enum class DetailTab { Goods = 0, Visits = 1, Repairs = 2 };

    static QString notServed() { return QStringLiteral("未服务"); }
    static QString inService() { return QStringLiteral("正在服务"); }
    static QString served() { return QStringLiteral("已服务"); }

    // "修改": only an order nobody has been sent to yet.
    static QString refuseEdit(bool listEmpty, const QString& status);
    // "派工": any order that is not completed (a dispatched one may be dispatched again).
    static QString refuseDispatch(bool listEmpty, const QString& status);
    // "完工": only with a service person; the status is not tested, completing twice never
    // lowers the stock twice because only "正在服务" orders lower it.
    static QString refuseComplete(bool listEmpty, const QString& serviceEmployee);

    // The detail tabs' "新增", "修改" and "删除". `listEmpty` is the order list, `tabEmpty`
    // the active tab's list; `status` the current order's.
    static QString refuseDetailAdd(DetailTab tab, bool listEmpty, const QString& status);
    static QString refuseDetailEdit(DetailTab tab, bool tabEmpty, const QString& status);
    static QString refuseDetailDelete(DetailTab tab, bool tabEmpty, const QString& status);

    static QString deleteOrderQuestion(const QString& client);
    static QString deleteDetailQuestion(DetailTab tab);
    static QString deleteFailedMessage() { return QStringLiteral("操作失败，请检查连接..."); }

    // How the repair list shows F_WXflag.
    static QString repairFlagText(int flag);
};
