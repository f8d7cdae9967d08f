#pragma once

#include "data/dialect.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

class Database;
class QSqlQuery;

// The rows of one query: typed values, a current row, an in-memory multi-column sort and
// cached edits. Rows are read from the query in chunks as they are needed, so a large list
// opens without reading every row; sorting or fetchAll() reads the rest.
//
// Cached edits (setValue, appendRow, removeRow) stay in memory until applyUpdates() writes
// them, in the caller's transaction, to the update table; acceptUpdates() then makes them
// the record set's own state, while cancelUpdates() throws them away. A failed write or a
// rolled-back transaction leaves the cache as it was, so the user can try again.
class RecordSet : public QAbstractTableModel {
    Q_OBJECT
public:
    struct SortKey {
        QString field;
        bool ascending = true;
        bool operator==(const SortKey&) const = default;
    };

    explicit RecordSet(QObject* parent = nullptr);
    ~RecordSet() override;

    // --- query
    bool open(Database& db, const QString& sql, const QVariantList& values = {});
    // Runs the same statement with the same values again; the sort order is kept.
    bool requery();
    void close();
    bool isOpen() const;
    QString lastError() const;
    QString sql() const;
    QVariantList boundValues() const;
    void setChunkSize(int rows);
    bool fetchAll();
    bool isFullyLoaded() const;

    // --- fields (names compare without regard to case)
    int fieldCount() const;
    int fieldIndex(const QString& name) const;
    QString fieldName(int column) const;
    ColumnType fieldType(int column) const;
    // Declares the type of a computed column (for example a date the driver reports as text).
    void setFieldType(const QString& name, ColumnType type);

    // --- rows (rows removed by removeRow are no longer counted)
    int rowCountLoaded() const;
    QVariant value(int row, int column) const;
    QVariant value(int row, const QString& field) const;
    // Value of the current row; invalid QVariant when there is none.
    QVariant current(const QString& field) const;
    bool setValue(int row, const QString& field, const QVariant& value);
    // Appends an empty row (cached insert) and makes it current; returns its row.
    int appendRow();
    bool removeRow(int row);
    int currentRow() const;
    void setCurrentRow(int row);
    // Makes the first row whose field equals the value current; false when there is none.
    bool locate(const QString& field, const QVariant& value);

    // --- cached updates
    void setUpdateTable(const QString& table, const QString& keyField = QStringLiteral("F_ID"));
    QString updateTable() const;
    bool hasPendingUpdates() const;
    bool applyUpdates();
    void acceptUpdates();
    void cancelUpdates();

    // --- sort
    void setSort(const QList<SortKey>& keys);
    QList<SortKey> sortKeys() const;
    // "F_code ASC, F_name DESC" to keys; unknown words are ignored.
    static QList<SortKey> parseSortText(const QString& text);

    // --- QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    void currentRowChanged(int row);
    void opened();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
