#include "data/schema.h"

#include "data/database.h"
#include "data/grid_layout_seed.h"
#include "data/schema_seed.h"

#include <QHash>
#include <QStringList>

namespace {

using T = ColumnType;

ColumnDef id()
{
    return {"F_ID", T::AutoId};
}
ColumnDef text(const char* name, int width = 50)
{
    return {name, T::Text, width};
}
ColumnDef memo(const char* name)
{
    return {name, T::Memo};
}
ColumnDef dbl(const char* name)
{
    return {name, T::Double};
}
ColumnDef lng(const char* name)
{
    return {name, T::Long};
}
ColumnDef integer(const char* name)
{
    return {name, T::Integer};
}
ColumnDef yesNo(const char* name)
{
    return {name, T::Bool};
}
ColumnDef date(const char* name)
{
    return {name, T::Date};
}

QList<TableDef> buildTables()
{
    QList<TableDef> t;
    t.append({"t_client",
              {id(),
               text("F_code"),
               text("F_client", 255),
               text("F_phone"),
               text("F_movePhone"),
               text("F_address", 255),
               text("F_area", 200),
               text("F_buyAddress", 255),
               date("F_buyDate"),
               text("F_IFsonghuo"),
               date("F_setupDate"),
               text("F_phoneYD"),
               text("F_tiaoma"),
               memo("F_memo1"),
               text("F_FWemp"),
               dbl("F_FWprice"),
               text("F_status"),
               memo("F_memo2"),
               text("F_PGemp"),
               text("F_OperName"),
               text("F_FWtype"),
               text("F_tiaoma1"),
               text("F_tiaoma2"),
               text("F_XSemp"),
               text("F_HFemp"),
               text("F_EditEmp"),
               text("F_FPcode"),
               text("F_setupPOS"),
               text("F_PStype"),
               text("F_FWtaidu"),
               text("F_ZF1"),
               text("F_ZF2"),
               text("F_ZF3"),
               text("F_ZF4"),
               text("F_ZF5"),
               dbl("F_SZ1"),
               dbl("F_SZ2"),
               dbl("F_SZ3"),
               date("F_RQ1"),
               date("F_RQ2"),
               date("F_RQ3"),
               date("F_awokeDate")}});
    t.append({"t_HPrec",
              {id(), text("F_code"), text("F_HPcode"), text("F_HPname"), text("F_type", 255), text("F_PLtype"),
               text("F_pinPai"), text("F_spec"), text("F_address", 255), text("F_unit"), dbl("F_amount"),
               dbl("F_price"), dbl("F_totalprice"), text("F_FPcode"), text("F_TMcode"), text("F_YZcode"),
               memo("F_memo1")}});
    t.append({"t_HFrec",
              {id(),
               text("F_code"),
               text("F_client", 200),
               text("F_phone"),
               text("F_movePhone"),
               text("F_Address", 255),
               date("F_HFdate"),
               text("F_HFemp"),
               memo("F_memo1"),
               memo("F_memo2"),
               memo("F_memo3"),
               text("F_FWtaidu"),
               yesNo("F_addFlag"),
               text("F_HFitem1"),
               text("F_HFitem2"),
               text("F_HFitem3"),
               text("F_HFitem4"),
               text("F_HFitem5"),
               dbl("F_HFprice1"),
               dbl("F_HFprice2"),
               dbl("F_HFprice3"),
               dbl("F_HFprice4"),
               dbl("F_HFprice5"),
               dbl("F_HFtotalPrice")}});
    t.append({"t_WXrec",
              {id(),
               text("F_code"),
               text("F_WXcode", 100),
               text("F_FWtype", 100),
               text("F_bxFlag"),
               text("F_WXstatus", 100),
               memo("F_memo1"),
               memo("F_memo2"),
               memo("F_memo3"),
               date("F_bxDate"),
               date("F_SMtime"),
               text("F_FWemp"),
               text("F_FWemp2"),
               text("F_reasonFlag"),
               memo("F_memo4"),
               memo("F_memo5"),
               memo("F_memo6"),
               memo("F_WXinfo"),
               memo("F_WXother"),
               dbl("F_PJtotalprice"),
               dbl("F_FWtotalprice"),
               dbl("F_SFtotalprice"),
               memo("F_mem"),
               date("F_XFdate"),
               text("F_PGemp"),
               text("F_OperName"),
               text("F_HFemp"),
               lng("F_WXflag"),
               text("F_FWtaidu"),
               dbl("F_XZprice"),
               text("F_XZemp"),
               text("F_Phone")}});
    t.append({"t_PJdetail",
              {id(), text("F_WXcode"), text("F_code"), text("F_name"), text("F_spec"), dbl("F_amount"),
               dbl("F_price"), dbl("F_totalprice"), yesNo("F_IFshouFei"), memo("F_memo1")}});
    t.append({"t_goods",
              {id(), text("F_code"), text("F_name"), text("F_type"), text("F_TMcode"), text("F_spec"),
               text("F_pinPai"), dbl("F_price1"), dbl("F_price2"), text("F_address", 200), text("F_unit"),
               text("F_BXqi"), yesNo("F_useFlag"), text("F_Memo1"), dbl("F_amount"),
               {"F_goodImage", T::Blob}, text("F_imagePath", 255), text("F_suppler", 255)}});
    t.append({"t_goodJHrec",
              {id(), text("F_GoodCode"), date("F_editDate"), dbl("F_amount"), memo("F_memo1"), dbl("F_price1"),
               dbl("F_price2"), text("F_OperName"), integer("F_OperFlag")}});
    t.append({"t_code", {id(), text("F_code"), text("F_name", 100), text("F_type")}});
    // F_ID is not among the historic columns of the tree, permission, layout and import tables;
    // it is added so that single rows can be changed by key like everywhere else.
    t.append({"t_treecode", {id(), text("F_code", 100), text("F_name", 100), text("F_likecode", 255), text("F_flag")}});
    t.append({"OperList",
              {id(), text("F_Code"), text("F_Name"), text("F_PassWord", 128), text("F_PartCode"), text("F_Mem", 255),
               yesNo("F_Flag"), yesNo("F_xtFlag")}});
    t.append({"PartList", {id(), text("F_Code"), text("F_Name"), text("F_Mem", 255), yesNo("F_Flag")}});
    t.append({"Limits", {id(), text("F_Code"), text("F_Name"), yesNo("F_Flag")}});
    t.append({"PartLimit", {id(), text("F_PartCode"), text("F_LmtCode")}});
    t.append({"sysInfo",
              {id(), text("F_Code"), text("F_Name", 255), text("F_Manager"), text("F_Phone"), text("F_HandPhone"),
               text("F_Homepage", 255), text("F_Email", 255), text("F_Enroler"), text("F_Mem", 255),
               text("F_BakPath", 255)}});
    t.append({"KeyValue", {id(), text("F_Value", 255)}});
    t.append({"cfg_Grid",
              {id(), text("F_name"), text("F_FieldName"), text("F_Caption", 100), lng("F_Width"), lng("F_Visible"),
               lng("F_ReadOnly"), text("F_DisplayFormat"), text("F_FooterValue", 100), lng("F_FooterType"),
               lng("F_Alignment"), lng("F_Order")}});
    t.append({"cfg_stat", {id(), text("F_Name", 100), memo("F_SQLtext")}});
    t.append({"cfg_import",
              {id(), text("F_tablename"), lng("F_iFlag"), text("S_Field"), text("F_FieldName"), text("F_Field")}});
    t.append({"cfg_Version", {{"F_Version", T::Long}}});
    return t;
}

struct IndexDef {
    const char* name;
    const char* table;
    const char* columns;
    bool unique;
};

const IndexDef kIndexes[] = {
    {"ux_client_code", "t_client", "F_code", true},
    {"ix_client_buydate", "t_client", "F_buyDate", false},
    {"ix_client_client", "t_client", "F_client", false},
    {"ix_client_phone", "t_client", "F_phone", false},
    {"ix_client_movephone", "t_client", "F_movePhone", false},
    {"ix_client_buyaddress", "t_client", "F_buyAddress", false},
    {"ix_client_fwemp", "t_client", "F_FWemp", false},
    {"ix_client_setupdate", "t_client", "F_setupDate", false},
    {"ix_hprec_code", "t_HPrec", "F_code", false},
    {"ix_hprec_hpcode", "t_HPrec", "F_HPcode", false},
    {"ix_hfrec_code", "t_HFrec", "F_code", false},
    {"ix_hfrec_date", "t_HFrec", "F_HFdate", false},
    {"ux_wxrec_wxcode", "t_WXrec", "F_WXcode", true},
    {"ix_wxrec_code", "t_WXrec", "F_code", false},
    {"ix_wxrec_bxdate", "t_WXrec", "F_bxDate", false},
    {"ix_pjdetail_wxcode", "t_PJdetail", "F_WXcode", false},
    {"ux_goods_code", "t_goods", "F_code", true},
    {"ix_goods_name", "t_goods", "F_name", false},
    {"ix_goods_type", "t_goods", "F_type", false},
    {"ix_goodjhrec_goodcode", "t_goodJHrec", "F_GoodCode", false},
    {"ix_goodjhrec_editdate", "t_goodJHrec", "F_editDate", false},
    {"ix_code_type", "t_code", "F_type, F_name", false},
    {"ix_treecode_flag", "t_treecode", "F_flag, F_code", false},
    {"ix_operlist_code", "OperList", "F_Code", false},
    {"ix_partlimit_part", "PartLimit", "F_PartCode, F_LmtCode", false},
    {"ix_cfggrid_name", "cfg_Grid", "F_name, F_FieldName", false},
    {"ix_cfgimport_table", "cfg_import", "F_tablename", false},
    // The main list: counting by status or operator over a date range reads an index alone;
    // the value lists read their distinct values from an index instead of sorting the table;
    // goods-line name and brand filters find their order codes in the index.
    {"ix_client_status_date", "t_client", "F_status, F_buyDate", false},
    // Orders found through their goods lines are checked against the date and status here.
    {"ix_client_code_cover", "t_client", "F_code, F_buyDate, F_status", false},
    {"ix_client_opername_date", "t_client", "F_OperName, F_buyDate", false},
    {"ix_client_area", "t_client", "F_area", false},
    {"ix_client_ifsonghuo", "t_client", "F_IFsonghuo", false},
    {"ix_client_setuppos", "t_client", "F_setupPOS", false},
    {"ix_client_xsemp", "t_client", "F_XSemp", false},
    {"ix_client_pgemp", "t_client", "F_PGemp", false},
    {"ix_client_fwtype", "t_client", "F_FWtype", false},
    {"ix_client_pstype", "t_client", "F_PStype", false},
    {"ix_client_fwtaidu", "t_client", "F_FWtaidu", false},
    {"ix_hprec_name_code", "t_HPrec", "F_HPname, F_code", false},
    {"ix_hprec_pinpai_code", "t_HPrec", "F_pinPai, F_code", false},
    // The repair management list: a status over a report-date range, and the repairs that
    // used a part of a name.
    {"ix_wxrec_flag_bxdate", "t_WXrec", "F_WXflag, F_bxDate", false},
    {"ix_pjdetail_name_wxcode", "t_PJdetail", "F_name, F_WXcode", false},
};

// The repair orders with their customer's data. t_WXrec's own F_Phone is left out: the
// customer's telephone takes that name, and a view cannot carry the name twice.
QString repairViewSql(const TableDef& repairs)
{
    QStringList columns;
    for (const ColumnDef& column : repairs.columns) {
        if (QString::fromLatin1(column.name).compare(QLatin1String("F_Phone"), Qt::CaseInsensitive) != 0)
            columns << QStringLiteral("w.") + QLatin1String(column.name);
    }
    columns << QStringLiteral("c.F_client") << QStringLiteral("c.F_phone") << QStringLiteral("c.F_movePhone")
            << QStringLiteral("c.F_address") << QStringLiteral("c.F_area") << QStringLiteral("c.F_buyAddress")
            << QStringLiteral("c.F_buyDate") << QStringLiteral("c.F_FWemp AS F_AZemp");
    return QStringLiteral("CREATE VIEW v_WXrec AS SELECT %1 FROM t_WXrec w LEFT JOIN t_client c ON c.F_code = w.F_code")
        .arg(columns.join(QStringLiteral(", ")));
}

QString createTableSql(const Dialect& dialect, const TableDef& table)
{
    QStringList columns;
    for (const ColumnDef& column : table.columns)
        columns << QLatin1String(column.name) + QLatin1Char(' ') + dialect.columnType(column.type, column.width);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(table.name), columns.join(QStringLiteral(", ")));
}

bool runAll(Database& db, const QStringList& statements, QString* error);

// Every index; an index a database already has is left alone.
QStringList indexStatements()
{
    QStringList statements;
    for (const IndexDef& index : kIndexes) {
        statements << QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                          .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), QLatin1String(index.name),
                               QLatin1String(index.table), QLatin1String(index.columns));
    }
    return statements;
}

// Upgrade steps: step k brings a database from version k to version k + 1. A new database is
// created at the current version directly.
using UpgradeStep = bool (*)(Database&, QString*);

// Version 1 to 2: the designed columns of the main list and its detail grids, for keys that
// have no stored row yet.
bool addMainWindowGridLayouts(Database& db, QString* error)
{
    for (const char* key : {"clientmain", "detail1", "detail2", "detail3"}) {
        const auto rows = db.scalar(QStringLiteral("SELECT count(*) FROM cfg_Grid WHERE F_name = ?"),
                                    {QString::fromLatin1(key)});
        if (!rows) {
            if (error)
                *error = db.lastError();
            return false;
        }
        if (rows->toLongLong() == 0 && !GridLayoutSeed::insertKey(db, QString::fromLatin1(key), error))
            return false;
    }
    return true;
}

// Version 2 to 3: the indexes the list filters and value lists came to need.
bool addMissingIndexes(Database& db, QString* error)
{
    return runAll(db, indexStatements(), error);
}

// Version 3 to 4: the designed columns of the repair management list, and its indexes.
bool addRepairManagerGridLayout(Database& db, QString* error)
{
    const auto rows = db.scalar(QStringLiteral("SELECT count(*) FROM cfg_Grid WHERE F_name = ?"),
                                {QStringLiteral("wxrecman")});
    if (!rows) {
        if (error)
            *error = db.lastError();
        return false;
    }
    if (rows->toLongLong() == 0 && !GridLayoutSeed::insertKey(db, QStringLiteral("wxrecman"), error))
        return false;
    return runAll(db, indexStatements(), error);
}

const QList<UpgradeStep>& upgradeSteps()
{
    static const QList<UpgradeStep> steps = {addMainWindowGridLayouts, addMissingIndexes,
                                             addRepairManagerGridLayout};
    return steps;
}

bool runAll(Database& db, const QStringList& statements, QString* error)
{
    for (const QString& statement : statements) {
        if (!db.exec(statement)) {
            if (error)
                *error = db.lastError() + QStringLiteral(" [") + statement.left(120) + QLatin1Char(']');
            return false;
        }
    }
    return true;
}

} // namespace

namespace Schema {

int currentVersion()
{
    return 1 + int(upgradeSteps().size());
}

const QList<TableDef>& tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

const TableDef* table(const QString& name)
{
    for (const TableDef& t : tables()) {
        if (name.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

std::optional<ColumnType> columnType(const QString& column)
{
    // A name that means different types in different tables (F_flag is text in the code tree and
    // yes/no elsewhere) has no type by name alone; the driver's value then decides.
    static const QHash<QString, std::optional<ColumnType>> byName = [] {
        QHash<QString, std::optional<ColumnType>> map;
        for (const TableDef& t : tables()) {
            for (const ColumnDef& c : t.columns) {
                const ColumnType type = c.type == ColumnType::Memo ? ColumnType::Text : c.type;
                const QString key = QString::fromLatin1(c.name).toLower();
                const auto it = map.constFind(key);
                if (it == map.cend())
                    map.insert(key, type);
                else if (*it != type)
                    map[key] = std::nullopt;
            }
        }
        return map;
    }();
    return byName.value(column.toLower(), std::nullopt);
}

std::optional<ColumnType> columnType(const QString& tableName, const QString& column)
{
    const TableDef* t = table(tableName);
    if (!t)
        return std::nullopt;
    for (const ColumnDef& c : t->columns) {
        if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.type;
    }
    return std::nullopt;
}

int textWidth(const QString& tableName, const QString& column)
{
    const TableDef* t = table(tableName);
    if (!t)
        return 0;
    for (const ColumnDef& c : t->columns) {
        if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.type == ColumnType::Text ? c.width : 0;
    }
    return 0;
}

bool create(Database& db, QString* error)
{
    const Dialect& dialect = db.dialect();
    if (!runAll(db, dialect.schemaPreamble(), error))
        return false;
    Transaction transaction(db);
    if (!transaction.isActive()) {
        if (error)
            *error = db.lastError();
        return false;
    }
    QStringList statements;
    for (const TableDef& t : tables())
        statements << createTableSql(dialect, t);
    statements << indexStatements();
    statements << repairViewSql(*table(QStringLiteral("t_WXrec")));
    if (!runAll(db, statements, error))
        return false;
    if (!SchemaSeed::insertAll(db, error))
        return false;
    if (!db.exec(QStringLiteral("INSERT INTO cfg_Version (F_Version) VALUES (?)"), {currentVersion()})) {
        if (error)
            *error = db.lastError();
        return false;
    }
    if (!transaction.commit()) {
        if (error)
            *error = db.lastError();
        return false;
    }
    return true;
}

std::optional<int> installedVersion(Database& db)
{
    auto value = db.scalar(QStringLiteral("SELECT max(F_Version) FROM cfg_Version"));
    if (!value || value->isNull())
        return std::nullopt;
    bool ok = false;
    const int version = value->toInt(&ok);
    if (!ok)
        return std::nullopt;
    return version;
}

bool upgrade(Database& db, QString* error)
{
    const auto installed = installedVersion(db);
    if (!installed) {
        if (error)
            *error = QStringLiteral("not a database of this program");
        return false;
    }
    if (*installed > currentVersion()) {
        if (error)
            *error = QStringLiteral("the database was written by a newer version of the program");
        return false;
    }
    if (*installed == currentVersion())
        return true;
    Transaction transaction(db);
    for (int version = *installed; version < currentVersion(); ++version) {
        if (!upgradeSteps().at(version - 1)(db, error))
            return false;
    }
    if (!db.exec(QStringLiteral("UPDATE cfg_Version SET F_Version = ?"), {currentVersion()})) {
        if (error)
            *error = db.lastError();
        return false;
    }
    return transaction.commit();
}

} // namespace Schema
