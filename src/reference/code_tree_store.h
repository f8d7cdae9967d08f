#pragma once

#include "reference/code_tree.h"
#include "reference/tree_edit_result.h"
#include "reference/tree_kind.h"

#include <QStringList>

#include <optional>

class Database;
class Dialect;
class SqlCondition;

// Reads and writes one code tree in t_treecode. Every edit is written at once, in its own
// transaction, and then recorded in the caller's loaded tree so that the display can follow
// without loading again.
class CodeTreeStore {
public:
    enum class CodeMode { Sibling = 1, Child = 2 };

    CodeTreeStore(Database& db, TreeKind kind);

    TreeKind kind() const { return m_kind; }

    // LoadCodeTree: the root and every row of this tree; nothing when the query failed.
    std::optional<CodeTree> load(QString* error = nullptr) const;

    // NextTreeCode: the code a new sibling or child of `node` would get (the root takes
    // children only). Refused when the parent already has 999 children.
    TreeEditResult nextCode(const CodeTreeNode& node, CodeMode mode) const;

    TreeEditResult addSibling(CodeTree& tree, CodeTreeNode& selected, const QString& name);
    TreeEditResult addChild(CodeTree& tree, CodeTreeNode& selected, const QString& name);
    // Writes the node's own row only; descendants and business records keep the paths they
    // stored. Unchanged when the new path equals the old one but for letter case.
    TreeEditResult rename(CodeTreeNode& node, const QString& name);
    // Removes the node's row and the rows of its whole subtree as the tree stands now in the
    // database, and nothing else.
    TreeEditResult removeSubtree(CodeTree& tree, CodeTreeNode& node);

    // Selects the records whose `column` holds `path` or a path below it, for lists filtered
    // by a tree node. The path is matched as written: its backslashes, "%" and "_" are no
    // wildcards or escapes on any engine, and a sibling whose name merely begins with the
    // same text ("空调器" next to "空调") is not below it. The root's path selects every path.
    static SqlCondition pathCondition(const Dialect& dialect, const QString& column, const QString& path);

    // Why a name cannot be stored; empty when it can.
    static QString nameProblem(const QString& name);
    // The code after the greatest one used below `prefix` among `codes`; when that is past
    // the last segment, the lowest free one; nothing when all 999 are taken.
    static std::optional<QString> nextFreeCode(const QString& prefix, const QStringList& codes);

    static constexpr int MaxChildren = 999;
    static QString rootSiblingMessage()
    {
        return QStringLiteral("不能增加根节点的同类节点，该节点只能增加子节点！");
    }
    static QString blankNameMessage() { return QStringLiteral("部门名称不能为空！"); }
    static QString backslashMessage() { return QStringLiteral("名称中不能含有“\\”字符！"); }
    static QString fullMessage() { return QStringLiteral("同一节点下最多只能有999个子节点，不能再增加！"); }
    static QString irregularParentMessage(const QString& code)
    {
        return QStringLiteral("节点编码“%1”不是三位一级的编码，不能在它下面增加子节点！").arg(code);
    }

private:
    // The prefix of the codes of new nodes next to `node` (mode Sibling) or below it; nothing
    // when none can be numbered there, with the reason.
    std::optional<QString> prefixFor(const CodeTreeNode& node, CodeMode mode, QString* refusal) const;
    std::optional<QStringList> storedCodes(QString* error) const;
    std::optional<std::vector<CodeTreeNode>> storedRows(QString* error) const;
    TreeEditResult add(CodeTree& tree, CodeTreeNode& selected, CodeMode mode, const QString& name,
                       const QString& path);

    Database& m_db;
    TreeKind m_kind;
};
