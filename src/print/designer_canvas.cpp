#include "print/designer_canvas.h"

#include "print/designer_document.h"
#include "print/report_page_item.h"
#include "print/report_renderer.h"
#include "print/report_template.h"
#include "print/report_text_layout.h"

#include <QBuffer>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>

#include <cmath>

namespace {

constexpr double kLeft = 24;    // pixels left of the bands
constexpr double kTop = 8;      // above the first band
constexpr double kCaption = 18; // band caption strip
constexpr double kGap = 6;      // between bands
constexpr double kHandle = 6;
constexpr double kGrid = 0.5; // mm

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF d = b - a;
    const double len2 = d.x() * d.x() + d.y() * d.y();
    double t = len2 > 0 ? ((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / len2 : 0;
    t = qBound(0.0, t, 1.0);
    const QPointF q = a + t * d;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

QString defaultName(ReportObject::Kind kind)
{
    switch (kind) {
    case ReportObject::Kind::Text:
        return QStringLiteral("Memo");
    case ReportObject::Kind::Field:
        return QStringLiteral("Field");
    case ReportObject::Kind::Line:
        return QStringLiteral("Line");
    case ReportObject::Kind::Rectangle:
        return QStringLiteral("Shape");
    case ReportObject::Kind::Picture:
        return QStringLiteral("Picture");
    case ReportObject::Kind::CheckBox:
        return QStringLiteral("CheckBox");
    }
    return QStringLiteral("Object");
}

} // namespace

DesignerCanvas::DesignerCanvas(DesignerDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document), m_text(std::make_unique<ReportTextLayout>())
{
    setObjectName(QStringLiteral("canvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_document, &DesignerDocument::changed, this, [this] {
        relayout();
        update();
    });
    connect(&m_document, &DesignerDocument::selectionChanged, this, qOverload<>(&QWidget::update));
    relayout();
}

DesignerCanvas::~DesignerCanvas() = default;

void DesignerCanvas::setInsertKind(std::optional<ReportObject::Kind> kind)
{
    m_insert = kind;
    setCursor(kind ? Qt::CrossCursor : Qt::ArrowCursor);
}

void DesignerCanvas::setZoom(double zoom)
{
    m_zoom = qBound(0.25, zoom, 4.0);
    relayout();
    update();
}

double DesignerCanvas::scale() const
{
    return m_zoom * logicalDpiX() / 25.4;
}

void DesignerCanvas::relayout()
{
    m_bandTops.clear();
    double y = kTop;
    for (const ReportBand& band : m_document.layout().bands) {
        y += kCaption;
        m_bandTops << y;
        y += band.height * scale() + kGap;
    }
    resize(sizeHint());
    updateGeometry();
}

QSize DesignerCanvas::sizeHint() const
{
    const ReportTemplate& t = m_document.layout();
    double h = kTop + 40;
    for (const ReportBand& band : t.bands)
        h += kCaption + band.height * scale() + kGap;
    return QSize(int(kLeft + t.page.bodyWidth() * scale() + 40), int(h));
}

QRectF DesignerCanvas::bandBody(int band) const
{
    if (band < 0 || band >= m_bandTops.size())
        return {};
    const ReportTemplate& t = m_document.layout();
    return QRectF(kLeft, m_bandTops[band], t.page.bodyWidth() * scale(), t.bands[band].height * scale());
}

QPoint DesignerCanvas::toCanvas(int band, const QPointF& mm) const
{
    const QRectF body = bandBody(band);
    return QPointF(body.left() + mm.x() * scale(), body.top() + mm.y() * scale()).toPoint();
}

QPointF DesignerCanvas::toMm(int band, const QPointF& pos) const
{
    const QRectF body = bandBody(band);
    return QPointF((pos.x() - body.left()) / scale(), (pos.y() - body.top()) / scale());
}

QRectF DesignerCanvas::objectRect(int band, int object) const
{
    const ReportObject& o = m_document.layout().bands[band].objects[object];
    const QRectF body = bandBody(band);
    const QRectF r(body.left() + o.rect.x() * scale(), body.top() + o.rect.y() * scale(),
                   o.rect.width() * scale(), o.rect.height() * scale());
    return o.kind == ReportObject::Kind::Line ? r : r.normalized();
}

double DesignerCanvas::snap(double mm, bool free) const
{
    return free ? std::round(mm * 100) / 100 : std::round(mm / kGrid) * kGrid;
}

QList<QPair<int, QRectF>> DesignerCanvas::handles() const
{
    QList<QPair<int, QRectF>> result;
    const auto& sel = m_document.selection();
    if (sel.band < 0 || sel.objects.size() != 1)
        return result;
    const QRectF r = objectRect(sel.band, sel.objects.first());
    auto box = [](const QPointF& c) {
        return QRectF(c.x() - kHandle / 2, c.y() - kHandle / 2, kHandle, kHandle);
    };
    if (m_document.currentObject()->kind == ReportObject::Kind::Line) {
        result << qMakePair(int(LineStart), box(r.topLeft()))
               << qMakePair(int(LineEnd), box(r.bottomRight()));
        return result;
    }
    const double cx = r.center().x(), cy = r.center().y();
    result << qMakePair(Left | Top, box(r.topLeft())) << qMakePair(int(Top), box(QPointF(cx, r.top())))
           << qMakePair(Right | Top, box(r.topRight())) << qMakePair(int(Right), box(QPointF(r.right(), cy)))
           << qMakePair(Right | Bottom, box(r.bottomRight()))
           << qMakePair(int(Bottom), box(QPointF(cx, r.bottom())))
           << qMakePair(Left | Bottom, box(r.bottomLeft()))
           << qMakePair(int(Left), box(QPointF(r.left(), cy)));
    return result;
}

DesignerCanvas::Hit DesignerCanvas::hitTest(const QPointF& pos) const
{
    Hit hit;
    for (const auto& h : handles()) {
        if (h.second.adjusted(-2, -2, 2, 2).contains(pos)) {
            hit.band = m_document.selection().band;
            hit.object = m_document.selection().objects.first();
            hit.handle = h.first;
            return hit;
        }
    }
    const ReportTemplate& t = m_document.layout();
    for (int b = 0; b < t.bands.size(); ++b) {
        const QRectF body = bandBody(b);
        if (qAbs(pos.y() - body.bottom()) <= 3 && pos.x() >= body.left() && pos.x() <= body.right()) {
            hit.band = b;
            hit.bandEdge = true;
            return hit;
        }
        const QRectF whole(body.left(), body.top() - kCaption, body.width(), body.height() + kCaption);
        if (!whole.contains(pos))
            continue;
        hit.band = b;
        if (pos.y() < body.top())
            return hit; // the caption strip selects the band
        const auto& objects = t.bands[b].objects;
        for (int i = int(objects.size()) - 1; i >= 0; --i) {
            const QRectF r = objectRect(b, i);
            const bool inside = objects[i].kind == ReportObject::Kind::Line
                                    ? distanceToSegment(pos, r.topLeft(), r.bottomRight()) <= 4
                                    : r.adjusted(-1, -1, 1, 1).contains(pos);
            if (inside) {
                hit.object = i;
                return hit;
            }
        }
        return hit;
    }
    return hit;
}

void DesignerCanvas::insertAt(int band, const QPointF& mm)
{
    const ReportObject::Kind kind = *m_insert;
    const double x = snap(qMax(0.0, mm.x()), false);
    const double y = snap(qMax(0.0, mm.y()), false);
    int index = -1;
    m_document.edit(QStringLiteral("插入对象"), [&](ReportTemplate& t) {
        ReportObject o;
        o.kind = kind;
        o.name = t.uniqueName(defaultName(kind));
        switch (kind) {
        case ReportObject::Kind::Text:
            o.rect = QRectF(x, y, 30, 6);
            o.text = QStringLiteral("文本");
            break;
        case ReportObject::Kind::Field:
            o.rect = QRectF(x, y, 30, 6);
            break;
        case ReportObject::Kind::Line:
            o.rect = QRectF(x, y, 40, 0);
            o.style.frameWidth = 0.3;
            break;
        case ReportObject::Kind::Rectangle:
            o.rect = QRectF(x, y, 30, 15);
            o.style.frameSides = ReportStyle::FrameAll;
            break;
        case ReportObject::Kind::Picture:
            o.rect = QRectF(x, y, 25, 25);
            break;
        case ReportObject::Kind::CheckBox:
            o.rect = QRectF(x, y, 5, 5);
            break;
        }
        t.bands[band].objects.append(o);
        index = int(t.bands[band].objects.size()) - 1;
    });
    if (index >= 0)
        m_document.selectObject(band, index);
    setInsertKind(std::nullopt);
    Q_EMIT objectInserted();
}

void DesignerCanvas::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF pos = event->position();
    const Hit hit = hitTest(pos);
    if (hit.band < 0) {
        m_document.select({});
        return;
    }
    if (m_insert && !hit.bandEdge && pos.y() >= bandBody(hit.band).top()) {
        insertAt(hit.band, toMm(hit.band, pos));
        return;
    }
    m_dragStart = pos;
    if (hit.bandEdge) {
        m_document.selectBand(hit.band);
        m_drag = Drag::BandHeight;
        m_startHeight = m_document.layout().bands[hit.band].height;
        m_document.beginLiveEdit();
        return;
    }
    if (hit.handle) {
        m_drag = Drag::Resize;
        m_dragHandle = hit.handle;
        m_startRects = {m_document.currentObject()->rect};
        m_document.beginLiveEdit();
        return;
    }
    if (hit.object < 0) {
        m_document.selectBand(hit.band);
        return;
    }
    DesignerDocument::Selection sel = m_document.selection();
    const bool adding = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (adding && sel.band == hit.band) {
        if (sel.objects.contains(hit.object))
            sel.objects.removeAll(hit.object);
        else
            sel.objects << hit.object;
        m_document.select(sel);
        return;
    }
    if (sel.band != hit.band || !sel.objects.contains(hit.object))
        m_document.selectObject(hit.band, hit.object);
    m_drag = Drag::Move;
    m_startRects.clear();
    for (int i : m_document.selection().objects)
        m_startRects << m_document.layout().bands[hit.band].objects[i].rect;
    m_document.beginLiveEdit();
}

void DesignerCanvas::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (m_drag == Drag::None) {
        updateCursor(pos);
        return;
    }
    const bool free = event->modifiers() & Qt::AltModifier;
    const QPointF delta = (pos - m_dragStart) / scale();
    const auto& sel = m_document.selection();
    ReportTemplate& t = m_document.liveLayout();
    if (sel.band < 0 || sel.band >= t.bands.size())
        return;
    ReportBand& band = t.bands[sel.band];
    if (m_drag == Drag::BandHeight) {
        band.height = qBound(0.0, snap(m_startHeight + delta.y(), free), t.page.bodyHeight());
    } else if (m_drag == Drag::Move) {
        for (int k = 0; k < sel.objects.size() && k < m_startRects.size(); ++k) {
            QRectF r = m_startRects[k];
            r.moveTo(snap(r.x() + delta.x(), free), snap(r.y() + delta.y(), free));
            band.objects[sel.objects[k]].rect = r;
        }
    } else if (m_drag == Drag::Resize && !sel.objects.isEmpty()) {
        QRectF r = m_startRects.first();
        constexpr double minSize = 1.0;
        if (m_dragHandle & LineStart)
            r.setTopLeft(QPointF(snap(r.left() + delta.x(), free), snap(r.top() + delta.y(), free)));
        if (m_dragHandle & LineEnd)
            r.setBottomRight(QPointF(snap(r.right() + delta.x(), free), snap(r.bottom() + delta.y(), free)));
        if (m_dragHandle & Left)
            r.setLeft(qMin(snap(r.left() + delta.x(), free), r.right() - minSize));
        if (m_dragHandle & Right)
            r.setRight(qMax(snap(r.right() + delta.x(), free), r.left() + minSize));
        if (m_dragHandle & Top)
            r.setTop(qMin(snap(r.top() + delta.y(), free), r.bottom() - minSize));
        if (m_dragHandle & Bottom)
            r.setBottom(qMax(snap(r.bottom() + delta.y(), free), r.top() + minSize));
        band.objects[sel.objects.first()].rect = r;
    }
    m_document.liveChanged();
}

void DesignerCanvas::mouseReleaseEvent(QMouseEvent*)
{
    if (m_drag == Drag::None)
        return;
    const Drag drag = m_drag;
    m_drag = Drag::None;
    m_document.endLiveEdit(drag == Drag::Move         ? QStringLiteral("移动")
                           : drag == Drag::BandHeight ? QStringLiteral("区域高度")
                                                      : QStringLiteral("改变大小"));
}

void DesignerCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    const Hit hit = hitTest(event->position());
    if (hit.object >= 0)
        Q_EMIT editTextRequested();
}

void DesignerCanvas::keyPressEvent(QKeyEvent* event)
{
    const auto& sel = m_document.selection();
    double dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -kGrid;
        break;
    case Qt::Key_Right:
        dx = kGrid;
        break;
    case Qt::Key_Up:
        dy = -kGrid;
        break;
    case Qt::Key_Down:
        dy = kGrid;
        break;
    case Qt::Key_Escape:
        if (m_insert) {
            setInsertKind(std::nullopt);
            Q_EMIT objectInserted();
            return;
        }
        QWidget::keyPressEvent(event);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (sel.band < 0 || sel.objects.isEmpty())
        return;
    const bool resize = event->modifiers() & Qt::ShiftModifier;
    m_document.edit(resize ? QStringLiteral("改变大小") : QStringLiteral("移动"), [&](ReportTemplate& t) {
        for (int i : sel.objects) {
            QRectF& r = t.bands[sel.band].objects[i].rect;
            if (resize) {
                r.setWidth(qMax(0.0, r.width() + dx));
                r.setHeight(qMax(0.0, r.height() + dy));
            } else {
                r.translate(dx, dy);
            }
        }
    });
}

void DesignerCanvas::updateCursor(const QPointF& pos)
{
    if (m_insert) {
        setCursor(Qt::CrossCursor);
        return;
    }
    const Hit hit = hitTest(pos);
    if (hit.bandEdge) {
        setCursor(Qt::SizeVerCursor);
    } else if (hit.handle & (LineStart | LineEnd)) {
        setCursor(Qt::CrossCursor);
    } else if (hit.handle) {
        const bool h = hit.handle & (Left | Right), v = hit.handle & (Top | Bottom);
        if (h && v)
            setCursor(((hit.handle & Left) != 0) == ((hit.handle & Top) != 0) ? Qt::SizeFDiagCursor
                                                                              : Qt::SizeBDiagCursor);
        else
            setCursor(h ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    } else if (hit.object >= 0) {
        setCursor(Qt::SizeAllCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

void DesignerCanvas::drawObject(QPainter& painter, const ReportObject& o, const QPointF& origin) const
{
    ReportPageItem item;
    item.rect = o.rect;
    item.keepAspect = o.keepAspect;
    switch (o.kind) {
    case ReportObject::Kind::Text:
    case ReportObject::Kind::Field:
        item.kind = ReportPageItem::Kind::Text;
        item.text = o.kind == ReportObject::Kind::Field ? QStringLiteral("[%1]").arg(o.text) : o.text;
        // frMain."F_client" reads as F_client in a narrow cell; the panel shows the full text.
        static const QRegularExpression qualified(QStringLiteral("\\b[A-Za-z_]\\w*\\.\"([^\"]*)\""));
        item.text.replace(qualified, QStringLiteral("\\1"));
        item.lines =
            m_text->wrap(item.text, o.style, qMax(1.0, o.rect.width() - 2 * ReportTextLayout::paddingX));
        item.lineHeight = m_text->lineHeight(o.style);
        item.clip = true;
        break;
    case ReportObject::Kind::Line:
        item.kind = ReportPageItem::Kind::Line;
        break;
    case ReportObject::Kind::Rectangle:
        item.kind = ReportPageItem::Kind::Rectangle;
        break;
    case ReportObject::Kind::Picture:
        item.kind = ReportPageItem::Kind::Picture;
        if (!o.pictureData.isEmpty()) {
            QByteArray bytes = o.pictureData;
            QBuffer buffer(&bytes);
            QImageReader reader(&buffer);
            reader.setScaledSize(QSize(200, 200 * qMax(1.0, o.rect.height()) / qMax(1.0, o.rect.width())));
            item.image = reader.read();
        }
        break;
    case ReportObject::Kind::CheckBox:
        item.kind = ReportPageItem::Kind::CheckBox;
        item.checked = true;
        break;
    }
    ReportRenderer::paintItem(painter, item, o.style, origin, scale());
    const QRectF r(origin.x() + o.rect.x() * scale(), origin.y() + o.rect.y() * scale(),
                   o.rect.width() * scale(), o.rect.height() * scale());
    if (o.kind == ReportObject::Kind::Picture && item.image.isNull()) {
        painter.setPen(QColor(0x90, 0x90, 0x90));
        painter.drawText(r.normalized(), Qt::AlignCenter, o.text.isEmpty() ? QStringLiteral("图片") : o.text);
    }
    if (o.kind != ReportObject::Kind::Line && o.style.frameSides != ReportStyle::FrameAll) {
        QPen dotted(QColor(0xb0, 0xb0, 0xb0), 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.normalized());
    }
}

void DesignerCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xd8, 0xd8, 0xd8));
    const ReportTemplate& t = m_document.layout();
    const auto& sel = m_document.selection();
    QFont captionFont = font();
    captionFont.setPointSizeF(9);
    for (int b = 0; b < t.bands.size(); ++b) {
        const ReportBand& band = t.bands[b];
        const QRectF body = bandBody(b);
        const QRectF caption(body.left(), body.top() - kCaption, body.width(), kCaption - 1);
        const bool bandSelected = sel.band == b && sel.objects.isEmpty();
        painter.fillRect(caption, bandSelected ? QColor(0x9d, 0xc3, 0xe6) : QColor(0xc6, 0xd9, 0xec));
        painter.setPen(Qt::black);
        painter.setFont(captionFont);
        QString label = ReportBand::kindCaption(band.kind) + QStringLiteral("：") + band.name;
        if (!band.source.isEmpty())
            label += QStringLiteral("（%1）").arg(band.source);
        painter.drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, label);

        painter.fillRect(body, Qt::white);
        // A light millimetre grid every 5 mm helps to line things up.
        painter.setPen(QColor(0xee, 0xee, 0xee));
        for (double x = 5; x < t.page.bodyWidth(); x += 5)
            painter.drawLine(QPointF(body.left() + x * scale(), body.top()),
                             QPointF(body.left() + x * scale(), body.bottom()));
        painter.save();
        painter.setClipRect(body.adjusted(-1, -1, 40, 1));
        for (const ReportObject& o : band.objects)
            drawObject(painter, o, body.topLeft());
        painter.restore();
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
        painter.drawLine(body.bottomLeft(), body.bottomRight());
    }
    if (sel.band >= 0 && sel.band < t.bands.size()) {
        painter.setPen(QPen(QColor(0x20, 0x60, 0xe0), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        for (int i : sel.objects)
            painter.drawRect(objectRect(sel.band, i).normalized().adjusted(-1, -1, 1, 1));
        painter.setPen(QColor(0x20, 0x60, 0xe0));
        painter.setBrush(Qt::white);
        for (const auto& h : handles())
            painter.drawRect(h.second);
    }
}
