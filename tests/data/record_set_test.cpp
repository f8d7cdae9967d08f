#include "data/record_set.h"

#include "data/sql_value.h"
#include "support/test_database.h"

#include <QDate>
#include <QPersistentModelIndex>
#include <QStringList>

namespace {

// Adds `count` rows of one type to t_code in one statement: codes and names C1.., N1...
void fillCodes(Database& db, int count, const QString& type)
{
    ASSERT_TRUE(db.exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
        "INSERT INTO t_code (F_code, F_name, F_type) SELECT 'C' || i, 'N' || i, CAST(? AS TEXT) FROM n",
        {count, type}))
        << db.lastError().toStdString();
}

void addGoods(Database& db, const QString& code, const QString& name, double price = 0, bool inUse = true)
{
    ASSERT_TRUE(
        db.insert("t_goods", {{"F_code", code}, {"F_name", name}, {"F_price1", price}, {"F_useFlag", inUse}}))
        << db.lastError().toStdString();
}

QStringList column(const RecordSet& records, const QString& field)
{
    QStringList values;
    for (int row = 0; row < records.rowCountLoaded(); ++row)
        values << records.value(row, field).toString();
    return values;
}

// "code|name|price" of every goods row, in code order.
QStringList goodsTable(Database& db)
{
    QStringList rows;
    auto query = db.exec("SELECT F_code, F_name, F_price1 FROM t_goods ORDER BY F_code");
    EXPECT_TRUE(query.has_value()) << db.lastError().toStdString();
    while (query && query->next())
        rows << QStringList{query->value(0).toString(), query->value(1).toString(),
                            query->value(2).toString()}
                    .join(QLatin1Char('|'));
    return rows;
}

const char* const kGoodsSql = "SELECT F_ID, F_code, F_name, F_price1, F_useFlag FROM t_goods ORDER BY F_code";

} // namespace

class RecordSetTest : public EngineTest {};

TEST_P(RecordSetTest, ReadsRowsInChunksAsTheyAreNeeded)
{
    fillCodes(db(), 1000, "lazy");
    RecordSet records;
    records.setChunkSize(100);
    int inserted = 0;
    QObject::connect(&records, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) { inserted += last - first + 1; });

    ASSERT_TRUE(
        records.open(db(), "SELECT F_ID, F_code FROM t_code WHERE F_type = ? ORDER BY F_ID", {"lazy"}))
        << records.lastError().toStdString();
    EXPECT_EQ(records.rowCount(), 100);
    EXPECT_TRUE(records.canFetchMore({}));
    EXPECT_FALSE(records.isFullyLoaded());

    records.fetchMore({});
    EXPECT_EQ(records.rowCount(), 200);
    // Other windows go on using the connection while the list still has rows to read.
    ASSERT_TRUE(db().scalar("SELECT count(*) FROM t_code"));
    ASSERT_TRUE(records.fetchAll()) << records.lastError().toStdString();
    EXPECT_EQ(records.rowCount(), 1000);
    EXPECT_EQ(inserted, 900);
    EXPECT_TRUE(records.isFullyLoaded());
    EXPECT_FALSE(records.canFetchMore({}));
    EXPECT_EQ(records.value(999, "F_code").toString(), "C1000");
}

TEST_P(RecordSetTest, LargeResultOpensWithOneChunkAndLocateReadsOn)
{
    fillCodes(db(), 200000, "big");
    RecordSet records;
    ASSERT_TRUE(records.open(db(), "SELECT F_ID, F_code, F_name FROM t_code WHERE F_type = ? ORDER BY F_ID",
                             {"big"}));
    EXPECT_EQ(records.rowCountLoaded(), 256);
    EXPECT_TRUE(records.canFetchMore({}));

    EXPECT_FALSE(records.locate("F_code", "C0"));
    EXPECT_EQ(records.currentRow(), 0);
    EXPECT_TRUE(records.isFullyLoaded());

    ASSERT_TRUE(records.locate("f_code", "C150000"));
    EXPECT_EQ(records.currentRow(), 149999);
    EXPECT_EQ(records.current("F_name").toString(), "N150000");
}

TEST_P(RecordSetTest, StatementIsReleasedWithTheLastRow)
{
    fillCodes(db(), 30, "held");
    RecordSet records;
    records.setChunkSize(10);
    ASSERT_TRUE(records.open(db(), "SELECT F_code FROM t_code WHERE F_type = ?", {"held"}));
    // An SQLite statement still stepping through the table keeps it (and the WAL) in use.
    if (GetParam() == TestEngine::Sqlite) {
        EXPECT_FALSE(db().exec("DROP TABLE t_code"));
    }

    records.fetchMore({});
    records.fetchMore({});
    EXPECT_EQ(records.rowCount(), 30);
    EXPECT_TRUE(records.isFullyLoaded()) << "no further fetch is needed to learn that the rows ended";
    EXPECT_TRUE(db().exec("DROP TABLE t_code")) << db().lastError().toStdString();
}

TEST_P(RecordSetTest, DatesNumbersAndYesNoComeBackTyped)
{
    ASSERT_TRUE(db().insert("t_client", {{"F_code", "A1"},
                                         {"F_buyDate", QDate(2024, 3, 5)},
                                         {"F_setupDate", SqlDates::noDate()},
                                         {"F_FWprice", 1234.5}}));
    ASSERT_TRUE(db().insert("t_client", {{"F_code", "A2"}, {"F_FWprice", 0.1 + 0.2}}));
    RecordSet records;
    // The copy has no column of its own in the data model, so its type is declared.
    records.setFieldType("f_copy", ColumnType::Date);
    ASSERT_TRUE(records.open(db(),
                             "SELECT F_code, F_buyDate, F_setupDate, F_RQ1, F_FWprice, F_buyDate AS F_copy "
                             "FROM t_client ORDER BY F_code"))
        << records.lastError().toStdString();

    struct Case {
        int row;
        const char* field;
        QVariant value;
        QString display;
    };
    const QVariant noDate{QMetaType(QMetaType::QDate)};
    const Case cases[] = {
        {0, "F_buyDate", QDate(2024, 3, 5), "2024-03-05"},
        {0, "F_setupDate", SqlDates::noDate(), ""},
        {0, "F_RQ1", noDate, ""},
        {0, "F_copy", QDate(2024, 3, 5), "2024-03-05"},
        {1, "F_copy", noDate, ""},
        {0, "F_FWprice", 1234.5, "1234.5"},
        {1, "F_FWprice", 0.1 + 0.2, "0.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const int column = records.fieldIndex(c.field);
        ASSERT_GE(column, 0);
        const QModelIndex index = records.index(c.row, column);
        const QVariant value = records.data(index, Qt::EditRole);
        EXPECT_EQ(value.typeId(), c.value.typeId());
        EXPECT_EQ(value.isNull(), c.value.isNull());
        if (!c.value.isNull()) {
            EXPECT_EQ(value, c.value);
        }
        EXPECT_EQ(records.data(index).toString(), c.display);
    }

    addGoods(db(), "G1", "冰箱", 0, true);
    addGoods(db(), "G2", "空调", 0, false);
    ASSERT_TRUE(records.open(db(), kGoodsSql));
    const int flag = records.fieldIndex("F_useFlag");
    EXPECT_EQ(records.fieldType(flag), ColumnType::Bool);
    EXPECT_EQ(records.data(records.index(0, flag), Qt::EditRole), QVariant(true));
    EXPECT_EQ(records.data(records.index(0, flag), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(records.data(records.index(1, flag), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_TRUE(records.data(records.index(0, flag)).toString().isEmpty());
}

TEST_P(RecordSetTest, FieldNamesMatchWithoutRegardToCase)
{
    ASSERT_TRUE(db().insert("t_client", {{"F_code", "A1"}, {"F_buyDate", QDate(2024, 3, 5)}}));
    RecordSet records;
    ASSERT_TRUE(records.open(db(), "SELECT F_code, F_buyDate FROM t_client"));

    for (const char* name : {"F_buyDate", "f_buydate", "F_BUYDATE"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(records.fieldIndex(name), 1);
        EXPECT_EQ(records.value(0, name), QVariant(QDate(2024, 3, 5)));
    }
    EXPECT_EQ(records.fieldName(1).compare("F_buyDate", Qt::CaseInsensitive), 0);
    EXPECT_EQ(records.headerData(1, Qt::Horizontal).toString(), records.fieldName(1));
    EXPECT_EQ(records.fieldType(1), ColumnType::Date);
    EXPECT_EQ(records.fieldIndex("F_none"), -1);
    EXPECT_FALSE(records.value(0, "F_none").isValid());
    EXPECT_TRUE(records.flags(records.index(0, 0)).testFlag(Qt::ItemIsEditable));
}

TEST_P(RecordSetTest, OpenFailureLeavesTheSetClosed)
{
    addGoods(db(), "G1", "冰箱");
    RecordSet records;
    ASSERT_TRUE(records.open(db(), kGoodsSql));
    EXPECT_FALSE(records.open(db(), "SELECT F_nothing FROM t_missing"));
    EXPECT_FALSE(records.lastError().isEmpty());
    EXPECT_FALSE(records.isOpen());
    EXPECT_EQ(records.rowCount(), 0);
    EXPECT_EQ(records.columnCount(), 0);
    EXPECT_EQ(records.currentRow(), -1);
}

TEST_P(RecordSetTest, CurrentRowFollowsNavigationAndRemoval)
{
    RecordSet records;
    ASSERT_TRUE(records.open(db(), "SELECT F_code FROM t_code WHERE F_type = ?", {"none"}));
    EXPECT_EQ(records.currentRow(), -1);
    EXPECT_FALSE(records.current("F_code").isValid());

    fillCodes(db(), 50, "nav");
    records.setChunkSize(10);
    ASSERT_TRUE(
        records.open(db(), "SELECT F_ID, F_code FROM t_code WHERE F_type = ? ORDER BY F_ID", {"nav"}));
    EXPECT_EQ(records.currentRow(), 0);
    QList<int> changes;
    QObject::connect(&records, &RecordSet::currentRowChanged, [&](int row) { changes << row; });

    records.setCurrentRow(-3);
    EXPECT_EQ(records.currentRow(), 0);
    records.setCurrentRow(25);
    EXPECT_EQ(records.current("F_code").toString(), "C26");
    records.setCurrentRow(1000);
    EXPECT_EQ(records.currentRow(), 49);
    EXPECT_TRUE(records.isFullyLoaded());
    EXPECT_EQ(changes, (QList<int>{25, 49}));

    ASSERT_TRUE(records.locate("F_code", "C7"));
    EXPECT_EQ(records.currentRow(), 6);
    EXPECT_FALSE(records.locate("F_code", "c7")) << "text is matched exactly";
    EXPECT_EQ(records.currentRow(), 6);
    // The value is converted to the column's type first.
    ASSERT_TRUE(records.locate("F_ID", records.value(3, "F_ID").toString()));
    EXPECT_EQ(records.currentRow(), 3);

    changes.clear();
    ASSERT_TRUE(records.removeRow(3));
    EXPECT_EQ(records.currentRow(), 3);
    EXPECT_EQ(records.current("F_code").toString(), "C5");
    EXPECT_EQ(changes, QList<int>{3}) << "the current record changed although its row number did not";
    ASSERT_TRUE(records.removeRow(0));
    EXPECT_EQ(records.currentRow(), 2);
    EXPECT_EQ(records.current("F_code").toString(), "C5");
}

TEST_P(RecordSetTest, AppliedEditsAreWrittenInTheCallersTransaction)
{
    addGoods(db(), "G1", "冰箱", 100);
    addGoods(db(), "G2", "洗衣机", 200);
    addGoods(db(), "G3", "空调", 300);
    RecordSet records;
    records.setUpdateTable("t_goods");
    ASSERT_TRUE(records.open(db(), kGoodsSql));
    // Another workstation renames G1 meanwhile; only the price is ours to write.
    ASSERT_TRUE(db().exec("UPDATE t_goods SET F_name = ? WHERE F_code = ?", {"冰箱（新款）", "G1"}));

    ASSERT_TRUE(records.setData(records.index(0, records.fieldIndex("F_price1")), 120.5));
    ASSERT_TRUE(records.removeRow(1));
    const int added = records.appendRow();
    EXPECT_EQ(records.currentRow(), added);
    EXPECT_TRUE(records.value(added, "F_code").isNull());
    ASSERT_TRUE(records.setValue(added, "F_code", "G4"));
    ASSERT_TRUE(records.setValue(added, "F_name", "电视"));
    ASSERT_TRUE(records.setValue(added, "F_price1", "3999.5"));
    // Added and removed again before saving: never written.
    const int dropped = records.appendRow();
    ASSERT_TRUE(records.setValue(dropped, "F_code", "G5"));
    ASSERT_TRUE(records.removeRow(dropped));
    EXPECT_EQ(records.rowCount(), 3);
    EXPECT_TRUE(records.hasPendingUpdates());

    {
        Transaction transaction(db());
        ASSERT_TRUE(records.applyUpdates()) << records.lastError().toStdString();
        ASSERT_TRUE(transaction.commit());
    }
    records.acceptUpdates();

    EXPECT_FALSE(records.hasPendingUpdates());
    EXPECT_EQ(goodsTable(db()), (QStringList{"G1|冰箱（新款）|120.5", "G3|空调|300", "G4|电视|3999.5"}));
    const auto newId = db().scalar("SELECT F_ID FROM t_goods WHERE F_code = ?", {"G4"});
    ASSERT_TRUE(newId && newId->isValid());
    EXPECT_EQ(records.value(added, "F_ID").toLongLong(), newId->toLongLong());
    EXPECT_EQ(column(records, "F_code"), (QStringList{"G1", "G3", "G4"}));
}

TEST_P(RecordSetTest, CacheSurvivesFailedAndRolledBackWrites)
{
    addGoods(db(), "G1", "冰箱", 100);
    addGoods(db(), "G2", "洗衣机", 200);
    const QStringList before = goodsTable(db());
    RecordSet records;
    ASSERT_TRUE(records.open(db(), kGoodsSql));
    ASSERT_TRUE(records.setValue(0, "F_name", "双门冰箱"));
    ASSERT_TRUE(records.removeRow(1));
    const int added = records.appendRow();
    ASSERT_TRUE(records.setValue(added, "F_code", "G1")); // taken

    EXPECT_FALSE(records.applyUpdates()) << "no update table";
    EXPECT_FALSE(records.lastError().isEmpty());
    records.setUpdateTable("t_goods");
    {
        Transaction transaction(db());
        EXPECT_FALSE(records.applyUpdates());
        EXPECT_FALSE(records.lastError().isEmpty());
    }
    ASSERT_TRUE(records.setValue(added, "F_code", "G3"));
    {
        Transaction transaction(db());
        ASSERT_TRUE(records.applyUpdates()) << records.lastError().toStdString();
    }
    EXPECT_EQ(goodsTable(db()), before);
    EXPECT_TRUE(records.hasPendingUpdates());

    {
        Transaction transaction(db());
        ASSERT_TRUE(records.applyUpdates()) << records.lastError().toStdString();
        ASSERT_TRUE(transaction.commit());
    }
    records.acceptUpdates();
    EXPECT_EQ(goodsTable(db()), (QStringList{"G1|双门冰箱|100", "G3||0"}));
}

TEST_P(RecordSetTest, CancelRestoresTheRowsAsOpened)
{
    addGoods(db(), "G1", "冰箱", 100);
    addGoods(db(), "G2", "洗衣机", 200);
    addGoods(db(), "G3", "空调", 300);
    RecordSet records;
    ASSERT_TRUE(records.open(db(), kGoodsSql));
    ASSERT_TRUE(records.setValue(0, "F_name", "双门冰箱"));
    ASSERT_TRUE(records.removeRow(1));
    ASSERT_TRUE(records.setValue(1, "F_price1", 1.5));
    records.appendRow();
    ASSERT_TRUE(records.removeRow(0));

    records.cancelUpdates();

    EXPECT_FALSE(records.hasPendingUpdates());
    EXPECT_EQ(column(records, "F_code"), (QStringList{"G1", "G2", "G3"}));
    EXPECT_EQ(column(records, "F_name"), (QStringList{"冰箱", "洗衣机", "空调"}));
    EXPECT_EQ(column(records, "F_price1"), (QStringList{"100", "200", "300"}));
}

TEST_P(RecordSetTest, SortsByKeysInOrderKeepingTheCurrentRecord)
{
    struct Client {
        const char* code;
        const char* area;
        const char* client; // nullptr: NULL
        double price;
        QDate bought;
    };
    const Client clients[] = {
        {"K1", "东区", "张三", 100, QDate(2024, 1, 5)},
        {"K2", "西区", "李四", 9, QDate(2023, 12, 31)},
        {"K3", "东区", "王五", 10, QDate()},
        {"K4", "西区", "赵六", 9.5, QDate(2024, 2, 1)},
        {"K5", "东区", nullptr, 0, SqlDates::noDate()},
    };
    for (const Client& c : clients) {
        SqlValues values{
            {"F_code", c.code}, {"F_area", c.area}, {"F_FWprice", c.price}, {"F_buyDate", c.bought}};
        if (c.client)
            values.append({QStringLiteral("F_client"), QString::fromUtf8(c.client)});
        ASSERT_TRUE(db().insert("t_client", values)) << db().lastError().toStdString();
    }

    struct Case {
        const char* sort;
        QStringList order;
    };
    const Case cases[] = {
        // Pinyin order (li, wang, zhang, zhao), not code point order; no name sorts first.
        {"F_client", {"K5", "K2", "K3", "K1", "K4"}},
        {"F_area ASC, F_client DESC", {"K1", "K3", "K5", "K4", "K2"}},
        {"f_fwprice", {"K5", "K2", "K4", "K3", "K1"}},
        {"F_buyDate desc", {"K4", "K1", "K2", "K5", "K3"}},
        {"F_nothing, F_code DESC", {"K5", "K4", "K3", "K2", "K1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sort);
        RecordSet records;
        ASSERT_TRUE(records.open(db(), "SELECT F_code, F_area, F_client, F_FWprice, F_buyDate FROM t_client "
                                       "ORDER BY F_code"));
        ASSERT_TRUE(records.locate("F_code", "K3"));
        const QPersistentModelIndex held(records.index(1, 0));
        int layoutChanges = 0;
        QObject::connect(&records, &QAbstractItemModel::layoutChanged, [&] { ++layoutChanges; });

        records.setSort(RecordSet::parseSortText(c.sort));

        EXPECT_EQ(column(records, "F_code"), c.order);
        EXPECT_EQ(records.current("F_code").toString(), "K3");
        EXPECT_EQ(held.data().toString(), "K2");
        EXPECT_EQ(layoutChanges, 1);
    }

    RecordSet records;
    ASSERT_TRUE(records.open(db(), "SELECT F_code, F_client, F_FWprice FROM t_client ORDER BY F_code"));
    records.sort(records.fieldIndex("F_FWprice"), Qt::DescendingOrder);
    EXPECT_EQ(column(records, "F_code"), (QStringList{"K1", "K3", "K4", "K2", "K5"}));
    ASSERT_EQ(records.sortKeys().size(), 1);
    EXPECT_EQ(records.sortKeys().first().field.compare("F_FWprice", Qt::CaseInsensitive), 0);
    EXPECT_FALSE(records.sortKeys().first().ascending);

    // A requery keeps the order for rows that were not there before.
    ASSERT_TRUE(db().insert("t_client", {{"F_code", "K6"}, {"F_FWprice", 50.0}}));
    ASSERT_TRUE(records.requery());
    EXPECT_EQ(column(records, "F_code"), (QStringList{"K1", "K6", "K3", "K4", "K2", "K5"}));
}

TEST(RecordSetSortText, ParsesFieldsAndDirections)
{
    using Keys = QList<RecordSet::SortKey>;
    const struct {
        const char* text;
        Keys keys;
    } cases[] = {
        {"F_code ASC, F_name DESC", {{"F_code", true}, {"F_name", false}}},
        {"  F_code   desc ,, f_name ", {{"F_code", false}, {"f_name", true}}},
        {"F_code Desc Nulls", {{"F_code", false}}},
        {"", {}},
        {" , ", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordSet::parseSortText(c.text), c.keys) << c.text;
}

TEST_P(RecordSetTest, TextRoundTripsVerbatim)
{
    const QStringList texts = {"O'Brien", "100% 折扣_", R"(C:\temp\new)", R"(引号"和'单引号)",
                               "张三丰",  "两行\n文字", "  两边空格  ",   "%",
                               "_",       R"(\)"};
    RecordSet records;
    records.setUpdateTable("t_code");
    ASSERT_TRUE(records.open(
        db(), "SELECT F_ID, F_code, F_name, F_type FROM t_code WHERE F_type = ? ORDER BY F_ID", {"text"}));
    for (const QString& text : texts) {
        const int row = records.appendRow();
        ASSERT_TRUE(records.setValue(row, "F_name", text));
        ASSERT_TRUE(records.setValue(row, "F_type", "text"));
    }
    {
        Transaction transaction(db());
        ASSERT_TRUE(records.applyUpdates()) << records.lastError().toStdString();
        ASSERT_TRUE(transaction.commit());
    }
    records.acceptUpdates();

    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        RecordSet found;
        ASSERT_TRUE(found.open(db(), "SELECT F_name FROM t_code WHERE F_name = ?", {text}));
        ASSERT_EQ(found.rowCount(), 1);
        EXPECT_EQ(found.value(0, "F_name").toString(), text);
        EXPECT_EQ(found.data(found.index(0, 0)).toString(), text);
    }
    ASSERT_TRUE(records.requery());
    EXPECT_EQ(column(records, "F_name"), texts);
}

INSTANTIATE_ENGINES(RecordSetTest);
