#pragma once

// The repair order editors: TfrmWXrecEdit from the main window's repair tab and TfrmWXrecEdit1
// from the repair management window ("维修记录编辑"). One window, two ways of being opened.
//
// Entry points:
//   RepairEditor::openFromMainWindow(data, mode, mainWindow)
//       the repair tab's 新增 (mode New) and 修改 (Edit, the tab's current repair), after the
//       command's own checks; the repair belongs to the list's current order, whose customer is
//       shown in a memo.
//   RepairEditor::open(data, mode, opener, parent)
//       any other window, describing what it lends in an Opener; the repair management window
//       sets `chooseOrder`, so that the customer order is picked in the window and shown in
//       seven fields, and a service category is required.
// Each shows the window modally and returns true when at least one save succeeded. The parts
// lines are the opener's record set: the editor adds, changes and deletes them in its cache, the
// save writes them in the repair's transaction, and closing without saving throws the cache away.

#include "records/repair_edit_mode.h"
#include "records/repair_form.h"

#include <QDialog>

#include <functional>
#include <memory>

class DataModule;
class MainWindow;
class QComboBox;
class QLineEdit;
class RecordSet;
struct RepairCustomer;

namespace Ui {
class RepairEditor;
}

class RepairEditor : public QDialog {
    Q_OBJECT
public:
    using Mode = RepairEditMode;

    // What the opening window lends the editor.
    struct Opener {
        // Its list of repairs, standing on the repair to edit (mode Edit); the record navigator
        // moves through it and the editor reads it again after each save.
        RecordSet* repairs = nullptr;
        // The parts lines the grid shows and edits (cached updates, t_PJdetail).
        RecordSet* parts = nullptr;
        // Shows the parts of the code whatever the list's current repair (a new repair).
        std::function<void(const QString& repairCode)> loadPartsFor;
        // Lets the parts follow the list again.
        std::function<void()> relinkParts;
        // After a save, instead of reading `repairs` again: list the repairs and stand on the one
        // with the identity.
        std::function<void(qint64 id)> refreshList;
        // "售后维修派工表单"; the button is hidden without it.
        std::function<void()> printSlip;
        // The repair management window's editor: the customer order is chosen in the window.
        bool chooseOrder = false;
        // Otherwise: the order the repair belongs to and its customer as the main window shows it.
        QString orderCode;
        QString customerInfo;
    };
    // The customer order picker: the chosen order's code, or `current` when cancelled.
    using OrderPicker = std::function<QString(const QString& current)>;
    // The multi-choice list of 维护信息: the new text, or `current` when cancelled.
    using InfoChooser = std::function<QString(const QString& current)>;

    RepairEditor(DataModule& data, Mode mode, const Opener& opener, QWidget* parent = nullptr);
    ~RepairEditor() override;

    static bool open(DataModule& data, Mode mode, const Opener& opener, QWidget* parent = nullptr);
    static bool openFromMainWindow(DataModule& data, Mode mode, MainWindow& window);

    void setOrderPicker(OrderPicker picker) { m_pickOrder = std::move(picker); }
    void setInfoChooser(InfoChooser chooser) { m_chooseInfo = std::move(chooser); }

    Mode mode() const { return m_mode; }
    int saves() const { return m_saves; }
    // The repair as the window shows it now.
    RepairForm form() const;
    // The customer order the repair belongs to.
    QString orderCode() const { return m_orderCode; }

    static QString caption() { return QStringLiteral("维修记录编辑"); }
    // Asked before the record navigator leaves a repair with changes not saved.
    static QString discardChangesQuestion() { return QStringLiteral("当前记录已修改，是否放弃修改？"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void setUpWidgets();
    void setUpGrid();
    void startNewRepair();
    void loadCurrentRepair();
    void showForm(const RepairForm& form);
    void showCustomer(const QString& orderCode);
    void showCustomerFields(const RepairCustomer& customer);
    void setComboText(QComboBox* combo, const QString& stored);
    void fillCombo(QComboBox* combo, const QString& type);

    void save();
    void chooseOrder();
    void chooseInfo();
    void addLine();
    void deleteLine();
    bool commitGridEdit();
    bool gridEditorOpen() const;
    void partsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void showPartsCharge();
    void showTotal();
    void feeEntered();

    void navigate(int step);
    void updateNavigator();
    bool hasUnsavedChanges() const;

    std::unique_ptr<Ui::RepairEditor> m_ui;
    DataModule& m_data;
    const Mode m_mode;
    Opener m_opener;
    OrderPicker m_pickOrder;
    InfoChooser m_chooseInfo;
    QString m_orderCode;
    qint64 m_repairId = 0;
    RepairForm m_loaded;
    double m_partsCharge = 0;
    bool m_showing = false;
    int m_saves = 0;
};
