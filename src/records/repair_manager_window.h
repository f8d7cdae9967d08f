#pragma once

#include "data/record_set.h"
#include "records/repair_edit_mode.h"
#include "records/repair_list_query.h"

#include <QDate>
#include <QDialog>

#include <memory>

class DataModule;
class GuiReportViewer;
class QLabel;
class Report;
class ReportService;
class ReportViewer;
struct ReportRequest;

namespace Ui {
class RepairManagerWindow;
}

// The repair order management window (TfrmWXrecMan, "售后维修管理"): the repairs of every
// customer, filtered by report and repair date, status, a search field and the value list, with
// the repair editor for new and changed repairs, deletion, printing and export.
//
// Entry, from the main window's "维修":
//   RepairManagerWindow::open(data, parent);
//
// The window lends the repair editor its list and its parts query (cached, t_PJdetail), which
// follows the list's current repair unless the editor pins it to a new repair's code.
class RepairManagerWindow : public QDialog {
    Q_OBJECT
public:
    explicit RepairManagerWindow(DataModule& data, QWidget* parent = nullptr,
                                 const QDate& today = QDate::currentDate());
    ~RepairManagerWindow() override;

    // Shows the window modally, placed as a large window.
    static void open(DataModule& data, QWidget* parent = nullptr);

    // Sets the filters as a new window has them, loads the layout and lists the repairs.
    void start();
    // Where previews and the designer show (the real windows unless a test records them).
    void setReportViewer(ReportViewer& viewer);

    RepairListFilter filter() const;
    // Builds and runs the list query from the filters.
    void runQuery();
    // Refills the value list with the list type's values and lists the repairs without a value.
    void fillValueList(int listType);
    RecordSet& repairs() { return m_list; }
    RecordSet& parts() { return m_parts; }
    qint64 repairCount() const { return m_count; }
    void loadPartsFor(const QString& repairCode);
    void relinkParts();

    static QString exportTitle() { return QStringLiteral("售后维修记录列表"); }
    static QString layoutKey() { return QStringLiteral("wxRECman"); }
    static QString emptyListMessage() { return QStringLiteral("此表为空，没有记录需要修改！"); }
    static QString deleteQuestion() { return QStringLiteral("真的要删除当前维修记录吗？"); }
    static QString listTemplate() { return QStringLiteral("frWXrecMan.frf"); }
    static QString slipTemplate() { return QStringLiteral("frWXrecMan1.frf"); }
    // MemoDate of the printed list: the report-date range the list was made for.
    static QString printedRange(const QDate& from, const QDate& to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpWidgets();
    void setUpGrid();
    void setUpCommands();
    void repairRowChanged(int row);
    void valueListRowChanged();
    void searchTypeChanged();
    void showSummary(const RepairListQuery::Summary& summary);
    void updateNavigation();
    void partsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    bool listEmpty() const;
    void openEditor(RepairEditMode mode);
    void editCurrent();
    void deleteCurrent();
    void move(int step);
    void printList();
    void printSlip();
    void design(const QString& templateName);
    ReportRequest request(const QString& templateName) const;
    void refreshAfterSave(qint64 id);

    std::unique_ptr<Ui::RepairManagerWindow> m_ui;
    DataModule& m_data;
    QDate m_today;
    RecordSet m_list;  // QryTable
    RecordSet m_parts; // QryDetail
    qint64 m_count = 0;
    QStringList m_sumFields; // the money columns whose totals the footer shows
    bool m_partsPinned = false;
    bool m_fillingValueList = false;
    bool m_started = false;
    QLabel* m_countPanel = nullptr;
    QLabel* m_companyPanel = nullptr;

    std::unique_ptr<Report> m_report;
    std::unique_ptr<GuiReportViewer> m_guiViewer;
    std::unique_ptr<ReportService> m_reports;
};
