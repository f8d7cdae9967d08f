#include "print/report_expression.h"

#include "print/report_eval_context.h"
#include "print/report_expression_binder.h"
#include "print/report_limits.h"
#include "print/report_values.h"

#include <QDate>
#include <QDateTime>
#include <QList>

#include <vector>

namespace {

enum class NodeType { Literal, Field, Variable, Negate, Binary, Iif, Format, Aggregate };
enum class Variable { Date, Time, Page, TotalPages, Line };
enum class Op { Add, Sub, Mul, Div, Eq, Ne, Lt, Gt, Le, Ge };

struct Node {
    NodeType type = NodeType::Literal;
    QVariant value;
    QString source;
    QString field;
    Variable variable = Variable::Date;
    Op op = Op::Add;
    ReportExpressionBinder::Aggregate aggregate = ReportExpressionBinder::Aggregate::Sum;
    int a = -1;
    int b = -1;
    int c = -1;
    int depth = 1;
    int slot = -1;
    int index = -1;
    int aggregateId = -1;
};

struct Segment {
    QString literal;
    int root = -1; // expression node, or -1 for a literal piece
};

QVariant compare(Op op, const QVariant& l, const QVariant& r)
{
    int cmp = 0;
    // A yes/no column compares as 1 or 0, so IIF(flag = 1, ...) works whichever way it is stored.
    const auto numeric = [](const QVariant& v) {
        return ReportValues::isNumber(v) || v.typeId() == QMetaType::Bool;
    };
    if (numeric(l) && numeric(r)) {
        const double x = ReportValues::toNumber(l), y = ReportValues::toNumber(r);
        cmp = x < y ? -1 : (x > y ? 1 : 0);
    } else if ((l.typeId() == QMetaType::QDate || l.typeId() == QMetaType::QDateTime) &&
               (r.typeId() == QMetaType::QDate || r.typeId() == QMetaType::QDateTime)) {
        const QDateTime x = l.toDateTime(), y = r.toDateTime();
        cmp = x < y ? -1 : (x > y ? 1 : 0);
    } else {
        cmp = QString::compare(ReportValues::toText(l), ReportValues::toText(r), Qt::CaseInsensitive);
    }
    switch (op) {
    case Op::Eq:
        return cmp == 0;
    case Op::Ne:
        return cmp != 0;
    case Op::Lt:
        return cmp < 0;
    case Op::Gt:
        return cmp > 0;
    case Op::Le:
        return cmp <= 0;
    case Op::Ge:
        return cmp >= 0;
    default:
        return false;
    }
}

} // namespace

struct ReportExpression::Impl {
    std::vector<Node> nodes;
    QList<Segment> segments;
    bool totalPages = false;
    bool aggregates = false;

    QVariant eval(int i, const ReportEvalContext& ctx) const;
};

QVariant ReportExpression::Impl::eval(int i, const ReportEvalContext& ctx) const
{
    const Node& n = nodes[size_t(i)];
    switch (n.type) {
    case NodeType::Literal:
        return n.value;
    case NodeType::Field:
        return n.slot < 0 ? QVariant() : ctx.fieldValue(n.slot, n.index);
    case NodeType::Variable:
        switch (n.variable) {
        case Variable::Date:
            return ctx.now().date();
        case Variable::Time:
            return ctx.now().time().toString(QStringLiteral("hh:mm:ss"));
        case Variable::Page:
            return ctx.pageNumber();
        case Variable::TotalPages:
            return ctx.totalPages();
        case Variable::Line:
            return ctx.lineNumber();
        }
        return {};
    case NodeType::Negate: {
        const QVariant v = eval(n.a, ctx);
        return v.isNull() ? QVariant() : QVariant(-ReportValues::toNumber(v));
    }
    case NodeType::Binary: {
        const QVariant l = eval(n.a, ctx);
        const QVariant r = eval(n.b, ctx);
        switch (n.op) {
        case Op::Add:
            // Text joins, numbers add, as in the templates people are used to.
            if ((ReportValues::isNumber(l) || l.isNull()) && (ReportValues::isNumber(r) || r.isNull()) &&
                !(l.isNull() && r.isNull()))
                return ReportValues::toNumber(l) + ReportValues::toNumber(r);
            return ReportValues::toText(l) + ReportValues::toText(r);
        case Op::Sub:
            return ReportValues::toNumber(l) - ReportValues::toNumber(r);
        case Op::Mul:
            return ReportValues::toNumber(l) * ReportValues::toNumber(r);
        case Op::Div: {
            const double y = ReportValues::toNumber(r);
            return y == 0.0 ? QVariant() : QVariant(ReportValues::toNumber(l) / y);
        }
        default:
            return compare(n.op, l, r);
        }
    }
    case NodeType::Iif:
        return ReportValues::toBool(eval(n.a, ctx)) ? eval(n.b, ctx) : eval(n.c, ctx);
    case NodeType::Format:
        return ReportValues::toText(eval(n.a, ctx), ReportValues::toText(eval(n.b, ctx)));
    case NodeType::Aggregate:
        return n.aggregateId < 0 ? QVariant() : ctx.aggregate(n.aggregateId);
    }
    return {};
}

// Recursive descent over one expression; every node records its depth so that neither the
// parser nor the evaluator can be driven into a stack overflow.
struct ReportExpressionParser {
    ReportExpression::Impl& impl;
    QString src;
    int pos = 0;
    QString error;
    int nesting = 0;

    bool fail(const QString& text)
    {
        if (error.isEmpty())
            error = text;
        return false;
    }
    void skipSpace()
    {
        while (pos < src.size() && src[pos].isSpace())
            ++pos;
    }
    bool peek(QChar c)
    {
        skipSpace();
        return pos < src.size() && src[pos] == c;
    }
    bool accept(QChar c)
    {
        if (peek(c)) {
            ++pos;
            return true;
        }
        return false;
    }
    int add(Node node)
    {
        node.depth = 1;
        for (int child : {node.a, node.b, node.c})
            if (child >= 0)
                node.depth = std::max(node.depth, impl.nodes[size_t(child)].depth + 1);
        if (node.depth > ReportLimits::maxExpressionDepth) {
            fail(QStringLiteral("表达式嵌套太深"));
            return -1;
        }
        impl.nodes.push_back(std::move(node));
        return int(impl.nodes.size()) - 1;
    }
    static bool identStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
    static bool identPart(QChar c)
    {
        return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#');
    }

    QString identifier()
    {
        skipSpace();
        const int start = pos;
        if (pos < src.size() && identStart(src[pos])) {
            ++pos;
            while (pos < src.size() && identPart(src[pos]))
                ++pos;
        }
        return src.mid(start, pos - start);
    }
    // A quoted name or text: '...' or "..." with the quote doubled inside.
    bool quoted(QString* out)
    {
        skipSpace();
        const QChar q = src[pos];
        ++pos;
        QString text;
        while (pos < src.size()) {
            if (src[pos] == q) {
                if (pos + 1 < src.size() && src[pos + 1] == q) {
                    text += q;
                    pos += 2;
                    continue;
                }
                ++pos;
                *out = text;
                return true;
            }
            text += src[pos++];
        }
        return fail(QStringLiteral("引号没有结束"));
    }
    bool isQuote()
    {
        skipSpace();
        return pos < src.size() && (src[pos] == QLatin1Char('\'') || src[pos] == QLatin1Char('"'));
    }

    int expression()
    {
        if (++nesting > ReportLimits::maxExpressionDepth) {
            fail(QStringLiteral("表达式嵌套太深"));
            return -1;
        }
        const int result = comparison();
        --nesting;
        return result;
    }
    int comparison()
    {
        int left = additive();
        if (left < 0)
            return -1;
        skipSpace();
        static const struct {
            const char* text;
            Op op;
        } ops[] = {{"<>", Op::Ne}, {"<=", Op::Le}, {">=", Op::Ge},
                   {"=", Op::Eq},  {"<", Op::Lt},  {">", Op::Gt}};
        for (const auto& o : ops) {
            if (QStringView(src).mid(pos).startsWith(QLatin1String(o.text))) {
                pos += int(qstrlen(o.text));
                const int right = additive();
                if (right < 0)
                    return -1;
                Node n;
                n.type = NodeType::Binary;
                n.op = o.op;
                n.a = left;
                n.b = right;
                return add(n);
            }
        }
        return left;
    }
    int additive()
    {
        int left = term();
        while (left >= 0) {
            Op op;
            if (accept(QLatin1Char('+')))
                op = Op::Add;
            else if (accept(QLatin1Char('-')))
                op = Op::Sub;
            else
                break;
            const int right = term();
            if (right < 0)
                return -1;
            Node n;
            n.type = NodeType::Binary;
            n.op = op;
            n.a = left;
            n.b = right;
            left = add(n);
        }
        return left;
    }
    int term()
    {
        int left = unary();
        while (left >= 0) {
            Op op;
            if (accept(QLatin1Char('*')))
                op = Op::Mul;
            else if (accept(QLatin1Char('/')))
                op = Op::Div;
            else
                break;
            const int right = unary();
            if (right < 0)
                return -1;
            Node n;
            n.type = NodeType::Binary;
            n.op = op;
            n.a = left;
            n.b = right;
            left = add(n);
        }
        return left;
    }
    int unary()
    {
        if (accept(QLatin1Char('-'))) {
            if (++nesting > ReportLimits::maxExpressionDepth) {
                fail(QStringLiteral("表达式嵌套太深"));
                return -1;
            }
            const int operand = unary();
            --nesting;
            if (operand < 0)
                return -1;
            Node n;
            n.type = NodeType::Negate;
            n.a = operand;
            return add(n);
        }
        return primary();
    }
    int primary()
    {
        skipSpace();
        if (pos >= src.size()) {
            fail(QStringLiteral("表达式不完整"));
            return -1;
        }
        const QChar c = src[pos];
        if (c.isDigit() || (c == QLatin1Char('.') && pos + 1 < src.size() && src[pos + 1].isDigit())) {
            const int start = pos;
            while (pos < src.size() && (src[pos].isDigit() || src[pos] == QLatin1Char('.')))
                ++pos;
            bool ok = false;
            const double v = src.mid(start, pos - start).toDouble(&ok);
            if (!ok) {
                fail(QStringLiteral("数字“%1”无效").arg(src.mid(start, pos - start)));
                return -1;
            }
            Node n;
            n.value = v;
            return add(n);
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString text;
            if (!quoted(&text))
                return -1;
            // "source"."field" is a field too.
            if (peek(QLatin1Char('.'))) {
                ++pos;
                return fieldAfterSource(text);
            }
            Node n;
            n.value = text;
            return add(n);
        }
        if (accept(QLatin1Char('('))) {
            const int inner = expression();
            if (inner < 0)
                return -1;
            if (!accept(QLatin1Char(')'))) {
                fail(QStringLiteral("缺少右括号"));
                return -1;
            }
            return inner;
        }
        const QString name = identifier();
        if (name.isEmpty()) {
            fail(QStringLiteral("无法识别“%1”").arg(src.mid(pos, 10)));
            return -1;
        }
        if (accept(QLatin1Char('.')))
            return fieldAfterSource(name);
        if (peek(QLatin1Char('(')))
            return call(name);
        return variable(name);
    }
    int fieldAfterSource(const QString& source)
    {
        QString field;
        if (isQuote()) {
            if (!quoted(&field))
                return -1;
        } else {
            field = identifier();
        }
        if (field.isEmpty() || source.isEmpty()) {
            fail(QStringLiteral("字段引用不完整"));
            return -1;
        }
        Node n;
        n.type = NodeType::Field;
        n.source = source;
        n.field = field;
        return add(n);
    }
    int variable(const QString& name)
    {
        static const struct {
            const char* name;
            Variable v;
        } vars[] = {{"DATE", Variable::Date},
                    {"TIME", Variable::Time},
                    {"PAGE#", Variable::Page},
                    {"PAGE", Variable::Page},
                    {"TOTALPAGES", Variable::TotalPages},
                    {"TOTALPAGES#", Variable::TotalPages},
                    {"LINE#", Variable::Line},
                    {"LINE", Variable::Line}};
        for (const auto& v : vars) {
            if (name.compare(QLatin1String(v.name), Qt::CaseInsensitive) == 0) {
                Node n;
                n.type = NodeType::Variable;
                n.variable = v.v;
                if (v.v == Variable::TotalPages)
                    impl.totalPages = true;
                return add(n);
            }
        }
        fail(QStringLiteral("未知的变量“%1”").arg(name.left(40)));
        return -1;
    }
    int call(const QString& name)
    {
        accept(QLatin1Char('('));
        const QString upper = name.toUpper();
        static const struct {
            const char* name;
            ReportExpressionBinder::Aggregate f;
        } aggregates[] = {{"SUM", ReportExpressionBinder::Aggregate::Sum},
                          {"COUNT", ReportExpressionBinder::Aggregate::Count},
                          {"AVG", ReportExpressionBinder::Aggregate::Avg},
                          {"MIN", ReportExpressionBinder::Aggregate::Min},
                          {"MAX", ReportExpressionBinder::Aggregate::Max}};
        for (const auto& a : aggregates)
            if (upper == QLatin1String(a.name))
                return aggregate(a.f);
        if (upper == QLatin1String("IIF") || upper == QLatin1String("FORMAT")) {
            QList<int> args;
            if (!peek(QLatin1Char(')'))) {
                do {
                    const int arg = expression();
                    if (arg < 0)
                        return -1;
                    args << arg;
                } while (accept(QLatin1Char(',')));
            }
            if (!accept(QLatin1Char(')'))) {
                fail(QStringLiteral("缺少右括号"));
                return -1;
            }
            const bool iif = upper == QLatin1String("IIF");
            if (args.size() != (iif ? 3 : 2)) {
                fail(QStringLiteral("函数 %1 的参数个数不对").arg(upper));
                return -1;
            }
            Node n;
            n.type = iif ? NodeType::Iif : NodeType::Format;
            n.a = args[0];
            n.b = args[1];
            n.c = iif ? args[2] : -1;
            return add(n);
        }
        fail(QStringLiteral("未知的函数“%1”").arg(name.left(40)));
        return -1;
    }
    // SUM(expr) / SUM(expr, band) / COUNT(source-or-band) / COUNT()
    int aggregate(ReportExpressionBinder::Aggregate f)
    {
        Node n;
        n.type = NodeType::Aggregate;
        n.aggregate = f;
        if (f == ReportExpressionBinder::Aggregate::Count) {
            if (!peek(QLatin1Char(')'))) {
                if (isQuote()) {
                    if (!quoted(&n.source))
                        return -1;
                } else {
                    n.source = identifier();
                }
                if (n.source.isEmpty()) {
                    fail(QStringLiteral("COUNT 需要数据源或区域名称"));
                    return -1;
                }
            }
        } else {
            const int before = int(impl.nodes.size());
            n.a = expression();
            if (n.a < 0)
                return -1;
            for (size_t i = size_t(before); i < impl.nodes.size(); ++i) {
                const Node& inner = impl.nodes[i];
                if (inner.type == NodeType::Aggregate) {
                    fail(QStringLiteral("聚合函数不能嵌套"));
                    return -1;
                }
                if (inner.type == NodeType::Field) {
                    if (n.source.isEmpty()) {
                        n.source = inner.source;
                    } else if (n.source.compare(inner.source, Qt::CaseInsensitive) != 0) {
                        fail(QStringLiteral("聚合函数只能使用一个数据源的字段"));
                        return -1;
                    }
                }
            }
            if (accept(QLatin1Char(','))) {
                n.source = identifier();
                if (n.source.isEmpty()) {
                    fail(QStringLiteral("聚合函数的第二个参数应为区域名称"));
                    return -1;
                }
            }
            if (n.source.isEmpty()) {
                fail(QStringLiteral("聚合函数需要一个数据字段"));
                return -1;
            }
        }
        if (!accept(QLatin1Char(')'))) {
            fail(QStringLiteral("缺少右括号"));
            return -1;
        }
        impl.aggregates = true;
        return add(n);
    }

    int parseWhole(const QString& text)
    {
        src = text;
        pos = 0;
        if (src.trimmed().isEmpty()) {
            fail(QStringLiteral("空表达式"));
            return -1;
        }
        const int root = expression();
        if (root < 0)
            return -1;
        skipSpace();
        if (pos < src.size()) {
            fail(QStringLiteral("多余的内容“%1”").arg(src.mid(pos, 20)));
            return -1;
        }
        return root;
    }
};

ReportExpression::ReportExpression() = default;
ReportExpression::~ReportExpression() = default;
ReportExpression::ReportExpression(const ReportExpression&) = default;
ReportExpression& ReportExpression::operator=(const ReportExpression&) = default;

bool ReportExpression::parseExpression(const QString& text, ReportExpression* out, QString* error)
{
    auto impl = std::make_shared<Impl>();
    ReportExpressionParser parser{*impl, {}, 0, {}, 0};
    const int root = parser.parseWhole(text);
    if (root < 0) {
        if (error)
            *error = QStringLiteral("表达式“%1”有误：%2").arg(text.left(60), parser.error);
        return false;
    }
    out->d = impl;
    out->m_root = root;
    return true;
}

bool ReportExpression::parseText(const QString& text, ReportExpression* out, QString* error)
{
    auto impl = std::make_shared<Impl>();
    QString literal;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        const QChar c = text[i];
        if (c != QLatin1Char('[')) {
            literal += c;
            ++i;
            continue;
        }
        if (i + 1 < n && text[i + 1] == QLatin1Char('[')) {
            literal += c;
            i += 2;
            continue;
        }
        // Find the closing bracket, skipping quoted names and texts.
        int j = i + 1;
        QChar quote;
        for (; j < n; ++j) {
            const QChar d = text[j];
            if (!quote.isNull()) {
                if (d == quote)
                    quote = QChar();
                continue;
            }
            if (d == QLatin1Char('\'') || d == QLatin1Char('"'))
                quote = d;
            else if (d == QLatin1Char(']') || d == QLatin1Char('['))
                break;
        }
        if (j >= n || text[j] != QLatin1Char(']')) {
            if (error)
                *error = QStringLiteral("文字“%1”中的方括号没有配对（要打印“[”请写“[[”）").arg(text.left(60));
            return false;
        }
        ReportExpressionParser parser{*impl, {}, 0, {}, 0};
        const QString inner = text.mid(i + 1, j - i - 1);
        const int root = parser.parseWhole(inner);
        if (root < 0) {
            if (error)
                *error = QStringLiteral("表达式“[%1]”有误：%2").arg(inner.left(60), parser.error);
            return false;
        }
        if (!literal.isEmpty()) {
            impl->segments.append({literal, -1});
            literal.clear();
        }
        impl->segments.append({QString(), root});
        i = j + 1;
    }
    if (!literal.isEmpty())
        impl->segments.append({literal, -1});
    out->d = impl;
    out->m_root = -1;
    return true;
}

QString ReportExpression::escapeText(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("["), QLatin1String("[["));
    return out;
}

bool ReportExpression::isEmpty() const
{
    return !d || (m_root < 0 && d->segments.isEmpty());
}

bool ReportExpression::isLiteral() const
{
    if (!d)
        return true;
    if (m_root >= 0)
        return false;
    for (const Segment& s : d->segments)
        if (s.root >= 0)
            return false;
    return true;
}

bool ReportExpression::usesTotalPages() const
{
    return d && d->totalPages;
}

bool ReportExpression::usesAggregates() const
{
    return d && d->aggregates;
}

bool ReportExpression::bind(ReportExpressionBinder& binder, QString* error)
{
    if (!d)
        return true;
    for (size_t i = 0; i < d->nodes.size(); ++i) {
        Node& n = d->nodes[i];
        if (n.type == NodeType::Field) {
            if (!binder.bindField(n.source, n.field, &n.slot, &n.index, error))
                return false;
        } else if (n.type == NodeType::Aggregate) {
            ReportExpression argument;
            if (n.a >= 0) {
                argument.d = d;
                argument.m_root = n.a;
            }
            if (!binder.bindAggregate(n.aggregate, n.source, argument, &n.aggregateId, error))
                return false;
        }
    }
    return true;
}

QVariant ReportExpression::evaluate(const ReportEvalContext& context) const
{
    if (!d)
        return {};
    if (m_root >= 0)
        return d->eval(m_root, context);
    if (d->segments.size() == 1 && d->segments[0].root >= 0)
        return d->eval(d->segments[0].root, context);
    return text(context);
}

QString ReportExpression::text(const ReportEvalContext& context, const QString& displayFormat) const
{
    if (!d)
        return {};
    if (m_root >= 0)
        return ReportValues::toText(d->eval(m_root, context), displayFormat);
    QString out;
    for (const Segment& s : d->segments)
        out += s.root < 0 ? s.literal : ReportValues::toText(d->eval(s.root, context), displayFormat);
    return out;
}
