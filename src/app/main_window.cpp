#include "app/main_window.h"

#include "app/about_dialog.h"
#include "app/backup_offer.h"
#include "app/desktop_tools.h"
#include "app/help_files.h"
#include "app/ini_file.h"
#include "app/main_list_query.h"
#include "app/main_window_icons.h"
#include "app/startup.h"
#include "data/data_module.h"
#include "data/database.h"
#include "data/grid_layout_seed.h"
#include "data/messenger.h"
#include "data/sql_value.h"
#include "operators/apply_permissions.h"
#include "operators/login_dialog.h"
#include "print/field_chooser_dialog.h"
#include "print/gui_report_viewer.h"
#include "print/main_form_reports.h"
#include "print/report.h"
#include "print/report_manager_dialog.h"
#include "print/report_service.h"
#include "print/sort_dialog.h"
#include "records/customer_query.h"
#include "records/customer_query_dialog.h"
#include "records/order_deletion.h"
#include "records/order_editor.h"
#include "records/repair_parts.h"
#include "records/repair_editor.h"
#include "records/repair_manager_window.h"
#include "records/return_visit_editor.h"
#include "reference/code_tree_items.h"
#include "reference/code_tree_window.h"
#include "ui_main_window.h"
#include "widgets/data_grid.h"
#include "widgets/data_grid_export.h"
#include "widgets/data_grid_services.h"
#include "widgets/value_list_table.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidgetItemIterator>

#ifndef CORVALIN_VERSION
#define CORVALIN_VERSION "0.1.0"
#endif

namespace {

using Icon = MainWindowIcons::Kind;

const QString kListKey = QStringLiteral("clientmain");
const QString kProductName = QStringLiteral("Corvalin");
const QString kProductLine = QStringLiteral("Corvalin 家电安装送货维修管理系统");

// Text colours of the rows: dispatched orders blue, completed ones red, as shops know them.
const QColor kInServiceText(0, 0, 230);
const QColor kServedText(200, 0, 0);

// Money columns show with the login's money format; the grid kinds pick formats by field name.
enum GridKind { GoodsLineGrid = 1, ChargeGrid = 2 };

} // namespace

MainWindow::MainWindow(DataModule& data, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::MainWindow>()), m_data(data)
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("TFrmMain"));
    setWindowTitle(QStringLiteral("%1 v%2(企业版)").arg(kProductName, QLatin1String(CORVALIN_VERSION)));

    m_startProgram = [](const QString& program, const QStringList& arguments) {
        return DesktopTools::start(program, arguments);
    };
    m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    m_findProgram = DesktopTools::pathFinder();
    m_advancedSearch = [this]() -> std::optional<QPair<QString, QVariantList>> {
        const std::optional<SqlCondition> where = CustomerQueryDialog::ask(m_data, this);
        if (!where)
            return std::nullopt;
        const SqlStatement list = CustomerQuery::list(*where, m_data.login());
        return qMakePair(list.sql, list.values);
    };

    m_report = std::make_unique<Report>();
    m_guiViewer = std::make_unique<GuiReportViewer>(data.messenger(), this);
    setReportViewer(*m_guiViewer);

    m_goodsLines.setUpdateTable(QStringLiteral("t_HPrec"));
    m_visits.setUpdateTable(QStringLiteral("t_HFrec"));
    m_repairs.setUpdateTable(QStringLiteral("t_WXrec"));
    m_parts.setUpdateTable(QStringLiteral("t_PJdetail"));

    // The window starts maximised; without a window manager to do it, it still fills the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());

    setUpWidgets();
    setUpGrids();
    setUpMenusAndToolBar();
    connectCommands();
    loadTree();
}

MainWindow::~MainWindow() = default;

void MainWindow::setReportViewer(ReportViewer& viewer)
{
    m_reports = std::make_unique<ReportService>(m_data.templateFolder(), m_data.messenger(), viewer);
}

QString MainWindow::exitQuestion()
{
    return QStringLiteral("真的要退出“%1”软件吗？").arg(kProductName);
}

// ---------------------------------------------------------------------------------------------
// set-up

void MainWindow::setUpWidgets()
{
    for (const MainListQuery::SearchField& field : MainListQuery::searchFields())
        m_ui->ComboBox1->addItem(field.caption);
    for (const MainListQuery::ListType& type : MainListQuery::listTypes())
        m_ui->cbbListType->addItem(type.caption);
    m_ui->sbBuyAddress->hide();

    auto* statusGroup = new QButtonGroup(this);
    statusGroup->setObjectName(QStringLiteral("statusGroup"));
    statusGroup->addButton(m_ui->rbNotServed, int(MainListFilter::Status::NotServed));
    statusGroup->addButton(m_ui->rbInService, int(MainListFilter::Status::InService));
    statusGroup->addButton(m_ui->rbServed, int(MainListFilter::Status::Served));
    statusGroup->addButton(m_ui->rbAll, int(MainListFilter::Status::All));
    connect(statusGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked && m_shown)
            runListQuery();
    });

    QTableWidget* values = m_ui->vleList;
    values->setHorizontalHeaderLabels({QStringLiteral("序号"), MainListQuery::listTypes().first().title});
    values->verticalHeader()->hide();
    values->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    values->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    values->horizontalHeader()->setStretchLastSection(true);
    values->setColumnWidth(0, 44);
    values->setSelectionBehavior(QAbstractItemView::SelectRows);
    values->setSelectionMode(QAbstractItemView::SingleSelection);
    values->setEditTriggers(QAbstractItemView::NoEditTriggers);
    values->setAlternatingRowColors(true);

    m_ui->tvTree->setIconSize(QSize(16, 16));

    m_ui->splitMain->setStretchFactor(0, 0);
    m_ui->splitMain->setStretchFactor(1, 1);
    m_ui->splitMain->setSizes({210, 1000});
    m_ui->splitList->setStretchFactor(0, 3);
    m_ui->splitList->setStretchFactor(1, 2);
    m_ui->splitList->setSizes({420, 260});

    // Status bar: caption, operator, count, clock, product name (right-aligned).
    auto panel = [this](const QString& name, const QString& text, int minimumWidth) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(minimumWidth);
        label->setContentsMargins(4, 0, 4, 0);
        return label;
    };
    m_userCaptionPanel = panel(QStringLiteral("pnlUserCaption"), QStringLiteral(" 当前用户"), 70);
    m_operatorPanel = panel(QStringLiteral("pnlOperator"), QStringLiteral(" "), 110);
    m_countPanel = panel(QStringLiteral("pnlCount"), QStringLiteral("客户总数：0"), 140);
    m_clockPanel = panel(QStringLiteral("pnlClock"), QString(), 170);
    m_productPanel = panel(QStringLiteral("pnlProduct"), kProductLine + QLatin1Char(' '), 0);
    m_productPanel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QStatusBar* bar = m_ui->StatusBar1;
    bar->addWidget(m_userCaptionPanel);
    bar->addWidget(m_operatorPanel);
    bar->addWidget(m_countPanel);
    bar->addWidget(m_clockPanel);
    bar->addWidget(m_productPanel, 1);
    bar->setSizeGripEnabled(true);

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("Timer1"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &MainWindow::tick);
    tick();

    // Enter moves on through the filter strip, as Tab does.
    for (QWidget* widget : std::initializer_list<QWidget*>{m_ui->ComboBox1, m_ui->Edit1, m_ui->dtpFromDate,
                                                           m_ui->dtpToDate, m_ui->cbbListType})
        widget->installEventFilter(this);
}

void MainWindow::setUpGrids()
{
    struct GridSetup {
        DataGrid* grid;
        RecordSet* records;
        QString key;
    };
    const GridSetup grids[] = {
        {m_ui->DBGridEh1, &m_orders, kListKey},
        {m_ui->DBGridEh2, &m_goodsLines, QStringLiteral("detail1")},
        {m_ui->DBGridEh3, &m_visits, QStringLiteral("detail2")},
        {m_ui->DBGridEh4, &m_repairs, QStringLiteral("detail3")},
    };
    for (const GridSetup& setup : grids) {
        setup.grid->setColumns(GridLayoutSeed::designedColumns(setup.key));
        setup.grid->setSourceModel(setup.records);
        setup.grid->setContextMenuPolicy(Qt::CustomContextMenu);
        setup.grid->setAlternatingRowColors(false);
        // The lists are read-only: Tab leaves them for the next control (the detail buttons)
        // instead of walking their cells.
        setup.grid->setTabKeyNavigation(false);
    }
    m_ui->DBGridEh1->setRowColourRule([this](int row) {
        const QString status = m_orders.value(row, QStringLiteral("F_status")).toString();
        if (status == OrderRules::inService())
            return DataGrid::RowColours{kInServiceText, palette().color(QPalette::ToolTipBase)};
        if (status == OrderRules::served())
            return DataGrid::RowColours{kServedText, palette().color(QPalette::Button)};
        return DataGrid::RowColours{};
    });
    m_ui->DBGridEh4->setRowColourRule([this](int row) {
        const QVariant flag = m_repairs.value(row, QStringLiteral("F_WXflag"));
        if (flag.toInt() == 1)
            return DataGrid::RowColours{kInServiceText, palette().color(QPalette::ToolTipBase)};
        if (flag.toInt() == 2)
            return DataGrid::RowColours{kServedText, palette().color(QPalette::Button)};
        return DataGrid::RowColours{};
    });
}

void MainWindow::setUpMenusAndToolBar()
{
    Ui::MainWindow& ui = *m_ui;
    const QList<QPair<QAction*, Icon>> icons = {
        {ui.ToolButton1, Icon::Relogin}, {ui.N43, Icon::Relogin},        {ui.Action201, Icon::Add},
        {ui.Action202, Icon::Edit},      {ui.Action207, Icon::Dispatch}, {ui.Action208, Icon::Complete},
        {ui.Action203, Icon::Delete},    {ui.Action209, Icon::Repair},   {ui.Action210, Icon::Goods},
        {ui.Action402, Icon::Reminder},  {ui.Action204, Icon::Sort},     {ui.tbRefresh, Icon::Refresh},
        {ui.ToolButton10, Icon::Close},  {ui.N5, Icon::Close},           {ui.Action301, Icon::Export},
        {ui.Action302, Icon::Print},     {ui.Action303, Icon::Print},    {ui.Action304, Icon::Print},
        {ui.Action305, Icon::Print},     {ui.Action306, Icon::Print},    {ui.Action401, Icon::Statistics},
        {ui.N24, Icon::Calculator},      {ui.N25, Icon::Notepad},        {ui.nHelp, Icon::Help},
        {ui.nGuanYu, Icon::About},       {ui.Action502, Icon::Database}, {ui.Action503, Icon::Database},
        {ui.Action504, Icon::Database},  {ui.Action104, Icon::Settings}, {ui.Action601, Icon::Add},
        {ui.Action602, Icon::Edit},      {ui.Action603, Icon::Delete},   {ui.Action604, Icon::Sort},
        {ui.Action205, Icon::Settings},  {ui.Action206, Icon::Settings},
    };
    for (const auto& [action, kind] : icons)
        action->setIcon(MainWindowIcons::icon(kind));
    ui.BitBtn1->setIcon(MainWindowIcons::icon(Icon::Find));
    ui.SpeedButton2->setIcon(MainWindowIcons::icon(Icon::Find));
    ui.Button4->setIcon(MainWindowIcons::icon(Icon::Refresh));

    // Menus show only their text; the tool bar carries the pictures.
    for (QAction* action : findChildren<QAction*>())
        action->setIconVisibleInMenu(false);

    ui.Action201->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    ui.Action202->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ui.Action203->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_S), QKeySequence(Qt::Key_Delete)});
    ui.BitBtn1->setShortcut(QKeySequence(Qt::Key_F3));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    // "打印设置" on the tool bar: the list grid's field chooser and layout save.
    m_printSetup = new QToolButton(this);
    m_printSetup->setObjectName(QStringLiteral("tbPrintSet"));
    m_printSetup->setText(QStringLiteral("打印设置"));
    m_printSetup->setIcon(MainWindowIcons::icon(Icon::PrintSetup));
    m_printSetup->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_printSetup->setPopupMode(QToolButton::InstantPopup);
    auto* printMenu = new QMenu(m_printSetup);
    printMenu->setObjectName(QStringLiteral("PopupMenuPrintSet"));
    printMenu->addAction(ui.Action205);
    printMenu->addAction(ui.Action206);
    m_printSetup->setMenu(printMenu);
    ui.ToolBar1->insertWidget(ui.Action201, m_printSetup)->setObjectName(QStringLiteral("tbPrintSetAction"));
    ui.ToolBar1->insertSeparator(ui.Action201);

    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_listMenu->addActions({ui.Action201, ui.Action202, ui.Action207, ui.Action208, ui.Action203});
    m_listMenu->addSeparator();
    m_listMenu->addActions({ui.Action204, ui.Action205, ui.Action206});
    m_listMenu->addSeparator();
    m_listMenu->addActions({ui.Action303, ui.Action304, ui.Action305});

    m_detailMenu = new QMenu(this);
    m_detailMenu->setObjectName(QStringLiteral("PopupMenu2"));
    m_detailMenu->addActions({ui.Action601, ui.Action602, ui.Action603});
    m_detailMenu->addSeparator();
    m_detailMenu->addActions({ui.Action604, ui.Action605, ui.Action606});

    ui.btnDetailAdd->setDefaultAction(ui.Action601);
    ui.btnDetailEdit->setDefaultAction(ui.Action602);
    ui.btnDetailDelete->setDefaultAction(ui.Action603);
}

void MainWindow::connectCommands()
{
    Ui::MainWindow& ui = *m_ui;
    auto on = [this](QAction* action, auto slot) { connect(action, &QAction::triggered, this, slot); };

    // Windows that later parts of the program bring.
    for (QAction* action :
         {ui.Action101, ui.Action102, ui.Action103, ui.Action104, ui.Action107, ui.Action210, ui.Action401,
          ui.Action402, ui.Action403, ui.Action404, ui.Action405, ui.Action406, ui.Action407, ui.Action408, ui.Action409, ui.Action410, ui.Action411, ui.Action412,
          ui.Action413, ui.Action414, ui.Action501, ui.Action502, ui.Action505, ui.Action506})
        on(action, &MainWindow::notYetAvailable);
    // Printed forms: nothing at all for an empty list.
    on(ui.Action303, [this] { printForm(int(MainFormReports::Form::RecordSheet)); });
    on(ui.Action304, [this] { printForm(int(MainFormReports::Form::OrderList)); });
    on(ui.Action305, [this] { printForm(int(MainFormReports::Form::DispatchSlip)); });
    on(ui.Action306, [this] { printForm(int(MainFormReports::Form::RepairSlip)); });
    on(ui.Action302, &MainWindow::openReportManager);
    // The repairs of the current order may have changed there.
    on(ui.Action209, [this] {
        RepairManagerWindow::open(m_data, this);
        relinkDetails();
    });

    on(ui.Action105, [this] { openCodeTree(true); });
    on(ui.Action106, [this] { openCodeTree(false); });
    on(ui.Action201, [this] { OrderEditor::openFromMainWindow(m_data, OrderEditMode::New, *this); });
    on(ui.Action202, &MainWindow::editOrder);
    on(ui.Action207, &MainWindow::dispatchOrder);
    on(ui.Action208, &MainWindow::completeOrder);
    on(ui.Action203, &MainWindow::deleteOrder);
    on(ui.Action204, [this] { sortGrid(m_ui->DBGridEh1); });
    on(ui.Action205, [this] { chooseFields(m_ui->DBGridEh1); });
    on(ui.Action206, [this] { saveLayout(m_ui->DBGridEh1, kListKey); });
    on(ui.Action301, &MainWindow::exportList);
    on(ui.Action503, &MainWindow::compactDatabase);
    on(ui.Action504, [this] { Startup::chooseDatabaseFolder(this, m_data.config(), m_data.home()); });
    on(ui.Action601, &MainWindow::detailAdd);
    on(ui.Action602, &MainWindow::detailEdit);
    on(ui.Action603, &MainWindow::detailDelete);
    on(ui.Action604, [this] { sortGrid(activeDetailGrid()); });
    on(ui.Action605, [this] { chooseFields(activeDetailGrid()); });
    on(ui.Action606, [this] { saveLayout(activeDetailGrid(), activeDetailKey()); });

    on(ui.ToolButton1, &MainWindow::reloginFromToolBar);
    on(ui.N43, &MainWindow::reloginFromMenu);
    on(ui.tbRefresh, &MainWindow::runListQuery);
    on(ui.ToolButton10, &QWidget::close);
    on(ui.N5, &QWidget::close);

    connect(ui.nshitu1, &QAction::toggled, ui.ToolBar1, &QWidget::setVisible);
    connect(ui.nshitu2, &QAction::toggled, ui.PageControl2, &QWidget::setVisible);
    connect(ui.nshitu3, &QAction::toggled, ui.StatusBar1, &QWidget::setVisible);
    on(ui.N24, &MainWindow::startCalculator);
    on(ui.N25, &MainWindow::startTextEditor);
    on(ui.nHelp, [this] { openHelpFile(HelpFiles::helpPage()); });
    on(ui.nWenti, [this] { openHelpFile(HelpFiles::questions()); });
    on(ui.nWenJian, [this] { openHelpFile(HelpFiles::readme()); });
    on(ui.nGongNeng, [this] { openHelpFile(HelpFiles::whatsNew()); });
    on(ui.nGuanYu, &MainWindow::showAbout);
    // The program has no web site of its own; its help page says where updates come from.
    on(ui.nWangZhan, [this] { openHelpFile(HelpFiles::helpPage()); });

    // Filter strip and left pane: every change lists again at once.
    connect(ui.ComboBox1, &QComboBox::currentIndexChanged, this, &MainWindow::searchFieldChanged);
    connect(ui.Edit1, &QLineEdit::textChanged, this, [this] {
        if (m_shown)
            runListQuery();
    });
    for (QDateEdit* edit : {ui.dtpFromDate, ui.dtpToDate}) {
        connect(edit, &QDateEdit::dateChanged, this, [this] {
            if (m_shown)
                runListQuery();
        });
    }
    connect(ui.BitBtn1, &QPushButton::clicked, this, &MainWindow::runListQuery);
    connect(ui.SpeedButton2, &QPushButton::toggled, this, &MainWindow::advancedSearchToggled);
    connect(ui.sbBuyAddress, &QToolButton::clicked, this, [this] {
        m_ui->Edit1->setText(CodeTreeWindow::pick(m_data, TreeKind::GoodsType, m_ui->Edit1->text(), this));
    });
    connect(ui.cbbListType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_shown)
            fillValueList(index);
    });
    connect(ui.Button4, &QPushButton::clicked, this,
            [this] { fillValueList(m_ui->cbbListType->currentIndex()); });
    connect(ui.vleList, &QTableWidget::currentCellChanged, this, &MainWindow::valueListRowChanged);
    connect(ui.tvTree, &QTreeWidget::itemDoubleClicked, this, &MainWindow::runListQuery);

    // Grids.
    connect(&m_orders, &RecordSet::currentRowChanged, this, &MainWindow::orderRowChanged);
    connect(&m_repairs, &RecordSet::currentRowChanged, this, &MainWindow::repairRowChanged);
    for (RecordSet* lines : {&m_goodsLines, &m_parts}) {
        connect(lines, &RecordSet::dataChanged, this,
                [this, lines](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                    recomputeLineTotal(*lines, topLeft, bottomRight);
                });
    }
    connect(ui.DBGridEh1, &QAbstractItemView::doubleClicked, this, [this] {
        if (allowed(QStringLiteral("202")))
            editOrder();
    });
    connect(ui.DBGridEh3, &QAbstractItemView::doubleClicked, this, &MainWindow::detailEdit);
    connect(ui.DBGridEh4, &QAbstractItemView::doubleClicked, this, &MainWindow::detailEdit);
    connect(ui.DBGridEh1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_listMenu->exec(m_ui->DBGridEh1->viewport()->mapToGlobal(at)); });
    for (DataGrid* grid : {ui.DBGridEh2, ui.DBGridEh3, ui.DBGridEh4}) {
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, grid](const QPoint& at) { m_detailMenu->exec(grid->viewport()->mapToGlobal(at)); });
    }
}

void MainWindow::loadTree()
{
    CodeTreeItems::load(m_ui->tvTree, m_data, TreeKind::PurchasePlace);
    if (QTreeWidgetItem* root = m_ui->tvTree->topLevelItem(0)) {
        root->setExpanded(true);
        m_ui->tvTree->setCurrentItem(root);
    }
}

void MainWindow::applyLogin()
{
    applyPermissions(this, m_data);
    updatePrintSetupButton();
    m_operatorPanel->setText(QLatin1Char(' ') + m_data.login().operatorName);
    tick();
    m_clock->start();
}

void MainWindow::updatePrintSetupButton()
{
    const bool any = m_ui->Action205->isVisible() || m_ui->Action206->isVisible();
    if (QAction* holder = m_ui->ToolBar1->findChild<QAction*>(QStringLiteral("tbPrintSetAction")))
        holder->setVisible(any);
}

void MainWindow::tick()
{
    m_clockPanel->setText(QLatin1Char(' ') +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown)
        firstShow();
}

void MainWindow::firstShow()
{
    const QDate today = m_today.isValid() ? m_today : QDate::currentDate();
    {
        const QSignalBlocker from(m_ui->dtpFromDate);
        const QSignalBlocker to(m_ui->dtpToDate);
        m_ui->dtpFromDate->setDate(QDate(today.year(), today.month(), 1));
        m_ui->dtpToDate->setDate(today);
    }
    m_operatorPanel->setText(QLatin1Char(' ') + m_data.login().operatorName);
    tick();
    m_clock->start();
    m_ibak = m_data.config().intValue(QStringLiteral("config"), QStringLiteral("ibak"), 0);

    Database& db = m_data.db();
    Messenger& messenger = m_data.messenger();
    const LoginState& login = m_data.login();
    DataGridServices::loadLayout(*m_ui->DBGridEh1, db, messenger, kListKey);
    DataGridServices::setColumnFormat(*m_ui->DBGridEh1, login, QStringLiteral("f_fwprice"), 1);
    DataGridServices::loadLayout(*m_ui->DBGridEh2, db, messenger, QStringLiteral("detail1"));
    DataGridServices::setGridFormats(*m_ui->DBGridEh2, login, GoodsLineGrid);
    DataGridServices::loadLayout(*m_ui->DBGridEh3, db, messenger, QStringLiteral("detail2"));
    DataGridServices::setGridFormats(*m_ui->DBGridEh3, login, ChargeGrid);
    DataGridServices::loadLayout(*m_ui->DBGridEh4, db, messenger, QStringLiteral("detail3"));
    DataGridServices::setGridFormats(*m_ui->DBGridEh4, login, ChargeGrid);

    m_shown = true;
    {
        const QSignalBlocker block(m_ui->cbbListType);
        m_ui->cbbListType->setCurrentIndex(0);
    }
    // Lists the orders as well.
    fillValueList(0);
    m_ui->DBGridEh1->setFocus();
    // The business reminders would show here when "awokeflag" is set; that window comes later.
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* combo = qobject_cast<QComboBox*>(watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(combo && combo->view()->isVisible())) {
            focusNextChild();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (!m_data.messenger().ask(exitQuestion())) {
        event->ignore();
        return;
    }
    // The list no longer follows its rows while the window goes.
    disconnect(&m_orders, &RecordSet::currentRowChanged, this, &MainWindow::orderRowChanged);
    const QDate today = m_today.isValid() ? m_today : QDate::currentDate();
    if (BackupOffer::isDue(m_ibak, today) && m_data.messenger().ask(BackupOffer::question())) {
        // The backup window is still to come; until then the answer changes nothing.
    }
    m_clock->stop();
    m_closing = true;
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// the list

MainListFilter MainWindow::currentFilter() const
{
    MainListFilter filter;
    filter.from = m_ui->dtpFromDate->date();
    filter.to = m_ui->dtpToDate->date();
    if (m_ui->rbInService->isChecked())
        filter.status = MainListFilter::Status::InService;
    else if (m_ui->rbServed->isChecked())
        filter.status = MainListFilter::Status::Served;
    else if (m_ui->rbAll->isChecked())
        filter.status = MainListFilter::Status::All;
    else
        filter.status = MainListFilter::Status::NotServed;
    filter.searchField = m_ui->ComboBox1->currentIndex();
    filter.searchValue = m_ui->Edit1->text();
    filter.listType = m_ui->cbbListType->currentIndex();
    const int valueRow = m_ui->vleList->currentRow();
    if (valueRow > 0 && m_ui->vleList->item(valueRow, 1))
        filter.listValue = m_ui->vleList->item(valueRow, 1)->text();
    const QList<QTreeWidgetItem*> selected = m_ui->tvTree->selectedItems();
    if (!selected.isEmpty() && selected.first()->parent())
        filter.purchasePlace = CodeTreeItems::path(selected.first());
    filter.ownOrdersOnly = m_data.login().ownOrdersOnly;
    filter.operatorName = m_data.login().operatorName;
    return filter;
}

void MainWindow::runListQuery()
{
    QString error;
    const auto counted = MainListQuery::open(m_data.db(), currentFilter(), m_orders, &error);
    if (!counted) {
        m_data.messenger().error(DataServices::openFailureMessage());
        m_orderCount = 0;
        closeDetails();
    } else {
        m_orderCount = *counted;
    }
    updateCountPanel();
    if (m_orders.currentRow() < 0)
        orderRowChanged(-1);
}

void MainWindow::updateCountPanel()
{
    m_countPanel->setText(QStringLiteral("客户总数：%1").arg(m_orderCount));
}

void MainWindow::fillValueList(int listType)
{
    QTableWidget* values = m_ui->vleList;
    m_fillingValueList = true;
    ValueListTable::reset(values);
    m_fillingValueList = false;
    runListQuery();

    if (listType >= 0 && listType < MainListQuery::listTypes().size())
        values->setHorizontalHeaderItem(1,
                                        new QTableWidgetItem(MainListQuery::listTypes().at(listType).title));
    QString error;
    const auto found = MainListQuery::values(m_data.db(), listType, &error);
    if (!found) {
        m_data.messenger().error(DataServices::failureMessage());
        return;
    }
    m_fillingValueList = true;
    ValueListTable::append(values, *found);
    m_fillingValueList = false;
}

void MainWindow::valueListRowChanged()
{
    if (!m_fillingValueList && m_shown)
        runListQuery();
}

void MainWindow::searchFieldChanged()
{
    const QString caption = m_ui->ComboBox1->currentText();
    m_ui->sbBuyAddress->setVisible(caption == QStringLiteral("商品类型"));
    m_ui->Edit1->clear();
}

void MainWindow::advancedSearchToggled(bool down)
{
    QPushButton* button = m_ui->SpeedButton2;
    if (!down) {
        button->setStyleSheet(QString());
        runListQuery();
        return;
    }
    const auto statement = m_advancedSearch ? m_advancedSearch() : std::nullopt;
    if (!m_advancedSearch)
        notYetAvailable();
    if (!statement) {
        const QSignalBlocker block(button);
        button->setChecked(false);
        button->setStyleSheet(QString());
        return;
    }
    button->setStyleSheet(QStringLiteral("color: red;"));
    if (!m_data.services().openQuery(m_orders, statement->first, statement->second)) {
        m_orderCount = 0;
    } else {
        // Counted by the engine, so that a large result is still read only as far as it is shown.
        const auto counted = m_data.db().scalar(
            QStringLiteral("SELECT count(*) FROM (%1) counted").arg(statement->first), statement->second);
        if (counted) {
            m_orderCount = counted->toLongLong();
        } else {
            m_orders.fetchAll();
            m_orderCount = m_orders.rowCountLoaded();
        }
    }
    updateCountPanel();
}

// ---------------------------------------------------------------------------------------------
// details

void MainWindow::orderRowChanged(int row)
{
    if (m_detailsPinned)
        return;
    loadDetails(row >= 0 ? m_orders.value(row, QStringLiteral("F_code")).toString() : QString());
}

void MainWindow::loadDetails(const QString& orderCode)
{
    // An order without a code owns no records; the code-less rows of others are not its own.
    if (orderCode.isEmpty()) {
        closeDetails();
        return;
    }
    DataServices& services = m_data.services();
    const SqlStatement lines = MainListQuery::goodsLines(orderCode);
    const SqlStatement visits = MainListQuery::visits(orderCode);
    const SqlStatement repairs = MainListQuery::repairs(orderCode);
    if (!services.openQuery(m_goodsLines, lines.sql, lines.values))
        return;
    if (!services.openQuery(m_visits, visits.sql, visits.values))
        return;
    services.openQuery(m_repairs, repairs.sql, repairs.values);
    if (m_repairs.currentRow() < 0)
        repairRowChanged(-1);
}

void MainWindow::closeDetails()
{
    m_goodsLines.close();
    m_visits.close();
    m_repairs.close();
    if (!m_partsPinned)
        m_parts.close();
}

void MainWindow::repairRowChanged(int row)
{
    if (m_partsPinned)
        return;
    const QString code = row >= 0 ? m_repairs.value(row, QStringLiteral("F_WXcode")).toString() : QString();
    if (code.isEmpty()) {
        m_parts.close();
        return;
    }
    const SqlStatement parts = RepairParts::ofRepair(code);
    m_data.services().openQuery(m_parts, parts.sql, parts.values);
}

void MainWindow::loadDetailsFor(const QString& orderCode)
{
    m_detailsPinned = true;
    m_partsPinned = true;
    m_parts.close();
    loadDetails(orderCode);
}

void MainWindow::relinkDetails()
{
    m_detailsPinned = false;
    m_partsPinned = false;
    orderRowChanged(m_orders.currentRow());
}

void MainWindow::loadPartsFor(const QString& repairCode)
{
    m_partsPinned = true;
    const SqlStatement parts = RepairParts::ofRepair(repairCode);
    m_data.services().openQuery(m_parts, parts.sql, parts.values);
}

void MainWindow::relinkParts()
{
    m_partsPinned = false;
    repairRowChanged(m_repairs.currentRow());
}

QString MainWindow::customerInfo() const
{
    auto field = [this](const char* name) { return m_orders.current(QLatin1String(name)).toString(); };
    QStringList lines{QString()};
    lines << QStringLiteral("  顾客姓名:") + field("F_client")
          << QStringLiteral("  固定电话:") + field("F_phone")
          << QStringLiteral("  移动电话:") + field("F_movePhone")
          << QStringLiteral("  家庭地址:") + field("F_address")
          << QStringLiteral("  区    域:") + field("F_area")
          << QStringLiteral("  购买地点:") + field("F_buyAddress")
          << QStringLiteral("  购买日期:") + SqlDates::display(m_orders.current(QStringLiteral("F_buyDate")));
    return lines.join(QLatin1Char('\n'));
}

// Amount = quantity x unit price, whenever either changes in a cached goods or parts line.
void MainWindow::recomputeLineTotal(RecordSet& lines, const QModelIndex& topLeft,
                                    const QModelIndex& bottomRight)
{
    if (m_computingTotals)
        return;
    const int amount = lines.fieldIndex(QStringLiteral("F_amount"));
    const int price = lines.fieldIndex(QStringLiteral("F_price"));
    if (amount < 0 || price < 0 || lines.fieldIndex(QStringLiteral("F_totalprice")) < 0)
        return;
    const bool touched = (amount >= topLeft.column() && amount <= bottomRight.column()) ||
                         (price >= topLeft.column() && price <= bottomRight.column());
    if (!touched)
        return;
    m_computingTotals = true;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const double total = lines.value(row, amount).toDouble() * lines.value(row, price).toDouble();
        lines.setValue(row, QStringLiteral("F_totalprice"), total);
    }
    m_computingTotals = false;
}

// ---------------------------------------------------------------------------------------------
// commands

bool MainWindow::listEmpty() const
{
    return !m_orders.isOpen() || m_orders.rowCount() == 0;
}

QString MainWindow::currentStatus() const
{
    return m_orders.current(QStringLiteral("F_status")).toString();
}

bool MainWindow::allowed(const QString& code) const
{
    const QAction* action = findChild<QAction*>(QStringLiteral("Action") + code);
    return action && action->isVisible();
}

void MainWindow::refuse(const QString& message)
{
    m_data.messenger().error(message);
}

void MainWindow::notYetAvailable()
{
    m_data.messenger().info(notYetAvailableMessage());
}

void MainWindow::editOrder()
{
    const QString refusal = OrderRules::refuseEdit(listEmpty(), currentStatus());
    if (!refusal.isEmpty())
        return refuse(refusal);
    OrderEditor::openFromMainWindow(m_data, OrderEditMode::Edit, *this);
}

void MainWindow::dispatchOrder()
{
    const QString refusal = OrderRules::refuseDispatch(listEmpty(), currentStatus());
    if (!refusal.isEmpty())
        return refuse(refusal);
    OrderEditor::openFromMainWindow(m_data, OrderEditMode::Dispatch, *this);
}

void MainWindow::completeOrder()
{
    const QString refusal =
        OrderRules::refuseComplete(listEmpty(), m_orders.current(QStringLiteral("F_FWemp")).toString());
    if (!refusal.isEmpty())
        return refuse(refusal);
    OrderEditor::openFromMainWindow(m_data, OrderEditMode::Complete, *this);
}

void MainWindow::deleteOrder()
{
    if (listEmpty() || m_orders.currentRow() < 0)
        return;
    const QString client = m_orders.current(QStringLiteral("F_client")).toString();
    if (!m_data.messenger().ask(OrderRules::deleteOrderQuestion(client)))
        return;
    const qint64 id = m_orders.current(QStringLiteral("F_ID")).toLongLong();
    const int row = m_orders.currentRow();
    // No statement of ours may still be reading while the rows go.
    closeDetails();
    QString error;
    const bool deleted = OrderDeletion::deleteOrder(m_data.db(), id, &error);
    if (!deleted)
        refuse(OrderRules::deleteFailedMessage());
    runListQuery();
    if (deleted && m_orders.rowCountLoaded() > 0)
        m_orders.setCurrentRow(qMin(row, m_orders.rowCountLoaded() - 1));
}

MainWindow::Tab MainWindow::activeTab() const
{
    return Tab(qBound(0, m_ui->PageControl1->currentIndex(), 2));
}

DataGrid* MainWindow::activeDetailGrid() const
{
    switch (activeTab()) {
    case Tab::Goods:
        return m_ui->DBGridEh2;
    case Tab::Visits:
        return m_ui->DBGridEh3;
    case Tab::Repairs:
        break;
    }
    return m_ui->DBGridEh4;
}

RecordSet& MainWindow::activeDetailRecords()
{
    switch (activeTab()) {
    case Tab::Goods:
        return m_goodsLines;
    case Tab::Visits:
        return m_visits;
    case Tab::Repairs:
        break;
    }
    return m_repairs;
}

QString MainWindow::activeDetailKey() const
{
    return QStringLiteral("detail%1").arg(int(activeTab()) + 1);
}

void MainWindow::detailAdd()
{
    const QString refusal =
        OrderRules::refuseDetailAdd(OrderRules::DetailTab(activeTab()), listEmpty(), currentStatus());
    if (!refusal.isEmpty())
        return refuse(refusal);
    if (activeTab() == Tab::Visits) {
        ReturnVisitEditor::openEditor(m_data, ReturnVisitEditor::Mode::New, m_visits,
                                      m_orders.current(QStringLiteral("F_code")).toString(), customerInfo(),
                                      this);
        return;
    }
    if (activeTab() == Tab::Repairs) {
        RepairEditor::openFromMainWindow(m_data, RepairEditMode::New, *this);
        return;
    }
    OrderEditor::openFromMainWindow(m_data, OrderEditMode::Edit, *this);
}

void MainWindow::detailEdit()
{
    const bool tabEmpty = !activeDetailRecords().isOpen() || activeDetailRecords().rowCount() == 0;
    const QString refusal =
        OrderRules::refuseDetailEdit(OrderRules::DetailTab(activeTab()), tabEmpty, currentStatus());
    if (!refusal.isEmpty())
        return refuse(refusal);
    if (activeTab() == Tab::Visits) {
        ReturnVisitEditor::openEditor(m_data, ReturnVisitEditor::Mode::Edit, m_visits,
                                      m_orders.current(QStringLiteral("F_code")).toString(), customerInfo(),
                                      this);
        return;
    }
    if (activeTab() == Tab::Repairs) {
        RepairEditor::openFromMainWindow(m_data, RepairEditMode::Edit, *this);
        return;
    }
    OrderEditor::openFromMainWindow(m_data, OrderEditMode::Edit, *this);
}

void MainWindow::detailDelete()
{
    const Tab tab = activeTab();
    RecordSet& records = activeDetailRecords();
    const bool tabEmpty = !records.isOpen() || records.rowCount() == 0 || records.currentRow() < 0;
    const QString refusal =
        OrderRules::refuseDetailDelete(OrderRules::DetailTab(tab), tabEmpty, currentStatus());
    if (!refusal.isEmpty())
        return refuse(refusal);
    if (!m_data.messenger().ask(OrderRules::deleteDetailQuestion(OrderRules::DetailTab(tab))))
        return;
    const qint64 id = records.current(QStringLiteral("F_ID")).toLongLong();
    Database& db = m_data.db();
    QString error;
    switch (tab) {
    case Tab::Goods:
        switch (OrderDeletion::deleteGoodsLine(db, id, &error)) {
        case OrderDeletion::LineDeletion::Deleted:
            break;
        case OrderDeletion::LineDeletion::OrderCompleted:
            refuse(OrderRules::refuseDetailDelete(OrderRules::DetailTab::Goods, false, OrderRules::served()));
            break;
        case OrderDeletion::LineDeletion::Failed:
            refuse(DataServices::deleteFailureMessage());
            break;
        }
        break;
    case Tab::Visits:
        m_data.services().deleteById(QStringLiteral("t_HFrec"), id);
        break;
    case Tab::Repairs:
        if (!OrderDeletion::deleteRepair(db, id, &error))
            refuse(DataServices::failureMessage());
        break;
    }
    orderRowChanged(m_orders.currentRow());
}

void MainWindow::sortGrid(DataGrid* grid)
{
    if (grid && grid->recordSet() && grid->recordSet()->isOpen())
        SortDialog::sortGrid(*grid, this);
}

void MainWindow::chooseFields(DataGrid* grid)
{
    if (grid)
        FieldChooserDialog::chooseGridFields(*grid, this);
}

void MainWindow::saveLayout(DataGrid* grid, const QString& key)
{
    if (grid)
        DataGridServices::confirmAndSaveLayout(*grid, m_data.db(), m_data.messenger(), key);
}

void MainWindow::exportList()
{
    if (!m_orders.isOpen())
        return;
    DataGridExport::exportToExcel(*m_ui->DBGridEh1, listExportTitle(), m_data.messenger(), this);
}

void MainWindow::compactDatabase()
{
    // Compaction needs the file to itself: nothing of ours may be reading.
    m_orders.close();
    closeDetails();
    m_parts.close();
    if (m_data.db().compact())
        m_data.messenger().info(QStringLiteral("压缩数据库成功！"));
    else
        m_data.messenger().error(QStringLiteral("压缩数据库失败！"));
    runListQuery();
}

void MainWindow::reloginFromToolBar()
{
    if (LoginDialog::run(m_data, LoginService::Mode::ChangeOperator, this))
        applyLogin();
    runListQuery();
}

void MainWindow::reloginFromMenu()
{
    // The list keeps its rows until the next query.
    if (LoginDialog::run(m_data, LoginService::Mode::ChangeOperator, this))
        applyLogin();
}

void MainWindow::openCodeTree(bool goodsTypes)
{
    CodeTreeWindow::openMaintenance(m_data, goodsTypes ? TreeKind::GoodsType : TreeKind::PurchasePlace, this);
    if (goodsTypes)
        return;
    // Show the edited places, keeping the chosen one (the list is still filtered by it).
    const QList<QTreeWidgetItem*> selected = m_ui->tvTree->selectedItems();
    const QString path =
        selected.isEmpty() || !selected.first()->parent() ? QString() : CodeTreeItems::path(selected.first());
    loadTree();
    if (path.isEmpty())
        return;
    for (QTreeWidgetItemIterator it(m_ui->tvTree); *it; ++it) {
        if ((*it)->parent() && CodeTreeItems::path(*it) == path) {
            m_ui->tvTree->setCurrentItem(*it);
            break;
        }
    }
}

void MainWindow::startCalculator()
{
    const QString program = DesktopTools::firstInstalled(DesktopTools::calculatorCandidates(), m_findProgram);
    if (program.isEmpty())
        return m_data.messenger().info(DesktopTools::noCalculatorMessage());
    if (!m_startProgram(program, {}))
        m_data.messenger().warning(QStringLiteral("无法启动计算器“%1”。").arg(program));
}

void MainWindow::startTextEditor()
{
    const QString program = DesktopTools::firstInstalled(DesktopTools::textEditorCandidates(), m_findProgram);
    if (program.isEmpty())
        return m_data.messenger().info(DesktopTools::noTextEditorMessage());
    QStringList arguments;
    if (QFileInfo(program).fileName() == QLatin1String("xdg-open")) {
        // The desktop opens files, not editors: a notes file in the program home.
        const QString notes = QDir(m_data.home()).filePath(QStringLiteral("便笺.txt"));
        QFile file(notes);
        if (!file.exists() && !file.open(QIODevice::WriteOnly))
            return m_data.messenger().warning(QStringLiteral("无法创建文件“%1”。").arg(notes));
        file.close();
        arguments << notes;
    }
    if (!m_startProgram(program, arguments))
        m_data.messenger().warning(QStringLiteral("无法启动文本编辑程序“%1”。").arg(program));
}

void MainWindow::openHelpFile(const QString& relativeName)
{
    const QString path =
        HelpFiles::locate(relativeName, {m_data.home(), QCoreApplication::applicationDirPath()});
    if (path.isEmpty())
        return m_data.messenger().info(HelpFiles::missingMessage(relativeName));
    if (!m_openUrl(QUrl::fromLocalFile(path)))
        m_data.messenger().warning(QStringLiteral("无法打开文件“%1”。").arg(path));
}

void MainWindow::printForm(int form)
{
    if (listEmpty())
        return;
    const MainFormReports::Sources sources{&m_orders, &m_goodsLines, &m_visits, &m_repairs};
    m_reports->print(*m_report, MainFormReports::request(MainFormReports::Form(form), sources));
}

void MainWindow::openReportManager()
{
    const MainFormReports::Sources sources{&m_orders, &m_goodsLines, &m_visits, &m_repairs};
    ReportManagerDialog manager(*m_reports, *m_report, sources, this);
    manager.exec();
}

void MainWindow::showAbout()
{
    AboutDialog about(QLatin1String(CORVALIN_VERSION), this);
    about.exec();
}
