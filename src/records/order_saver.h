#pragma once

#include "records/order_edit_mode.h"
#include "records/order_form.h"

#include <QString>

class DataModule;
class RecordSet;

// What the customer order editor's "确定" checks and writes. The checks run in a fixed order
// and the first that fails tells the user (through the messenger) and stops with nothing
// written; a telephone number that another order has already is a question, not a refusal.
// Then one transaction writes the order, its cached goods lines and what follows from them:
//   - a new order takes the code shown, or silently the next free one when another
//     workstation took it meanwhile; its goods lines carry the code it was stored under;
//   - an order whose code changes takes its goods lines, return visits and repairs along;
//   - completing an order that is "正在服务" as stored at that moment lowers the stock of its
//     goods once; completing it again changes no stock.
// On any failure the transaction rolls back, the goods lines keep their cached edits and the
// window keeps its input.
class OrderSaver {
public:
    struct Context {
        OrderEditMode mode = OrderEditMode::New;
        // Opened from the customer picker: only the name is required.
        bool picker = false;
        // Modes 1-3: the order being changed and the code it is stored under.
        qint64 orderId = 0;
        QString storedCode;
    };
    enum class Outcome { Saved, Refused, Failed };
    struct Result {
        Outcome outcome = Outcome::Failed;
        OrderForm::Field focus = OrderForm::Field::None; // the control to focus after a refusal
        QString code;                                    // the code the order was stored under
    };

    explicit OrderSaver(DataModule& data);

    // `form` holds the window's values; on success it holds what was stored (trimmed text,
    // the final code, status, editor). `lines` are the order's cached goods lines, or null.
    Result save(const Context& context, OrderForm& form, RecordSet* lines);

    static QString nameMissingMessage() { return QStringLiteral("当前顾客姓名不能为空！"); }
    static QString areaMissingMessage() { return QStringLiteral("送货区域不能为空！"); }
    static QString addressMissingMessage() { return QStringLiteral("送货地址不能为空！"); }
    static QString salesPersonMissingMessage() { return QStringLiteral("销售人员不能为空！"); }
    static QString setupWayMissingMessage()
    {
        return QStringLiteral("安装方式“安装时间”或“电话预约”必须选择一！");
    }
    static QString installerMissingMessage() { return QStringLiteral("服务人员不能为空！"); }
    static QString phoneTakenQuestion() { return QStringLiteral("用户电话重复，是否保存当前输入？"); }
    static QString movePhoneTakenQuestion() { return QStringLiteral("移动电话重复，是否保存当前输入？"); }
    static QString saveFailedMessage() { return QStringLiteral("保存失败，请检测数据库连接！"); }

    // The query whose greatest code the next order code follows, and the code's width.
    static QString maxCodeQuery() { return QStringLiteral("select max(F_code) from t_client"); }
    static constexpr int codeWidth = 8;

private:
    Result refuse(const QString& message, OrderForm::Field focus);
    // First failed check, or Field::None when the order may be written.
    Result check(const Context& context, const OrderForm& form);
    // True when another order has this value in the column.
    bool usedElsewhere(const Context& context, const QString& column, const QString& value);
    bool write(const Context& context, OrderForm& form, RecordSet* lines, const QString& code,
               QString* error);

    DataModule& m_data;
};
