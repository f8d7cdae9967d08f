#include "data/data_services.h"

#include "data/database.h"
#include "data/login_state.h"
#include "data/messenger.h"
#include "data/record_set.h"
#include "data/schema.h"

#include <QFileInfo>

DataServices::DataServices(Database& db, Messenger& messenger, const LoginState& login)
    : m_db(db), m_messenger(messenger), m_login(login)
{
}

bool DataServices::deleteById(const QString& table, qint64 id)
{
    // The table name comes from the program, never from the user; refuse anything else.
    if (!Schema::table(table) || !m_db.exec(QStringLiteral("delete from %1 where F_ID = ?").arg(table), {id})) {
        m_messenger.error(deleteFailureMessage());
        return false;
    }
    return true;
}

bool DataServices::runSql(const QString& sql, const QVariantList& values)
{
    if (!m_db.exec(sql, values)) {
        m_messenger.error(failureMessage());
        return false;
    }
    return true;
}

std::optional<QVariant> DataServices::lookup(const QString& sql, const QVariantList& values)
{
    auto value = m_db.scalar(sql, values);
    if (!value)
        m_messenger.error(failureMessage());
    return value;
}

QString DataServices::lookupText(const QString& sql, const QVariantList& values)
{
    const auto value = lookup(sql, values);
    if (!value || value->isNull())
        return {};
    return value->toString();
}

double DataServices::lookupFloat(const QString& sql, const QVariantList& values)
{
    const auto value = lookup(sql, values);
    return value ? value->toDouble() : 0.0;
}

qint64 DataServices::lookupInt(const QString& sql, const QVariantList& values)
{
    const auto value = lookup(sql, values);
    return value ? value->toLongLong() : 0;
}

bool DataServices::openQuery(RecordSet& records, const QString& sql, const QVariantList& values)
{
    if (!records.open(m_db, sql, values)) {
        m_messenger.error(openFailureMessage());
        return false;
    }
    return true;
}

QStringList DataServices::comboItems(const QString& sql, const QVariantList& values)
{
    QStringList items;
    auto query = m_db.exec(sql, values);
    if (!query) {
        m_messenger.error(failureMessage());
        return items;
    }
    while (query->next()) {
        const QString text = query->value(0).toString();
        if (!text.trimmed().isEmpty())
            items << text;
    }
    return items;
}

std::optional<QStringList> DataServices::pickListValues(const QString& sql, const QVariantList& values,
                                                        QString* error)
{
    auto query = m_db.exec(sql, values);
    if (!query) {
        if (error)
            *error = m_db.lastError();
        return std::nullopt;
    }
    QStringList list;
    while (query->next())
        list << query->value(0).toString();
    return list;
}

std::optional<QString> DataServices::nextCode(const QString& maxQuery, int width, QString* error)
{
    const auto value = m_db.scalar(maxQuery);
    if (!value) {
        if (error)
            *error = m_db.lastError();
        return std::nullopt;
    }
    const QString current = value->isNull() ? QString() : value->toString();
    auto next = incrementCode(current, width);
    if (!next && error)
        *error = QStringLiteral("the stored code \"%1\" does not end in a number").arg(current);
    return next;
}

bool DataServices::hasLimit(const QString& code)
{
    return lookupInt(QStringLiteral("Select F_ID from PartLimit Where (F_PartCode = ?) And (F_LmtCode = ?)"),
                     {m_login.roleCode, code})
           > 0;
}

std::optional<QString> DataServices::incrementCode(const QString& current, int width)
{
    if (width <= 0 || width > 18)
        return std::nullopt;
    QString prefix;
    QString tail;
    if (current.isEmpty()) {
        tail = QString(width, QLatin1Char('0'));
    } else {
        prefix = current.left(qMax(0, int(current.size()) - width));
        tail = current.right(width);
    }
    for (QChar c : tail) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    // "1" in front keeps the leading zeros; dropping it again after adding one makes a tail
    // of all nines wrap to all zeros.
    bool ok = false;
    const qulonglong counter = (QLatin1Char('1') + tail).toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    return prefix + QString::number(counter + 1).mid(1);
}

int DataServices::matchComboItem(const QStringList& items, const QString& text, int current)
{
    const QString wanted = text.trimmed().toLower();
    int selected = current;
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).trimmed().toLower() == wanted)
            selected = i;
    }
    return selected;
}

int DataServices::imageKindOfFile(const QString& fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return 1;
    if (ext == QLatin1String("gif"))
        return 3;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return 2;
    return 0;
}
