#include "print/report_eval_context.h"
#include "print/report_expression.h"
#include "print/report_expression_binder.h"

#include <gtest/gtest.h>

#include <QDate>

namespace {

// One row of fields of the source "t"; aggregates are not bound here (the engine tests them).
class Row final : public ReportEvalContext, public ReportExpressionBinder {
public:
    QStringList names{"F_price", "F_name", "F_date", "F_flag", "F_null", "F_count"};
    QVariantList values{12.5, QStringLiteral("张三"), QDate(1900, 8, 14), true, QVariant(), 3};

    QVariant fieldValue(int, int field) const override { return values[field]; }
    QVariant aggregate(int) const override { return 42.0; }
    int pageNumber() const override { return 3; }
    int totalPages() const override { return 7; }
    int lineNumber() const override { return 5; }
    QDateTime now() const override { return QDateTime(QDate(2024, 5, 31), QTime(8, 5, 9)); }

    bool bindField(const QString& source, const QString& field, int* slot, int* index,
                   QString* error) override
    {
        *slot = 0;
        *index = int(names.indexOf(field));
        if (source != "t" || *index < 0) {
            *error = "unknown " + source + "." + field;
            return false;
        }
        return true;
    }
    bool bindAggregate(Aggregate, const QString&, const ReportExpression&, int* id, QString*) override
    {
        *id = 0;
        return true;
    }
};

QString evaluate(const QString& text, const QString& format = {})
{
    ReportExpression e;
    QString error;
    Row row;
    if (!ReportExpression::parseText(text, &e, &error) || !e.bind(row, &error))
        return "ERROR " + error;
    return e.text(row, format);
}

} // namespace

TEST(ReportExpression, EvaluatesFieldsVariablesAndOperators)
{
    const struct {
        const char* text;
        const char* format;
        const char* result;
    } cases[] = {
        {"[t.\"F_price\"]", "", "12.5"},
        {"[t.F_price]", ",0.00", "12.50"},
        {"单价：[t.\"F_price\" * 2] 元", "", "单价：25 元"},
        {"['顾客' + t.\"F_name\"]", "", "顾客张三"},
        {"[t.\"F_price\" + t.\"F_count\"]", "", "15.5"},
        {"[t.\"F_date\"]", "", ""}, // the no-date value prints blank
        {"[t.\"F_flag\"]", "", "是"},
        {"[t.\"F_null\"]", "", ""},
        {"[t.\"F_null\" + 1]", "", "1"},
        {"[-t.\"F_price\"]", "", "-12.5"},
        {"[1/0]", "", ""},
        {"[IIF(t.\"F_price\" > 10, '贵', '便宜')]", "", "贵"},
        {"[IIF(t.\"F_name\" = '张三', 'yes', 'no')]", "", "yes"},
        {"[IIF(t.\"F_flag\" = 1, '进货', '退货')]", "", "进货"}, // a yes/no column compares as 1 or 0
        {"[FORMAT(t.\"F_price\", ',0.00')]", "", "12.50"},
        {"['it''s']", "", "it's"},
        {"[DATE] [TIME]", "", "2024-05-31 08:05:09"},
        {"第[PAGE#]页/共[TOTALPAGES]页 第[LINE#]行", "", "第3页/共7页 第5行"},
        {"[[不是表达式] a]b", "", "[不是表达式] a]b"},
        {"[SUM(t.\"F_price\")]", ",0.00", "42.00"},
        {"[ (1 + 2) * 3 - 4 / 2 ]", "", "7"},
        {"[1 + (]", "", "ERROR"},
        {"[1 + ]", "", "ERROR"},
        {"[nosuch(1)]", "", "ERROR"},
        {"[IIF(1, 2)]", "", "ERROR"},
        {"[t.\"F_missing\"]", "", "ERROR"},
        {"['open]", "", "ERROR"},
        {"[]", "", "ERROR"},
    };
    for (const auto& c : cases) {
        const QString result = evaluate(QString::fromUtf8(c.text), QString::fromUtf8(c.format));
        if (QByteArray(c.result) == "ERROR")
            EXPECT_TRUE(result.startsWith("ERROR")) << c.text << " -> " << result.toStdString();
        else
            EXPECT_EQ(result, QString::fromUtf8(c.result)) << c.text;
    }
}

TEST(ReportExpression, DeepNestingIsRefusedBeforeItCanExhaustTheStack)
{
    const QString parens = "[" + QString(5000, '(') + "1" + QString(5000, ')') + "]";
    const QString negations = "[" + QString(5000, '-') + "1]";
    QStringList terms;
    for (int i = 0; i < 20000; ++i)
        terms << "1";
    const QString chain = "[" + terms.join('+') + "]";
    for (const QString& text : {parens, negations, chain})
        EXPECT_TRUE(evaluate(text).contains(QStringLiteral("嵌套太深"))) << text.left(20).toStdString();
}
