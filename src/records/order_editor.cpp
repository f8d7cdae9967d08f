#include "records/order_editor.h"

#include "app/main_list_query.h"
#include "app/main_window.h"
#include "data/data_module.h"
#include "data/grid_column.h"
#include "data/messenger.h"
#include "data/record_set.h"
#include "goods/goods_lookup.h"
#include "goods/goods_picker_dialog.h"
#include "records/code_list_source.h"
#include "records/order_line_delegate.h"
#include "records/order_lines.h"
#include "records/order_rules.h"
#include "records/order_saver.h"
#include "reference/code_tree_window.h"
#include "ui_order_editor.h"
#include "widgets/data_grid.h"
#include "widgets/data_grid_services.h"
#include "widgets/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QDoubleValidator>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTabBar>

namespace {

// Locked controls and read-only grid columns are shaded, as the shops know them.
const QColor kLocked(0xb4, 0xf5, 0xf5);
const QColor kShortStock(0xe0, 0x00, 0x00);

const QString kAmount = QStringLiteral("F_amount");
const QString kGoodsCode = QStringLiteral("F_HPcode");
const QString kGoodsName = QStringLiteral("F_HPname");

GridColumn lineColumn(const char* field, const char* title, int width, bool editable,
                      GridColumn::Alignment alignment = GridColumn::Alignment::Left)
{
    GridColumn column;
    column.fieldName = QLatin1String(field);
    column.title = QString::fromUtf8(title);
    column.width = width;
    column.readOnly = !editable;
    column.alignment = alignment;
    return column;
}

// The goods-line columns of the editor; the catalogue's data is read-only.
QList<GridColumn> lineColumns()
{
    const auto right = GridColumn::Alignment::Right;
    return {
        lineColumn("F_HPcode", "编号", 70, true),       lineColumn("F_HPname", "名称", 130, false),
        lineColumn("F_pinPai", "品牌", 70, false),      lineColumn("F_type", "类型", 90, false),
        lineColumn("F_spec", "规格", 90, false),        lineColumn("F_address", "产地", 70, false),
        lineColumn("F_unit", "单位", 40, false),        lineColumn("F_amount", "数量", 55, true, right),
        lineColumn("F_price", "单价", 75, true, right), lineColumn("F_totalprice", "金额", 85, true, right),
        lineColumn("F_FPcode", "提货票号", 80, true),   lineColumn("F_TMcode", "条码", 100, true),
        lineColumn("F_YZcode", "验证码", 70, true),     lineColumn("F_memo1", "备注", 140, true)};
}

QPalette lockedPalette(const QWidget* widget)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, kLocked);
        palette.setColor(group, QPalette::Button, kLocked);
    }
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     widget->palette().color(QPalette::Active, QPalette::Text));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                     widget->palette().color(QPalette::Active, QPalette::ButtonText));
    return palette;
}

// Number of decimals and thousands grouping of a display format such as ",0.00".
QPair<int, bool> formatShape(const QString& format)
{
    const int point = int(format.indexOf(QLatin1Char('.')));
    return {point < 0 ? 0 : int(format.size()) - point - 1, format.contains(QLatin1Char(','))};
}

QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

// Marks an entry put into a code list only to show a stored value that the list lacks.
constexpr int KeptValueRole = Qt::UserRole + 1;

} // namespace

OrderEditor::OrderEditor(DataModule& data, Mode mode, const Opener& opener, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::OrderEditor>()), m_data(data), m_mode(mode),
      m_opener(opener), m_lines(opener.goodsLines)
{
    m_ui->setupUi(this);
    setUpWidgets();
    setUpGrid();
    fillLists();
    if (m_mode == Mode::New)
        startNewOrder();
    else
        loadCurrentOrder(false);
    lockControls();
    // The window sees keys before its controls (Enter, Ctrl+S, Esc).
    qApp->installEventFilter(this);
}

OrderEditor::~OrderEditor()
{
    qApp->removeEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// opening

bool OrderEditor::open(DataModule& data, Mode mode, const Opener& opener, QWidget* parent)
{
    OrderEditor editor(data, mode, opener, parent);
    WindowPlacement::place(&editor, WindowPlacement::Editor, parent);
    editor.exec();
    return editor.saves() > 0;
}

bool OrderEditor::openFromMainWindow(DataModule& data, Mode mode, MainWindow& window)
{
    Opener opener;
    opener.orders = &window.orders();
    opener.goodsLines = &window.goodsLines();
    opener.pinDetails = [&window](const QString& code) { window.loadDetailsFor(code); };
    opener.relinkDetails = [&window] { window.relinkDetails(); };
    opener.refreshList = [&window](const QString& code) {
        window.runListQuery();
        window.orders().locate(QStringLiteral("F_code"), code);
    };
    // The main window's own print command, where the role may use it.
    auto* print = window.findChild<QAction*>(QStringLiteral("Action305"));
    if (print && print->isVisible())
        opener.printDispatchSlip = [print] { print->trigger(); };
    return open(data, mode, opener, &window);
}

bool OrderEditor::openFromPicker(DataModule& data, RecordSet& orders, RecordSet& goodsLines, QWidget* parent)
{
    Opener opener;
    opener.orders = &orders;
    opener.goodsLines = &goodsLines;
    opener.picker = true;
    opener.refreshList = [&orders](const QString& code) {
        orders.requery();
        orders.locate(QStringLiteral("F_code"), code);
    };
    return open(data, Mode::New, opener, parent);
}

void OrderEditor::setUpWidgets()
{
    Ui::OrderEditor& ui = *m_ui;
    ui.btnADD->setDefaultAction(ui.actADD);
    ui.btnDEL->setDefaultAction(ui.actDEL);
    ui.PageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);
    ui.PageControl1->setCurrentIndex(0);
    ui.nbFirst->setText(QStringLiteral("|◀"));
    ui.nbLast->setText(QStringLiteral("▶|"));

    const auto [decimals, grouped] = formatShape(m_data.login().moneyFormat);
    ui.ceFWprice->setDecimals(decimals);
    ui.ceFWprice->setGroupSeparatorShown(grouped);
    ui.ceFWprice->setRange(-1e9, 1e9);
    for (QLineEdit* edit : {ui.edtSZ1, ui.edtSZ2, ui.edtSZ3}) {
        auto* validator = new QDoubleValidator(-1e15, 1e15, 8, edit);
        validator->setNotation(QDoubleValidator::StandardNotation);
        validator->setLocale(QLocale::c());
        edit->setValidator(validator);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    // The custom items carry the names the shop gave them (自定义项 settings).
    const QStringList names = m_data.login().customValues;
    const QList<QLabel*> labels = {ui.lblZF1, ui.lblZF2, ui.lblZF3, ui.lblZF4, ui.lblZF5, ui.lblSZ1,
                                   ui.lblSZ2, ui.lblSZ3, ui.lblRQ1, ui.lblRQ2, ui.lblRQ3};
    for (int i = 0; i < labels.size() && i < names.size(); ++i) {
        if (!names.at(i).trimmed().isEmpty())
            labels.at(i)->setText(names.at(i).trimmed() + QStringLiteral("："));
    }

    connect(ui.Button1, &QPushButton::clicked, this, &OrderEditor::save);
    connect(ui.Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.Button3, &QPushButton::clicked, this, [this] {
        if (m_opener.printDispatchSlip)
            m_opener.printDispatchSlip();
    });
    connect(ui.actADD, &QAction::triggered, this, &OrderEditor::addLine);
    connect(ui.actDEL, &QAction::triggered, this, &OrderEditor::deleteLine);
    connect(ui.btnBuyAddress, &QToolButton::clicked, this, &OrderEditor::pickBuyAddress);
    connect(ui.btnAddPStype, &QToolButton::clicked, this, &OrderEditor::notYetAvailable);
    connect(ui.btnAddFWtaidu, &QToolButton::clicked, this, &OrderEditor::notYetAvailable);
    connect(ui.cbbFWemp, &QComboBox::currentIndexChanged, this, &OrderEditor::installerChosen);
    connect(ui.cbPhoneYD, &QCheckBox::toggled, this, &OrderEditor::phoneAppointmentToggled);
    connect(ui.dtpSetupDate, &TickedDateEdit::edited, this, &OrderEditor::setupDateEdited);
    connect(ui.ceFWprice, &QDoubleSpinBox::valueChanged, this, [this] {
        if (!m_showing)
            m_wageEdited = true;
    });
    connect(ui.dtpBuyDate, &QDateEdit::dateChanged, this, [this] {
        if (!m_showing)
            m_buyDateEdited = true;
    });
    connect(ui.nbFirst, &QToolButton::clicked, this, [this] { navigate(-2); });
    connect(ui.nbPrior, &QToolButton::clicked, this, [this] { navigate(-1); });
    connect(ui.nbNext, &QToolButton::clicked, this, [this] { navigate(1); });
    connect(ui.nbLast, &QToolButton::clicked, this, [this] { navigate(2); });
}

void OrderEditor::setUpGrid()
{
    DataGrid* grid = m_ui->DBGridEh1;
    grid->setColumns(lineColumns());
    DataGridServices::setGridFormats(*grid, m_data.login(), 1);
    grid->setTitleSorting(false);
    grid->addActions({m_ui->actADD, m_ui->actDEL});
    const auto fieldAt = [grid](int logical) {
        return grid->fieldName(grid->horizontalHeader()->visualIndex(logical));
    };
    m_delegate =
        new OrderLineDelegate([grid, fieldAt](int logical) { return grid->pickList(fieldAt(logical)); },
                              [this, grid, fieldAt](const QModelIndex& index) {
                                  OrderLineDelegate::Look look;
                                  const int position = grid->horizontalHeader()->visualIndex(index.column());
                                  const bool editable = grid->isEditable();
                                  if (!editable || grid->gridColumn(position).readOnly)
                                      look.background = kLocked;
                                  const QString field = fieldAt(index.column());
                                  if (m_lines && field.compare(kAmount, Qt::CaseInsensitive) == 0 &&
                                      m_stock.isShort(*m_lines, index.row()))
                                      look.text = kShortStock;
                                  look.button = editable &&
                                                field.compare(kGoodsName, Qt::CaseInsensitive) == 0 &&
                                                index.row() == grid->currentIndex().row();
                                  return look;
                              },
                              grid);
    grid->setItemDelegate(m_delegate);
    connect(m_delegate, &OrderLineDelegate::buttonClicked, this, &OrderEditor::openGoodsPicker);
    if (!m_lines)
        return;
    grid->setSourceModel(m_lines);
    connect(m_lines, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                recomputeTotals(topLeft, bottomRight);
                linesChanged();
            });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_lines, signal, this, &OrderEditor::linesChanged);
    connect(m_lines, &QAbstractItemModel::modelReset, this, &OrderEditor::linesChanged);
}

void OrderEditor::fillCombo(QComboBox* combo, const QString& type)
{
    const SqlStatement source = CodeListSource::distinctNames(type);
    const QStringList items = m_data.services().comboItems(source.sql, source.values);
    combo->clear();
    // The empty entry lets a choice be taken back.
    combo->addItem(QString());
    combo->addItems(items);
}

void OrderEditor::fillLists()
{
    Ui::OrderEditor& ui = *m_ui;
    const QList<QPair<QComboBox*, const char*>> lists = {
        {ui.cbbArea, "area"},     {ui.cbbIFsonghuo, "ifsonghuo"}, {ui.cbbFWemp, "fwemp"},
        {ui.cbbXSemp, "xsemp"},   {ui.cbbSetupPos, "setuppos"},   {ui.cbbFWtype, "fwType"},
        {ui.cbbPStype, "PStype"}, {ui.cbbFWtaidu, "fwtaidu"},
    };
    m_showing = true;
    for (const auto& [combo, type] : lists)
        fillCombo(combo, QLatin1String(type));
    m_showing = false;
    const SqlStatement brands = CodeListSource::names(QStringLiteral("pinpai"));
    QString error;
    if (!DataGridServices::fillColumnPickList(*ui.DBGridEh1, m_data.services(), brands.sql, brands.values,
                                              QStringLiteral("F_pinPai"), &error))
        m_data.messenger().error(DataServices::failureMessage());
}

void OrderEditor::startNewOrder()
{
    QString error;
    const QString code = m_data.services()
                             .nextCode(OrderSaver::maxCodeQuery(), OrderSaver::codeWidth, &error)
                             .value_or(QString());
    if (code.isEmpty())
        m_data.messenger().error(DataServices::failureMessage());
    if (m_opener.pinDetails && !m_opener.picker) {
        m_opener.pinDetails(code);
    } else if (m_lines) {
        const SqlStatement lines = MainListQuery::goodsLines(code);
        m_lines->setUpdateTable(QStringLiteral("t_HPrec"));
        m_data.services().openQuery(*m_lines, lines.sql, lines.values);
    }
    setWindowTitle(newCaption());
    const QString firstType = m_ui->cbbFWtype->count() > 1 ? m_ui->cbbFWtype->itemText(1) : QString();
    m_orderId = 0;
    m_storedCode.clear();
    m_loaded = OrderForm::newOrder(code, m_data.login().operatorName, QDate::currentDate(), firstType);
    showForm(m_loaded);
    m_stock.setAlreadyTaken(false);
    linesChanged();
}

void OrderEditor::loadCurrentOrder(bool navigated)
{
    setWindowTitle(editCaption());
    RecordSet* orders = m_opener.orders;
    if (!orders || orders->currentRow() < 0) {
        m_ui->Button1->setEnabled(false);
        return;
    }
    m_orderId = orders->current(QStringLiteral("F_ID")).toLongLong();
    std::optional<OrderForm> form = OrderForm::load(m_data.db(), m_orderId);
    if (!form)
        form = OrderForm::fromRow([orders](const QString& column) { return orders->current(column); });
    m_storedCode = form->code;
    m_loaded = *form;
    showForm(*form);
    // A completed order's goods left stock when it was completed.
    m_stock.setAlreadyTaken(form->status.trimmed() == OrderRules::served());
    linesChanged();

    // The navigator reaches orders the command that opened the window would refuse.
    QString refusal;
    switch (m_mode) {
    case Mode::Edit:
        refusal = OrderRules::refuseDetailEdit(OrderRules::DetailTab::Goods, false, form->status.trimmed());
        break;
    case Mode::Dispatch:
        refusal = OrderRules::refuseDispatch(false, form->status.trimmed());
        break;
    case Mode::Complete:
        refusal = OrderRules::refuseComplete(false, form->installer.trimmed());
        break;
    case Mode::New:
        break;
    }
    m_ui->Button1->setEnabled(refusal.isEmpty());
    if (navigated && !refusal.isEmpty())
        m_data.messenger().error(refusal);
    updateNavigator();
}

void OrderEditor::setComboText(QComboBox* combo, const QString& stored)
{
    for (int i = combo->count() - 1; i >= 0; --i) {
        if (combo->itemData(i, KeptValueRole).toBool())
            combo->removeItem(i);
    }
    if (stored.trimmed().isEmpty()) {
        combo->setCurrentIndex(0);
        return;
    }
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    int at = DataServices::matchComboItem(items, stored, -1);
    if (at < 0) {
        // A value the code list no longer has (or never had) is shown and kept as stored.
        combo->insertItem(1, stored.trimmed());
        combo->setItemData(1, true, KeptValueRole);
        at = 1;
    }
    combo->setCurrentIndex(at);
}

void OrderEditor::showForm(const OrderForm& form)
{
    Ui::OrderEditor& ui = *m_ui;
    const QDate today = QDate::currentDate();
    m_showing = true;
    ui.edtcode->setText(form.code);
    ui.edtClient->setText(form.client);
    ui.edtPhone->setText(form.phone);
    ui.edtMovePhone->setText(form.movePhone);
    setComboText(ui.cbbArea, form.area);
    ui.edtAddress->setText(form.address);
    ui.edtBuyAddress->setText(form.buyAddress);
    ui.dtpBuyDate->setDate(form.buyDate.value_or(today));
    setComboText(ui.cbbIFsonghuo, form.delivery);
    ui.dtpSetupDate->setValue(form.setupDate, today);
    ui.cbPhoneYD->setChecked(form.phoneAppointment);
    ui.dtpAwokeDate->setValue(form.reminderDate, today);
    ui.Memo1->setPlainText(form.dispatchNote);
    setComboText(ui.cbbFWemp, form.installer);
    setComboText(ui.cbbPStype, form.deliveryType);
    ui.ceFWprice->setValue(form.wage);
    ui.edtstatus->setText(form.status);
    ui.Memo2->setPlainText(form.opinion);
    setComboText(ui.cbbXSemp, form.salesPerson);
    ui.edtPGemp->setText(form.dispatcher);
    ui.edtOperName->setText(form.enteredBy);
    ui.edtEditEmp->setText(form.editedBy);
    setComboText(ui.cbbFWtype, form.serviceType);
    setComboText(ui.cbbSetupPos, form.setupPosition);
    setComboText(ui.cbbFWtaidu, form.attitude);
    const QList<QLineEdit*> texts = {ui.edtZF1, ui.edtZF2, ui.edtZF3, ui.edtZF4, ui.edtZF5};
    for (int i = 0; i < 5; ++i)
        texts.at(i)->setText(form.customTexts[i]);
    const QList<QLineEdit*> numbers = {ui.edtSZ1, ui.edtSZ2, ui.edtSZ3};
    const QList<TickedDateEdit*> dates = {ui.dtpRQ1, ui.dtpRQ2, ui.dtpRQ3};
    for (int i = 0; i < 3; ++i) {
        numbers.at(i)->setText(numberText(form.customNumbers[i]));
        dates.at(i)->setValue(form.customDates[i], today);
    }
    m_wageEdited = false;
    m_buyDateEdited = false;
    m_showing = false;
}

OrderForm OrderEditor::form() const
{
    const Ui::OrderEditor& ui = *m_ui;
    OrderForm form;
    form.code = ui.edtcode->text();
    form.client = ui.edtClient->text();
    form.phone = ui.edtPhone->text();
    form.movePhone = ui.edtMovePhone->text();
    form.area = ui.cbbArea->currentText();
    form.address = ui.edtAddress->text();
    form.buyAddress = ui.edtBuyAddress->text();
    // An order stored without a purchase date keeps none until one is chosen.
    form.buyDate =
        m_loaded.buyDate || m_buyDateEdited ? std::optional<QDate>(ui.dtpBuyDate->date()) : std::nullopt;
    form.delivery = ui.cbbIFsonghuo->currentText();
    form.setupDate = ui.dtpSetupDate->value();
    form.phoneAppointment = ui.cbPhoneYD->isChecked();
    form.reminderDate = ui.dtpAwokeDate->value();
    form.dispatchNote = ui.Memo1->toPlainText();
    form.installer = ui.cbbFWemp->currentText();
    form.deliveryType = ui.cbbPStype->currentText();
    // The wage as stored unless changed: the money format may show fewer decimals.
    form.wage = m_wageEdited ? ui.ceFWprice->value() : m_loaded.wage;
    form.status = ui.edtstatus->text();
    form.opinion = ui.Memo2->toPlainText();
    form.salesPerson = ui.cbbXSemp->currentText();
    form.dispatcher = ui.edtPGemp->text();
    form.enteredBy = ui.edtOperName->text();
    form.editedBy = ui.edtEditEmp->text();
    form.serviceType = ui.cbbFWtype->currentText();
    form.setupPosition = ui.cbbSetupPos->currentText();
    form.attitude = ui.cbbFWtaidu->currentText();
    const QList<QLineEdit*> texts = {ui.edtZF1, ui.edtZF2, ui.edtZF3, ui.edtZF4, ui.edtZF5};
    for (int i = 0; i < 5; ++i)
        form.customTexts[i] = texts.at(i)->text();
    const QList<QLineEdit*> numbers = {ui.edtSZ1, ui.edtSZ2, ui.edtSZ3};
    const QList<TickedDateEdit*> dates = {ui.dtpRQ1, ui.dtpRQ2, ui.dtpRQ3};
    for (int i = 0; i < 3; ++i) {
        form.customNumbers[i] = numbers.at(i)->text().trimmed().toDouble();
        form.customDates[i] = dates.at(i)->value();
    }
    return form;
}

// ---------------------------------------------------------------------------------------------
// locked controls per mode

void OrderEditor::lock(QWidget* widget, bool locked)
{
    if (!m_focusPolicies.contains(widget))
        m_focusPolicies.insert(widget, widget->focusPolicy());
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setReadOnly(locked);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
        memo->setReadOnly(locked);
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        spin->setReadOnly(locked);
    else if (auto* date = qobject_cast<TickedDateEdit*>(widget))
        date->setLocked(locked);
    else
        widget->setEnabled(!locked);
    // A locked control is no stop on the way through the window.
    widget->setFocusPolicy(locked ? Qt::ClickFocus : m_focusPolicies.value(widget));
    widget->setPalette(locked ? lockedPalette(widget) : QPalette());
}

void OrderEditor::lockControls()
{
    Ui::OrderEditor& ui = *m_ui;
    const bool entering = m_mode == Mode::New || m_mode == Mode::Edit;
    const bool dispatching = m_mode == Mode::Dispatch;
    const bool completing = m_mode == Mode::Complete;
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui.edtClient, ui.edtPhone, ui.edtMovePhone, ui.edtAddress,
                                         ui.cbbArea, ui.edtBuyAddress, ui.btnBuyAddress, ui.dtpBuyDate,
                                         ui.cbbIFsonghuo, ui.cbPhoneYD, ui.Memo1, ui.cbbFWtype, ui.cbbXSemp})
        lock(w, !entering);
    for (QWidget* w : std::initializer_list<QWidget*>{ui.cbbFWemp, ui.cbbPStype, ui.btnAddPStype})
        lock(w, !dispatching);
    for (QWidget* w : std::initializer_list<QWidget*>{ui.ceFWprice, ui.Memo2, ui.cbbSetupPos, ui.cbbFWtaidu,
                                                      ui.btnAddFWtaidu})
        lock(w, !completing);
    for (QWidget* w : std::initializer_list<QWidget*>{ui.edtstatus, ui.edtPGemp, ui.edtOperName,
                                                      ui.edtEditEmp, ui.edtcode})
        lock(w, true);

    ui.DBGridEh1->setEditable(entering);
    ui.actADD->setEnabled(entering);
    ui.actDEL->setEnabled(entering);
    if (dispatching)
        ui.PageControl1->setCurrentIndex(0);

    // The first control the mode is opened for takes the focus.
    QWidget* first = completing    ? static_cast<QWidget*>(ui.ceFWprice)
                     : dispatching ? static_cast<QWidget*>(ui.cbbFWemp)
                                   : static_cast<QWidget*>(ui.edtClient);
    first->setFocus();

    const bool fromList = !m_opener.picker && m_opener.orders;
    ui.DBNavigator1->setVisible(m_mode != Mode::New && fromList);
    ui.CheckBox1->setVisible(m_mode == Mode::New && !m_opener.picker);
    ui.Button3->setVisible(m_mode != Mode::New && m_opener.printDispatchSlip);
}

// ---------------------------------------------------------------------------------------------
// the save

void OrderEditor::save()
{
    if (!m_ui->Button1->isEnabled())
        return;
    commitGridEdit();
    OrderForm values = form();
    OrderSaver saver(m_data);
    const OrderSaver::Result result =
        saver.save({m_mode, m_opener.picker, m_orderId, m_storedCode}, values, m_lines);
    if (result.outcome == OrderSaver::Outcome::Refused) {
        focusField(result.focus);
        return;
    }
    if (result.outcome != OrderSaver::Outcome::Saved)
        return;
    ++m_saves;
    m_ui->edtcode->setText(result.code);
    m_ui->edtstatus->setText(values.status);
    m_ui->edtEditEmp->setText(values.editedBy);
    if (m_opener.refreshList)
        m_opener.refreshList(result.code);
    if (m_mode == Mode::New && !m_opener.picker && m_ui->CheckBox1->isChecked()) {
        startNewOrder();
        m_ui->edtClient->setFocus();
        return;
    }
    accept();
}

void OrderEditor::focusField(OrderForm::Field field)
{
    using Field = OrderForm::Field;
    Ui::OrderEditor& ui = *m_ui;
    QWidget* target = nullptr;
    switch (field) {
    case Field::Client:
        target = ui.edtClient;
        break;
    case Field::Phone:
        target = ui.edtPhone;
        break;
    case Field::MovePhone:
        target = ui.edtMovePhone;
        break;
    case Field::Area:
        target = ui.cbbArea;
        break;
    case Field::Address:
        target = ui.edtAddress;
        break;
    case Field::SalesPerson:
        target = ui.cbbXSemp;
        break;
    case Field::SetupDate:
        ui.PageControl1->setCurrentIndex(0);
        target = ui.dtpSetupDate;
        break;
    case Field::Installer:
        target = ui.cbbFWemp;
        break;
    case Field::None:
        break;
    }
    if (target && target->isEnabled())
        target->setFocus();
}

void OrderEditor::done(int result)
{
    if (result != QDialog::Accepted && m_lines) {
        // Whatever was typed into the goods lines goes with the window.
        m_ui->DBGridEh1->setFocus();
        m_lines->cancelUpdates();
    }
    if (m_opener.relinkDetails)
        m_opener.relinkDetails();
    QDialog::done(result);
}

// ---------------------------------------------------------------------------------------------
// goods lines

QString OrderEditor::goodsMissingMessage(const QString& typed)
{
    return QStringLiteral("商品编号 \"%1\" 不存在，请检查输入？").arg(typed);
}

QString OrderEditor::deleteLineQuestion(const QString& brand, const QString& spec)
{
    return QStringLiteral("真的要删除当前品牌为： ") + brand + QStringLiteral(" 规格为: ") + spec +
           QStringLiteral(" 商品吗？");
}

void OrderEditor::linesChanged()
{
    if (!m_lines || !m_lines->isOpen())
        return;
    QString error;
    if (!m_stock.refresh(m_data.db(), *m_lines, &error))
        qWarning("The stock of the goods lines could not be read: %s", qPrintable(error));
    m_ui->DBGridEh1->viewport()->update();
}

void OrderEditor::recomputeTotals(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    const int amount = m_lines->fieldIndex(kAmount);
    const int price = m_lines->fieldIndex(QStringLiteral("F_price"));
    const auto within = [&](int column) {
        return column >= topLeft.column() && column <= bottomRight.column();
    };
    if (amount < 0 || price < 0 || !(within(amount) || within(price)))
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
        OrderLines::recomputeTotal(*m_lines, row);
}

void OrderEditor::addLine()
{
    if (!m_ui->actADD->isEnabled() || !m_lines || !m_lines->isOpen())
        return;
    commitGridEdit();
    const int row = m_lines->appendRow();
    if (row < 0)
        return;
    DataGrid* grid = m_ui->DBGridEh1;
    const int logical = grid->horizontalHeader()->logicalIndex(grid->positionOf(kGoodsCode));
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, qMax(0, logical)));
}

void OrderEditor::deleteLine()
{
    if (!m_ui->actDEL->isEnabled() || !m_lines || !m_lines->isOpen() || m_lines->rowCount() == 0)
        return;
    commitGridEdit();
    const int row =
        m_ui->DBGridEh1->currentRow() >= 0 ? m_ui->DBGridEh1->currentRow() : m_lines->currentRow();
    if (row < 0)
        return;
    const QString question = deleteLineQuestion(m_lines->value(row, QStringLiteral("F_pinPai")).toString(),
                                                m_lines->value(row, QStringLiteral("F_spec")).toString());
    if (m_data.messenger().show(question, Messenger::Question) == Messenger::No)
        return;
    m_lines->removeRow(row);
}

void OrderEditor::openGoodsPicker()
{
    if (!m_ui->DBGridEh1->isEditable() || !m_lines || !m_lines->isOpen())
        return;
    commitGridEdit();
    GoodsPickerDialog::pick(m_data, *m_lines, this);
    m_ui->DBGridEh1->setFocus();
}

void OrderEditor::lookUpTypedCode(int row)
{
    const QString typed = m_lines->value(row, kGoodsCode).toString();
    if (typed.isEmpty())
        return;
    QString error;
    const auto found = GoodsLookup::byCodePrefix(m_data.db(), typed, 2, &error);
    if (!found) {
        m_data.messenger().error(DataServices::failureMessage());
        return;
    }
    if (found->isEmpty())
        m_data.messenger().info(goodsMissingMessage(typed));
    else if (found->size() == 1)
        OrderLines::fillFromGoods(*m_lines, row, found->first(), m_ui->edtcode->text());
    else
        openGoodsPicker();
}

bool OrderEditor::gridEditorOpen() const
{
    QWidget* focus = QApplication::focusWidget();
    return focus && m_ui->DBGridEh1->viewport()->isAncestorOf(focus);
}

bool OrderEditor::commitGridEdit()
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
    grid->setFocus();
    return true;
}

// Enter in the grid: the typed goods code is looked up, and the focus moves to the next cell
// that takes input (the next control after the last one).
bool OrderEditor::gridKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (modifiers & Qt::ControlModifier) {
        openGoodsPicker();
        return true;
    }
    commitGridEdit();
    DataGrid* grid = m_ui->DBGridEh1;
    const QModelIndex current = grid->currentIndex();
    if (m_lines && current.isValid() && grid->isEditable() &&
        grid->fieldName(grid->horizontalHeader()->visualIndex(current.column()))
                .compare(kGoodsCode, Qt::CaseInsensitive) == 0)
        lookUpTypedCode(current.row());
    moveInGrid();
    return true;
}

void OrderEditor::moveInGrid()
{
    DataGrid* grid = m_ui->DBGridEh1;
    const QModelIndex current = grid->currentIndex();
    if (!grid->isEditable() || !current.isValid()) {
        focusNextChild();
        return;
    }
    QHeaderView* header = grid->horizontalHeader();
    const auto takesInput = [grid](int position) {
        return grid->isColumnVisible(position) && !grid->gridColumn(position).readOnly;
    };
    int row = current.row();
    int position = header->visualIndex(current.column()) + 1;
    while (row < grid->model()->rowCount()) {
        for (; position < grid->gridColumnCount(); ++position) {
            if (takesInput(position)) {
                grid->setCurrentIndex(grid->model()->index(row, header->logicalIndex(position)));
                return;
            }
        }
        ++row;
        position = 0;
    }
    focusNextChild();
}

// ---------------------------------------------------------------------------------------------
// fields that follow each other

void OrderEditor::installerChosen()
{
    if (m_showing || m_mode != Mode::Dispatch)
        return;
    OrderForm values = form();
    values.chooseInstaller(m_ui->cbbFWemp->currentText(), m_data.login().operatorName);
    m_ui->edtstatus->setText(values.status);
    m_ui->edtPGemp->setText(values.dispatcher);
}

void OrderEditor::phoneAppointmentToggled(bool checked)
{
    if (m_showing || !checked)
        return;
    m_ui->dtpSetupDate->setValue(std::nullopt, QDate::currentDate());
}

void OrderEditor::setupDateEdited()
{
    if (!m_showing && m_ui->dtpSetupDate->isChecked()) {
        const QSignalBlocker block(m_ui->cbPhoneYD);
        m_ui->cbPhoneYD->setChecked(false);
    }
}

void OrderEditor::pickBuyAddress()
{
    m_ui->edtBuyAddress->setText(
        CodeTreeWindow::pick(m_data, TreeKind::PurchasePlace, m_ui->edtBuyAddress->text(), this));
}

void OrderEditor::notYetAvailable()
{
    m_data.messenger().info(QStringLiteral("此功能尚未提供"));
}

// ---------------------------------------------------------------------------------------------
// record navigator

bool OrderEditor::hasUnsavedChanges() const
{
    return (m_lines && m_lines->hasPendingUpdates()) || form().trimmed() != m_loaded.trimmed();
}

void OrderEditor::navigate(int step)
{
    RecordSet* orders = m_opener.orders;
    if (!orders || orders->rowCount() == 0)
        return;
    commitGridEdit();
    if (hasUnsavedChanges() && !m_data.messenger().ask(discardChangesQuestion()))
        return;
    if (m_lines)
        m_lines->cancelUpdates();
    int row = orders->currentRow();
    switch (step) {
    case -2:
        row = 0;
        break;
    case 2:
        orders->fetchAll();
        row = orders->rowCount() - 1;
        break;
    default:
        row += step;
        break;
    }
    if (row < 0 || (row >= orders->rowCount() && !orders->canFetchMore(QModelIndex())))
        return;
    orders->setCurrentRow(row);
    loadCurrentOrder(true);
}

void OrderEditor::updateNavigator()
{
    RecordSet* orders = m_opener.orders;
    const int row = orders ? orders->currentRow() : -1;
    const bool more = orders && (row < orders->rowCount() - 1 || orders->canFetchMore(QModelIndex()));
    m_ui->nbFirst->setEnabled(row > 0);
    m_ui->nbPrior->setEnabled(row > 0);
    m_ui->nbNext->setEnabled(more);
    m_ui->nbLast->setEnabled(more);
}

// ---------------------------------------------------------------------------------------------
// keyboard

bool OrderEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !isVisible())
        return false;
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    const Qt::KeyboardModifiers modifiers = keyEvent->modifiers() & ~Qt::KeypadModifier;
    Ui::OrderEditor& ui = *m_ui;

    if (modifiers == Qt::ControlModifier && key == Qt::Key_S) {
        if (ui.Button1->isEnabled() && ui.Button1->isVisible())
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
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (widget == ui.DBGridEh1 || ui.DBGridEh1->isAncestorOf(widget))
        return gridKey(key, modifiers);
    if (modifiers != Qt::NoModifier)
        return false;
    // Multi-line text takes Enter as a new line.
    if (qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget->parentWidget()))
        return false;
    focusNextChild();
    return true;
}
