#pragma once

#include "reference/code_tree_node.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// A code tree as every tree display shows it: the root (not stored) and the rows of one
// flag placed by their position codes.
class CodeTree {
public:
    enum class PathMode { Node = 1, Parent = 2 };

    explicit CodeTree(const QString& caption);

    // Places the rows (any order; children left empty) below a root named `caption`. A row
    // goes under the nearest row whose code is its code cut by whole segments, or under the
    // root when there is none; a code that is not made of three-digit segments goes under
    // the root, so that no row is lost from sight. Siblings follow code order.
    static CodeTree build(const QString& caption, std::vector<CodeTreeNode> rows);

    CodeTreeNode& root() { return *m_root; }
    const CodeTreeNode& root() const { return *m_root; }

    CodeTreeNode* findById(qint64 id);
    // The first node, in display order, whose stored path equals `path` exactly.
    CodeTreeNode* findByPath(const QString& path);
    // Every node in display order, the root first.
    void forEach(const std::function<void(CodeTreeNode&)>& visit);
    int storedCount() const;

    // The tree's own record of an edit that was written.
    CodeTreeNode& insertAfter(CodeTreeNode& sibling, CodeTreeNode node);
    CodeTreeNode& appendChild(CodeTreeNode& parent, CodeTreeNode node);
    void remove(CodeTreeNode& node);

    // The path made of the names shown in the tree, from the first level down to the node
    // (or its parent): "\\" + name1 + "\" + name2.
    static QString nodePath(const CodeTreeNode& node, PathMode mode);
    // True for codes of one or more segments "001" to "999".
    static bool isRegularCode(const QString& code);
    // Paths never hold three backslashes in a row: a run of three becomes two.
    static QString collapseBackslashes(QString path);

    static QString rootCode() { return QStringLiteral("000"); }
    static QString rootPath() { return QStringLiteral("\\\\"); }
    static constexpr int SegmentWidth = 3;

private:
    std::unique_ptr<CodeTreeNode> m_root;
};
