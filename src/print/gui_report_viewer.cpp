#include "print/gui_report_viewer.h"

#include "print/report_designer_window.h"
#include "print/report_preview_window.h"

GuiReportViewer::GuiReportViewer(Messenger& messenger, QWidget* parent)
    : m_messenger(messenger), m_parent(parent)
{
}

void GuiReportViewer::showPreview(const PreparedReport& report)
{
    ReportPreviewWindow window(report, m_messenger, m_parent);
    window.exec();
}

void GuiReportViewer::showDesigner(Report& report)
{
    ReportDesignerWindow window(report, m_messenger, m_parent);
    window.exec();
}
