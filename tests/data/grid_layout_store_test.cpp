#include "support/test_database.h"

#include "data/grid_layout_seed.h"
#include "data/grid_layout_store.h"
#include "data/schema.h"

class GridLayoutStoreTest : public EngineTest {
protected:
    qint64 rowsOf(const QString& key)
    {
        return db().scalar("select count(*) from cfg_Grid where F_name = ?", {key})->toLongLong();
    }
    void addRow(const QString& key, const QVariant& field, const QString& caption, int order,
                int footerType = 0, int alignment = 0)
    {
        ASSERT_TRUE(db().insert("cfg_Grid", {{"F_name", key},
                                             {"F_FieldName", field},
                                             {"F_Caption", caption},
                                             {"F_Width", 55},
                                             {"F_Visible", 1},
                                             {"F_ReadOnly", 0},
                                             {"F_DisplayFormat", ""},
                                             {"F_FooterValue", "x"},
                                             {"F_FooterType", footerType},
                                             {"F_Alignment", alignment},
                                             {"F_Order", order}}));
    }
};

TEST_P(GridLayoutStoreTest, TheMainWindowGridsAreSeededAndLoadUnderAnyLetterCase)
{
    for (const char* key : {"clientmain", "detail1", "detail2", "detail3"}) {
        const QList<GridColumn> designed = GridLayoutSeed::designedColumns(key);
        ASSERT_FALSE(designed.isEmpty()) << key;
        const auto stored = GridLayoutStore::load(db(), QString::fromLatin1(key).toUpper());
        ASSERT_TRUE(stored) << key;
        EXPECT_EQ(*stored, designed) << key;
    }
    const QList<GridColumn> main = GridLayoutSeed::designedColumns("clientmain");
    EXPECT_EQ(main.size(), 23);
    EXPECT_EQ(main.first().fieldName, "F_client");
    EXPECT_EQ(main.first().title, "顾客姓名");
    const QList<GridColumn> visits = GridLayoutSeed::designedColumns("detail2");
    int sums = 0;
    for (const GridColumn& c : visits)
        sums += c.footer == GridColumn::Footer::Sum ? 1 : 0;
    EXPECT_EQ(sums, 6);
}

TEST_P(GridLayoutStoreTest, AKeyWithoutRowsLoadsNothingAndStoresNothing)
{
    const auto loaded = GridLayoutStore::load(db(), "nosuchgrid");
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->isEmpty());
    GridColumn column;
    column.fieldName = "F_client";
    column.title = "客户";
    EXPECT_TRUE(GridLayoutStore::save(db(), "nosuchgrid", {column}));
    EXPECT_EQ(rowsOf("nosuchgrid"), 0);
}

TEST_P(GridLayoutStoreTest, RowsWithoutFieldNameAreSkippedAndOrderDecides)
{
    addRow("test", "F_b", "乙", 2, 2, 2);
    addRow("test", "", "empty", 0);
    addRow("test", QVariant(), "null", 1);
    addRow("test", "F_a", "甲", 1, 7, 9); // unknown codes: no footer, left
    const auto loaded = GridLayoutStore::load(db(), "TEST");
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->size(), 2);
    EXPECT_EQ(loaded->at(0).fieldName, "F_a");
    EXPECT_EQ(loaded->at(0).footer, GridColumn::Footer::None);
    EXPECT_EQ(loaded->at(0).alignment, GridColumn::Alignment::Left);
    EXPECT_EQ(loaded->at(1).title, "乙");
    EXPECT_EQ(loaded->at(1).width, 55);
    EXPECT_FALSE(loaded->at(1).readOnly);
    EXPECT_EQ(loaded->at(1).footer, GridColumn::Footer::Sum);
    EXPECT_EQ(loaded->at(1).alignment, GridColumn::Alignment::Right);
}

TEST_P(GridLayoutStoreTest, SaveUpdatesOnlyExistingRowsAndStoresThePositions)
{
    QList<GridColumn> columns = GridLayoutSeed::designedColumns("detail1");
    ASSERT_GE(columns.size(), 3);
    columns.swapItemsAt(0, 2);
    columns[0].title = "it's \"名称\""; // quotes are only characters
    columns[0].width = 201;
    columns[0].visible = false;
    columns[0].readOnly = false;
    columns[0].displayFormat = ",0.00#";
    columns[0].footer = GridColumn::Footer::Text;
    columns[0].footerValue = "合计";
    columns[0].alignment = GridColumn::Alignment::Centre;
    GridColumn extra;
    extra.fieldName = "F_notStored";
    columns.insert(1, extra);
    const qint64 before = rowsOf("detail1");

    ASSERT_TRUE(GridLayoutStore::save(db(), "Detail1", columns));
    EXPECT_EQ(rowsOf("detail1"), before);
    const auto loaded = GridLayoutStore::load(db(), "detail1");
    ASSERT_TRUE(loaded);
    columns.removeAt(1);
    EXPECT_EQ(*loaded, columns);
}

TEST_P(GridLayoutStoreTest, AFailedReadIsReported)
{
    Database closed;
    QString error;
    EXPECT_FALSE(GridLayoutStore::load(closed, "clientmain", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(
        GridLayoutStore::save(closed, "clientmain", GridLayoutSeed::designedColumns("clientmain"), &error));
}

TEST_P(GridLayoutStoreTest, UpgradeAddsTheMissingMainWindowLayoutsOnly)
{
    ASSERT_TRUE(db().exec("delete from cfg_Grid where F_name in ('detail2', 'clientmain')"));
    addRow("clientmain", "F_client", "我的布局", 0); // a layout of the user's own stays as it is
    ASSERT_TRUE(db().exec("update cfg_Version set F_Version = 1"));
    const qint64 detail1 = rowsOf("detail1");

    QString error;
    ASSERT_TRUE(Schema::upgrade(db(), &error)) << error.toStdString();
    EXPECT_EQ(Schema::installedVersion(db()), Schema::currentVersion());
    EXPECT_EQ(rowsOf("detail2"), GridLayoutSeed::designedColumns("detail2").size());
    EXPECT_EQ(rowsOf("detail1"), detail1);
    EXPECT_EQ(rowsOf("clientmain"), 1);
}

INSTANTIATE_ENGINES(GridLayoutStoreTest);
