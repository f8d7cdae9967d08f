#pragma once

#include <QWidget>

#include <functional>

class QHeaderView;

// The footer row of a data grid: one cell under each visible column, lined up with the
// column titles as they are resized, moved and scrolled.
class DataGridFooter : public QWidget {
    Q_OBJECT
public:
    struct Cell {
        QString text;
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    using CellSource = std::function<Cell(int logicalColumn)>;

    DataGridFooter(QHeaderView* header, CellSource cells, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHeaderView* m_header;
    CellSource m_cells;
};
