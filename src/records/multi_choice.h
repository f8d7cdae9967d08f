#pragma once

#include "app/sql_statement.h"

#include <QList>
#include <QString>
#include <QStringList>

// The comma-separated text a multi-choice list edits: which entries a text ticks and the
// text the ticked entries make.
class MultiChoice {
public:
    // For each entry whether the text names it. The text's pieces are the parts between
    // commas, trimmed; an empty piece names nothing.
    static QList<bool> ticked(const QStringList& entries, const QString& text);
    // The ticked entries in list order joined by ",", without a trailing comma.
    static QString join(const QStringList& entries, const QList<bool>& ticked);

    // The entries of the repair information list ('wxinfo'), in entry order.
    static SqlStatement repairInfoSource();
    static QString repairInfoCaption() { return QStringLiteral("维护信息列表"); }
};
