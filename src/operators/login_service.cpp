#include "operators/login_service.h"

#include "app/ini_file.h"
#include "data/data_module.h"
#include "data/data_services.h"
#include "data/database.h"
#include "data/login_state.h"
#include "data/messenger.h"
#include "data/number_format.h"
#include "operators/password_hash.h"

namespace {

const QString kSection = QStringLiteral("Config");
const QString kCodeKey = QStringLiteral("CurOperCode");
const QString kImeKey = QStringLiteral("CurImeName");

constexpr int kCustomSlots = 16;
constexpr int kDefaultDecimals = 2;
constexpr int kDefaultReminderMonths = 1;

// Settings rows 12-15 hold whole numbers in the ranges the settings window offers (0-8
// decimals, 1-12 months). A row someone garbled must not stop a login (and a period of 0
// would divide by zero in the reminders), so it counts as the default instead.
int settingValue(const QStringList& rows, int row, int minimum, int maximum, int fallback)
{
    bool ok = false;
    const int value = rows.value(row - 1).trimmed().toInt(&ok);
    return ok && value >= minimum && value <= maximum ? value : fallback;
}

} // namespace

LoginService::LoginService(DataModule& data, Mode mode) : m_data(data), m_mode(mode) {}

QString LoginService::rememberedCode() const
{
    return m_data.config().value(kSection, kCodeKey);
}

QString LoginService::operatorName(const QString& code)
{
    // Codes are compared trimmed everywhere, so a stray blank does not make an operator unknown.
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty())
        return {};
    return m_data.services().lookupText(QStringLiteral("select F_Name from OperList where F_Code = ?"),
                                        {trimmed});
}

LoginService::Outcome LoginService::submit(const QString& code, const QString& password)
{
    Messenger& messenger = m_data.messenger();
    const QString trimmed = code.trimmed();
    if (m_failures > kAllowedFailures)
        return Outcome::Refused;
    if (trimmed.isEmpty()) {
        messenger.info(noCodeMessage());
        return Outcome::NoCode;
    }
    const QString name = operatorName(trimmed);
    if (name.trimmed().isEmpty()) {
        messenger.info(unknownOperatorMessage());
        return Outcome::UnknownOperator;
    }

    const QString stored = m_data.services().lookupText(
        QStringLiteral("select F_PassWord from OperList where F_Code = ?"), {trimmed});
    // A blank stored value is the empty password, as it always was; anything else is a hash.
    const bool matches =
        stored.trimmed().isEmpty() ? password.trimmed().isEmpty() : PasswordHash::verify(stored, password);
    if (!matches) {
        ++m_failures;
        if (m_failures > kAllowedFailures) {
            messenger.error(m_mode == Mode::FirstLogin ? refusedFirstLoginMessage() : refusedChangeMessage());
            return Outcome::Refused;
        }
        messenger.info(wrongPasswordMessage());
        return Outcome::WrongPassword;
    }

    // Remembered for the next start even if the file cannot be written: the login itself
    // does not depend on it.
    m_data.config().setValue(kSection, kCodeKey, trimmed);
    m_data.login() = loadState(trimmed, name);
    return Outcome::Accepted;
}

LoginState LoginService::loadState(const QString& code, const QString& name)
{
    Database& db = m_data.db();
    LoginState state;
    state.operatorCode = code;
    state.operatorName = name;

    // A failing read is reported and leaves the neutral value, as every lookup does: no role
    // means no permissions, which is the safe side.
    if (auto query =
            db.exec(QStringLiteral("select F_PartCode, F_xtFlag from OperList where F_Code = ?"), {code})) {
        if (query->next()) {
            state.roleCode = query->value(0).toString();
            state.ownOrdersOnly = query->value(1).toBool();
        }
    } else {
        m_data.messenger().error(DataServices::failureMessage());
    }

    if (auto query = db.exec(QStringLiteral("select F_Value from KeyValue order by F_ID"))) {
        while (state.customValues.size() < kCustomSlots && query->next())
            state.customValues << query->value(0).toString();
    } else {
        m_data.messenger().error(DataServices::failureMessage());
    }
    const QStringList& rows = state.customValues;
    state.priceFormat = NumberFormat::build(settingValue(rows, 12, 0, 8, kDefaultDecimals), 2);
    state.quantityFormat = NumberFormat::build(settingValue(rows, 13, 0, 8, kDefaultDecimals), 1);
    state.moneyFormat = NumberFormat::build(settingValue(rows, 14, 0, 8, kDefaultDecimals), 3);
    state.reminderMonths = settingValue(rows, 15, 1, 12, kDefaultReminderMonths);

    state.imeName = m_data.config().value(kSection, kImeKey);
    return state;
}
