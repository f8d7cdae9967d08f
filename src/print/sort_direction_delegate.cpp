#include "print/sort_direction_delegate.h"

#include <QComboBox>

QStringList SortDirectionDelegate::choices()
{
    return {QString(), QStringLiteral("升序"), QStringLiteral("降序")};
}

QWidget* SortDirectionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                             const QModelIndex& index) const
{
    if (index.column() != DirectionColumn)
        return nullptr; // the titles are fixed
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("cbbDirection"));
    combo->addItems(choices());
    return combo;
}

void SortDirectionDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* combo = static_cast<QComboBox*>(editor);
    combo->setCurrentIndex(qMax(0, combo->findText(index.data().toString())));
}

void SortDirectionDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                         const QModelIndex& index) const
{
    model->setData(index, static_cast<QComboBox*>(editor)->currentText());
}
