#pragma once

#include <QString>

#include <memory>
#include <vector>

// One node of a loaded code tree: a t_treecode row, or the root, which is not stored.
struct CodeTreeNode {
    qint64 id = 0; // F_ID of the row; 0 for the root
    QString code;  // three-digit segments; "000" for the root
    QString name;
    QString path; // F_likecode, as stored; "\\" for the root
    CodeTreeNode* parent = nullptr;
    std::vector<std::unique_ptr<CodeTreeNode>> children;

    bool isRoot() const { return parent == nullptr; }
    int codeLength() const { return int(code.size()); }
    bool hasChildren() const { return !children.empty(); }
    // 0 for the root, 1 for the first level below it.
    int level() const
    {
        int depth = 0;
        for (const CodeTreeNode* node = parent; node; node = node->parent)
            ++depth;
        return depth;
    }
};
