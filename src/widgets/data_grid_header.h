#pragma once

#include <QHeaderView>

// Column titles of a data grid. Every column may show its own sort marker (the grid keeps
// one per column, not one for the whole header), read from the model's header data.
class DataGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit DataGridHeader(QWidget* parent = nullptr);

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};
