#include "code_tree_outline.h"
#include "support/test_database.h"

#include "data/sql_condition.h"
#include "reference/code_tree_store.h"

class CodeTreeStoreTest : public EngineTest {
protected:
    void put(const QString& code, const QString& name, const QString& path, const QString& flag = "goodtype")
    {
        ASSERT_TRUE(db().insert("t_treecode",
                                {{"F_code", code}, {"F_name", name}, {"F_likecode", path}, {"F_flag", flag}}))
            << db().lastError().toStdString();
    }
    // 空调(挂机, 柜机, 窗机) and 冰箱 as goods types, 国美 as a purchase place.
    void putSample()
    {
        put("004", "空调", "\\\\空调");
        put("004001", "挂机", "\\\\空调\\挂机");
        put("004002", "柜机", "\\\\空调\\柜机");
        put("004003", "窗机", "\\\\空调\\窗机");
        put("005", "冰箱", "\\\\冰箱");
        put("004", "国美", "\\\\国美", "buyaddress");
        put("004001", "一店", "\\\\国美\\一店", "buyaddress");
    }
    CodeTree load(TreeKind kind = TreeKind::GoodsType)
    {
        QString error;
        auto tree = CodeTreeStore(db(), kind).load(&error);
        EXPECT_TRUE(tree) << error.toStdString();
        return tree ? std::move(*tree) : CodeTree(treeCaption(kind));
    }
    // code → path of every stored row of the flag.
    QMap<QString, QString> stored(const QString& flag = "goodtype")
    {
        QMap<QString, QString> rows;
        auto query = db().exec("select F_code, F_likecode from t_treecode where F_flag = ?", {flag});
        EXPECT_TRUE(query);
        while (query && query->next())
            rows.insert(query->value(0).toString(), query->value(1).toString());
        return rows;
    }
    CodeTreeNode& node(CodeTree& tree, const QString& code)
    {
        CodeTreeNode* found = nullptr;
        tree.forEach([&](CodeTreeNode& n) {
            if (!found && n.code == code && !n.isRoot())
                found = &n;
        });
        EXPECT_TRUE(found) << code.toStdString();
        return found ? *found : tree.root();
    }
};

TEST_P(CodeTreeStoreTest, LoadsOneFlagBelowItsCaptionedRoot)
{
    EXPECT_EQ(outline(load(TreeKind::PurchasePlace).root()), QStringLiteral("000 购买地点"));
    putSample();
    put("0041", "旧码", "\\\\旧码");
    CodeTree tree = load();
    EXPECT_EQ(
        outline(tree.root()),
        QStringLiteral("000 商品类型(004 空调(004001 挂机, 004002 柜机, 004003 窗机), 0041 旧码, 005 冰箱)"));
    EXPECT_EQ(node(tree, "004002").path, QStringLiteral("\\\\空调\\柜机"));
    EXPECT_EQ(outline(load(TreeKind::PurchasePlace).root()),
              QStringLiteral("000 购买地点(004 国美(004001 一店))"));
}

TEST_P(CodeTreeStoreTest, NumbersSiblingsAndChildren)
{
    putSample();
    CodeTree tree = load();
    CodeTreeStore store(db(), TreeKind::GoodsType);
    using Mode = CodeTreeStore::CodeMode;
    const struct {
        const char* code; // "" for the root
        Mode mode;
        const char* next;
    } cases[] = {
        {"004", Mode::Child, "004004"},       {"004002", Mode::Sibling, "004004"},
        {"004001", Mode::Child, "004001001"}, {"005", Mode::Child, "005001"},
        {"005", Mode::Sibling, "006"},        {"", Mode::Child, "006"},
    };
    for (const auto& c : cases) {
        CodeTreeNode& at = *c.code ? node(tree, c.code) : tree.root();
        const TreeEditResult result = store.nextCode(at, c.mode);
        EXPECT_EQ(result.status, TreeEditResult::Done) << c.code;
        EXPECT_EQ(result.code, QString::fromUtf8(c.next)) << c.code << " mode " << int(c.mode);
    }
    const TreeEditResult rootSibling = store.nextCode(tree.root(), Mode::Sibling);
    EXPECT_EQ(rootSibling.status, TreeEditResult::Refused);
    EXPECT_EQ(rootSibling.message, QStringLiteral("不能增加根节点的同类节点，该节点只能增加子节点！"));
}

TEST_P(CodeTreeStoreTest, AddsWithCodesAndPathsAndRecordsTheNodeInTheTree)
{
    CodeTree tree = load();
    CodeTreeStore store(db(), TreeKind::GoodsType);
    // In an empty tree the first child of the root.
    TreeEditResult first = store.addChild(tree, tree.root(), "空调");
    ASSERT_EQ(first.status, TreeEditResult::Done) << first.message.toStdString();
    EXPECT_EQ(first.code, QStringLiteral("001"));
    EXPECT_EQ(first.node->path, QStringLiteral("\\\\空调"));

    ASSERT_TRUE(store.addChild(tree, *first.node, "挂机").ok());
    CodeTreeNode& wall = node(tree, "001001");
    // A sibling next to a second-level node: parent name and name. Stored as typed, quote and all.
    const TreeEditResult sibling = store.addSibling(tree, wall, " O'Brien 柜机 ");
    ASSERT_EQ(sibling.status, TreeEditResult::Done);
    EXPECT_EQ(sibling.code, QStringLiteral("001002"));
    EXPECT_EQ(sibling.node->path, QStringLiteral("\\\\空调\\ O'Brien 柜机 "));
    // A sibling on the first level.
    ASSERT_TRUE(store.addSibling(tree, node(tree, "001"), "冰箱").ok());

    EXPECT_EQ(outline(tree.root()),
              QStringLiteral("000 商品类型(001 空调(001001 挂机, 001002  O'Brien 柜机 ), 002 冰箱)"));
    EXPECT_EQ(outline(load().root()), outline(tree.root())) << "the tree kept matches what loads";
    EXPECT_EQ(stored(), (QMap<QString, QString>{{"001", "\\\\空调"},
                                                {"001001", "\\\\空调\\挂机"},
                                                {"001002", "\\\\空调\\ O'Brien 柜机 "},
                                                {"002", "\\\\冰箱"}}));
    EXPECT_TRUE(stored("buyaddress").isEmpty());
}

TEST_P(CodeTreeStoreTest, SiblingInsertedRightAfterTheSelectedNode)
{
    putSample();
    CodeTree tree = load();
    CodeTreeStore store(db(), TreeKind::GoodsType);
    ASSERT_TRUE(store.addSibling(tree, node(tree, "004001"), "嵌入式").ok());
    EXPECT_EQ(outline(node(tree, "004")),
              QStringLiteral("004 空调(004001 挂机, 004004 嵌入式, 004002 柜机, 004003 窗机)"));
}

TEST_P(CodeTreeStoreTest, NumbersFromTheRowsStoredNowNotFromTheTreeShown)
{
    putSample();
    CodeTree tree = load();
    // Another workstation adds a child of 空调 after this tree was loaded.
    put("004004", "嵌入式", "\\\\空调\\嵌入式");
    const TreeEditResult added =
        CodeTreeStore(db(), TreeKind::GoodsType).addChild(tree, node(tree, "004"), "移动");
    ASSERT_TRUE(added.ok());
    EXPECT_EQ(added.code, QStringLiteral("004005"));
}

TEST_P(CodeTreeStoreTest, RefusedAddsWriteNothing)
{
    putSample();
    put("0041", "旧码", "\\\\旧码");
    for (int n = 1; n <= 999; ++n)
        put(QStringLiteral("005%1").arg(n, 3, 10, QLatin1Char('0')), "型号", "\\\\冰箱\\型号");
    CodeTree tree = load();
    CodeTreeStore store(db(), TreeKind::GoodsType);
    const auto before = stored();
    const QString full = "同一节点下最多只能有999个子节点，不能再增加！";
    const struct {
        const char* what;
        std::function<TreeEditResult()> add;
        QString message;
    } cases[] = {
        {"blank name", [&] { return store.addChild(tree, tree.root(), "  "); }, "部门名称不能为空！"},
        {"backslash", [&] { return store.addChild(tree, tree.root(), "空调\\挂机"); },
         "名称中不能含有“\\”字符！"},
        {"sibling of the root", [&] { return store.addSibling(tree, tree.root(), "x"); },
         "不能增加根节点的同类节点，该节点只能增加子节点！"},
        {"1000th child", [&] { return store.addChild(tree, node(tree, "005"), "x"); }, full},
        {"sibling of a 999th child", [&] { return store.addSibling(tree, node(tree, "005999"), "x"); }, full},
        {"child of a code outside the scheme", [&] { return store.addChild(tree, node(tree, "0041"), "x"); },
         "节点编码“0041”不是三位一级的编码，不能在它下面增加子节点！"},
    };
    const QString shape = outline(tree.root());
    for (const auto& c : cases) {
        const TreeEditResult result = c.add();
        EXPECT_EQ(result.status, TreeEditResult::Refused) << c.what;
        EXPECT_EQ(result.message, c.message) << c.what;
    }
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(outline(tree.root()), shape);
    // A number freed by a deletion is used once the last one is taken.
    ASSERT_TRUE(store.removeSubtree(tree, node(tree, "005500")).ok());
    EXPECT_EQ(store.addChild(tree, node(tree, "005"), "新型号").code, QStringLiteral("005500"));
}

TEST_P(CodeTreeStoreTest, RenameWritesTheNodeOnlyAndNotACaseChange)
{
    putSample();
    put("004001001", "变频", "\\\\空调\\挂机\\变频");
    CodeTree tree = load();
    CodeTreeStore store(db(), TreeKind::GoodsType);

    const TreeEditResult renamed = store.rename(node(tree, "004"), "冷气机");
    ASSERT_EQ(renamed.status, TreeEditResult::Done) << renamed.message.toStdString();
    EXPECT_EQ(node(tree, "004").name, QStringLiteral("冷气机"));
    EXPECT_EQ(node(tree, "004").path, QStringLiteral("\\\\冷气机"));
    auto rows = stored();
    EXPECT_EQ(rows.value("004"), QStringLiteral("\\\\冷气机"));
    // Descendants keep the paths they stored, as business records do.
    EXPECT_EQ(rows.value("004001"), QStringLiteral("\\\\空调\\挂机"));
    EXPECT_EQ(rows.value("004001001"), QStringLiteral("\\\\空调\\挂机\\变频"));
    // The same code in the other tree is left alone.
    EXPECT_EQ(db().scalar("select F_name from t_treecode where F_flag = 'buyaddress' and F_code = '004'")
                  ->toString(),
              QStringLiteral("国美"));

    // The new path is built on the parent's stored path.
    ASSERT_EQ(store.rename(node(tree, "004001"), "壁挂机").status, TreeEditResult::Done);
    EXPECT_EQ(stored().value("004001"), QStringLiteral("\\\\冷气机\\壁挂机"));

    // Letter case alone, or the same name, is not written.
    put("006", "Haier", "\\\\Haier");
    tree = load();
    for (const char* name : {"HAIER", "Haier", "haier "}) {
        const TreeEditResult same = store.rename(node(tree, "006"), name);
        EXPECT_EQ(same.status, TreeEditResult::Unchanged) << name;
    }
    EXPECT_EQ(db().scalar("select F_name from t_treecode where F_code = '006'")->toString(),
              QStringLiteral("Haier"));
    EXPECT_EQ(node(tree, "006").name, QStringLiteral("Haier"));

    EXPECT_EQ(store.rename(node(tree, "006"), " ").message, QStringLiteral("部门名称不能为空！"));
    EXPECT_EQ(store.rename(node(tree, "006"), "海\\尔").status, TreeEditResult::Refused);
    EXPECT_EQ(store.rename(tree.root(), "根").status, TreeEditResult::Refused);
    EXPECT_EQ(db().scalar("select F_name from t_treecode where F_code = '006'")->toString(),
              QStringLiteral("Haier"));
}

TEST_P(CodeTreeStoreTest, DeleteTakesTheWholeSubtreeOfThatFlagOnly)
{
    putSample();
    put("004001001", "变频", "\\\\空调\\挂机\\变频");
    put("0041", "旧码", "\\\\旧码"); // begins with 004 but is shown under the root
    put("004", "空调", "\\\\空调", "buyaddress");
    CodeTree tree = load();
    // Another workstation adds below 空调 after this tree was loaded.
    put("004004", "嵌入式", "\\\\空调\\嵌入式");

    const TreeEditResult removed =
        CodeTreeStore(db(), TreeKind::GoodsType).removeSubtree(tree, node(tree, "004"));
    ASSERT_EQ(removed.status, TreeEditResult::Done) << removed.message.toStdString();
    EXPECT_EQ(stored().keys(), (QStringList{"0041", "005"}));
    EXPECT_EQ(stored("buyaddress").keys(), (QStringList{"004", "004001"}));
    EXPECT_EQ(outline(tree.root()), QStringLiteral("000 商品类型(0041 旧码, 005 冰箱)"));

    // A leaf alone.
    ASSERT_TRUE(CodeTreeStore(db(), TreeKind::GoodsType).removeSubtree(tree, node(tree, "005")).ok());
    EXPECT_EQ(stored().keys(), (QStringList{"0041"}));
}

TEST_P(CodeTreeStoreTest, DatabaseFailureChangesNeitherTreeNorRows)
{
    putSample();
    CodeTree tree = load();
    const QString shape = outline(tree.root());
    ASSERT_TRUE(db().exec("alter table t_treecode rename to t_treecode_away"));
    CodeTreeStore store(db(), TreeKind::GoodsType);
    QString error;
    EXPECT_FALSE(store.load(&error));
    EXPECT_FALSE(error.isEmpty());
    const TreeEditResult results[] = {
        store.addChild(tree, tree.root(), "电视"),
        store.addSibling(tree, node(tree, "004001"), "电视"),
        store.rename(node(tree, "004"), "电视"),
        store.removeSubtree(tree, node(tree, "004")),
        store.nextCode(tree.root(), CodeTreeStore::CodeMode::Child),
    };
    for (const TreeEditResult& result : results) {
        EXPECT_EQ(result.status, TreeEditResult::Failed);
        EXPECT_FALSE(result.message.isEmpty());
    }
    EXPECT_EQ(outline(tree.root()), shape);
    EXPECT_EQ(node(tree, "004").name, QStringLiteral("空调"));
    EXPECT_FALSE(db().inTransaction());
    ASSERT_TRUE(db().exec("alter table t_treecode_away rename to t_treecode"));
    EXPECT_EQ(stored().size(), 5);
}

TEST_P(CodeTreeStoreTest, PathConditionFindsTheNodeAndWhatIsBelowIt)
{
    const QStringList addresses = {"\\\\国美",     "\\\\国美\\一店", "\\\\国美\\一店\\柜台",
                                   "\\\\国美器材", "\\\\苏宁",       "\\\\A_b",
                                   "\\\\Axb",      "\\\\5%店",       "\\\\55店",
                                   "\\\\Haier"};
    for (const QString& address : addresses)
        ASSERT_TRUE(db().insert("t_client", {{"F_client", address}, {"F_buyAddress", address}}));
    const struct {
        const char* path;
        QStringList found;
    } cases[] = {
        {"\\\\国美", {"\\\\国美", "\\\\国美\\一店", "\\\\国美\\一店\\柜台"}},
        {"\\\\国美\\一店", {"\\\\国美\\一店", "\\\\国美\\一店\\柜台"}},
        {"\\\\A_b", {"\\\\A_b"}},
        {"\\\\5%店", {"\\\\5%店"}},
        {"\\\\haier", {"\\\\Haier"}},
        {"\\\\", addresses},
    };
    for (const auto& c : cases) {
        const SqlCondition where = CodeTreeStore::pathCondition(db().dialect(), "F_buyAddress", c.path);
        auto query = db().exec("select F_buyAddress from t_client" + where.clause(), where.values());
        ASSERT_TRUE(query) << db().lastError().toStdString();
        QStringList found;
        while (query->next())
            found << query->value(0).toString();
        found.sort();
        QStringList expected = c.found;
        expected.sort();
        EXPECT_EQ(found, expected) << c.path;
    }
}

INSTANTIATE_ENGINES(CodeTreeStoreTest);
