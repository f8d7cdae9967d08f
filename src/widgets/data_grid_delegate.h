#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>

// Cell editor of a data grid: a drop-down list for columns with a pick list (values may still
// be typed), the usual editor otherwise.
class DataGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using PickListSource = std::function<QStringList(int column)>;

    explicit DataGridDelegate(PickListSource pickLists, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    PickListSource m_pickLists;
};
