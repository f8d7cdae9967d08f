#pragma once

#include <QHash>
#include <QSet>
#include <QString>

class Database;
class RecordSet;

// The stock warning of the order editor's goods lines: which lines would take their goods
// below zero when the order is completed. The stock of every goods code the lines name is
// read in one statement, and only when that set of codes changes, so that drawing the grid
// reads nothing. Lines of the same goods count together, as completing takes them all.
class OrderLineStock {
public:
    // Brings the figures up to date after any change of the lines. False (with `error` set)
    // when the stock could not be read; the warning then treats every article as unknown.
    bool refresh(Database& db, const RecordSet& lines, QString* error = nullptr);
    // A completed order took its goods out of stock already: its lines take nothing more.
    void setAlreadyTaken(bool taken) { m_alreadyTaken = taken; }

    // Stock of the line's goods after completing the order; unknown goods count as 0 in stock.
    double stockAfter(const RecordSet& lines, int row) const;
    bool isShort(const RecordSet& lines, int row) const { return stockAfter(lines, row) < 0; }
    // How many times the stock was read from the database.
    int reads() const { return m_reads; }

private:
    static QString key(const QString& code) { return code.toLower(); }

    QHash<QString, double> m_stock;   // stock on hand by goods code
    QHash<QString, double> m_ordered; // this order's quantity by goods code
    QSet<QString> m_codes;            // the codes m_stock was read for
    bool m_loaded = false;
    bool m_alreadyTaken = false;
    int m_reads = 0;
};
