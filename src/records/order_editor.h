#pragma once

// The customer order editor (TfrmCltEdit, "产品记录编辑").
//
// Entry points:
//   OrderEditor::openFromMainWindow(data, mode, mainWindow)
//       the main window's 新增 (mode New), 修改 and the goods tab's 新增/修改 (Edit), 派工
//       (Dispatch) and 完工 (Complete), after the command's own checks. Modes Edit to Complete
//       edit the list's current order.
//   OrderEditor::openFromPicker(data, orders, goodsLines, parent)
//       the customer picker's "新增安装派工": a new order, only the name required; the editor
//       opens `goodsLines` on the new order's code, writes its cached lines with the order, and
//       after the save requeries `orders` and stands on the new order. No navigator, no
//       "连续新增".
//   OrderEditor::open(data, mode, opener, parent)
//       any other window, describing what it lends in an Opener.
// Each shows the window modally and returns true when at least one save succeeded. The goods
// lines are the opener's record set: the editor adds, changes and deletes them in its cache,
// the save writes them in the order's transaction, and closing without saving throws the
// cache away.

#include "records/order_edit_mode.h"
#include "records/order_form.h"
#include "records/order_line_stock.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>

class DataModule;
class MainWindow;
class OrderLineDelegate;
class QComboBox;
class QWidget;
class RecordSet;

namespace Ui {
class OrderEditor;
}

class OrderEditor : public QDialog {
    Q_OBJECT
public:
    using Mode = OrderEditMode;

    // What the opening window lends the editor.
    struct Opener {
        // Its list of orders, standing on the order to edit (modes Edit to Complete); the record
        // navigator moves through it.
        RecordSet* orders = nullptr;
        // The goods lines the grid shows and edits (cached updates).
        RecordSet* goodsLines = nullptr;
        // Opened from the customer picker.
        bool picker = false;
        // Shows the goods lines of the code whatever the list's current order (a new order);
        // without it the editor opens `goodsLines` on the code itself.
        std::function<void(const QString& code)> pinDetails;
        // Lets the goods lines follow the list again; called when the window closes.
        std::function<void()> relinkDetails;
        // After each save: list the orders again and stand on the code.
        std::function<void(const QString& code)> refreshList;
        // "安装送货派工表单" for the list's current order; the button is hidden without it.
        std::function<void()> printDispatchSlip;
    };

    OrderEditor(DataModule& data, Mode mode, const Opener& opener, QWidget* parent = nullptr);
    ~OrderEditor() override;

    static bool open(DataModule& data, Mode mode, const Opener& opener, QWidget* parent = nullptr);
    static bool openFromMainWindow(DataModule& data, Mode mode, MainWindow& window);
    static bool openFromPicker(DataModule& data, RecordSet& orders, RecordSet& goodsLines,
                               QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    int saves() const { return m_saves; }
    // The order as the window shows it now.
    OrderForm form() const;

    static QString newCaption() { return QStringLiteral("产品记录 - 新增"); }
    static QString editCaption() { return QStringLiteral("产品记录 - 修改"); }
    static QString goodsMissingMessage(const QString& typed);
    static QString deleteLineQuestion(const QString& brand, const QString& spec);
    // Asked before the record navigator leaves an order with changes not saved.
    static QString discardChangesQuestion() { return QStringLiteral("当前记录已修改，是否放弃修改？"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void setUpWidgets();
    void setUpGrid();
    void fillLists();
    void startNewOrder();
    void loadCurrentOrder(bool navigated);
    void showForm(const OrderForm& form);
    void lockControls();
    void lock(QWidget* widget, bool locked);
    void setComboText(QComboBox* combo, const QString& stored);
    void fillCombo(QComboBox* combo, const QString& type);

    void save();
    void focusField(OrderForm::Field field);
    void addLine();
    void deleteLine();
    void openGoodsPicker();
    void lookUpTypedCode(int row);
    bool gridKey(int key, Qt::KeyboardModifiers modifiers);
    void moveInGrid();
    bool commitGridEdit();
    bool gridEditorOpen() const;

    void installerChosen();
    void phoneAppointmentToggled(bool checked);
    void setupDateEdited();
    void pickBuyAddress();
    void notYetAvailable();

    void navigate(int step);
    void updateNavigator();
    bool hasUnsavedChanges() const;
    void linesChanged();
    void recomputeTotals(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    std::unique_ptr<Ui::OrderEditor> m_ui;
    DataModule& m_data;
    const Mode m_mode;
    Opener m_opener;
    RecordSet* m_lines = nullptr;
    OrderLineDelegate* m_delegate = nullptr;
    OrderLineStock m_stock;

    // The order as loaded: its identity, stored code and values (for the navigator's question
    // and for values the window shows rounded).
    qint64 m_orderId = 0;
    QString m_storedCode;
    OrderForm m_loaded;
    bool m_wageEdited = false;
    bool m_buyDateEdited = false;
    bool m_showing = false;
    int m_saves = 0;
    QHash<QWidget*, Qt::FocusPolicy> m_focusPolicies;
};
