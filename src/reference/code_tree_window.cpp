#include "reference/code_tree_window.h"

#include "ui_code_tree_window.h"

#include "data/data_module.h"
#include "data/data_services.h"
#include "data/messenger.h"
#include "reference/code_tree_items.h"
#include "reference/node_name_dialog.h"
#include "widgets/window_placement.h"

#include <QKeyEvent>
#include <QMenu>
#include <QStyle>

CodeTreeWindow::CodeTreeWindow(DataModule& data, Role role, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CodeTreeWindow>()), m_data(data)
{
    m_ui->setupUi(this);
    m_ui->splitter->setStretchFactor(0, 1);
    m_ui->splitter->setStretchFactor(1, 0);
    m_ui->tvTree->setDragEnabled(false);
    m_ui->tvTree->installEventFilter(this);

    m_ui->btnAddSibling->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    m_ui->btnAddChild->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    m_ui->btnDelete->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    m_ui->btnEdit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_ui->btnOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    m_ui->btnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    m_ui->actAddSibling->setIcon(m_ui->btnAddSibling->icon());
    m_ui->actAddChild->setIcon(m_ui->btnAddChild->icon());
    m_ui->actDelete->setIcon(m_ui->btnDelete->icon());
    m_ui->actEdit->setIcon(m_ui->btnEdit->icon());

    // Ctrl+S anywhere in the window; Delete where the tree has the focus.
    addAction(m_ui->actEdit);
    m_ui->tvTree->addAction(m_ui->actDelete);

    connect(m_ui->btnAddSibling, &QPushButton::clicked, this, &CodeTreeWindow::addSibling);
    connect(m_ui->btnAddChild, &QPushButton::clicked, this, &CodeTreeWindow::addChild);
    connect(m_ui->btnDelete, &QPushButton::clicked, this, &CodeTreeWindow::deleteNode);
    connect(m_ui->btnEdit, &QPushButton::clicked, this, &CodeTreeWindow::editNode);
    connect(m_ui->actAddSibling, &QAction::triggered, this, &CodeTreeWindow::addSibling);
    connect(m_ui->actAddChild, &QAction::triggered, this, &CodeTreeWindow::addChild);
    connect(m_ui->actDelete, &QAction::triggered, this, &CodeTreeWindow::deleteNode);
    connect(m_ui->actEdit, &QAction::triggered, this, &CodeTreeWindow::editNode);
    connect(m_ui->btnOK, &QPushButton::clicked, this, &CodeTreeWindow::choose);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->tvTree, &QTreeWidget::customContextMenuRequested, this, &CodeTreeWindow::showContextMenu);
    connect(m_ui->tvTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (isPicker() && item && item->parent())
            choose();
    });

    setRole(role);
}

CodeTreeWindow::~CodeTreeWindow() = default;

TreeKind CodeTreeWindow::kind() const
{
    return m_role == GoodsTypeManager || m_role == GoodsTypePicker ? TreeKind::GoodsType
                                                                   : TreeKind::PurchasePlace;
}

void CodeTreeWindow::setRole(Role role)
{
    m_role = role;
    setWindowTitle(treeCaption(kind()));
    m_ui->pnlPick->setVisible(isPicker());
    m_store = std::make_unique<CodeTreeStore>(m_data.db(), kind());
    m_tree = m_store->load();
    const bool loaded = m_tree.has_value();
    if (!loaded) {
        m_data.messenger().error(DataServices::failureMessage());
        m_tree.emplace(treeCaption(kind()));
    }
    // Edits need the stored rows; without them the window only shows its root.
    for (QPushButton* button : {m_ui->btnAddSibling, m_ui->btnAddChild, m_ui->btnDelete, m_ui->btnEdit})
        button->setEnabled(loaded);
    for (QAction* action : {m_ui->actAddSibling, m_ui->actAddChild, m_ui->actDelete, m_ui->actEdit})
        action->setEnabled(loaded);
    CodeTreeItems::fill(m_ui->tvTree, *m_tree, &m_nodes);
}

void CodeTreeWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (!isPicker())
        return;
    // The caller's current text selects its node, when one has exactly that path.
    if (CodeTreeNode* node = m_tree->findByPath(m_result)) {
        if (QTreeWidgetItem* item = itemFor(*node)) {
            m_ui->tvTree->setCurrentItem(item);
            item->setExpanded(true);
            m_ui->tvTree->scrollToItem(item);
        }
    }
    m_ui->tvTree->setFocus();
}

bool CodeTreeWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->tvTree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            QTreeWidgetItem* item = selectedItem();
            if (isPicker() && item && item->parent())
                choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QTreeWidgetItem* CodeTreeWindow::selectedItem() const
{
    const QList<QTreeWidgetItem*> selected = m_ui->tvTree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

CodeTreeNode* CodeTreeWindow::nodeOf(QTreeWidgetItem* item) const
{
    return item ? m_nodes.value(item) : nullptr;
}

QTreeWidgetItem* CodeTreeWindow::itemFor(CodeTreeNode& node)
{
    for (auto it = m_nodes.cbegin(); it != m_nodes.cend(); ++it) {
        if (it.value() == &node)
            return it.key();
    }
    return nullptr;
}

QString CodeTreeWindow::askName(const QString& caption, const QString& initial)
{
    return NodeNameDialog::enterCaption(m_data, caption, initial, this, &CodeTreeStore::nameProblem);
}

bool CodeTreeWindow::report(const TreeEditResult& result)
{
    switch (result.status) {
    case TreeEditResult::Done:
    case TreeEditResult::Unchanged:
        return true;
    case TreeEditResult::Refused:
        if (!result.message.isEmpty())
            m_data.messenger().info(result.message);
        return false;
    case TreeEditResult::Failed:
        m_data.messenger().error(dataFailureMessage());
        return false;
    }
    return false;
}

void CodeTreeWindow::addSibling()
{
    QTreeWidgetItem* item = selectedItem();
    CodeTreeNode* node = nodeOf(item);
    if (!node)
        return;
    if (node->isRoot()) {
        m_data.messenger().info(CodeTreeStore::rootSiblingMessage());
        return;
    }
    // A full parent is refused before a name is asked for.
    if (!report(m_store->nextCode(*node, CodeTreeStore::CodeMode::Sibling)))
        return;
    const QString name = askName(QStringLiteral("添加 %1 %2 同类").arg(node->code, node->name));
    if (name.trimmed().isEmpty())
        return;
    const TreeEditResult result = m_store->addSibling(*m_tree, *node, name);
    if (!report(result))
        return;
    QTreeWidgetItem* added = CodeTreeItems::makeItem(*result.node);
    m_nodes.insert(added, result.node);
    QTreeWidgetItem* parent = item->parent();
    parent->insertChild(parent->indexOfChild(item) + 1, added);
    CodeTreeItems::refreshIcon(added);
    m_ui->tvTree->setCurrentItem(added);
}

void CodeTreeWindow::addChild()
{
    QTreeWidgetItem* item = selectedItem();
    CodeTreeNode* node = nodeOf(item);
    if (!node)
        return;
    if (!report(m_store->nextCode(*node, CodeTreeStore::CodeMode::Child)))
        return;
    const QString name = askName(QStringLiteral("添加 %1 %2 子类").arg(node->code, node->name));
    if (name.trimmed().isEmpty())
        return;
    const TreeEditResult result = m_store->addChild(*m_tree, *node, name);
    if (!report(result))
        return;
    QTreeWidgetItem* added = CodeTreeItems::makeItem(*result.node);
    m_nodes.insert(added, result.node);
    item->addChild(added);
    CodeTreeItems::refreshIcon(added);
    CodeTreeItems::refreshIcon(item);
    item->setExpanded(true);
    m_ui->tvTree->setCurrentItem(added);
}

void CodeTreeWindow::editNode()
{
    QTreeWidgetItem* item = selectedItem();
    CodeTreeNode* node = nodeOf(item);
    if (!node || node->isRoot())
        return;
    const QString name =
        askName(QStringLiteral("修改类别 %1 %2 子类").arg(node->code, node->name), node->name);
    if (name.trimmed().isEmpty())
        return;
    const TreeEditResult result = m_store->rename(*node, name);
    if (report(result) && result.status == TreeEditResult::Done)
        CodeTreeItems::setRecord(item, *node);
}

void CodeTreeWindow::deleteNode()
{
    QTreeWidgetItem* item = selectedItem();
    CodeTreeNode* node = nodeOf(item);
    if (!node || node->isRoot())
        return;
    const QString question =
        node->hasChildren() ? QStringLiteral("此节点包含有子节点，真的要删除所有的子节点吗？")
                            : QStringLiteral("真的要删除当前节点 “%1%2” 吗？").arg(node->code, node->name);
    if (!m_data.messenger().ask(question))
        return;
    // The items go with the node; forget them before the tree frees it.
    QList<QTreeWidgetItem*> items{item};
    for (int at = 0; at < items.size(); ++at) {
        for (int i = 0; i < items[at]->childCount(); ++i)
            items << items[at]->child(i);
    }
    const TreeEditResult result = m_store->removeSubtree(*m_tree, *node);
    if (result.status == TreeEditResult::Failed) {
        m_data.messenger().error(DataServices::failureMessage());
        return;
    }
    if (result.status != TreeEditResult::Done)
        return;
    for (QTreeWidgetItem* gone : items)
        m_nodes.remove(gone);
    QTreeWidgetItem* parent = item->parent();
    delete item;
    CodeTreeItems::refreshIcon(parent);
}

void CodeTreeWindow::choose()
{
    QTreeWidgetItem* item = selectedItem();
    CodeTreeNode* node = nodeOf(item);
    if (!node)
        return;
    if (node->isRoot()) {
        m_data.messenger().info(QStringLiteral("不能选择根节点！"));
        return;
    }
    m_result = node->path;
    accept();
}

void CodeTreeWindow::showContextMenu(const QPoint& at)
{
    QMenu menu(this);
    menu.addAction(m_ui->actAddSibling);
    menu.addAction(m_ui->actAddChild);
    menu.addAction(m_ui->actEdit);
    menu.addSeparator();
    menu.addAction(m_ui->actDelete);
    menu.exec(m_ui->tvTree->viewport()->mapToGlobal(at));
}

void CodeTreeWindow::openMaintenance(DataModule& data, TreeKind kind, QWidget* parent)
{
    CodeTreeWindow window(data, kind == TreeKind::PurchasePlace ? PurchasePlaceManager : GoodsTypeManager,
                          parent);
    WindowPlacement::place(&window, WindowPlacement::Editor, parent);
    window.exec();
}

QString CodeTreeWindow::pick(DataModule& data, TreeKind kind, const QString& current, QWidget* parent)
{
    CodeTreeWindow window(data, kind == TreeKind::PurchasePlace ? PurchasePlacePicker : GoodsTypePicker,
                          parent);
    window.setCurrentText(current);
    WindowPlacement::place(&window, WindowPlacement::Editor, parent);
    window.exec();
    return window.resultText();
}
