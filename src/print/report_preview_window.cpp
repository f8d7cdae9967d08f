#include "print/report_preview_window.h"

#include "data/messenger.h"
#include "print/report_exporter.h"
#include "print/report_page_view.h"
#include "print/report_renderer.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const int kPercents[] = {50, 75, 100, 125, 150, 200, 300};

QString defaultFileChooser(QWidget* parent, const QString& suggested, const QString& filters,
                           QString* selected)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("保存报表"), suggested, filters, selected);
}

bool defaultPrintDialog(QWidget* parent, QPrinter& printer, int pageCount)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印"));
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    return dialog.exec() == QDialog::Accepted;
}

QAction* toolAction(QToolBar* bar, const QString& name, const QString& text, const QKeySequence& key = {})
{
    QAction* a = bar->addAction(text);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    bar->widgetForAction(a)->setObjectName(name);
    return a;
}

} // namespace

ReportPreviewWindow::ReportPreviewWindow(const PreparedReport& report, Messenger& messenger, QWidget* parent)
    : QDialog(parent), m_report(report), m_messenger(messenger), m_chooseFile(defaultFileChooser),
      m_printDialog(defaultPrintDialog)
{
    setObjectName(QStringLiteral("TfrmPreview"));
    setWindowTitle(m_report.title.isEmpty() ? QStringLiteral("打印预览")
                                            : QStringLiteral("打印预览 - %1").arg(m_report.title));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(980, 760);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbPreview"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* print = toolAction(bar, QStringLiteral("tbPrint"), QStringLiteral("打印"), QKeySequence::Print);
    QAction* pdf = toolAction(bar, QStringLiteral("tbPdf"), QStringLiteral("导出PDF"));
    QAction* save = toolAction(bar, QStringLiteral("tbSave"), QStringLiteral("另存为"), QKeySequence::Save);
    bar->addSeparator();
    QAction* first = toolAction(bar, QStringLiteral("tbFirst"), QStringLiteral("首页"));
    QAction* prior = toolAction(bar, QStringLiteral("tbPrior"), QStringLiteral("上一页"));
    m_pageSpin = new QSpinBox(bar);
    m_pageSpin->setObjectName(QStringLiteral("spnPage"));
    m_pageSpin->setRange(1, qMax(1, m_report.pageCount()));
    m_pageSpin->setKeyboardTracking(false);
    bar->addWidget(m_pageSpin);
    m_pageCount = new QLabel(QStringLiteral(" / %1 ").arg(m_report.pageCount()), bar);
    m_pageCount->setObjectName(QStringLiteral("lblPageCount"));
    bar->addWidget(m_pageCount);
    QAction* next = toolAction(bar, QStringLiteral("tbNext"), QStringLiteral("下一页"));
    QAction* last = toolAction(bar, QStringLiteral("tbLast"), QStringLiteral("末页"));
    bar->addSeparator();
    bar->addWidget(new QLabel(QStringLiteral(" 显示比例 "), bar));
    m_zoomBox = new QComboBox(bar);
    m_zoomBox->setObjectName(QStringLiteral("cbbZoom"));
    m_zoomBox->addItem(QStringLiteral("整页"));
    m_zoomBox->addItem(QStringLiteral("页宽"));
    for (int p : kPercents)
        m_zoomBox->addItem(QStringLiteral("%1%").arg(p), p);
    m_zoomBox->setCurrentIndex(1);
    bar->addWidget(m_zoomBox);
    bar->addSeparator();
    m_findEdit = new QLineEdit(bar);
    m_findEdit->setObjectName(QStringLiteral("edtFind"));
    m_findEdit->setPlaceholderText(QStringLiteral("查找内容"));
    m_findEdit->setMaximumWidth(160);
    bar->addWidget(m_findEdit);
    QAction* find = toolAction(bar, QStringLiteral("tbFind"), QStringLiteral("查找"), QKeySequence::Find);
    bar->addSeparator();
    QAction* close = toolAction(bar, QStringLiteral("tbClose"), QStringLiteral("关闭"));

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrollPages"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new ReportPageView(m_report);
    m_scroll->setWidget(m_view);
    m_scroll->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_scroll, 1);

    connect(print, &QAction::triggered, this, [this] { this->print(); });
    connect(pdf, &QAction::triggered, this, [this] { saveAs(true); });
    connect(save, &QAction::triggered, this, [this] { saveAs(false); });
    connect(first, &QAction::triggered, this, [this] { showPage(0); });
    connect(prior, &QAction::triggered, this, [this] { showPage(currentPage() - 1); });
    connect(next, &QAction::triggered, this, [this] { showPage(currentPage() + 1); });
    connect(last, &QAction::triggered, this, [this] { showPage(m_report.pageCount() - 1); });
    connect(close, &QAction::triggered, this, &QDialog::accept);
    connect(find, &QAction::triggered, this, [this] { this->find(m_findEdit->text()); });
    connect(m_findEdit, &QLineEdit::returnPressed, this, [this] { this->find(m_findEdit->text()); });
    connect(m_findEdit, &QLineEdit::textChanged, this, [this] { m_foundPage = m_foundItem = -1; });
    connect(m_pageSpin, &QSpinBox::valueChanged, this, [this](int value) { showPage(value - 1); });
    connect(m_zoomBox, &QComboBox::activated, this, &ReportPreviewWindow::zoomChosen);

    updatePageControls();
    applyZoom();
}

ReportPreviewWindow::~ReportPreviewWindow() = default;

int ReportPreviewWindow::currentPage() const
{
    return m_view->page();
}

bool ReportPreviewWindow::find(const QString& text)
{
    const QString wanted = text.trimmed();
    const int pages = m_report.pageCount();
    if (wanted.isEmpty() || pages == 0)
        return false;
    // Start after the last hit, or at the top of the page on show; wrap round once.
    int page = m_foundPage >= 0 ? m_foundPage : currentPage();
    int item = m_foundPage >= 0 ? m_foundItem + 1 : 0;
    for (int step = 0; step <= pages; ++step) {
        const auto& items = m_report.pages[page].items;
        for (; item < items.size(); ++item) {
            if (items[item].kind == ReportPageItem::Kind::Text &&
                items[item].text.contains(wanted, Qt::CaseInsensitive)) {
                m_foundPage = page;
                m_foundItem = item;
                showPage(page);
                m_view->setHighlight(items[item].rect);
                const QPointF at = m_view->toWidget(items[item].rect.center());
                m_scroll->ensureVisible(int(at.x()), int(at.y()), 60, 60);
                return true;
            }
        }
        page = (page + 1) % pages;
        item = 0;
    }
    m_foundPage = m_foundItem = -1;
    m_view->setHighlight({});
    m_messenger.info(QStringLiteral("没有找到“%1”").arg(wanted));
    return false;
}

void ReportPreviewWindow::showPage(int page)
{
    if (page != m_view->page())
        m_view->setHighlight({});
    m_view->setPage(page);
    m_scroll->verticalScrollBar()->setValue(0);
    updatePageControls();
}

void ReportPreviewWindow::updatePageControls()
{
    const int page = currentPage();
    const int count = m_report.pageCount();
    QSignalBlocker block(m_pageSpin);
    m_pageSpin->setValue(page + 1);
    findChild<QAction*>(QStringLiteral("tbFirst"))->setEnabled(page > 0);
    findChild<QAction*>(QStringLiteral("tbPrior"))->setEnabled(page > 0);
    findChild<QAction*>(QStringLiteral("tbNext"))->setEnabled(page + 1 < count);
    findChild<QAction*>(QStringLiteral("tbLast"))->setEnabled(page + 1 < count);
}

void ReportPreviewWindow::zoomChosen(int index)
{
    if (index == 0)
        setZoomMode(ZoomMode::WholePage);
    else if (index == 1)
        setZoomMode(ZoomMode::PageWidth);
    else
        setZoomMode(ZoomMode::Percent, m_zoomBox->itemData(index).toInt());
}

void ReportPreviewWindow::setZoomMode(ZoomMode mode, int percent)
{
    m_zoomMode = mode;
    m_percent = qBound(10, percent, 800);
    QSignalBlocker block(m_zoomBox);
    if (mode == ZoomMode::WholePage) {
        m_zoomBox->setCurrentIndex(0);
    } else if (mode == ZoomMode::PageWidth) {
        m_zoomBox->setCurrentIndex(1);
    } else {
        int index = m_zoomBox->findData(m_percent);
        if (index < 0) {
            m_zoomBox->addItem(QStringLiteral("%1%").arg(m_percent), m_percent);
            index = m_zoomBox->count() - 1;
        }
        m_zoomBox->setCurrentIndex(index);
    }
    applyZoom();
}

double ReportPreviewWindow::zoom() const
{
    return m_view->zoom();
}

void ReportPreviewWindow::applyZoom()
{
    const QSizeF natural = m_view->naturalSize();
    const QSize room = m_scroll->viewport()->size() - QSize(30, 30);
    double zoom = m_percent / 100.0;
    if (m_zoomMode == ZoomMode::PageWidth && natural.width() > 0)
        zoom = room.width() / natural.width();
    else if (m_zoomMode == ZoomMode::WholePage && natural.width() > 0 && natural.height() > 0)
        zoom = qMin(room.width() / natural.width(), room.height() / natural.height());
    m_view->setZoom(zoom);
}

bool ReportPreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_zoomMode != ZoomMode::Percent)
        applyZoom();
    return QDialog::eventFilter(watched, event);
}

void ReportPreviewWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        showPage(currentPage() + 1);
        return;
    case Qt::Key_PageUp:
        showPage(currentPage() - 1);
        return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            showPage(0);
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            showPage(m_report.pageCount() - 1);
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void ReportPreviewWindow::printTo(const PreparedReport& report, QPrinter& printer, int fromPage, int toPage)
{
    const int count = report.pageCount();
    const int first = qBound(1, fromPage, qMax(1, count));
    const int last = toPage <= 0 ? count : qMin(toPage, count);
    QPainter painter;
    if (count == 0 || !painter.begin(&printer))
        return;
    // The sheet's own coordinates: the page model already holds the margins.
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    for (int p = first; p <= last; ++p) {
        if (p > first)
            printer.newPage();
        ReportRenderer::paintPage(painter, report, p - 1, QRectF(0, 0, paper.width(), paper.height()));
    }
    painter.end();
}

bool ReportPreviewWindow::print()
{
    if (m_report.isEmpty())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(m_report.title);
    const QSizeF size = m_report.pageSize;
    const bool landscape = size.width() > size.height();
    printer.setPageSize(QPageSize(landscape ? size.transposed() : size, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!m_printDialog(this, printer, m_report.pageCount()))
        return false;
    int from = 1, to = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        from = to = currentPage() + 1;
    }
    printTo(m_report, printer, from, to);
    return true;
}

bool ReportPreviewWindow::saveAs(bool pdfOnly)
{
    const QString pdf = QStringLiteral("PDF 文件 (*.pdf)");
    const QString filters =
        pdfOnly ? pdf
                : QStringList{pdf, QStringLiteral("CSV 文件，分号分隔 (*.csv)"),
                              QStringLiteral("网页文件 (*.html)"), QStringLiteral("文本文件 (*.txt)")}
                      .join(QStringLiteral(";;"));
    QString base = m_report.title.isEmpty() ? QStringLiteral("报表") : m_report.title;
    base.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString selected = pdf;
    QString path =
        m_chooseFile(this, folder + QLatin1Char('/') + base + QStringLiteral(".pdf"), filters, &selected);
    if (path.isEmpty())
        return false;
    ReportExporter::Format format;
    if (!ReportExporter::formatForFile(path, &format)) {
        // No known suffix typed: take the one of the chosen filter.
        static const QRegularExpression suffix(QStringLiteral("\\*(\\.\\w+)"));
        const auto match = suffix.match(selected);
        path += match.hasMatch() ? match.captured(1) : QStringLiteral(".pdf");
    }
    return exportTo(path);
}

bool ReportPreviewWindow::exportTo(const QString& path)
{
    ReportExporter::Format format;
    if (!ReportExporter::formatForFile(path, &format)) {
        m_messenger.warning(QStringLiteral("不支持的文件类型：%1").arg(QFileInfo(path).fileName()));
        return false;
    }
    QString error;
    if (!ReportExporter::exportTo(m_report, format, path, &error)) {
        m_messenger.error(error);
        return false;
    }
    return true;
}
