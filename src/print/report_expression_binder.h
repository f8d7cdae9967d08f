#pragma once

#include <QString>

class ReportExpression;

// Resolves the names an expression uses against the tied data sources and bands.
class ReportExpressionBinder {
public:
    enum class Aggregate { Sum, Count, Avg, Min, Max };

    virtual ~ReportExpressionBinder() = default;
    virtual bool bindField(const QString& source, const QString& field, int* sourceSlot, int* fieldIndex,
                           QString* error) = 0;
    // `source` names a data source or a data band; `argument` is empty for COUNT.
    virtual bool bindAggregate(Aggregate function, const QString& source, const ReportExpression& argument,
                               int* id, QString* error) = 0;
};
