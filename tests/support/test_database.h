#pragma once

#include "data/database.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>

enum class TestEngine { Sqlite, Postgres };

std::string testEngineName(const ::testing::TestParamInfo<TestEngine>& info);

// A fresh database with every table and the seed rows: a temporary SQLite file, or a
// schema of its own on the PostgreSQL server named by CORVALIN_TEST_PG
// ("host=127.0.0.1 port=5432 user=postgres dbname=corvalin_test").
class TestDatabase {
public:
    explicit TestDatabase(TestEngine engine, bool withSchema = true);
    ~TestDatabase();

    // Empty when the engine can be used here; otherwise why not.
    static QString unavailableReason(TestEngine engine);

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    Database& db() { return *m_db; }
    // The settings that open this same database, for a second connection ("another workstation").
    ConnectionSettings settings() const { return m_settings; }
    QString folder() const { return m_dir.path(); }

private:
    TestEngine m_engine;
    QTemporaryDir m_dir;
    ConnectionSettings m_settings;
    std::unique_ptr<Database> m_db;
    QString m_error;
};

// Base of the suites that run on every engine:
//   class RecordSetTest : public EngineTest {};
//   TEST_P(RecordSetTest, ...) { db().exec(...); }
//   INSTANTIATE_ENGINES(RecordSetTest);
class EngineTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override;
    void TearDown() override;
    Database& db() { return m_database->db(); }
    TestDatabase& database() { return *m_database; }

private:
    std::unique_ptr<TestDatabase> m_database;
};

#define INSTANTIATE_ENGINES(Fixture)                                                                   \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture, ::testing::Values(TestEngine::Sqlite, TestEngine::Postgres), \
                             testEngineName)

inline void PrintTo(TestEngine engine, std::ostream* os)
{
    *os << (engine == TestEngine::Sqlite ? "Sqlite" : "Postgres");
}
