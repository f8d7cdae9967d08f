#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class Database;

// Fills a new database with a large, plausible appliance shop: ten years of customer orders
// with their goods lines, return visits, repairs with parts, a goods catalogue with stock
// movements, the code lists and trees the windows offer, and a few operators and roles.
// The same seed and end date always give the same rows.
class DemoDataGenerator {
public:
    struct Options {
        std::uint64_t seed = 20240611;
        int orders = 200000;
        int goodsLines = 500000;
        int visits = 100000;
        int repairs = 60000;
        int goods = 5000;
        int stockMovements = 20000;
        int years = 10;
        QDate endDate; // the last day with business; today when invalid
        int rowsPerTransaction = 50000;
    };

    // The default counts times `scale` (each at least 1 where the default is positive).
    static Options scaled(double scale);

    DemoDataGenerator(Database& db, const Options& options);
    ~DemoDataGenerator();
    DemoDataGenerator(const DemoDataGenerator&) = delete;
    DemoDataGenerator& operator=(const DemoDataGenerator&) = delete;

    // Called after each table with its name, the rows written and the milliseconds it took.
    void setProgress(std::function<void(const QString& table, qint64 rows, qint64 msecs)> progress);

    // Expects a database with the schema and its seed rows and no business data.
    bool run();
    QString lastError() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
