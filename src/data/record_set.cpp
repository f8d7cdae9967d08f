#include "data/record_set.h"

#include "data/database.h"
#include "data/schema.h"
#include "data/sql_value.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>

namespace {

enum class RowState { Unchanged, Modified, Inserted };

struct Row {
    QVariantList values;
    QVariantList original; // the values as read, kept while the row is Modified
    RowState state = RowState::Unchanged;
    bool deleted = false;
    quint64 uid = 0; // rises in query order, then in append order
};

bool isNullValue(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

QVariant nullOf(ColumnType type)
{
    return type == ColumnType::Date ? QVariant(QMetaType(QMetaType::QDate)) : QVariant();
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool aNull = isNullValue(a);
    const bool bNull = isNullValue(b);
    if (aNull || bNull)
        return aNull == bNull;
    return a == b;
}

bool isBlankText(const QVariant& value)
{
    return value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty();
}

// A value as the column holds it; nothing when it cannot become one.
std::optional<QVariant> coerce(const QVariant& value, ColumnType type)
{
    if (isNullValue(value))
        return nullOf(type);
    bool ok = false;
    switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        return value.typeId() == QMetaType::QString ? value : QVariant(value.toString());
    case ColumnType::Date: {
        if (isBlankText(value))
            return nullOf(type);
        const QDate date = SqlDates::toDate(value);
        if (!date.isValid())
            return std::nullopt;
        return QVariant(date);
    }
    case ColumnType::Bool:
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed().toLower();
            if (text == QLatin1String("1") || text == QLatin1String("true"))
                return QVariant(true);
            if (text.isEmpty() || text == QLatin1String("0") || text == QLatin1String("false"))
                return QVariant(false);
            return std::nullopt;
        }
        return QVariant(value.toBool());
    case ColumnType::Double: {
        if (isBlankText(value))
            return nullOf(type);
        const double number = value.toDouble(&ok);
        return ok ? std::optional<QVariant>(number) : std::nullopt;
    }
    case ColumnType::AutoId:
    case ColumnType::Long:
    case ColumnType::Integer: {
        if (isBlankText(value))
            return nullOf(type);
        const qlonglong number = value.toLongLong(&ok);
        if (ok)
            return QVariant(number);
        const double real = value.toDouble(&ok);
        if (ok && std::trunc(real) == real)
            return QVariant(qlonglong(real));
        return std::nullopt;
    }
    case ColumnType::Blob:
        return value;
    }
    return value;
}

ColumnType typeFromDriver(const QMetaType& type)
{
    switch (type.id()) {
    case QMetaType::Bool:
        return ColumnType::Bool;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return ColumnType::Long;
    case QMetaType::Float:
    case QMetaType::Double:
        return ColumnType::Double;
    case QMetaType::QDate:
        return ColumnType::Date;
    case QMetaType::QByteArray:
        return ColumnType::Blob;
    default:
        return ColumnType::Text;
    }
}

QString errorText(const QSqlError& error)
{
    const QString database = error.databaseText().trimmed();
    const QString driver = error.driverText().trimmed();
    if (database.isEmpty())
        return driver;
    if (driver.isEmpty())
        return database;
    return driver + QStringLiteral(": ") + database;
}

// One value of a sort key, prepared once so that sorting a large list compares cheaply.
struct SortCell {
    bool null = true;
    double number = 0;
    std::optional<QCollatorSortKey> text;
};

int compareCells(const SortCell& a, const SortCell& b)
{
    if (a.null || b.null)
        return int(b.null) - int(a.null);
    if (a.text && b.text)
        return a.text->compare(*b.text);
    if (a.number < b.number)
        return -1;
    return a.number > b.number ? 1 : 0;
}

} // namespace

struct RecordSet::Private {
    RecordSet* q = nullptr;
    Database* db = nullptr;
    QString sql;
    QVariantList values;
    QString lastError;
    bool open = false;
    int chunkSize = 256;

    // Unfinished statement; reset once every row is read so that an SQLite reader does not
    // hold the WAL.
    std::unique_ptr<QSqlQuery> query;
    // The row after the last chunk, read ahead so that canFetchMore is exact and a finished
    // statement is released as soon as its last row is read.
    std::optional<QVariantList> readAhead;
    bool readFailed = false;

    QStringList names;
    QList<ColumnType> types;
    QHash<QString, int> indexByName; // lower-case name
    QHash<QString, ColumnType> typeOverrides;

    // Every row in display order, deleted ones included; `visible` maps model rows to them.
    QList<Row> rows;
    QList<int> visible;
    int current = -1;
    quint64 nextUid = 1;

    QString updateTable;
    QString keyField = QStringLiteral("F_ID");
    QHash<quint64, qint64> pendingIds;

    QList<SortKey> sortKeys;

    int column(const QString& name) const { return indexByName.value(name.toLower(), -1); }

    // A sort text taken from an ORDER BY may name a field with its table ("c.F_code").
    int resolveField(const QString& name) const
    {
        int c = column(name.trimmed());
        const int dot = int(name.lastIndexOf(QLatin1Char('.')));
        if (c < 0 && dot >= 0)
            c = column(name.mid(dot + 1).trimmed());
        return c;
    }

    ColumnType typeOf(const QString& name, const QMetaType& driverType) const
    {
        const auto override = typeOverrides.constFind(name.toLower());
        if (override != typeOverrides.cend())
            return *override;
        if (const auto known = Schema::columnType(name))
            return *known;
        return typeFromDriver(driverType);
    }

    quint64 currentUid() const { return current >= 0 ? rows.at(visible.at(current)).uid : 0; }

    int visibleRowOf(quint64 uid) const
    {
        for (int i = 0; i < visible.size(); ++i) {
            if (rows.at(visible.at(i)).uid == uid)
                return i;
        }
        return -1;
    }

    void rebuildVisible()
    {
        visible.clear();
        visible.reserve(rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            if (!rows.at(i).deleted)
                visible.append(i);
        }
    }

    void clearData()
    {
        if (query)
            query->finish();
        query.reset();
        readAhead.reset();
        readFailed = false;
        open = false;
        names.clear();
        types.clear();
        indexByName.clear();
        rows.clear();
        visible.clear();
        pendingIds.clear();
        current = -1;
    }

    bool execute()
    {
        lastError.clear();
        if (!db || !db->isOpen()) {
            lastError = QStringLiteral("the database is not open");
            return false;
        }
        // Forward-only where the engine allows it; on PostgreSQL the whole result comes to the
        // client at once and only the conversion to values is lazy.
        auto statement = std::make_unique<QSqlQuery>(db->createQuery());
        if (!statement->prepare(sql)) {
            lastError = errorText(statement->lastError());
            return false;
        }
        for (int i = 0; i < values.size(); ++i)
            statement->bindValue(i, db->toBindable(values.at(i)));
        if (!statement->exec()) {
            lastError = errorText(statement->lastError());
            return false;
        }
        if (!statement->isSelect()) {
            lastError = QStringLiteral("the statement returns no rows");
            return false;
        }
        const QSqlRecord record = statement->record();
        for (int i = 0; i < record.count(); ++i) {
            const QSqlField field = record.field(i);
            names << field.name();
            types << typeOf(field.name(), field.metaType());
            if (!indexByName.contains(field.name().toLower()))
                indexByName.insert(field.name().toLower(), i);
        }
        query = std::move(statement);
        open = true;
        QList<Row> chunk;
        readChunk(chunk, chunkSize);
        appendSilently(chunk);
        current = visible.isEmpty() ? -1 : 0;
        return !readFailed;
    }

    QVariantList readValues() const
    {
        QVariantList row;
        row.reserve(types.size());
        for (int i = 0; i < types.size(); ++i)
            row << db->fromStorage(query->value(i), types.at(i));
        return row;
    }

    void finishQuery()
    {
        const QSqlError error = query->lastError();
        if (error.isValid()) {
            lastError = errorText(error);
            readFailed = true;
        }
        query->finish();
        query.reset();
    }

    void readChunk(QList<Row>& out, int limit)
    {
        while (query && out.size() < limit) {
            QVariantList values;
            if (readAhead) {
                values = std::move(*readAhead);
                readAhead.reset();
            } else if (query->next()) {
                values = readValues();
            } else {
                finishQuery();
                break;
            }
            Row row;
            row.values = std::move(values);
            row.uid = nextUid++;
            out.append(std::move(row));
        }
        if (query && !readAhead) {
            if (query->next())
                readAhead = readValues();
            else
                finishQuery();
        }
    }

    void appendSilently(QList<Row>& chunk)
    {
        for (Row& row : chunk) {
            visible.append(int(rows.size()));
            rows.append(std::move(row));
        }
    }

    // Reads the next chunk and tells the views; false when nothing more came.
    bool fetchChunk(int limit)
    {
        QList<Row> chunk;
        readChunk(chunk, limit);
        if (chunk.isEmpty())
            return false;
        const int first = int(visible.size());
        q->beginInsertRows(QModelIndex(), first, first + int(chunk.size()) - 1);
        appendSilently(chunk);
        q->endInsertRows();
        return true;
    }

    void loadAllSilently()
    {
        QList<Row> chunk;
        readChunk(chunk, std::numeric_limits<int>::max());
        appendSilently(chunk);
    }

    // Orders `rows` by the keys (query order when there are none), without telling the views.
    void sortRows(const QList<SortKey>& keys)
    {
        QList<int> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        if (keys.isEmpty()) {
            std::stable_sort(order.begin(), order.end(),
                             [this](int a, int b) { return rows.at(a).uid < rows.at(b).uid; });
        } else {
            QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
            // The engines compare text without regard to letter case; the list sorts the same way.
            collator.setCaseSensitivity(Qt::CaseInsensitive);
            QList<int> columns;
            QList<bool> ascending;
            for (const SortKey& key : keys) {
                const int c = resolveField(key.field);
                if (c < 0)
                    continue;
                columns << c;
                ascending << key.ascending;
            }
            const qsizetype keyCount = columns.size();
            std::vector<SortCell> cells(size_t(rows.size() * keyCount));
            for (qsizetype r = 0; r < rows.size(); ++r) {
                for (qsizetype k = 0; k < keyCount; ++k)
                    cells[size_t(r * keyCount + k)] =
                        sortCell(rows.at(r).values.at(columns.at(k)), types.at(columns.at(k)), collator);
            }
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
                for (qsizetype k = 0; k < keyCount; ++k) {
                    int c = compareCells(cells[size_t(a * keyCount + k)], cells[size_t(b * keyCount + k)]);
                    if (!ascending.at(k))
                        c = -c;
                    if (c != 0)
                        return c < 0;
                }
                return false;
            });
        }
        QList<Row> sorted;
        sorted.reserve(rows.size());
        for (int i : order)
            sorted.append(std::move(rows[i]));
        rows = std::move(sorted);
        rebuildVisible();
    }

    static SortCell sortCell(const QVariant& value, ColumnType type, const QCollator& collator)
    {
        SortCell cell;
        if (isNullValue(value))
            return cell;
        cell.null = false;
        switch (type) {
        case ColumnType::Text:
        case ColumnType::Memo:
            cell.text = collator.sortKey(value.toString());
            break;
        case ColumnType::Date: {
            const QDate date = SqlDates::toDate(value);
            cell.null = !date.isValid();
            cell.number = double(date.toJulianDay());
            break;
        }
        case ColumnType::Bool:
            cell.number = value.toBool() ? 1 : 0;
            break;
        case ColumnType::Blob:
            break;
        default:
            cell.number = value.toDouble();
            break;
        }
        return cell;
    }

    void setCurrent(int row, bool recordChanged)
    {
        const int old = current;
        current = visible.isEmpty() ? -1 : std::clamp(row, 0, int(visible.size()) - 1);
        if (current != old || (recordChanged && current >= 0))
            Q_EMIT q->currentRowChanged(current);
    }

    QVariant keyOf(const Row& row, int keyColumn) const
    {
        return row.original.isEmpty() ? row.values.at(keyColumn) : row.original.at(keyColumn);
    }

    // Columns that exist in the update table: a list often shows computed or joined columns
    // that are not the table's own.
    bool writable(int column, int keyColumn) const
    {
        if (column == keyColumn)
            return false;
        if (!Schema::table(updateTable))
            return true;
        return Schema::columnType(updateTable, names.at(column)).has_value();
    }
};

RecordSet::RecordSet(QObject* parent) : QAbstractTableModel(parent), d(std::make_unique<Private>())
{
    d->q = this;
}

RecordSet::~RecordSet() = default;

bool RecordSet::open(Database& db, const QString& sql, const QVariantList& values)
{
    const int oldCurrent = d->current;
    beginResetModel();
    d->clearData();
    d->db = &db;
    d->sql = sql;
    d->values = values;
    d->sortKeys.clear();
    const bool ok = d->execute();
    if (!ok)
        d->clearData();
    endResetModel();
    if (d->current != oldCurrent || d->current >= 0)
        Q_EMIT currentRowChanged(d->current);
    if (ok)
        Q_EMIT opened();
    return ok;
}

bool RecordSet::requery()
{
    if (!d->db) {
        d->lastError = QStringLiteral("the record set was never opened");
        return false;
    }
    const int oldCurrent = d->current;
    const QList<SortKey> keys = d->sortKeys;
    beginResetModel();
    d->clearData();
    bool ok = d->execute();
    if (ok && !keys.isEmpty()) {
        d->loadAllSilently();
        d->sortRows(keys);
    }
    // The position is kept; the rows behind it may have changed.
    while (ok && oldCurrent >= d->visible.size() && d->query) {
        QList<Row> chunk;
        d->readChunk(chunk, d->chunkSize);
        d->appendSilently(chunk);
    }
    if (d->readFailed)
        ok = false;
    if (!ok)
        d->clearData();
    d->sortKeys = ok ? keys : QList<SortKey>();
    d->current = d->visible.isEmpty() ? -1 : std::clamp(oldCurrent, 0, int(d->visible.size()) - 1);
    endResetModel();
    if (d->current != oldCurrent || d->current >= 0)
        Q_EMIT currentRowChanged(d->current);
    if (ok)
        Q_EMIT opened();
    return ok;
}

void RecordSet::close()
{
    const int oldCurrent = d->current;
    beginResetModel();
    d->clearData();
    endResetModel();
    if (oldCurrent != -1)
        Q_EMIT currentRowChanged(-1);
}

bool RecordSet::isOpen() const
{
    return d->open;
}

QString RecordSet::lastError() const
{
    return d->lastError;
}

QString RecordSet::sql() const
{
    return d->sql;
}

QVariantList RecordSet::boundValues() const
{
    return d->values;
}

void RecordSet::setChunkSize(int rows)
{
    d->chunkSize = std::max(1, rows);
}

bool RecordSet::fetchAll()
{
    if (!d->open)
        return false;
    if (d->query) {
        QList<Row> rest;
        d->readChunk(rest, std::numeric_limits<int>::max());
        if (!rest.isEmpty()) {
            const int first = int(d->visible.size());
            beginInsertRows(QModelIndex(), first, first + int(rest.size()) - 1);
            d->appendSilently(rest);
            endInsertRows();
        }
    }
    return !d->readFailed;
}

bool RecordSet::isFullyLoaded() const
{
    return !d->query;
}

int RecordSet::fieldCount() const
{
    return int(d->names.size());
}

int RecordSet::fieldIndex(const QString& name) const
{
    return d->column(name);
}

QString RecordSet::fieldName(int column) const
{
    return d->names.value(column);
}

ColumnType RecordSet::fieldType(int column) const
{
    return d->types.value(column, ColumnType::Text);
}

void RecordSet::setFieldType(const QString& name, ColumnType type)
{
    d->typeOverrides.insert(name.toLower(), type);
    const int column = d->column(name);
    if (column < 0 || d->types.at(column) == type)
        return;
    // Declared after opening: the rows already read take the new type as well.
    d->types[column] = type;
    for (Row& row : d->rows) {
        row.values[column] = d->db->fromStorage(row.values.at(column), type);
        if (!row.original.isEmpty())
            row.original[column] = d->db->fromStorage(row.original.at(column), type);
    }
    if (d->readAhead)
        (*d->readAhead)[column] = d->db->fromStorage(d->readAhead->at(column), type);
    if (!d->visible.isEmpty())
        Q_EMIT dataChanged(index(0, column), index(int(d->visible.size()) - 1, column));
}

int RecordSet::rowCountLoaded() const
{
    return int(d->visible.size());
}

QVariant RecordSet::value(int row, int column) const
{
    if (row < 0 || row >= d->visible.size() || column < 0 || column >= d->names.size())
        return {};
    return d->rows.at(d->visible.at(row)).values.at(column);
}

QVariant RecordSet::value(int row, const QString& field) const
{
    return value(row, d->column(field));
}

QVariant RecordSet::current(const QString& field) const
{
    return value(d->current, field);
}

bool RecordSet::setValue(int row, const QString& field, const QVariant& value)
{
    const int column = d->column(field);
    if (row < 0 || row >= d->visible.size() || column < 0) {
        d->lastError = QStringLiteral("no field %1 in row %2").arg(field).arg(row);
        return false;
    }
    const auto typed = coerce(value, d->types.at(column));
    if (!typed) {
        d->lastError =
            QStringLiteral("'%1' is not a value for %2").arg(value.toString(), d->names.at(column));
        return false;
    }
    Row& record = d->rows[d->visible.at(row)];
    if (sameValue(record.values.at(column), *typed))
        return true;
    if (record.state == RowState::Unchanged) {
        record.original = record.values;
        record.state = RowState::Modified;
    }
    record.values[column] = *typed;
    if (record.state == RowState::Modified &&
        std::equal(record.values.cbegin(), record.values.cend(), record.original.cbegin(), sameValue)) {
        record.state = RowState::Unchanged;
        record.original.clear();
    }
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole});
    return true;
}

int RecordSet::appendRow()
{
    if (!d->open)
        return -1;
    // Rows still to come from the query would land after the new one; and on SQLite a
    // statement still stepping through the table could meet the row once it is written.
    fetchAll();
    Row row;
    row.state = RowState::Inserted;
    row.uid = d->nextUid++;
    for (ColumnType type : std::as_const(d->types))
        row.values << nullOf(type);
    const int at = int(d->visible.size());
    beginInsertRows(QModelIndex(), at, at);
    d->visible.append(int(d->rows.size()));
    d->rows.append(std::move(row));
    endInsertRows();
    d->setCurrent(at, true);
    return at;
}

bool RecordSet::removeRow(int row)
{
    if (row < 0 || row >= d->visible.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    const int at = d->visible.at(row);
    d->visible.removeAt(row);
    if (d->rows.at(at).state == RowState::Inserted) {
        // Never written, so there is nothing to delete and nothing to restore.
        d->rows.removeAt(at);
        for (int& i : d->visible) {
            if (i > at)
                --i;
        }
    } else {
        d->rows[at].deleted = true;
    }
    endRemoveRows();
    const int old = d->current;
    if (old > row)
        d->setCurrent(old - 1, false);
    else if (old == row)
        d->setCurrent(row, true);
    return true;
}

int RecordSet::currentRow() const
{
    return d->current;
}

void RecordSet::setCurrentRow(int row)
{
    while (row >= d->visible.size() && d->query)
        d->fetchChunk(d->chunkSize);
    d->setCurrent(row, false);
}

bool RecordSet::locate(const QString& field, const QVariant& value)
{
    const int column = d->column(field);
    if (column < 0)
        return false;
    const auto wanted = coerce(value, d->types.at(column));
    if (!wanted)
        return false;
    int row = 0;
    while (true) {
        for (; row < d->visible.size(); ++row) {
            if (sameValue(d->rows.at(d->visible.at(row)).values.at(column), *wanted)) {
                d->setCurrent(row, false);
                return true;
            }
        }
        if (!d->query || !d->fetchChunk(d->chunkSize))
            return false;
    }
}

void RecordSet::setUpdateTable(const QString& table, const QString& keyField)
{
    d->updateTable = table;
    d->keyField = keyField;
}

QString RecordSet::updateTable() const
{
    return d->updateTable;
}

bool RecordSet::hasPendingUpdates() const
{
    return std::any_of(d->rows.cbegin(), d->rows.cend(),
                       [](const Row& row) { return row.deleted || row.state != RowState::Unchanged; });
}

bool RecordSet::applyUpdates()
{
    if (!d->open || !d->db) {
        d->lastError = QStringLiteral("the record set is not open");
        return false;
    }
    if (d->updateTable.isEmpty()) {
        d->lastError = QStringLiteral("the record set has no update table");
        return false;
    }
    if (!fetchAll())
        return false;
    const int keyColumn = d->column(d->keyField);
    const bool needsKey = std::any_of(d->rows.cbegin(), d->rows.cend(), [](const Row& row) {
        return row.deleted || row.state == RowState::Modified;
    });
    if (needsKey && keyColumn < 0) {
        d->lastError = QStringLiteral("the record set has no key field %1").arg(d->keyField);
        return false;
    }
    Database& db = *d->db;
    const auto fail = [this, &db] {
        d->lastError = db.lastError();
        return false;
    };

    // Deletes first, so that a code a deleted row held is free for a changed or new one.
    for (const Row& row : std::as_const(d->rows)) {
        if (row.deleted &&
            !db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(d->updateTable, d->keyField),
                     {d->keyOf(row, keyColumn)}))
            return fail();
    }
    for (const Row& row : std::as_const(d->rows)) {
        if (row.deleted || row.state != RowState::Modified)
            continue;
        SqlValues changed;
        for (int c = 0; c < d->names.size(); ++c) {
            if (d->writable(c, keyColumn) && !sameValue(row.values.at(c), row.original.at(c)))
                changed.append({d->names.at(c), row.values.at(c)});
        }
        if (!db.update(d->updateTable, changed, d->keyField, d->keyOf(row, keyColumn)))
            return fail();
    }
    QHash<quint64, qint64> ids;
    for (const Row& row : std::as_const(d->rows)) {
        if (row.deleted || row.state != RowState::Inserted)
            continue;
        SqlValues columns;
        for (int c = 0; c < d->names.size(); ++c) {
            if (d->writable(c, keyColumn) && !isNullValue(row.values.at(c)))
                columns.append({d->names.at(c), row.values.at(c)});
        }
        const auto id = db.insert(d->updateTable, columns, d->keyField);
        if (!id)
            return fail();
        ids.insert(row.uid, *id);
    }
    // Kept apart until acceptUpdates: the caller's transaction may still roll back.
    d->pendingIds = ids;
    d->lastError.clear();
    return true;
}

void RecordSet::acceptUpdates()
{
    const int keyColumn = d->column(d->keyField);
    bool keysSet = false;
    QList<Row> kept;
    kept.reserve(d->rows.size());
    for (Row& row : d->rows) {
        if (row.deleted)
            continue;
        if (row.state == RowState::Inserted && keyColumn >= 0 && d->pendingIds.contains(row.uid)) {
            row.values[keyColumn] =
                coerce(d->pendingIds.value(row.uid), d->types.at(keyColumn)).value_or(QVariant());
            keysSet = true;
        }
        row.state = RowState::Unchanged;
        row.original.clear();
        kept.append(std::move(row));
    }
    // Only hidden rows go, so the model's rows stay as they are.
    d->rows = std::move(kept);
    d->rebuildVisible();
    d->pendingIds.clear();
    if (keysSet && !d->visible.isEmpty())
        Q_EMIT dataChanged(index(0, keyColumn), index(int(d->visible.size()) - 1, keyColumn));
}

void RecordSet::cancelUpdates()
{
    if (!hasPendingUpdates()) {
        d->pendingIds.clear();
        return;
    }
    const int oldCurrent = d->current;
    const quint64 oldUid = d->currentUid();
    beginResetModel();
    QList<Row> kept;
    kept.reserve(d->rows.size());
    for (Row& row : d->rows) {
        if (row.state == RowState::Inserted)
            continue;
        if (row.state == RowState::Modified) {
            row.values = row.original;
            row.original.clear();
            row.state = RowState::Unchanged;
        }
        row.deleted = false;
        kept.append(std::move(row));
    }
    d->rows = std::move(kept);
    d->rebuildVisible();
    d->pendingIds.clear();
    const int sameRecord = oldUid ? d->visibleRowOf(oldUid) : -1;
    d->current = sameRecord >= 0        ? sameRecord
                 : d->visible.isEmpty() ? -1
                                        : std::clamp(oldCurrent, 0, int(d->visible.size()) - 1);
    endResetModel();
    if (d->current != oldCurrent || (sameRecord < 0 && d->current >= 0))
        Q_EMIT currentRowChanged(d->current);
}

void RecordSet::setSort(const QList<SortKey>& keys)
{
    QList<SortKey> known;
    for (const SortKey& key : keys) {
        if (d->resolveField(key.field) >= 0)
            known << key;
    }
    d->sortKeys = known;
    if (!d->open)
        return;
    fetchAll();

    const quint64 currentUid = d->currentUid();
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<quint64> uids;
    uids.reserve(before.size());
    for (const QModelIndex& index : before)
        uids << d->rows.at(d->visible.at(index.row())).uid;

    d->sortRows(known);

    QHash<quint64, int> rowByUid;
    if (!before.isEmpty() || currentUid) {
        rowByUid.reserve(d->visible.size());
        for (int i = 0; i < d->visible.size(); ++i)
            rowByUid.insert(d->rows.at(d->visible.at(i)).uid, i);
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (int i = 0; i < before.size(); ++i)
        after << index(rowByUid.value(uids.at(i)), before.at(i).column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    if (currentUid)
        d->setCurrent(rowByUid.value(currentUid, d->current), false);
}

QList<RecordSet::SortKey> RecordSet::sortKeys() const
{
    return d->sortKeys;
}

QList<RecordSet::SortKey> RecordSet::parseSortText(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QList<SortKey> keys;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QStringList words = part.split(blanks, Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        SortKey key{words.first(), true};
        for (qsizetype i = 1; i < words.size(); ++i) {
            if (words.at(i).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0)
                key.ascending = false;
            else if (words.at(i).compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0)
                key.ascending = true;
        }
        keys << key;
    }
    return keys;
}

int RecordSet::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(d->visible.size());
}

int RecordSet::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(d->names.size());
}

QVariant RecordSet::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= d->visible.size() || index.column() >= d->names.size())
        return {};
    const QVariant& v = d->rows.at(d->visible.at(index.row())).values.at(index.column());
    const ColumnType type = d->types.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        // Yes/no columns show a check box (CheckStateRole) and no text.
        if (type == ColumnType::Bool || v.typeId() == QMetaType::Bool || isNullValue(v))
            return {};
        if (type == ColumnType::Date || v.typeId() == QMetaType::QDate)
            return SqlDates::display(v);
        switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return QString::number(v.toDouble(), 'g', 15);
        case QMetaType::QDateTime:
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        case QMetaType::QByteArray:
            return {};
        default:
            return v.toString();
        }
    case Qt::EditRole:
        return v;
    case Qt::CheckStateRole:
        if (type == ColumnType::Bool)
            return isNullValue(v) || !v.toBool() ? Qt::Unchecked : Qt::Checked;
        return {};
    default:
        return {};
    }
}

bool RecordSet::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() >= d->names.size())
        return false;
    if (role == Qt::EditRole)
        return setValue(index.row(), d->names.at(index.column()), value);
    if (role == Qt::CheckStateRole && d->types.at(index.column()) == ColumnType::Bool)
        return setValue(index.row(), d->names.at(index.column()), value.toInt() == Qt::Checked);
    return false;
}

QVariant RecordSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return d->names.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordSet::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
    if (d->types.value(index.column()) == ColumnType::Bool)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool RecordSet::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && d->query != nullptr;
}

void RecordSet::fetchMore(const QModelIndex& parent)
{
    if (!parent.isValid())
        d->fetchChunk(d->chunkSize);
}

void RecordSet::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= d->names.size())
        return;
    setSort({{d->names.at(column), order == Qt::AscendingOrder}});
}
