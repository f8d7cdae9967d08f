#pragma once

#include "app/main_list_filter.h"
#include "data/record_set.h"
#include "records/order_rules.h"

#include <QDate>
#include <QMainWindow>
#include <QPair>
#include <QStringList>
#include <QUrl>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

class DataGrid;
class DataModule;
class GuiReportViewer;
class Report;
class ReportService;
class ReportViewer;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolButton;
class QTreeWidgetItem;

namespace Ui {
class MainWindow;
}

// The program's home window (TFrmMain): the customer orders filtered by date, status, a
// search field, the value list and the purchase-place tree, with the current order's goods
// lines, return visits and repairs below, and every command of the program in its menus.
//
// The editors of later windows work on this window's detail lists: loadDetailsFor() pins them
// to the order being edited until relinkDetails() lets them follow the list again.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Starts a program with arguments, or opens a file or web page; true when it started.
    using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments)>;
    using UrlOpener = std::function<bool(const QUrl& url)>;
    // Finds an installed program by name; empty when there is none.
    using ProgramFinder = std::function<QString(const QString& name)>;

    explicit MainWindow(DataModule& data, QWidget* parent = nullptr);
    ~MainWindow() override;

    // After every successful login: the role's commands, the operator and the clock.
    void applyLogin();

    // --- the order list
    MainListFilter currentFilter() const;
    // Rebuilds and runs the list query from the filters.
    void runListQuery();
    // Refills the value list with the list type's values and lists the orders without a value
    // filter.
    void fillValueList(int listType);
    RecordSet& orders() { return m_orders; }
    // Orders the list query found (the count panel's number).
    qint64 orderCount() const { return m_orderCount; }

    // --- the detail lists, for the editors
    RecordSet& goodsLines() { return m_goodsLines; }
    RecordSet& visits() { return m_visits; }
    RecordSet& repairs() { return m_repairs; }
    RecordSet& parts() { return m_parts; }
    void loadDetailsFor(const QString& orderCode);
    void relinkDetails();
    void loadPartsFor(const QString& repairCode);
    void relinkParts();
    // The current order's customer as the repair and return-visit editors show it.
    QString customerInfo() const;

    // --- seams for tests and for the windows still to come
    void setProgramStarter(ProgramStarter starter) { m_startProgram = std::move(starter); }
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    void setProgramFinder(ProgramFinder finder) { m_findProgram = std::move(finder); }
    // Where previews and the designer show (the real windows unless a test records them).
    void setReportViewer(ReportViewer& viewer);
    // Today, for the backup offer at closing.
    void setToday(const QDate& today) { m_today = today; }
    // The customer query dialog of "高级查找...": the statement it built, or nothing when cancelled.
    using AdvancedSearch = std::function<std::optional<QPair<QString, QVariantList>>()>;
    void setAdvancedSearch(AdvancedSearch search) { m_advancedSearch = std::move(search); }

    static QString listExportTitle() { return QStringLiteral("顾客安装送货记录统计列表"); }
    static QString notYetAvailableMessage() { return QStringLiteral("此功能尚未提供"); }
    static QString exitQuestion();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Tab { Goods = 0, Visits = 1, Repairs = 2 };

    void setUpWidgets();
    void setUpGrids();
    void setUpMenusAndToolBar();
    void connectCommands();
    void firstShow();

    // --- list and details
    void orderRowChanged(int row);
    void repairRowChanged(int row);
    void loadDetails(const QString& orderCode);
    void closeDetails();
    void loadTree();
    void valueListRowChanged();
    void searchFieldChanged();
    void advancedSearchToggled(bool down);
    void updateCountPanel();
    void recomputeLineTotal(RecordSet& lines, const QModelIndex& topLeft, const QModelIndex& bottomRight);

    // --- commands
    bool listEmpty() const;
    QString currentStatus() const;
    bool allowed(const QString& code) const;
    void refuse(const QString& message);
    void notYetAvailable();
    void editOrder();
    void dispatchOrder();
    void completeOrder();
    void deleteOrder();
    void detailAdd();
    void detailEdit();
    void detailDelete();
    void sortGrid(DataGrid* grid);
    void chooseFields(DataGrid* grid);
    void saveLayout(DataGrid* grid, const QString& key);
    void exportList();
    void compactDatabase();
    void reloginFromToolBar();
    void reloginFromMenu();
    void openCodeTree(bool goodsTypes);
    void startCalculator();
    void startTextEditor();
    void openHelpFile(const QString& relativeName);
    void showAbout();
    void printForm(int form);
    void openReportManager();

    Tab activeTab() const;
    DataGrid* activeDetailGrid() const;
    RecordSet& activeDetailRecords();
    QString activeDetailKey() const;
    void updatePrintSetupButton();
    void tick();

    std::unique_ptr<Ui::MainWindow> m_ui;
    DataModule& m_data;
    RecordSet m_orders;
    RecordSet m_goodsLines;
    RecordSet m_visits;
    RecordSet m_repairs;
    RecordSet m_parts;
    qint64 m_orderCount = 0;
    bool m_detailsPinned = false;
    bool m_partsPinned = false;
    bool m_fillingValueList = false;
    bool m_computingTotals = false;
    bool m_shown = false;
    bool m_closing = false;
    int m_ibak = 0;
    QDate m_today;

    QLabel* m_userCaptionPanel = nullptr;
    QLabel* m_operatorPanel = nullptr;
    QLabel* m_countPanel = nullptr;
    QLabel* m_clockPanel = nullptr;
    QLabel* m_productPanel = nullptr;
    QTimer* m_clock = nullptr;
    QToolButton* m_printSetup = nullptr;
    QMenu* m_listMenu = nullptr;
    QMenu* m_detailMenu = nullptr;

    std::unique_ptr<Report> m_report;
    std::unique_ptr<GuiReportViewer> m_guiViewer;
    std::unique_ptr<ReportService> m_reports;

    ProgramStarter m_startProgram;
    UrlOpener m_openUrl;
    ProgramFinder m_findProgram;
    AdvancedSearch m_advancedSearch;
};
