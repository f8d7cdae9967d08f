#include "data/grid_layout_seed.h"

#include "data/database.h"

#include <QList>

namespace {

struct GridColumnSeed {
    const char* key; // grid key, lower case
    const char* field;
    const char* caption;
    int width;
    bool visible;
    const char* displayFormat;
    int footerType; // 0 none, 1 static text, 2 sum
    const char* footerValue;
    int alignment; // 0 left, 1 centre, 2 right
};

// Filled as the grids are built.
const QList<GridColumnSeed>& seeds()
{
    static const QList<GridColumnSeed> all = {};
    return all;
}

} // namespace

namespace GridLayoutSeed {

bool insertKey(Database& db, const QString& key, QString* error)
{
    int order = 0;
    for (const GridColumnSeed& s : seeds()) {
        if (key.compare(QLatin1String(s.key), Qt::CaseInsensitive) != 0)
            continue;
        const bool ok = db.insert(QStringLiteral("cfg_Grid"),
                                  {{QStringLiteral("F_name"), QString::fromLatin1(s.key).toLower()},
                                   {QStringLiteral("F_FieldName"), QString::fromLatin1(s.field)},
                                   {QStringLiteral("F_Caption"), QString::fromUtf8(s.caption)},
                                   {QStringLiteral("F_Width"), s.width},
                                   {QStringLiteral("F_Visible"), s.visible ? 1 : 0},
                                   {QStringLiteral("F_ReadOnly"), 1},
                                   {QStringLiteral("F_DisplayFormat"), QString::fromLatin1(s.displayFormat)},
                                   {QStringLiteral("F_FooterValue"), QString::fromUtf8(s.footerValue)},
                                   {QStringLiteral("F_FooterType"), s.footerType},
                                   {QStringLiteral("F_Alignment"), s.alignment},
                                   {QStringLiteral("F_Order"), order++}})
                            .has_value();
        if (!ok) {
            if (error)
                *error = db.lastError();
            return false;
        }
    }
    return true;
}

bool insertAll(Database& db, QString* error)
{
    QStringList keys;
    for (const GridColumnSeed& s : seeds()) {
        const QString key = QString::fromLatin1(s.key).toLower();
        if (!keys.contains(key))
            keys << key;
    }
    for (const QString& key : keys) {
        if (!insertKey(db, key, error))
            return false;
    }
    return true;
}

} // namespace GridLayoutSeed
