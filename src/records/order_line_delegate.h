#pragma once

#include "widgets/data_grid_delegate.h"

#include <QColor>

#include <functional>

// Draws the goods lines of the order editor: read-only columns shaded, an amount that would
// take stock below zero in red, and the button of the 名称 column that opens the goods
// picker. Editing stays the grid's own.
class OrderLineDelegate : public DataGridDelegate {
    Q_OBJECT
public:
    struct Look {
        QColor background; // invalid: the grid's own
        QColor text;
        bool button = false;
    };
    using LookSource = std::function<Look(const QModelIndex& index)>;

    OrderLineDelegate(PickListSource pickLists, LookSource looks, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // Where the button of a cell is drawn.
    static QRect buttonRect(const QRect& cell);

Q_SIGNALS:
    void buttonClicked(const QModelIndex& index);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    LookSource m_looks;
};
