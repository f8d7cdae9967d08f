#pragma once

#include "reference/code_tree.h"
#include "reference/tree_kind.h"

#include <QHash>
#include <QString>

#include <optional>

class DataModule;
class QTreeWidget;
class QTreeWidgetItem;

// Shows a code tree in a QTreeWidget: every tree display (the tree window, the main window's
// purchase places, the goods type panes) fills its widget here, so they all look alike and
// each item carries its node's code and path.
class CodeTreeItems {
public:
    enum Role { CodeRole = Qt::UserRole + 1, PathRole };

    // Replaces the widget's items with the tree: the root and the first level expanded. When
    // `nodes` is given it receives the node behind every item.
    static QTreeWidgetItem* fill(QTreeWidget* widget, CodeTree& tree,
                                 QHash<QTreeWidgetItem*, CodeTreeNode*>* nodes = nullptr);
    // Loads the tree of `kind` and fills the widget with it. On a database failure the
    // widget holds the root alone, the failure is reported, and the result is empty.
    static std::optional<CodeTree> load(QTreeWidget* widget, DataModule& data, TreeKind kind);

    // A new item showing the node (its children are not added).
    static QTreeWidgetItem* makeItem(const CodeTreeNode& node);
    // Shows the node's name and keeps its code and path with the item.
    static void setRecord(QTreeWidgetItem* item, const CodeTreeNode& node);
    // The image of an item follows its level and whether it has children.
    static void refreshIcon(QTreeWidgetItem* item);

    static QString code(const QTreeWidgetItem* item);
    static QString path(const QTreeWidgetItem* item);
    static QString name(const QTreeWidgetItem* item);
};
