#pragma once

#include "data/database.h"

#include <QDate>
#include <QString>

#include <functional>

// Every t_WXrec column the repair order editors show and write, as the window holds them.
struct RepairForm {
    QString orderCode;        // F_code, the customer order the repair belongs to
    QString repairCode;       // F_WXcode
    QString serviceType;      // F_FWtype
    bool inWarranty = true;   // F_BXflag "保内" / "保外"
    int progress = 0;         // F_WXflag: 0 未服务, 1 正在服务, 2 已服务
    QString status;           // F_WXstatus
    QString fault;            // F_memo1, as reported
    QString dispatchNote;     // F_memo2
    QString partsToTake;      // F_memo3
    QDate reportDate;         // F_BXdate
    QDate visitDate;          // F_SMtime, the appointed day
    QString serviceEmployee;  // F_FWemp
    bool productFault = true; // F_reasonFlag "产品原因" / "用户原因"
    QString causeFound;       // F_memo4
    QString solution;         // F_memo5
    QString result;           // F_memo6
    QString info;             // F_WXinfo
    QString other;            // F_WXother
    double serviceFee = 0;    // F_FWtotalprice
    double partsCharge = 0;   // F_PJtotalprice
    double total = 0;         // F_SFtotalprice
    QString remark;           // F_mem
    QString dispatcher;       // F_PGemp
    QString enteredBy;        // F_OperName
    double wage = 0;          // F_XZprice
    QString wageEnteredBy;    // F_XZemp
    QString visitEmployee;    // F_HFemp
    QString attitude;         // F_FWtaidu
    QDate repairDate;         // F_XFdate

    bool operator==(const RepairForm&) const = default;

    // A new repair: reported, visited and repaired today, in warranty, a product fault, not
    // served yet, entered by the operator.
    static RepairForm newRepair(const QString& orderCode, const QString& repairCode, const QDate& today,
                                const QString& operatorName);
    // A repair read from a row of t_WXrec (or v_WXrec) columns. Stored words other than "保内"
    // and "产品原因" read as out of warranty and user fault; a missing date as the no-date value.
    static RepairForm fromRow(const std::function<QVariant(const QString& column)>& value);

    // Text as the save stores it: without leading and trailing blanks.
    RepairForm trimmed() const;
    // The columns the editors write, F_code first.
    SqlValues columnValues() const;

    static QString inWarrantyWord() { return QStringLiteral("保内"); }
    static QString outOfWarrantyWord() { return QStringLiteral("保外"); }
    static QString productFaultWord() { return QStringLiteral("产品原因"); }
    static QString userFaultWord() { return QStringLiteral("用户原因"); }
    static QString warrantyWord(bool inWarranty)
    {
        return inWarranty ? inWarrantyWord() : outOfWarrantyWord();
    }
    static QString reasonWord(bool productFault)
    {
        return productFault ? productFaultWord() : userFaultWord();
    }
};
