#include "print/designer_document.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace {

// Keeps the whole layout before and after: templates are small, and this undoes any change.
class SnapshotCommand final : public QUndoCommand {
public:
    SnapshotCommand(DesignerDocument* document, const QString& text, ReportTemplate before,
                    ReportTemplate after)
        : QUndoCommand(text), m_document(document), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void undo() override { m_document->restore(m_before); }
    void redo() override
    {
        // The change is already in place when the command is pushed.
        if (m_first) {
            m_first = false;
            return;
        }
        m_document->restore(m_after);
    }

private:
    DesignerDocument* m_document;
    ReportTemplate m_before;
    ReportTemplate m_after;
    bool m_first = true;
};

} // namespace

DesignerDocument::DesignerDocument(const ReportTemplate& layout, QObject* parent)
    : QObject(parent), m_layout(layout), m_undo(new QUndoStack(this))
{
    m_undo->setUndoLimit(200);
}

DesignerDocument::~DesignerDocument() = default;

bool DesignerDocument::isModified() const
{
    return !m_undo->isClean();
}

void DesignerDocument::setSaved()
{
    m_undo->setClean();
}

void DesignerDocument::edit(const QString& description, const std::function<void(ReportTemplate&)>& change)
{
    ReportTemplate before = m_layout;
    change(m_layout);
    if (m_layout == before)
        return;
    m_undo->push(new SnapshotCommand(this, description, std::move(before), m_layout));
    const Selection selected = m_selection;
    clampSelection();
    Q_EMIT changed();
    if (!(selected == m_selection))
        Q_EMIT selectionChanged();
}

void DesignerDocument::beginLiveEdit()
{
    m_liveStart = m_layout;
    m_live = true;
}

void DesignerDocument::liveChanged()
{
    Q_EMIT changed();
}

void DesignerDocument::endLiveEdit(const QString& description)
{
    if (!m_live)
        return;
    m_live = false;
    if (m_layout == m_liveStart)
        return;
    m_undo->push(new SnapshotCommand(this, description, m_liveStart, m_layout));
    Q_EMIT changed();
}

void DesignerDocument::select(const Selection& selection)
{
    if (selection == m_selection)
        return;
    m_selection = selection;
    clampSelection();
    Q_EMIT selectionChanged();
}

const ReportBand* DesignerDocument::currentBand() const
{
    if (m_selection.band < 0 || m_selection.band >= m_layout.bands.size())
        return nullptr;
    return &m_layout.bands[m_selection.band];
}

const ReportObject* DesignerDocument::currentObject() const
{
    const ReportBand* band = currentBand();
    if (!band || m_selection.objects.size() != 1)
        return nullptr;
    const int i = m_selection.objects.first();
    return i >= 0 && i < band->objects.size() ? &band->objects[i] : nullptr;
}

void DesignerDocument::restore(const ReportTemplate& layout)
{
    m_layout = layout;
    clampSelection();
    Q_EMIT changed();
    Q_EMIT selectionChanged();
}

void DesignerDocument::clampSelection()
{
    if (m_selection.band >= m_layout.bands.size()) {
        m_selection = Selection();
        return;
    }
    if (m_selection.band < 0) {
        m_selection.objects.clear();
        return;
    }
    const int count = int(m_layout.bands[m_selection.band].objects.size());
    m_selection.objects.removeIf([count](int i) { return i < 0 || i >= count; });
}
