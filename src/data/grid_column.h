#pragma once

#include <QString>

// One column of a data grid as a layout describes it: which field it shows and how. The
// codes of the footer type and the alignment are the ones cfg_Grid stores.
struct GridColumn {
    enum class Footer { None = 0, Text = 1, Sum = 2 };
    enum class Alignment { Left = 0, Centre = 1, Right = 2 };

    QString fieldName;
    QString title;
    int width = 80; // pixels
    bool visible = true;
    bool readOnly = false;
    // A number display format ("0.##", ",0.00"); also used by the footer. Empty: shown as stored.
    QString displayFormat;
    Footer footer = Footer::None;
    QString footerValue; // the text of a Text footer
    Alignment alignment = Alignment::Left;

    bool operator==(const GridColumn&) const = default;
};
