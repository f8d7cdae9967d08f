#pragma once

#include <QString>

class QSqlQuery;
class RecordSet;

// The catalogue data of one article that a goods line copies.
struct GoodsItem {
    QString code;
    QString name;
    QString type;
    QString spec;
    QString pinPai;
    QString address;
    QString unit;
    double price1 = 0; // selling price
    QString tmCode;    // barcode

    // The article in a row of t_goods columns (missing columns stay empty).
    static GoodsItem fromRecordSet(const RecordSet& rows, int row);
    static GoodsItem fromQuery(const QSqlQuery& query);

    bool operator==(const GoodsItem&) const = default;
};
