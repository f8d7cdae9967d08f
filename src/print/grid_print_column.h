#pragma once

#include <QString>
#include <Qt>

// One visible column of a printed grid: the model column, its title and its width on screen.
struct GridPrintColumn {
    int column = 0;
    QString title;
    int widthPixels = 80;
    Qt::Alignment alignment = Qt::AlignLeft;
};
