// corvalin_demo: fills a new database with a large demo shop (see bench/README.md).

#include "demo_data_generator.h"

#include "app/program_home.h"
#include "data/connection_settings.h"
#include "data/database.h"
#include "data/database_opener.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

void print(const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

void printError(const QString& text)
{
    std::fputs(qPrintable(QStringLiteral("corvalin_demo: ") + text + QLatin1Char('\n')), stderr);
}

// "host=... port=... user=... dbname=... password=..." as libpq writes it.
std::optional<ConnectionSettings> parsePostgres(const QString& text, QString* error)
{
    ConnectionSettings settings;
    settings.engine = ConnectionSettings::Engine::Postgres;
    for (const QString& item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int equals = item.indexOf(QLatin1Char('='));
        const QString key = item.left(equals).trimmed().toLower();
        const QString value = equals < 0 ? QString() : item.mid(equals + 1).trimmed();
        bool ok = true;
        if (key == QLatin1String("host") || key == QLatin1String("hostaddr"))
            settings.host = value;
        else if (key == QLatin1String("port"))
            settings.port = value.toInt(&ok);
        else if (key == QLatin1String("user"))
            settings.user = value;
        else if (key == QLatin1String("dbname"))
            settings.databaseName = value;
        else if (key == QLatin1String("password"))
            settings.password = value;
        else
            ok = false;
        if (!ok || equals < 0) {
            *error = QStringLiteral("cannot read \"%1\" in the connection string").arg(item);
            return std::nullopt;
        }
    }
    if (settings.host.isEmpty())
        settings.host = QStringLiteral("localhost");
    if (settings.databaseName.isEmpty()) {
        *error = QStringLiteral("the connection string names no dbname");
        return std::nullopt;
    }
    return settings;
}

bool readCount(const QCommandLineParser& parser, const QString& name, int* count)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0) {
        printError(QStringLiteral("--%1 wants a whole number of rows").arg(name));
        return false;
    }
    *count = value;
    return true;
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvalin_demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Fills a new database with a large demo shop: ten years of orders, goods lines, return "
        "visits, repairs, goods and stock. Name exactly one of --sqlite, --pg and --home."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("sqlite"), QStringLiteral("Create the SQLite database <file>."),
         QStringLiteral("file")},
        {QStringLiteral("pg"),
         QStringLiteral("Fill the empty PostgreSQL database named by <conn>, as in "
                        "\"host=127.0.0.1 port=5432 user=postgres dbname=shop\"."),
         QStringLiteral("conn")},
        {QStringLiteral("home"),
         QStringLiteral("Create <dir>/data/Merisk.db, which the program started with "
                        "--home <dir> opens."),
         QStringLiteral("dir")},
        {QStringLiteral("force"), QStringLiteral("Replace an existing SQLite file.")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the generator (default 20240611)."),
         QStringLiteral("n")},
        {QStringLiteral("end-date"), QStringLiteral("Last business day, yyyy-MM-dd (default today)."),
         QStringLiteral("date")},
        {QStringLiteral("scale"), QStringLiteral("Multiply every default count, e.g. 0.01 for a small demo."),
         QStringLiteral("x")},
        {QStringLiteral("orders"), QStringLiteral("Customer orders (default 200000)."), QStringLiteral("n")},
        {QStringLiteral("goods-lines"), QStringLiteral("Goods lines of the orders (default 500000)."),
         QStringLiteral("n")},
        {QStringLiteral("visits"), QStringLiteral("Return visits (default 100000)."), QStringLiteral("n")},
        {QStringLiteral("repairs"), QStringLiteral("Repair orders (default 60000)."), QStringLiteral("n")},
        {QStringLiteral("goods"), QStringLiteral("Catalogue articles (default 5000)."), QStringLiteral("n")},
        {QStringLiteral("stock-movements"), QStringLiteral("Stock receipts and returns (default 20000)."),
         QStringLiteral("n")},
        {QStringLiteral("batch"), QStringLiteral("Rows per transaction (default 50000)."),
         QStringLiteral("n")},
    });
    parser.process(app);

    const int targets = int(parser.isSet(QStringLiteral("sqlite"))) +
                        int(parser.isSet(QStringLiteral("pg"))) + int(parser.isSet(QStringLiteral("home")));
    if (targets != 1) {
        printError(QStringLiteral("name exactly one of --sqlite, --pg and --home (see --help)"));
        return 2;
    }

    DemoDataGenerator::Options options;
    if (parser.isSet(QStringLiteral("scale"))) {
        bool ok = false;
        const double scale = parser.value(QStringLiteral("scale")).toDouble(&ok);
        if (!ok || scale <= 0) {
            printError(QStringLiteral("--scale wants a positive number"));
            return 2;
        }
        options = DemoDataGenerator::scaled(scale);
    }
    if (parser.isSet(QStringLiteral("seed"))) {
        bool ok = false;
        options.seed = parser.value(QStringLiteral("seed")).toULongLong(&ok);
        if (!ok) {
            printError(QStringLiteral("--seed wants a whole number"));
            return 2;
        }
    }
    if (parser.isSet(QStringLiteral("end-date"))) {
        options.endDate =
            QDate::fromString(parser.value(QStringLiteral("end-date")), QStringLiteral("yyyy-MM-dd"));
        if (!options.endDate.isValid()) {
            printError(QStringLiteral("--end-date wants a date as yyyy-MM-dd"));
            return 2;
        }
    }
    if (!readCount(parser, QStringLiteral("orders"), &options.orders) ||
        !readCount(parser, QStringLiteral("goods-lines"), &options.goodsLines) ||
        !readCount(parser, QStringLiteral("visits"), &options.visits) ||
        !readCount(parser, QStringLiteral("repairs"), &options.repairs) ||
        !readCount(parser, QStringLiteral("goods"), &options.goods) ||
        !readCount(parser, QStringLiteral("stock-movements"), &options.stockMovements) ||
        !readCount(parser, QStringLiteral("batch"), &options.rowsPerTransaction))
        return 2;

    ConnectionSettings settings;
    if (parser.isSet(QStringLiteral("pg"))) {
        QString error;
        const auto pg = parsePostgres(parser.value(QStringLiteral("pg")), &error);
        if (!pg) {
            printError(error);
            return 2;
        }
        settings = *pg;
    } else {
        settings.engine = ConnectionSettings::Engine::Sqlite;
        if (parser.isSet(QStringLiteral("home"))) {
            const QString home = QDir(parser.value(QStringLiteral("home"))).absolutePath();
            settings.sqliteFile = ProgramHome::defaultDatabaseFolder(home) + ProgramHome::databaseFileName();
        } else {
            settings.sqliteFile = QFileInfo(parser.value(QStringLiteral("sqlite"))).absoluteFilePath();
        }
        if (QFileInfo::exists(settings.sqliteFile)) {
            if (!parser.isSet(QStringLiteral("force"))) {
                printError(QStringLiteral("%1 exists; pass --force to replace it").arg(settings.sqliteFile));
                return 1;
            }
            for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                QFile::remove(settings.sqliteFile + suffix);
        }
    }

    QElapsedTimer total;
    total.start();
    Database db;
    QString error;
    const DatabaseOpener::Result result =
        DatabaseOpener::open(db, settings, /*createIfMissing*/ true, &error);
    if (result != DatabaseOpener::Result::Created) {
        printError(result == DatabaseOpener::Result::Opened
                       ? QStringLiteral("the database already holds tables; the demo shop needs an empty one")
                       : QStringLiteral("cannot create the database: ") + error);
        return 1;
    }
    print(QStringLiteral("schema created in %1 ms").arg(total.elapsed()));

    const bool sqlite = settings.engine == ConnectionSettings::Engine::Sqlite;
    if (sqlite) {
        // The file is scratch until the run ends, so durability is traded for speed; a larger page
        // cache keeps the ten indexes of t_client in memory while they fill.
        for (const char* pragma :
             {"PRAGMA synchronous=OFF", "PRAGMA cache_size=-262144", "PRAGMA temp_store=MEMORY"})
            db.exec(QString::fromLatin1(pragma));
    }

    DemoDataGenerator generator(db, options);
    generator.setProgress([](const QString& table, qint64 rows, qint64 msecs) {
        print(QStringLiteral("%1 %2 rows in %3 ms").arg(table, -12).arg(rows, 8).arg(msecs, 6));
    });
    if (!generator.run()) {
        printError(generator.lastError());
        return 1;
    }
    if (sqlite) {
        // Fold the write-ahead log into the file so that its size is the database's size.
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    } else {
        // Fresh tables have no planner statistics until autovacuum reaches them.
        db.exec(QStringLiteral("ANALYZE"));
    }
    const qint64 elapsed = total.elapsed();
    db.close();

    QString where = sqlite ? settings.sqliteFile
                           : QStringLiteral("%1@%2:%3/%4")
                                 .arg(settings.user, settings.host)
                                 .arg(settings.port)
                                 .arg(settings.databaseName);
    QString size;
    if (sqlite)
        size = QStringLiteral(", ") + megabytes(QFileInfo(settings.sqliteFile).size());
    print(QStringLiteral("done in %1 s: %2%3").arg(double(elapsed) / 1000.0, 0, 'f', 1).arg(where, size));
    return 0;
}
