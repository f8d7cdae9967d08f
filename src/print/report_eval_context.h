#pragma once

#include <QDateTime>
#include <QVariant>

// What an expression reads while the engine lays out a band.
class ReportEvalContext {
public:
    virtual ~ReportEvalContext() = default;
    virtual QVariant fieldValue(int source, int field) const = 0;
    virtual QVariant aggregate(int id) const = 0;
    virtual int pageNumber() const = 0;
    virtual int totalPages() const = 0;
    virtual int lineNumber() const = 0;
    virtual QDateTime now() const = 0;
};
