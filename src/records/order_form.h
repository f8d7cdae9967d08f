#pragma once

#include "data/database.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// Every t_client column the customer order editor shows and writes, as the window holds it.
// A date that is not set (its tick box cleared) is nullopt and is stored as the no-date value.
struct OrderForm {
    // The control a refused save puts the focus on.
    enum class Field { None, Client, Phone, MovePhone, Area, Address, SalesPerson, SetupDate, Installer };

    QString code;
    QString client;
    QString phone;
    QString movePhone;
    QString area;
    QString address;
    QString buyAddress;
    std::optional<QDate> buyDate; // nullopt only for an order stored without one
    QString delivery;             // F_IFsonghuo
    std::optional<QDate> setupDate;
    bool phoneAppointment = false;     // F_phoneYD "是" / "否"
    std::optional<QDate> reminderDate; // F_awokeDate
    QString dispatchNote;              // F_memo1
    QString installer;                 // F_FWemp
    QString deliveryType;              // F_PStype
    double wage = 0;                   // F_FWprice
    QString status;
    QString opinion;                                   // F_memo2
    QString salesPerson;                               // F_XSemp
    QString dispatcher;                                // F_PGemp
    QString enteredBy;                                 // F_OperName
    QString editedBy;                                  // F_EditEmp
    QString serviceType;                               // F_FWtype
    QString setupPosition;                             // F_setupPOS
    QString attitude;                                  // F_FWtaidu
    std::array<QString, 5> customTexts;                // F_ZF1 - F_ZF5
    std::array<double, 3> customNumbers{};             // F_SZ1 - F_SZ3
    std::array<std::optional<QDate>, 3> customDates{}; // F_RQ1 - F_RQ3

    bool operator==(const OrderForm&) const = default;

    // A new order as the editor starts it: bought today, no installation date yet, the
    // maintenance reminder counting from today, "未服务".
    static OrderForm newOrder(const QString& code, const QString& operatorName, const QDate& today,
                              const QString& firstServiceType);
    // An order read from a row of t_client columns; a date before the display threshold is unset.
    static OrderForm fromRow(const std::function<QVariant(const QString& column)>& value);
    // The order with this identity as stored now; nothing when it is gone or the read failed.
    static std::optional<OrderForm> load(Database& db, qint64 orderId, QString* error = nullptr);

    // Text as the save tests and stores it: without leading and trailing blanks.
    OrderForm trimmed() const;
    // The columns the editor writes, F_code first.
    SqlValues columnValues() const;

    // Choosing the installer in dispatch mode: the first choice dispatches an order that is
    // "未服务"; clearing the choice takes the dispatch back.
    void chooseInstaller(const QString& choice, const QString& operatorName);

    static QString yes() { return QStringLiteral("是"); }
    static QString no() { return QStringLiteral("否"); }
};
