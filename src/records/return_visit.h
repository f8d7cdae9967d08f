#pragma once

#include <QDate>
#include <QString>

#include <array>

// One return visit (a t_HFrec row) as the editor shows and saves it: the call, what was said
// and done, and up to five charged items with their amounts.
struct ReturnVisit {
    static constexpr int ChargeCount = 5;

    QDate date;
    QString employee; // F_HFemp
    QString attitude; // F_FWtaidu
    bool giftReceived = false;
    std::array<QString, ChargeCount> items;
    std::array<double, ChargeCount> prices{};
    // F_HFtotalPrice as shown: the sum of the amounts once any of them changed, the stored
    // number until then.
    double total = 0;
    QString content;     // F_memo1, what the customer said
    QString result;      // F_memo2, how it was handled
    QString chargeNotes; // F_memo3

    // A new visit: today, nothing chosen, zero amounts.
    static ReturnVisit newVisit(const QDate& today);
    // The five amounts added up; an item without an amount and an amount without an item both
    // count as they are.
    static double sum(const std::array<double, ChargeCount>& prices);
};
