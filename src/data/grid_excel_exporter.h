#pragma once

#include "data/grid_column.h"

#include <QList>
#include <QMetaObject>
#include <QString>

#include <functional>
#include <memory>

class RecordSet;
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// Writes the rows of a record set into a new .xlsx workbook, laid out like the grid: row 1
// holds the titles of the visible columns at their positions (a hidden column leaves its sheet
// column empty), then one row per record, all of them, not only those read so far. Columns
// without a display format are written as text ("0123" stays 0123), the others as numbers in
// their format; dates are text yyyy-MM-dd and blank before 1901-08-14.
//
// The workbook is built in constant memory in a temporary file beside the target and renamed
// only when complete, so a failed or cancelled export leaves no file behind. The record set is
// read on the calling thread; it must not be re-queried or re-sorted while the export runs
// (the export then stops with an error).
class GridExcelExporter {
public:
    enum class Step { More, Done, Failed };
    // Rows written and rows known (-1 while the record set is still being read); return false
    // to cancel.
    using Progress = std::function<bool(qint64 written, qint64 total)>;

    GridExcelExporter(RecordSet& records, const QList<GridColumn>& columns, const QString& title);
    ~GridExcelExporter();
    GridExcelExporter(const GridExcelExporter&) = delete;
    GridExcelExporter& operator=(const GridExcelExporter&) = delete;

    // The whole export in one call; false when it failed or was cancelled (see error()).
    bool write(const QString& fileName, const Progress& progress = {});

    // The same in steps, for a window that keeps its event loop running between them.
    bool begin(const QString& fileName);
    // Writes up to `rows` more rows; once every row is written, the next call completes the file.
    Step step(int rows);
    void cancel();
    // True when every row is written and only completing the file remains.
    bool allRowsWritten() const;
    // Completes the file (the longest single part of a large export). It touches neither the
    // record set nor any widget, so a window may run it on a worker thread once
    // allRowsWritten() is true, and keep drawing meanwhile.
    bool finish();

    qint64 rowsWritten() const { return m_written; }
    // All rows when the record set is read to the end, otherwise -1.
    qint64 rowsTotal() const;
    bool wasCancelled() const { return m_cancelled; }
    QString error() const { return m_error; }

    // The title made a valid sheet name: at most 31 characters, none of []:*?/\, no quote at
    // either end, not empty.
    static QString sheetName(const QString& title);
    // Our display format as an Excel number format: ",0.00" becomes "#,##0.00", "0." becomes "0".
    static QString excelNumberFormat(const QString& displayFormat);

private:
    struct Column;

    bool fail(const QString& text);
    void discard();
    void writeRow(int row);

    RecordSet& m_records;
    QList<GridColumn> m_gridColumns;
    QString m_title;
    QList<Column> m_columns;
    lxw_workbook* m_workbook = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format* m_textFormat = nullptr;
    QString m_target;
    QString m_partFile;
    int m_nextRow = 0;
    qint64 m_written = 0;
    bool m_cancelled = false;
    bool m_changedUnderneath = false;
    QString m_error;
    QList<QMetaObject::Connection> m_watch;
};
