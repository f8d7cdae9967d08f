#include "data/grid_excel_exporter.h"

#include "data/record_set.h"
#include "data/sql_value.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kMaxSheetName = 31;
// Excel keeps at most this many characters in a cell.
constexpr int kMaxCellText = 32767;

QByteArray cellText(const QString& text)
{
    if (text.size() <= kMaxCellText)
        return text.toUtf8();
    int cut = kMaxCellText;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut).toUtf8();
}

bool isNumberType(ColumnType type)
{
    switch (type) {
    case ColumnType::Double:
    case ColumnType::Long:
    case ColumnType::Integer:
    case ColumnType::AutoId:
        return true;
    default:
        return false;
    }
}

// The field's own text form, as a text cell shows it.
QString plainText(const QVariant& value, ColumnType type)
{
    if (type == ColumnType::Double || value.typeId() == QMetaType::Double ||
        value.typeId() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

} // namespace

struct GridExcelExporter::Column {
    int sheetColumn = 0;
    int field = -1;                     // -1: the record set has no such field, the cells stay empty
    lxw_format* numberFormat = nullptr; // null: a text column
};

GridExcelExporter::GridExcelExporter(RecordSet& records, const QList<GridColumn>& columns,
                                     const QString& title)
    : m_records(records), m_gridColumns(columns), m_title(title)
{
}

GridExcelExporter::~GridExcelExporter()
{
    discard();
}

QString GridExcelExporter::sheetName(const QString& title)
{
    static const QString invalid = QStringLiteral("[]:*?/\\");
    QString name;
    for (const QChar c : title) {
        if (invalid.contains(c) || c.category() == QChar::Other_Control)
            name += QLatin1Char('_');
        else
            name += c;
    }
    name = name.trimmed();
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    // Characters, not UTF-16 units: a surrogate pair is one character to Excel.
    const auto points = name.toUcs4();
    if (points.size() > kMaxSheetName)
        name = QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()), kMaxSheetName);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    name = name.trimmed();
    if (name.isEmpty())
        return QStringLiteral("Sheet1");
    // Excel keeps this name for itself.
    if (name.compare(QLatin1String("History"), Qt::CaseInsensitive) == 0)
        return name + QLatin1Char('_');
    return name;
}

QString GridExcelExporter::excelNumberFormat(const QString& displayFormat)
{
    const QString format = displayFormat.trimmed();
    if (format.isEmpty())
        return {};
    for (const QChar c : format) {
        if (!QStringLiteral("0#,.").contains(c))
            return format; // not one of ours: taken as an Excel code already
    }
    const bool grouping = format.contains(QLatin1Char(','));
    QString plain = format;
    plain.remove(QLatin1Char(','));
    const int point = int(plain.indexOf(QLatin1Char('.')));
    QString whole = point < 0 ? plain : plain.left(point);
    const QString decimals = point < 0 ? QString() : plain.mid(point + 1).remove(QLatin1Char('.'));
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    if (grouping) {
        while (whole.size() < 4)
            whole.prepend(QLatin1Char('#'));
        whole.insert(whole.size() - 3, QLatin1Char(','));
    }
    return decimals.isEmpty() ? whole : whole + QLatin1Char('.') + decimals;
}

qint64 GridExcelExporter::rowsTotal() const
{
    return m_records.isFullyLoaded() ? m_records.rowCountLoaded() : -1;
}

bool GridExcelExporter::fail(const QString& text)
{
    m_error = text;
    discard();
    return false;
}

void GridExcelExporter::discard()
{
    for (const auto& connection : std::as_const(m_watch))
        QObject::disconnect(connection);
    m_watch.clear();
    if (m_workbook) {
        lxw_workbook_free(m_workbook);
        m_workbook = nullptr;
        m_sheet = nullptr;
        m_textFormat = nullptr;
    }
    if (!m_partFile.isEmpty()) {
        QFile::remove(m_partFile);
        m_partFile.clear();
    }
    m_columns.clear();
}

bool GridExcelExporter::begin(const QString& fileName)
{
    discard();
    m_error.clear();
    m_cancelled = false;
    m_changedUnderneath = false;
    m_nextRow = 0;
    m_written = 0;
    m_target = fileName;
    if (!m_records.isOpen())
        return fail(QStringLiteral("the list is not open"));

    // A name of our own beside the target, so that the final rename stays on one file system.
    // Created here (with the user's usual permissions, unlike a private temporary file) so that
    // an unwritable folder fails now rather than after every row is written.
    const QFileInfo target(fileName);
    for (int attempt = 0; attempt < 100 && m_partFile.isEmpty(); ++attempt) {
        const quint32 tag = QRandomGenerator::global()->generate();
        const QString candidate = target.absoluteDir().filePath(
            QStringLiteral(".%1.%2.part").arg(target.fileName()).arg(tag, 8, 16, QLatin1Char('0')));
        QFile part(candidate);
        if (part.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            m_partFile = candidate;
        else if (!part.exists())
            return fail(part.errorString());
    }
    if (m_partFile.isEmpty())
        return fail(QStringLiteral("no free name for the temporary file"));

    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    const QByteArray path = QFile::encodeName(m_partFile);
    m_workbook = workbook_new_opt(path.constData(), &options);
    if (!m_workbook)
        return fail(QStringLiteral("the workbook could not be created"));
    const QByteArray sheet = sheetName(m_title).toUtf8();
    m_sheet = workbook_add_worksheet(m_workbook, sheet.constData());
    if (!m_sheet)
        return fail(QStringLiteral("the sheet could not be created"));
    m_textFormat = workbook_add_format(m_workbook);
    format_set_num_format(m_textFormat, "@");

    // Positions count every column, hidden ones included, so those leave empty sheet columns.
    for (int position = 0; position < m_gridColumns.size(); ++position) {
        const GridColumn& grid = m_gridColumns.at(position);
        if (!grid.visible)
            continue;
        Column column;
        column.sheetColumn = position;
        column.field = m_records.fieldIndex(grid.fieldName);
        const QString code = excelNumberFormat(grid.displayFormat);
        if (!code.isEmpty()) {
            column.numberFormat = workbook_add_format(m_workbook);
            format_set_num_format(column.numberFormat, code.toUtf8().constData());
        }
        // Columns are sized before any row is written, as constant memory requires.
        worksheet_set_column(m_sheet, lxw_col_t(position), lxw_col_t(position), qMax(4.0, grid.width / 7.0),
                             nullptr);
        m_columns << column;
    }
    for (const Column& column : std::as_const(m_columns)) {
        const QByteArray title = cellText(m_gridColumns.at(column.sheetColumn).title);
        worksheet_write_string(m_sheet, 0, lxw_col_t(column.sheetColumn), title.constData(), nullptr);
    }

    // Rows read further on are welcome; anything that moves or drops rows already written is not.
    const auto changed = [this] { m_changedUnderneath = true; };
    m_watch << QObject::connect(&m_records, &QAbstractItemModel::modelAboutToBeReset, changed)
            << QObject::connect(&m_records, &QAbstractItemModel::layoutAboutToBeChanged, changed)
            << QObject::connect(&m_records, &QAbstractItemModel::rowsAboutToBeRemoved, changed);
    return true;
}

void GridExcelExporter::writeRow(int row)
{
    const lxw_row_t sheetRow = lxw_row_t(m_written + 1);
    for (const Column& column : std::as_const(m_columns)) {
        if (column.field < 0)
            continue;
        const QVariant value = m_records.value(row, column.field);
        if (!value.isValid() || value.isNull())
            continue;
        const lxw_col_t sheetColumn = lxw_col_t(column.sheetColumn);
        const ColumnType type = m_records.fieldType(column.field);
        if (type == ColumnType::Date || value.typeId() == QMetaType::QDate ||
            value.typeId() == QMetaType::QDateTime) {
            // The no-date value and anything before the threshold stay empty, as in the grid.
            const QString text = SqlDates::display(value);
            if (!text.isEmpty())
                worksheet_write_string(m_sheet, sheetRow, sheetColumn, text.toUtf8().constData(),
                                       m_textFormat);
            continue;
        }
        if (type == ColumnType::Bool || value.typeId() == QMetaType::Bool) {
            worksheet_write_boolean(m_sheet, sheetRow, sheetColumn, value.toBool(), nullptr);
            continue;
        }
        if (column.numberFormat) {
            bool isNumber = isNumberType(type);
            double number = 0;
            if (isNumber) {
                number = value.toDouble();
            } else {
                // Text in a formatted column becomes a number when it reads as one, as Excel
                // itself does with a value typed into a number cell.
                number = value.toString().trimmed().toDouble(&isNumber);
            }
            if (isNumber && std::isfinite(number)) {
                worksheet_write_number(m_sheet, sheetRow, sheetColumn, number, column.numberFormat);
                continue;
            }
            const QByteArray text = cellText(value.toString());
            worksheet_write_string(m_sheet, sheetRow, sheetColumn, text.constData(), column.numberFormat);
            continue;
        }
        const QByteArray text = cellText(plainText(value, type));
        worksheet_write_string(m_sheet, sheetRow, sheetColumn, text.constData(), m_textFormat);
    }
}

GridExcelExporter::Step GridExcelExporter::step(int rows)
{
    if (!m_workbook)
        return Step::Failed;
    for (int done = 0; done < rows; ++done) {
        if (m_changedUnderneath) {
            fail(QStringLiteral("the list changed while it was being exported"));
            return Step::Failed;
        }
        if (m_nextRow >= m_records.rowCountLoaded()) {
            if (!m_records.isFullyLoaded())
                m_records.fetchMore(QModelIndex());
            if (m_nextRow >= m_records.rowCountLoaded()) {
                // Nothing more came: the end, or a failed read that fetchAll reports.
                if (!m_records.isFullyLoaded() || !m_records.fetchAll()) {
                    const QString reason = m_records.lastError();
                    fail(reason.isEmpty() ? QStringLiteral("the rows could not be read") : reason);
                    return Step::Failed;
                }
                // Rows written in this call are reported first, so a cancel can still come.
                if (done > 0)
                    return Step::More;
                return finish() ? Step::Done : Step::Failed;
            }
        }
        if (m_written + 1 >= LXW_ROW_MAX) {
            fail(QStringLiteral("the list has more rows than a worksheet holds"));
            return Step::Failed;
        }
        writeRow(m_nextRow++);
        ++m_written;
    }
    return Step::More;
}

bool GridExcelExporter::allRowsWritten() const
{
    return m_workbook && m_records.isFullyLoaded() && m_nextRow >= m_records.rowCountLoaded();
}

bool GridExcelExporter::finish()
{
    if (!m_workbook)
        return false;
    for (const auto& connection : std::as_const(m_watch))
        QObject::disconnect(connection);
    m_watch.clear();
    const lxw_error result = workbook_close(m_workbook);
    m_workbook = nullptr;
    m_sheet = nullptr;
    m_textFormat = nullptr;
    if (result != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(result)));
    // rename() replaces an existing file in one step; the user agreed to that when choosing it.
    if (std::rename(QFile::encodeName(m_partFile).constData(), QFile::encodeName(m_target).constData()) != 0)
        return fail(QStringLiteral("the workbook could not be saved as %1").arg(m_target));
    m_partFile.clear();
    m_columns.clear();
    return true;
}

void GridExcelExporter::cancel()
{
    if (m_workbook || !m_partFile.isEmpty()) {
        m_cancelled = true;
        m_error = QStringLiteral("cancelled");
    }
    discard();
}

bool GridExcelExporter::write(const QString& fileName, const Progress& progress)
{
    if (!begin(fileName))
        return false;
    constexpr int kRowsPerStep = 2000;
    while (true) {
        const Step result = step(kRowsPerStep);
        if (result == Step::Failed)
            return false;
        if (result == Step::Done)
            return true;
        if (progress && !progress(m_written, rowsTotal())) {
            cancel();
            return false;
        }
    }
}
