#pragma once

#include <QWidget>

class PreparedReport;

// Shows one prepared page at a zoom factor (1.0 = the sheet's real size on this screen).
class ReportPageView : public QWidget {
    Q_OBJECT
public:
    explicit ReportPageView(const PreparedReport& report, QWidget* parent = nullptr);

    int page() const { return m_page; }
    void setPage(int page);
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    // Sheet size in pixels at zoom 1.0.
    QSizeF naturalSize() const;
    // Marks a found text (millimetres on the sheet); an empty rectangle clears the mark.
    void setHighlight(const QRectF& mm);
    // Where a point of the sheet (millimetres) is in this widget.
    QPointF toWidget(const QPointF& mm) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PreparedReport& m_report;
    int m_page = 0;
    double m_zoom = 1.0;
    QRectF m_highlight;
};
