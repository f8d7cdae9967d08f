#pragma once

#include <QString>
#include <QStringList>

// What a successful login sets and the rest of the program reads.
struct LoginState {
    QString operatorCode;
    QString operatorName;
    QString roleCode;
    bool ownOrdersOnly = false;
    QStringList customValues; // KeyValue rows in F_ID order, up to 16
    QString priceFormat = QStringLiteral(",0.00");
    QString quantityFormat = QStringLiteral("0.##");
    QString moneyFormat = QStringLiteral(",0.00");
    int reminderMonths = 1;
    QString imeName;

    // The system superuser, allowed every command whatever the role holds.
    static QString superuserCode() { return QStringLiteral("731"); }
};
