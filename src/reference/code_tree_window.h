#pragma once

#include "reference/code_tree.h"
#include "reference/code_tree_store.h"
#include "reference/tree_kind.h"

#include <QDialog>
#include <QHash>

#include <memory>
#include <optional>

class DataModule;
class QTreeWidgetItem;

namespace Ui {
class CodeTreeWindow;
}

// The window that keeps a code tree (purchase places or goods types). A manager only edits;
// a picker edits as well and returns the path of the node chosen. Every edit is written at
// once.
class CodeTreeWindow : public QDialog {
    Q_OBJECT
public:
    enum Role {
        PurchasePlaceManager = 1,
        PurchasePlacePicker = 2,
        GoodsTypeManager = 3,
        GoodsTypePicker = 4,
    };

    CodeTreeWindow(DataModule& data, Role role, QWidget* parent = nullptr);
    ~CodeTreeWindow() override;

    // Sets the caption and the tree, and loads it with its root expanded.
    void setRole(Role role);
    Role role() const { return m_role; }
    bool isPicker() const { return m_role == PurchasePlacePicker || m_role == GoodsTypePicker; }
    TreeKind kind() const;

    // Picker: the caller's text, which is also the result until a node is chosen.
    void setCurrentText(const QString& text) { m_result = text; }
    QString resultText() const { return m_result; }

    // The main window's commands "购买地点" and "商品类型".
    static void openMaintenance(DataModule& data, TreeKind kind, QWidget* parent = nullptr);
    // The path of the node chosen, or `current` unchanged when the picker was cancelled.
    static QString pick(DataModule& data, TreeKind kind, const QString& current, QWidget* parent = nullptr);

    static QString dataFailureMessage() { return QStringLiteral("数据连接失败，请与作者联系... "); }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addSibling();
    void addChild();
    void editNode();
    void deleteNode();
    void choose();
    void showContextMenu(const QPoint& at);

    QTreeWidgetItem* selectedItem() const;
    CodeTreeNode* nodeOf(QTreeWidgetItem* item) const;
    QString askName(const QString& caption, const QString& initial = {});
    // Reports a refused or failed edit; true when it went through.
    bool report(const TreeEditResult& result);
    QTreeWidgetItem* itemFor(CodeTreeNode& node);

    std::unique_ptr<Ui::CodeTreeWindow> m_ui;
    DataModule& m_data;
    Role m_role = PurchasePlaceManager;
    std::unique_ptr<CodeTreeStore> m_store;
    std::optional<CodeTree> m_tree;
    QHash<QTreeWidgetItem*, CodeTreeNode*> m_nodes;
    QString m_result;
    bool m_shown = false;
};
