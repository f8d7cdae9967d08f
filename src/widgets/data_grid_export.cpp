#include "widgets/data_grid_export.h"

#include "data/grid_excel_exporter.h"
#include "data/messenger.h"
#include "data/record_set.h"
#include "widgets/data_grid.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QUrl>

#include <chrono>
#include <future>

namespace {

// Rows written between two turns of the event loop: a few milliseconds of work.
constexpr int kRowsPerStep = 1000;

bool hasSpreadsheetProgram()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The desktop opens a file only when some program is registered for its type.
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    QProcess query;
    query.start(xdgMime,
                {QStringLiteral("query"), QStringLiteral("default"),
                 QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet")});
    if (!query.waitForFinished(3000))
        return false;
    return !query.readAllStandardOutput().trimmed().isEmpty();
#else
    return true;
#endif
}

QString failureText(const QString& reason)
{
    return QStringLiteral("导出Excel文件失败：%1").arg(reason);
}

} // namespace

namespace DataGridExport {

QString defaultFileName(const QString& title, const QDate& day)
{
    QString base = title.trimmed();
    for (QChar& c : base) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    if (base.isEmpty())
        base = QStringLiteral("Sheet1");
    return base + QLatin1Char('_') + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".xlsx");
}

bool exportToFile(DataGrid& grid, const QString& title, const QString& fileName, Messenger& messenger,
                  QWidget* parent)
{
    RecordSet* records = grid.recordSet();
    if (!records || !records->isOpen()) {
        messenger.error(failureText(QStringLiteral("列表没有数据")));
        return false;
    }
    GridExcelExporter exporter(*records, grid.columns(), title);
    if (!exporter.begin(fileName)) {
        messenger.error(failureText(exporter.error()));
        return false;
    }
    QProgressDialog progress(QStringLiteral("正在导出到Excel..."), QStringLiteral("取消"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("exportProgress"));
    progress.setWindowTitle(QStringLiteral("导出Excel"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    while (!exporter.allRowsWritten()) {
        if (exporter.step(kRowsPerStep) == GridExcelExporter::Step::Failed) {
            progress.close();
            messenger.error(failureText(exporter.error()));
            return false;
        }
        const qint64 total = exporter.rowsTotal();
        if (total > 0 && progress.maximum() != int(total))
            progress.setMaximum(int(total));
        progress.setValue(int(exporter.rowsWritten()));
        QCoreApplication::processEvents();
        if (progress.wasCanceled()) {
            exporter.cancel();
            return false;
        }
    }
    // Compressing the workbook takes seconds for a long list and needs neither the rows nor the
    // window, so it runs beside the event loop; it can no longer be cancelled.
    progress.setLabelText(QStringLiteral("正在保存Excel文件..."));
    progress.setCancelButton(nullptr);
    auto finished = std::async(std::launch::async, [&exporter] { return exporter.finish(); });
    while (finished.wait_for(std::chrono::milliseconds(30)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 30);
    progress.close();
    if (!finished.get()) {
        messenger.error(failureText(exporter.error()));
        return false;
    }
    return true;
}

void exportToExcel(DataGrid& grid, const QString& title, Messenger& messenger, QWidget* parent)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString fileName =
        QFileDialog::getSaveFileName(parent, QStringLiteral("导出到Excel"),
                                     QDir(folder).filePath(defaultFileName(title, QDate::currentDate())),
                                     QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (fileName.isEmpty())
        return;
    if (!fileName.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        fileName += QStringLiteral(".xlsx");
    if (!exportToFile(grid, title, fileName, messenger, parent))
        return;
    if (!hasSpreadsheetProgram() || !QDesktopServices::openUrl(QUrl::fromLocalFile(fileName)))
        messenger.info(QStringLiteral("已导出到：%1").arg(QDir::toNativeSeparators(fileName)));
}

} // namespace DataGridExport
