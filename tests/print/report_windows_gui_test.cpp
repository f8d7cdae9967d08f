#include "support/test_database.h"

#include "data/record_set.h"
#include "data/scripted_messenger.h"
#include "print/designer_canvas.h"
#include "print/designer_document.h"
#include "print/main_form_reports.h"
#include "print/prepared_report.h"
#include "print/report.h"
#include "print/report_designer_window.h"
#include "print/report_engine.h"
#include "print/report_manager_dialog.h"
#include "print/report_preview_window.h"
#include "print/report_service.h"
#include "print/report_template.h"
#include "print/report_template_reader.h"
#include "print/report_viewer.h"
#include "print/table_data_source.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const char* kList = R"(<report title="顾客列表">
  <band kind="reportTitle" name="Title" height="12"><text name="Caption" x="0" y="0" width="180" height="10" size="16" bold="true" align="center">顾客列表</text></band>
  <band kind="masterData" name="Rows" height="8" source="rows">
    <text name="Client" x="0" y="0" width="60" height="8" frame="all">[rows."F_client"]</text>
    <text name="Amount" x="60" y="0" width="30" height="8" frame="all" align="right" format=",0.00">[rows."F_amount"]</text>
  </band>
  <band kind="pageFooter" name="Foot" height="8"><text x="0" y="0" width="180" height="8" align="right">第[PAGE#]页</text></band>
</report>)";

std::shared_ptr<TableDataSource> rows(int n)
{
    auto source = std::make_shared<TableDataSource>(QStringList{"F_client", "F_amount"});
    for (int i = 1; i <= n; ++i)
        source->addRow({QStringLiteral("顾客%1").arg(i), i * 10.0});
    return source;
}

ReportTemplate listTemplate()
{
    ReportTemplate t;
    QString error;
    EXPECT_TRUE(ReportTemplateReader::read(kList, &t, &error)) << error.toStdString();
    return t;
}

PreparedReport preparedList(int n)
{
    PreparedReport out;
    QString error;
    EXPECT_TRUE(ReportEngine::prepare(listTemplate(), {{"rows", rows(n)}}, {}, {}, &out, &error));
    return out;
}

template <typename T> T* child(QWidget& w, const char* name)
{
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
}

void clickTool(QWidget& w, const char* name)
{
    QAction* action = child<QAction>(w, name);
    ASSERT_TRUE(action);
    action->trigger();
}

class RecordingViewer final : public ReportViewer {
public:
    void showPreview(const PreparedReport& report) override { previews.append(report); }
    void showDesigner(Report& report) override { designed << QFileInfo(report.filePath()).fileName(); }
    QList<PreparedReport> previews;
    QStringList designed;
};

} // namespace

TEST(ReportPreviewWindow, PagesAreBrowsedAndZoomed)
{
    ScriptedMessenger messenger;
    ReportPreviewWindow window(preparedList(100), messenger);
    window.show();
    EXPECT_EQ(window.objectName(), QStringLiteral("TfrmPreview"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("打印预览 - 顾客列表"));
    const int pages = preparedList(100).pageCount();
    ASSERT_GT(pages, 2);
    EXPECT_EQ(child<QLabel>(window, "lblPageCount")->text().trimmed(), QStringLiteral("/ %1").arg(pages));

    auto* next = window.findChild<QToolButton*>("tbNext");
    ASSERT_TRUE(next);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), 1);
    EXPECT_EQ(child<QSpinBox>(window, "spnPage")->value(), 2);
    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_EQ(window.currentPage(), 2);
    clickTool(window, "tbLast");
    EXPECT_EQ(window.currentPage(), pages - 1);
    EXPECT_FALSE(child<QAction>(window, "tbNext")->isEnabled());
    child<QSpinBox>(window, "spnPage")->setValue(1);
    EXPECT_EQ(window.currentPage(), 0);
    EXPECT_FALSE(child<QAction>(window, "tbPrior")->isEnabled());

    // Whole page fits the window; fixed percentages scale the sheet.
    auto* zoom = child<QComboBox>(window, "cbbZoom");
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Up); // 页宽 -> 整页
    EXPECT_EQ(zoom->currentText(), QStringLiteral("整页"));
    const double whole = window.zoom();
    window.setZoomMode(ReportPreviewWindow::ZoomMode::Percent, 200);
    EXPECT_DOUBLE_EQ(window.zoom(), 2.0);
    EXPECT_EQ(zoom->currentText(), QStringLiteral("200%"));
    EXPECT_LT(whole, 2.0);
}

TEST(ReportPreviewWindow, FindsTextFromPageToPage)
{
    ScriptedMessenger messenger;
    ReportPreviewWindow window(preparedList(100), messenger);
    window.show();
    auto* edit = child<QLineEdit>(window, "edtFind");
    edit->setText(QStringLiteral("顾客9"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(window.currentPage(), 0); // 顾客9 is on the first page
    clickTool(window, "tbFind");        // 顾客90.. are further on
    EXPECT_GT(window.currentPage(), 0);
    for (int i = 0; i < 10; ++i) // 顾客91..99, then round to 顾客9 again
        clickTool(window, "tbFind");
    EXPECT_EQ(window.currentPage(), 0);
    EXPECT_EQ(messenger.count(), 0);

    edit->setText(QStringLiteral("没有的文字"));
    clickTool(window, "tbFind");
    EXPECT_EQ(messenger.lastText(), QStringLiteral("没有找到“没有的文字”"));
}

TEST(ReportPreviewWindow, SavesAsCsvHtmlTextAndPdf)
{
    ScriptedMessenger messenger;
    ReportPreviewWindow window(preparedList(3), messenger);
    QTemporaryDir dir;
    QString answer;
    QString offeredFilters;
    window.setFileChooser([&](QWidget*, const QString&, const QString& filters, QString* selected) {
        offeredFilters = filters;
        if (answer.endsWith(QLatin1String("noext")))
            *selected = QStringLiteral("CSV 文件，分号分隔 (*.csv)");
        return answer;
    });

    answer = dir.filePath("list.csv");
    clickTool(window, "tbSave");
    QFile csv(answer);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("顾客列表\r\n顾客1;10.00\r\n顾客2;20.00\r\n顾客3;30.00\r\n")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("第1页"))); // page footers are not data
    EXPECT_TRUE(offeredFilters.contains("*.html") && offeredFilters.contains("*.txt"));

    answer = dir.filePath("list.html");
    clickTool(window, "tbSave");
    QFile html(answer);
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    EXPECT_TRUE(html.readAll().contains("顾客2"));

    answer = dir.filePath("list.txt");
    clickTool(window, "tbSave");
    QFile txt(answer);
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(txt.readAll()).contains(QRegularExpression(QStringLiteral("顾客3\\s+30\\.00"))));

    answer = dir.filePath("noext"); // the chosen filter gives the suffix
    clickTool(window, "tbSave");
    EXPECT_TRUE(QFile::exists(dir.filePath("noext.csv")));

    answer = dir.filePath("list.pdf");
    clickTool(window, "tbPdf");
    EXPECT_TRUE(offeredFilters.startsWith("PDF"));
    QFile pdf(answer);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_EQ(messenger.count(), 0);

    answer = dir.filePath("missing-folder/list.csv");
    clickTool(window, "tbSave");
    ASSERT_EQ(messenger.count(), 1);
    EXPECT_EQ(messenger.messages().first().kind, Messenger::Error);
    EXPECT_TRUE(messenger.lastText().contains(QStringLiteral("无法写入文件")));
}

TEST(ReportPreviewWindow, PrintsThroughThePrintDialog)
{
    ScriptedMessenger messenger;
    const PreparedReport report = preparedList(100);
    ReportPreviewWindow window(report, messenger);
    QTemporaryDir dir;
    int offered = 0;
    bool confirm = false;
    window.setPrintDialog([&](QWidget*, QPrinter& printer, int pageCount) {
        offered = pageCount;
        EXPECT_EQ(printer.pageLayout().pageSize().size(QPageSize::Millimeter).toSize(), QSize(210, 297));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        return confirm;
    });
    clickTool(window, "tbPrint");
    EXPECT_EQ(offered, report.pageCount());
    EXPECT_FALSE(QFile::exists(dir.filePath("printed.pdf"))); // cancelled: nothing printed
    confirm = true;
    EXPECT_TRUE(window.print());
    QFile printed(dir.filePath("printed.pdf"));
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_EQ(printed.readAll().count("/Type /Page\n") + 0, 2); // pages 2 and 3 only
}

class DesignerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath("frList.frf");
        report.setTemplate(listTemplate(), path);
        report.tie("rows", rows(5));
        window = std::make_unique<ReportDesignerWindow>(report, messenger);
        window->resize(1200, 800);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        canvas = window->canvas();
    }
    const ReportObject& object(int band, int i) { return window->document().layout().bands[band].objects[i]; }
    void drag(const QPoint& from, const QPoint& to)
    {
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(canvas, (from + to) / 2);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, to);
    }
    ReportTemplate saved()
    {
        Report reloaded;
        EXPECT_TRUE(reloaded.load(path)) << reloaded.lastError().toStdString();
        return reloaded.reportTemplate();
    }

    QTemporaryDir dir;
    QString path;
    ScriptedMessenger messenger;
    Report report;
    std::unique_ptr<ReportDesignerWindow> window;
    DesignerCanvas* canvas = nullptr;
};

TEST_F(DesignerTest, ObjectsMoveAndResizeWithTheMouseAndUndo)
{
    EXPECT_EQ(window->objectName(), QStringLiteral("TfrmDesigner"));
    const QRectF start = object(1, 0).rect; // "Client" in the data band
    drag(canvas->toCanvas(1, start.center()), canvas->toCanvas(1, start.center() + QPointF(20, 0)));
    EXPECT_EQ(window->document().currentObject()->name, QStringLiteral("Client"));
    EXPECT_NEAR(object(1, 0).rect.left(), start.left() + 20, 0.51);
    EXPECT_NEAR(object(1, 0).rect.top(), start.top(), 0.51);

    // The bottom-right handle resizes.
    const QRectF moved = object(1, 0).rect;
    drag(canvas->toCanvas(1, moved.bottomRight()),
         canvas->toCanvas(1, moved.bottomRight() + QPointF(10, -2)));
    EXPECT_NEAR(object(1, 0).rect.width(), moved.width() + 10, 0.51);
    EXPECT_NEAR(object(1, 0).rect.height(), moved.height() - 2, 0.51);

    clickTool(*window, "actUndo");
    EXPECT_EQ(object(1, 0).rect, moved);
    clickTool(*window, "actUndo");
    EXPECT_EQ(object(1, 0).rect, start);
    clickTool(*window, "actRedo");
    EXPECT_EQ(object(1, 0).rect, moved);

    // Arrows nudge by half a millimetre.
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(object(1, 0).rect.top(), moved.top() + 0.5);

    // Copy and paste into another band gives a new name; the zoom scales the drawing.
    clickTool(*window, "actCopy");
    window->document().selectBand(0);
    clickTool(*window, "actPaste");
    const ReportObject* copy = window->document().currentObject();
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->name, QStringLiteral("Client1"));
    EXPECT_EQ(copy->rect.topLeft(), object(1, 0).rect.topLeft() + QPointF(2, 2));
    const double scale = canvas->scale();
    auto* zoom = child<QComboBox>(*window, "cbbZoom");
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Down); // 125%
    EXPECT_DOUBLE_EQ(canvas->scale(), scale * 1.25);

    // A band's lower edge sets its height.
    const double height = window->document().layout().bands[1].height;
    const QRectF body = canvas->bandBody(1);
    drag(QPoint(int(body.center().x()), int(body.bottom())),
         QPoint(int(body.center().x()), int(body.bottom()) + 40));
    EXPECT_GT(window->document().layout().bands[1].height, height + 5);
}

TEST_F(DesignerTest, InsertEditAndSaveRoundTrip)
{
    clickTool(*window, "actInsertText");
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, canvas->toCanvas(1, QPointF(120, 1)));
    const ReportObject* inserted = window->document().currentObject();
    ASSERT_TRUE(inserted);
    EXPECT_EQ(inserted->kind, ReportObject::Kind::Text);
    EXPECT_EQ(inserted->rect.topLeft(), QPointF(120, 1));
    EXPECT_FALSE(child<QAction>(*window, "actInsertText")->isChecked());

    // Text and style through the property panel; a field from the field list into the text.
    auto* text = child<QPlainTextEdit>(*window, "edtText");
    text->setPlainText(QStringLiteral("金额："));
    text->moveCursor(QTextCursor::End);
    auto* fields = child<QTreeWidget>(*window, "treeFields");
    ASSERT_EQ(fields->topLevelItemCount(), 1);
    QTreeWidgetItem* amount = fields->topLevelItem(0)->child(1);
    ASSERT_EQ(amount->text(0), QStringLiteral("F_amount"));
    fields->setCurrentItem(amount);
    QTest::mouseClick(child<QPushButton>(*window, "btnInsertField"), Qt::LeftButton);
    EXPECT_EQ(window->document().currentObject()->text, QStringLiteral("金额：[rows.\"F_amount\"]"));
    child<QDoubleSpinBox>(*window, "spnFontSize")->setValue(14);
    EXPECT_EQ(window->document().currentObject()->style.fontSize, 14.0);
    QTest::mouseClick(child<QCheckBox>(*window, "chkBold"), Qt::LeftButton);
    EXPECT_TRUE(window->document().currentObject()->style.bold);

    // A field object dropped into a band from the list.
    window->document().selectBand(0);
    fields->setCurrentItem(fields->topLevelItem(0)->child(0));
    QTest::mouseClick(child<QPushButton>(*window, "btnInsertField"), Qt::LeftButton);
    EXPECT_EQ(window->document().currentObject()->kind, ReportObject::Kind::Field);
    EXPECT_EQ(window->document().currentObject()->text, QStringLiteral("rows.\"F_client\""));

    EXPECT_TRUE(window->windowTitle().endsWith('*'));
    clickTool(*window, "actSave");
    EXPECT_EQ(messenger.count(), 0) << messenger.lastText().toStdString();
    EXPECT_FALSE(window->windowTitle().endsWith('*'));
    EXPECT_TRUE(saved() == window->document().layout());
    EXPECT_TRUE(report.reportTemplate() == window->document().layout());

    // The saved layout prints.
    PreparedReport prepared;
    ASSERT_TRUE(report.prepare(&prepared)) << report.lastError().toStdString();
    EXPECT_TRUE(prepared.pageTexts(0).contains(QStringLiteral("金额：10")));
}

TEST_F(DesignerTest, PreviewShowsTheLayoutOfTheMomentWithTheTiedData)
{
    window->document().edit("x",
                            [](ReportTemplate& t) { t.bands[0].objects[0].text = QStringLiteral("新标题"); });
    int pages = 0;
    QStringList texts;
    window->setPreviewHook([&](ReportPreviewWindow& preview) {
        pages = preview.findChild<QLabel*>("lblPageCount")->text().remove('/').trimmed().toInt();
        texts << preview.windowTitle();
    });
    clickTool(*window, "actPreview");
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(texts, QStringList{"打印预览 - 顾客列表"});
    EXPECT_FALSE(QFile::exists(path)); // previewing saves nothing

    // A layout that cannot be filled says why instead of showing an empty preview.
    window->document().edit("y", [](ReportTemplate& t) { t.bands[1].source = "frNowhere"; });
    pages = 0;
    clickTool(*window, "actPreview");
    EXPECT_EQ(pages, 0);
    EXPECT_TRUE(messenger.lastText().contains(QStringLiteral("frNowhere")))
        << messenger.lastText().toStdString();
}

TEST_F(DesignerTest, InvalidLayoutIsNotSavedAndClosingAsksAboutChanges)
{
    window->addBand(int(ReportBand::Kind::GroupHeader)); // no condition yet
    clickTool(*window, "actSave");
    EXPECT_TRUE(messenger.lastText().contains(QStringLiteral("没有分组条件")))
        << messenger.lastText().toStdString();
    EXPECT_FALSE(QFile::exists(path));

    // Deleting a band asks first.
    const int bands = int(window->document().layout().bands.size());
    window->document().selectBand(1);
    messenger.answer(Messenger::No);
    clickTool(*window, "actDelete");
    EXPECT_EQ(window->document().layout().bands.size(), bands);
    messenger.answer(Messenger::Yes);
    clickTool(*window, "actDelete");
    EXPECT_EQ(window->document().layout().bands.size(), bands - 1);

    // Closing with changes: "no" leaves the file as it was.
    messenger.answer(Messenger::No);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(DesignerTest, ClosingWithChangesSavesWhenAsked)
{
    window->document().edit("x", [](ReportTemplate& t) { t.title = QStringLiteral("改过的"); });
    messenger.answer(Messenger::Yes);
    clickTool(*window, "actClose");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(saved().title, QStringLiteral("改过的"));
}

class ReportManagerTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        ASSERT_TRUE(db().insert("t_client", {{"F_code", "00000001"}, {"F_client", "张三"}}));
        for (const char* name : {"frAZSHdetail.frf", "frAZSHlist.frf", "frAZSHbill.frf", "frSHWXbill.frf"})
            QFile::copy(QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + "/../../Qr/" + name,
                        folder.filePath(name));
        sources = {open("select * from t_client"), open("select * from t_HPrec where F_code = '00000001'"),
                   open("select * from t_HFrec where F_code = '00000001'"),
                   open("select * from t_WXrec where F_code = '00000001'")};
    }
    RecordSet* open(const QString& sql)
    {
        auto* rs = new RecordSet(&owner);
        EXPECT_TRUE(rs->open(db(), sql));
        return rs;
    }

    QObject owner;
    QTemporaryDir folder;
    ScriptedMessenger messenger;
    RecordingViewer viewer;
    ReportService service{folder.path(), messenger, viewer};
    Report report;
    MainFormReports::Sources sources;
};

TEST_P(ReportManagerTest, RowsDesignAndPreviewTheMainWindowForms)
{
    ReportManagerDialog dialog(service, report, sources);
    dialog.show();
    EXPECT_EQ(dialog.objectName(), QStringLiteral("TFrmReportGl"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("报表管理器"));
    auto* list = child<QListWidget>(dialog, "ListBox1");
    QStringList rowsShown;
    for (int i = 0; i < list->count(); ++i)
        rowsShown << list->item(i)->text();
    EXPECT_EQ(rowsShown,
              (QStringList{"安装送货记录详单", "安装送货记录列表", "安装送货派工表单", "售后维修派工表单"}));
    EXPECT_EQ(child<QLabel>(dialog, "lblHint")->text(),
              QStringLiteral("要设计或预览报表，请先在列表框中选中后再操作"));

    // Nothing selected: both buttons do nothing.
    QTest::mouseClick(child<QPushButton>(dialog, "btnDesign"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(dialog, "btnPreview"), Qt::LeftButton);
    EXPECT_TRUE(viewer.previews.isEmpty());
    EXPECT_TRUE(viewer.designed.isEmpty());

    // The repair slip needs a repair of the current customer, even though the list has rows.
    list->setCurrentRow(3);
    QTest::mouseClick(child<QPushButton>(dialog, "btnPreview"), Qt::LeftButton);
    EXPECT_TRUE(viewer.previews.isEmpty());
    EXPECT_EQ(messenger.count(), 0);
    QTest::mouseClick(child<QPushButton>(dialog, "btnDesign"), Qt::LeftButton);
    EXPECT_EQ(viewer.designed, QStringList{"frSHWXbill.frf"});

    list->setCurrentRow(0);
    QTest::mouseClick(child<QPushButton>(dialog, "btnPreview"), Qt::LeftButton);
    ASSERT_EQ(viewer.previews.size(), 1);
    EXPECT_TRUE(viewer.previews[0].pageTexts(0).contains(QStringLiteral("张三")));
    EXPECT_EQ(viewer.previews[0].title, QStringLiteral("安装送货记录详单"));

    list->setCurrentRow(2);
    QTest::mouseClick(child<QPushButton>(dialog, "btnDesign"), Qt::LeftButton);
    EXPECT_EQ(viewer.designed.last(), QStringLiteral("frAZSHbill.frf"));

    QTest::mouseClick(child<QPushButton>(dialog, "btnClose"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

INSTANTIATE_ENGINES(ReportManagerTest);
