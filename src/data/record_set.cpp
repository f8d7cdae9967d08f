#include "data/record_set.h"

// Placeholder bodies; the full implementation replaces them.
struct RecordSet::Private {};
RecordSet::RecordSet(QObject* parent) : QAbstractTableModel(parent), d(std::make_unique<Private>()) {}
RecordSet::~RecordSet() = default;
bool RecordSet::open(Database&, const QString&, const QVariantList&) { return false; }
bool RecordSet::requery() { return false; }
void RecordSet::close() {}
bool RecordSet::isOpen() const { return false; }
QString RecordSet::lastError() const { return {}; }
QString RecordSet::sql() const { return {}; }
QVariantList RecordSet::boundValues() const { return {}; }
void RecordSet::setChunkSize(int) {}
bool RecordSet::fetchAll() { return false; }
bool RecordSet::isFullyLoaded() const { return true; }
int RecordSet::fieldCount() const { return 0; }
int RecordSet::fieldIndex(const QString&) const { return -1; }
QString RecordSet::fieldName(int) const { return {}; }
ColumnType RecordSet::fieldType(int) const { return ColumnType::Text; }
void RecordSet::setFieldType(const QString&, ColumnType) {}
int RecordSet::rowCountLoaded() const { return 0; }
QVariant RecordSet::value(int, int) const { return {}; }
QVariant RecordSet::value(int, const QString&) const { return {}; }
QVariant RecordSet::current(const QString&) const { return {}; }
bool RecordSet::setValue(int, const QString&, const QVariant&) { return false; }
int RecordSet::appendRow() { return -1; }
bool RecordSet::removeRow(int) { return false; }
int RecordSet::currentRow() const { return -1; }
void RecordSet::setCurrentRow(int) {}
bool RecordSet::locate(const QString&, const QVariant&) { return false; }
void RecordSet::setUpdateTable(const QString&, const QString&) {}
QString RecordSet::updateTable() const { return {}; }
bool RecordSet::hasPendingUpdates() const { return false; }
bool RecordSet::applyUpdates() { return false; }
void RecordSet::acceptUpdates() {}
void RecordSet::cancelUpdates() {}
void RecordSet::setSort(const QList<SortKey>&) {}
QList<RecordSet::SortKey> RecordSet::sortKeys() const { return {}; }
QList<RecordSet::SortKey> RecordSet::parseSortText(const QString&) { return {}; }
int RecordSet::rowCount(const QModelIndex&) const { return 0; }
int RecordSet::columnCount(const QModelIndex&) const { return 0; }
QVariant RecordSet::data(const QModelIndex&, int) const { return {}; }
bool RecordSet::setData(const QModelIndex&, const QVariant&, int) { return false; }
QVariant RecordSet::headerData(int, Qt::Orientation, int) const { return {}; }
Qt::ItemFlags RecordSet::flags(const QModelIndex&) const { return Qt::NoItemFlags; }
bool RecordSet::canFetchMore(const QModelIndex&) const { return false; }
void RecordSet::fetchMore(const QModelIndex&) {}
void RecordSet::sort(int, Qt::SortOrder) {}
