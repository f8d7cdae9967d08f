#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// The date rules every list, filter and editor shares.
namespace SqlDates {
// Stored for a date the user left unset.
inline QDate noDate() { return QDate(1900, 8, 14); }
// Dates before this one show blank.
inline QDate displayThreshold() { return QDate(1901, 8, 14); }
// A date filter that is switched off covers this range, so the no-date value still matches.
inline QDate openRangeStart() { return QDate(1900, 8, 14); }
inline QDate openRangeEnd() { return QDate(3000, 8, 14); }

// A date from a driver value: QDate, QDateTime or text beginning "yyyy-MM-dd". Invalid when none.
QDate toDate(const QVariant& value);
// "yyyy-MM-dd", or empty text for a missing date or one before the display threshold.
QString display(const QDate& date);
QString display(const QVariant& value);
} // namespace SqlDates
