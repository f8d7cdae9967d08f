#include "support/test_database.h"

#include "data/schema.h"
#include "data/sql_value.h"
#include "operators/password_hash.h"

#include <QDate>
#include <QSqlRecord>

class SchemaTest : public EngineTest {
protected:
    qint64 count(const QString& sql, const QVariantList& values = {})
    {
        const auto v = db().scalar(sql, values);
        EXPECT_TRUE(v.has_value()) << db().lastError().toStdString() << " in " << sql.toStdString();
        return v ? v->toLongLong() : -1;
    }
};

TEST_P(SchemaTest, EveryTableAndColumnCanBeRead)
{
    for (const TableDef& table : Schema::tables()) {
        QStringList columns;
        for (const ColumnDef& column : table.columns)
            columns << QLatin1String(column.name);
        const QString sql =
            QStringLiteral("select %1 from %2").arg(columns.join(QStringLiteral(", ")), QLatin1String(table.name));
        EXPECT_TRUE(db().exec(sql).has_value()) << table.name << ": " << db().lastError().toStdString();
    }
}

TEST_P(SchemaTest, ColumnAndTableNamesIgnoreLetterCase)
{
    ASSERT_TRUE(db().exec("insert into T_HFREC (F_code, F_Address) values (?, ?)", {"00000001", "北京路 1 号"}));
    EXPECT_EQ(db().scalar("select F_address from t_hfrec where f_CODE = ?", {"00000001"})->toString(),
              QStringLiteral("北京路 1 号"));
}

TEST_P(SchemaTest, TextComparesWithoutRegardToCase)
{
    ASSERT_TRUE(db().exec("insert into t_code (F_code, F_name, F_type) values ('1', 'Haier', 'PINPAI')"));
    EXPECT_EQ(count("select count(*) from t_code where F_type = ?", {"pinpai"}), 1);
    EXPECT_EQ(count("select count(*) from t_code where F_name like ?", {"%hai%"}), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from t_code where F_name %1 ?").arg(db().dialect().likeOperator()),
                    {"HAI%"}),
              1);
}

TEST_P(SchemaTest, CodesAreUnique)
{
    const struct {
        const char* table;
        const char* column;
    } cases[] = {{"t_client", "F_code"}, {"t_WXrec", "F_WXcode"}, {"t_goods", "F_code"}};
    for (const auto& c : cases) {
        const QString sql = QStringLiteral("insert into %1 (%2) values (?)").arg(c.table, c.column);
        ASSERT_TRUE(db().exec(sql, {"00000001"})) << c.table;
        EXPECT_FALSE(db().exec(sql, {"00000001"})) << c.table;
        EXPECT_TRUE(db().lastErrorIsUniqueViolation()) << c.table << ": " << db().lastError().toStdString();
    }
}

TEST_P(SchemaTest, RepairViewShowsTheCustomerAndItsInstaller)
{
    ASSERT_TRUE(db().exec("insert into t_client (F_code, F_client, F_phone, F_FWemp, F_buyDate) values (?, ?, ?, ?, ?)",
                          {"00000007", "张三", "010-1234", "李师傅", QDate(2024, 5, 6)}));
    ASSERT_TRUE(db().exec("insert into t_WXrec (F_code, F_WXcode, F_FWemp, F_Phone) values (?, ?, ?, ?)",
                          {"00000007", "00000001", "王师傅", "999"}));
    ASSERT_TRUE(db().exec("insert into t_WXrec (F_code, F_WXcode) values (?, ?)", {"99999999", "00000002"}));
    auto q = db().exec("select F_WXcode, F_client, F_phone, F_AZemp, F_FWemp, F_buyDate from v_WXrec order by F_WXcode");
    ASSERT_TRUE(q);
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value(1).toString(), QStringLiteral("张三"));
    EXPECT_EQ(q->value(2).toString(), QStringLiteral("010-1234"));
    EXPECT_EQ(q->value(3).toString(), QStringLiteral("李师傅"));
    EXPECT_EQ(q->value(4).toString(), QStringLiteral("王师傅"));
    EXPECT_EQ(SqlDates::toDate(q->value(5)), QDate(2024, 5, 6));
    // A repair whose order is gone still lists.
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value(0).toString(), QStringLiteral("00000002"));
    EXPECT_TRUE(q->value(1).isNull());
}

TEST_P(SchemaTest, SeedRowsAreDelivered)
{
    EXPECT_EQ(count("select count(*) from Limits where F_Flag = ?", {true}), 41);
    EXPECT_EQ(count("select count(*) from Limits where F_Code = '305' and F_Name = '安装送货派工表单'"), 1);
    EXPECT_EQ(count("select count(*) from KeyValue"), 16);
    EXPECT_EQ(count("select count(*) from sysInfo"), 1);
    auto values = db().exec("select F_Value from KeyValue order by F_ID");
    ASSERT_TRUE(values);
    QStringList rows;
    while (values->next())
        rows << values->value(0).toString();
    EXPECT_EQ(rows.mid(11, 4), (QStringList{"2", "2", "2", "1"}));
    EXPECT_EQ(rows.first(), QStringLiteral("字符项一"));

    const QString stored = db().scalar("select F_PassWord from OperList where F_Code = '731'")->toString();
    EXPECT_TRUE(PasswordHash::verify(stored, QString()));
    EXPECT_TRUE(PasswordHash::verify(stored, QStringLiteral("   ")));
    EXPECT_FALSE(PasswordHash::verify(stored, QStringLiteral("731")));

    EXPECT_GT(count("select count(*) from cfg_import where F_tablename = 't_goods' and F_iFlag = 1"), 0);
    EXPECT_GT(count("select count(*) from cfg_import where F_tablename = 't_client' and F_iFlag = 1"), 0);
}

TEST_P(SchemaTest, StoredStatisticsRunOverTheDateRange)
{
    const struct {
        const char* code;
        const char* type;
        QDate bought;
    } orders[] = {{"1", "安装", QDate(2024, 3, 1)},
                  {"2", "安装", QDate(2024, 3, 31)},
                  {"3", "维修", QDate(2024, 3, 15)},
                  {"4", "安装", QDate(2024, 4, 1)},
                  {"5", "安装", SqlDates::noDate()}};
    for (const auto& o : orders)
        ASSERT_TRUE(db().exec("insert into t_client (F_code, F_FWtype, F_buyDate) values (?, ?, ?)",
                              {o.code, o.type, o.bought}));
    auto stats = db().exec("select F_Name, F_SQLtext from cfg_stat order by F_ID");
    ASSERT_TRUE(stats);
    int seen = 0;
    while (stats->next()) {
        ++seen;
        const QString sql = stats->value(1).toString();
        auto result = db().execNamed(sql, {{"fromDate", "2024-03-01"}, {"toDate", "2024-03-31"}});
        ASSERT_TRUE(result) << stats->value(0).toString().toStdString() << ": " << db().lastError().toStdString();
        qint64 total = 0;
        while (result->next()) {
            EXPECT_TRUE(result->record().contains("F_name"));
            total += result->value("F_num").toLongLong();
        }
        EXPECT_EQ(total, 3) << stats->value(0).toString().toStdString();
        // The open range also counts orders without a purchase date.
        auto open = db().execNamed(sql, {{"fromDate", "1900-08-14"}, {"toDate", "3000-08-14"}});
        ASSERT_TRUE(open);
        total = 0;
        while (open->next())
            total += open->value("F_num").toLongLong();
        EXPECT_EQ(total, 5);
    }
    EXPECT_EQ(seen, 4);
}

TEST_P(SchemaTest, DatesAreStoredDateOnly)
{
    ASSERT_TRUE(db().exec("insert into t_client (F_code, F_buyDate, F_setupDate) values (?, ?, ?)",
                          {"1", QDateTime(QDate(2025, 1, 2), QTime(23, 59)), SqlDates::noDate()}));
    EXPECT_EQ(count("select count(*) from t_client where F_buyDate = ?", {QDate(2025, 1, 2)}), 1);
    EXPECT_EQ(count("select count(*) from t_client where F_setupDate between ? and ?",
                    {SqlDates::openRangeStart(), SqlDates::openRangeEnd()}),
              1);
    const QVariant stored = db().scalar("select F_setupDate from t_client")->value<QVariant>();
    EXPECT_EQ(db().fromStorage(stored, ColumnType::Date).toDate(), SqlDates::noDate());
    EXPECT_EQ(SqlDates::display(stored), QString());
}

TEST_P(SchemaTest, VersionIsRecordedAndANewerDatabaseIsRefused)
{
    EXPECT_EQ(Schema::installedVersion(db()), Schema::currentVersion());
    QString error;
    EXPECT_TRUE(Schema::upgrade(db(), &error)) << error.toStdString();
    ASSERT_TRUE(db().exec("update cfg_Version set F_Version = ?", {Schema::currentVersion() + 1}));
    EXPECT_FALSE(Schema::upgrade(db(), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_P(SchemaTest, UpgradeAddsTheIndexesAnOlderDatabaseLacks)
{
    const QString countIndex = GetParam() == TestEngine::Sqlite
                                   ? "select count(*) from sqlite_master where type = 'index' and name = ?"
                                   : "select count(*) from pg_indexes where indexname = ? and schemaname = current_schema()";
    ASSERT_TRUE(db().exec("drop index ix_client_area"));
    ASSERT_TRUE(db().exec("update cfg_Version set F_Version = 2"));
    EXPECT_EQ(count(countIndex, {"ix_client_area"}), 0);
    QString error;
    ASSERT_TRUE(Schema::upgrade(db(), &error)) << error.toStdString();
    EXPECT_EQ(count(countIndex, {"ix_client_area"}), 1);
    EXPECT_EQ(Schema::installedVersion(db()), Schema::currentVersion());
}

INSTANTIATE_ENGINES(SchemaTest);

TEST(SchemaCatalogue, ColumnTypesByNameAloneOnlyWhenEveryTableAgrees)
{
    EXPECT_EQ(Schema::columnType("f_buydate"), ColumnType::Date);
    EXPECT_EQ(Schema::columnType("F_AMOUNT"), ColumnType::Double);
    EXPECT_EQ(Schema::columnType("F_memo1"), ColumnType::Text); // a memo in most tables, text in t_goods
    EXPECT_EQ(Schema::columnType("F_flag"), std::nullopt);      // text in t_treecode, yes/no elsewhere
    EXPECT_EQ(Schema::columnType("t_treecode", "F_flag"), ColumnType::Text);
    EXPECT_EQ(Schema::columnType("no_such_column"), std::nullopt);
}
