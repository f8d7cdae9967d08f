#pragma once

#include "print/report_template.h"

#include <QList>
#include <QObject>

#include <functional>

class QUndoStack;

// The template being designed, what is selected in it and the undo history. The canvas and the
// property panel both edit through it, so every change can be undone the same way.
class DesignerDocument : public QObject {
    Q_OBJECT
public:
    struct Selection {
        int band = -1;      // the band selected, or the band of the selected objects
        QList<int> objects; // objects of that band
        bool operator==(const Selection&) const = default;
    };

    explicit DesignerDocument(const ReportTemplate& layout, QObject* parent = nullptr);
    ~DesignerDocument() override;

    const ReportTemplate& layout() const { return m_layout; }
    QUndoStack* undoStack() const { return m_undo; }
    bool isModified() const;
    void setSaved();

    // One undoable change.
    void edit(const QString& description, const std::function<void(ReportTemplate&)>& change);
    // A change made step by step (dragging with the mouse): the steps show at once, the whole
    // drag becomes one undo step when it ends.
    void beginLiveEdit();
    ReportTemplate& liveLayout() { return m_layout; }
    void liveChanged();
    void endLiveEdit(const QString& description);

    const Selection& selection() const { return m_selection; }
    void select(const Selection& selection);
    void selectBand(int band) { select({band, {}}); }
    void selectObject(int band, int object) { select({band, {object}}); }
    // The single selected object, or null.
    const ReportObject* currentObject() const;
    const ReportBand* currentBand() const;

    // Called by the undo commands.
    void restore(const ReportTemplate& layout);

Q_SIGNALS:
    void changed();
    void selectionChanged();

private:
    void clampSelection();

    ReportTemplate m_layout;
    ReportTemplate m_liveStart;
    bool m_live = false;
    Selection m_selection;
    QUndoStack* m_undo;
};
