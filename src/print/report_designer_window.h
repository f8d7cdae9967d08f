#pragma once

#include "print/report_object.h"

#include <QDialog>

#include <functional>

class DesignerCanvas;
class DesignerDocument;
class DesignerPropertyPanel;
class Messenger;
class QTreeWidget;
class QTreeWidgetItem;
class Report;
class ReportPreviewWindow;

// The template designer (TfrmDesigner): bands and objects edited with the mouse and the property
// panel, fields picked from the data sources tied to the report, undo and redo, a preview with
// the data of the moment, and saving back to the file the template came from.
class ReportDesignerWindow : public QDialog {
    Q_OBJECT
public:
    // Lets tests look at (and close) the preview instead of it running modally.
    using PreviewHook = std::function<void(ReportPreviewWindow& preview)>;

    ReportDesignerWindow(Report& report, Messenger& messenger, QWidget* parent = nullptr);
    ~ReportDesignerWindow() override;

    DesignerDocument& document() { return *m_document; }
    DesignerCanvas* canvas() const { return m_canvas; }
    void setPreviewHook(PreviewHook hook) { m_previewHook = std::move(hook); }

    bool save();
    void preview();
    void addBand(int kind);
    void deleteSelection();
    // Aligns the selected objects with the first one selected: 0 left, 1 right, 2 top, 3 bottom,
    // 4 same width, 5 same height, 6 centre horizontally in the band.
    void align(int how);
    // Copies the selected objects; pastes them into the selected band, a little lower and right.
    void copySelection();
    void paste();
    // Adds a field of a tied data source to the selected band, or into the selected text.
    void insertField(const QString& source, const QString& field);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool confirmClose();
    void fillFieldTree();
    void fieldActivated(QTreeWidgetItem* item);
    void updateTitle();

    Report& m_report;
    Messenger& m_messenger;
    DesignerDocument* m_document;
    DesignerCanvas* m_canvas;
    DesignerPropertyPanel* m_properties;
    QTreeWidget* m_fields;
    PreviewHook m_previewHook;
    QList<ReportObject> m_clipboard;
    bool m_closing = false;
};
