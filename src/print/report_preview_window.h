#pragma once

#include "print/prepared_report.h"

#include <QDialog>

#include <functional>

class Messenger;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QSpinBox;
class ReportPageView;

// The print preview (TfrmPreview): pages at any zoom, page by page, printing through the system
// print dialog, and saving as PDF, CSV (";"), HTML or plain text.
class ReportPreviewWindow : public QDialog {
    Q_OBJECT
public:
    // Returns the chosen file name and its filter, empty when cancelled.
    using FileChooser = std::function<QString(QWidget* parent, const QString& suggested,
                                              const QString& filters, QString* selectedFilter)>;
    // Shows the print dialog for the printer; true when the user confirmed.
    using PrintDialog = std::function<bool(QWidget* parent, QPrinter& printer, int pageCount)>;
    enum class ZoomMode { WholePage, PageWidth, Percent };

    ReportPreviewWindow(const PreparedReport& report, Messenger& messenger, QWidget* parent = nullptr);
    ~ReportPreviewWindow() override;

    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    void setPrintDialog(PrintDialog dialog) { m_printDialog = std::move(dialog); }

    int currentPage() const;
    void showPage(int page);
    void setZoomMode(ZoomMode mode, int percent = 100);
    double zoom() const;

    // "打印": the system print dialog, then the chosen pages.
    bool print();
    // "另存为" and "导出PDF": asks for a file, then writes it.
    bool saveAs(bool pdfOnly = false);
    // Writes the report to the file in the format of its suffix; reports failures.
    bool exportTo(const QString& path);
    // "查找": the next text (after the last one found) that contains `text`, ignoring case; it is
    // shown and marked. False, with a message, when there is none.
    bool find(const QString& text);
    // Prints every page onto a printer already set up.
    static void printTo(const PreparedReport& report, QPrinter& printer, int fromPage = 1, int toPage = 0);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyZoom();
    void updatePageControls();
    void zoomChosen(int index);

    PreparedReport m_report;
    Messenger& m_messenger;
    ReportPageView* m_view;
    QScrollArea* m_scroll;
    QSpinBox* m_pageSpin;
    QLabel* m_pageCount;
    QComboBox* m_zoomBox;
    QLineEdit* m_findEdit;
    int m_foundPage = -1;
    int m_foundItem = -1;
    ZoomMode m_zoomMode = ZoomMode::PageWidth;
    int m_percent = 100;
    FileChooser m_chooseFile;
    PrintDialog m_printDialog;
};
