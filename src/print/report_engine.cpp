#include "print/report_engine.h"

#include "print/prepared_report.h"
#include "print/report_data_source.h"
#include "print/report_eval_context.h"
#include "print/report_expression.h"
#include "print/report_expression_binder.h"
#include "print/report_template.h"
#include "print/report_text_layout.h"
#include "print/report_values.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using Kind = ReportBand::Kind;
using Aggregate = ReportExpressionBinder::Aggregate;

constexpr double kPadX = ReportTextLayout::paddingX;
constexpr double kPadY = ReportTextLayout::paddingY;
constexpr qint64 kMaxPictureFileBytes = 20 * 1024 * 1024;

struct Acc {
    double sum = 0;
    qint64 count = 0;
    qint64 values = 0;
    double min = 0;
    double max = 0;
};
using AccSet = std::vector<Acc>;

struct AggregateDef {
    Aggregate function = Aggregate::Sum;
    int slot = -1;
    ReportExpression argument;
};

struct CompiledObject {
    const ReportObject* object = nullptr;
    ReportExpression expression;
    bool hasExpression = false;
    int style = -1;
    QImage image; // a picture from a file or embedded data
};

struct CompiledBand {
    const ReportBand* band = nullptr;
    int slot = -1;
    std::vector<CompiledObject> objects;
};

struct GroupPlan {
    CompiledBand* header = nullptr;
    CompiledBand* footer = nullptr;
    ReportExpression condition;
};

struct DetailPlan {
    CompiledBand* header = nullptr;
    CompiledBand* data = nullptr;
    CompiledBand* footer = nullptr;
    int masterField = -1;
    int detailField = -1;
    bool indexed = false;
    QHash<QString, QList<int>> index; // detail rows by link value
};

struct MasterPlan {
    CompiledBand* data = nullptr;
    CompiledBand* columnHeader = nullptr;
    std::vector<GroupPlan> groups;
    std::vector<DetailPlan> details;
};

struct Slot {
    QString name;
    std::shared_ptr<ReportDataSource> source;
    int cursor = -1;
    int initial = -1;
    bool prepared = false;
};

enum class Scope { Report, Page, Master, Group, Final, FinalGroup };

QString linkKey(const QVariant& v)
{
    return ReportValues::toText(v).trimmed().toLower();
}

QImage decodeImage(const QByteArray& bytes, const QSizeF& sizeMm)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // Keep no more pixels than 300 dpi at the printed size needs.
    const QSize full = reader.size();
    const QSize wanted(qMax(1, int(sizeMm.width() / 25.4 * 300)), qMax(1, int(sizeMm.height() / 25.4 * 300)));
    if (full.isValid() && (full.width() > wanted.width() || full.height() > wanted.height()))
        reader.setScaledSize(full.scaled(wanted, Qt::KeepAspectRatio));
    return reader.read();
}

class Run final : public ReportEvalContext, public ReportExpressionBinder {
public:
    Run(const ReportTemplate& t, const ReportEngine::Sources& sources, const QString& reportSource,
        const ReportEngine::Options& options)
        : m_t(t), m_reportSource(reportSource), m_options(options)
    {
        for (const auto& s : sources)
            if (s.second)
                m_slots.push_back({s.first, s.second, -1, -1, false});
        if (!m_options.now.isValid())
            m_options.now = QDateTime::currentDateTime();
    }

    bool prepare(PreparedReport* out, QString* error);

    // --- ReportEvalContext
    QVariant fieldValue(int slot, int field) const override
    {
        const Slot& s = m_slots[size_t(slot)];
        if (s.cursor < 0 || s.cursor >= s.source->rowCount())
            return {};
        return s.source->value(s.cursor, field);
    }
    QVariant aggregate(int id) const override;
    int pageNumber() const override { return m_pageNumber; }
    int totalPages() const override { return m_totalPages; }
    int lineNumber() const override { return m_line; }
    QDateTime now() const override { return m_options.now; }

    // --- ReportExpressionBinder
    bool bindField(const QString& source, const QString& field, int* slot, int* index,
                   QString* error) override;
    bool bindAggregate(Aggregate function, const QString& source, const ReportExpression& argument, int* id,
                       QString* error) override;

private:
    bool fail(const QString& text)
    {
        if (m_error.isEmpty())
            m_error = text;
        return false;
    }
    int slotOf(const QString& name) const
    {
        for (size_t i = 0; i < m_slots.size(); ++i)
            if (m_slots[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    }
    // A source is read only when the template uses it, so an unused closed query does no harm.
    bool use(int slot, QString* error);
    bool compile();
    bool compileBand(const ReportBand& band, CompiledBand& out);
    bool compileCondition(const QString& text, ReportExpression* out, const QString& bandName);
    CompiledBand* single(Kind kind);

    bool layout(bool record);
    bool body();
    bool runMaster(MasterPlan& m);
    bool runDetails(MasterPlan& m);
    bool openGroup(MasterPlan& m, size_t level);
    bool closeGroup(MasterPlan& m, size_t level);

    bool newPage();
    void finishPage();
    double bodyBottom() const;
    // Prints a band at the current position, starting a new page first when it does not fit.
    bool emitBand(CompiledBand* band, Scope scope, int group = -1, double keepWithNext = 0,
                  bool repeated = false);
    // Evaluates and lays out the band's objects; returns the band's height.
    double buildBand(CompiledBand& band, double maxHeight, QList<ReportPageItem>* items);
    void placeAt(CompiledBand& band, double y, double maxHeight, bool repeated);
    void commit(CompiledBand& band, double y, double h, QList<ReportPageItem>&& items, bool repeated);
    void accumulate(int slot, bool pageScope);
    QList<int> masterRows(const MasterPlan& m) const;

    const ReportTemplate& m_t;
    QString m_reportSource;
    ReportEngine::Options m_options;
    std::vector<Slot> m_slots;
    std::vector<CompiledBand> m_bands;
    std::vector<MasterPlan> m_masters;
    std::vector<AggregateDef> m_aggregates;
    QList<ReportStyle> m_styles;
    ReportTextLayout m_text;
    QString m_error;
    bool m_needsTwoPasses = false;

    // layout state
    bool m_record = true;
    PreparedReport* m_out = nullptr;
    int m_pages = 0;
    int m_pageNumber = 0;
    int m_totalPages = 0;
    qint64 m_items = 0;
    int m_line = 0;
    double m_y = 0;
    bool m_content = false; // something besides repeated headers is on the page
    bool m_pendingBreak = false;
    bool m_pageOpen = false;
    CompiledBand* m_activeColumnHeader = nullptr;
    CompiledBand* m_activeDetailHeader = nullptr;
    AccSet m_report, m_page, m_master;
    std::vector<AccSet> m_groups; // open groups of the master being printed, outer first
    std::vector<int> m_groupIds;  // their instance numbers
    int m_groupCounter = 0;
    std::vector<AccSet> m_groupFinals; // from the first pass, by instance number
    AccSet m_reportFinal;
    bool m_haveFinals = false;
    // what aggregate() reads
    Scope m_scope = Scope::Report;
    int m_scopeGroup = -1;
};

QVariant Run::aggregate(int id) const
{
    const AccSet* set = &m_report;
    switch (m_scope) {
    case Scope::Report:
        set = &m_report;
        break;
    case Scope::Page:
        set = &m_page;
        break;
    case Scope::Master:
        set = &m_master;
        break;
    case Scope::Group:
        if (m_scopeGroup >= 0 && size_t(m_scopeGroup) < m_groups.size())
            set = &m_groups[size_t(m_scopeGroup)];
        break;
    case Scope::Final:
        set = m_haveFinals ? &m_reportFinal : &m_report;
        break;
    case Scope::FinalGroup: {
        const int instance = m_scopeGroup >= 0 && size_t(m_scopeGroup) < m_groupIds.size()
                                 ? m_groupIds[size_t(m_scopeGroup)]
                                 : -1;
        if (m_haveFinals && instance >= 0 && size_t(instance) < m_groupFinals.size())
            set = &m_groupFinals[size_t(instance)];
        else if (m_scopeGroup >= 0 && size_t(m_scopeGroup) < m_groups.size())
            set = &m_groups[size_t(m_scopeGroup)];
        break;
    }
    }
    if (id < 0 || size_t(id) >= set->size())
        return {};
    const Acc& a = (*set)[size_t(id)];
    switch (m_aggregates[size_t(id)].function) {
    case Aggregate::Count:
        return a.count;
    case Aggregate::Sum:
        return a.sum;
    case Aggregate::Avg:
        return a.values ? QVariant(a.sum / double(a.values)) : QVariant();
    case Aggregate::Min:
        return a.values ? QVariant(a.min) : QVariant();
    case Aggregate::Max:
        return a.values ? QVariant(a.max) : QVariant();
    }
    return {};
}

bool Run::use(int slot, QString* error)
{
    Slot& s = m_slots[size_t(slot)];
    if (s.prepared)
        return true;
    QString why;
    if (!s.source->prepare(&why)) {
        *error = QStringLiteral("数据源“%1”无法读取：%2").arg(s.name, why);
        return false;
    }
    s.prepared = true;
    s.initial = s.source->currentRow();
    if (s.initial >= s.source->rowCount())
        s.initial = s.source->rowCount() - 1;
    s.cursor = s.initial;
    return true;
}

bool Run::bindField(const QString& source, const QString& field, int* slot, int* index, QString* error)
{
    const int s = slotOf(source);
    if (s < 0) {
        *error = QStringLiteral("数据源“%1”没有连接").arg(source.left(60));
        return false;
    }
    if (!use(s, error))
        return false;
    const int f = m_slots[size_t(s)].source->fieldIndex(field);
    if (f < 0) {
        *error = QStringLiteral("数据源“%1”中没有字段“%2”").arg(source.left(60), field.left(60));
        return false;
    }
    *slot = s;
    *index = f;
    return true;
}

bool Run::bindAggregate(Aggregate function, const QString& source, const ReportExpression& argument, int* id,
                        QString* error)
{
    int s = slotOf(source);
    if (s < 0) {
        // A band name stands for the band's data source.
        const int b = m_t.bandIndex(source);
        if (b >= 0 && ReportBand::isDataKind(m_t.bands[b].kind))
            s = slotOf(m_t.bands[b].source);
    }
    if (s < 0) {
        *error = QStringLiteral("统计函数中的数据源或区域“%1”不存在或没有连接").arg(source.left(60));
        return false;
    }
    if (!use(s, error))
        return false;
    // The argument shares the nodes of the expression being bound, so its fields are bound with it.
    m_aggregates.push_back({function, s, argument});
    *id = int(m_aggregates.size()) - 1;
    return true;
}

CompiledBand* Run::single(Kind kind)
{
    for (CompiledBand& b : m_bands)
        if (b.band->kind == kind)
            return &b;
    return nullptr;
}

bool Run::compileCondition(const QString& text, ReportExpression* out, const QString& bandName)
{
    QString error;
    const QString t = text.trimmed();
    const bool ok = t.startsWith(QLatin1Char('[')) ? ReportExpression::parseText(t, out, &error)
                                                   : ReportExpression::parseExpression(t, out, &error);
    if (!ok || !out->bind(*this, &error))
        return fail(QStringLiteral("区域“%1”：%2").arg(bandName, error));
    return true;
}

bool Run::compileBand(const ReportBand& band, CompiledBand& out)
{
    out.band = &band;
    if (ReportBand::isDataKind(band.kind)) {
        out.slot = slotOf(band.source);
        if (out.slot < 0)
            return fail(QStringLiteral("区域“%1”的数据源“%2”没有连接").arg(band.name, band.source));
        QString error;
        if (!use(out.slot, &error))
            return fail(error);
    }
    const QString where = QStringLiteral("区域“%1”").arg(band.name);
    for (const ReportObject& o : band.objects) {
        CompiledObject c;
        c.object = &o;
        m_styles.append(o.style);
        c.style = int(m_styles.size()) - 1;
        QString error;
        const QString label =
            where + (o.name.isEmpty() ? QString() : QStringLiteral("的对象“%1”").arg(o.name));
        switch (o.kind) {
        case ReportObject::Kind::Text:
            if (!ReportExpression::parseText(o.text, &c.expression, &error))
                return fail(label + QStringLiteral("：") + error);
            c.hasExpression = true;
            break;
        case ReportObject::Kind::Field:
        case ReportObject::Kind::CheckBox:
        case ReportObject::Kind::Picture:
            if (!o.text.trimmed().isEmpty()) {
                if (!ReportExpression::parseExpression(o.text, &c.expression, &error))
                    return fail(label + QStringLiteral("：") + error);
                c.hasExpression = true;
            }
            break;
        default:
            break;
        }
        if (c.hasExpression) {
            if (!c.expression.bind(*this, &error))
                return fail(label + QStringLiteral("：") + error);
            if (c.expression.usesTotalPages())
                m_needsTwoPasses = true;
            if (c.expression.usesAggregates() &&
                (band.kind == Kind::ReportTitle || band.kind == Kind::GroupHeader))
                m_needsTwoPasses = true;
        }
        if (o.kind == ReportObject::Kind::Picture && !c.hasExpression) {
            if (!o.pictureData.isEmpty()) {
                c.image = decodeImage(o.pictureData, o.rect.size());
            } else if (!o.pictureFile.isEmpty()) {
                const QString path = QDir(m_options.pictureFolder).filePath(o.pictureFile);
                QFileInfo info(path);
                QFile file(path);
                // A missing picture file prints an empty frame, as a missing logo should.
                if (info.isFile() && info.size() <= kMaxPictureFileBytes && file.open(QIODevice::ReadOnly))
                    c.image = decodeImage(file.readAll(), o.rect.size());
            }
        }
        out.objects.push_back(std::move(c));
    }
    return true;
}

bool Run::compile()
{
    m_bands.resize(size_t(m_t.bands.size()));
    for (int i = 0; i < m_t.bands.size(); ++i)
        if (!compileBand(m_t.bands[i], m_bands[size_t(i)]))
            return false;

    for (CompiledBand& b : m_bands) {
        if (b.band->kind != Kind::MasterData)
            continue;
        MasterPlan m;
        m.data = &b;
        m_masters.push_back(std::move(m));
    }
    auto masterOf = [this](const QString& name) -> MasterPlan* {
        for (MasterPlan& m : m_masters)
            if (m.data->band->name.compare(name, Qt::CaseInsensitive) == 0)
                return &m;
        return nullptr;
    };
    for (CompiledBand& b : m_bands) {
        const ReportBand& band = *b.band;
        switch (band.kind) {
        case Kind::ColumnHeader: {
            MasterPlan* m = band.master.isEmpty() ? (m_masters.empty() ? nullptr : &m_masters.front())
                                                  : masterOf(band.master);
            if (m && !m->columnHeader)
                m->columnHeader = &b;
            break;
        }
        case Kind::GroupHeader: {
            MasterPlan* m = masterOf(band.master);
            if (!m)
                break;
            GroupPlan g;
            g.header = &b;
            if (!compileCondition(band.condition, &g.condition, band.name))
                return false;
            m->groups.push_back(std::move(g));
            break;
        }
        case Kind::DetailData: {
            MasterPlan* m = masterOf(band.master);
            if (!m)
                break;
            DetailPlan d;
            d.data = &b;
            if (!band.masterField.isEmpty()) {
                d.masterField = m_slots[size_t(m->data->slot)].source->fieldIndex(band.masterField);
                d.detailField = m_slots[size_t(b.slot)].source->fieldIndex(band.detailField);
                if (d.masterField < 0)
                    return fail(QStringLiteral("区域“%1”：数据源“%2”中没有关联字段“%3”")
                                    .arg(band.name, m->data->band->source, band.masterField));
                if (d.detailField < 0)
                    return fail(QStringLiteral("区域“%1”：数据源“%2”中没有关联字段“%3”")
                                    .arg(band.name, band.source, band.detailField));
            }
            m->details.push_back(std::move(d));
            break;
        }
        default:
            break;
        }
    }
    // Headers, footers and group footers find their partners.
    for (CompiledBand& b : m_bands) {
        const ReportBand& band = *b.band;
        if (band.kind == Kind::DetailHeader || band.kind == Kind::DetailFooter) {
            for (MasterPlan& m : m_masters)
                for (DetailPlan& d : m.details)
                    if (d.data->band->name.compare(band.detail, Qt::CaseInsensitive) == 0) {
                        CompiledBand*& slot = band.kind == Kind::DetailHeader ? d.header : d.footer;
                        if (!slot)
                            slot = &b;
                    }
        } else if (band.kind == Kind::GroupFooter) {
            for (MasterPlan& m : m_masters)
                for (GroupPlan& g : m.groups)
                    if (g.header->band->name.compare(band.group, Qt::CaseInsensitive) == 0 && !g.footer)
                        g.footer = &b;
        }
    }
    if (m_t.repeated && !m_reportSource.isEmpty()) {
        const int slot = slotOf(m_reportSource);
        if (slot < 0)
            return fail(QStringLiteral("报表数据源“%1”没有连接").arg(m_reportSource));
        QString error;
        if (!use(slot, &error))
            return fail(error);
    }
    return true;
}

double Run::bodyBottom() const
{
    const CompiledBand* footer = nullptr;
    for (const CompiledBand& b : m_bands)
        if (b.band->kind == Kind::PageFooter)
            footer = &b;
    const double bottom = m_t.page.pageHeight() - m_t.page.marginBottom;
    return footer ? bottom - footer->band->height : bottom;
}

double Run::buildBand(CompiledBand& cb, double maxHeight, QList<ReportPageItem>* items)
{
    const ReportBand& band = *cb.band;
    const double left = m_t.page.marginLeft;
    struct Pending {
        ReportPageItem item;
        bool stretch = false;
        double bottomGap = 0;
    };
    std::vector<Pending> pending;
    pending.reserve(cb.objects.size());
    double height = band.height;

    for (const CompiledObject& c : cb.objects) {
        const ReportObject& o = *c.object;
        // Measuring only (first pass, or a page-break test): only growing texts matter.
        if (!items && !(o.stretch && band.stretch))
            continue;
        Pending p;
        ReportPageItem& item = p.item;
        item.name = o.name;
        item.style = c.style;
        item.rect = o.rect;
        const ReportStyle& style = o.style;
        switch (o.kind) {
        case ReportObject::Kind::Text:
        case ReportObject::Kind::Field: {
            item.kind = ReportPageItem::Kind::Text;
            if (c.hasExpression)
                item.text = c.expression.text(*this, o.displayFormat);
            const double innerWidth = qMax(1.0, o.rect.width() - 2 * kPadX);
            item.lines = m_text.wrap(item.text, style, innerWidth);
            item.lineHeight = m_text.lineHeight(style);
            const double needed = item.lines.size() * item.lineHeight + 2 * kPadY;
            if (o.stretch && band.stretch && needed > o.rect.height())
                height = qMax(height, o.rect.y() + needed);
            break;
        }
        case ReportObject::Kind::Line:
            item.kind = ReportPageItem::Kind::Line;
            break;
        case ReportObject::Kind::Rectangle:
            item.kind = ReportPageItem::Kind::Rectangle;
            break;
        case ReportObject::Kind::Picture:
            item.kind = ReportPageItem::Kind::Picture;
            item.keepAspect = o.keepAspect;
            if (c.hasExpression) {
                const QVariant v = c.expression.evaluate(*this);
                if (v.typeId() == QMetaType::QByteArray && !v.toByteArray().isEmpty())
                    item.image = decodeImage(v.toByteArray(), o.rect.size());
            } else {
                item.image = c.image;
            }
            break;
        case ReportObject::Kind::CheckBox:
            item.kind = ReportPageItem::Kind::CheckBox;
            item.checked = c.hasExpression && ReportValues::toBool(c.expression.evaluate(*this));
            break;
        }
        p.stretch = o.stretch && band.stretch;
        p.bottomGap = band.height - o.rect.bottom();
        pending.push_back(std::move(p));
    }
    height = qMin(height, maxHeight);

    if (items) {
        for (Pending& p : pending) {
            ReportPageItem& item = p.item;
            if (p.stretch && height > band.height)
                item.rect.setBottom(qMax(item.rect.bottom(), height - qMax(0.0, p.bottomGap)));
            if (item.rect.bottom() > height && item.rect.top() < height && height < band.height)
                item.rect.setBottom(height); // a band cut at the page end
            if (item.kind == ReportPageItem::Kind::Text) {
                const double needed = item.lines.size() * item.lineHeight + 2 * kPadY;
                item.clip = needed > item.rect.height() + 0.01;
                if (!item.clip) {
                    for (int i = 0; i < item.lines.size() && !item.clip; ++i)
                        item.clip = m_text.textWidth(
                                        QStringView(item.text).mid(item.lines[i].start, item.lines[i].length),
                                        m_styles[item.style]) > item.rect.width() - 2 * kPadX + 0.01;
                }
            }
            item.rect.translate(left, 0);
            items->append(std::move(item));
        }
    }
    return height;
}

void Run::placeAt(CompiledBand& band, double y, double maxHeight, bool repeated)
{
    QList<ReportPageItem> items;
    const double h = buildBand(band, maxHeight, m_record ? &items : nullptr);
    commit(band, y, h, std::move(items), repeated);
}

void Run::commit(CompiledBand& band, double y, double h, QList<ReportPageItem>&& items, bool repeated)
{
    m_y = y + h;
    if (!m_record)
        return;
    ReportPage& page = m_out->pages.last();
    const int bandIndex = int(page.bands.size());
    page.bands.append({band.band->kind, band.band->name,
                       QRectF(m_t.page.marginLeft, y, m_t.page.bodyWidth(), h), repeated});
    for (ReportPageItem& item : items) {
        item.band = bandIndex;
        item.rect.translate(0, y);
        page.items.append(std::move(item));
    }
    m_items += items.size();
}

bool Run::newPage()
{
    if (m_pageOpen)
        finishPage();
    if (m_pages >= m_options.maxPages)
        return fail(QStringLiteral("报表超过 %1 页，请缩小查询范围后再打印").arg(m_options.maxPages));
    if (m_items > ReportLimits::maxPageItems)
        return fail(QStringLiteral("报表内容太多，请缩小查询范围后再打印"));
    ++m_pages;
    m_pageNumber = m_pages;
    if (m_record)
        m_out->pages.append(ReportPage());
    m_pageOpen = true;
    m_pendingBreak = false;
    m_content = false;
    m_y = m_t.page.marginTop;
    std::fill(m_page.begin(), m_page.end(), Acc());

    const double bottom = bodyBottom();
    if (CompiledBand* header = single(Kind::PageHeader)) {
        if (m_pageNumber > 1 || header->band->onFirstPage) {
            m_scope = Scope::Report;
            placeAt(*header, m_y, bottom - m_y, false);
        }
    }
    if (m_activeColumnHeader) {
        m_scope = Scope::Report;
        placeAt(*m_activeColumnHeader, m_y, bottom - m_y, true);
    }
    if (m_activeDetailHeader) {
        m_scope = Scope::Master;
        placeAt(*m_activeDetailHeader, m_y, bottom - m_y, true);
    }
    return true;
}

void Run::finishPage()
{
    if (!m_pageOpen)
        return;
    if (CompiledBand* footer = single(Kind::PageFooter)) {
        m_scope = Scope::Page;
        const double y = m_t.page.pageHeight() - m_t.page.marginBottom - footer->band->height;
        placeAt(*footer, y, footer->band->height, false);
    }
    m_pageOpen = false;
}

bool Run::emitBand(CompiledBand* band, Scope scope, int group, double keepWithNext, bool repeated)
{
    if (!band)
        return true;
    m_scope = scope;
    m_scopeGroup = group;
    if (!m_pageOpen || m_pendingBreak || (band->band->newPageBefore && m_content)) {
        if (!newPage())
            return false;
        m_scope = scope;
        m_scopeGroup = group;
    }
    const double bottom = bodyBottom();
    QList<ReportPageItem> items;
    double h = buildBand(*band, std::numeric_limits<double>::max(), m_record ? &items : nullptr);
    if (m_y + h + keepWithNext > bottom + 1e-6 && m_content) {
        if (!newPage())
            return false;
        m_scope = scope;
        m_scopeGroup = group;
        // Values such as the page number change with the page.
        items.clear();
        h = buildBand(*band, std::numeric_limits<double>::max(), m_record ? &items : nullptr);
    }
    if (m_y + h > bottom + 1e-6) {
        // Taller than a whole page: cut at the page end rather than run off the sheet.
        items.clear();
        h = buildBand(*band, qMax(0.0, bottom - m_y), m_record ? &items : nullptr);
    }
    commit(*band, m_y, h, std::move(items), repeated);
    m_content = true;
    // A master row breaks the page after its details, not between them.
    if (band->band->newPageAfter && band->band->kind != Kind::MasterData)
        m_pendingBreak = true;
    return m_error.isEmpty();
}

void Run::accumulate(int slot, bool pageScope)
{
    for (size_t i = 0; i < m_aggregates.size(); ++i) {
        const AggregateDef& def = m_aggregates[i];
        if (def.slot != slot)
            continue;
        const bool counted = def.argument.isEmpty();
        const QVariant v = counted ? QVariant() : def.argument.evaluate(*this);
        const bool hasValue = !counted && !v.isNull() && v.isValid();
        const double x = hasValue ? ReportValues::toNumber(v) : 0.0;
        auto add = [&](AccSet& set) {
            Acc& a = set[i];
            ++a.count;
            if (!hasValue)
                return;
            a.sum += x;
            a.min = a.values ? std::min(a.min, x) : x;
            a.max = a.values ? std::max(a.max, x) : x;
            ++a.values;
        };
        if (pageScope) {
            add(m_page);
        } else {
            add(m_report);
            add(m_master);
            for (AccSet& g : m_groups)
                add(g);
        }
    }
}

QList<int> Run::masterRows(const MasterPlan& m) const
{
    const Slot& s = m_slots[size_t(m.data->slot)];
    QList<int> rows;
    if (m.data->band->rows == ReportBand::Rows::Current) {
        if (s.cursor >= 0 && s.cursor < s.source->rowCount())
            rows << s.cursor;
        return rows;
    }
    const int n = s.source->rowCount();
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows << i;
    return rows;
}

bool Run::openGroup(MasterPlan& m, size_t level)
{
    m_groups.resize(level + 1);
    m_groupIds.resize(level + 1);
    m_groups[level].assign(m_aggregates.size(), Acc());
    m_groupIds[level] = m_groupCounter++;
    return emitBand(m.groups[level].header, Scope::FinalGroup, int(level), m.data->band->height);
}

bool Run::closeGroup(MasterPlan& m, size_t level)
{
    const bool ok = emitBand(m.groups[level].footer, Scope::Group, int(level));
    if (!m_record || !m_haveFinals) {
        const int id = m_groupIds[level];
        if (size_t(id) >= m_groupFinals.size())
            m_groupFinals.resize(size_t(id) + 1);
        m_groupFinals[size_t(id)] = m_groups[level];
    }
    m_groups.resize(level);
    m_groupIds.resize(level);
    return ok;
}

bool Run::runDetails(MasterPlan& m)
{
    const Slot& master = m_slots[size_t(m.data->slot)];
    for (DetailPlan& d : m.details) {
        Slot& slot = m_slots[size_t(d.data->slot)];
        QList<int> rows;
        if (d.masterField < 0) {
            for (int i = 0; i < slot.source->rowCount(); ++i)
                rows << i;
        } else {
            if (!d.indexed) {
                for (int i = 0; i < slot.source->rowCount(); ++i)
                    d.index[linkKey(slot.source->value(i, d.detailField))].append(i);
                d.indexed = true;
            }
            rows = d.index.value(linkKey(master.source->value(master.cursor, d.masterField)));
        }
        if (rows.isEmpty() && !d.data->band->printIfEmpty)
            continue;
        if (!emitBand(d.header, Scope::Master, -1, rows.isEmpty() ? 0 : d.data->band->height))
            return false;
        if (d.header && d.header->band->repeat)
            m_activeDetailHeader = d.header;
        int line = 0;
        for (int r : rows) {
            slot.cursor = r;
            m_line = ++line;
            accumulate(d.data->slot, false);
            if (!emitBand(d.data, Scope::Master))
                return false;
            accumulate(d.data->slot, true);
        }
        m_activeDetailHeader = nullptr;
        if (!emitBand(d.footer, Scope::Master))
            return false;
    }
    return true;
}

bool Run::runMaster(MasterPlan& m)
{
    Slot& slot = m_slots[size_t(m.data->slot)];
    const QList<int> rows = masterRows(m);
    if (m.columnHeader) {
        if (!emitBand(m.columnHeader, Scope::Report, -1, rows.isEmpty() ? 0 : m.data->band->height))
            return false;
        m_activeColumnHeader = m.columnHeader;
    }
    QStringList previous;
    int line = 0;
    for (int r : rows) {
        slot.cursor = r;
        QStringList values;
        for (GroupPlan& g : m.groups)
            values << ReportValues::toText(g.condition.evaluate(*this));
        size_t changed = m.groups.size();
        for (size_t i = 0; i < m.groups.size(); ++i) {
            if (previous.isEmpty() || values[int(i)] != previous[int(i)]) {
                changed = i;
                break;
            }
        }
        if (!previous.isEmpty()) {
            for (size_t level = m_groups.size(); level-- > changed;)
                if (!closeGroup(m, level))
                    return false;
        }
        for (size_t level = changed; level < m.groups.size(); ++level) {
            if (!openGroup(m, level))
                return false;
            line = 0;
        }
        previous = values;

        m_master.assign(m_aggregates.size(), Acc());
        m_line = ++line;
        accumulate(m.data->slot, false);
        if (!emitBand(m.data, Scope::Report))
            return false;
        accumulate(m.data->slot, true);
        const int keepLine = m_line;
        if (!runDetails(m))
            return false;
        m_line = keepLine;
        if (m.data->band->newPageAfter)
            m_pendingBreak = true;
    }
    for (size_t level = m_groups.size(); level-- > 0;)
        if (!closeGroup(m, level))
            return false;
    m_activeColumnHeader = nullptr;
    return true;
}

bool Run::body()
{
    if (!newPage())
        return false;
    if (!emitBand(single(Kind::ReportTitle), Scope::Final))
        return false;
    for (MasterPlan& m : m_masters)
        if (!runMaster(m))
            return false;
    return emitBand(single(Kind::Summary), Scope::Report);
}

bool Run::layout(bool record)
{
    m_record = record;
    m_pages = 0;
    m_pageNumber = 0;
    m_items = 0;
    m_line = 0;
    m_pageOpen = false;
    m_pendingBreak = false;
    m_activeColumnHeader = nullptr;
    m_activeDetailHeader = nullptr;
    m_groupCounter = 0;
    m_groups.clear();
    m_groupIds.clear();
    m_report.assign(m_aggregates.size(), Acc());
    m_page.assign(m_aggregates.size(), Acc());
    m_master.assign(m_aggregates.size(), Acc());
    for (Slot& s : m_slots)
        s.cursor = s.initial;

    const int reportSlot = m_t.repeated && !m_reportSource.isEmpty() ? slotOf(m_reportSource) : -1;
    if (reportSlot < 0) {
        if (!body())
            return false;
    } else {
        Slot& s = m_slots[size_t(reportSlot)];
        const int n = s.source->rowCount();
        for (int r = 0; r < n; ++r) {
            for (Slot& other : m_slots)
                other.cursor = other.initial;
            s.cursor = r;
            m_pendingBreak = true;
            if (!body())
                return false;
        }
        if (n == 0 && !newPage())
            return false;
    }
    finishPage();
    return m_error.isEmpty();
}

bool Run::prepare(PreparedReport* out, QString* error)
{
    m_out = out;
    bool ok = compile();
    if (ok && m_needsTwoPasses) {
        // First pass: page count and the totals that headers show before their rows.
        ok = layout(false);
        m_totalPages = m_pages;
        m_reportFinal = m_report;
        m_haveFinals = true;
    }
    if (ok) {
        out->title = m_t.title;
        out->pageSize = QSizeF(m_t.page.pageWidth(), m_t.page.pageHeight());
        out->pages.clear();
        ok = layout(true);
        if (!m_needsTwoPasses)
            m_totalPages = m_pages;
    }
    if (!ok) {
        out->pages.clear();
        if (error)
            *error = m_error;
        return false;
    }
    out->styles = m_styles;
    return true;
}

} // namespace

bool ReportEngine::prepare(const ReportTemplate& report, const Sources& sources, const QString& reportSource,
                           const Options& options, PreparedReport* out, QString* error)
{
    QString invalid;
    if (!report.validate(&invalid)) {
        if (error)
            *error = invalid;
        return false;
    }
    Run run(report, sources, reportSource, options);
    return run.prepare(out, error);
}
