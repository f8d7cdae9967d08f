#pragma once

#include <QString>

class DataModule;
struct LoginState;

// Checks an operator code and password and, when they match, replaces the login state.
// One object serves one opening of the login window: it counts the failed attempts, and the
// fourth wrong password ends the attempt.
class LoginService {
public:
    enum class Mode {
        FirstLogin,     // at start-up: giving up ends the program
        ChangeOperator, // while running: giving up keeps the previous login
    };
    enum class Outcome {
        Accepted,        // the login state now belongs to the new operator
        NoCode,          // nothing typed; told, the window stays open
        UnknownOperator, // told, the window stays open
        WrongPassword,   // told, the window stays open for another try
        Refused,         // the fourth wrong password: told, the window closes as cancelled
    };

    static constexpr int kAllowedFailures = 3;

    LoginService(DataModule& data, Mode mode);

    Mode mode() const { return m_mode; }
    int failures() const { return m_failures; }

    // The code of the operator who logged in last on this workstation.
    QString rememberedCode() const;
    // The name of the operator with this code; empty when there is none.
    QString operatorName(const QString& code);
    Outcome submit(const QString& code, const QString& password);

    static QString noCodeMessage() { return QStringLiteral("请选择用户！"); }
    static QString unknownOperatorMessage() { return QStringLiteral("此操作员并不存在，请重新选择操作员！"); }
    static QString wrongPasswordMessage() { return QStringLiteral("用户名或密码不正确，请重新输入！"); }
    static QString refusedFirstLoginMessage() { return QStringLiteral("非法操作员!"); }
    static QString refusedChangeMessage() { return QStringLiteral("更换操作员失败!"); }

private:
    LoginState loadState(const QString& code, const QString& name);

    DataModule& m_data;
    Mode m_mode;
    int m_failures = 0;
};
