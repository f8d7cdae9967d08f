#include "widgets/combo_items.h"

#include "data/data_services.h"

#include <QComboBox>

namespace ComboItems {

void fill(QComboBox* combo, const QStringList& items)
{
    combo->clear();
    combo->addItems(items);
}

void select(QComboBox* combo, const QString& text)
{
    QStringList items;
    items.reserve(combo->count());
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    const int index = DataServices::matchComboItem(items, text, combo->currentIndex());
    if (index != combo->currentIndex())
        combo->setCurrentIndex(index);
}

} // namespace ComboItems
