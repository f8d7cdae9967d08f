#include "print/report_manager_dialog.h"

#include "print/report_service.h"
#include "ui_report_manager_dialog.h"

ReportManagerDialog::ReportManagerDialog(ReportService& service, Report& report,
                                         const MainFormReports::Sources& sources, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ReportManagerDialog>()), m_service(service),
      m_report(report), m_sources(sources)
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_ui->ListBox1->setCurrentRow(-1);
    connect(m_ui->btnDesign, &QPushButton::clicked, this, &ReportManagerDialog::design);
    connect(m_ui->btnPreview, &QPushButton::clicked, this, &ReportManagerDialog::preview);
    connect(m_ui->btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->ListBox1, &QListWidget::itemDoubleClicked, this, &ReportManagerDialog::preview);
    // Single border: the window keeps the size of its layout.
    adjustSize();
    setFixedSize(size());
}

ReportManagerDialog::~ReportManagerDialog() = default;

void ReportManagerDialog::design()
{
    const int row = m_ui->ListBox1->currentRow();
    if (row < 0 || m_ui->ListBox1->selectedItems().isEmpty())
        return;
    m_service.design(m_report, MainFormReports::request(MainFormReports::Form(row), m_sources, true));
}

void ReportManagerDialog::preview()
{
    const int row = m_ui->ListBox1->currentRow();
    if (row < 0 || m_ui->ListBox1->selectedItems().isEmpty())
        return;
    m_service.print(m_report, MainFormReports::request(MainFormReports::Form(row), m_sources, true));
}
