#include "code_tree_outline.h"
#include "support/test_database.h"

#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/scripted_messenger.h"
#include "reference/code_tree_items.h"
#include "reference/code_tree_window.h"
#include "reference/node_name_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace {

// Runs `step` on the modal window with that object name as soon as it shows; a test that
// opens one must close it in `step`.
void whenShown(const QString& objectName, std::function<void(QDialog*)> step)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [=](int left) {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (modal && modal->objectName() == objectName && modal->isVisible()) {
            step(modal);
            return;
        }
        if (left > 0)
            QTimer::singleShot(10, [=] { (*attempt)(left - 1); });
    };
    QTimer::singleShot(0, [=] { (*attempt)(300); });
}

QString itemShape(const QTreeWidgetItem* item)
{
    QString text = CodeTreeItems::code(item) + QLatin1Char(' ') + item->text(0);
    if (item->childCount() > 0) {
        QStringList children;
        for (int i = 0; i < item->childCount(); ++i)
            children << itemShape(item->child(i));
        text += QLatin1Char('(') + children.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return text;
}

class CodeTreeWindowTest : public ::testing::Test {
protected:
    TestDatabase database{TestEngine::Sqlite};
    ScriptedMessenger messenger;
    IniFile config;
    DataModule data{database.db(), messenger, config, database.folder()};
    std::unique_ptr<CodeTreeWindow> window;
    QStringList captions; // of every name dialog shown

    void SetUp() override { ASSERT_TRUE(database.ok()) << database.error().toStdString(); }

    void put(const QString& code, const QString& name, const QString& path, const QString& flag = "goodtype")
    {
        ASSERT_TRUE(database.db().insert(
            "t_treecode", {{"F_code", code}, {"F_name", name}, {"F_likecode", path}, {"F_flag", flag}}));
    }
    void putSample()
    {
        put("004", "空调", "\\\\空调");
        put("004001", "挂机", "\\\\空调\\挂机");
        put("004002", "柜机", "\\\\空调\\柜机");
        put("004003", "窗机", "\\\\空调\\窗机");
        put("005", "冰箱", "\\\\冰箱");
        put("004", "国美", "\\\\国美", "buyaddress");
    }
    QMap<QString, QString> stored(const QString& flag = "goodtype")
    {
        QMap<QString, QString> rows;
        auto query = database.db().exec("select F_code, F_likecode from t_treecode where F_flag = ?", {flag});
        while (query && query->next())
            rows.insert(query->value(0).toString(), query->value(1).toString());
        return rows;
    }

    void open(CodeTreeWindow::Role role)
    {
        window = std::make_unique<CodeTreeWindow>(data, role);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QTreeWidget* tree() { return window->findChild<QTreeWidget*>("tvTree"); }
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
    QTreeWidgetItem* rootItem() { return tree()->topLevelItem(0); }
    QTreeWidgetItem* item(const QString& code)
    {
        QTreeWidgetItemIterator it(tree());
        for (; *it; ++it) {
            if ((*it)->parent() && CodeTreeItems::code(*it) == code)
                return *it;
        }
        ADD_FAILURE() << "no item " << code.toStdString();
        return rootItem();
    }
    void select(QTreeWidgetItem* target)
    {
        tree()->setCurrentItem(target);
        tree()->setFocus();
    }
    QString shape() { return itemShape(rootItem()); }

    // The next name dialog gets `name` typed over its text and "确定"; its caption and
    // initial text are kept.
    void typeName(const QString& name, QString* initial = nullptr)
    {
        whenShown("TDLGenterCaption", [=](QDialog* dialog) {
            captions << dialog->windowTitle();
            auto* edit = dialog->findChild<QLineEdit*>("edtName");
            if (initial)
                *initial = edit->text();
            // Chinese text comes through an input method, not key by key.
            edit->clear();
            edit->insert(name);
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
            if (dialog->isVisible()) // refused: a person gives up
                QTest::mouseClick(dialog->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
        });
    }
};

} // namespace

TEST_F(CodeTreeWindowTest, EachRoleHasItsCaptionTreeAndButtons)
{
    putSample();
    const struct {
        CodeTreeWindow::Role role;
        const char* caption;
        bool picker;
        const char* shape;
    } cases[] = {
        {CodeTreeWindow::PurchasePlaceManager, "购买地点", false, "000 购买地点(004 国美)"},
        {CodeTreeWindow::PurchasePlacePicker, "购买地点", true, "000 购买地点(004 国美)"},
        {CodeTreeWindow::GoodsTypeManager, "商品类型", false,
         "000 商品类型(004 空调(004001 挂机, 004002 柜机, 004003 窗机), 005 冰箱)"},
        {CodeTreeWindow::GoodsTypePicker, "商品类型", true,
         "000 商品类型(004 空调(004001 挂机, 004002 柜机, 004003 窗机), 005 冰箱)"},
    };
    for (const auto& c : cases) {
        open(c.role);
        EXPECT_EQ(window->objectName(), QStringLiteral("TFrmTreeCodeMan"));
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(shape(), QString::fromUtf8(c.shape));
        EXPECT_TRUE(rootItem()->isExpanded());
        EXPECT_EQ(button("btnOK")->isVisible(), c.picker);
        EXPECT_EQ(button("btnCancel")->isVisible(), c.picker);
        for (const char* name : {"btnAddSibling", "btnAddChild", "btnDelete", "btnEdit"})
            EXPECT_TRUE(button(name)->isVisible()) << name;
    }
    EXPECT_EQ(button("btnAddSibling")->text(), QStringLiteral("添加同类(&A)"));
    EXPECT_EQ(button("btnAddChild")->text(), QStringLiteral("添加子类(&C)"));
    EXPECT_EQ(button("btnDelete")->text(), QStringLiteral("删除(包含子类)"));
    EXPECT_EQ(button("btnEdit")->text(), QStringLiteral("修    改(&E)"));
    EXPECT_EQ(window->findChild<QLabel*>("lblHint")->text(),
              QStringLiteral("    增加节点，需先选中左边框里的节点成灰色，然后才能选择增加同级节点或子节点"));
    EXPECT_TRUE(item("004")->isExpanded()) << "the first level opens";
    EXPECT_EQ(tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(messenger.count(), 0);
}

TEST_F(CodeTreeWindowTest, CodesOutsideTheSchemeShowUnderTheRoot)
{
    put("001", "空调", "\\\\空调");
    put("0011", "旧码", "\\\\旧码");
    put("002001", "孤儿", "\\\\孤儿");
    open(CodeTreeWindow::GoodsTypeManager);
    EXPECT_EQ(shape(), QStringLiteral("000 商品类型(001 空调, 0011 旧码, 002001 孤儿)"));
}

TEST_F(CodeTreeWindowTest, AddsChildrenAndSiblingsThroughTheNameDialog)
{
    open(CodeTreeWindow::GoodsTypeManager);
    select(rootItem());
    typeName("空调");
    QTest::mouseClick(button("btnAddChild"), Qt::LeftButton);
    ASSERT_EQ(stored(), (QMap<QString, QString>{{"001", "\\\\空调"}}));

    select(item("001"));
    typeName("挂机");
    QTest::mouseClick(button("btnAddChild"), Qt::LeftButton);
    select(item("001001"));
    typeName("柜机");
    QTest::mouseClick(button("btnAddSibling"), Qt::LeftButton);
    select(item("001001"));
    typeName("吸顶机");
    QTest::mouseClick(button("btnAddSibling"), Qt::LeftButton);
    select(item("001"));
    typeName("冰箱");
    QTest::mouseClick(button("btnAddSibling"), Qt::LeftButton);

    EXPECT_EQ(captions, (QStringList{"添加 000 商品类型 子类", "添加 001 空调 子类", "添加 001001 挂机 同类",
                                     "添加 001001 挂机 同类", "添加 001 空调 同类"}));
    // A sibling appears right after the node it was added to, and the new node is selected.
    EXPECT_EQ(shape(),
              QStringLiteral("000 商品类型(001 空调(001001 挂机, 001003 吸顶机, 001002 柜机), 002 冰箱)"));
    EXPECT_EQ(tree()->currentItem()->text(0), QStringLiteral("冰箱"));
    EXPECT_EQ(CodeTreeItems::path(item("001003")), QStringLiteral("\\\\空调\\吸顶机"));
    EXPECT_EQ(stored(), (QMap<QString, QString>{{"001", "\\\\空调"},
                                                {"001001", "\\\\空调\\挂机"},
                                                {"001002", "\\\\空调\\柜机"},
                                                {"001003", "\\\\空调\\吸顶机"},
                                                {"002", "\\\\冰箱"}}));
    EXPECT_EQ(messenger.count(), 0);
}

TEST_F(CodeTreeWindowTest, RefusalsAskNothingOrWriteNothing)
{
    putSample();
    for (int n = 1; n <= 999; ++n)
        put(QStringLiteral("005%1").arg(n, 3, 10, QLatin1Char('0')), "型号", "\\\\冰箱\\型号");
    open(CodeTreeWindow::GoodsTypeManager);
    const auto before = stored();
    const QString shapeBefore = shape();

    // Nothing selected: the commands do nothing.
    tree()->clearSelection();
    for (const char* name : {"btnAddSibling", "btnAddChild", "btnDelete", "btnEdit"})
        QTest::mouseClick(button(name), Qt::LeftButton);
    EXPECT_EQ(messenger.count(), 0);

    // Refused before a name is asked for.
    select(rootItem());
    QTest::mouseClick(button("btnAddSibling"), Qt::LeftButton);
    select(item("005"));
    QTest::mouseClick(button("btnAddChild"), Qt::LeftButton);
    select(item("005999"));
    QTest::mouseClick(button("btnAddSibling"), Qt::LeftButton);
    EXPECT_EQ(messenger.texts(), (QStringList{"不能增加根节点的同类节点，该节点只能增加子节点！",
                                              "同一节点下最多只能有999个子节点，不能再增加！",
                                              "同一节点下最多只能有999个子节点，不能再增加！"}));
    EXPECT_TRUE(captions.isEmpty());

    // Refused in the dialog, which stays open; then cancelled.
    messenger.clear();
    for (const char* name : {"   ", "空调\\挂机"}) {
        select(item("004"));
        typeName(QString::fromUtf8(name));
        QTest::mouseClick(button("btnAddChild"), Qt::LeftButton);
    }
    EXPECT_EQ(messenger.texts(), (QStringList{"部门名称不能为空！", "名称中不能含有“\\”字符！"}));
    EXPECT_EQ(messenger.messages().first().kind, Messenger::Info);
    // Root commands that do not apply.
    select(rootItem());
    QTest::mouseClick(button("btnEdit"), Qt::LeftButton);
    QTest::mouseClick(button("btnDelete"), Qt::LeftButton);
    EXPECT_EQ(captions.size(), 2);
    EXPECT_EQ(messenger.count(), 2);
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(shape(), shapeBefore);
}

TEST_F(CodeTreeWindowTest, CtrlSRenamesTheNodeOnly)
{
    putSample();
    open(CodeTreeWindow::GoodsTypeManager);
    select(item("004"));
    QString initial;
    typeName("冷气机", &initial);
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(captions, QStringList{"修改类别 004 空调 子类"});
    EXPECT_EQ(initial, QStringLiteral("空调"));
    EXPECT_EQ(item("004")->text(0), QStringLiteral("冷气机"));
    EXPECT_EQ(CodeTreeItems::path(item("004")), QStringLiteral("\\\\冷气机"));
    EXPECT_EQ(stored().value("004"), QStringLiteral("\\\\冷气机"));
    EXPECT_EQ(stored().value("004001"), QStringLiteral("\\\\空调\\挂机"))
        << "children keep their stored paths";

    // Another letter case alone is not saved.
    put("006", "Haier", "\\\\Haier");
    open(CodeTreeWindow::GoodsTypeManager);
    select(item("006"));
    typeName("HAIER");
    QTest::mouseClick(button("btnEdit"), Qt::LeftButton);
    EXPECT_EQ(item("006")->text(0), QStringLiteral("Haier"));
    EXPECT_EQ(database.db().scalar("select F_name from t_treecode where F_code = '006'")->toString(),
              QStringLiteral("Haier"));
    EXPECT_EQ(messenger.count(), 0);
}

TEST_F(CodeTreeWindowTest, DeleteAsksAndRemovesTheSubtree)
{
    putSample();
    open(CodeTreeWindow::GoodsTypeManager);
    select(item("005"));
    messenger.answer(Messenger::No);
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_EQ(messenger.lastText(), QStringLiteral("真的要删除当前节点 “005冰箱” 吗？"));
    EXPECT_EQ(messenger.messages().last().kind, Messenger::Question);
    EXPECT_TRUE(stored().contains("005"));

    select(item("004"));
    messenger.answer(Messenger::Yes);
    QTest::mouseClick(button("btnDelete"), Qt::LeftButton);
    EXPECT_EQ(messenger.lastText(), QStringLiteral("此节点包含有子节点，真的要删除所有的子节点吗？"));
    EXPECT_EQ(shape(), QStringLiteral("000 商品类型(005 冰箱)"));
    EXPECT_EQ(stored().keys(), QStringList{"005"});
    EXPECT_EQ(stored("buyaddress").keys(), QStringList{"004"});
}

TEST_F(CodeTreeWindowTest, DatabaseFailuresAreReportedAndTheTreeStays)
{
    putSample();
    open(CodeTreeWindow::GoodsTypeManager);
    const QString before = shape();
    ASSERT_TRUE(database.db().exec("alter table t_treecode rename to t_treecode_away"));
    select(item("004"));
    QTest::mouseClick(button("btnAddChild"), Qt::LeftButton); // numbering reads the rows first
    typeName("壁挂机");
    QTest::mouseClick(button("btnEdit"), Qt::LeftButton);
    messenger.answer(Messenger::Yes);
    QTest::mouseClick(button("btnDelete"), Qt::LeftButton);
    EXPECT_EQ(
        messenger.texts(),
        (QStringList{"数据连接失败，请与作者联系... ", "数据连接失败，请与作者联系... ",
                     "此节点包含有子节点，真的要删除所有的子节点吗？", "操作失败，请检查数据连接... "}));
    EXPECT_EQ(messenger.messages().first().kind, Messenger::Error);
    EXPECT_EQ(shape(), before);

    // A tree that cannot be read shows its root and offers no edits.
    messenger.clear();
    open(CodeTreeWindow::GoodsTypeManager);
    EXPECT_EQ(messenger.texts(), QStringList{"操作失败，请检查数据连接... "});
    EXPECT_EQ(shape(), QStringLiteral("000 商品类型"));
    EXPECT_FALSE(button("btnAddChild")->isEnabled());
}

TEST_F(CodeTreeWindowTest, ContextMenuHoldsTheFourCommandsDeleteLast)
{
    putSample();
    open(CodeTreeWindow::GoodsTypeManager);
    select(item("004"));
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        menu->close();
    });
    emit tree()->customContextMenuRequested(tree()->visualItemRect(item("004")).center());
    EXPECT_EQ(entries, (QStringList{"添加同类(&A)", "添加子类(&C)", "修    改(&E)", "-", "删除(包含子类)"}));
}

TEST_F(CodeTreeWindowTest, PickerSelectsTheCallersNodeAndReturnsTheChosenPath)
{
    putSample();
    put("004001001", "变频", "\\\\空调\\挂机\\变频");
    QString selected;
    // Cancel (Esc) gives the text back unchanged.
    whenShown("TFrmTreeCodeMan", [&](QDialog* picker) {
        auto* tree = picker->findChild<QTreeWidget*>("tvTree");
        selected =
            tree->selectedItems().isEmpty() ? QString() : CodeTreeItems::code(tree->selectedItems().first());
        EXPECT_TRUE(tree->currentItem()->isExpanded());
        QTest::keyClick(picker, Qt::Key_Escape);
    });
    EXPECT_EQ(CodeTreeWindow::pick(data, TreeKind::GoodsType, "\\\\空调\\挂机"),
              QStringLiteral("\\\\空调\\挂机"));
    EXPECT_EQ(selected, QStringLiteral("004001"));

    // "确定" on the root is refused; Enter on a node chooses it.
    whenShown("TFrmTreeCodeMan", [&](QDialog* picker) {
        auto* tree = picker->findChild<QTreeWidget*>("tvTree");
        selected =
            tree->selectedItems().isEmpty() ? QString() : CodeTreeItems::code(tree->selectedItems().first());
        tree->setCurrentItem(tree->topLevelItem(0));
        QTest::mouseClick(picker->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        tree->setCurrentItem(tree->topLevelItem(0)->child(1));
        QTest::keyClick(tree, Qt::Key_Return);
    });
    EXPECT_EQ(CodeTreeWindow::pick(data, TreeKind::GoodsType, "空调"), QStringLiteral("\\\\冰箱"));
    EXPECT_TRUE(selected.isEmpty()) << "no node has the path 空调";
    EXPECT_EQ(messenger.texts(), QStringList{"不能选择根节点！"});

    // A double-click on a node chooses it; purchase places are their own tree.
    whenShown("TFrmTreeCodeMan", [&](QDialog* picker) {
        auto* tree = picker->findChild<QTreeWidget*>("tvTree");
        QTreeWidgetItem* place = tree->topLevelItem(0)->child(0);
        const QPoint at = tree->visualItemRect(place).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        if (picker->isVisible())
            picker->reject();
    });
    EXPECT_EQ(CodeTreeWindow::pick(data, TreeKind::PurchasePlace, ""), QStringLiteral("\\\\国美"));
}

TEST_F(CodeTreeWindowTest, NameDialogPicksAGoodsTypeOnlyForTheTypeNameCaption)
{
    putSample();
    NodeNameDialog plain(data, "添加 004 空调 子类");
    plain.show();
    EXPECT_EQ(plain.objectName(), QStringLiteral("TDLGenterCaption"));
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("添加 004 空调 子类"));
    EXPECT_FALSE(plain.findChild<QToolButton*>("btnPick")->isVisible());
    EXPECT_EQ(plain.findChild<QLabel*>("lblName")->text(), QStringLiteral("类型名称"));

    // The goods catalogue's change of type: the box gets the path picked.
    QString pickerCaption;
    whenShown("TDLGenterCaption", [&](QDialog* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>("edtName");
        EXPECT_EQ(edit->text(), QStringLiteral("\\\\空调\\柜机"));
        whenShown("TFrmTreeCodeMan", [&](QDialog* picker) {
            pickerCaption = picker->windowTitle();
            auto* tree = picker->findChild<QTreeWidget*>("tvTree");
            EXPECT_EQ(CodeTreeItems::code(tree->currentItem()), QStringLiteral("004002"));
            tree->setCurrentItem(tree->currentItem()->parent()->child(2));
            QTest::mouseClick(picker->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        });
        QTimer::singleShot(0, [dialog] {
            QTest::mouseClick(dialog->findChild<QToolButton*>("btnPick"), Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        });
    });
    EXPECT_EQ(NodeNameDialog::enterCaption(data, "类型名称", "\\\\空调\\柜机"),
              QStringLiteral("\\\\空调\\窗机"));
    EXPECT_EQ(pickerCaption, QStringLiteral("商品类型"));

    // Cancelled: empty text.
    whenShown("TDLGenterCaption", [](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_TRUE(NodeNameDialog::enterCaption(data, "类型名称", "x").isEmpty());
}

TEST_F(CodeTreeWindowTest, OtherDisplaysFillTheirTreeWidgetFromTheStoredTree)
{
    putSample();
    put("004001001", "变频", "\\\\空调\\挂机\\变频");
    QTreeWidget pane;
    ASSERT_TRUE(CodeTreeItems::load(&pane, data, TreeKind::GoodsType));
    QTreeWidgetItem* root = pane.topLevelItem(0);
    EXPECT_EQ(itemShape(root),
              QStringLiteral(
                  "000 商品类型(004 空调(004001 挂机(004001001 变频), 004002 柜机, 004003 窗机), 005 冰箱)"));
    EXPECT_EQ(CodeTreeItems::path(root), QStringLiteral("\\\\"));
    QTreeWidgetItem* wall = root->child(0)->child(0);
    EXPECT_EQ(CodeTreeItems::path(wall), QStringLiteral("\\\\空调\\挂机"));
    EXPECT_TRUE(root->isExpanded() && root->child(0)->isExpanded());
    EXPECT_FALSE(wall->isExpanded()) << "below the first level nodes start closed";

    ASSERT_TRUE(database.db().exec("alter table t_treecode rename to t_treecode_away"));
    EXPECT_FALSE(CodeTreeItems::load(&pane, data, TreeKind::GoodsType));
    EXPECT_EQ(itemShape(pane.topLevelItem(0)), QStringLiteral("000 商品类型"));
    EXPECT_EQ(messenger.texts(), QStringList{"操作失败，请检查数据连接... "});
}
