#include "support/test_database.h"

#include "data/schema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QHash>
#include <QStringList>

namespace {

QAtomicInt schemaCounter;

QHash<QString, QString> pgParameters()
{
    QHash<QString, QString> map;
    const QString text = qEnvironmentVariable("CORVALIN_TEST_PG").trimmed();
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int eq = int(part.indexOf(QLatin1Char('=')));
        if (eq > 0)
            map.insert(part.left(eq).toLower(), part.mid(eq + 1));
    }
    return map;
}

ConnectionSettings pgSettings()
{
    const auto p = pgParameters();
    ConnectionSettings s;
    s.engine = ConnectionSettings::Engine::Postgres;
    s.host = p.value(QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    s.port = p.value(QStringLiteral("port"), QStringLiteral("5432")).toInt();
    s.user = p.value(QStringLiteral("user"), QStringLiteral("postgres"));
    s.password = p.value(QStringLiteral("password"));
    s.databaseName = p.value(QStringLiteral("dbname"), QStringLiteral("corvalin_test"));
    return s;
}

bool runAdmin(const QStringList& statements, QString* error)
{
    Database admin;
    if (!admin.open(pgSettings())) {
        if (error)
            *error = admin.lastError();
        return false;
    }
    for (const QString& s : statements) {
        if (!admin.exec(s)) {
            // Two test processes may create the extension at once; the loser finds it there.
            if (s.startsWith(QLatin1String("CREATE EXTENSION")) && admin.exec(s))
                continue;
            if (error)
                *error = admin.lastError();
            return false;
        }
    }
    return true;
}

} // namespace

std::string testEngineName(const ::testing::TestParamInfo<TestEngine>& info)
{
    return info.param == TestEngine::Sqlite ? "Sqlite" : "Postgres";
}

QString TestDatabase::unavailableReason(TestEngine engine)
{
    if (engine == TestEngine::Sqlite)
        return {};
    if (qEnvironmentVariable("CORVALIN_TEST_PG").trimmed().isEmpty())
        return QStringLiteral("CORVALIN_TEST_PG is not set, so the PostgreSQL run is skipped");
    return {};
}

TestDatabase::TestDatabase(TestEngine engine, bool withSchema) : m_engine(engine), m_db(std::make_unique<Database>())
{
    if (engine == TestEngine::Sqlite) {
        m_settings.engine = ConnectionSettings::Engine::Sqlite;
        m_settings.sqliteFile = m_dir.filePath(QStringLiteral("Merisk.db"));
    } else {
        m_settings = pgSettings();
        m_settings.schema = QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(
            schemaCounter.fetchAndAddRelaxed(1));
        if (!runAdmin({QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext SCHEMA public"),
                       QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(m_settings.schema),
                       QStringLiteral("CREATE SCHEMA %1").arg(m_settings.schema)},
                      &m_error))
            return;
    }
    if (!m_db->open(m_settings)) {
        m_error = m_db->lastError();
        return;
    }
    if (withSchema && !Schema::create(*m_db, &m_error) && m_error.isEmpty())
        m_error = QStringLiteral("schema creation failed");
}

TestDatabase::~TestDatabase()
{
    m_db->close();
    if (m_engine == TestEngine::Postgres && !m_settings.schema.isEmpty())
        runAdmin({QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(m_settings.schema)}, nullptr);
}

void EngineTest::SetUp()
{
    const QString reason = TestDatabase::unavailableReason(GetParam());
    if (!reason.isEmpty())
        GTEST_SKIP() << reason.toStdString();
    m_database = std::make_unique<TestDatabase>(GetParam());
    ASSERT_TRUE(m_database->ok()) << m_database->error().toStdString();
}

void EngineTest::TearDown()
{
    m_database.reset();
}
