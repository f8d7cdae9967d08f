#include "records/repair_editor.h"

#include "app/main_window.h"
#include "data/data_module.h"
#include "data/grid_column.h"
#include "data/messenger.h"
#include "data/record_set.h"
#include "data/sql_value.h"
#include "records/code_list_source.h"
#include "records/customer_order_picker.h"
#include "records/multi_choice.h"
#include "records/multi_choice_dialog.h"
#include "records/repair_customer.h"
#include "records/repair_parts.h"
#include "records/repair_saver.h"
#include "ui_repair_editor.h"
#include "widgets/combo_items.h"
#include "widgets/data_grid.h"
#include "widgets/data_grid_services.h"
#include "widgets/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

namespace {

const QString kName = QStringLiteral("F_name");
const QString kTotal = QStringLiteral("F_totalprice");

// Code list types of the drop-down lists.
const QString kServiceTypes = QStringLiteral("wxtype");
const QString kStates = QStringLiteral("wxstatus");
const QString kServiceEmployees = QStringLiteral("fwemp");
const QString kVisitEmployees = QStringLiteral("hfemp");
const QString kAttitudes = QStringLiteral("FWtaidu");

GridColumn partColumn(const char* field, const QString& title, int width, bool editable,
                      GridColumn::Alignment alignment = GridColumn::Alignment::Left)
{
    GridColumn column;
    column.fieldName = QLatin1String(field);
    column.title = title;
    column.width = width;
    column.readOnly = !editable;
    column.alignment = alignment;
    return column;
}

// The parts columns; the third names the part's code ("编号") where the repair's order is chosen
// in the window, its kind ("种类") on the order's own repair tab.
QList<GridColumn> partColumns(bool chooseOrder)
{
    const auto right = GridColumn::Alignment::Right;
    QList<GridColumn> columns = {
        partColumn("F_name", QStringLiteral("配件名称"), 130, true),
        partColumn("F_spec", QStringLiteral("型号"), 100, true),
        partColumn("F_code", chooseOrder ? QStringLiteral("编号") : QStringLiteral("种类"), 80, true),
        partColumn("F_amount", QStringLiteral("数量"), 60, true, right),
        partColumn("F_price", QStringLiteral("单价"), 75, true, right),
        partColumn("F_totalprice", QStringLiteral("金额"), 85, false, right),
        partColumn("F_IFshouFei", QStringLiteral("是否收费"), 65, true, GridColumn::Alignment::Centre),
        partColumn("F_memo1", QStringLiteral("备注"), 200, true),
    };
    columns[0].footer = GridColumn::Footer::Text;
    columns[0].footerValue = QStringLiteral("合  计");
    columns[3].footer = GridColumn::Footer::Sum;
    columns[5].footer = GridColumn::Footer::Sum;
    return columns;
}

// Number of decimals and thousands grouping of a display format such as ",0.00".
QPair<int, bool> formatShape(const QString& format)
{
    const int point = int(format.indexOf(QLatin1Char('.')));
    return {point < 0 ? 0 : int(format.size()) - point - 1, format.contains(QLatin1Char(','))};
}

} // namespace

RepairEditor::RepairEditor(DataModule& data, Mode mode, const Opener& opener, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::RepairEditor>()), m_data(data), m_mode(mode),
      m_opener(opener)
{
    m_ui->setupUi(this);
    setObjectName(opener.chooseOrder ? QStringLiteral("TfrmWXrecEdit1") : QStringLiteral("TfrmWXrecEdit"));
    setWindowTitle(caption());
    m_pickOrder = [this](const QString& current) { return CustomerOrderPicker::pick(m_data, current, this); };
    m_chooseInfo = [this](const QString& current) {
        return MultiChoiceDialog::choose(m_data, MultiChoice::repairInfoCaption(), current, this);
    };
    setUpWidgets();
    setUpGrid();
    for (QComboBox* combo :
         {m_ui->cbbFWtype, m_ui->cbbWXstatus, m_ui->cbbFWemp, m_ui->cbbHFemp, m_ui->cbbFWtaidu})
        fillCombo(combo, combo->property("codeType").toString());
    if (m_mode == Mode::New)
        startNewRepair();
    else
        loadCurrentRepair();
    // The window sees keys before its controls (Enter, Ctrl+S, Ctrl+A, Ctrl+D, Esc).
    qApp->installEventFilter(this);
}

RepairEditor::~RepairEditor()
{
    qApp->removeEventFilter(this);
}

bool RepairEditor::open(DataModule& data, Mode mode, const Opener& opener, QWidget* parent)
{
    RepairEditor editor(data, mode, opener, parent);
    WindowPlacement::place(&editor, WindowPlacement::Editor, parent);
    editor.exec();
    return editor.saves() > 0;
}

bool RepairEditor::openFromMainWindow(DataModule& data, Mode mode, MainWindow& window)
{
    Opener opener;
    opener.repairs = &window.repairs();
    opener.parts = &window.parts();
    opener.loadPartsFor = [&window](const QString& code) { window.loadPartsFor(code); };
    opener.relinkParts = [&window] { window.relinkParts(); };
    opener.orderCode = window.orders().current(QStringLiteral("F_code")).toString();
    opener.customerInfo = window.customerInfo();
    // The main window's own print command, where the role may use it.
    auto* print = window.findChild<QAction*>(QStringLiteral("Action306"));
    if (print && print->isVisible())
        opener.printSlip = [print] { print->trigger(); };
    return open(data, mode, opener, &window);
}

// ---------------------------------------------------------------------------------------------
// set-up

void RepairEditor::setUpWidgets()
{
    Ui::RepairEditor& ui = *m_ui;
    const bool choosing = m_opener.chooseOrder;
    ui.mmoCustomer->setVisible(!choosing);
    ui.mmoCustomer->setPlainText(m_opener.customerInfo);
    ui.pnlCustomerFields->setVisible(choosing);
    ui.CheckBox1->setVisible(m_mode == Mode::New);
    ui.CheckBox1->setChecked(false);
    ui.DBNavigator1->setVisible(m_mode == Mode::Edit);
    ui.Button3->setVisible(bool(m_opener.printSlip));
    ui.btnADD->setDefaultAction(ui.actADD);
    ui.btnDEL->setDefaultAction(ui.actDEL);

    ui.cbbFWtype->setProperty("codeType", kServiceTypes);
    ui.cbbWXstatus->setProperty("codeType", kStates);
    ui.cbbFWemp->setProperty("codeType", kServiceEmployees);
    ui.cbbHFemp->setProperty("codeType", kVisitEmployees);
    ui.cbbFWtaidu->setProperty("codeType", kAttitudes);

    const auto [decimals, grouped] = formatShape(m_data.login().moneyFormat);
    for (QDoubleSpinBox* money : {ui.ceFWtotalPrice, ui.cePJtotalPrice, ui.ceSFtotalPrice, ui.ceXZprice}) {
        money->setDecimals(decimals);
        money->setGroupSeparatorShown(grouped);
    }
    // The no-date value shows blank, as everywhere else.
    for (QDateEdit* date : {ui.dtpBxDate, ui.dtpSMdate, ui.dtpXFdate}) {
        date->setMinimumDate(SqlDates::noDate());
        date->setSpecialValueText(QStringLiteral(" "));
    }

    connect(ui.Button1, &QPushButton::clicked, this, &RepairEditor::save);
    connect(ui.Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.Button3, &QPushButton::clicked, this, [this] {
        if (m_opener.printSlip)
            m_opener.printSlip();
    });
    connect(ui.actADD, &QAction::triggered, this, &RepairEditor::addLine);
    connect(ui.actDEL, &QAction::triggered, this, &RepairEditor::deleteLine);
    connect(ui.btnClient, &QToolButton::clicked, this, &RepairEditor::chooseOrder);
    connect(ui.btnWXinfo, &QToolButton::clicked, this, &RepairEditor::chooseInfo);
    connect(ui.ceFWtotalPrice, &QDoubleSpinBox::valueChanged, this, &RepairEditor::showTotal);
    connect(ui.ceXZprice, &QDoubleSpinBox::valueChanged, this, [this] {
        if (!m_showing)
            m_ui->edtXZemp->setText(m_data.login().operatorName);
    });
    connect(ui.nbFirst, &QToolButton::clicked, this, [this] { navigate(-2); });
    connect(ui.nbPrior, &QToolButton::clicked, this, [this] { navigate(-1); });
    connect(ui.nbNext, &QToolButton::clicked, this, [this] { navigate(1); });
    connect(ui.nbLast, &QToolButton::clicked, this, [this] { navigate(2); });
}

void RepairEditor::setUpGrid()
{
    DataGrid* grid = m_ui->DBGridEh1;
    grid->setColumns(partColumns(m_opener.chooseOrder));
    DataGridServices::setGridFormats(*grid, m_data.login(), 1);
    grid->setTitleSorting(false);
    grid->setEditable(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    grid->addActions({m_ui->actADD, m_ui->actDEL});
    // Moving a column posts the line being edited.
    connect(grid->horizontalHeader(), &QHeaderView::sectionMoved, this, [this] { commitGridEdit(); });

    const SqlStatement names = RepairParts::nameSource();
    QString error;
    if (!DataGridServices::fillColumnPickList(*grid, m_data.services(), names.sql, names.values, kName,
                                              &error))
        m_data.messenger().error(DataServices::openFailureMessage());

    RecordSet* parts = m_opener.parts;
    if (!parts)
        return;
    grid->setSourceModel(parts);
    connect(parts, &QAbstractItemModel::dataChanged, this, &RepairEditor::partsChanged);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(parts, signal, this, [this] { showPartsCharge(); });
    connect(parts, &QAbstractItemModel::modelReset, this, [this] { showPartsCharge(); });
}

void RepairEditor::fillCombo(QComboBox* combo, const QString& type)
{
    const QString text = combo->currentText();
    const SqlStatement names = CodeListSource::distinctNames(type);
    const bool showing = m_showing;
    m_showing = true;
    ComboItems::fill(combo, m_data.services().comboItems(names.sql, names.values));
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
    m_showing = showing;
}

void RepairEditor::setComboText(QComboBox* combo, const QString& stored)
{
    combo->setCurrentIndex(-1);
    combo->setEditText(stored);
}

// ---------------------------------------------------------------------------------------------
// showing a repair

void RepairEditor::startNewRepair()
{
    QString error;
    const auto code = m_data.services().nextCode(RepairSaver::maxCodeQuery(), RepairSaver::codeWidth, &error);
    if (!code)
        m_data.messenger().error(DataServices::failureMessage());
    m_orderCode = m_opener.chooseOrder ? QString() : m_opener.orderCode;
    m_repairId = 0;
    if (m_opener.chooseOrder)
        showCustomer(QString());
    const RepairForm form = RepairForm::newRepair(m_orderCode, code.value_or(QString()), QDate::currentDate(),
                                                  m_data.login().operatorName);
    if (m_opener.loadPartsFor)
        m_opener.loadPartsFor(form.repairCode);
    showForm(form);
    m_loaded = this->form();
}

void RepairEditor::loadCurrentRepair()
{
    RecordSet* repairs = m_opener.repairs;
    if (!repairs || repairs->currentRow() < 0)
        return;
    const RepairForm form =
        RepairForm::fromRow([repairs](const QString& column) { return repairs->current(column); });
    m_repairId = repairs->current(QStringLiteral("F_ID")).toLongLong();
    if (m_opener.chooseOrder) {
        m_orderCode = form.orderCode;
        showCustomerFields(
            RepairCustomer::fromRow([repairs](const QString& column) { return repairs->current(column); }));
    } else {
        m_orderCode = m_opener.orderCode;
    }
    showForm(form);
    m_loaded = this->form();
    updateNavigator();
}

void RepairEditor::showForm(const RepairForm& form)
{
    Ui::RepairEditor& ui = *m_ui;
    m_showing = true;
    ui.edtWXcode->setText(form.repairCode);
    setComboText(ui.cbbFWtype, form.serviceType);
    (form.inWarranty ? ui.RBbxflag1 : ui.RBbxflag2)->setChecked(true);
    QRadioButton* progress[] = {ui.rbWXflag0, ui.rbWXflag1, ui.rbWXflag2};
    progress[qBound(0, form.progress, 2)]->setChecked(true);
    setComboText(ui.cbbWXstatus, form.status);
    ui.Memo1->setPlainText(form.fault);
    ui.Memo2->setPlainText(form.dispatchNote);
    ui.Memo3->setPlainText(form.partsToTake);
    ui.dtpBxDate->setDate(form.reportDate);
    ui.dtpSMdate->setDate(form.visitDate);
    setComboText(ui.cbbFWemp, form.serviceEmployee);
    (form.productFault ? ui.rbReasonFlag1 : ui.rbReasonFlag2)->setChecked(true);
    ui.Memo4->setPlainText(form.causeFound);
    ui.Memo5->setPlainText(form.solution);
    ui.Memo6->setPlainText(form.result);
    ui.edtwxInfo->setText(form.info);
    ui.edtWXother->setText(form.other);
    ui.ceFWtotalPrice->setValue(form.serviceFee);
    ui.Mem->setText(form.remark);
    ui.edtPGemp->setText(form.dispatcher);
    ui.edtOperName->setText(form.enteredBy);
    ui.ceXZprice->setValue(form.wage);
    ui.edtXZemp->setText(form.wageEnteredBy);
    setComboText(ui.cbbHFemp, form.visitEmployee);
    setComboText(ui.cbbFWtaidu, form.attitude);
    ui.dtpXFdate->setDate(form.repairDate);
    // The charges show what a save stores: the amounts of the lines and the fee.
    showPartsCharge();
    m_showing = false;
}

void RepairEditor::showCustomer(const QString& orderCode)
{
    RepairCustomer customer;
    if (!orderCode.isEmpty()) {
        QString error;
        const auto found = RepairCustomer::ofOrder(m_data.db(), orderCode, &error);
        if (!error.isEmpty())
            m_data.messenger().error(DataServices::failureMessage());
        // An order that is not there leaves the fields as they were.
        if (!found)
            return;
        customer = *found;
    }
    showCustomerFields(customer);
}

void RepairEditor::showCustomerFields(const RepairCustomer& customer)
{
    Ui::RepairEditor& ui = *m_ui;
    const std::pair<QLineEdit*, QString> fields[] = {{ui.edtClient, customer.client},
                                                     {ui.edtPhone, customer.phone},
                                                     {ui.edtMovePhone, customer.movePhone},
                                                     {ui.edtAddress, customer.address},
                                                     {ui.edtBuyAddress, customer.buyAddress},
                                                     {ui.edtBuyDate, customer.buyDate},
                                                     {ui.edtArea, customer.area}};
    for (const auto& [edit, text] : fields) {
        edit->setText(text);
        // A long address shows from its start, and whole as a tip.
        edit->setCursorPosition(0);
        edit->setToolTip(text);
    }
}

RepairForm RepairEditor::form() const
{
    const Ui::RepairEditor& ui = *m_ui;
    RepairForm form;
    form.orderCode = m_orderCode;
    form.repairCode = ui.edtWXcode->text();
    form.serviceType = ui.cbbFWtype->currentText();
    form.inWarranty = ui.RBbxflag1->isChecked();
    form.progress = ui.rbWXflag2->isChecked() ? 2 : ui.rbWXflag1->isChecked() ? 1 : 0;
    form.status = ui.cbbWXstatus->currentText();
    form.fault = ui.Memo1->toPlainText();
    form.dispatchNote = ui.Memo2->toPlainText();
    form.partsToTake = ui.Memo3->toPlainText();
    form.reportDate = ui.dtpBxDate->date();
    form.visitDate = ui.dtpSMdate->date();
    form.serviceEmployee = ui.cbbFWemp->currentText();
    form.productFault = ui.rbReasonFlag1->isChecked();
    form.causeFound = ui.Memo4->toPlainText();
    form.solution = ui.Memo5->toPlainText();
    form.result = ui.Memo6->toPlainText();
    form.info = ui.edtwxInfo->text();
    form.other = ui.edtWXother->text();
    form.serviceFee = ui.ceFWtotalPrice->value();
    form.partsCharge = m_partsCharge;
    form.total = m_partsCharge + form.serviceFee;
    form.remark = ui.Mem->text();
    form.dispatcher = ui.edtPGemp->text();
    form.enteredBy = ui.edtOperName->text();
    form.wage = ui.ceXZprice->value();
    form.wageEnteredBy = ui.edtXZemp->text();
    form.visitEmployee = ui.cbbHFemp->currentText();
    form.attitude = ui.cbbFWtaidu->currentText();
    form.repairDate = ui.dtpXFdate->date();
    return form;
}

// ---------------------------------------------------------------------------------------------
// charges

void RepairEditor::partsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    RecordSet* parts = m_opener.parts;
    if (!parts)
        return;
    // 金额 = 单价 × 数量 (the opener may keep it too; the same value is not written twice).
    if (RepairParts::touchesAmount(*parts, topLeft.column(), bottomRight.column())) {
        for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
            RepairParts::recomputeAmount(*parts, row);
    }
    const int total = parts->fieldIndex(kTotal);
    if (total >= topLeft.column() && total <= bottomRight.column())
        showPartsCharge();
}

void RepairEditor::showPartsCharge()
{
    RecordSet* parts = m_opener.parts;
    m_partsCharge = parts && parts->isOpen() ? RepairParts::amountSum(*parts) : 0.0;
    const bool showing = m_showing;
    m_showing = true;
    m_ui->cePJtotalPrice->setValue(m_partsCharge);
    m_showing = showing;
    showTotal();
}

void RepairEditor::showTotal()
{
    m_ui->ceSFtotalPrice->setValue(m_partsCharge + m_ui->ceFWtotalPrice->value());
}

void RepairEditor::feeEntered()
{
    commitGridEdit();
    RecordSet* parts = m_opener.parts;
    if (parts && parts->isOpen() && parts->rowCount() > 0)
        showPartsCharge();
}

// ---------------------------------------------------------------------------------------------
// commands

void RepairEditor::save()
{
    commitGridEdit();
    RepairSaver::Context context;
    context.mode = m_mode;
    context.serviceTypeRequired = m_opener.chooseOrder;
    context.repairId = m_repairId;
    RepairForm values = form();
    RepairSaver saver(m_data);
    const RepairSaver::Result result = saver.save(context, values, m_opener.parts);
    if (result.outcome == RepairSaver::Outcome::Refused) {
        if (result.focus == RepairSaver::Field::RepairCode)
            m_ui->edtWXcode->setFocus();
        else if (result.focus == RepairSaver::Field::ServiceType)
            m_ui->cbbFWtype->setFocus();
        return;
    }
    if (result.outcome != RepairSaver::Outcome::Saved)
        return;
    ++m_saves;

    // The opener's list shows the repair just written.
    if (m_opener.refreshList) {
        m_opener.refreshList(result.id);
    } else if (RecordSet* repairs = m_opener.repairs) {
        if (!repairs->requery())
            m_data.messenger().error(DataServices::openFailureMessage());
        else if (!repairs->locate(QStringLiteral("F_ID"), result.id) && repairs->fetchAll())
            repairs->setCurrentRow(repairs->rowCount() - 1);
    }
    if (m_opener.relinkParts)
        m_opener.relinkParts();

    if (m_mode == Mode::New && m_ui->CheckBox1->isChecked()) {
        startNewRepair();
        m_ui->cbbFWtype->setFocus();
        return;
    }
    accept();
}

void RepairEditor::done(int result)
{
    if (result != QDialog::Accepted && m_opener.parts) {
        // Whatever was typed into the parts lines goes with the window.
        commitGridEdit();
        m_opener.parts->cancelUpdates();
    }
    if (m_opener.relinkParts)
        m_opener.relinkParts();
    QDialog::done(result);
}

void RepairEditor::chooseOrder()
{
    const QString chosen = m_pickOrder(m_orderCode);
    if (chosen.compare(m_orderCode, Qt::CaseInsensitive) == 0)
        return;
    m_orderCode = chosen;
    showCustomer(chosen);
}

void RepairEditor::chooseInfo()
{
    m_ui->edtwxInfo->setText(m_chooseInfo(m_ui->edtwxInfo->text()));
}

void RepairEditor::addLine()
{
    RecordSet* parts = m_opener.parts;
    if (!parts || !parts->isOpen())
        return;
    commitGridEdit();
    const int row = RepairParts::appendLine(*parts, m_ui->edtWXcode->text().trimmed());
    if (row < 0)
        return;
    DataGrid* grid = m_ui->DBGridEh1;
    const int logical = grid->horizontalHeader()->logicalIndex(grid->positionOf(kName));
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, qMax(0, logical)));
}

void RepairEditor::deleteLine()
{
    RecordSet* parts = m_opener.parts;
    if (!parts || !parts->isOpen() || parts->rowCount() == 0)
        return;
    commitGridEdit();
    const int row = m_ui->DBGridEh1->currentRow() >= 0 ? m_ui->DBGridEh1->currentRow() : parts->currentRow();
    if (row < 0)
        return;
    const QString question = RepairParts::deleteQuestion(
        parts->value(row, kName).toString(), parts->value(row, QStringLiteral("F_spec")).toString());
    if (m_data.messenger().show(question, Messenger::Question) == Messenger::No)
        return;
    parts->removeRow(row);
}

bool RepairEditor::gridEditorOpen() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus && m_ui->DBGridEh1->viewport()->isAncestorOf(focus);
}

bool RepairEditor::commitGridEdit()
{
    DataGrid* grid = m_ui->DBGridEh1;
    QWidget* editor = QApplication::focusWidget();
    if (!editor || !grid->viewport()->isAncestorOf(editor))
        return false;
    while (editor->parentWidget() != grid->viewport())
        editor = editor->parentWidget();
    QMetaObject::invokeMethod(grid, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
    QMetaObject::invokeMethod(grid, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
                              Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    return true;
}

// ---------------------------------------------------------------------------------------------
// record navigator

bool RepairEditor::hasUnsavedChanges() const
{
    return (m_opener.parts && m_opener.parts->hasPendingUpdates()) || form().trimmed() != m_loaded.trimmed();
}

void RepairEditor::navigate(int step)
{
    RecordSet* repairs = m_opener.repairs;
    if (!repairs || repairs->rowCount() == 0)
        return;
    commitGridEdit();
    if (hasUnsavedChanges() && !m_data.messenger().ask(discardChangesQuestion()))
        return;
    if (m_opener.parts)
        m_opener.parts->cancelUpdates();
    int row = repairs->currentRow();
    switch (step) {
    case -2:
        row = 0;
        break;
    case 2:
        repairs->fetchAll();
        row = repairs->rowCount() - 1;
        break;
    default:
        row += step;
        break;
    }
    if (row < 0 || (row >= repairs->rowCount() && !repairs->canFetchMore(QModelIndex())))
        return;
    repairs->setCurrentRow(row);
    loadCurrentRepair();
}

void RepairEditor::updateNavigator()
{
    RecordSet* repairs = m_opener.repairs;
    const int row = repairs ? repairs->currentRow() : -1;
    const bool more =
        repairs && row >= 0 && (row < repairs->rowCount() - 1 || repairs->canFetchMore(QModelIndex()));
    m_ui->nbFirst->setEnabled(row > 0);
    m_ui->nbPrior->setEnabled(row > 0);
    m_ui->nbNext->setEnabled(more);
    m_ui->nbLast->setEnabled(more);
}

// ---------------------------------------------------------------------------------------------
// keys

bool RepairEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::FocusIn)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !isVisible())
        return false;
    Ui::RepairEditor& ui = *m_ui;

    if (event->type() == QEvent::FocusIn) {
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
            return false;
        // The lists take their entries afresh each time they are entered.
        auto* combo = qobject_cast<QComboBox*>(widget);
        if (!combo)
            combo = qobject_cast<QComboBox*>(widget->parentWidget());
        if (combo && combo->property("codeType").isValid())
            fillCombo(combo, combo->property("codeType").toString());
        else if (widget == ui.ceFWtotalPrice || ui.ceFWtotalPrice->isAncestorOf(widget))
            feeEntered();
        return false;
    }

    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    const Qt::KeyboardModifiers modifiers = keyEvent->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier && key == Qt::Key_S) {
        if (ui.Button1->isEnabled())
            save();
        return true;
    }
    if (modifiers == Qt::ControlModifier && (key == Qt::Key_A || key == Qt::Key_D)) {
        (key == Qt::Key_A ? ui.actADD : ui.actDEL)->trigger();
        return true;
    }
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        // Esc in a cell being edited takes back that cell only.
        if (gridEditorOpen())
            return false;
        if (ui.Button2->isEnabled())
            reject();
        return true;
    }
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || modifiers != Qt::NoModifier)
        return false;
    // The grid takes Enter for its cells, memos for a new line, an open list for its choice.
    if (widget == ui.DBGridEh1 || ui.DBGridEh1->isAncestorOf(widget))
        return false;
    if (qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget->parentWidget()))
        return false;
    if (auto* combo = qobject_cast<QComboBox*>(widget->parentWidget() ? widget->parentWidget() : widget);
        combo && combo->view()->isVisible())
        return false;
    if (qobject_cast<QAbstractButton*>(widget) && !qobject_cast<QRadioButton*>(widget) &&
        !qobject_cast<QCheckBox*>(widget))
        return false;
    focusNextChild();
    return true;
}
