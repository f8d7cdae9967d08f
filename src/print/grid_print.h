#pragma once

#include "print/grid_print_column.h"

#include <QList>
#include <QString>

#include <memory>

class QAbstractItemModel;
class ReportDataSource;
class ReportTemplate;

// Builds the layout of a template-less grid print: bold Song title on white, column titles in
// bold white Arial on navy, framed body cells in the Song face, page header left and page footer
// right, on A4. Columns keep their screen proportions and shrink to the page width; a grid too
// wide for a portrait page is printed across.
class GridPrint {
public:
    static constexpr const char* sourceName = "frPrintGrid";

    static ReportTemplate buildTemplate(const QList<GridPrintColumn>& columns, const QString& title,
                                        const QString& footer, const QString& header);
    static std::shared_ptr<ReportDataSource> dataSource(const QAbstractItemModel& model,
                                                        const QList<GridPrintColumn>& columns);
};
