#include "print/designer_property_panel.h"

#include "print/designer_document.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QDoubleSpinBox* spin(QWidget* parent, const QString& name, double min, double max, double step = 0.5)
{
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(name);
    s->setRange(min, max);
    s->setDecimals(1);
    s->setSingleStep(step);
    s->setKeyboardTracking(false);
    return s;
}

QCheckBox* check(QWidget* parent, const QString& name, const QString& text)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}

QLineEdit* line(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

QComboBox* combo(QWidget* parent, const QString& name, const QStringList& items, bool editable = false)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    c->setEditable(editable);
    return c;
}

void setComboText(QComboBox* box, const QString& text)
{
    const int i = box->findText(text, Qt::MatchFixedString);
    if (i >= 0)
        box->setCurrentIndex(i);
    else if (box->isEditable())
        box->setEditText(text);
    else
        box->setCurrentIndex(-1);
}

QString objectKindCaption(ReportObject::Kind kind)
{
    switch (kind) {
    case ReportObject::Kind::Text:
        return QStringLiteral("文本");
    case ReportObject::Kind::Field:
        return QStringLiteral("字段");
    case ReportObject::Kind::Line:
        return QStringLiteral("直线");
    case ReportObject::Kind::Rectangle:
        return QStringLiteral("矩形");
    case ReportObject::Kind::Picture:
        return QStringLiteral("图片");
    case ReportObject::Kind::CheckBox:
        return QStringLiteral("复选框");
    }
    return {};
}

} // namespace

DesignerPropertyPanel::DesignerPropertyPanel(DesignerDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("propertyPanel"));
    m_pages = new QStackedWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    buildReportPage();
    buildBandPage();
    buildObjectPage();
    connect(&m_document, &DesignerDocument::selectionChanged, this, &DesignerPropertyPanel::refresh);
    connect(&m_document, &DesignerDocument::changed, this, &DesignerPropertyPanel::refresh);
    refresh();
}

void DesignerPropertyPanel::setSourceNames(const QStringList& names)
{
    m_sources = names;
    refresh();
}

void DesignerPropertyPanel::editObjects(const QString& description,
                                        const std::function<void(ReportObject&)>& change)
{
    if (m_updating)
        return;
    const auto sel = m_document.selection();
    if (sel.band < 0 || sel.objects.isEmpty())
        return;
    m_document.edit(description, [&](ReportTemplate& t) {
        for (int i : sel.objects)
            change(t.bands[sel.band].objects[i]);
    });
}

void DesignerPropertyPanel::editBand(const QString& description,
                                     const std::function<void(ReportBand&)>& change)
{
    if (m_updating)
        return;
    const int band = m_document.selection().band;
    if (band < 0)
        return;
    m_document.edit(description, [&](ReportTemplate& t) { change(t.bands[band]); });
}

void DesignerPropertyPanel::editReport(const QString& description,
                                       const std::function<void(ReportTemplate&)>& change)
{
    if (!m_updating)
        m_document.edit(description, change);
}

void DesignerPropertyPanel::buildReportPage()
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("pageReport"));
    auto* form = new QFormLayout(page);
    m_title = line(page, QStringLiteral("edtTitle"));
    m_paper = combo(page, QStringLiteral("cbbPaper"), {"A4", "A5", "A3", "B5", "Letter"});
    m_landscape = check(page, QStringLiteral("chkLandscape"), QStringLiteral("横向"));
    const char* names[4] = {"spnMarginLeft", "spnMarginTop", "spnMarginRight", "spnMarginBottom"};
    for (int i = 0; i < 4; ++i)
        m_margins[i] = spin(page, QString::fromLatin1(names[i]), 0, 100);
    m_repeated = check(page, QStringLiteral("chkRepeated"), QStringLiteral("按报表数据源的每一行重复打印"));
    form->addRow(QStringLiteral("报表标题"), m_title);
    form->addRow(QStringLiteral("纸张"), m_paper);
    form->addRow(QString(), m_landscape);
    form->addRow(QStringLiteral("左边距(mm)"), m_margins[0]);
    form->addRow(QStringLiteral("上边距(mm)"), m_margins[1]);
    form->addRow(QStringLiteral("右边距(mm)"), m_margins[2]);
    form->addRow(QStringLiteral("下边距(mm)"), m_margins[3]);
    form->addRow(QString(), m_repeated);
    m_pages->addWidget(page);

    connect(m_title, &QLineEdit::editingFinished, this, [this] {
        editReport(QStringLiteral("报表标题"), [&](ReportTemplate& t) { t.title = m_title->text(); });
    });
    connect(m_paper, &QComboBox::activated, this, [this] {
        editReport(QStringLiteral("纸张"),
                   [&](ReportTemplate& t) { t.page.setPaper(m_paper->currentText()); });
    });
    connect(m_landscape, &QCheckBox::toggled, this, [this](bool on) {
        editReport(QStringLiteral("纸张方向"), [&](ReportTemplate& t) { t.page.landscape = on; });
    });
    for (int i = 0; i < 4; ++i) {
        connect(m_margins[i], &QDoubleSpinBox::valueChanged, this, [this, i](double v) {
            editReport(QStringLiteral("页边距"), [&](ReportTemplate& t) {
                double* m[4] = {&t.page.marginLeft, &t.page.marginTop, &t.page.marginRight,
                                &t.page.marginBottom};
                *m[i] = v;
            });
        });
    }
    connect(m_repeated, &QCheckBox::toggled, this, [this](bool on) {
        editReport(QStringLiteral("重复打印"), [&](ReportTemplate& t) { t.repeated = on; });
    });
}

void DesignerPropertyPanel::buildBandPage()
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("pageBand"));
    m_bandForm = new QFormLayout(page);
    m_bandKind = new QLabel(page);
    m_bandKind->setObjectName(QStringLiteral("lblBandKind"));
    m_bandName = line(page, QStringLiteral("edtBandName"));
    m_bandHeight = spin(page, QStringLiteral("spnBandHeight"), 0, 2000);
    m_source = combo(page, QStringLiteral("cbbSource"), {}, true);
    m_rows = combo(page, QStringLiteral("cbbRows"), {QStringLiteral("全部行"), QStringLiteral("当前行")});
    m_master = combo(page, QStringLiteral("cbbMaster"), {});
    m_masterField = line(page, QStringLiteral("edtMasterField"));
    m_detailField = line(page, QStringLiteral("edtDetailField"));
    m_detail = combo(page, QStringLiteral("cbbDetail"), {});
    m_condition = line(page, QStringLiteral("edtCondition"));
    m_group = combo(page, QStringLiteral("cbbGroup"), {});
    m_bandStretch = check(page, QStringLiteral("chkBandStretch"), QStringLiteral("随内容伸展"));
    m_newPageBefore = check(page, QStringLiteral("chkNewPageBefore"), QStringLiteral("打印前换页"));
    m_newPageAfter = check(page, QStringLiteral("chkNewPageAfter"), QStringLiteral("打印后换页"));
    m_printIfEmpty =
        check(page, QStringLiteral("chkPrintIfEmpty"), QStringLiteral("没有明细时也打印表头表尾"));
    m_onFirstPage = check(page, QStringLiteral("chkOnFirstPage"), QStringLiteral("首页也打印"));
    m_repeat = check(page, QStringLiteral("chkRepeat"), QStringLiteral("续页上重复打印"));
    m_bandForm->addRow(QStringLiteral("类型"), m_bandKind);
    m_bandForm->addRow(QStringLiteral("名称"), m_bandName);
    m_bandForm->addRow(QStringLiteral("高度(mm)"), m_bandHeight);
    m_bandForm->addRow(QStringLiteral("数据源"), m_source);
    m_bandForm->addRow(QStringLiteral("打印行"), m_rows);
    m_bandForm->addRow(QStringLiteral("主数据区"), m_master);
    m_bandForm->addRow(QStringLiteral("主表关联字段"), m_masterField);
    m_bandForm->addRow(QStringLiteral("明细关联字段"), m_detailField);
    m_bandForm->addRow(QStringLiteral("明细数据区"), m_detail);
    m_bandForm->addRow(QStringLiteral("分组条件"), m_condition);
    m_bandForm->addRow(QStringLiteral("分组头"), m_group);
    m_bandForm->addRow(QString(), m_bandStretch);
    m_bandForm->addRow(QString(), m_newPageBefore);
    m_bandForm->addRow(QString(), m_newPageAfter);
    m_bandForm->addRow(QString(), m_printIfEmpty);
    m_bandForm->addRow(QString(), m_onFirstPage);
    m_bandForm->addRow(QString(), m_repeat);
    m_pages->addWidget(page);

    connect(m_bandName, &QLineEdit::editingFinished, this, [this] {
        const QString name = m_bandName->text().trimmed();
        const ReportBand* band = m_document.currentBand();
        if (!band || name.isEmpty() || name == band->name)
            return;
        if (m_document.layout().bandIndex(name) >= 0) {
            m_bandName->setText(band->name); // names link bands; two alike would break the links
            return;
        }
        const QString old = band->name;
        editReport(QStringLiteral("区域名称"), [&](ReportTemplate& t) {
            for (ReportBand& b : t.bands) {
                if (b.name == old)
                    b.name = name;
                for (QString* link : {&b.master, &b.detail, &b.group})
                    if (link->compare(old, Qt::CaseInsensitive) == 0)
                        *link = name;
            }
        });
    });
    connect(m_bandHeight, &QDoubleSpinBox::valueChanged, this,
            [this](double v) { editBand(QStringLiteral("区域高度"), [&](ReportBand& b) { b.height = v; }); });
    auto text = [this](QComboBox* box, QString ReportBand::*member, const QString& what) {
        connect(box, &QComboBox::currentTextChanged, this, [this, box, member, what] {
            editBand(what, [&](ReportBand& b) { b.*member = box->currentText().trimmed(); });
        });
    };
    text(m_source, &ReportBand::source, QStringLiteral("数据源"));
    text(m_master, &ReportBand::master, QStringLiteral("主数据区"));
    text(m_detail, &ReportBand::detail, QStringLiteral("明细数据区"));
    text(m_group, &ReportBand::group, QStringLiteral("分组头"));
    auto lineText = [this](QLineEdit* edit, QString ReportBand::*member, const QString& what) {
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, member, what] {
            editBand(what, [&](ReportBand& b) { b.*member = edit->text().trimmed(); });
        });
    };
    lineText(m_masterField, &ReportBand::masterField, QStringLiteral("关联字段"));
    lineText(m_detailField, &ReportBand::detailField, QStringLiteral("关联字段"));
    lineText(m_condition, &ReportBand::condition, QStringLiteral("分组条件"));
    connect(m_rows, &QComboBox::activated, this, [this](int i) {
        editBand(QStringLiteral("打印行"),
                 [&](ReportBand& b) { b.rows = i == 1 ? ReportBand::Rows::Current : ReportBand::Rows::All; });
    });
    auto flag = [this](QCheckBox* box, bool ReportBand::*member) {
        connect(box, &QCheckBox::toggled, this, [this, box, member](bool on) {
            editBand(box->text(), [&](ReportBand& b) { b.*member = on; });
        });
    };
    flag(m_bandStretch, &ReportBand::stretch);
    flag(m_newPageBefore, &ReportBand::newPageBefore);
    flag(m_newPageAfter, &ReportBand::newPageAfter);
    flag(m_printIfEmpty, &ReportBand::printIfEmpty);
    flag(m_onFirstPage, &ReportBand::onFirstPage);
    flag(m_repeat, &ReportBand::repeat);
}

void DesignerPropertyPanel::buildObjectPage()
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("pageObject"));
    m_objectForm = new QFormLayout(page);
    m_objectKind = new QLabel(page);
    m_objectKind->setObjectName(QStringLiteral("lblObjectKind"));
    m_name = line(page, QStringLiteral("edtName"));
    m_text = new QPlainTextEdit(page);
    m_text->setObjectName(QStringLiteral("edtText"));
    m_text->setMaximumHeight(90);
    m_applyText = new QPushButton(QStringLiteral("应用内容"), page);
    m_applyText->setObjectName(QStringLiteral("btnApplyText"));
    const char* geometry[4] = {"spnX", "spnY", "spnWidth", "spnHeight"};
    for (int i = 0; i < 4; ++i)
        m_geometry[i] = spin(page, QString::fromLatin1(geometry[i]), -2000, 2000);
    m_font = combo(page, QStringLiteral("cbbFont"),
                   {QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("楷体"),
                    QStringLiteral("仿宋"), QStringLiteral("Arial")},
                   true);
    m_size = spin(page, QStringLiteral("spnFontSize"), 1, 200, 1);
    m_bold = check(page, QStringLiteral("chkBold"), QStringLiteral("粗体"));
    m_italic = check(page, QStringLiteral("chkItalic"), QStringLiteral("斜体"));
    m_underline = check(page, QStringLiteral("chkUnderline"), QStringLiteral("下划线"));
    m_align = combo(page, QStringLiteral("cbbAlign"),
                    {QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐")});
    m_valign = combo(page, QStringLiteral("cbbVAlign"),
                     {QStringLiteral("靠上"), QStringLiteral("居中"), QStringLiteral("靠下")});
    const char* frames[4] = {"chkFrameLeft", "chkFrameTop", "chkFrameRight", "chkFrameBottom"};
    const char* frameTexts[4] = {"左", "上", "右", "下"};
    for (int i = 0; i < 4; ++i)
        m_frame[i] = check(page, QString::fromLatin1(frames[i]), QString::fromUtf8(frameTexts[i]));
    m_frameWidth = spin(page, QStringLiteral("spnFrameWidth"), 0, 20, 0.1);
    m_textColor = new QPushButton(QStringLiteral("文字颜色..."), page);
    m_textColor->setObjectName(QStringLiteral("btnTextColor"));
    m_fill = new QPushButton(QStringLiteral("填充颜色..."), page);
    m_fill->setObjectName(QStringLiteral("btnFill"));
    m_noFill = new QPushButton(QStringLiteral("无填充"), page);
    m_noFill->setObjectName(QStringLiteral("btnNoFill"));
    m_format = combo(page, QStringLiteral("cbbFormat"),
                     {QString(), QStringLiteral(",0.00"), QStringLiteral("0.##"), QStringLiteral(",0."),
                      QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy年MM月dd日")},
                     true);
    m_wrap = check(page, QStringLiteral("chkWrap"), QStringLiteral("自动换行"));
    m_stretch = check(page, QStringLiteral("chkStretch"), QStringLiteral("随内容伸展"));
    m_pictureFile = line(page, QStringLiteral("edtPictureFile"));
    m_keepAspect = check(page, QStringLiteral("chkKeepAspect"), QStringLiteral("保持比例"));

    auto row = [page](std::initializer_list<QWidget*> widgets) {
        auto* w = new QWidget(page);
        auto* h = new QHBoxLayout(w);
        h->setContentsMargins(0, 0, 0, 0);
        for (QWidget* x : widgets)
            h->addWidget(x);
        h->addStretch();
        return w;
    };
    m_objectForm->addRow(QStringLiteral("类型"), m_objectKind);
    m_objectForm->addRow(QStringLiteral("名称"), m_name);
    m_objectForm->addRow(QStringLiteral("内容"), m_text);
    m_objectForm->addRow(QString(), m_applyText);
    m_objectForm->addRow(QStringLiteral("左/上(mm)"), row({m_geometry[0], m_geometry[1]}));
    m_objectForm->addRow(QStringLiteral("宽/高(mm)"), row({m_geometry[2], m_geometry[3]}));
    m_objectForm->addRow(QStringLiteral("字体"), m_font);
    m_objectForm->addRow(QStringLiteral("字号"), row({m_size, m_bold, m_italic, m_underline}));
    m_objectForm->addRow(QStringLiteral("对齐"), row({m_align, m_valign}));
    m_objectForm->addRow(QStringLiteral("边框"), row({m_frame[0], m_frame[1], m_frame[2], m_frame[3]}));
    m_objectForm->addRow(QStringLiteral("线宽(mm)"), m_frameWidth);
    m_objectForm->addRow(QStringLiteral("颜色"), row({m_textColor, m_fill, m_noFill}));
    m_objectForm->addRow(QStringLiteral("显示格式"), m_format);
    m_objectForm->addRow(QString(), row({m_wrap, m_stretch}));
    m_objectForm->addRow(QStringLiteral("图片文件"), m_pictureFile);
    m_objectForm->addRow(QString(), m_keepAspect);
    m_pages->addWidget(page);

    connect(m_name, &QLineEdit::editingFinished, this, [this] {
        editObjects(QStringLiteral("对象名称"), [&](ReportObject& o) { o.name = m_name->text().trimmed(); });
    });
    connect(m_applyText, &QPushButton::clicked, this, &DesignerPropertyPanel::applyText);
    for (int i = 0; i < 4; ++i) {
        connect(m_geometry[i], &QDoubleSpinBox::valueChanged, this, [this, i](double v) {
            editObjects(QStringLiteral("位置和大小"), [&](ReportObject& o) {
                if (i == 0)
                    o.rect.moveLeft(v);
                else if (i == 1)
                    o.rect.moveTop(v);
                else if (i == 2)
                    o.rect.setWidth(v);
                else
                    o.rect.setHeight(v);
            });
        });
    }
    connect(m_font, &QComboBox::currentTextChanged, this, [this](const QString& f) {
        if (!f.trimmed().isEmpty())
            editObjects(QStringLiteral("字体"), [&](ReportObject& o) { o.style.fontFamily = f.trimmed(); });
    });
    connect(m_size, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        editObjects(QStringLiteral("字号"), [&](ReportObject& o) { o.style.fontSize = v; });
    });
    auto styleFlag = [this](QCheckBox* box, bool ReportStyle::*member) {
        connect(box, &QCheckBox::toggled, this, [this, box, member](bool on) {
            editObjects(box->text(), [&](ReportObject& o) { o.style.*member = on; });
        });
    };
    styleFlag(m_bold, &ReportStyle::bold);
    styleFlag(m_italic, &ReportStyle::italic);
    styleFlag(m_underline, &ReportStyle::underline);
    styleFlag(m_wrap, &ReportStyle::wordWrap);
    connect(m_stretch, &QCheckBox::toggled, this, [this](bool on) {
        editObjects(QStringLiteral("随内容伸展"), [&](ReportObject& o) { o.stretch = on; });
    });
    connect(m_keepAspect, &QCheckBox::toggled, this, [this](bool on) {
        editObjects(QStringLiteral("保持比例"), [&](ReportObject& o) { o.keepAspect = on; });
    });
    connect(m_align, &QComboBox::activated, this, [this](int i) {
        editObjects(QStringLiteral("对齐"), [&](ReportObject& o) {
            o.style.hAlign = static_cast<ReportStyle::HAlign>(qBound(0, i, 2));
        });
    });
    connect(m_valign, &QComboBox::activated, this, [this](int i) {
        editObjects(QStringLiteral("对齐"), [&](ReportObject& o) {
            o.style.vAlign = static_cast<ReportStyle::VAlign>(qBound(0, i, 2));
        });
    });
    const int sides[4] = {ReportStyle::FrameLeft, ReportStyle::FrameTop, ReportStyle::FrameRight,
                          ReportStyle::FrameBottom};
    for (int i = 0; i < 4; ++i) {
        const int side = sides[i];
        connect(m_frame[i], &QCheckBox::toggled, this, [this, side](bool on) {
            editObjects(QStringLiteral("边框"), [&](ReportObject& o) {
                o.style.frameSides = on ? (o.style.frameSides | side) : (o.style.frameSides & ~side);
            });
        });
    }
    connect(m_frameWidth, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        editObjects(QStringLiteral("线宽"), [&](ReportObject& o) { o.style.frameWidth = v; });
    });
    connect(m_textColor, &QPushButton::clicked, this, [this] { chooseColor(false); });
    connect(m_fill, &QPushButton::clicked, this, [this] { chooseColor(true); });
    connect(m_noFill, &QPushButton::clicked, this, [this] {
        editObjects(QStringLiteral("无填充"), [&](ReportObject& o) { o.style.fillColor = QColor(); });
    });
    connect(m_format, &QComboBox::currentTextChanged, this, [this](const QString& f) {
        editObjects(QStringLiteral("显示格式"), [&](ReportObject& o) { o.displayFormat = f.trimmed(); });
    });
    connect(m_pictureFile, &QLineEdit::editingFinished, this, [this] {
        editObjects(QStringLiteral("图片文件"),
                    [&](ReportObject& o) { o.pictureFile = m_pictureFile->text().trimmed(); });
    });
}

void DesignerPropertyPanel::chooseColor(bool fill)
{
    const ReportObject* o = m_document.currentObject();
    const QColor start = o ? (fill ? o->style.fillColor : o->style.textColor) : QColor(Qt::black);
    const QColor c = QColorDialog::getColor(start.isValid() ? start : QColor(Qt::white), this,
                                            fill ? QStringLiteral("填充颜色") : QStringLiteral("文字颜色"));
    if (!c.isValid())
        return;
    editObjects(fill ? QStringLiteral("填充颜色") : QStringLiteral("文字颜色"), [&](ReportObject& x) {
        if (fill) {
            x.style.fillColor = c;
        } else {
            x.style.textColor = c;
            if (x.kind == ReportObject::Kind::Line || x.kind == ReportObject::Kind::Rectangle)
                x.style.frameColor = c;
        }
    });
}

void DesignerPropertyPanel::applyText()
{
    const QString text = m_text->toPlainText();
    editObjects(QStringLiteral("内容"), [&](ReportObject& o) {
        // A field holds one expression; brackets typed around it are not part of it.
        if (o.kind == ReportObject::Kind::Text)
            o.text = text;
        else if (text.trimmed().startsWith(QLatin1Char('[')) && text.trimmed().endsWith(QLatin1Char(']')))
            o.text = text.trimmed().mid(1, text.trimmed().size() - 2);
        else
            o.text = text.trimmed();
    });
}

void DesignerPropertyPanel::focusText()
{
    if (m_pages->currentIndex() == 2) {
        m_text->setFocus();
        m_text->selectAll();
    }
}

void DesignerPropertyPanel::insertIntoText(const QString& text)
{
    if (m_pages->currentIndex() != 2)
        return;
    m_text->insertPlainText(text);
    applyText();
}

void DesignerPropertyPanel::refresh()
{
    m_updating = true;
    const ReportTemplate& t = m_document.layout();
    const auto& sel = m_document.selection();
    if (sel.band < 0 || sel.band >= t.bands.size()) {
        m_pages->setCurrentIndex(0);
        m_title->setText(t.title);
        setComboText(m_paper, t.page.paper);
        m_landscape->setChecked(t.page.landscape);
        const double values[4] = {t.page.marginLeft, t.page.marginTop, t.page.marginRight,
                                  t.page.marginBottom};
        for (int i = 0; i < 4; ++i)
            m_margins[i]->setValue(values[i]);
        m_repeated->setChecked(t.repeated);
    } else if (sel.objects.isEmpty()) {
        m_pages->setCurrentIndex(1);
        const ReportBand& b = t.bands[sel.band];
        using K = ReportBand::Kind;
        m_bandKind->setText(ReportBand::kindCaption(b.kind));
        m_bandName->setText(b.name);
        m_bandHeight->setValue(b.height);
        QStringList masters, details, groups;
        for (const ReportBand& other : t.bands) {
            if (other.kind == K::MasterData)
                masters << other.name;
            else if (other.kind == K::DetailData)
                details << other.name;
            else if (other.kind == K::GroupHeader)
                groups << other.name;
        }
        m_source->clear();
        m_source->addItems(m_sources);
        setComboText(m_source, b.source);
        m_rows->setCurrentIndex(b.rows == ReportBand::Rows::Current ? 1 : 0);
        m_master->clear();
        m_master->addItems(masters);
        setComboText(m_master, b.master);
        m_detail->clear();
        m_detail->addItems(details);
        setComboText(m_detail, b.detail);
        m_group->clear();
        m_group->addItems(groups);
        setComboText(m_group, b.group);
        m_masterField->setText(b.masterField);
        m_detailField->setText(b.detailField);
        m_condition->setText(b.condition);
        m_bandStretch->setChecked(b.stretch);
        m_newPageBefore->setChecked(b.newPageBefore);
        m_newPageAfter->setChecked(b.newPageAfter);
        m_printIfEmpty->setChecked(b.printIfEmpty);
        m_onFirstPage->setChecked(b.onFirstPage);
        m_repeat->setChecked(b.repeat);
        const bool data = ReportBand::isDataKind(b.kind);
        m_bandForm->setRowVisible(m_source, data);
        m_bandForm->setRowVisible(m_rows, b.kind == K::MasterData);
        m_bandForm->setRowVisible(m_master, b.kind == K::DetailData || b.kind == K::GroupHeader ||
                                                b.kind == K::ColumnHeader);
        m_bandForm->setRowVisible(m_masterField, b.kind == K::DetailData);
        m_bandForm->setRowVisible(m_detailField, b.kind == K::DetailData);
        m_bandForm->setRowVisible(m_printIfEmpty, b.kind == K::DetailData);
        m_bandForm->setRowVisible(m_detail, b.kind == K::DetailHeader || b.kind == K::DetailFooter);
        m_bandForm->setRowVisible(m_condition, b.kind == K::GroupHeader);
        m_bandForm->setRowVisible(m_group, b.kind == K::GroupFooter);
        m_bandForm->setRowVisible(m_onFirstPage, b.kind == K::PageHeader);
        m_bandForm->setRowVisible(m_repeat, b.kind == K::DetailHeader);
    } else {
        m_pages->setCurrentIndex(2);
        const ReportObject& o = t.bands[sel.band].objects[sel.objects.first()];
        m_objectKind->setText(sel.objects.size() > 1 ? QStringLiteral("%1 个对象").arg(sel.objects.size())
                                                     : objectKindCaption(o.kind));
        m_name->setText(o.name);
        m_name->setEnabled(sel.objects.size() == 1);
        if (m_text->toPlainText() != o.text || !m_text->hasFocus())
            m_text->setPlainText(o.kind == ReportObject::Kind::Text || o.text.isEmpty()
                                     ? o.text
                                     : QStringLiteral("[%1]").arg(o.text));
        const double geometry[4] = {o.rect.x(), o.rect.y(), o.rect.width(), o.rect.height()};
        for (int i = 0; i < 4; ++i)
            m_geometry[i]->setValue(geometry[i]);
        setComboText(m_font, o.style.fontFamily);
        m_size->setValue(o.style.fontSize);
        m_bold->setChecked(o.style.bold);
        m_italic->setChecked(o.style.italic);
        m_underline->setChecked(o.style.underline);
        m_align->setCurrentIndex(int(o.style.hAlign));
        m_valign->setCurrentIndex(int(o.style.vAlign));
        const int sides[4] = {ReportStyle::FrameLeft, ReportStyle::FrameTop, ReportStyle::FrameRight,
                              ReportStyle::FrameBottom};
        for (int i = 0; i < 4; ++i)
            m_frame[i]->setChecked(o.style.frameSides & sides[i]);
        m_frameWidth->setValue(o.style.frameWidth);
        setComboText(m_format, o.displayFormat);
        m_wrap->setChecked(o.style.wordWrap);
        m_stretch->setChecked(o.stretch);
        m_pictureFile->setText(o.pictureFile);
        m_keepAspect->setChecked(o.keepAspect);
        const bool textual = o.kind == ReportObject::Kind::Text || o.kind == ReportObject::Kind::Field;
        const bool picture = o.kind == ReportObject::Kind::Picture;
        m_objectForm->setRowVisible(m_font, textual);
        m_objectForm->setRowVisible(m_format, textual);
        m_objectForm->setRowVisible(m_pictureFile, picture);
        m_objectForm->setRowVisible(m_keepAspect, picture);
        m_objectForm->setRowVisible(m_size->parentWidget(), textual);
        m_objectForm->setRowVisible(m_align->parentWidget(), textual);
        m_objectForm->setRowVisible(m_wrap->parentWidget(), textual);
        m_text->setEnabled(o.kind != ReportObject::Kind::Line && o.kind != ReportObject::Kind::Rectangle);
        m_applyText->setEnabled(m_text->isEnabled());
    }
    m_updating = false;
}
