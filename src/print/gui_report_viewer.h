#pragma once

#include "print/report_viewer.h"

#include <QPointer>
#include <QWidget>

class Messenger;

// Shows prepared reports in the preview window and opens the designer, both modal over `parent`.
class GuiReportViewer final : public ReportViewer {
public:
    explicit GuiReportViewer(Messenger& messenger, QWidget* parent = nullptr);

    void setParentWidget(QWidget* parent) { m_parent = parent; }
    void showPreview(const PreparedReport& report) override;
    void showDesigner(Report& report) override;

private:
    Messenger& m_messenger;
    QPointer<QWidget> m_parent;
};
