#pragma once

#include "print/main_form_reports.h"

#include <QDialog>

#include <memory>

class Report;
class ReportService;
namespace Ui {
class ReportManagerDialog;
}

// The report manager (TFrmReportGl, "报表管理器"): designs or previews the main window's four
// forms with the main window's report object and data.
class ReportManagerDialog : public QDialog {
    Q_OBJECT
public:
    ReportManagerDialog(ReportService& service, Report& report, const MainFormReports::Sources& sources,
                        QWidget* parent = nullptr);
    ~ReportManagerDialog() override;

    // "设计" and "预览" on the selected row; nothing without a selection.
    void design();
    void preview();

private:
    std::unique_ptr<Ui::ReportManagerDialog> m_ui;
    ReportService& m_service;
    Report& m_report;
    MainFormReports::Sources m_sources;
};
