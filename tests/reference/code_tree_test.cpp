#include "code_tree_outline.h"

#include "reference/code_tree_store.h"

#include <gtest/gtest.h>

namespace {

CodeTree buildFrom(std::initializer_list<std::pair<const char*, const char*>> codesAndNames)
{
    std::vector<CodeTreeNode> rows;
    qint64 id = 0;
    for (const auto& [code, name] : codesAndNames)
        rows.push_back(row(++id, QString::fromUtf8(code), QString::fromUtf8(name)));
    return CodeTree::build(QStringLiteral("商品类型"), std::move(rows));
}

} // namespace

TEST(CodeTreeBuild, PlacesRowsByCodeWhateverTheirOrder)
{
    const struct {
        const char* what;
        CodeTree tree;
        const char* shape;
    } cases[] = {
        {"empty", buildFrom({}), "000 商品类型"},
        {"two levels, rows unsorted",
         buildFrom(
             {{"002", "冰箱"}, {"001001", "挂机"}, {"001", "空调"}, {"001002", "柜机"}, {"002001", "双门"}}),
         "000 商品类型(001 空调(001001 挂机, 001002 柜机), 002 冰箱(002001 双门))"},
        {"a missing level goes to the nearest stored ancestor",
         buildFrom({{"001", "空调"}, {"001002003", "变频"}}), "000 商品类型(001 空调(001002003 变频))"},
        {"a row whose parent row is missing goes under the root, not under the row before it",
         buildFrom({{"001", "空调"}, {"001001", "挂机"}, {"002001", "孤儿"}}),
         "000 商品类型(001 空调(001001 挂机), 002001 孤儿)"},
        {"codes outside the scheme go under the root, none lost",
         buildFrom({{"001", "空调"},
                    {"0011", "四位"},
                    {"", "空码"},
                    {"00A", "字母"},
                    {"001000", "零段"},
                    {"001001", "挂机"}}),
         "000 商品类型( 空码, 001 空调(001001 挂机), 001000 零段, 0011 四位, 00A 字母)"},
        {"a repeated code stays visible as a leaf",
         buildFrom({{"001", "空调"}, {"001", "重码"}, {"001001", "挂机"}}),
         "000 商品类型(001 空调(001001 挂机), 001 重码)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(outline(c.tree.root()), QString::fromUtf8(c.shape)) << c.what;
        EXPECT_EQ(c.tree.root().path, QStringLiteral("\\\\")) << c.what;
    }
}

TEST(CodeTreeBuild, NodePathUsesTheNamesShown)
{
    CodeTree tree = buildFrom({{"001", "空调"}, {"001001", "挂机"}, {"001001001", "变频"}});
    const CodeTreeNode& first = *tree.root().children[0];
    const CodeTreeNode& third = *first.children[0]->children[0];
    using Mode = CodeTree::PathMode;
    EXPECT_EQ(CodeTree::nodePath(first, Mode::Node), QStringLiteral("\\\\空调"));
    EXPECT_EQ(CodeTree::nodePath(third, Mode::Node), QStringLiteral("\\\\空调\\挂机\\变频"));
    EXPECT_EQ(CodeTree::nodePath(third, Mode::Parent), QStringLiteral("\\\\空调\\挂机"));
    EXPECT_EQ(CodeTree::nodePath(tree.root(), Mode::Node), QStringLiteral("\\\\商品类型"));
}

TEST(CodeTreeStoreNumbering, NextFreeCode)
{
    const QStringList children = {"004", "004001", "004002", "004003", "005"};
    const struct {
        const char* what;
        const char* prefix;
        QStringList codes;
        const char* next; // empty: refused
    } cases[] = {
        {"empty tree", "", {}, "001"},
        {"first child", "004", children, "004004"},
        {"first child of a childless node", "005", children, "005001"},
        {"top level", "", children, "006"},
        {"the width is kept", "", {"099"}, "100"},
        {"after the greatest, gaps stay", "", {"001", "007"}, "008"},
        {"a deeper row whose parent is missing holds its segment", "", {"001", "002001"}, "003"},
        {"misfit codes hold no number", "", {"00A", "x", "001"}, "002"},
        {"past 999 the lowest free number", "", {"001", "002", "004", "999"}, "003"},
    };
    for (const auto& c : cases) {
        const auto next = CodeTreeStore::nextFreeCode(QString::fromUtf8(c.prefix), c.codes);
        ASSERT_TRUE(next) << c.what;
        EXPECT_EQ(*next, QString::fromUtf8(c.next)) << c.what;
    }
    QStringList full;
    for (int n = 1; n <= 999; ++n)
        full << QStringLiteral("007%1").arg(n, 3, 10, QLatin1Char('0'));
    EXPECT_FALSE(CodeTreeStore::nextFreeCode("007", full)) << "a 1000th child would wrap to 000";
    EXPECT_EQ(CodeTreeStore::nextFreeCode("008", full), QStringLiteral("008001"));
}

TEST(CodeTreeStoreNumbering, NameProblems)
{
    EXPECT_EQ(CodeTreeStore::nameProblem(" \t "), QStringLiteral("部门名称不能为空！"));
    EXPECT_EQ(CodeTreeStore::nameProblem("空调\\挂机"), QStringLiteral("名称中不能含有“\\”字符！"));
    EXPECT_TRUE(CodeTreeStore::nameProblem(" O'Brien 店 ").isEmpty());
}
