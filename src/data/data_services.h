#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class Database;
class Messenger;
class RecordSet;
struct LoginState;

// The small operations every window uses instead of its own boilerplate. Each one that
// touches the database reports a failure itself, with its fixed message, and returns the
// neutral result (false, empty text, 0), so callers only test the result.
class DataServices {
public:
    DataServices(Database& db, Messenger& messenger, const LoginState& login);

    // "delete from <table> where F_ID = <id>".
    bool deleteById(const QString& table, qint64 id);
    bool runSql(const QString& sql, const QVariantList& values = {});
    // First column of the first row; empty / 0 when there is no row (no message then).
    QString lookupText(const QString& sql, const QVariantList& values = {});
    double lookupFloat(const QString& sql, const QVariantList& values = {});
    qint64 lookupInt(const QString& sql, const QVariantList& values = {});
    bool openQuery(RecordSet& records, const QString& sql, const QVariantList& values = {});
    // Items for a drop-down list: the first column of every row, as stored, skipping values
    // that are blank after trimming; in the query's order. Empty after a reported failure.
    QStringList comboItems(const QString& sql, const QVariantList& values = {});
    // Values for a grid column's pick list: the first column of every row, untrimmed, empty
    // values included. Nothing when the query failed (the failure is the caller's to report);
    // an empty list when it returned no row, which callers take as "leave the list alone".
    std::optional<QStringList> pickListValues(const QString& sql, const QVariantList& values, QString* error);
    // The code after the greatest stored one (see incrementCode); nothing when the query fails
    // or the stored code does not end in a number. The failure is the caller's to report.
    std::optional<QString> nextCode(const QString& maxQuery, int width, QString* error = nullptr);
    // True when the logged-in role holds the permission code.
    bool hasLimit(const QString& code);

    // The last `width` characters of `current` counted up as a fixed-width decimal counter
    // (all nines wrap to all zeros), the rest kept as a prefix; empty `current` counts from
    // `width` zeros. Nothing when that tail is not a decimal number.
    static std::optional<QString> incrementCode(const QString& current, int width);
    // Index of the item equal to `text` (both trimmed, letter case ignored; the last equal
    // item wins), or `current` when none is equal.
    static int matchComboItem(const QStringList& items, const QString& text, int current);
    // 1 for .bmp, 2 for .jpg/.jpeg, 3 for .gif, 0 otherwise.
    static int imageKindOfFile(const QString& fileName);

    static QString failureMessage() { return QStringLiteral("操作失败，请检查数据连接... "); }
    static QString deleteFailureMessage() { return QStringLiteral("删除操作失败，请检查数据连接... "); }
    static QString openFailureMessage() { return QStringLiteral("打开操作失败，请检查数据连接... "); }

private:
    std::optional<QVariant> lookup(const QString& sql, const QVariantList& values);

    Database& m_db;
    Messenger& m_messenger;
    const LoginState& m_login;
};
