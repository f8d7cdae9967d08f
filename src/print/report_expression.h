#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class ReportEvalContext;
class ReportExpressionBinder;

// A compiled text with [expressions], or one bare expression.
//
//   [frMain."F_client"]  field of a data source (quotes optional for plain names)
//   [DATE] [TIME] [PAGE#] [TOTALPAGES] [LINE#]
//   [SUM(frDetail1."F_totalprice")] [COUNT(frDetail1)] AVG MIN MAX, optionally (expr, band)
//   [IIF(a > 0, 'yes', 'no')] [FORMAT(x, ',0.00')] + - * / = <> < > <= >=, 'text' literals
//
// "[[" prints one "[". Copies share the compiled form.
class ReportExpression {
public:
    ReportExpression();
    ~ReportExpression();
    ReportExpression(const ReportExpression&);
    ReportExpression& operator=(const ReportExpression&);

    static bool parseText(const QString& text, ReportExpression* out, QString* error);
    static bool parseExpression(const QString& text, ReportExpression* out, QString* error);
    // The text with every "[" doubled, so that it prints exactly as given.
    static QString escapeText(const QString& text);

    bool isEmpty() const;
    // True when the text holds no expression at all.
    bool isLiteral() const;
    bool usesTotalPages() const;
    bool usesAggregates() const;

    bool bind(ReportExpressionBinder& binder, QString* error);
    QVariant evaluate(const ReportEvalContext& context) const;
    QString text(const ReportEvalContext& context, const QString& displayFormat = {}) const;

private:
    struct Impl;
    friend struct ReportExpressionParser;
    std::shared_ptr<Impl> d;
    int m_root = -1; // a bare expression or a sub-expression (aggregate argument)
};
