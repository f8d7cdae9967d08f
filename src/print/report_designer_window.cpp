#include "print/report_designer_window.h"

#include "data/messenger.h"
#include "print/designer_canvas.h"
#include "print/designer_document.h"
#include "print/designer_property_panel.h"
#include "print/prepared_report.h"
#include "print/report.h"
#include "print/report_data_source.h"
#include "print/report_preview_window.h"
#include "print/report_template.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QAction* toolAction(QToolBar* bar, const QString& name, const QString& text, const QKeySequence& key = {})
{
    QAction* a = bar->addAction(text);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    return a;
}

QString bandPrefix(ReportBand::Kind kind)
{
    QString name = ReportBand::kindName(kind);
    name[0] = name[0].toUpper();
    return name;
}

} // namespace

ReportDesignerWindow::ReportDesignerWindow(Report& report, Messenger& messenger, QWidget* parent)
    : QDialog(parent), m_report(report), m_messenger(messenger),
      m_document(new DesignerDocument(report.reportTemplate(), this))
{
    setObjectName(QStringLiteral("TfrmDesigner"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(1280, 820);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("tbDesigner"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* save = toolAction(bar, QStringLiteral("actSave"), QStringLiteral("保存"), QKeySequence::Save);
    QAction* undo = m_document->undoStack()->createUndoAction(this, QStringLiteral("撤销"));
    undo->setObjectName(QStringLiteral("actUndo"));
    undo->setShortcut(QKeySequence::Undo);
    bar->addAction(undo);
    QAction* redo = m_document->undoStack()->createRedoAction(this, QStringLiteral("重做"));
    redo->setObjectName(QStringLiteral("actRedo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    bar->addAction(redo);
    QAction* remove =
        toolAction(bar, QStringLiteral("actDelete"), QStringLiteral("删除"), QKeySequence::Delete);
    QAction* copy = toolAction(bar, QStringLiteral("actCopy"), QStringLiteral("复制"), QKeySequence::Copy);
    QAction* pasteAction =
        toolAction(bar, QStringLiteral("actPaste"), QStringLiteral("粘贴"), QKeySequence::Paste);
    // Copy and paste act on objects only while the drawing area has the focus, not in text fields.
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    pasteAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    bar->addSeparator();

    auto* inserts = new QActionGroup(this);
    inserts->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const struct {
        const char* name;
        const char* text;
        ReportObject::Kind kind;
    } kinds[] = {{"actInsertText", "文本", ReportObject::Kind::Text},
                 {"actInsertField", "字段", ReportObject::Kind::Field},
                 {"actInsertLine", "直线", ReportObject::Kind::Line},
                 {"actInsertRect", "矩形", ReportObject::Kind::Rectangle},
                 {"actInsertPicture", "图片", ReportObject::Kind::Picture},
                 {"actInsertCheckBox", "复选框", ReportObject::Kind::CheckBox}};
    for (const auto& k : kinds) {
        QAction* a = toolAction(bar, QString::fromLatin1(k.name), QString::fromUtf8(k.text));
        a->setCheckable(true);
        inserts->addAction(a);
        const ReportObject::Kind kind = k.kind;
        connect(a, &QAction::toggled, this, [this, kind](bool on) {
            if (on)
                m_canvas->setInsertKind(kind);
            else if (m_canvas->insertKind() == kind)
                m_canvas->setInsertKind(std::nullopt);
        });
    }

    auto* bandButton = new QToolButton(bar);
    bandButton->setObjectName(QStringLiteral("tbAddBand"));
    bandButton->setText(QStringLiteral("添加区域"));
    bandButton->setPopupMode(QToolButton::InstantPopup);
    auto* bandMenu = new QMenu(bandButton);
    for (int k = int(ReportBand::Kind::ReportTitle); k <= int(ReportBand::Kind::PageFooter); ++k) {
        QAction* a = bandMenu->addAction(ReportBand::kindCaption(ReportBand::Kind(k)));
        a->setObjectName(QStringLiteral("actAddBand_") + ReportBand::kindName(ReportBand::Kind(k)));
        connect(a, &QAction::triggered, this, [this, k] { addBand(k); });
    }
    bandButton->setMenu(bandMenu);
    bar->addWidget(bandButton);
    bar->addSeparator();

    const struct {
        const char* name;
        const char* text;
    } aligns[] = {{"actAlignLeft", "左对齐"},     {"actAlignRight", "右对齐"}, {"actAlignTop", "顶端对齐"},
                  {"actAlignBottom", "底端对齐"}, {"actSameWidth", "等宽"},    {"actSameHeight", "等高"},
                  {"actCenter", "水平居中"}};
    for (int i = 0; i < 7; ++i) {
        QAction* a = toolAction(bar, QString::fromLatin1(aligns[i].name), QString::fromUtf8(aligns[i].text));
        connect(a, &QAction::triggered, this, [this, i] { align(i); });
    }
    bar->addSeparator();
    auto* zoom = new QComboBox(bar);
    zoom->setObjectName(QStringLiteral("cbbZoom"));
    for (int percent : {50, 75, 100, 125, 150, 200})
        zoom->addItem(QStringLiteral("%1%").arg(percent), percent);
    zoom->setCurrentIndex(2);
    bar->addWidget(zoom);
    bar->addSeparator();
    QAction* previewAction =
        toolAction(bar, QStringLiteral("actPreview"), QStringLiteral("预览"), Qt::Key_F5);
    QAction* close = toolAction(bar, QStringLiteral("actClose"), QStringLiteral("关闭"));

    m_canvas = new DesignerCanvas(*m_document);
    m_canvas->addAction(copy);
    m_canvas->addAction(pasteAction);
    auto* canvasScroll = new QScrollArea(this);
    canvasScroll->setObjectName(QStringLiteral("scrollCanvas"));
    canvasScroll->setWidget(m_canvas);
    canvasScroll->setBackgroundRole(QPalette::Mid);

    m_properties = new DesignerPropertyPanel(*m_document);
    auto* propertyScroll = new QScrollArea(this);
    propertyScroll->setWidget(m_properties);
    propertyScroll->setWidgetResizable(true);

    auto* fieldBox = new QGroupBox(QStringLiteral("数据字段（双击插入）"), this);
    m_fields = new QTreeWidget(fieldBox);
    m_fields->setObjectName(QStringLiteral("treeFields"));
    m_fields->setHeaderHidden(true);
    auto* insertButton = new QPushButton(QStringLiteral("插入字段"), fieldBox);
    insertButton->setObjectName(QStringLiteral("btnInsertField"));
    auto* fieldLayout = new QVBoxLayout(fieldBox);
    fieldLayout->addWidget(m_fields);
    fieldLayout->addWidget(insertButton);

    auto* side = new QSplitter(Qt::Vertical, this);
    side->addWidget(propertyScroll);
    side->addWidget(fieldBox);
    side->setStretchFactor(0, 3);
    side->setStretchFactor(1, 2);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(canvasScroll);
    split->addWidget(side);
    split->setStretchFactor(0, 1);
    split->setSizes({880, 400});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(split, 1);

    connect(save, &QAction::triggered, this, [this] { this->save(); });
    connect(remove, &QAction::triggered, this, &ReportDesignerWindow::deleteSelection);
    connect(copy, &QAction::triggered, this, &ReportDesignerWindow::copySelection);
    connect(pasteAction, &QAction::triggered, this, &ReportDesignerWindow::paste);
    connect(zoom, &QComboBox::activated, this,
            [this, zoom](int index) { m_canvas->setZoom(zoom->itemData(index).toInt() / 100.0); });
    connect(previewAction, &QAction::triggered, this, &ReportDesignerWindow::preview);
    connect(close, &QAction::triggered, this, &QDialog::reject);
    connect(m_canvas, &DesignerCanvas::objectInserted, this, [inserts] {
        if (QAction* a = inserts->checkedAction())
            a->setChecked(false);
    });
    connect(m_canvas, &DesignerCanvas::editTextRequested, m_properties, &DesignerPropertyPanel::focusText);
    connect(m_fields, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { fieldActivated(item); });
    connect(insertButton, &QPushButton::clicked, this, [this] { fieldActivated(m_fields->currentItem()); });
    connect(m_document->undoStack(), &QUndoStack::cleanChanged, this, &ReportDesignerWindow::updateTitle);

    m_properties->setSourceNames(m_report.dataSourceNames());
    fillFieldTree();
    updateTitle();
}

ReportDesignerWindow::~ReportDesignerWindow()
{
    // The undo stack reports "clean changed" while it is destroyed, which would reach this
    // window when only its QWidget part is left.
    disconnect(m_document->undoStack(), nullptr, this, nullptr);
}

void ReportDesignerWindow::updateTitle()
{
    const QString file =
        m_report.filePath().isEmpty() ? QStringLiteral("未命名") : QFileInfo(m_report.filePath()).fileName();
    setWindowTitle(QStringLiteral("报表设计 - %1%2")
                       .arg(file, m_document->isModified() ? QStringLiteral(" *") : QString()));
}

void ReportDesignerWindow::fillFieldTree()
{
    m_fields->clear();
    for (const QString& name : m_report.dataSourceNames()) {
        auto* top = new QTreeWidgetItem(m_fields, {name});
        if (const auto source = m_report.dataSource(name)) {
            for (const QString& field : source->fieldNames()) {
                auto* item = new QTreeWidgetItem(top, {field});
                item->setData(0, Qt::UserRole, name);
            }
        }
        top->setExpanded(m_fields->topLevelItemCount() == 1);
    }
}

void ReportDesignerWindow::fieldActivated(QTreeWidgetItem* item)
{
    if (!item || !item->parent())
        return;
    insertField(item->data(0, Qt::UserRole).toString(), item->text(0));
}

void ReportDesignerWindow::insertField(const QString& source, const QString& field)
{
    const QString expression = QStringLiteral("%1.\"%2\"").arg(source, field);
    const ReportObject* current = m_document->currentObject();
    if (current && current->kind == ReportObject::Kind::Text) {
        m_properties->insertIntoText(QLatin1Char('[') + expression + QLatin1Char(']'));
        return;
    }
    const int band = m_document->selection().band;
    if (band < 0) {
        m_messenger.info(QStringLiteral("请先选中要放置字段的区域"));
        return;
    }
    int index = -1;
    m_document->edit(QStringLiteral("插入字段"), [&](ReportTemplate& t) {
        ReportBand& b = t.bands[band];
        double x = 0;
        for (const ReportObject& o : b.objects)
            if (o.rect.top() < 6)
                x = qMax(x, o.rect.right());
        if (x + 30 > t.page.bodyWidth())
            x = 0;
        ReportObject o;
        o.kind = ReportObject::Kind::Field;
        o.name = t.uniqueName(QStringLiteral("Field"));
        o.text = expression;
        o.rect = QRectF(x, 0, 30, qMin(6.0, qMax(4.0, b.height)));
        b.objects.append(o);
        index = int(b.objects.size()) - 1;
    });
    m_document->selectObject(band, index);
}

void ReportDesignerWindow::addBand(int kindValue)
{
    using K = ReportBand::Kind;
    const K kind = K(kindValue);
    const ReportTemplate& current = m_document->layout();
    const bool single =
        kind == K::ReportTitle || kind == K::PageHeader || kind == K::PageFooter || kind == K::Summary;
    for (const ReportBand& b : current.bands) {
        if (single && b.kind == kind) {
            m_messenger.warning(QStringLiteral("%1区域只能有一个").arg(ReportBand::kindCaption(kind)));
            return;
        }
    }
    int inserted = -1;
    m_document->edit(QStringLiteral("添加区域"), [&](ReportTemplate& t) {
        ReportBand band;
        band.kind = kind;
        band.name = t.uniqueName(bandPrefix(kind));
        band.height = kind == K::MasterData || kind == K::DetailData ? 7 : 10;
        auto lastOf = [&t](K k) {
            for (int i = int(t.bands.size()) - 1; i >= 0; --i)
                if (t.bands[i].kind == k)
                    return t.bands[i].name;
            return QString();
        };
        const QString master = lastOf(K::MasterData);
        if (kind == K::MasterData || kind == K::DetailData) {
            const QStringList names = m_report.dataSourceNames();
            band.source = names.isEmpty() ? QString() : names.first();
        }
        if (kind == K::DetailData || kind == K::GroupHeader || kind == K::ColumnHeader)
            band.master = master;
        if (kind == K::DetailHeader || kind == K::DetailFooter)
            band.detail = lastOf(K::DetailData);
        if (kind == K::GroupFooter)
            band.group = lastOf(K::GroupHeader);
        // Keep the usual order: after the last band that prints before this kind.
        int at = 0;
        for (int i = 0; i < t.bands.size(); ++i)
            if (int(t.bands[i].kind) <= kindValue)
                at = i + 1;
        t.bands.insert(at, band);
        inserted = at;
    });
    if (inserted >= 0)
        m_document->selectBand(inserted);
}

void ReportDesignerWindow::deleteSelection()
{
    const auto sel = m_document->selection();
    if (sel.band < 0)
        return;
    if (!sel.objects.isEmpty()) {
        m_document->edit(QStringLiteral("删除对象"), [&](ReportTemplate& t) {
            QList<int> objects = sel.objects;
            std::sort(objects.begin(), objects.end(), std::greater<int>());
            for (int i : objects)
                t.bands[sel.band].objects.removeAt(i);
        });
        m_document->selectBand(sel.band);
        return;
    }
    const QString name = m_document->layout().bands[sel.band].name;
    if (!m_messenger.ask(QStringLiteral("真的要删除区域“%1”及其中的所有对象吗？").arg(name)))
        return;
    m_document->edit(QStringLiteral("删除区域"), [&](ReportTemplate& t) { t.bands.removeAt(sel.band); });
    m_document->select({});
}

void ReportDesignerWindow::copySelection()
{
    const auto sel = m_document->selection();
    if (sel.band < 0 || sel.objects.isEmpty())
        return;
    m_clipboard.clear();
    for (int i : sel.objects)
        m_clipboard << m_document->layout().bands[sel.band].objects[i];
}

void ReportDesignerWindow::paste()
{
    const int band = m_document->selection().band;
    if (band < 0 || m_clipboard.isEmpty())
        return;
    DesignerDocument::Selection pasted{band, {}};
    m_document->edit(QStringLiteral("粘贴"), [&](ReportTemplate& t) {
        for (ReportObject o : m_clipboard) {
            // Names must stay unique, or captions set by name would reach the wrong object.
            QString prefix = o.name;
            while (!prefix.isEmpty() && prefix.back().isDigit())
                prefix.chop(1);
            o.name = o.name.isEmpty() ? QString()
                                      : t.uniqueName(prefix.isEmpty() ? QStringLiteral("Memo") : prefix);
            o.rect.translate(2, 2);
            t.bands[band].objects << o;
            pasted.objects << int(t.bands[band].objects.size()) - 1;
        }
    });
    m_document->select(pasted);
}

void ReportDesignerWindow::align(int how)
{
    const auto sel = m_document->selection();
    if (sel.band < 0 || sel.objects.isEmpty() || (how != 6 && sel.objects.size() < 2))
        return;
    m_document->edit(QStringLiteral("对齐"), [&](ReportTemplate& t) {
        auto& objects = t.bands[sel.band].objects;
        const QRectF anchor = objects[sel.objects.first()].rect;
        for (int i : sel.objects) {
            QRectF& r = objects[i].rect;
            switch (how) {
            case 0:
                r.moveLeft(anchor.left());
                break;
            case 1:
                r.moveRight(anchor.right());
                break;
            case 2:
                r.moveTop(anchor.top());
                break;
            case 3:
                r.moveBottom(anchor.bottom());
                break;
            case 4:
                r.setWidth(anchor.width());
                break;
            case 5:
                r.setHeight(anchor.height());
                break;
            case 6:
                r.moveLeft((t.page.bodyWidth() - r.width()) / 2);
                break;
            default:
                break;
            }
        }
    });
}

bool ReportDesignerWindow::save()
{
    QString error;
    if (!m_document->layout().validate(&error)) {
        m_messenger.error(QStringLiteral("报表模板有错误，没有保存：%1").arg(error));
        return false;
    }
    m_report.setTemplate(m_document->layout(), m_report.filePath());
    if (!m_report.save()) {
        m_messenger.error(m_report.lastError());
        return false;
    }
    m_document->setSaved();
    return true;
}

void ReportDesignerWindow::preview()
{
    Report trial;
    trial.setTemplate(m_document->layout(), m_report.filePath());
    for (const QString& name : m_report.dataSourceNames())
        trial.tie(name, m_report.dataSource(name));
    trial.setReportDataSource(m_report.reportDataSource());
    PreparedReport prepared;
    if (!trial.prepare(&prepared)) {
        m_messenger.error(trial.lastError());
        return;
    }
    ReportPreviewWindow window(prepared, m_messenger, this);
    if (m_previewHook)
        m_previewHook(window);
    else
        window.exec();
}

bool ReportDesignerWindow::confirmClose()
{
    if (!m_document->isModified())
        return true;
    if (!m_messenger.ask(QStringLiteral("报表模板已经修改，要保存吗？")))
        return true;
    return save();
}

void ReportDesignerWindow::reject()
{
    if (m_closing || confirmClose()) {
        m_closing = true;
        QDialog::reject();
    }
}

void ReportDesignerWindow::closeEvent(QCloseEvent* event)
{
    if (m_closing || confirmClose()) {
        m_closing = true;
        event->accept();
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}
