#pragma once

#include "print/report_object.h"

#include <QWidget>

#include <memory>
#include <optional>

class DesignerDocument;
class ReportTextLayout;

// The designer's drawing area: bands one under the other, each with a caption strip; objects are
// selected, moved and resized with the mouse (Shift or Ctrl adds to the selection), band heights
// dragged at their lower edge; arrows move by half a millimetre, Shift+arrows resize.
class DesignerCanvas : public QWidget {
    Q_OBJECT
public:
    explicit DesignerCanvas(DesignerDocument& document, QWidget* parent = nullptr);
    ~DesignerCanvas() override;

    // The kind the next click in a band inserts; nothing to select instead.
    void setInsertKind(std::optional<ReportObject::Kind> kind);
    std::optional<ReportObject::Kind> insertKind() const { return m_insert; }
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }

    // Pixels per millimetre at the current zoom.
    double scale() const;
    // Where a point of a band (millimetres from its top-left) lies on the canvas.
    QPoint toCanvas(int band, const QPointF& mm) const;
    QRectF bandBody(int band) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void objectInserted();
    void editTextRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { None, Move, Resize, BandHeight };
    enum Edge { Left = 1, Top = 2, Right = 4, Bottom = 8, LineStart = 16, LineEnd = 32 };

    struct Hit {
        int band = -1;
        int object = -1;
        int handle = 0; // Edge flags of a resize handle
        bool bandEdge = false;
    };

    void relayout();
    Hit hitTest(const QPointF& pos) const;
    QRectF objectRect(int band, int object) const;
    QList<QPair<int, QRectF>> handles() const; // edge flags, rectangle
    QPointF toMm(int band, const QPointF& pos) const;
    double snap(double mm, bool free) const;
    void insertAt(int band, const QPointF& mm);
    void drawObject(QPainter& painter, const ReportObject& object, const QPointF& origin) const;
    void updateCursor(const QPointF& pos);

    DesignerDocument& m_document;
    std::unique_ptr<ReportTextLayout> m_text;
    std::optional<ReportObject::Kind> m_insert;
    double m_zoom = 1.0;
    QList<double> m_bandTops; // top of each band's body, pixels

    Drag m_drag = Drag::None;
    int m_dragHandle = 0;
    QPointF m_dragStart;
    QList<QRectF> m_startRects;
    double m_startHeight = 0;
};
