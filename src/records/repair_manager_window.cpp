#include "records/repair_manager_window.h"

#include "app/main_window_icons.h"
#include "data/data_module.h"
#include "data/data_services.h"
#include "data/grid_layout_seed.h"
#include "data/messenger.h"
#include "data/number_format.h"
#include "data/sql_value.h"
#include "print/field_chooser_dialog.h"
#include "print/gui_report_viewer.h"
#include "print/report.h"
#include "print/report_request.h"
#include "print/report_service.h"
#include "records/order_deletion.h"
#include "records/repair_editor.h"
#include "records/repair_list_query.h"
#include "records/repair_parts.h"
#include "ui_repair_manager_window.h"
#include "widgets/data_grid.h"
#include "widgets/data_grid_export.h"
#include "widgets/data_grid_services.h"
#include "widgets/window_placement.h"
#include "widgets/value_list_table.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QShortcut>

namespace {

const QColor kInServiceText(0, 0, 230);
const QColor kServedText(200, 0, 0);

} // namespace

RepairManagerWindow::RepairManagerWindow(DataModule& data, QWidget* parent, const QDate& today)
    : QDialog(parent), m_ui(std::make_unique<Ui::RepairManagerWindow>()), m_data(data), m_today(today)
{
    m_ui->setupUi(this);
    m_parts.setUpdateTable(QStringLiteral("t_PJdetail"));
    m_report = std::make_unique<Report>();
    m_guiViewer = std::make_unique<GuiReportViewer>(data.messenger(), this);
    setReportViewer(*m_guiViewer);
    setUpWidgets();
    setUpGrid();
    setUpCommands();
}

RepairManagerWindow::~RepairManagerWindow()
{
    // Nothing may still read from the lists while the window goes.
    m_parts.close();
    m_list.close();
}

void RepairManagerWindow::open(DataModule& data, QWidget* parent)
{
    RepairManagerWindow window(data, parent);
    WindowPlacement::place(&window, WindowPlacement::Large, parent);
    window.start();
    window.exec();
}

void RepairManagerWindow::setReportViewer(ReportViewer& viewer)
{
    m_reports = std::make_unique<ReportService>(m_data.templateFolder(), m_data.messenger(), viewer);
}

QString RepairManagerWindow::printedRange(const QDate& from, const QDate& to)
{
    return QStringLiteral("统计日期：自 %1 至 %2")
        .arg(from.toString(QStringLiteral("yyyy-MM-dd")), to.toString(QStringLiteral("yyyy-MM-dd")));
}

// ---------------------------------------------------------------------------------------------
// set-up

void RepairManagerWindow::setUpWidgets()
{
    Ui::RepairManagerWindow& ui = *m_ui;
    for (const RepairListQuery::SearchType& type : RepairListQuery::searchTypes())
        ui.ComboBox1->addItem(type.caption);
    ui.ComboBox1->setCurrentIndex(-1);
    ui.cbbListType->addItems(RepairListQuery::listTypeCaptions());

    auto* statusGroup = new QButtonGroup(this);
    statusGroup->setObjectName(QStringLiteral("statusGroup"));
    statusGroup->addButton(ui.rbNotServed, int(RepairListFilter::Status::NotServed));
    statusGroup->addButton(ui.rbInService, int(RepairListFilter::Status::InService));
    statusGroup->addButton(ui.rbServed, int(RepairListFilter::Status::Served));
    statusGroup->addButton(ui.rbAll, int(RepairListFilter::Status::All));
    connect(statusGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            runQuery();
    });

    QTableWidget* values = ui.vleList;
    values->setHorizontalHeaderLabels({QStringLiteral("序号"), RepairListQuery::listTypes().first().caption});
    values->verticalHeader()->hide();
    values->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    values->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    values->horizontalHeader()->setStretchLastSection(true);
    values->setColumnWidth(0, 44);
    values->setSelectionBehavior(QAbstractItemView::SelectRows);
    values->setSelectionMode(QAbstractItemView::SingleSelection);
    values->setEditTriggers(QAbstractItemView::NoEditTriggers);
    values->setAlternatingRowColors(true);
    ui.splitMain->setStretchFactor(0, 0);
    ui.splitMain->setStretchFactor(1, 1);
    ui.splitMain->setSizes({200, 1000});

    // The tool bar shares the main window's pictures; the moves take the style's arrows.
    const QStyle* look = style();
    ui.tbFirst->setIcon(look->standardIcon(QStyle::SP_MediaSkipBackward));
    ui.tbPrior->setIcon(look->standardIcon(QStyle::SP_MediaSeekBackward));
    ui.tbNext->setIcon(look->standardIcon(QStyle::SP_MediaSeekForward));
    ui.tbLast->setIcon(look->standardIcon(QStyle::SP_MediaSkipForward));
    using Icon = MainWindowIcons::Kind;
    ui.tbAdd->setIcon(MainWindowIcons::icon(Icon::Add));
    ui.tbEdit->setIcon(MainWindowIcons::icon(Icon::Edit));
    ui.tbDel->setIcon(MainWindowIcons::icon(Icon::Delete));
    ui.tbPrint->setIcon(MainWindowIcons::icon(Icon::Print));
    ui.tbSet->setIcon(MainWindowIcons::icon(Icon::PrintSetup));
    ui.tbExport->setIcon(MainWindowIcons::icon(Icon::Export));
    ui.tbExit->setIcon(MainWindowIcons::icon(Icon::Close));
    ui.btnQuery->setIcon(MainWindowIcons::icon(Icon::Find));
    ui.Button4->setIcon(MainWindowIcons::icon(Icon::Refresh));

    auto panel = [this](const QString& name, const QString& text, int minimumWidth) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(minimumWidth);
        label->setContentsMargins(4, 0, 4, 0);
        return label;
    };
    m_countPanel = panel(QStringLiteral("pnlCount"), QStringLiteral("记录数：0"), 140);
    m_companyPanel = panel(QStringLiteral("pnlCompany"), QString(), 0);
    m_companyPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui.StatusBar1->addWidget(panel(QStringLiteral("pnlCaption"), QStringLiteral(" 售后维修"), 90));
    ui.StatusBar1->addWidget(m_countPanel);
    ui.StatusBar1->addWidget(m_companyPanel, 1);

    // Enter moves on through the filters, as Tab does.
    for (QWidget* widget : std::initializer_list<QWidget*>{
             ui.ComboBox1, ui.Edit1, ui.dtpFromDate, ui.dtpToDate, ui.chkFromDate1, ui.dtpFromDate1,
             ui.chkToDate1, ui.dtpToDate1, ui.cbbListType, ui.rbNotServed, ui.rbInService, ui.rbServed,
             ui.rbAll})
        widget->installEventFilter(this);
}

void RepairManagerWindow::setUpGrid()
{
    DataGrid* grid = m_ui->DBGridEh1;
    grid->setColumns(GridLayoutSeed::designedColumns(layoutKey()));
    grid->setSourceModel(&m_list);
    grid->setAlternatingRowColors(false);
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    grid->setRowColourRule([this](int row) {
        const int flag = m_list.value(row, QStringLiteral("F_WXflag")).toInt();
        if (flag == 1)
            return DataGrid::RowColours{kInServiceText, palette().color(QPalette::ToolTipBase)};
        if (flag == 2)
            return DataGrid::RowColours{kServedText, palette().color(QPalette::Button)};
        return DataGrid::RowColours{};
    });

    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* chooseFields = menu->addAction(QStringLiteral("显示字段列表"));
    chooseFields->setObjectName(QStringLiteral("actChooseFields"));
    QAction* saveLayout = menu->addAction(QStringLiteral("保存当前设置"));
    saveLayout->setObjectName(QStringLiteral("actSaveLayout"));
    connect(chooseFields, &QAction::triggered, this,
            [this] { FieldChooserDialog::chooseGridFields(*m_ui->DBGridEh1, this); });
    connect(saveLayout, &QAction::triggered, this, [this] {
        DataGridServices::confirmAndSaveLayout(*m_ui->DBGridEh1, m_data.db(), m_data.messenger(),
                                               layoutKey());
    });
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& at) { menu->exec(m_ui->DBGridEh1->viewport()->mapToGlobal(at)); });
    connect(grid, &QAbstractItemView::doubleClicked, this, &RepairManagerWindow::editCurrent);

    connect(&m_list, &RecordSet::currentRowChanged, this, &RepairManagerWindow::repairRowChanged);
    connect(&m_parts, &RecordSet::dataChanged, this, &RepairManagerWindow::partsChanged);
}

void RepairManagerWindow::setUpCommands()
{
    Ui::RepairManagerWindow& ui = *m_ui;
    connect(ui.tbAdd, &QToolButton::clicked, this, [this] { openEditor(RepairEditMode::New); });
    connect(ui.tbEdit, &QToolButton::clicked, this, &RepairManagerWindow::editCurrent);
    connect(ui.tbDel, &QToolButton::clicked, this, &RepairManagerWindow::deleteCurrent);
    connect(ui.tbFirst, &QToolButton::clicked, this, [this] { move(-2); });
    connect(ui.tbPrior, &QToolButton::clicked, this, [this] { move(-1); });
    connect(ui.tbNext, &QToolButton::clicked, this, [this] { move(1); });
    connect(ui.tbLast, &QToolButton::clicked, this, [this] { move(2); });
    connect(ui.tbExport, &QToolButton::clicked, this, [this] {
        if (m_list.isOpen())
            DataGridExport::exportToExcel(*m_ui->DBGridEh1, exportTitle(), m_data.messenger(), this);
    });
    connect(ui.tbExit, &QToolButton::clicked, this, &QDialog::reject);

    auto* printMenu = new QMenu(this);
    printMenu->setObjectName(QStringLiteral("pmPrint"));
    QAction* printList = printMenu->addAction(QStringLiteral("售后维修记录列表"));
    printList->setObjectName(QStringLiteral("actPrintList"));
    QAction* printSlip = printMenu->addAction(QStringLiteral("售后维修派工表单"));
    printSlip->setObjectName(QStringLiteral("actPrintSlip"));
    ui.tbPrint->setMenu(printMenu);
    connect(printList, &QAction::triggered, this, &RepairManagerWindow::printList);
    connect(printSlip, &QAction::triggered, this, &RepairManagerWindow::printSlip);

    auto* designMenu = new QMenu(this);
    designMenu->setObjectName(QStringLiteral("pmSet"));
    QAction* designList = designMenu->addAction(QStringLiteral("售后维修记录列表"));
    designList->setObjectName(QStringLiteral("actDesignList"));
    QAction* designSlip = designMenu->addAction(QStringLiteral("售后维修派工表单"));
    designSlip->setObjectName(QStringLiteral("actDesignSlip"));
    ui.tbSet->setMenu(designMenu);
    connect(designList, &QAction::triggered, this, [this] { design(listTemplate()); });
    connect(designSlip, &QAction::triggered, this, [this] { design(slipTemplate()); });

    // The window's keys come before its controls, except where a text field edits with them.
    const struct {
        QKeySequence keys;
        QToolButton* button;
    } shortcuts[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_A), ui.tbAdd}, {QKeySequence(Qt::CTRL | Qt::Key_E), ui.tbEdit},
        {QKeySequence(Qt::Key_Delete), ui.tbDel},       {QKeySequence(Qt::Key_Home), ui.tbFirst},
        {QKeySequence(Qt::Key_PageUp), ui.tbPrior},     {QKeySequence(Qt::Key_PageDown), ui.tbNext},
        {QKeySequence(Qt::Key_End), ui.tbLast},         {QKeySequence(Qt::Key_Escape), ui.tbExit},
    };
    for (const auto& shortcut : shortcuts) {
        auto* key = new QShortcut(shortcut.keys, this);
        QToolButton* button = shortcut.button;
        connect(key, &QShortcut::activated, this, [button] {
            if (button->isEnabled())
                button->click();
        });
    }

    // Filters: every change lists again at once.
    connect(ui.ComboBox1, &QComboBox::currentIndexChanged, this, &RepairManagerWindow::searchTypeChanged);
    connect(ui.Edit1, &QLineEdit::textChanged, this, &RepairManagerWindow::runQuery);
    for (QDateEdit* edit : {ui.dtpFromDate, ui.dtpToDate, ui.dtpFromDate1, ui.dtpToDate1})
        connect(edit, &QDateEdit::dateChanged, this, &RepairManagerWindow::runQuery);
    for (auto [tick, date] :
         {std::pair{ui.chkFromDate1, ui.dtpFromDate1}, std::pair{ui.chkToDate1, ui.dtpToDate1}}) {
        connect(tick, &QCheckBox::toggled, this, [this, date](bool on) {
            date->setEnabled(on);
            runQuery();
        });
    }
    connect(ui.btnQuery, &QPushButton::clicked, this, &RepairManagerWindow::runQuery);
    connect(ui.SpeedButton1, &QToolButton::toggled, this, [this](bool shown) {
        m_ui->pnlList->setVisible(shown);
        m_ui->SpeedButton1->setText(shown ? QStringLiteral("◀") : QStringLiteral("▶"));
    });
    connect(ui.cbbListType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_started)
            fillValueList(index);
    });
    connect(ui.Button4, &QPushButton::clicked, this,
            [this] { fillValueList(m_ui->cbbListType->currentIndex()); });
    connect(ui.vleList, &QTableWidget::currentCellChanged, this, &RepairManagerWindow::valueListRowChanged);
}

void RepairManagerWindow::start()
{
    Ui::RepairManagerWindow& ui = *m_ui;
    {
        const QSignalBlocker blockFrom(ui.dtpFromDate);
        const QSignalBlocker blockTo(ui.dtpToDate);
        const QSignalBlocker blockFrom1(ui.dtpFromDate1);
        const QSignalBlocker blockTo1(ui.dtpToDate1);
        const QSignalBlocker blockTick1(ui.chkFromDate1);
        const QSignalBlocker blockTick2(ui.chkToDate1);
        ui.dtpFromDate->setDate(QDate(m_today.year(), m_today.month(), 1));
        ui.dtpToDate->setDate(m_today);
        ui.dtpFromDate1->setDate(QDate(m_today.year(), m_today.month(), 1));
        ui.dtpToDate1->setDate(m_today);
        ui.chkFromDate1->setChecked(false);
        ui.chkToDate1->setChecked(false);
        ui.dtpFromDate1->setEnabled(false);
        ui.dtpToDate1->setEnabled(false);
    }
    DataGrid* grid = ui.DBGridEh1;
    DataGridServices::loadLayout(*grid, m_data.db(), m_data.messenger(), layoutKey());
    DataGridServices::setGridFormats(*grid, m_data.login(), 2);
    // The money totals come from the engine with the count: a sum footer of the grid would read
    // every listed repair, ten years of them when asked.
    m_sumFields.clear();
    for (int position = 0; position < grid->gridColumnCount(); ++position) {
        GridColumn column = grid->gridColumn(position);
        if (column.footer != GridColumn::Footer::Sum || !RepairListQuery::isSummable(column.fieldName))
            continue;
        m_sumFields << column.fieldName;
        column.footer = GridColumn::Footer::Text;
        column.footerValue.clear();
        grid->setGridColumn(position, column);
    }
    const QString company =
        m_data.services().lookupText(QStringLiteral("SELECT F_Code FROM sysInfo ORDER BY F_ID"));
    m_companyPanel->setText((company.trimmed().isEmpty() ? QStringLiteral("Corvalin") : company.trimmed()) +
                            QStringLiteral("  "));
    m_started = true;
    fillValueList(0);
}

// ---------------------------------------------------------------------------------------------
// the list

RepairListFilter RepairManagerWindow::filter() const
{
    const Ui::RepairManagerWindow& ui = *m_ui;
    RepairListFilter filter;
    filter.reportFrom = ui.dtpFromDate->date();
    filter.reportTo = ui.dtpToDate->date();
    if (ui.chkFromDate1->isChecked())
        filter.repairFrom = ui.dtpFromDate1->date();
    if (ui.chkToDate1->isChecked())
        filter.repairTo = ui.dtpToDate1->date();
    filter.searchType = ui.ComboBox1->currentIndex();
    filter.searchText = ui.Edit1->text();
    if (ui.rbInService->isChecked())
        filter.status = RepairListFilter::Status::InService;
    else if (ui.rbServed->isChecked())
        filter.status = RepairListFilter::Status::Served;
    else if (ui.rbAll->isChecked())
        filter.status = RepairListFilter::Status::All;
    filter.listType = ui.cbbListType->currentIndex();
    const int row = ui.vleList->currentRow();
    if (row > 0 && ui.vleList->item(row, 1))
        filter.listValue = ui.vleList->item(row, 1)->text();
    return filter;
}

void RepairManagerWindow::runQuery()
{
    if (!m_started)
        return;
    // The parts must not be reading while the list is opened again.
    m_parts.close();
    QString error;
    const auto found = RepairListQuery::open(m_data.db(), filter(), m_list, m_sumFields, &error);
    if (!found)
        m_data.messenger().error(DataServices::openFailureMessage());
    else
        showSummary(*found);
    if (!m_list.isOpen())
        showSummary({});
    relinkParts();
    updateNavigation();
}

void RepairManagerWindow::showSummary(const RepairListQuery::Summary& summary)
{
    m_count = summary.rows;
    m_countPanel->setText(QStringLiteral("记录数：%1").arg(m_count));
    DataGrid* grid = m_ui->DBGridEh1;
    for (int i = 0; i < m_sumFields.size(); ++i) {
        const int position = grid->positionOf(m_sumFields.at(i));
        if (position < 0)
            continue;
        GridColumn column = grid->gridColumn(position);
        column.footerValue = NumberFormat::format(summary.sums.value(i), column.displayFormat);
        grid->setGridColumn(position, column);
    }
}

void RepairManagerWindow::fillValueList(int listType)
{
    QTableWidget* values = m_ui->vleList;
    m_fillingValueList = true;
    ValueListTable::reset(values);
    m_fillingValueList = false;
    runQuery();

    if (listType >= 0 && listType < RepairListQuery::listTypes().size())
        values->setHorizontalHeaderItem(
            1, new QTableWidgetItem(RepairListQuery::listTypes().at(listType).caption));
    QString error;
    const auto found = RepairListQuery::values(m_data.db(), listType, &error);
    if (!found) {
        m_data.messenger().error(DataServices::failureMessage());
        return;
    }
    m_fillingValueList = true;
    ValueListTable::append(values, *found);
    m_fillingValueList = false;
}

void RepairManagerWindow::valueListRowChanged()
{
    if (!m_fillingValueList)
        runQuery();
}

void RepairManagerWindow::searchTypeChanged()
{
    {
        const QSignalBlocker block(m_ui->Edit1);
        m_ui->Edit1->clear();
    }
    runQuery();
}

// The moves are offered where they lead somewhere.
void RepairManagerWindow::updateNavigation()
{
    const int row = m_list.isOpen() ? m_list.currentRow() : -1;
    const bool more = row >= 0 && (row < m_list.rowCount() - 1 || m_list.canFetchMore(QModelIndex()));
    m_ui->tbFirst->setEnabled(row > 0);
    m_ui->tbPrior->setEnabled(row > 0);
    m_ui->tbNext->setEnabled(more);
    m_ui->tbLast->setEnabled(more);
}

void RepairManagerWindow::move(int step)
{
    if (listEmpty())
        return;
    int row = m_list.currentRow();
    switch (step) {
    case -2:
        row = 0;
        break;
    case 2:
        m_list.fetchAll();
        row = m_list.rowCount() - 1;
        break;
    default:
        row += step;
        if (row >= m_list.rowCount() && m_list.canFetchMore(QModelIndex()))
            m_list.fetchMore(QModelIndex());
        break;
    }
    if (row >= 0 && row < m_list.rowCount())
        m_list.setCurrentRow(row);
    updateNavigation();
}

// ---------------------------------------------------------------------------------------------
// the parts of the current repair

void RepairManagerWindow::repairRowChanged(int row)
{
    updateNavigation();
    if (m_partsPinned)
        return;
    const QString code = row >= 0 ? m_list.value(row, QStringLiteral("F_WXcode")).toString() : QString();
    if (code.isEmpty()) {
        m_parts.close();
        return;
    }
    const SqlStatement parts = RepairParts::ofRepair(code);
    m_data.services().openQuery(m_parts, parts.sql, parts.values);
}

void RepairManagerWindow::loadPartsFor(const QString& repairCode)
{
    m_partsPinned = true;
    const SqlStatement parts = RepairParts::ofRepair(repairCode);
    m_data.services().openQuery(m_parts, parts.sql, parts.values);
}

void RepairManagerWindow::relinkParts()
{
    m_partsPinned = false;
    repairRowChanged(m_list.isOpen() ? m_list.currentRow() : -1);
}

// 金额 = 单价 × 数量, whenever either changes in a cached parts line.
void RepairManagerWindow::partsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (!RepairParts::touchesAmount(m_parts, topLeft.column(), bottomRight.column()))
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
        RepairParts::recomputeAmount(m_parts, row);
}

// ---------------------------------------------------------------------------------------------
// commands

bool RepairManagerWindow::listEmpty() const
{
    return !m_list.isOpen() || m_list.rowCount() == 0;
}

void RepairManagerWindow::openEditor(RepairEditMode mode)
{
    RepairEditor::Opener opener;
    opener.repairs = &m_list;
    opener.parts = &m_parts;
    opener.loadPartsFor = [this](const QString& code) { loadPartsFor(code); };
    opener.relinkParts = [this] { relinkParts(); };
    opener.refreshList = [this](qint64 id) { refreshAfterSave(id); };
    opener.printSlip = [this] { printSlip(); };
    opener.chooseOrder = true;
    RepairEditor::open(m_data, mode, opener, this);
}

void RepairManagerWindow::editCurrent()
{
    if (listEmpty() || m_list.currentRow() < 0) {
        m_data.messenger().error(emptyListMessage());
        return;
    }
    openEditor(RepairEditMode::Edit);
}

void RepairManagerWindow::refreshAfterSave(qint64 id)
{
    runQuery();
    if (listEmpty() || m_list.locate(QStringLiteral("F_ID"), id))
        return;
    // A repair the filters do not list: the end of the list, as a new repair would be.
    m_list.fetchAll();
    m_list.setCurrentRow(m_list.rowCount() - 1);
}

void RepairManagerWindow::deleteCurrent()
{
    if (listEmpty() || m_list.currentRow() < 0)
        return;
    if (!m_data.messenger().ask(deleteQuestion()))
        return;
    const int row = m_list.currentRow();
    const qint64 id = m_list.current(QStringLiteral("F_ID")).toLongLong();
    if (row + 1 >= m_list.rowCount() && m_list.canFetchMore(QModelIndex()))
        m_list.fetchMore(QModelIndex());
    const QVariant following =
        row + 1 < m_list.rowCount() ? m_list.value(row + 1, QStringLiteral("F_ID")) : QVariant();
    // No statement of ours may still be reading while the rows go.
    m_parts.close();
    QString error;
    if (!OrderDeletion::deleteRepair(m_data.db(), id, &error))
        m_data.messenger().error(DataServices::deleteFailureMessage() + QLatin1Char('\n') + error);
    runQuery();
    if (listEmpty())
        return;
    if (following.isValid() && m_list.locate(QStringLiteral("F_ID"), following))
        return;
    // The last repair went: the one before it is now the last.
    m_list.fetchAll();
    m_list.setCurrentRow(qMin(row, m_list.rowCount() - 1));
}

ReportRequest RepairManagerWindow::request(const QString& templateName) const
{
    ReportRequest request;
    request.templateName = templateName;
    request.ties = {{QStringLiteral("frDBDataSet1"), const_cast<RecordSet*>(&m_list)}};
    return request;
}

void RepairManagerWindow::printList()
{
    if (listEmpty())
        return;
    ReportRequest list = request(listTemplate());
    list.captions = {
        {QStringLiteral("MemoDate"), printedRange(m_ui->dtpFromDate->date(), m_ui->dtpToDate->date())}};
    m_reports->print(*m_report, list);
}

void RepairManagerWindow::printSlip()
{
    if (listEmpty())
        return;
    m_reports->print(*m_report, request(slipTemplate()));
}

void RepairManagerWindow::design(const QString& templateName)
{
    m_reports->design(*m_report, request(templateName));
}

bool RepairManagerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* combo = qobject_cast<QComboBox*>(watched);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier && !(combo && combo->view()->isVisible())) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
