#pragma once

#include <QStyledItemDelegate>

// The direction column of the sort dialog: a choice of "", "升序" and "降序".
class SortDirectionDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int DirectionColumn = 1;
    static QStringList choices();

    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};
