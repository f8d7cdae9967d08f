#include "reference/code_tree_items.h"

#include "data/data_module.h"
#include "data/data_services.h"
#include "data/messenger.h"
#include "reference/code_tree_store.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidget>

namespace {

int levelOf(const QTreeWidgetItem* item)
{
    int level = 0;
    for (const QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        ++level;
    return level;
}

void addChildren(QTreeWidgetItem* item, CodeTreeNode& node, QHash<QTreeWidgetItem*, CodeTreeNode*>* nodes)
{
    for (auto& child : node.children) {
        QTreeWidgetItem* childItem = CodeTreeItems::makeItem(*child);
        item->addChild(childItem);
        if (nodes)
            nodes->insert(childItem, child.get());
        addChildren(childItem, *child, nodes);
        CodeTreeItems::refreshIcon(childItem);
    }
}

} // namespace

QTreeWidgetItem* CodeTreeItems::fill(QTreeWidget* widget, CodeTree& tree,
                                     QHash<QTreeWidgetItem*, CodeTreeNode*>* nodes)
{
    widget->clear();
    if (nodes)
        nodes->clear();
    QTreeWidgetItem* root = makeItem(tree.root());
    widget->addTopLevelItem(root);
    if (nodes)
        nodes->insert(root, &tree.root());
    addChildren(root, tree.root(), nodes);
    refreshIcon(root);
    root->setExpanded(true);
    for (int i = 0; i < root->childCount(); ++i)
        root->child(i)->setExpanded(true);
    return root;
}

std::optional<CodeTree> CodeTreeItems::load(QTreeWidget* widget, DataModule& data, TreeKind kind)
{
    auto tree = CodeTreeStore(data.db(), kind).load();
    if (!tree) {
        CodeTree rootOnly(treeCaption(kind));
        fill(widget, rootOnly);
        data.messenger().error(DataServices::failureMessage());
        return std::nullopt;
    }
    fill(widget, *tree);
    return tree;
}

QTreeWidgetItem* CodeTreeItems::makeItem(const CodeTreeNode& node)
{
    auto* item = new QTreeWidgetItem;
    setRecord(item, node);
    return item;
}

void CodeTreeItems::setRecord(QTreeWidgetItem* item, const CodeTreeNode& node)
{
    item->setText(0, node.name);
    item->setData(0, CodeRole, node.code);
    item->setData(0, PathRole, node.path);
    item->setToolTip(0, node.path);
}

void CodeTreeItems::refreshIcon(QTreeWidgetItem* item)
{
    QStyle* style = item->treeWidget() ? item->treeWidget()->style() : QApplication::style();
    QStyle::StandardPixmap image = QStyle::SP_FileIcon;
    switch (levelOf(item)) {
    case 0:
        image = QStyle::SP_DriveNetIcon;
        break;
    case 1:
        image = item->childCount() > 0 ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon;
        break;
    default:
        break;
    }
    item->setIcon(0, style->standardIcon(image));
}

QString CodeTreeItems::code(const QTreeWidgetItem* item)
{
    return item ? item->data(0, CodeRole).toString() : QString();
}

QString CodeTreeItems::path(const QTreeWidgetItem* item)
{
    return item ? item->data(0, PathRole).toString() : QString();
}

QString CodeTreeItems::name(const QTreeWidgetItem* item)
{
    return item ? item->text(0) : QString();
}
