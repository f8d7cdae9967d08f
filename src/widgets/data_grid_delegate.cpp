#include "widgets/data_grid_delegate.h"

#include <QComboBox>

DataGridDelegate::DataGridDelegate(PickListSource pickLists, QObject* parent)
    : QStyledItemDelegate(parent), m_pickLists(std::move(pickLists))
{
}

QWidget* DataGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    const QStringList values = m_pickLists(index.column());
    if (values.isEmpty())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("pickList"));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFrame(false);
    combo->addItems(values);
    return combo;
}

void DataGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        const int at = combo->findText(text);
        if (at >= 0)
            combo->setCurrentIndex(at);
        else
            combo->setEditText(text);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void DataGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}
