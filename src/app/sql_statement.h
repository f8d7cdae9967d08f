#pragma once

#include <QString>
#include <QVariantList>

// A statement built by the program and the values its "?" marks take, in order.
struct SqlStatement {
    QString sql;
    QVariantList values;
};
