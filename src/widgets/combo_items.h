#pragma once

#include <QStringList>

class QComboBox;

// Drop-down lists filled from code lists.
namespace ComboItems {
// Replaces the items, keeping their order.
void fill(QComboBox* combo, const QStringList& items);
// Selects the item equal to the text (both trimmed, letter case ignored; the last equal item
// wins); leaves the selection as it was when no item is equal.
void select(QComboBox* combo, const QString& text);
} // namespace ComboItems
