#pragma once

#include <QDate>
#include <QString>

class DataGrid;
class Messenger;
class QWidget;

// Exports a grid's record set to an Excel workbook from a window: asks where to save, shows
// progress for a long list (the window keeps drawing, and the export can be cancelled, leaving
// no file), then opens the workbook in the spreadsheet program when there is one.
namespace DataGridExport {

// "<title>_<yyyyMMdd>.xlsx", with the characters a file name cannot hold replaced.
QString defaultFileName(const QString& title, const QDate& day);

// Writes the workbook; false when it failed (reported) or was cancelled (silent).
bool exportToFile(DataGrid& grid, const QString& title, const QString& fileName, Messenger& messenger,
                  QWidget* parent);

// The whole command: file dialog in the documents folder, export, open.
void exportToExcel(DataGrid& grid, const QString& title, Messenger& messenger, QWidget* parent);

} // namespace DataGridExport
