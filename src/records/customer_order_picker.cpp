#include "records/customer_order_picker.h"

#include "ui_customer_order_picker.h"

#include "data/data_module.h"
#include "data/data_services.h"
#include "data/database.h"
#include "data/grid_layout_seed.h"
#include "data/messenger.h"
#include "records/order_editor.h"
#include "widgets/data_grid.h"
#include "widgets/data_grid_services.h"
#include "widgets/window_placement.h"
#include "widgets/value_list_table.h"

#include <QHeaderView>
#include <QTableWidget>

CustomerOrderPicker::CustomerOrderPicker(DataModule& data, QWidget* parent, const QDate& today)
    : QDialog(parent), m_ui(std::make_unique<Ui::CustomerOrderPicker>()), m_data(data)
{
    m_ui->setupUi(this);
    m_goodsLines.setUpdateTable(QStringLiteral("t_HPrec"));
    m_ui->dtpFromDate->setDate(CustomerPickerQuery::defaultFrom(today));
    m_ui->dtpToDate->setDate(today);
    for (const CustomerPickerQuery::ListType& type : CustomerPickerQuery::listTypes())
        m_ui->cbbListType->addItem(type.caption);
    setUpValueList();
    setUpGrid();
    m_ui->splitMain->setStretchFactor(0, 0);
    m_ui->splitMain->setStretchFactor(1, 1);
    m_ui->splitMain->setSizes({200, 800});

    // Every change of a filter lists again at once.
    for (QLineEdit* edit : {m_ui->edtClient, m_ui->edtPhone, m_ui->edtAddress})
        connect(edit, &QLineEdit::textChanged, this, &CustomerOrderPicker::runQuery);
    for (QDateEdit* edit : {m_ui->dtpFromDate, m_ui->dtpToDate})
        connect(edit, &QDateEdit::dateChanged, this, &CustomerOrderPicker::runQuery);
    connect(m_ui->btnQuery, &QPushButton::clicked, this, &CustomerOrderPicker::runQuery);
    connect(m_ui->cbbListType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_started)
            fillValueList(index);
    });
    connect(m_ui->Button4, &QPushButton::clicked, this,
            [this] { fillValueList(m_ui->cbbListType->currentIndex()); });
    connect(m_ui->vleList, &QTableWidget::currentCellChanged, this,
            &CustomerOrderPicker::valueListRowChanged);
    connect(m_ui->DBGridEh1, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    connect(m_ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->Button3, &QPushButton::clicked, this, &CustomerOrderPicker::addOrder);
    connect(&m_goodsLines, &RecordSet::dataChanged, this, &CustomerOrderPicker::recomputeLineTotal);
}

CustomerOrderPicker::~CustomerOrderPicker() = default;

QString CustomerOrderPicker::pick(DataModule& data, const QString& code, QWidget* parent)
{
    CustomerOrderPicker picker(data, parent);
    WindowPlacement::place(&picker, WindowPlacement::Large, parent);
    picker.start(code);
    if (picker.exec() != QDialog::Accepted)
        return code;
    return picker.chosenCode();
}

void CustomerOrderPicker::setUpValueList()
{
    QTableWidget* values = m_ui->vleList;
    values->setHorizontalHeaderLabels(
        {QStringLiteral("序号"), CustomerPickerQuery::listTypes().first().caption});
    values->verticalHeader()->hide();
    values->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    values->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    values->horizontalHeader()->setStretchLastSection(true);
    values->setColumnWidth(0, 44);
    values->setSelectionBehavior(QAbstractItemView::SelectRows);
    values->setSelectionMode(QAbstractItemView::SingleSelection);
    values->setEditTriggers(QAbstractItemView::NoEditTriggers);
    values->setAlternatingRowColors(true);
}

void CustomerOrderPicker::setUpGrid()
{
    // The main list's columns, without the service attitude.
    QList<GridColumn> columns = GridLayoutSeed::designedColumns(QStringLiteral("clientmain"));
    columns.removeIf([](const GridColumn& column) {
        return column.fieldName.compare(QLatin1String("F_FWtaidu"), Qt::CaseInsensitive) == 0;
    });
    DataGrid* grid = m_ui->DBGridEh1;
    grid->setColumns(columns);
    grid->setSourceModel(&m_orders);
    DataGridServices::setColumnFormat(*grid, m_data.login(), QStringLiteral("f_fwprice"), 1);
}

void CustomerOrderPicker::start(const QString& code)
{
    m_startCode = code;
    m_started = true;
    // Choosing the list type fills the value list, which lists the orders; the order asked
    // for is made current afterwards.
    const QSignalBlocker block(m_ui->cbbListType);
    m_ui->cbbListType->setCurrentIndex(0);
    fillValueList(0);
    runQuery();
    if (!code.isEmpty())
        m_orders.locate(QStringLiteral("F_code"), code);
}

QString CustomerOrderPicker::chosenCode() const
{
    if (QDialog::result() == QDialog::Accepted && m_orders.isOpen() && m_orders.currentRow() >= 0)
        return m_orders.current(QStringLiteral("F_code")).toString();
    return m_startCode;
}

CustomerPickerQuery::Filter CustomerOrderPicker::filter() const
{
    CustomerPickerQuery::Filter filter;
    filter.from = m_ui->dtpFromDate->date();
    filter.to = m_ui->dtpToDate->date();
    filter.name = m_ui->edtClient->text();
    filter.phone = m_ui->edtPhone->text();
    filter.address = m_ui->edtAddress->text();
    filter.listType = m_ui->cbbListType->currentIndex();
    const int row = m_ui->vleList->currentRow();
    if (row > 0 && m_ui->vleList->item(row, 1))
        filter.listValue = m_ui->vleList->item(row, 1)->text();
    return filter;
}

void CustomerOrderPicker::runQuery()
{
    if (!m_started)
        return;
    const SqlStatement list = CustomerPickerQuery::list(filter(), m_data.db().dialect(), m_data.login());
    m_data.services().openQuery(m_orders, list.sql, list.values);
}

void CustomerOrderPicker::fillValueList(int listType)
{
    QTableWidget* values = m_ui->vleList;
    m_fillingValueList = true;
    ValueListTable::reset(values);
    m_fillingValueList = false;
    runQuery();

    if (listType >= 0 && listType < CustomerPickerQuery::listTypes().size())
        values->setHorizontalHeaderItem(
            1, new QTableWidgetItem(CustomerPickerQuery::listTypes().at(listType).caption));
    QString error;
    const auto found = CustomerPickerQuery::values(m_data.db(), listType, &error);
    if (!found) {
        m_data.messenger().error(DataServices::failureMessage());
        return;
    }
    m_fillingValueList = true;
    ValueListTable::append(values, *found);
    m_fillingValueList = false;
}

void CustomerOrderPicker::valueListRowChanged()
{
    if (!m_fillingValueList)
        runQuery();
}

void CustomerOrderPicker::addOrder()
{
    OrderEditor::openFromPicker(m_data, m_orders, m_goodsLines, this);
}

// Amount = quantity x unit price, whenever either changes in a cached goods line.
void CustomerOrderPicker::recomputeLineTotal(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (m_computingTotals)
        return;
    const int amount = m_goodsLines.fieldIndex(QStringLiteral("F_amount"));
    const int price = m_goodsLines.fieldIndex(QStringLiteral("F_price"));
    if (amount < 0 || price < 0 || m_goodsLines.fieldIndex(QStringLiteral("F_totalprice")) < 0)
        return;
    const bool touched = (amount >= topLeft.column() && amount <= bottomRight.column()) ||
                         (price >= topLeft.column() && price <= bottomRight.column());
    if (!touched)
        return;
    m_computingTotals = true;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const double total =
            m_goodsLines.value(row, amount).toDouble() * m_goodsLines.value(row, price).toDouble();
        m_goodsLines.setValue(row, QStringLiteral("F_totalprice"), total);
    }
    m_computingTotals = false;
}
